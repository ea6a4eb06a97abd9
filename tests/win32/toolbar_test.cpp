#include "win32/toolbar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win32/toolkit_test.h"

namespace {

struct Actions {
    std::vector<std::wstring> done;
    void Select() { done.push_back(L"*"); }
    void Id() { done.push_back(L"ID"); }
    void Read() { done.push_back(L"Read"); }
    void Find() { done.push_back(L"Find"); }
};

RECT Placed(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

using Tool_Bar_Test = Toolkit_Test;

TEST_F(Tool_Bar_Test, ButtonsAreLaidLeftToRightAndFireTheirOwnEvents) {
    ZEKT_Win32_Text_Style style(RGB(255, 0, 128), RGB(128, 0, 255), RGB(255, 217, 236));
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 20, 17);
    ReleaseDC(nullptr, screen);
    Actions actions;
    using Event = ZEKT_Event_Object<Actions>;
    {
        ZEKT_Win32_ToolBar bar(style, RGB(254, 215, 175));
        bar.Create(Host(), 0, 60, 375,
                   {{L"*", nullptr, Event(&actions, &Actions::Select)},
                    {L"ID", nullptr, Event(&actions, &Actions::Id)},
                    {L"Read", nullptr, Event(&actions, &Actions::Read)},
                    {L"", picture, Event(&actions, &Actions::Find)}});
        ASSERT_EQ(bar.Count(), 4u);

        RECT strip = Placed(bar.Window());
        EXPECT_EQ(strip.left, 0);
        EXPECT_EQ(strip.top, 60);
        EXPECT_EQ(strip.right, 375);
        EXPECT_EQ(strip.bottom - strip.top, 17 + 2 * ZEKT_Win32_ToolBar::Margin);

        int previous_right = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            RECT button = Placed(bar.Button(i).Window());
            EXPECT_GT(button.left, previous_right - 1) << i;
            previous_right = button.right;
            EXPECT_EQ(button.right - button.left, i < 3 ? 45 : 20) << i;
            EXPECT_EQ(button.bottom - button.top, i < 3 ? 13 : 17) << i;
        }

        HWND read = bar.Button(2).Window();
        SendMessageW(read, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageW(read, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        HWND find = bar.Button(3).Window();
        SendMessageW(find, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageW(find, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        EXPECT_EQ(actions.done, (std::vector<std::wstring>{L"Read", L"Find"}));

        // The strip's own background around the buttons.
        const Picture shown = Print_Window(bar.Window());
        EXPECT_EQ(shown.At(374, 1), RGB(254, 215, 175));
    }
    DeleteObject(picture);
}

TEST_F(Tool_Bar_Test, ImageButtonWithoutAnImageIsRefused) {
    try {
        ZEKT_Win32_Button_Image button(nullptr);
        FAIL() << "accepted a missing image";
    } catch (const ZEKT_Exception_Bug& error) {
        EXPECT_EQ(error.message, L"ZEKT_Win32_Button_Image::Create don't have images");
    }
}
