#include "app/modal_loop.h"

#include <optional>

#include "app/child_lock.h"

namespace Korvane_Exe {

Modal_Loop::Modal_Loop(HWND popup, HWND parent) : popup(popup), parent(parent) {
    handlers.Add_Handler(popup, WM_CLOSE, this, &Modal_Loop::On_End);
    handlers.Add_Handler(popup, WM_DESTROY, this, &Modal_Loop::On_End);
}

// Not handled: the default handling still closes the window.
ZEKT_Box<LRESULT> Modal_Loop::On_End(HWND, UINT, WPARAM, LPARAM) {
    ended = true;
    return ZEKT_Win32_Not_Handled();
}

void Modal_Loop::Run() {
    ended = false;
    std::optional<Child_Lock> lock;
    if (parent) lock.emplace(parent);
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
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    lock.reset();
    if (parent) SetActiveWindow(GetAncestor(parent, GA_ROOT));
}

}  // namespace Korvane_Exe
