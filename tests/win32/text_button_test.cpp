#include "win32/text_button.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>

#include "tests/win32/toolkit_test.h"

namespace {

struct Target {
    int fired = 0;
    void Fire() { ++fired; }
};

// The application's text button colours.
const COLORREF Frame = RGB(255, 0, 128);
const COLORREF Text = RGB(128, 0, 255);
const COLORREF Fill = RGB(255, 217, 236);

}  // namespace

using Text_Button_Test = Toolkit_Test;

TEST_F(Text_Button_Test, DrawsFillFrameAndCentredCaption) {
    ZEKT_Win32_Text_Style style(Frame, Text, Fill);
    ZEKT_Win32_Button_Text button(style, L"Read");
    button.Create(Host(), 10, 10, 45, 13);

    const Picture picture = Print_Window(button.Window());
    ASSERT_EQ(picture.width, 45);
    ASSERT_EQ(picture.height, 13);
    for (int x = 0; x < 45; ++x) {
        EXPECT_EQ(picture.At(x, 0), Frame) << x;
        EXPECT_EQ(picture.At(x, 12), Frame) << x;
    }
    EXPECT_EQ(picture.At(0, 6), Frame);
    EXPECT_EQ(picture.At(44, 6), Frame);
    EXPECT_EQ(picture.At(1, 1), Fill);

    // The caption's pixels: neither fill nor frame, bluish purple, centred.
    int left = 45, right = -1, top = 13, bottom = -1, purple = 0;
    for (int y = 1; y < 12; ++y)
        for (int x = 1; x < 44; ++x) {
            const COLORREF c = picture.At(x, y);
            if (c == Fill) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            if (GetBValue(c) > GetGValue(c) + 60 && GetRValue(c) < 200) ++purple;
        }
    ASSERT_GE(right, left) << "no caption drawn";
    EXPECT_GT(purple, 10);
    EXPECT_LE(std::abs(left - (44 - right)), 3) << left << " " << right;
    EXPECT_LE(std::abs(top - (12 - bottom)), 3) << top << " " << bottom;
}

TEST_F(Text_Button_Test, ClickFiresTheEventAndAReleaseOutsideDoesNot) {
    ZEKT_Win32_Text_Style style(Frame, Text, Fill);
    Target target;
    ZEKT_Win32_Button_Text button(style, L"ID", ZEKT_Event_Object<Target>(&target, &Target::Fire));
    button.Create(Host(), 10, 10, 45, 13);

    SendMessageW(button.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button.Window(), WM_LBUTTONUP, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(target.fired, 1);
    SendMessageW(button.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button.Window(), WM_LBUTTONUP, 0, MAKELPARAM(60, 5));
    EXPECT_EQ(target.fired, 1);
}

TEST_F(Text_Button_Test, ButtonGoneWithItsParentLeavesNoHandlers) {
    ZEKT_Win32_Text_Style style(Frame, Text, Fill);
    ZEKT_Win32_Button_Text button(style, L"Conf");
    HWND parent = Make_Child(0, 0, 100, 50);
    button.Create(parent, 0, 0, 45, 13);
    DestroyWindow(parent);
    EXPECT_EQ(button.Window(), nullptr);
}

TEST(Event_Test, CopiesFireTheSameTarget) {
    Target target;
    ZEKT_Event event = ZEKT_Event_Object<Target>(&target, &Target::Fire);
    ZEKT_Event copy = event;
    event.Fire();
    copy.Fire();
    EXPECT_EQ(target.fired, 2);
    ZEKT_Event empty;
    EXPECT_FALSE(empty.Is_Set());
    empty.Fire();

    std::unique_ptr<ZEKT_Event_Base> clone(ZEKT_Event_Object<Target>(&target, &Target::Fire).Clone());
    clone->Fire();
    EXPECT_EQ(target.fired, 3);
}

namespace {

struct First {
    virtual ~First() = default;
    int first = 0;
};
struct Second {
    virtual ~Second() = default;
    int second = 0;
};
struct Whole : First, Second {
    int fired = 0;
    void Fire() { fired = first + second + 1; }
};

}  // namespace

TEST(Event_Test, AdjustedFormReachesTheWholeObjectFromASecondaryBase) {
    Whole whole;
    Second* part = &whole;
    const std::ptrdiff_t adjustment = reinterpret_cast<char*>(&whole) - reinterpret_cast<char*>(part);
    ZEKT_Event_Object<Whole> event(part, adjustment, &Whole::Fire);
    ZEKT_Event copy = event;
    copy.Fire();
    EXPECT_EQ(whole.fired, 1);
}
