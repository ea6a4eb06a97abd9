#include "ecc/codec.h"

#include <gtest/gtest.h>

#include <random>

using namespace Korvane_Ecc;

namespace {

struct Search_Row {
    const wchar_t* layout;  // nullptr: pages without any ECC
    std::uint32_t data_bytes, spare_bytes;
    const wchar_t* first_tried;
    bool worn = false;  // a flip in every codeword
};

class Layout_Search : public testing::TestWithParam<Search_Row> {};

// 48 written pages with a few flips and some erased ones, as a dump sample holds them.
std::vector<std::vector<std::uint8_t>> Sample_Pages(const Search_Row& row) {
    std::mt19937 random(11);
    std::vector<std::vector<std::uint8_t>> pages;
    for (int i = 0; i < 64; ++i) {
        std::vector<std::uint8_t> page(row.data_bytes + row.spare_bytes, 0xff);
        if (i % 4 != 3) {
            // Half of the data is text-like, half random, as in real images.
            for (std::uint32_t b = 0; b < row.data_bytes; ++b)
                page[b] = static_cast<std::uint8_t>(i % 2 ? random() : 0x20 + b % 64);
            if (row.layout) Page_Codec(Parse_Layout(row.layout), row.data_bytes, row.spare_bytes).Encode_Page(page.data());
            for (std::uint32_t at = 0; at < row.data_bytes; at += 512)
                if (row.worn || (i % 5 == 0 && at == 0)) page[at + random() % 512] ^= 0x10;
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

// The Linux defaults, other polynomials, the interleaved layout and bit variants are found from
// the pages alone; pages without ECC find nothing and say what was tried.
TEST_P(Layout_Search, FindsTheWrittenLayout) {
    const Search_Row& row = GetParam();
    const Search_Result result = Find_Layout(Sample_Pages(row), row.data_bytes, row.spare_bytes, 2);
    ASSERT_FALSE(result.tried.empty());
    EXPECT_EQ(result.tried[0], row.first_tried);
    EXPECT_EQ(result.found, row.layout != nullptr);
    if (!row.layout) return;
    EXPECT_EQ(Layout_Text(result.layout), row.layout);
    EXPECT_GE(result.share, 0.99);
    EXPECT_TRUE(!result.has_runner_up || result.runner_up_share < 0.99);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Layout_Search,
    testing::Values(
        Search_Row{L"bch step=512 m=13 t=8 poly=0x201b ecc=end", 2048, 64, L"bch step=512 m=13 t=1..9 poly=0x201b ecc=end"},
        Search_Row{L"hamming step=512 ecc=end order=smartmedia", 2048, 64, L"bch step=512 m=13 t=1..9 poly=0x201b ecc=end"},
        Search_Row{L"bch step=512 m=13 t=4 poly=0x2a21 ecc=end", 2048, 64, L"bch step=512 m=13 t=1..9 poly=0x201b ecc=end"},
        Search_Row{L"bch step=1024 m=14 t=8 poly=0x4939 ecc=interleaved bits=swap", 2048, 64,
                   L"bch step=512 m=13 t=1..9 poly=0x201b ecc=end"},
        Search_Row{L"bch step=1024 m=14 t=4 poly=0x402b ecc=end", 4096, 128, L"bch step=512 m=13 t=1..9 poly=0x201b ecc=end", true},
        Search_Row{nullptr, 2048, 64, L"bch step=512 m=13 t=1..9 poly=0x201b ecc=end"}));

}  // namespace
