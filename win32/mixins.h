// Message mixins: each keeps a handler list of its own and turns the
// messages of one window into one virtual callback. Attach with a null
// window just before creating the window to see its creation messages too.
#pragma once

#include <windows.h>

#include "win32/handlers.h"

// Draws the whole client area on WM_ERASEBKGND; the toolkit never paints
// in WM_PAINT. A resize redraws everything.
class ZEKT_Win32_Draw {
public:
    virtual ~ZEKT_Win32_Draw() = default;
    virtual void Draw(HDC dc, int width, int height) = 0;

    void Attach_Draw(HWND window);
    // The window drawn; set at its creation when attached with a null window.
    HWND Draw_Window() const { return draw_window; }

protected:
    HWND draw_window = nullptr;
    ZEKT_Win32_Handlers draw_handlers;
    // Controls that take input look greyed while they refuse it: disabled
    // themselves or inside a disabled control.
    bool grey_when_disabled = false;
    // Controls that take the keyboard show a dotted frame while they have it.
    bool focus_mark = false;

private:
    ZEKT_Box<LRESULT> On_Focus(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Erase(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Size(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Create(HWND, UINT, WPARAM, LPARAM);
};

class ZEKT_Win32_Mouse_Left_Down {
public:
    virtual ~ZEKT_Win32_Mouse_Left_Down() = default;
    virtual void Left_Down(HWND window, int x, int y) = 0;  // client coordinates
    void Attach_Left_Down(HWND window);

protected:
    ZEKT_Win32_Handlers left_down_handlers;

private:
    ZEKT_Box<LRESULT> On_Message(HWND, UINT, WPARAM, LPARAM);
};

class ZEKT_Win32_Mouse_Left_Up {
public:
    virtual ~ZEKT_Win32_Mouse_Left_Up() = default;
    virtual void Left_Up(HWND window, int x, int y) = 0;
    void Attach_Left_Up(HWND window);

protected:
    ZEKT_Win32_Handlers left_up_handlers;

private:
    ZEKT_Box<LRESULT> On_Message(HWND, UINT, WPARAM, LPARAM);
};

// A press captures the mouse; the release clicks only when it happens over
// the window itself, so releasing outside cancels the click. Classes that
// override Left_Down or Left_Up call these versions too.
class ZEKT_Win32_Mouse_Left_Click : public ZEKT_Win32_Mouse_Left_Down, public ZEKT_Win32_Mouse_Left_Up {
public:
    virtual void Click(int x, int y) = 0;  // client coordinates
    void Attach_Left_Click(HWND window);

    void Left_Down(HWND window, int x, int y) override;
    void Left_Up(HWND window, int x, int y) override;
};

class ZEKT_Win32_Mouse_Right_Click {
public:
    virtual ~ZEKT_Win32_Mouse_Right_Click() = default;
    virtual void Right_Click(int x, int y) = 0;  // client coordinates, at the release
    void Attach_Right_Click(HWND window);

protected:
    ZEKT_Win32_Handlers right_click_handlers;

private:
    ZEKT_Box<LRESULT> On_Message(HWND, UINT, WPARAM, LPARAM);
};

// Hover(true) when the mouse enters the window, Hover(false) when it leaves.
class ZEKT_Win32_Mouse_Hover {
public:
    virtual ~ZEKT_Win32_Mouse_Hover() = default;
    virtual void Hover(bool inside) = 0;
    void Attach_Hover(HWND window);

protected:
    ZEKT_Win32_Handlers hover_handlers;
    bool hovering = false;

private:
    ZEKT_Box<LRESULT> On_Move(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Leave(HWND, UINT, WPARAM, LPARAM);
};

class ZEKT_Win32_Mouse_Left_Double {
public:
    virtual ~ZEKT_Win32_Mouse_Left_Double() = default;
    virtual void Left_Double(int x, int y) = 0;
    void Attach_Left_Double(HWND window);

protected:
    ZEKT_Win32_Handlers left_double_handlers;

private:
    ZEKT_Box<LRESULT> On_Message(HWND, UINT, WPARAM, LPARAM);
};

class ZEKT_Win32_KeyDown {
public:
    virtual ~ZEKT_Win32_KeyDown() = default;
    virtual void Key_Down(UINT virtual_key) = 0;
    void Attach_KeyDown(HWND window);

protected:
    ZEKT_Win32_Handlers key_down_handlers;

private:
    ZEKT_Box<LRESULT> On_Message(HWND, UINT, WPARAM, LPARAM);
};

class ZEKT_Win32_KeyUp {
public:
    virtual ~ZEKT_Win32_KeyUp() = default;
    virtual void Key_Up(UINT virtual_key) = 0;
    void Attach_KeyUp(HWND window);

protected:
    ZEKT_Win32_Handlers key_up_handlers;

private:
    ZEKT_Box<LRESULT> On_Message(HWND, UINT, WPARAM, LPARAM);
};

class ZEKT_Win32_KeyChar {
public:
    virtual ~ZEKT_Win32_KeyChar() = default;
    virtual void Key_Char(wchar_t character) = 0;
    void Attach_KeyChar(HWND window);

protected:
    ZEKT_Win32_Handlers key_char_handlers;

private:
    ZEKT_Box<LRESULT> On_Message(HWND, UINT, WPARAM, LPARAM);
};
