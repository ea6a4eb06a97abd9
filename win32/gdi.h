// Owners of the GDI objects that the toolkit's controls draw with.
#pragma once

#include <windows.h>

#include <string>

class ZEKT_Win32_Font {
public:
    // The fonts of the system's windows: default weight, character set 1.
    ZEKT_Win32_Font(const std::wstring& face, int height);
    ~ZEKT_Win32_Font() { DeleteObject(font); }
    ZEKT_Win32_Font(const ZEKT_Win32_Font&) = delete;
    ZEKT_Win32_Font& operator=(const ZEKT_Win32_Font&) = delete;

    HFONT Get() const { return font; }

private:
    HFONT font;
};

class ZEKT_Win32_Brush {
public:
    explicit ZEKT_Win32_Brush(COLORREF colour) : brush(CreateSolidBrush(colour)), colour(colour) {}
    ~ZEKT_Win32_Brush() { DeleteObject(brush); }
    ZEKT_Win32_Brush(const ZEKT_Win32_Brush&) = delete;
    ZEKT_Win32_Brush& operator=(const ZEKT_Win32_Brush&) = delete;

    HBRUSH Get() const { return brush; }
    COLORREF Colour() const { return colour; }

private:
    HBRUSH brush;
    COLORREF colour;
};

// Keeps a DC's selected object for a scope.
class ZEKT_Win32_Select {
public:
    ZEKT_Win32_Select(HDC dc, HGDIOBJ object) : dc(dc), old(SelectObject(dc, object)) {}
    ~ZEKT_Win32_Select() { SelectObject(dc, old); }
    ZEKT_Win32_Select(const ZEKT_Win32_Select&) = delete;
    ZEKT_Win32_Select& operator=(const ZEKT_Win32_Select&) = delete;

private:
    HDC dc;
    HGDIOBJ old;
};

// The contrast of two colours as WCAG defines it, from 1 (the same
// luminance) to 21 (black on white); text reads well from 4.5 on.
double Contrast_Ratio(COLORREF first, COLORREF second);

// `text`, darkened just enough to read at 4.5 : 1 on `background`; a colour
// that already does is returned as it is.
COLORREF Readable_On(COLORREF text, COLORREF background);

// Turns what is drawn inside `area` into light greys: the look of a control
// that takes no input.
void Grey_Out(HDC dc, const RECT& area);
