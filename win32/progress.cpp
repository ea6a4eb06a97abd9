#include "win32/progress.h"

#include "win32/message_loop.h"
#include "win32/window.h"

namespace {

// Layout, in pixels.
constexpr int Width = 360;
constexpr int Margin = 5;
constexpr int Line = 14;
constexpr int Bar_Height = 12;
constexpr int Button_Width = 45;
constexpr int Button_Height = 13;

}  // namespace

void ZEKT_Explorer_Progress_Stop::Click(int, int) { progress.Request_Stop(); }

// Pressed again inside the pause loop, the same call ends the pause.
void ZEKT_Explorer_Progress_Pause::Click(int, int) { progress.Pause(); }

ZEKT_Explorer_Progress_Bar::~ZEKT_Explorer_Progress_Bar() {
    draw_handlers.Remove_All();
    if (window && IsWindow(window)) DestroyWindow(window);
}

void ZEKT_Explorer_Progress_Bar::Create(HWND parent, int x, int y, int width, int height) {
    Attach_Draw(nullptr);
    window = Create_Toolkit_Window(0, L"", WS_CHILD, x, y, width, height, parent);
}

void ZEKT_Explorer_Progress_Bar::Set(std::uint32_t per_mille) {
    position = per_mille > 1000 ? 1000 : per_mille;
    InvalidateRect(window, nullptr, TRUE);
}

void ZEKT_Explorer_Progress_Bar::Draw(HDC dc, int width, int height) {
    RECT area = {0, 0, width, height};
    FrameRect(dc, &area, frame.Get());
    InflateRect(&area, -1, -1);
    const int split = area.left + static_cast<int>((area.right - area.left) * static_cast<long long>(position) / 1000);
    RECT left = {area.left, area.top, split, area.bottom};
    RECT right = {split, area.top, area.right, area.bottom};
    FillRect(dc, &left, done.Get());
    FillRect(dc, &right, rest.Get());
}

ZEKT_Explorer_Progress::ZEKT_Explorer_Progress(HWND owner, ZEKT_Tick_Source tick_source)
    : ZEKT_Progress(std::move(tick_source)), owner(owner) {
    Attach_Draw(nullptr);
    handlers.Add_Handler(nullptr, WM_CLOSE, this, &ZEKT_Explorer_Progress::On_Close);
    try {
        window = Create_Toolkit_Window(WS_EX_TOOLWINDOW, L"", WS_POPUP | WS_BORDER, 0, 0, Width, 100, owner);
        main_bar.Create(window, Margin, 0, Width - 2 * Margin, Bar_Height);
        bar.Create(window, Margin, 0, Width - 2 * Margin, Bar_Height);
        pause.Create(window, 0, 0, Button_Width, Button_Height);
        stop.Create(window, 0, 0, Button_Width, Button_Height);
    } catch (...) {
        draw_handlers.Remove_All();
        handlers.Remove_All();
        if (window) DestroyWindow(window);
        throw;
    }
    Layout();
}

ZEKT_Explorer_Progress::~ZEKT_Explorer_Progress() {
    draw_handlers.Remove_All();
    handlers.Remove_All();
    if (window && IsWindow(window)) DestroyWindow(window);
}

// Lines from the top: title (once used), status, overall bar (once used),
// current bar, buttons at the right.
void ZEKT_Explorer_Progress::Layout() {
    int y = Margin;
    if (title_used) y += Line;
    y += Line;  // status
    if (main_used) {
        SetWindowPos(main_bar.Window(), nullptr, Margin, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(main_bar.Window(), SW_SHOWNA);
        y += Bar_Height + Margin;
    }
    SetWindowPos(bar.Window(), nullptr, Margin, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(bar.Window(), SW_SHOWNA);
    y += Bar_Height + Margin;
    SetWindowPos(stop.Window(), nullptr, Width - Margin - Button_Width - 2, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(pause.Window(), nullptr, Width - 2 * (Margin + Button_Width) - 2, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    y += Button_Height + Margin;

    // Centred over the owner (the screen without one), inside the work area.
    RECT frame = {0, 0, Width, y};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT over = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &over);
    const int x = over.left + (over.right - over.left - width) / 2;
    const int top = over.top + (over.bottom - over.top - height) / 2;
    SetWindowPos(window, nullptr, x, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Keep_In_Work_Area(window, owner);
    InvalidateRect(window, nullptr, TRUE);
}

void ZEKT_Explorer_Progress::Draw(HDC dc, int width, int height) {
    RECT area = {0, 0, width, height};
    FillRect(dc, &area, background.Get());
    ZEKT_Win32_Select selected(dc, font.Get());
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    int y = Margin;
    if (title_used) {
        RECT line = {Margin, y, width - Margin, y + Line};
        DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &line,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        y += Line;
    }
    RECT line = {Margin, y, width - Margin, y + Line};
    DrawTextW(dc, status.c_str(), static_cast<int>(status.size()), &line,
              DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS | DT_NOPREFIX);
    SetBkMode(dc, old_mode);
}

void ZEKT_Explorer_Progress::Check() {
    if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNOACTIVATE);
    Pump_Messages();
    if (stop_requested) {
        stop_requested = false;
        throw ZEKT_Exception_Cancel{};
    }
}

void ZEKT_Explorer_Progress::Set_Title(const std::wstring& text) {
    title = text;
    if (!title_used) {
        title_used = true;
        Layout();
    }
    InvalidateRect(window, nullptr, TRUE);
}

void ZEKT_Explorer_Progress::Set_Status(const std::wstring& text) {
    status = text;
    InvalidateRect(window, nullptr, TRUE);
}

void ZEKT_Explorer_Progress::Set_Main_Position(std::uint32_t per_mille) {
    if (!main_used) {
        main_used = true;
        Layout();
    }
    main_bar.Set(per_mille);
    Check();
}

void ZEKT_Explorer_Progress::Set_Position(std::uint32_t per_mille) {
    bar.Set(per_mille);
    Check();
}

void ZEKT_Explorer_Progress::Pause() {
    if (paused) {
        paused = false;
        return;
    }
    paused = true;
    for (;;) {
        // Pump before waiting: WaitMessage wakes only for messages newer
        // than the last look at the queue.
        Pump_Messages();
        // The program is ending: stand still no longer.
        if (Quit_Pending()) Request_Stop();
        if (!paused || stop_requested) break;
        WaitMessage();
    }
    paused = false;
}

// Closing the window asks the operation to stop; the window stays until it does.
ZEKT_Box<LRESULT> ZEKT_Explorer_Progress::On_Close(HWND, UINT, WPARAM, LPARAM) {
    Request_Stop();
    return ZEKT_Win32_Handled(0);
}
