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
