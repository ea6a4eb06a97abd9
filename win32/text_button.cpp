#include "win32/text_button.h"

void ZEKT_Win32_Button_Text::Draw(HDC dc, int width, int height) { Draw_Text_Button(dc, width, height, style, caption); }

void Draw_Text_Button(HDC dc, int width, int height, const ZEKT_Win32_Text_Style& style, const std::wstring& caption) {
    RECT area = {0, 0, width, height};
    FillRect(dc, &area, style.fill.Get());
    FrameRect(dc, &area, style.frame.Get());
    ZEKT_Win32_Select font(dc, style.font.Get());
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF old_colour = SetTextColor(dc, style.text);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    SetTextColor(dc, old_colour);
    SetBkMode(dc, old_mode);
}

void ZEKT_Win32_Button_Text::Click(int, int) { event.Fire(); }

void ZEKT_Win32_Button_Text::Set_Caption(const std::wstring& text) {
    caption = text;
    if (Window()) InvalidateRect(Window(), nullptr, TRUE);
}
