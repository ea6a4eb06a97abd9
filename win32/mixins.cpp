#include "win32/mixins.h"

#include <windowsx.h>

#include "win32/gdi.h"

namespace {

int X_Of(LPARAM lparam) { return GET_X_LPARAM(lparam); }
int Y_Of(LPARAM lparam) { return GET_Y_LPARAM(lparam); }

}  // namespace

void ZEKT_Win32_Draw::Attach_Draw(HWND window) {
    draw_window = window;
    if (!window) draw_handlers.Add_Handler(nullptr, WM_NCCREATE, this, &ZEKT_Win32_Draw::On_Create);
    draw_handlers.Add_Handler(window, WM_ERASEBKGND, this, &ZEKT_Win32_Draw::On_Erase);
    draw_handlers.Add_Handler(window, WM_SIZE, this, &ZEKT_Win32_Draw::On_Size);
    draw_handlers.Add_Handler(window, WM_SETFOCUS, this, &ZEKT_Win32_Draw::On_Focus);
    draw_handlers.Add_Handler(window, WM_KILLFOCUS, this, &ZEKT_Win32_Draw::On_Focus);
}

ZEKT_Box<LRESULT> ZEKT_Win32_Draw::On_Focus(HWND window, UINT, WPARAM, LPARAM) {
    if (focus_mark) InvalidateRect(window, nullptr, TRUE);
    return ZEKT_Win32_Not_Handled();
}

ZEKT_Box<LRESULT> ZEKT_Win32_Draw::On_Create(HWND window, UINT, WPARAM, LPARAM) {
    draw_window = window;
    return ZEKT_Win32_Not_Handled();
}

namespace {

// Whether the window or a parent below its top-level window is disabled.
bool Refuses_Input(HWND window) {
    for (; window && (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD); window = GetParent(window))
        if (!IsWindowEnabled(window)) return true;
    return false;
}

}  // namespace

ZEKT_Box<LRESULT> ZEKT_Win32_Draw::On_Erase(HWND window, UINT, WPARAM wparam, LPARAM) {
    RECT client;
    GetClientRect(window, &client);
    const HDC dc = reinterpret_cast<HDC>(wparam);
    Draw(dc, client.right - client.left, client.bottom - client.top);
    if (grey_when_disabled && Refuses_Input(window)) Grey_Out(dc, client);
    // Inside the control's own frame, as Windows marks a focused button.
    if (focus_mark && GetFocus() == window) {
        RECT inside = client;
        InflateRect(&inside, -2, -2);
        DrawFocusRect(dc, &inside);
    }
    return ZEKT_Win32_Handled(1);
}

// Others still see the resize.
ZEKT_Box<LRESULT> ZEKT_Win32_Draw::On_Size(HWND window, UINT, WPARAM, LPARAM) {
    InvalidateRect(window, nullptr, TRUE);
    return ZEKT_Win32_Not_Handled();
}

void ZEKT_Win32_Mouse_Left_Down::Attach_Left_Down(HWND window) {
    left_down_handlers.Add_Handler(window, WM_LBUTTONDOWN, this, &ZEKT_Win32_Mouse_Left_Down::On_Message);
}

ZEKT_Box<LRESULT> ZEKT_Win32_Mouse_Left_Down::On_Message(HWND window, UINT, WPARAM, LPARAM lparam) {
    Left_Down(window, X_Of(lparam), Y_Of(lparam));
    return ZEKT_Win32_Handled(0);
}

void ZEKT_Win32_Mouse_Left_Up::Attach_Left_Up(HWND window) {
    left_up_handlers.Add_Handler(window, WM_LBUTTONUP, this, &ZEKT_Win32_Mouse_Left_Up::On_Message);
}

ZEKT_Box<LRESULT> ZEKT_Win32_Mouse_Left_Up::On_Message(HWND window, UINT, WPARAM, LPARAM lparam) {
    Left_Up(window, X_Of(lparam), Y_Of(lparam));
    return ZEKT_Win32_Handled(0);
}

void ZEKT_Win32_Mouse_Left_Click::Attach_Left_Click(HWND window) {
    Attach_Left_Down(window);
    Attach_Left_Up(window);
}

void ZEKT_Win32_Mouse_Left_Click::Left_Down(HWND window, int, int) { SetCapture(window); }

void ZEKT_Win32_Mouse_Left_Click::Left_Up(HWND window, int x, int y) {
    if (GetCapture() != window) return;
    ReleaseCapture();
    POINT point = {x, y};
    ClientToScreen(window, &point);
    if (WindowFromPoint(point) == window) Click(x, y);
}

void ZEKT_Win32_Mouse_Right_Click::Attach_Right_Click(HWND window) {
    right_click_handlers.Add_Handler(window, WM_RBUTTONUP, this, &ZEKT_Win32_Mouse_Right_Click::On_Message);
}

ZEKT_Box<LRESULT> ZEKT_Win32_Mouse_Right_Click::On_Message(HWND, UINT, WPARAM, LPARAM lparam) {
    Right_Click(X_Of(lparam), Y_Of(lparam));
    return ZEKT_Win32_Handled(0);
}

void ZEKT_Win32_Mouse_Hover::Attach_Hover(HWND window) {
    hover_handlers.Add_Handler(window, WM_MOUSEMOVE, this, &ZEKT_Win32_Mouse_Hover::On_Move);
    hover_handlers.Add_Handler(window, WM_MOUSELEAVE, this, &ZEKT_Win32_Mouse_Hover::On_Leave);
}

ZEKT_Box<LRESULT> ZEKT_Win32_Mouse_Hover::On_Move(HWND window, UINT, WPARAM, LPARAM) {
    if (!hovering) {
        // Asks the system for one WM_MOUSELEAVE when the mouse goes.
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        hovering = true;
        Hover(true);
    }
    return ZEKT_Win32_Not_Handled();
}

ZEKT_Box<LRESULT> ZEKT_Win32_Mouse_Hover::On_Leave(HWND, UINT, WPARAM, LPARAM) {
    hovering = false;
    Hover(false);
    return ZEKT_Win32_Handled(0);
}

void ZEKT_Win32_Mouse_Left_Double::Attach_Left_Double(HWND window) {
    left_double_handlers.Add_Handler(window, WM_LBUTTONDBLCLK, this, &ZEKT_Win32_Mouse_Left_Double::On_Message);
}

ZEKT_Box<LRESULT> ZEKT_Win32_Mouse_Left_Double::On_Message(HWND, UINT, WPARAM, LPARAM lparam) {
    Left_Double(X_Of(lparam), Y_Of(lparam));
    return ZEKT_Win32_Handled(0);
}

void ZEKT_Win32_KeyDown::Attach_KeyDown(HWND window) {
    key_down_handlers.Add_Handler(window, WM_KEYDOWN, this, &ZEKT_Win32_KeyDown::On_Message);
}

ZEKT_Box<LRESULT> ZEKT_Win32_KeyDown::On_Message(HWND, UINT, WPARAM wparam, LPARAM) {
    Key_Down(static_cast<UINT>(wparam));
    return ZEKT_Win32_Handled(0);
}

void ZEKT_Win32_KeyUp::Attach_KeyUp(HWND window) {
    key_up_handlers.Add_Handler(window, WM_KEYUP, this, &ZEKT_Win32_KeyUp::On_Message);
}

ZEKT_Box<LRESULT> ZEKT_Win32_KeyUp::On_Message(HWND, UINT, WPARAM wparam, LPARAM) {
    Key_Up(static_cast<UINT>(wparam));
    return ZEKT_Win32_Handled(0);
}

void ZEKT_Win32_KeyChar::Attach_KeyChar(HWND window) {
    key_char_handlers.Add_Handler(window, WM_CHAR, this, &ZEKT_Win32_KeyChar::On_Message);
}

ZEKT_Box<LRESULT> ZEKT_Win32_KeyChar::On_Message(HWND, UINT, WPARAM wparam, LPARAM) {
    Key_Char(static_cast<wchar_t>(wparam));
    return ZEKT_Win32_Handled(0);
}
