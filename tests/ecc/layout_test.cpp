#include "ecc/layout.h"

#include "ecc/galois.h"

#include <gtest/gtest.h>

#include "tests/message_of.h"

using namespace Korvane_Ecc;

namespace {

struct Text_Row {
    const wchar_t* text;
    const wchar_t* canonical_or_message;
};

class Layout_Lines : public testing::TestWithParam<Text_Row> {};

// A line reads back as its canonical form, or is refused naming the bad word.
TEST_P(Layout_Lines, CanonicalOrRefused) {
    std::wstring seen;
    const std::wstring message = Message_Of([&] { seen = Layout_Text(Parse_Layout(GetParam().text)); });
    EXPECT_EQ(message == L"(no failure)" ? seen : message, GetParam().canonical_or_message);
    if (message == L"(no failure)") {
        EXPECT_EQ(Layout_Text(Parse_Layout(seen)), seen);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Layout_Lines,
    testing::Values(
        Text_Row{L"bch step=512 m=13 t=4 poly=0x201b ecc=end", L"bch step=512 m=13 t=4 poly=0x201b ecc=end"},
        Text_Row{L"bch  t=8\tstep=1024", L"bch step=1024 m=14 t=8 poly=0x402b ecc=end"},
        Text_Row{L"bch t=4 bits=ecc-reversed", L"bch step=512 m=13 t=4 poly=0x201b ecc=end bits=ecc-reversed"},
        Text_Row{L"bch step=512 m=13 t=8 poly=0x2539 ecc=interleaved bits=swap cover=6",
                 L"bch step=512 m=13 t=8 poly=0x2539 ecc=interleaved bits=swap cover=6"},
        Text_Row{L"bch step=1024 m=16 t=2", L"bch step=1024 m=16 t=2 poly=0x1100b ecc=end"},
        Text_Row{L"hamming order=smartmedia step=512 ecc=interleaved", L"hamming step=512 ecc=interleaved order=smartmedia"},
        Text_Row{L"hamming", L"hamming step=256 ecc=end order=linux"},
        Text_Row{L"bch step=512 m=13 t=4 x=1", L"Unknown ECC layout word <x=1>"},
        Text_Row{L"bch t=4 poly", L"Unknown ECC layout word <poly>"},
        Text_Row{L"rs step=512", L"Unknown ECC code <rs>"},
        Text_Row{L"  ", L"Unknown ECC code <>"},
        Text_Row{L"bch step=300 t=4", L"Wrong ECC layout value <step=300>"},
        Text_Row{L"bch t=4 poly=201b", L"Wrong ECC layout value <poly=201b>"},
        Text_Row{L"bch t=4 ecc=middle", L"Wrong ECC layout value <ecc=middle>"},
        Text_Row{L"bch t=0", L"Wrong ECC layout value <t=0>"},
        Text_Row{L"bch step=512", L"Missing ECC layout word <t>"},
        Text_Row{L"bch t=4 t=4", L"Repeated ECC layout word <t=4>"},
        Text_Row{L"hamming m=13", L"ECC layout word <m=13> does not apply to <hamming>"},
        Text_Row{L"bch t=4 order=linux", L"ECC layout word <order=linux> does not apply to <bch>"},
        Text_Row{L"bch t=4 poly=0x2011", L"ECC polynomial <0x2011> is not primitive of degree <13>"}));

struct Place_Row {
    const wchar_t* layout;
    std::uint32_t data_bytes, spare_bytes, codeword;
    Codeword_Place place;
    std::uint32_t marker;
    const wchar_t* message;
};

class Page_Places : public testing::TestWithParam<Place_Row> {};

// Where codewords lie: 2048 + 64 with BCH-4 has its ECC at spare 36..63, Hamming at 40..63.
TEST_P(Page_Places, OffsetsInThePage) {
    const Place_Row& row = GetParam();
    Page_Layout page;
    EXPECT_EQ(Message_Of([&] { page = Lay_Out(Parse_Layout(row.layout), row.data_bytes, row.spare_bytes); }), row.message);
    if (page.codewords.empty()) return;
    const Codeword_Place& place = page.codewords.at(row.codeword);
    EXPECT_EQ(page.codewords.size(), row.data_bytes / Parse_Layout(row.layout).step_bytes);
    EXPECT_EQ((std::vector<std::uint32_t>{place.data_offset, place.data_bytes, place.cover_offset, place.cover_bytes,
                                          place.ecc_offset, place.ecc_bytes, page.bad_block_offset}),
              (std::vector<std::uint32_t>{row.place.data_offset, row.place.data_bytes, row.place.cover_offset,
                                          row.place.cover_bytes, row.place.ecc_offset, row.place.ecc_bytes, row.marker}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Page_Places,
    testing::Values(
        Place_Row{L"bch t=4", 2048, 64, 0, {0, 512, 2048 + 36, 0, 2048 + 36, 7}, 2048, L"(no failure)"},
        Place_Row{L"bch t=4", 2048, 64, 3, {1536, 512, 2048 + 36, 0, 2048 + 57, 7}, 2048, L"(no failure)"},
        Place_Row{L"bch t=4 cover=4", 2048, 64, 1, {512, 512, 2048 + 24, 4, 2048 + 43, 7}, 2048, L"(no failure)"},
        Place_Row{L"hamming", 2048, 64, 7, {1792, 256, 2048 + 40, 0, 2048 + 61, 3}, 2048, L"(no failure)"},
        Place_Row{L"bch t=8 ecc=interleaved", 2048, 64, 1, {525, 512, 1037, 0, 1037, 13}, 2100, L"(no failure)"},
        Place_Row{L"bch t=16", 2048, 64, 0, {}, 0,
                  L"ECC layout <bch step=512 m=13 t=16 poly=0x201b ecc=end> needs <106> spare bytes, the page has <64>"},
        Place_Row{L"bch t=8 ecc=interleaved", 2048, 52, 0, {}, 0,
                  L"ECC layout <bch step=512 m=13 t=8 poly=0x201b ecc=interleaved> needs <53> spare bytes, the page has <52>"},
        Place_Row{L"bch step=1024 t=4", 512, 16, 0, {}, 0,
                  L"ECC step of <1024> bytes does not divide a page of <512> data bytes"}));

}  // namespace

// Every default polynomial is primitive, and the sweep enumerates as many as theory counts (phi(2^m-1)/m).
TEST(Polynomials, DefaultsArePrimitiveAndCountsAreComplete) {
    for (std::uint32_t m = 5; m <= 16; ++m) EXPECT_TRUE(Is_Primitive(Default_Polynomial(m), m)) << m;
    EXPECT_EQ(Primitive_Polynomials(13).size(), 630u);
    EXPECT_EQ(Primitive_Polynomials(14).size(), 756u);
}
