#pragma once
// The nested message loop of the modal popups: the parent's controls stay
// disabled while the popup runs, as during a dump, and the keyboard works
// as in a dialog.
#include <windows.h>

#include <functional>

#include "win32/events.h"
#include "win32/handlers.h"

namespace Korvane_Exe {

class Modal_Loop {
public:
    // Closing `popup` (WM_CLOSE, or Escape inside it) ends the loop and lets
    // the window go. Tab and Shift+Tab move between the popup's fields that
    // are tab stops, in creation order; Enter fires `enter`, except in a
    // field that takes Enter itself (a multi-line text).
    Modal_Loop(HWND popup, HWND parent, ZEKT_Event enter = {});
    Modal_Loop(const Modal_Loop&) = delete;
    Modal_Loop& operator=(const Modal_Loop&) = delete;

    // Dispatches messages until End, the popup's close or its destruction;
    // the direct children of the parent are disabled meanwhile.
    void Run();
    void End() { ended = true; }
    // Keys of the popup's own (a letter that answers a question); true
    // when the key was taken.
    std::function<bool(WPARAM key)> keys;

private:
    ZEKT_Box<LRESULT> On_End(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Command(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Next_Field(HWND, UINT, WPARAM, LPARAM);

    HWND popup;
    HWND parent;
    ZEKT_Event enter;
    bool ended = false;
    ZEKT_Win32_Handlers handlers;
};

}  // namespace Korvane_Exe
