// Fixture of the toolkit tests: the class registered once per process,
// message boxes captured instead of shown, windows destroyed after each test,
// and no handler left behind.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/handlers.h"
#include "win32/message_box.h"
#include "win32/message_loop.h"
#include "win32/window.h"

struct Shown_Box {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

class Toolkit_Test : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            Register_Window_Class(GetModuleHandleW(nullptr));
            registered = true;
        }
        Host();
        saved_box = ZEKT_Win32_Show_Box;
        ZEKT_Win32_Show_Box = [this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
            boxes.push_back({owner, text, caption, type});
            return IDOK;
        };
    }

    void TearDown() override {
        for (HWND window : windows)
            if (IsWindow(window)) DestroyWindow(window);
        Pump_Messages();
        const std::size_t before = boxes.size();
        Check_Handlers();
        EXPECT_EQ(boxes.size(), before) << "handlers left registered: " << Active_Handler_Count();
        EXPECT_EQ(ZEKT_Win32_Depth(), 0u);
        ZEKT_Win32_Show_Box = saved_box;
    }

    // A window of the toolkit's class, destroyed after the test. Hidden by
    // default: without a window manager, Wine waits two seconds for every
    // visible top-level window that goes.
    HWND Make_Window(int x = 100, int y = 100, int width = 200, int height = 150, DWORD style = WS_POPUP,
                     HWND parent = nullptr) {
        HWND window = Create_Toolkit_Window(0, L"test", style, x, y, width, height, parent);
        windows.push_back(window);
        return window;
    }

    // A visible child of the host window.
    HWND Make_Child(int x, int y, int width, int height) {
        return Make_Window(x, y, width, height, WS_CHILD | WS_VISIBLE, Host());
    }

    // One visible top-level window for the whole run, so that visible
    // windows can be children of it and cost nothing to destroy.
    static HWND Host() {
        static HWND host = Create_Toolkit_Window(0, L"host", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr);
        return host;
    }

    // A window of another class.
    HWND Make_Static(HWND parent = nullptr) {
        HWND window = CreateWindowExW(0, L"STATIC", L"", parent ? WS_CHILD | WS_VISIBLE : WS_POPUP, 0, 0, 50, 20,
                                      parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        windows.push_back(window);
        return window;
    }

    std::vector<Shown_Box> boxes;
    std::vector<HWND> windows;

private:
    ZEKT_Win32_Box_Function saved_box;
};

// What a window paints when asked to print its client area into a bitmap.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // rows from the top

    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    // Pixels inside the rectangle for which `test` holds.
    template <typename Test>
    int Count(const RECT& area, Test test) const {
        int count = 0;
        for (int y = area.top; y < area.bottom && y < height; ++y)
            for (int x = area.left; x < area.right && x < width; ++x)
                if (test(At(x, y))) ++count;
        return count;
    }
};
Picture Print_Client(HWND window);
// The same for a window of the toolkit, which draws only when erasing.
Picture Print_Window(HWND window);
// The screen under a window, as the user sees it.
Picture Screen_Of(HWND window);

// Colour classes for pixel checks; anti-aliased text stays in its class.
inline bool Is_Red(COLORREF c) { return GetRValue(c) >= 200 && GetGValue(c) <= 80 && GetBValue(c) <= 80; }
inline bool Is_Dark(COLORREF c) { return GetRValue(c) <= 80 && GetGValue(c) <= 80 && GetBValue(c) <= 80; }
