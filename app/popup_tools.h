#pragma once
// Small window chores shared by the popups.
#include <windows.h>

#include <string>

namespace Korvane_Exe {

// Sizes a popup to the given client area and centres it over the top-level
// window of `parent` (the desktop without one), inside the work area of the
// parent's monitor.
void Centre_Popup(HWND popup, HWND parent, int client_width, int client_height);

// The whole text of a window or control.
std::wstring Window_Text(HWND window);

}  // namespace Korvane_Exe
