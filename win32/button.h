// Buttons that the toolkit draws itself: drawing, clicking, right click and
// hover in one child window of the toolkit's class.
#pragma once

#include <windows.h>

#include <string>

#include "win32/events.h"
#include "win32/gdi.h"
#include "win32/handlers.h"
#include "win32/mixins.h"

class ZEKT_Win32_Text_Style;

// Sent to a toolkit button: press it, as a click would.
constexpr UINT ZEKT_Win32_Press = WM_USER + 0x150;

class ZEKT_Win32_Button_Base : public ZEKT_Win32_Draw,
                               public ZEKT_Win32_Mouse_Left_Click,
                               public ZEKT_Win32_Mouse_Right_Click,
                               public ZEKT_Win32_Mouse_Hover {
public:
    ZEKT_Win32_Button_Base() {
        grey_when_disabled = true;
        focus_mark = true;
    }
    ZEKT_Win32_Button_Base(const ZEKT_Win32_Button_Base&) = delete;
    ZEKT_Win32_Button_Base& operator=(const ZEKT_Win32_Button_Base&) = delete;
    ~ZEKT_Win32_Button_Base() override;

    void Create(HWND parent, int x, int y, int width, int height);
    HWND Window() const { return window; }

    void Right_Click(int, int) override {}
    // Redraws, so that a button can look different under the mouse.
    void Hover(bool inside) override;
    bool Hovering() const { return hovering; }

private:
    ZEKT_Box<LRESULT> On_Destroy(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Key(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Dialog_Code(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Press(HWND, UINT, WPARAM, LPARAM);

    HWND window = nullptr;
    ZEKT_Win32_Handlers own_handlers;
};

// A picture (not owned) in a button of its size; a click fires its event.
class ZEKT_Win32_Button_Image : public ZEKT_Win32_Button_Base {
public:
    ZEKT_Win32_Button_Image(HBITMAP image, ZEKT_Event event = {});

    void Create(HWND parent, int x, int y);
    SIZE Size() const { return size; }

    void Draw(HDC dc, int width, int height) override;
    void Click(int x, int y) override;
    // Drawn as a text button with this caption instead of the picture while
    // the caption is not empty (a button that changes its meaning).
    void Show_Caption(const std::wstring& text, const ZEKT_Win32_Text_Style& style);

private:
    std::wstring caption;
    const ZEKT_Win32_Text_Style* caption_style = nullptr;
    HBITMAP image;
    SIZE size = {0, 0};
    ZEKT_Event event;
};
