#include "win32/message_loop.h"

#include <algorithm>

#include "win32/handlers.h"
#include "win32/message_box.h"

namespace {

std::vector<HWND> tracked;
bool quit_pending = false;
ZEKT_Win32_Message_Filter message_filter = nullptr;
void* filter_context = nullptr;


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

static bool Filtered(MSG& message) {
    Track_Modifiers(message);
    return message_filter && message_filter(filter_context, message);
}

void Set_Message_Filter(ZEKT_Win32_Message_Filter filter, void* context) {
    message_filter = filter;
    filter_context = context;
}

namespace {
bool held[3] = {};  // Shift, Control, Alt
int Modifier_Slot(WPARAM key) {
    switch (key) {
        case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: return 0;
        case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: return 1;
        case VK_MENU: case VK_LMENU: case VK_RMENU: return 2;
        default: return -1;
    }
}
}  // namespace

void Track_Modifiers(const MSG& message) {
    const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const bool up = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
    if (!down && !up) return;
    if (const int slot = Modifier_Slot(message.wParam); slot >= 0) held[slot] = down;
}

bool Key_Held(int virtual_key) {
    const int slot = Modifier_Slot(static_cast<WPARAM>(virtual_key));
    return GetKeyState(virtual_key) < 0 || (slot >= 0 && held[slot]);
}

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
        if (Filtered(message)) continue;
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
        if (Filtered(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

bool Quit_Pending() { return quit_pending; }

void Check_Handlers() {
    if (Active_Handler_Count() > 0) ZEKT_Win32_Message_Box(nullptr, L"???", L"Active handlers", MB_OK);
}
