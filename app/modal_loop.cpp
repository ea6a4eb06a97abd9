#include "app/modal_loop.h"

#include <optional>

#include "app/child_lock.h"
#include "win32/button.h"
#include "win32/message_loop.h"

namespace Korvane_Exe {

Modal_Loop::Modal_Loop(HWND popup, HWND parent, ZEKT_Event enter)
    : popup(popup), parent(parent), enter(std::move(enter)) {
    handlers.Add_Handler(popup, WM_CLOSE, this, &Modal_Loop::On_End);
    handlers.Add_Handler(popup, WM_DESTROY, this, &Modal_Loop::On_End);
    handlers.Add_Handler(popup, WM_COMMAND, this, &Modal_Loop::On_Command);
    handlers.Add_Handler(popup, WM_NEXTDLGCTL, this, &Modal_Loop::On_Next_Field);
}

// Not handled: the default handling still closes the window.
ZEKT_Box<LRESULT> Modal_Loop::On_End(HWND, UINT, WPARAM, LPARAM) {
    ended = true;
    return ZEKT_Win32_Not_Handled();
}

// The dialog keys arrive as the commands IDOK (Enter) and IDCANCEL; the
// popup's own fields have the identifier 0 and pass by.
ZEKT_Box<LRESULT> Modal_Loop::On_Command(HWND, UINT, WPARAM wparam, LPARAM) {
    if (HIWORD(wparam) != BN_CLICKED) return ZEKT_Win32_Not_Handled();
    switch (LOWORD(wparam)) {
        case IDOK:
            // Enter presses the focused button, else the popup's own default.
            if (HWND focus = GetFocus(); IsChild(popup, focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
                SendMessageW(focus, ZEKT_Win32_Press, 0, 0);
            else
                enter.Fire();
            return ZEKT_Win32_Handled(0);
        case IDCANCEL:
            PostMessageW(popup, WM_CLOSE, 0, 0);
            return ZEKT_Win32_Handled(0);
        default:
            return ZEKT_Win32_Not_Handled();
    }
}

// Tab and Shift+Tab, asked for by the dialog key handling or by a multi-line
// field: the next (or previous) tab stop takes the focus, a text field with
// its whole text selected, as in any dialog.
ZEKT_Box<LRESULT> Modal_Loop::On_Next_Field(HWND, UINT, WPARAM wparam, LPARAM lparam) {
    HWND focus = GetFocus();
    if (focus != popup && !IsChild(popup, focus)) focus = nullptr;
    HWND next = LOWORD(lparam) ? reinterpret_cast<HWND>(wparam) : GetNextDlgTabItem(popup, focus, wparam != 0);
    if (!next) return ZEKT_Win32_Handled(0);
    SetFocus(next);
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
    return ZEKT_Win32_Handled(0);
}

void Modal_Loop::Run() {
    ended = false;
    std::optional<Child_Lock> lock;
    if (parent) lock.emplace(parent);
    // Modal: the parent takes no input and cannot come above its popup; the
    // lock enables it again.
    if (parent) EnableWindow(parent, FALSE);
    EnableWindow(popup, TRUE);
    MSG message = {};
    while (!ended && IsWindow(popup)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the outer loop must see the quit too.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) break;
        // Escape anywhere in the popup closes it, as the close box would.
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
            (message.hwnd == popup || IsChild(popup, message.hwnd))) {
            PostMessageW(popup, WM_CLOSE, 0, 0);
            continue;
        }
        Track_Modifiers(message);
        const bool key = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        if (key && (message.hwnd == popup || IsChild(popup, message.hwnd))) {
            if (message.message == WM_KEYDOWN && keys && keys(message.wParam)) continue;
            // Shift+F10 and the menu key: the context menu of the focused control.
            if (message.wParam == VK_APPS || (message.wParam == VK_F10 && Key_Held(VK_SHIFT))) {
                SendMessageW(message.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(message.hwnd), -1);
                continue;
            }
        }
        // Tab and Enter the dialog way; everything else is dispatched there too.
        if (IsDialogMessageW(popup, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    lock.reset();
    if (parent) SetActiveWindow(GetAncestor(parent, GA_ROOT));
}

}  // namespace Korvane_Exe
