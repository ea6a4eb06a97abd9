#include "win32/window.h"

#include <gtest/gtest.h>

#include <regex>

#include "framework/values.h"

#include "tests/win32/toolkit_test.h"

using Window_Test = Toolkit_Test;

TEST_F(Window_Test, ClassNameCarriesTheRegistrationTimeInLowerCaseHex) {
    EXPECT_TRUE(std::regex_match(Class_Name(), std::wregex(L"ZEKT_Win32_Window[0-9a-f]{1,16}")))
        << To_UTF8(Class_Name());

    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), Class_Name().c_str(), &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    EXPECT_EQ(info.hbrBackground, nullptr);
    EXPECT_EQ(info.hCursor, LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(Window_Test, WindowsOfTheClassGetDoubleClicks) {
    HWND window = Make_Window();
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    EXPECT_EQ(Class_Name(), name);
    EXPECT_TRUE(GetClassLongW(window, GCL_STYLE) & CS_DBLCLKS);
}
