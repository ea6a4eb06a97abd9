#include "app/chip_select.h"

#include <gtest/gtest.h>

#include "emulator/selection.h"
#include "tests/app/dialog_test.h"

using namespace Korvane_Exe;

namespace {

// The popup's parts as the user finds them: the two filter fields and the list.
struct Chip_Popup {
    HWND window = nullptr;
    HWND name = nullptr;
    HWND id = nullptr;
    HWND list = nullptr;
    HWND find = nullptr;

    static Chip_Popup Find_Open() {
        Chip_Popup popup;
        popup.window = Dialog_Test::Popup(L"Select chip");
        const auto fields = Dialog_Test::Children(popup.window, L"Edit");
        const auto lists = Dialog_Test::Children(popup.window, WC_LISTVIEWW);
        EXPECT_EQ(fields.size(), 2u);
        EXPECT_EQ(lists.size(), 1u);
        if (fields.size() == 2) {
            popup.name = fields[0];
            popup.id = fields[1];
        }
        if (!lists.empty()) popup.list = lists[0];
        popup.find = ChildWindowFromPoint(popup.window, {295, 6});
        return popup;
    }
    std::vector<std::wstring> Rows() const { return Dialog_Test::List_Rows(list); }
};

// The emulator behind the reader link for as long as it lives.
struct Emulated_Chip {
    explicit Emulated_Chip(const std::wstring& profile) {
        Korvane_Emulator::Select_Profile(Korvane_Emulator::Resolve_Profile(profile));
    }
    ~Emulated_Chip() { Korvane_Emulator::Select_Virtual_Reader(nullptr); }
};

class Chip_Select_Test : public Dialog_Test {
protected:
    void SetUp() override {
        Dialog_Test::SetUp();
        field = Make_Child(40, 30, 200, 16);
    }

    HWND field = nullptr;  // the chip field the popup opens under
    NAND_Options options;
};

}  // namespace

TEST_F(Chip_Select_Test, FiltersStripBlanksAndMatchIdTokens) {
    struct Case {
        const wchar_t* name;
        const wchar_t* id;
        std::size_t rows;
        const wchar_t* first;  // the first row's texts, when given
    };
    const Case cases[] = {
        {L"", L"", 834, nullptr},
        {L"Monolith", L"", 84, nullptr},
        {L"  Monolith ", L"", 84, nullptr},
        {L"monolith", L"", 0, nullptr},
        {L"", L"2c dc 90 95", 2, L"F4GMSAP|2c dc 90 95|512 MB|1 x 512 MB|Unknown|8|Std|"},
        {L"", L" 2c ", 115, nullptr},
        {L"", L"2c * 90 95", 3, L"F4GMSAP|2c dc 90 95|512 MB|1 x 512 MB|Unknown|8|Std|"},
        {L"", L"2C DC 90 95", 0, nullptr},
        {L"TH58NVG8D26TA20", L"98", 1, L"TH58NVG8D26TA20|98 de 94 93|32 GB|4 x 8 GB|Toshiba|8|Std|Yes"},
        {L"MJA0258M-S", L"", 1, L"MJA0258M-S|2c ca 80 d5|256 MB|1 x 256 MB|Spectec|16|Std|"},
    };
    const Chip_Catalogue catalogue;
    Script({[&] {
               const Chip_Popup popup = Chip_Popup::Find_Open();
               const auto rows = popup.Rows();
               ASSERT_EQ(rows.size(), catalogue.size());
               EXPECT_EQ(rows.front().substr(0, rows.front().find(L'|')), catalogue[0].Name);
               for (const Case& c : cases) {
                   SetWindowTextW(popup.name, c.name);
                   SetWindowTextW(popup.id, c.id);
                   const auto shown = popup.Rows();
                   EXPECT_EQ(shown.size(), c.rows) << "name <" << testing::PrintToString(std::wstring(c.name))
                                                   << "> id <" << testing::PrintToString(std::wstring(c.id)) << ">";
                   if (c.first && !shown.empty()) {
                       EXPECT_EQ(shown.front(), c.first);
                   }
               }
               PostMessageW(popup.window, WM_CLOSE, 0, 0);
           }},
           [&] {
               NAND_Config result;
               EXPECT_FALSE(Chip_Select(field, &options).Run(result));
               EXPECT_EQ(result, NAND_Config());
           });
}

struct Find_Case {
    const char* label;
    std::wstring profile;
    std::vector<std::wstring> rows;
};

class Chip_Select_Find : public Chip_Select_Test, public ::testing::WithParamInterface<Find_Case> {};

// The emulated chip answers on every bus mode; a row is listed under the mode
// its "Bus" names, and only with the number of banks that answer alike.
TEST_P(Chip_Select_Find, ListsTheRowsOfTheChipsIdPerMatchingBusMode) {
    Emulated_Chip chip(GetParam().profile);
    Script({[&] {
               const Chip_Popup popup = Chip_Popup::Find_Open();
               Click(popup.find);
               EXPECT_EQ(popup.Rows(), GetParam().rows);
               PostMessageW(popup.window, WM_CLOSE, 0, 0);
           }},
           [&] {
               NAND_Config result;
               Chip_Select(field, &options).Run(result);
           });
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Chips, Chip_Select_Find,
    ::testing::Values(
        Find_Case{"Demo",
                  KORVANE_SOURCE_DIR L"/emulator/profiles/demo.txt",
                  {L"TH58NVG7D2HTA20|98 de 94 93|16 GB|2 x 8 GB|Toshiba|8|Std|Yes",
                   L"TH58NVG7H2HTA20|98 de 94 93|16 GB|2 x 8 GB|Toshiba|8|Std|Yes"}},
        Find_Case{"FourBanks", L"TH58NVG8D26TA20", {L"TH58NVG8D26TA20|98 de 94 93|32 GB|4 x 8 GB|Toshiba|8|Std|Yes"}},
        Find_Case{"Bus16", L"MJA0258M-S", {L"MJA0258M-S|2c ca 80 d5|256 MB|1 x 256 MB|Spectec|16|Std|"}},
        Find_Case{"Bus16_8", L"SDTNNMAHSM-004G", {L"SDTNNMAHSM-004G|45 c7 94 32|4 GB|1 x 4 GB|Toshiba|16-8|Std|"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Chip_Select_Test, FindWithoutAReaderShowsWhyAndKeepsTheRows) {
    Script({[&] {
               const Chip_Popup popup = Chip_Popup::Find_Open();
               SetWindowTextW(popup.name, L"Monolith");
               Click(popup.find);
               EXPECT_EQ(popup.Rows().size(), 84u);
               PostMessageW(popup.window, WM_CLOSE, 0, 0);
           }},
           [&] {
               NAND_Config result;
               Chip_Select(field, &options).Run(result);
           });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Message");
    EXPECT_EQ(boxes[0].text, L"Media Error: Korvane2 not found\n");
}

TEST_F(Chip_Select_Test, ChoosingARowReturnsACopyOfIt) {
    NAND_Config result;
    bool chosen = false;
    Script({[&] {
               const Chip_Popup popup = Chip_Popup::Find_Open();
               SetWindowTextW(popup.name, L"TH58NVG8D26TA20");
               Double_Click_Row(popup.list, 0);
           }},
           [&] { chosen = Chip_Select(field, &options).Run(result); });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(result.Name, L"TH58NVG8D26TA20");
    EXPECT_EQ(result.ID_Code, L"98 de 94 93");
    EXPECT_EQ(result.Banks, L"4 x 8 GB");
    EXPECT_EQ(Popup(L"Select chip"), nullptr);
}

TEST_F(Chip_Select_Test, OpensBelowTheChipFieldInItsColours) {
    RECT placed = {}, list = {};
    std::vector<int> widths;
    Picture shown;
    Script({[&] {
               const Chip_Popup popup = Chip_Popup::Find_Open();
               SetWindowTextW(popup.name, L"TH58NVG7");
               GetWindowRect(popup.window, &placed);
               GetWindowRect(popup.list, &list);
               for (int column = 0; column < 8; ++column)
                   widths.push_back(static_cast<int>(SendMessageW(popup.list, LVM_GETCOLUMNWIDTH, column, 0)));
               UpdateWindow(popup.window);
           },
            [&] {
                const Chip_Popup popup = Chip_Popup::Find_Open();
                shown = Screen_Of(popup.window);
                Keep_Screenshot(shown, L"chip_list.bmp");
                PostMessageW(popup.window, WM_CLOSE, 0, 0);
            }},
           [&] {
               NAND_Config result;
               Chip_Select(field, &options).Run(result);
           });
    RECT chip_field;
    GetWindowRect(field, &chip_field);
    EXPECT_EQ(placed.left, chip_field.left - 1);
    EXPECT_EQ(placed.top, chip_field.bottom + 5);
    EXPECT_EQ(placed.right - placed.left, 620);
    EXPECT_EQ(placed.bottom - placed.top, 400);
    EXPECT_EQ(list.top - placed.top, 19);
    EXPECT_EQ(list.bottom, placed.bottom);
    EXPECT_EQ(list.right - list.left, 620);
    // Widths in whole characters of the list font: 17, 14, 9, 13, 10, 7, 7, 7.
    ASSERT_EQ(widths.size(), 8u);
    const int w = widths[5] / 7;
    EXPECT_GT(w, 3);
    EXPECT_EQ(widths, (std::vector<int>{17 * w, 14 * w, 9 * w, 13 * w, 10 * w, 7 * w, 7 * w, 7 * w}));
    ASSERT_EQ(shown.width, 620);
    EXPECT_EQ(shown.At(1, 1), RGB(236, 233, 216));
    EXPECT_EQ(shown.At(600, 10), RGB(236, 233, 216));
    // Below the few rows the list shows its own grey.
    EXPECT_EQ(shown.At(300, 380), RGB(200, 200, 200));
}

TEST_F(Chip_Select_Test, LookShowsACopyReadOnly) {
    const auto menu = [] { return FindWindowW(L"#32768", nullptr); };
    std::wstring shown_name;
    Script({[&] {
                const Chip_Popup popup = Chip_Popup::Find_Open();
                SetWindowTextW(popup.name, L"TH58NVG8D26TA20");
                RECT row = {LVIR_BOUNDS, 0, 0, 0};
                SendMessageW(popup.list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
                const LPARAM point = MAKELPARAM(row.left + 10, (row.top + row.bottom) / 2);
                PostMessageW(popup.list, WM_RBUTTONUP, 0, point);
                SendMessageW(popup.list, WM_RBUTTONDOWN, MK_RBUTTON, point);
            },
            [&] { PostMessageW(menu(), WM_KEYDOWN, VK_DOWN, 0); },
            [&] { PostMessageW(menu(), WM_CHAR, L'\r', 0); },
            [&] {
                HWND look = Popup(L"Chip");
                ASSERT_NE(look, nullptr);
                const auto fields = Children(look, L"Edit");
                ASSERT_EQ(fields.size(), 20u);
                shown_name = Text_Of(fields[1]);
                for (HWND field : fields) EXPECT_TRUE(GetWindowLongPtrW(field, GWL_STYLE) & ES_READONLY);
                // Read-only fields in the popup's beige: "Join CE", empty, at the bottom.
                RECT placed, join;
                GetWindowRect(look, &placed);
                GetWindowRect(fields.back(), &join);
                EXPECT_EQ(Screen_Of(look).At((join.left + join.right) / 2 - placed.left,
                                             (join.top + join.bottom) / 2 - placed.top),
                          RGB(236, 233, 216));
                const auto checks = Children(look, L"Button");
                ASSERT_EQ(checks.size(), 1u);
                EXPECT_FALSE(IsWindowEnabled(checks[0]));
                // The four dialog buttons, and no "Select" among them.
                EXPECT_EQ(Tool_Count(look), 4);
                EXPECT_EQ(Button_With_Tip(look, L"Select"), nullptr);
                SetWindowTextW(fields[1], L"Changed");
                Click(Button_With_Tip(look, L"OK"));
            },
            [&] {
                EXPECT_EQ(Popup(L"Chip"), nullptr);
                const Chip_Popup popup = Chip_Popup::Find_Open();
                EXPECT_EQ(popup.Rows().size(), 1u);
                PostMessageW(popup.window, WM_CLOSE, 0, 0);
            }},
           [&] {
               NAND_Config result;
               EXPECT_FALSE(Chip_Select(field, &options).Run(result));
           });
    EXPECT_EQ(shown_name, L"TH58NVG8D26TA20");
    EXPECT_EQ(Chip_Catalogue().Filter(L"Changed", L"").size(), 0u);
}

// Tab goes from the name filter to the ID filter, "Find" and on to the list, Down
// moves in the list, and Enter chooses the row the keys reached.
TEST_F(Chip_Select_Test, KeysReachTheListAndEnterChoosesARow) {
    std::vector<HWND> visited;
    std::vector<std::wstring> rows;
    Chip_Popup popup;
    const auto press = [&](WPARAM key) {
        return [&visited, key] {
            visited.push_back(GetFocus());
            PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        };
    };
    NAND_Config result;
    bool chosen = false;
    Script({[&] {
                popup = Chip_Popup::Find_Open();
                SetWindowTextW(popup.name, L"TH58NVG7");
                rows = popup.Rows();
            },
            press(VK_TAB), press(VK_TAB), press(VK_TAB), press(VK_DOWN), press(VK_DOWN), press(VK_RETURN)},
           [&] { chosen = Chip_Select(field, &options).Run(result); });
    EXPECT_EQ(visited, (std::vector<HWND>{popup.name, popup.id, popup.find, popup.list,
                                          popup.list, popup.list}));
    ASSERT_GE(rows.size(), 2u);
    EXPECT_TRUE(chosen);
    EXPECT_EQ(result.Name, rows[1].substr(0, rows[1].find(L'|')));
}

// Opened from a field low on the screen, the list goes above the field,
// leaving it in view; its size and its left edge stay.
TEST_F(Chip_Select_Test, OpenedLowStaysInTheWorkArea) {
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT host;
    GetWindowRect(Host(), &host);
    HWND low = Make_Child(40, work.bottom - host.top - 30, 200, 16);
    RECT placed = {};
    Script({[&] {
               GetWindowRect(Chip_Popup::Find_Open().window, &placed);
               PostMessageW(Popup(L"Select chip"), WM_CLOSE, 0, 0);
           }},
           [&] {
               NAND_Config result;
               Chip_Select(low, &options).Run(result);
           });
    RECT chip_field;
    GetWindowRect(low, &chip_field);
    EXPECT_EQ(placed.left, chip_field.left - 1);
    EXPECT_EQ(placed.bottom, chip_field.top - 5);
    EXPECT_EQ(placed.right - placed.left, 620);
    EXPECT_EQ(placed.bottom - placed.top, 400);
}
