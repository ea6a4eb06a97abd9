// "Check ECC" and "Image" over a BCH-coded dump say in the row what the CLI says.
#include <gtest/gtest.h>

#include "ecc/codec.h"
#include "tests/app/app_fixture.h"

using E = Korvane_Exe::Window::Extra_Entry;
constexpr std::size_t Page = 2112, Data = 2048, Pages = 4 * 64;
// Page 3: 1 and 4 bits, mended; page 70's codeword 1: 16 bits, past t = 4.
const std::tuple<std::size_t, std::size_t, int> Flips[] = {{3, 10, 1}, {3, 1600, 15}, {70, 600, 255}, {70, 700, 255}};

class Ecc_Image_Test : public App_Test, public testing::WithParamInterface<std::pair<std::vector<E>, std::wstring>> {};

TEST_P(Ecc_Image_Test, RowsSayWhatTheCliSays) {
    const Korvane_Ecc::Page_Codec codec(Korvane_Ecc::Parse_Layout(L"bch step=512 m=13 t=4 poly=0x201b ecc=end"), Data,
                                        Page - Data);
    std::string dump(Pages * Page, '\xff'), data;
    for (std::size_t p = 0; p < Pages; ++p) {
        auto* page = reinterpret_cast<std::uint8_t*>(dump.data() + p * Page);
        for (std::size_t i = 0; i < Data; ++i) page[i] = static_cast<std::uint8_t>(p * 131 + i * 17 + (i >> 8));
        codec.Encode_Page(page);
        data.append(reinterpret_cast<const char*>(page), Data);
    }
    for (const auto& [page, byte, bits] : Flips)  // the image keeps what cannot be mended
        dump[page * Page + byte] ^= static_cast<char>(bits), data[page * Data + byte] ^= page == 70 ? bits : 0;
    folder.Put(L"01_01.dump", {dump.begin(), dump.end()});
    NAND_Config& c = window->Config();
    std::tie(c.Banks, c.Page, c.Block, c.Blocks) = std::tuple(L"1 x 1 MB", Page, 0x21000, 4);
    dialogs.folder = folder.path.wstring();
    Press(window->Folder_Field());
    for (const E entry : GetParam().first) window->Run_Extra(entry), Wait_Idle();
    EXPECT_EQ(Results(), std::vector<std::wstring>{GetParam().second});
    EXPECT_EQ(window->Banks().Mark(0), Korvane_Exe::Mark_Error);  // a codeword left uncorrectable
    std::ifstream image(folder.path / L"01_01.img", std::ios::binary);
    EXPECT_EQ(GetParam().first.back() == E::Image, std::string(std::istreambuf_iterator<char>(image), {}) == data);
}

INSTANTIATE_TEST_SUITE_P(Entries, Ecc_Image_Test,
    testing::Values(std::pair(std::vector{E::Check_ECC}, std::wstring(L"ECC: 1024 codewords, 1021 clean, 2 corrected "
                        L"(5 bits), 1 uncorrectable, 0 erased (0 bits), 0 bad blocks  codewords with 1 bit: 1, 2 bits: "
                        L"0, 3 bits: 0, 4 bits: 1")),
                    std::pair(std::vector{E::Check_ECC, E::Image}, std::wstring(L"Image: 4 blocks (0 skipped), 256 "
                        L"pages, 2 codewords mended, 1 uncorrectable: page 70 codeword 1"))));
