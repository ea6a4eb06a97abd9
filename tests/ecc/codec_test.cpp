#include "ecc/codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace Korvane_Ecc;

namespace {

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += std::string(i ? " " : "") + digits[bytes[i] >> 4] + digits[bytes[i] & 15];
    return text;
}

struct Known_Answer {
    const wchar_t* layout;
    int fill;  // 0x00, 0xff, or -1 for the bytes 0..255 over and over
    int index;  // a byte set to `value` on top, or -1
    std::uint8_t value;
    const char* ecc;
};

class Known_Answers : public testing::TestWithParam<Known_Answer> {};

// BCH values as Linux software BCH stores them; Hamming ones worked out by hand from the parities.
TEST_P(Known_Answers, StoredEccOfOneStep) {
    const Known_Answer& row = GetParam();
    const Page_Codec codec(Parse_Layout(row.layout), Parse_Layout(row.layout).step_bytes, 64);
    const std::uint32_t step = codec.Layout().step_bytes;
    std::vector<std::uint8_t> page(step + 64, 0xff);
    for (std::uint32_t i = 0; i < step; ++i) page[i] = static_cast<std::uint8_t>(row.fill < 0 ? i : row.fill);
    if (row.index >= 0) page[row.index] = row.value;
    codec.Encode_Page(page.data());
    const Codeword_Place& place = codec.Places().codewords[0];
    EXPECT_EQ(Hex(&page[place.ecc_offset], place.ecc_bytes), row.ecc);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Known_Answers,
    testing::Values(Known_Answer{L"bch step=512 m=13 t=4 poly=0x201b ecc=end", 0, -1, 0, "28 13 cc 39 96 ac 7f"},
                    Known_Answer{L"bch step=512 m=13 t=8 poly=0x201b ecc=end", 0, -1, 0, "ef 51 2e 09 ed 93 9a c2 97 79 e5 24 b5"},
                    Known_Answer{L"bch step=512 m=13 t=4 poly=0x201b ecc=end", -1, -1, 0, "c4 c3 2c 9e c7 68 ef"},
                    Known_Answer{L"bch step=512 m=14 t=8 poly=0x402b ecc=end", 0, -1, 0, "14 16 81 29 4d 32 b0 12 de d0 a6 a8 10 1e"},
                    Known_Answer{L"bch step=1024 m=14 t=8 poly=0x402b ecc=end", 0xff, -1, 0, "ff ff ff ff ff ff ff ff ff ff ff ff ff ff"},
                    Known_Answer{L"hamming step=256 ecc=end order=linux", 0, -1, 0, "ff ff ff"},
                    Known_Answer{L"hamming step=256 ecc=end order=linux", 0, 0, 0x01, "aa aa ab"},
                    Known_Answer{L"hamming step=256 ecc=end order=linux", 0, 255, 0x80, "55 55 57"},
                    Known_Answer{L"hamming step=256 ecc=end order=linux", 0, 1, 0x01, "aa a9 ab"},
                    Known_Answer{L"hamming step=256 ecc=end order=smartmedia", 0, 1, 0x01, "a9 aa ab"},
                    Known_Answer{L"hamming step=512 ecc=end order=linux", 0, 0, 0x01, "aa aa aa"},
                    Known_Answer{L"hamming step=512 ecc=end order=linux", 0, 0, 0x02, "aa aa a6"}));

}  // namespace

namespace {

struct Code_Row {
    const wchar_t* layout;
    std::uint32_t data_bytes, spare_bytes;
};

class Any_Flips : public testing::TestWithParam<Code_Row> {};

// The page bits of codeword 0 that carry information (no padding bits of the last ECC byte).
std::vector<std::uint32_t> Codeword_Bits(const Page_Codec& codec) {
    const Codeword_Place& place = codec.Places().codewords[0];
    const Ecc_Layout& layout = codec.Layout();
    const bool padded = layout.code == Code_Kind::Bch && layout.m * layout.t % 8;
    std::vector<std::uint32_t> bits;
    for (std::uint32_t i = 0; i < place.data_bytes * 8; ++i) bits.push_back(place.data_offset * 8 + i);
    for (std::uint32_t i = 0; i < place.cover_bytes * 8; ++i) bits.push_back(place.cover_offset * 8 + i);
    for (std::uint32_t i = 0; i < (place.ecc_bytes - padded) * 8; ++i) bits.push_back(place.ecc_offset * 8 + i);
    return bits;
}

// Up to t flips anywhere in a codeword are found and mended exactly; t+1 are never clean;
// an erased codeword with up to t flips is erased, not corrected.
TEST_P(Any_Flips, FoundAndMendedExactly) {
    const Page_Codec codec(Parse_Layout(GetParam().layout), GetParam().data_bytes, GetParam().spare_bytes);
    const std::uint32_t t = codec.Correctable_Bits();
    const std::vector<std::uint32_t> bits = Codeword_Bits(codec);
    std::mt19937 random(7);
    for (std::uint32_t flips = 1; flips <= t + 1; ++flips)
        for (int trial = 0; trial < 12; ++trial) {
            const bool erased = trial % 4 == 3;
            std::vector<std::uint8_t> good(GetParam().data_bytes + GetParam().spare_bytes, 0xff);
            if (!erased) {
                for (auto& byte : good) byte = static_cast<std::uint8_t>(random());
                codec.Encode_Page(good.data());
            }
            std::vector<std::uint32_t> chosen = bits;
            std::shuffle(chosen.begin(), chosen.end(), random);
            chosen.resize(flips);
            std::sort(chosen.begin(), chosen.end());
            std::vector<std::uint8_t> page = good;
            for (const std::uint32_t bit : chosen) page[bit / 8] ^= static_cast<std::uint8_t>(1u << bit % 8);
            std::vector<Codeword_Report> reports;
            codec.Check_Page(page.data(), true, reports);
            std::erase_if(reports, [](const Codeword_Report& r) { return r.codeword && r.status == Codeword_Status::Erased && !r.bits; });
            ASSERT_EQ(reports.size(), 1u) << flips << " flips";
            if (flips > t) {
                if (!erased) {
                    EXPECT_NE(reports[0].status, Codeword_Status::Erased);
                }
                continue;
            }
            EXPECT_EQ(reports[0].status, erased ? Codeword_Status::Erased : Codeword_Status::Corrected);
            EXPECT_EQ(reports[0].bits, flips);
            EXPECT_EQ(reports[0].page_bits, chosen);
            EXPECT_TRUE(page == good) << flips << " flips not mended";
        }
}

INSTANTIATE_TEST_SUITE_P(Rows, Any_Flips,
                         testing::Values(Code_Row{L"bch step=512 m=13 t=4 poly=0x201b ecc=end", 2048, 64},
                                         Code_Row{L"bch step=512 m=13 t=8 poly=0x2539 ecc=interleaved bits=swap", 2048, 64},
                                         Code_Row{L"bch step=1024 m=14 t=16 ecc=end bits=ecc-reversed cover=4", 4096, 224},
                                         Code_Row{L"bch step=1024 m=16 t=3 poly=0x1100b ecc=end", 2048, 64},
                                         Code_Row{L"hamming step=256 ecc=end order=linux", 2048, 64},
                                         Code_Row{L"hamming step=512 ecc=interleaved order=smartmedia", 2048, 64}));

}  // namespace
