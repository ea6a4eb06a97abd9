// The one window class of the toolkit and its shared window procedure.
#pragma once

#include <windows.h>

#include <string>

// "ZEKT_Win32_Window" and the registration time; fixed by Register_Window_Class.
const std::wstring& Class_Name();

// Registers the class once per process, before the first window: common
// controls, COM, then the class itself. Throws "Cannot register class".
void Register_Window_Class(HINSTANCE instance);

// Routes the messages of a window of another class (a system control)
// through the handler list as well; its own procedure runs for whatever no
// handler takes. Undone when the window is destroyed.
void Hook_Window(HWND window);

// A window of the toolkit's class.
HWND Create_Toolkit_Window(DWORD ex_style, const std::wstring& title, DWORD style, int x, int y, int width,
                           int height, HWND parent);

// Moves a top-level window, keeping its size, as little as needed to lie
// inside the work area (the screen without the task bar) of the monitor that
// holds `reference`, or the window itself without one. A window larger than
// the work area keeps its top left corner inside.
void Keep_In_Work_Area(HWND window, HWND reference);
