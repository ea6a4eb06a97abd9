#include "framework/errors.h"
#include "win32/logs.h"
#include "win32/window.h"

void ZEKT_Explorer_Log::Print_Text(const std::wstring& text) {
    pending += text;
    std::size_t end;
    while ((end = pending.find(L'\n')) != std::wstring::npos) {
        std::wstring line = pending.substr(0, end);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        line += L"\r\n";
        pending.erase(0, end + 1);
        // Start -2 and end -1 clamp to the end of the text: the caret goes
        // there whatever the user had selected.
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-2), -1);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

ZEKT_Explorer_Log_Window::ZEKT_Explorer_Log_Window(const std::wstring& title, int x, int y, int width, int height) {
    handlers.Add_Handler(nullptr, WM_SIZE, this, &ZEKT_Explorer_Log_Window::On_Size);
    handlers.Add_Handler(nullptr, WM_NCDESTROY, this, &ZEKT_Explorer_Log_Window::On_Destroy);
    try {
        window = Create_Toolkit_Window(0, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height, nullptr);
    } catch (...) {
        handlers.Remove_All();
        throw;
    }
    RECT client;
    GetClientRect(window, &client);
    edit = CreateWindowExW(0, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                               ES_AUTOHSCROLL | ES_READONLY,
                           0, 0, client.right, client.bottom, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!edit) {
        DestroyWindow(window);
        handlers.Remove_All();
        throw ZEKT_Exception(L"Can't create log window - " + Last_Error_Text());
    }
    // The default limit of an edit control would silently stop a long log.
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), FALSE);
}

ZEKT_Explorer_Log_Window::~ZEKT_Explorer_Log_Window() {
    if (window) DestroyWindow(window);
}

// Closed by the user: later lines have nowhere to go and are dropped.
ZEKT_Box<LRESULT> ZEKT_Explorer_Log_Window::On_Destroy(HWND, UINT, WPARAM, LPARAM) {
    window = nullptr;
    edit = nullptr;
    handlers.Remove_All();
    return ZEKT_Win32_Not_Handled();
}

ZEKT_Box<LRESULT> ZEKT_Explorer_Log_Window::On_Size(HWND, UINT, WPARAM, LPARAM lparam) {
    if (edit) MoveWindow(edit, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
    return ZEKT_Win32_Handled(0);
}
