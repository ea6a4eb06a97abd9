// The ID decoding against real IDs of known geometry: the kernel's full-ID
// entries and datasheets. Each case is the bytes as an eight-byte read shows
// them (the ID repeats after its last byte), or as few as a datasheet gives.
#include <gtest/gtest.h>

#include "config/id_decode.h"
#include "framework/values.h"
#include "tests/message_of.h"

namespace {

struct Case {
    const wchar_t* id;
    const char* told;  // maker, MB per chip enable, page + spare, block KiB, bus, bits per cell, dies; ? unknown
};

std::string Told(const Id_Decoding& d) {
    auto number = [](const auto& value, std::uint64_t divisor = 1) {
        return value ? std::to_string(*value / divisor) : std::string("?");
    };
    return To_UTF8(d.maker) + " " + number(d.chip_bytes, 1 << 20) + " " + number(d.page_bytes) + "+" +
           number(d.spare_bytes) + " " + number(d.block_bytes, 1024) + " x" + number(d.bus_bits) + " " +
           number(d.bits_per_cell) + " " + number(d.dies);
}

class Id_Decode : public testing::TestWithParam<Case> {};

TEST_P(Id_Decode, TellsWhatTheIdSays) { EXPECT_EQ(Told(Decode_Id(Id_Bytes(GetParam().id))), GetParam().told); }

INSTANTIATE_TEST_SUITE_P(
    RealIds, Id_Decode,
    testing::Values(
        // Kernel full-ID entries: TC58NVG2S0F, TC58NVG6D2, SDTNRGAMA, H27UCG8T2ETR-BC (six bytes, repeating).
        Case{L"98 dc 90 26 76 15 01 08", "Toshiba 512 4096+224 256 x8 1 1"},
        Case{L"98 de 94 82 76 56 04 20", "Toshiba 8192 8192+640 2048 x8 2 1"},
        Case{L"45 de 94 93 76 50 45 de", "SanDisk 8192 16384+1280 4096 x8 2 1"},
        Case{L"ad de 14 a7 42 4a ad de", "Hynix 8192 16384+1664 4096 x8 2 1"},
        // The same Toshiba die read with four bytes: no full ID, multi-level, so no page.
        Case{L"98 de 94 82", "Toshiba 8192 ?+? ? x8 2 1"},
        // Generic fourth byte of SLC parts: MT29F4G08ABADA, K9F1G08U0B, K9F1G16U0B (16-bit code c1, bit 6).
        Case{L"2c dc 90 95 56", "Micron 512 2048+64 128 x8 1 1"},
        Case{L"ec f1 00 95 40", "Samsung 128 2048+64 128 x8 1 1"},
        Case{L"ec c1 00 d5", "Samsung 128 2048+64 128 x16 1 1"},
        // Samsung's six-byte MLC rule: K9GAG08U0E, 8192 + 436, 128 pages a block.
        Case{L"ec d5 84 72 50 42 ec d5", "Samsung 2048 8192+436 1024 x8 2 1"},
        // Five-byte Samsung MLC IDs keep the generic byte: K9G8G08U0A, and K9LBG08U0M of two dies (55).
        Case{L"ec d3 14 a5 64 ec d3 14", "Samsung 1024 2048+64 256 x8 2 1"},
        Case{L"ec d7 55 b6 78 ec d7 55", "Samsung 4096 4096+128 512 x8 2 2"},
        // Hynix's six-byte MLC rule without its full ID: H27UBG8T2A, 8 KiB pages, 2 MiB blocks.
        Case{L"ad d7 94 9a 74 42 ad d7", "Hynix 4096 8192+? 2048 x8 2 1"},
        // Small-page part (K9F1208U0C) and Micron's own density code (MT29F64G08CBAAA, MLC).
        Case{L"ec 76 5a 3f", "Samsung 64 512+16 16 x8 1 ?"},
        Case{L"2c 88 04 4b", "Micron 8192 ?+? ? x? 2 1"},
        Case{L"2c 68 00 27", "Micron 4096 8192+256 256 x8 1 1"},
        Case{L"00 00 00 00", "Unknown ? ?+? ? x? ? ?"}));

TEST(Id_Decode_Length, FromTheWrapOrTheZeros) {
    EXPECT_EQ(Id_Length(Id_Bytes(L"ad de 14 a7 42 4a ad de")), 6u);
    EXPECT_EQ(Id_Length(Id_Bytes(L"2c dc 90 95 56 00 00 00")), 5u);
    EXPECT_EQ(Id_Length(Id_Bytes(L"2c dc 90 95 56")), std::nullopt);
    EXPECT_EQ(Message_Of([] { Id_Bytes(L"2c dx"); }), L"Wrong ID code <2c dx>");
}

}  // namespace
