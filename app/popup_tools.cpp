#include "app/popup_tools.h"

#include <vector>

#include "win32/window.h"

namespace Korvane_Exe {

void Centre_Popup(HWND popup, HWND parent, int client_width, int client_height) {
    RECT frame = {0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(popup, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(popup, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT over;
    GetWindowRect(parent ? GetAncestor(parent, GA_ROOT) : GetDesktopWindow(), &over);
    const int x = over.left + (over.right - over.left - width) / 2;
    const int y = over.top + (over.bottom - over.top - height) / 2;
    SetWindowPos(popup, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Keep_In_Work_Area(popup, parent);
}

std::wstring Window_Text(HWND window) {
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

}  // namespace Korvane_Exe
