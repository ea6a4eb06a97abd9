// Every message box of the toolkit goes through one replaceable function, so
// that tests can capture a box instead of blocking on it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

using ZEKT_Win32_Box_Function =
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)>;

// MessageBoxW unless replaced.
extern ZEKT_Win32_Box_Function ZEKT_Win32_Show_Box;

int ZEKT_Win32_Message_Box(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
