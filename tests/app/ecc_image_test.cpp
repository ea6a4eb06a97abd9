// "Check ECC" and "Image" from the "Extra" menu over a dump whose pages
// carry BCH codes: the row says what the CLI's row says, the image holds
// the mended data, and a form taller than the screen fits it.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "app/properties.h"
#include "ecc/codec.h"
#include "framework/values.h"
#include "tests/app/app_fixture.h"

namespace {

constexpr std::size_t Page = 2112, Data = 2048, Spare = 64, Pages = 4 * 64;
// Page 3: 1 and 4 bits, mended; page 70's codeword 1: 16 bits, past t = 4.
const std::tuple<std::size_t, std::size_t, int> Flips[] = {{3, 10, 0x01}, {3, 1600, 0x0F}, {70, 600, 0xFF}, {70, 700, 0xFF}};

struct Extra_Case {
    std::vector<Korvane_Exe::Window::Extra_Entry> entries;
    std::wstring row;
    bool mended;  // the image's data as written, bar page 70
};

class Ecc_Image_Test : public App_Test, public testing::WithParamInterface<Extra_Case> {};

TEST_P(Ecc_Image_Test, RowsSayWhatTheCliSays) {
    const Extra_Case& c = GetParam();
    const Korvane_Ecc::Page_Codec codec(Korvane_Ecc::Parse_Layout(L"bch step=512 m=13 t=4 poly=0x201b ecc=end"), Data,
                                        Spare);
    std::string dump(Pages * Page, '\xff'), data;
    std::uint64_t state = 88172645463325252u;
    for (std::size_t p = 0; p < Pages; ++p) {
        auto* page = reinterpret_cast<std::uint8_t*>(dump.data() + p * Page);
        for (std::size_t i = 0; i < Data; ++i) {
            state ^= state << 13, state ^= state >> 7, state ^= state << 17;
            page[i] = static_cast<std::uint8_t>(state);
        }
        codec.Encode_Page(page);
        data.append(reinterpret_cast<const char*>(page), Data);
    }
    for (const auto& [page, byte, bits] : Flips) {
        dump[page * Page + byte] ^= static_cast<char>(bits);
        if (page == 70 || !c.mended) data[page * Data + byte] ^= static_cast<char>(bits);
    }
    folder.Put(L"01_01.dump", {dump.begin(), dump.end()});
    NAND_Config& config = window->Config();
    std::tie(config.Banks, config.Page, config.Block, config.Blocks) = std::tuple(L"1 x 1 MB", Page, 0x21000, 4);
    window->Config_Changed();
    dialogs.folder = folder.path.wstring();
    Press(window->Folder_Field());

    for (const auto entry : c.entries) {
        window->Run_Extra(entry);
        Wait_Idle();
    }
    EXPECT_EQ(Results(), std::vector<std::wstring>{c.row});
    EXPECT_EQ(window->Banks().Mark(0), Korvane_Exe::Mark_Error);
    if (c.entries.back() != Korvane_Exe::Window::Extra_Entry::Image) return;
    std::ifstream image(folder.path / L"01_01.img", std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(image), {}) == data);
}

using E = Korvane_Exe::Window::Extra_Entry;
INSTANTIATE_TEST_SUITE_P(
    Entries, Ecc_Image_Test,
    testing::Values(Extra_Case{{E::Check_ECC},
                               L"ECC: 1024 codewords, 1021 clean, 2 corrected (5 bits), 1 uncorrectable, 0 erased (0 "
                               L"bits), 0 bad blocks  codewords with 1 bit: 1, 2 bits: 0, 3 bits: 0, 4 bits: 1",
                               true},
                    Extra_Case{{E::Check_ECC, E::Image},
                               L"Image: 4 blocks (0 skipped), 256 pages, 2 codewords mended, 1 uncorrectable: page 70 "
                               L"codeword 1",
                               true}));

// Sixty rows are taller than any work area: the form is cut to it and
// scrolls to its last row, the four buttons staying in view.
struct Tall_Form final : ZEKT_Properties {
    std::uint32_t values[60] = {};
    void Describe(ZEKT_Property_List& list) override {
        for (std::uint32_t& value : values)
            Add_Property<ZEKT_Property_UINT32>(list, Format(L"Row_%u", static_cast<unsigned>(&value - values)), &value);
    }
};

TEST_F(Dialog_Test, TallDialogFitsTheWorkAreaAndScrolls) {
    Tall_Form form;
    RECT work, placed, client, last, ok;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Script({[&] {
        HWND dialog = Popup(L"Tall");
        ASSERT_NE(dialog, nullptr);
        SendMessageW(dialog, WM_VSCROLL, SB_BOTTOM, 0);
        GetWindowRect(dialog, &placed);
        GetClientRect(dialog, &client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        GetWindowRect(Children(dialog, L"Edit").back(), &last);
        GetWindowRect(Button_With_Tip(dialog, L"OK"), &ok);
        Click(Button_With_Tip(dialog, L"Close"));
    }},
           [&] { Korvane_Exe::ZEKT_Explorer_Properties::Run(Host(), L"Tall", form, false); });
    EXPECT_GE(placed.top, work.top);
    EXPECT_LE(placed.bottom, work.bottom);
    EXPECT_TRUE(last.top >= client.top && last.bottom <= client.bottom) << last.top << " " << last.bottom;
    EXPECT_EQ(ok.top, client.top + 79);
}

}  // namespace
