#include "win32/message_loop.h"

#include <algorithm>

#include "win32/handlers.h"
#include "win32/message_box.h"

namespace {

std::vector<HWND> tracked;
bool quit_pending = false;

// Drops its window from the tracked list when the window goes, and itself
// with it.
class Track_Handler : public ZEKT_Win32_Handler {
public:
    explicit Track_Handler(HWND window) : ZEKT_Win32_Handler(window, WM_NCDESTROY) {}
    ZEKT_Box<LRESULT> Handle(HWND window, UINT, WPARAM, LPARAM) override;
};

ZEKT_Win32_Handlers& Track_Handlers() {
    static ZEKT_Win32_Handlers handlers;
    return handlers;
}

ZEKT_Box<LRESULT> Track_Handler::Handle(HWND window, UINT, WPARAM, LPARAM) {
    ZEKT_Win32_Untrack_Window(window);
    Track_Handlers().Remove(this);
    return ZEKT_Win32_Not_Handled();
}

}  // namespace

void Track_Window(HWND window) {
    tracked.push_back(window);
    Track_Handlers().Add(new Track_Handler(window));
}

void ZEKT_Win32_Untrack_Window(HWND window) { std::erase(tracked, window); }

const std::vector<HWND>& Tracked_Windows() { return tracked; }

int Run_Message_Loop() {
    MSG message = {};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) break;
        // -1: the queue itself failed; looping on would spin forever.
        if (got == -1) {
            message.wParam = static_cast<WPARAM>(-1);
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    quit_pending = false;
    while (!tracked.empty()) {
        HWND first = tracked.front();
        // A window of another thread or one already gone cannot be destroyed
        // here; drop it so that the loop ends.
        if (!DestroyWindow(first)) ZEKT_Win32_Untrack_Window(first);
    }
    return static_cast<int>(message.wParam);
}

int Pump_Messages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit_pending = true;
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

bool Quit_Pending() { return quit_pending; }

void Check_Handlers() {
    if (Active_Handler_Count() > 0) ZEKT_Win32_Message_Box(nullptr, L"???", L"Active handlers", MB_OK);
}
