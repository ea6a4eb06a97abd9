#include "win32/mixins.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win32/toolkit_test.h"

namespace {

struct Painter : ZEKT_Win32_Draw {
    std::vector<std::pair<int, int>> sizes;
    HDC dc = nullptr;
    void Draw(HDC drawn, int width, int height) override {
        dc = drawn;
        sizes.push_back({width, height});
    }
};

struct Size_Watcher {
    ZEKT_Win32_Handlers handlers;
    int sizes = 0;
    ZEKT_Box<LRESULT> On_Size(HWND, UINT, WPARAM, LPARAM) {
        ++sizes;
        return ZEKT_Win32_Handled(0);
    }
};

struct Clicker : ZEKT_Win32_Mouse_Left_Click {
    std::vector<POINT> clicks;
    void Click(int x, int y) override { clicks.push_back({x, y}); }
};

// Every other mixin, recording what it was told.
struct Everything : ZEKT_Win32_Mouse_Right_Click,
                    ZEKT_Win32_Mouse_Left_Double,
                    ZEKT_Win32_Mouse_Hover,
                    ZEKT_Win32_KeyDown,
                    ZEKT_Win32_KeyUp,
                    ZEKT_Win32_KeyChar {
    std::vector<std::wstring> events;
    void Right_Click(int x, int y) override { events.push_back(L"right " + Pair(x, y)); }
    void Left_Double(int x, int y) override { events.push_back(L"double " + Pair(x, y)); }
    void Hover(bool inside) override { events.push_back(inside ? L"enter" : L"leave"); }
    void Key_Down(UINT key) override { events.push_back(L"down " + std::to_wstring(key)); }
    void Key_Up(UINT key) override { events.push_back(L"up " + std::to_wstring(key)); }
    void Key_Char(wchar_t character) override { events.push_back(std::wstring(L"char ") + character); }
    static std::wstring Pair(int x, int y) { return std::to_wstring(x) + L"," + std::to_wstring(y); }
};

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

using Mixin_Test = Toolkit_Test;

TEST_F(Mixin_Test, DrawPaintsOnEraseBackgroundAndResizeInvalidates) {
    Painter painter;
    painter.Attach_Draw(nullptr);
    HWND window = Make_Child(100, 100, 200, 150);
    EXPECT_EQ(painter.Draw_Window(), window);
    Size_Watcher watcher;
    watcher.handlers.Add_Handler(window, WM_SIZE, &watcher, &Size_Watcher::On_Size);

    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    painter.sizes.clear();
    EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(painter.dc, dc);
    ASSERT_EQ(painter.sizes.size(), 1u);
    EXPECT_EQ(painter.sizes[0], std::make_pair(static_cast<int>(client.right), static_cast<int>(client.bottom)));
    ReleaseDC(window, dc);

    // The resize invalidates for erasing and still reaches the next handler.
    ValidateRect(window, nullptr);
    SetWindowPos(window, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_GE(watcher.sizes, 1);

    UpdateWindow(window);
    ASSERT_FALSE(painter.sizes.empty());
    GetClientRect(window, &client);
    EXPECT_EQ(painter.sizes.back(), std::make_pair(static_cast<int>(client.right), static_cast<int>(client.bottom)));
}

TEST_F(Mixin_Test, ClickNeedsPressAndReleaseOverTheWindow) {
    Clicker clicker;
    clicker.Attach_Left_Click(nullptr);
    HWND control = Make_Child(20, 20, 60, 30);

    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 6));
    EXPECT_EQ(GetCapture(), control);
    SendMessageW(control, WM_LBUTTONUP, 0, Point(10, 12));
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_EQ(clicker.clicks.size(), 1u);
    EXPECT_EQ(clicker.clicks[0].x, 10);
    EXPECT_EQ(clicker.clicks[0].y, 12);

    // Released outside the control (over the host): the click is cancelled.
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 6));
    SendMessageW(control, WM_LBUTTONUP, 0, Point(100, 12));
    EXPECT_EQ(GetCapture(), nullptr);
    // Released far off the screen window entirely.
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 6));
    SendMessageW(control, WM_LBUTTONUP, 0, Point(-50, -60));
    // A release without a press before it.
    SendMessageW(control, WM_LBUTTONUP, 0, Point(10, 12));
    EXPECT_EQ(clicker.clicks.size(), 1u);
}

TEST_F(Mixin_Test, MouseAndKeyMixinsTurnMessagesIntoCallbacks) {
    Everything everything;
    everything.Attach_Right_Click(nullptr);
    everything.Attach_Left_Double(nullptr);
    everything.Attach_Hover(nullptr);
    everything.Attach_KeyDown(nullptr);
    everything.Attach_KeyUp(nullptr);
    everything.Attach_KeyChar(nullptr);
    HWND window = Make_Window();

    SendMessageW(window, WM_RBUTTONUP, 0, Point(3, 4));
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(7, 8));
    SendMessageW(window, WM_MOUSEMOVE, 0, Point(1, 1));
    SendMessageW(window, WM_MOUSEMOVE, 0, Point(2, 2));
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    SendMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(window, WM_KEYUP, VK_RETURN, 0);
    SendMessageW(window, WM_CHAR, L'q', 0);

    EXPECT_EQ(everything.events, (std::vector<std::wstring>{L"right 3,4", L"double 7,8", L"enter", L"leave",
                                                            L"down 13", L"up 13", L"char q"}));
}
