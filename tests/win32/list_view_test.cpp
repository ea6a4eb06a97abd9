#include "win32/list_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <windowsx.h>

#include "framework/values.h"
#include "tests/win32/toolkit_test.h"

namespace {

// Each value holds a token; a record still alive keeps its token's count up.
using Token = std::shared_ptr<int>;

struct Test_List : ZEKT_Win32_ListView<Token> {
    using ZEKT_Win32_ListView<Token>::ZEKT_Win32_ListView;
    std::vector<std::wstring> events;
    bool allow_edit = false;

    static std::wstring Of(int index, const Token& value) {
        return std::to_wstring(index) + L"=" + std::to_wstring(value ? *value : -1);
    }
    void Selected(int index, Token& value) override { events.push_back(L"selected " + Of(index, value)); }
    void Deleted(int index, Token& value) override { events.push_back(L"deleted " + Of(index, value)); }
    void Activated(int index, Token& value) override { events.push_back(L"activated " + Of(index, value)); }
    void Right_Click_Empty(int x, int y) override {
        events.push_back(L"empty " + std::to_wstring(x) + L"," + std::to_wstring(y));
    }
    void Right_Click(int index, Token& value, int x, int y) override {
        events.push_back(L"right " + Of(index, value) + L" " + std::to_wstring(x) + L"," + std::to_wstring(y));
    }
    bool Begin_Edit(int index, Token& value) override {
        events.push_back(L"begin " + Of(index, value));
        return allow_edit;
    }
    void End_Edit(int index, Token& value, const std::wstring& text) override {
        events.push_back(L"end " + Of(index, value) + L" " + text);
    }
};

using Events = std::vector<std::wstring>;

// Counts the Enter notifications on their way to the list.
struct Return_Spy {
    ZEKT_Win32_Handlers handlers;
    int returns = 0;
    ZEKT_Box<LRESULT> On_Notify(HWND, UINT, WPARAM, LPARAM lparam) {
        if (reinterpret_cast<NMHDR*>(lparam)->code == static_cast<UINT>(NM_RETURN)) ++returns;
        return ZEKT_Win32_Not_Handled();
    }
};

class List_View_Test : public Toolkit_Test {
protected:
    // A list of `rows` rows "Bank_1"... with values 1, 2, ... in the host window.
    void Fill(Test_List& list, int rows, COLORREF colour = 0) {
        for (int i = 1; i <= rows; ++i) list.Add_Row(L"Bank_" + std::to_wstring(i), 0, colour, Value(i));
        list.events.clear();
    }
    Token Value(int number) {
        Token token = std::make_shared<int>(number);
        tokens.push_back(token);
        return token;
    }
    // Records of rows still alive anywhere.
    int Live_Records() const {
        int live = 0;
        for (const Token& token : tokens) live += static_cast<int>(token.use_count()) - 1;
        return live;
    }
    HWND Parent() { return Make_Child(0, 0, 400, 300); }
    RECT Row_Rect(const Test_List& list, int index) {
        RECT rect = {};
        rect.left = LVIR_BOUNDS;
        SendMessageW(list.Control(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    LPARAM Below_Rows(const Test_List& list) {
        RECT last = Row_Rect(list, list.Count() - 1);
        return MAKELPARAM(10, last.bottom + 10);
    }

    std::vector<Token> tokens;
};

}  // namespace

TEST(List_View_Styles, FlagsGiveTheirStyles) {
    const DWORD base = WS_CHILD | WS_VISIBLE | LVS_SHOWSELALWAYS | LVS_REPORT;
    ZEKT_Win32_ListView_Flags flags;
    EXPECT_EQ(ListView_Styles(flags).style, base);
    EXPECT_EQ(ListView_Styles(flags).extended, static_cast<DWORD>(LVS_EX_FULLROWSELECT));

    flags.header = false;
    flags.header_click = false;
    flags.multiple_selection = false;
    flags.label_edit = true;
    flags.grid_lines = true;
    flags.check_boxes = true;
    flags.view = LVS_LIST;
    EXPECT_EQ(ListView_Styles(flags).style, WS_CHILD | WS_VISIBLE | LVS_SHOWSELALWAYS | LVS_LIST | LVS_NOCOLUMNHEADER |
                                                LVS_NOSORTHEADER | LVS_SINGLESEL | LVS_EDITLABELS);
    EXPECT_EQ(ListView_Styles(flags).extended,
              static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES));
}

TEST_F(List_View_Test, CreatedControlCarriesItsStylesAndColumns) {
    ZEKT_Win32_ListView_Flags flags;
    flags.multiple_selection = false;
    flags.grid_lines = true;
    Test_List list(flags);
    list.Create(Parent(), 0, 80, 375, 120);
    wchar_t name[64] = {};
    GetClassNameW(list.Control(), name, 64);
    EXPECT_STREQ(name, WC_LISTVIEWW);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(list.Control(), GWL_STYLE)) & 0xFFFF, ListView_Styles(flags).style & 0xFFFF);
    EXPECT_EQ(SendMessageW(list.Control(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              static_cast<LRESULT>(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));

    list.Add_Column(L"Bank", 55);
    list.Add_Column(L"Result", 0);
    EXPECT_EQ(SendMessageW(list.Control(), LVM_GETCOLUMNWIDTH, 0, 0), 55);
    // The last column takes the rest of the width: the columns fill the control.
    EXPECT_EQ(SendMessageW(list.Control(), LVM_GETCOLUMNWIDTH, 1, 0), 375 - 55);
    wchar_t title[16] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = title;
    column.cchTextMax = 16;
    SendMessageW(list.Control(), LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(title, L"Result");
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
}

TEST_F(List_View_Test, RowsCarryTextValueAndSelection) {
    Test_List list;
    list.Create(Parent(), 0, 0, 375, 200);
    list.Add_Column(L"Bank", 55);
    list.Add_Column(L"Result", 0);
    EXPECT_EQ(list.Add_Row(L"Bank_1", 0, 0, Value(10)), 0);
    EXPECT_EQ(list.Add_Row(L"Bank_2", 0, 255, Value(20)), 1);
    EXPECT_EQ(*list.Value(1), 20);
    EXPECT_EQ(list.Colour(1), 255u);
    EXPECT_EQ(list.Text(1, 0), L"Bank_2");

    list.Set_Text(1, 1, L"Reading done (1 s)");
    EXPECT_EQ(list.Text(1, 1), L"Reading done (1 s)");

    list.Select_All();
    EXPECT_EQ(SendMessageW(list.Control(), LVM_GETSELECTEDCOUNT, 0, 0), 2);
    EXPECT_EQ(list.events, (Events{L"selected 0=10", L"selected 1=20"}));

    try {
        list.Value(2);
        FAIL() << "no row 2";
    } catch (const ZEKT_Exception_Bug& error) {
        EXPECT_EQ(error.message, L"List view has no row <2>");
    }
}

TEST_F(List_View_Test, FitHeightShowsEveryRow) {
    Test_List list;
    list.Create(Parent(), 0, 0, 375, 250);
    list.Add_Column(L"Bank", 55);
    Fill(list, 4);
    list.Fit_Height();
    RECT window, client;
    GetWindowRect(list.Control(), &window);
    GetClientRect(list.Control(), &client);
    EXPECT_EQ(window.right - window.left, 375);
    EXPECT_LT(window.bottom - window.top, 250);
    EXPECT_LE(Row_Rect(list, 3).bottom, client.bottom);
    const int four_rows = window.bottom - window.top;

    Fill(list, 2);
    list.Fit_Height();
    GetWindowRect(list.Control(), &window);
    GetClientRect(list.Control(), &client);
    EXPECT_GT(window.bottom - window.top, four_rows);
    EXPECT_LE(Row_Rect(list, 5).bottom, client.bottom);
}

TEST_F(List_View_Test, EnterActivatesOnlyTheRowHoldingTheSelectionMark) {
    HWND parent = Parent();
    Return_Spy spy;
    spy.handlers.Add_Handler(parent, WM_NOTIFY, &spy, &Return_Spy::On_Notify);
    Test_List list;
    list.Create(parent, 0, 0, 375, 200);
    list.Add_Column(L"Bank", 100);
    Fill(list, 3);

    // A focused row but no selection mark: the control reports Enter, and
    // nothing is activated.
    LVITEMW state = {};
    state.stateMask = LVIS_FOCUSED;
    state.state = LVIS_FOCUSED;
    SendMessageW(list.Control(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list.Control(), LVM_SETSELECTIONMARK, 0, -1);
    ASSERT_EQ(SendMessageW(list.Control(), LVM_GETSELECTIONMARK, 0, 0), -1);
    SendMessageW(list.Control(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(spy.returns, 1);
    EXPECT_TRUE(list.events.empty());

    SendMessageW(list.Control(), LVM_SETSELECTIONMARK, 0, 2);
    SendMessageW(list.Control(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(list.events, (Events{L"activated 2=3"}));
}

TEST_F(List_View_Test, DoubleClickActivatesARowAndNothingElse) {
    Test_List list;
    list.Create(Parent(), 0, 0, 375, 200);
    list.Add_Column(L"Bank", 100);
    Fill(list, 3);

    SendMessageW(list.Control(), WM_LBUTTONDBLCLK, MK_LBUTTON, Below_Rows(list));
    EXPECT_TRUE(list.events.empty());

    RECT second = Row_Rect(list, 1);
    SendMessageW(list.Control(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, (second.top + second.bottom) / 2));
    ASSERT_FALSE(list.events.empty());
    EXPECT_EQ(list.events.back(), L"activated 1=2");
    EXPECT_EQ(std::count(list.events.begin(), list.events.end(), L"activated 1=2"), 1);
}

TEST_F(List_View_Test, RightClickBelowTheRowsIsAnEmptyClickAndOnARowMovesTheMark) {
    Test_List list;
    HWND parent = Parent();
    list.Create(parent, 10, 20, 375, 200);
    list.Add_Column(L"Bank", 100);
    Fill(list, 3);

    const LPARAM below = Below_Rows(list);
    POINT screen = {GET_X_LPARAM(below), GET_Y_LPARAM(below)};
    ClientToScreen(list.Control(), &screen);
    // The control waits for the release before it reports the click.
    PostMessageW(list.Control(), WM_RBUTTONUP, 0, below);
    SendMessageW(list.Control(), WM_RBUTTONDOWN, MK_RBUTTON, below);
    Pump_Messages();
    EXPECT_EQ(list.events, (Events{L"empty " + std::to_wstring(screen.x) + L"," + std::to_wstring(screen.y)}));

    list.events.clear();
    RECT third = Row_Rect(list, 2);
    POINT on_row = {30, (third.top + third.bottom) / 2};
    screen = on_row;
    ClientToScreen(list.Control(), &screen);
    PostMessageW(list.Control(), WM_RBUTTONUP, 0, MAKELPARAM(on_row.x, on_row.y));
    SendMessageW(list.Control(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(on_row.x, on_row.y));
    Pump_Messages();
    ASSERT_FALSE(list.events.empty());
    EXPECT_EQ(list.events.back(), L"right 2=3 " + std::to_wstring(screen.x) + L"," + std::to_wstring(screen.y));
    EXPECT_EQ(SendMessageW(list.Control(), LVM_GETSELECTIONMARK, 0, 0), 2);
}

TEST_F(List_View_Test, DeletingAllRowsReportsEachAndFreesEveryRecord) {
    Test_List list;
    list.Create(Parent(), 0, 0, 375, 200);
    list.Add_Column(L"Bank", 100);
    Fill(list, 3);
    EXPECT_EQ(Live_Records(), 3);

    list.Delete_All();
    EXPECT_EQ(list.Count(), 0);
    // One report per row, whatever order the control deletes them in.
    std::vector<int> values;
    for (const std::wstring& event : list.events) {
        ASSERT_TRUE(event.starts_with(L"deleted ")) << To_UTF8(event);
        values.push_back(std::stoi(event.substr(event.find(L'=') + 1)));
    }
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Live_Records(), 0);
}

TEST_F(List_View_Test, RowsLeftWhenTheWindowGoesAreReportedAndFreed) {
    HWND parent = Parent();
    {
        Test_List list;
        list.Create(parent, 0, 0, 375, 200);
        list.Add_Column(L"Bank", 100);
        Fill(list, 2);
        DestroyWindow(parent);
        EXPECT_EQ(list.events.size(), 2u);
        EXPECT_EQ(Live_Records(), 0);
    }
    // The object going first frees its rows without reporting them.
    auto list = std::make_unique<Test_List>();
    list->Create(Parent(), 0, 0, 375, 200);
    list->Add_Column(L"Bank", 100);
    Fill(*list, 2);
    HWND control = list->Control();
    list.reset();
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(Live_Records(), 0);
}

TEST_F(List_View_Test, LabelEditAsksFirstAndReportsTheNewText) {
    ZEKT_Win32_ListView_Flags flags;
    flags.label_edit = true;
    Test_List list(flags);
    list.Create(Parent(), 0, 0, 375, 200);
    list.Add_Column(L"Bank", 100);
    Fill(list, 2);

    // Editing selects the row first; only the edit reports matter here.
    auto edits = [&] {
        Events found;
        for (const std::wstring& event : list.events)
            if (!event.starts_with(L"selected ")) found.push_back(event);
        return found;
    };
    EXPECT_EQ(SendMessageW(list.Control(), LVM_EDITLABELW, 0, 0), 0);
    EXPECT_EQ(edits(), (Events{L"begin 0=1"}));

    list.events.clear();
    list.allow_edit = true;
    HWND edit = reinterpret_cast<HWND>(SendMessageW(list.Control(), LVM_EDITLABELW, 1, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L"Renamed");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    Pump_Messages();
    EXPECT_EQ(edits(), (Events{L"begin 1=2", L"end 1=2 Renamed"}));
    EXPECT_EQ(list.Text(1, 0), L"Renamed");
}

TEST_F(List_View_Test, MarkedRowsAreDrawnRedAndSelectedRowsInTheirColours) {
    Test_List list;
    list.Create(Parent(), 0, 0, 375, 200);
    list.Add_Column(L"Bank", 100);
    list.Add_Column(L"Result", 0);
    list.Set_Background(RGB(254, 244, 235));
    list.Add_Row(L"Bank_1", 0, 0, Value(1));
    list.Add_Row(L"Bank_2", 0, 255, Value(2));
    list.Set_Text(1, 1, L"Wrong ID");

    Picture picture = Print_Client(list.Control());
    const RECT normal = Row_Rect(list, 0);
    const RECT marked = Row_Rect(list, 1);
    EXPECT_GT(picture.Count(normal, Is_Dark), 20);
    EXPECT_EQ(picture.Count(normal, Is_Red), 0);
    EXPECT_GT(picture.Count(marked, Is_Red), 20);
    EXPECT_EQ(picture.Count(marked, Is_Dark), 0);
    EXPECT_EQ(picture.At(marked.right - 3, marked.top + 1), RGB(254, 244, 235));

    // Selected rows take the selected colours; the others stay as they were.
    list.Set_Selected_Colours(RGB(0, 0, 255), RGB(250, 180, 133));
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(list.Control(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    picture = Print_Client(list.Control());
    auto blue = [](COLORREF c) { return GetBValue(c) >= 200 && GetRValue(c) <= 80 && GetGValue(c) <= 80; };
    EXPECT_EQ(picture.At(5, marked.top + 1), RGB(250, 180, 133));
    EXPECT_GT(picture.Count(marked, blue), 20);
    EXPECT_EQ(picture.Count(marked, Is_Red), 0);
    EXPECT_GT(picture.Count(normal, Is_Dark), 20);
    EXPECT_EQ(picture.At(5, normal.top + 1), RGB(254, 244, 235));
}
