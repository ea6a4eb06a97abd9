#include "app/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

#include "tests/app/app_fixture.h"

using Korvane_Exe::Mark_Normal;

namespace {

// A pixel of the screen at a point of a window's client area.
COLORREF Pixel(HWND window, int x, int y) {
    POINT point = {x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

RECT Row_Rect(const Korvane_Exe::Bank_Select& banks, int index) {
    RECT row = {};
    row.left = LVIR_BOUNDS;
    SendMessageW(banks.Control(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    return row;
}

// Where a child sits in its parent's client area.
RECT Placement(HWND child) {
    RECT area;
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

int Client_Width(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client.right;
}

}  // namespace

using Window_Test = App_Test;

TEST_F(Window_Test, StartsWithFourSelectedEmptyBanksInItsColoursAndPlaces) {
    HWND main = window->Main();
    EXPECT_EQ(Text_Of(main), L"Korvane v517");
    RECT outer;
    GetWindowRect(main, &outer);
    EXPECT_EQ(outer.right - outer.left, 375);
    EXPECT_EQ(outer.bottom - outer.top, 210);
    ASSERT_EQ(window->Banks().Count(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(window->Banks().Text(row, 0), L"Bank_" + std::to_wstring(row + 1));
        EXPECT_EQ(window->Banks().Mark(row), Mark_Normal);
    }
    EXPECT_EQ(Results(), std::vector<std::wstring>(4));
    EXPECT_EQ(Selected_Count(), 4);
    EXPECT_EQ(window->Chip_Number().Chip, 1u);
    EXPECT_NE(GetClassLongPtrW(main, GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(main, GCLP_HICONSM), 0);

    struct Place {
        HWND control;
        RECT expected;
    };
    const RECT number = Placement(window->Chip_Number().Window());
    for (const Place& place : {Place{window->Folder_Field(), {0, 10, 260, 25}},
                               Place{window->Chip_Field(), {0, 36, 260, 51}},
                               Place{window->Banks().Control(), {0, 80, Client_Width(main), Placement(window->Banks().Control()).bottom}},
                               Place{window->Chip_Number().Window(), {276, 10, 276 + 12 + 54 + 12, number.bottom}}}) {
        const RECT actual = Placement(place.control);
        EXPECT_TRUE(EqualRect(&actual, &place.expected))
            << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom;
    }
    // The list is as high as its header and four rows.
    EXPECT_GE(Placement(window->Banks().Control()).bottom, Row_Rect(window->Banks(), 3).bottom + 80);
    EXPECT_EQ(Placement(window->Button(0)).top + Placement(GetParent(window->Button(0))).top, 60 + 2);

    UpdateWindow(main);
    Pump_Messages();
    Screenshot(main, L"main-window");
    struct Probe {
        HWND window;
        int x, y;
        COLORREF colour;
    };
    const RECT first_row = Row_Rect(window->Banks(), 0);
    for (const Probe& probe : {Probe{main, 300, 50, RGB(254, 215, 175)},
                               Probe{window->Folder_Field(), 52, 2, RGB(254, 244, 235)},
                               Probe{window->Folder_Field(), 250, 2, RGB(225, 225, 225)},
                               Probe{window->Chip_Field(), 52, 12, RGB(254, 244, 235)},
                               Probe{window->Chip_Number().Window(), 12, 1, RGB(0, 64, 128)},
                               Probe{window->Chip_Number().Window(), 14, 3, RGB(254, 244, 235)},
                               Probe{window->Button(Korvane_Exe::Window::Extra_Button), 0, 0, RGB(255, 0, 128)},
                               Probe{window->Button(Korvane_Exe::Window::Extra_Button), 2, 2, RGB(255, 217, 236)},
                               Probe{window->Banks().Control(), 200, (first_row.top + first_row.bottom) / 2,
                                     RGB(250, 180, 133)}}) {
        EXPECT_EQ(Pixel(probe.window, probe.x, probe.y), probe.colour) << probe.x << "," << probe.y;
    }
}

// "Lucida Console" is asked for by name; whatever face the system gives
// instead must still fit the labels, the number and the rows.
TEST_F(Window_Test, SubstitutedFontStillFitsTheFieldsAndTheNumber) {
    struct Fit {
        int height;
        const wchar_t* text;
        int room;
    };
    HDC dc = GetDC(nullptr);
    for (const Fit& fit : {Fit{11, L"Folder", 55 - 5}, Fit{11, L"Chip", 55 - 5}, Fit{11, L"Result", 100},
                           Fit{20, L"9999", 54}}) {
        ZEKT_Win32_Font font(L"Lucida Console", fit.height);
        ZEKT_Win32_Select selected(dc, font.Get());
        SIZE size;
        GetTextExtentPoint32W(dc, fit.text, static_cast<int>(wcslen(fit.text)), &size);
        EXPECT_LT(size.cx, fit.room) << fit.text;
        EXPECT_LE(size.cy, fit.height + 4) << fit.text;
    }
    ReleaseDC(nullptr, dc);
    // The label is drawn inside its cell, in its brown.
    UpdateWindow(window->Main());
    const Picture field = Screen_Of(window->Folder_Field());
    EXPECT_GT(Count_Colour(field, {5, 0, 55, field.height}, RGB(128, 64, 0)), 5);
}

TEST_F(Window_Test, ReadWithoutAFolderSaysSoAndReadsNothing) {
    Use_Demo();
    Press(window->Button(Korvane_Exe::Window::Read_Button));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Error: Work folder don't set\n");
    EXPECT_EQ(boxes[0].caption, L"Message");
    EXPECT_EQ(Results(), std::vector<std::wstring>(2));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}

struct Folder_Case {
    std::optional<std::wstring> chosen;
    std::wstring stored;
};

class Folder_Field_Test : public App_Test, public ::testing::WithParamInterface<Folder_Case> {};

TEST_P(Folder_Field_Test, ChosenFolderEndsWithASeparatorAndClearsTheResults) {
    window->Options().Work_Folder = L"D:\\before\\";
    window->Banks().Set_Status(1, L"old");
    dialogs.folder = GetParam().chosen;
    Press(window->Folder_Field());
    EXPECT_EQ(dialogs.browse_title, L"Select work folder");
    EXPECT_EQ(dialogs.browse_current, L"D:\\before\\");
    EXPECT_EQ(dialogs.browse_owner, window->Folder_Field());
    EXPECT_EQ(window->Options().Work_Folder, GetParam().stored);
    EXPECT_EQ(window->Banks().Result(0), GetParam().chosen ? L"" : L"old");
}

INSTANTIATE_TEST_SUITE_P(Choices, Folder_Field_Test,
                         ::testing::Values(Folder_Case{L"C:\\dumps", L"C:\\dumps\\"}, Folder_Case{L"C:\\", L"C:\\"},
                                           Folder_Case{std::nullopt, L"D:\\before\\"}));

// The real browser under Wine: its window found, the preselected folder
// confirmed with OK.
TEST_F(Window_Test, RealFolderBrowserStartsAtTheCurrentFolder) {
    Korvane_Exe::Install_Dialogs(nullptr);
    wchar_t system[MAX_PATH];
    GetWindowsDirectoryW(system, MAX_PATH);
    window->Options().Work_Folder = std::wstring(system) + L"\\";
    Script({Until([] {
               HWND browser = FindWindowW(L"#32770", nullptr);
               if (browser) PostMessageW(browser, WM_COMMAND, IDOK, 0);
               return browser != nullptr;
           })},
           [&] { Press(window->Folder_Field()); });
    Korvane_Exe::Install_Dialogs(&dialogs);
    std::wstring stored = window->Options().Work_Folder;
    std::transform(stored.begin(), stored.end(), stored.begin(), towlower);
    std::wstring expected = std::wstring(system) + L"\\";
    std::transform(expected.begin(), expected.end(), expected.begin(), towlower);
    EXPECT_EQ(stored, expected);
}

struct Arrow_Case {
    const char* name;
    std::uint32_t start;
    bool next;
    bool fast_second;
    std::uint32_t expected;
};

class Arrow_Test : public App_Test, public ::testing::WithParamInterface<Arrow_Case> {};

TEST_P(Arrow_Test, EveryClickCountsNeverBelowOneAndTheBanksAreRefilled) {
    const Arrow_Case& arrow = GetParam();
    window->Chip_Number().Chip = arrow.start;
    window->Banks().Set_Error(2, L"failed");
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(window->Banks().Control(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    Press(arrow.next ? window->Chip_Number().Next_Button() : window->Chip_Number().Previous_Button(),
          arrow.fast_second);
    EXPECT_EQ(window->Chip_Number().Chip, arrow.expected);
    EXPECT_EQ(Results(), std::vector<std::wstring>(4));
    EXPECT_EQ(window->Banks().Mark(1), Mark_Normal);
    EXPECT_EQ(Selected_Count(), 4);
    // The number drawn is the new one, in its violet.
    UpdateWindow(window->Chip_Number().Window());
    const Picture box = Screen_Of(window->Chip_Number().Window());
    EXPECT_GT(box.Count({12, 1, 12 + 54, box.height - 1}, [](COLORREF c) { return c == RGB(128, 0, 255); }), 10);
}

INSTANTIATE_TEST_SUITE_P(Clicks, Arrow_Test,
                         ::testing::Values(Arrow_Case{"PreviousAtOne", 1, false, false, 1},
                                           Arrow_Case{"Previous", 5, false, false, 4},
                                           Arrow_Case{"Next", 1, true, false, 2},
                                           Arrow_Case{"NextAtLargest", 4294967295u, true, false, 4294967295u},
                                           Arrow_Case{"FastSecondNext", 1, true, true, 3},
                                           Arrow_Case{"FastSecondPrevious", 5, false, true, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Window_Test, RightClickCopiesTheRowsResult) {
    window->Banks().Set_Status(2, L"98 de 94 93 ");
    const RECT row = Row_Rect(window->Banks(), 1);
    HWND list = window->Banks().Control();
    Script({[] { Menu_Key(VK_DOWN); }, [] { Menu_Enter(); }}, [&] {
        PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(20, (row.top + row.bottom) / 2));
        SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, (row.top + row.bottom) / 2));
        Pump_Messages();
    });
    EXPECT_EQ(dialogs.copied, std::vector<std::wstring>{L"98 de 94 93 "});
}

// The real clipboard holds the text afterwards.
TEST_F(Window_Test, RealClipboardTakesTheText) {
    Korvane_Exe::Install_Dialogs(nullptr);
    Korvane_Exe::Dialogs().Copy_Text(window->Main(), L"Reading done (212 ms)");
    Korvane_Exe::Install_Dialogs(&dialogs);
    ASSERT_TRUE(OpenClipboard(window->Main()));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(data))), L"Reading done (212 ms)");
    GlobalUnlock(data);
    CloseClipboard();
}

// The chip list opens from the chip field; a double click on a row takes it.
TEST_F(Window_Test, ChosenChipFillsTheFieldAndTheBanks) {
    window->Banks().Set_Status(1, L"old");
    Script({Until([] {
               HWND popup = Popup(L"Select chip");
               if (!popup) return false;
               SetWindowTextW(Children(popup, L"Edit")[0], L"MJA0258M-S");
               Double_Click_Row(Children(popup, WC_LISTVIEWW)[0], 0);
               return true;
           })},
           [&] { Press(window->Chip_Field()); });
    EXPECT_EQ(window->Config().Name, L"MJA0258M-S");
    EXPECT_EQ(window->Config().ID_Code, L"2c ca 80 d5");
    EXPECT_EQ(window->Config().Bus, L"16");
    ASSERT_EQ(window->Banks().Count(), 1);
    EXPECT_EQ(window->Banks().Text(0, 0), L"Bank_1");
    EXPECT_EQ(Results(), std::vector<std::wstring>(1));
    EXPECT_EQ(Selected_Count(), 1);
    UpdateWindow(window->Main());
    const Picture field = Screen_Of(window->Chip_Field());
    EXPECT_GT(field.Count({60, 0, field.width, field.height}, Is_Dark), 30);
}

TEST_F(Window_Test, FindListsTheEmulatedDemoChipOncePerMatchingBusMode) {
    Use_Demo();
    const NAND_Config before = window->Config();
    std::vector<std::wstring> rows;
    Script({Until([&] {
               HWND popup = Popup(L"Select chip");
               if (!popup) return false;
               Click(ChildWindowFromPoint(popup, {295, 6}));
               rows = List_Rows(Children(popup, WC_LISTVIEWW)[0]);
               PostMessageW(popup, WM_CLOSE, 0, 0);
               return true;
           })},
           [&] { Press(window->Chip_Field()); });
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"TH58NVG7D2HTA20|98 de 94 93|16 GB|2 x 8 GB|Toshiba|8|Std|Yes",
                                               L"TH58NVG7H2HTA20|98 de 94 93|16 GB|2 x 8 GB|Toshiba|8|Std|Yes"}));
    EXPECT_TRUE(window->Config() == before);
}

struct Conf_Case {
    const char* name;
    int entry;
    const wchar_t* title;
    const wchar_t* button;
    bool refilled;
};

class Conf_Test : public App_Test, public ::testing::WithParamInterface<Conf_Case> {};

// "Config" confirmed refills the banks; "Options" and a closed dialog do not.
TEST_P(Conf_Test, MenuOpensItsDialogOnTheWindowsSettings) {
    const Conf_Case& conf = GetParam();
    window->Banks().Set_Status(1, L"old");
    std::vector<Step> steps;
    for (int down = 0; down <= conf.entry; ++down) steps.push_back([] { Menu_Key(VK_DOWN); });
    steps.push_back([] { Menu_Enter(); });
    steps.push_back(Until([&] {
        HWND dialog = Popup(conf.title);
        if (dialog) Click(Button_With_Tip(dialog, conf.button));
        return dialog != nullptr;
    }));
    Script(std::move(steps), [&] { Press(window->Button(Korvane_Exe::Window::Conf_Button)); });
    EXPECT_EQ(window->Banks().Result(0), conf.refilled ? L"" : L"old");
}

INSTANTIATE_TEST_SUITE_P(Entries, Conf_Test,
                         ::testing::Values(Conf_Case{"OptionsOK", 0, L"Chip Options", L"OK", false},
                                           Conf_Case{"ConfigOK", 1, L"Chip", L"OK", true},
                                           Conf_Case{"ConfigClose", 1, L"Chip", L"Close", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct Number_Case {
    const wchar_t* typed;
    std::uint32_t stored;
    const wchar_t* message;  // in a "Message" box; the dialog then stays open
};

class Number_Dialog_Test : public App_Test, public ::testing::WithParamInterface<Number_Case> {};

// Dump files are numbered from 1: 0 is refused and the dialog stays open.
TEST_P(Number_Dialog_Test, DoubleClickOnTheNumberEditsItInTheChipNumberDialog) {
    window->Banks().Set_Status(1, L"old");
    Script({Until([&] {
               HWND dialog = Popup(L"Chip_Number");
               if (!dialog) return false;
               SetWindowTextW(Children(dialog, L"Edit")[0], GetParam().typed);
               Click(Button_With_Tip(dialog, L"OK"));
               if (!boxes.empty()) Click(Button_With_Tip(dialog, L"Close"));
               return true;
           })},
           [&] {
               PostMessageW(window->Chip_Number().Window(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 5));
               Pump_Messages();
           });
    EXPECT_EQ(window->Chip_Number().Chip, GetParam().stored);
    ASSERT_EQ(boxes.size(), GetParam().message ? 1u : 0u);
    if (GetParam().message) {
        EXPECT_EQ(boxes[0].text, GetParam().message);
    }
    EXPECT_EQ(window->Banks().Result(0), GetParam().message ? L"old" : L"");
}

INSTANTIATE_TEST_SUITE_P(Numbers, Number_Dialog_Test,
                         ::testing::Values(Number_Case{L"7", 7, nullptr},
                                           Number_Case{L"0", 1, L"Data Corrupt: Chip number must be 1 or more <0>\n"}));
