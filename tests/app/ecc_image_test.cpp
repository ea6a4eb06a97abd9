// "Check ECC" and "Image" over a BCH-coded dump say in the row what the CLI
// says; a form taller than the screen fits it and scrolls.
#include <gtest/gtest.h>

#include "app/properties.h"
#include "config/nand_options.h"
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
    for (const auto& [page, byte, bits] : Flips) {
        dump[page * Page + byte] ^= static_cast<char>(bits);
        if (page == 70) data[page * Data + byte] ^= static_cast<char>(bits);
    }
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

INSTANTIATE_TEST_SUITE_P(
    Entries, Ecc_Image_Test,
    testing::Values(std::pair(std::vector{E::Check_ECC}, std::wstring(L"ECC: 1024 codewords, 1021 clean, 2 corrected (5 "
        L"bits), 1 uncorrectable, 0 erased (0 bits), 0 bad blocks  codewords with 1 bit: 1, 2 bits: 0, 3 bits: 0, 4 bits: 1")),
                    std::pair(std::vector{E::Check_ECC, E::Image}, std::wstring(L"Image: 4 blocks (0 skipped), 256 "
                                                                   L"pages, 2 codewords mended, 1 uncorrectable: page 70 codeword 1"))));

// Options with a program of sixty lines, taller than the screen: cut to the
// work area, scrolled to the last row, "OK" still in its place.
TEST_F(Dialog_Test, TallDialogFitsTheWorkAreaAndScrolls) {
    NAND_Options options;
    for (int line = 0; line < 60; ++line) options.After_Reset += L"WAIT\r\n";
    RECT work, placed, client, last, ok;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Script({[&] {
        HWND dialog = Popup(L"Chip Options");
        SendMessageW(dialog, WM_VSCROLL, SB_BOTTOM, 0);
        GetWindowRect(dialog, &placed);
        GetClientRect(dialog, &client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        GetWindowRect(Children(dialog, L"Edit").back(), &last);
        GetWindowRect(Button_With_Tip(dialog, L"OK"), &ok);
        Click(Button_With_Tip(dialog, L"Close"));
    }},
           [&] { Korvane_Exe::ZEKT_Explorer_Properties::Run(Host(), L"Chip Options", options, false); });
    EXPECT_TRUE(placed.top >= work.top && placed.bottom <= work.bottom);
    EXPECT_TRUE(last.top >= client.top && last.bottom <= client.bottom);
    EXPECT_EQ(ok.top, client.top + 79);
}
