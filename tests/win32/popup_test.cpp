#include "win32/popup.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/win32/toolkit_test.h"

namespace {

// Steps run one per timer tick while the menu's own loop runs.
std::vector<std::function<void()>> steps;

void CALLBACK Next_Step(HWND, UINT, UINT_PTR timer, DWORD) {
    if (steps.empty()) {
        KillTimer(nullptr, timer);
        return;
    }
    auto step = steps.front();
    steps.erase(steps.begin());
    step();
}

HWND Menu_Window() { return FindWindowW(L"#32768", nullptr); }

// Keys reach the menu's loop through the thread's queue.
void Key(WPARAM key) { PostMessageW(Menu_Window(), WM_KEYDOWN, key, 0); }
void Enter() { PostMessageW(Menu_Window(), WM_CHAR, L'\r', 0); }

class Popup_Test : public Toolkit_Test {
protected:
    // Runs the menu with the steps fed in by a timer.
    bool Run(ZEKT_Win32_Popup<int>& popup, std::vector<std::function<void()>> script) {
        steps = std::move(script);
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, Next_Step);
        const bool chosen = popup.Run(200, 150);
        KillTimer(nullptr, timer);
        steps.clear();
        return chosen;
    }
};

}  // namespace

TEST_F(Popup_Test, ChosenEntryStoresItsValueAndEscapeKeepsIt) {
    ZEKT_Win32_Popup<int> popup;
    popup.Add(L"Test USB", 10);
    popup.Add(L"Read ONFI", 20);
    EXPECT_EQ(GetMenuItemCount(popup.Menu()), 2);
    EXPECT_EQ(GetMenuItemID(popup.Menu(), 1), 2u);

    EXPECT_TRUE(Run(popup, {[] { Key(VK_DOWN); }, [] { Key(VK_DOWN); }, [] { Enter(); }}));
    EXPECT_EQ(popup.Value(), 20);

    EXPECT_FALSE(Run(popup, {[] { Key(VK_DOWN); }, [] { Key(VK_ESCAPE); }}));
    EXPECT_EQ(popup.Value(), 20);
    EXPECT_EQ(Menu_Window() ? IsWindowVisible(Menu_Window()) : FALSE, FALSE);
}

TEST_F(Popup_Test, EntriesAreDrawnWhiteAndTheHighlightedOnePink) {
    ZEKT_Win32_Popup<int> popup;
    popup.Add(L"Options", 1);
    popup.Add(L"Config", 2);

    Picture shown;
    RECT first = {}, second = {};
    Run(popup, {[] { Key(VK_DOWN); }, [] {},
                [&] {
                    HWND menu = Menu_Window();
                    shown = Screen_Of(menu);
                    RECT window;
                    GetWindowRect(menu, &window);
                    GetMenuItemRect(nullptr, popup.Menu(), 0, &first);
                    GetMenuItemRect(nullptr, popup.Menu(), 1, &second);
                    OffsetRect(&first, -window.left, -window.top);
                    OffsetRect(&second, -window.left, -window.top);
                    Key(VK_ESCAPE);
                }});
    ASSERT_GT(shown.width, 0);
    const auto pink = [](COLORREF c) { return c == RGB(255, 204, 204); };
    const auto white = [](COLORREF c) { return c == RGB(255, 255, 255); };
    const int first_area = (first.right - first.left) * (first.bottom - first.top);
    EXPECT_GT(shown.Count(first, pink), first_area / 2);
    EXPECT_GT(shown.Count(second, white), first_area / 2);
    EXPECT_EQ(shown.Count(second, pink), 0);
    EXPECT_GT(shown.Count(first, Is_Dark), 10);
    EXPECT_GT(shown.Count(second, Is_Dark), 10);
}

TEST_F(Popup_Test, EntryWithAPictureMakesRoomForItAndItsText) {
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 16, 20);
    ReleaseDC(nullptr, screen);
    ZEKT_Win32_Popup<int> popup;
    popup.Add(L"Copy", 1, picture);
    popup.Add(L"Copy", 2);
    popup.Add(L"", 3, picture);

    const SIZE with = popup.Measure_Entry(0);
    const SIZE without = popup.Measure_Entry(1);
    EXPECT_EQ(with.cx, without.cx + 16 + 2);
    EXPECT_EQ(with.cy, std::max(22L, without.cy));
    EXPECT_EQ(popup.Measure_Entry(2).cx, 18);
    EXPECT_EQ(popup.Measure_Entry(2).cy, 22);
    DeleteObject(picture);
}
