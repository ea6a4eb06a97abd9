#include "win32/button.h"

#include "framework/errors.h"
#include "win32/text_button.h"
#include "win32/window.h"

// The handlers go before the window: the derived part that draws and
// clicks is already gone.
ZEKT_Win32_Button_Base::~ZEKT_Win32_Button_Base() {
    HWND own = window;
    On_Destroy(nullptr, 0, 0, 0);
    if (own) DestroyWindow(own);
}

void ZEKT_Win32_Button_Base::Create(HWND parent, int x, int y, int width, int height) {
    if (window) throw ZEKT_Exception_Bug(L"Button created twice");
    // Bound to the button's window at its creation.
    Attach_Draw(nullptr);
    Attach_Left_Click(nullptr);
    Attach_Right_Click(nullptr);
    Attach_Hover(nullptr);
    own_handlers.Add_Handler(nullptr, WM_NCDESTROY, this, &ZEKT_Win32_Button_Base::On_Destroy);
    own_handlers.Add_Handler(nullptr, WM_KEYDOWN, this, &ZEKT_Win32_Button_Base::On_Key);
    own_handlers.Add_Handler(nullptr, WM_GETDLGCODE, this, &ZEKT_Win32_Button_Base::On_Dialog_Code);
    own_handlers.Add_Handler(nullptr, ZEKT_Win32_Press, this, &ZEKT_Win32_Button_Base::On_Press);
    try {
        window = Create_Toolkit_Window(0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, width, height, parent);
    } catch (...) {
        On_Destroy(nullptr, 0, 0, 0);
        throw;
    }
}

// Gone with its parent: the handlers go too, and the destructor has nothing to destroy.
ZEKT_Box<LRESULT> ZEKT_Win32_Button_Base::On_Destroy(HWND, UINT, WPARAM, LPARAM) {
    window = nullptr;
    draw_handlers.Remove_All();
    left_down_handlers.Remove_All();
    left_up_handlers.Remove_All();
    right_click_handlers.Remove_All();
    hover_handlers.Remove_All();
    own_handlers.Remove_All();
    return ZEKT_Win32_Not_Handled();
}

// Space and Enter press the focused button, as they press a system one.
ZEKT_Box<LRESULT> ZEKT_Win32_Button_Base::On_Key(HWND, UINT, WPARAM wparam, LPARAM) {
    if (wparam != VK_SPACE && wparam != VK_RETURN) return ZEKT_Win32_Not_Handled();
    if (IsWindowEnabled(window)) Click(0, 0);
    return ZEKT_Win32_Handled(0);
}

// A push button to the dialog keys: Enter in a dialog asks it to press the focus.
ZEKT_Box<LRESULT> ZEKT_Win32_Button_Base::On_Dialog_Code(HWND, UINT, WPARAM, LPARAM) {
    return ZEKT_Win32_Handled(DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
}

ZEKT_Box<LRESULT> ZEKT_Win32_Button_Base::On_Press(HWND, UINT, WPARAM, LPARAM) {
    if (IsWindowEnabled(window)) Click(0, 0);
    return ZEKT_Win32_Handled(0);
}

void ZEKT_Win32_Button_Base::Hover(bool) { InvalidateRect(window, nullptr, TRUE); }

ZEKT_Win32_Button_Image::ZEKT_Win32_Button_Image(HBITMAP image, ZEKT_Event event)
    : image(image), event(std::move(event)) {
    BITMAP info = {};
    if (!image || !GetObjectW(image, sizeof info, &info))
        throw ZEKT_Exception_Bug(L"ZEKT_Win32_Button_Image::Create don't have images");
    size = {info.bmWidth, info.bmHeight};
}

void ZEKT_Win32_Button_Image::Create(HWND parent, int x, int y) {
    ZEKT_Win32_Button_Base::Create(parent, x, y, size.cx, size.cy);
}

void ZEKT_Win32_Button_Image::Show_Caption(const std::wstring& text, const ZEKT_Win32_Text_Style& style) {
    caption = text;
    caption_style = &style;
    if (Window()) InvalidateRect(Window(), nullptr, TRUE);
}

void ZEKT_Win32_Button_Image::Draw(HDC dc, int width, int height) {
    if (!caption.empty() && caption_style) return Draw_Text_Button(dc, width, height, *caption_style, caption);
    HDC source = CreateCompatibleDC(dc);
    {
        ZEKT_Win32_Select picture(source, image);
        BitBlt(dc, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
    }
    DeleteDC(source);
    // A dotted frame shows which button the mouse is over.
    if (Hovering()) {
        RECT area = {0, 0, width, height};
        DrawFocusRect(dc, &area);
    }
}

void ZEKT_Win32_Button_Image::Click(int, int) { event.Fire(); }
