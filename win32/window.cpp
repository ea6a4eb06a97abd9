#include "win32/window.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

#include "framework/errors.h"
#include "framework/format.h"
#include "win32/handlers.h"
#include "win32/message_box.h"
#include "win32/logs.h"
#include "win32/message_loop.h"

namespace {

std::wstring class_name;

// A handler that throws must not unwind through the system's frames; the
// failure is shown the way every user action shows its failures.
void Report_Escaped() {
    try {
        ZEKT_Win32_Message_Log log;
        log.Report_Exception();
    } catch (const ZEKT_Exception_Cancel&) {
        // A stop request that nobody caught ends here: there is nothing left to stop.
    } catch (...) {
        // The message box itself failed; nothing better can be done inside a window procedure.
    }
}

ZEKT_Box<LRESULT> Dispatch_Safely(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCDESTROY) ZEKT_Win32_Untrack_Window(window);
    try {
        return ZEKT_Win32_Dispatch(window, message, wparam, lparam);
    } catch (...) {
        Report_Escaped();
        return {};
    }
}

LRESULT CALLBACK Shared_Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    ZEKT_Box<LRESULT> result = Dispatch_Safely(window, message, wparam, lparam);
    if (result.Is_Full()) return result.Get();
    return DefWindowProcW(window, message, wparam, lparam);
}

constexpr UINT_PTR Hook_Id = 0x5A454B54;

LRESULT CALLBACK Hook_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    ZEKT_Box<LRESULT> result = Dispatch_Safely(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        // The control frees its own data here, whatever the handlers said.
        const LRESULT own = DefSubclassProc(window, message, wparam, lparam);
        RemoveWindowSubclass(window, Hook_Procedure, Hook_Id);
        return own;
    }
    if (result.Is_Full()) return result.Get();
    return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

const std::wstring& Class_Name() { return class_name; }

void Register_Window_Class(HINSTANCE instance) {
    ZEKT_Win32_Reset_Dispatch();
    InitCommonControls();
    CoInitialize(nullptr);

    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t stamp = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    class_name = Format(L"ZEKT_Win32_Window%I64x", stamp);

    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = Shared_Window_Procedure;
    window_class.hIcon = LoadIconA(instance, "MAINICON");
    window_class.hIconSm = LoadIconA(instance, "MAINICON");
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = class_name.c_str();
    if (!RegisterClassExW(&window_class)) throw ZEKT_Exception(L"Cannot register class");
}

void Hook_Window(HWND window) { SetWindowSubclass(window, Hook_Procedure, Hook_Id, 0); }

HWND Create_Toolkit_Window(DWORD ex_style, const std::wstring& title, DWORD style, int x, int y, int width,
                           int height, HWND parent) {
    HWND window = CreateWindowExW(ex_style, Class_Name().c_str(), title.c_str(), style, x, y, width, height, parent,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) throw ZEKT_Exception(L"Can't create window - " + Last_Error_Text());
    return window;
}

void Keep_In_Work_Area(HWND window, HWND reference) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(reference ? reference : window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    RECT placed;
    GetWindowRect(window, &placed);
    // Right and bottom edges first, so that the left and top edges win.
    const LONG x = std::max(work.left, std::min(placed.left, work.right - (placed.right - placed.left)));
    const LONG y = std::max(work.top, std::min(placed.top, work.bottom - (placed.bottom - placed.top)));
    if (x != placed.left || y != placed.top)
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
