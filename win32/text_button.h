// The text button: a caption drawn from a shared style record.
#pragma once

#include <windows.h>

#include <string>

#include "win32/button.h"
#include "win32/events.h"
#include "win32/gdi.h"

// The shared look of text buttons: "Lucida Console" 11, a frame, a text
// colour and a fill.
class ZEKT_Win32_Text_Style {
public:
    ZEKT_Win32_Text_Style(COLORREF frame, COLORREF text, COLORREF fill) : frame(frame), text(text), fill(fill) {}

    ZEKT_Win32_Font font{L"Lucida Console", 11};
    ZEKT_Win32_Brush frame;
    COLORREF text;
    ZEKT_Win32_Brush fill;
};

// The text button's picture: fill, frame and the caption centred.
void Draw_Text_Button(HDC dc, int width, int height, const ZEKT_Win32_Text_Style& style, const std::wstring& caption);

// A caption in a framed box; a click fires its event.
class ZEKT_Win32_Button_Text : public ZEKT_Win32_Button_Base {
public:
    ZEKT_Win32_Button_Text(const ZEKT_Win32_Text_Style& style, const std::wstring& caption, ZEKT_Event event = {})
        : style(style), caption(caption), event(std::move(event)) {}

    void Draw(HDC dc, int width, int height) override;
    void Click(int x, int y) override;

    void Set_Caption(const std::wstring& text);
    const std::wstring& Caption() const { return caption; }

private:
    const ZEKT_Win32_Text_Style& style;
    std::wstring caption;
    ZEKT_Event event;
};
