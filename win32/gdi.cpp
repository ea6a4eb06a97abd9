#include "win32/gdi.h"

#include <cmath>

ZEKT_Win32_Font::ZEKT_Win32_Font(const std::wstring& face, int height)
    : font(CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str())) {}

namespace {

constexpr double Readable_Contrast = 4.5;

// Relative luminance of an sRGB colour, 0 for black to 1 for white.
double Luminance(COLORREF colour) {
    const auto linear = [](BYTE channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) +
           0.0722 * linear(GetBValue(colour));
}

}  // namespace

double Contrast_Ratio(COLORREF first, COLORREF second) {
    const double a = Luminance(first) + 0.05;
    const double b = Luminance(second) + 0.05;
    return a > b ? a / b : b / a;
}

COLORREF Readable_On(COLORREF text, COLORREF background) {
    // Darker in steps of 1/64 of each channel, keeping the hue; black always reads on a light background.
    for (int step = 64; step > 0; --step) {
        const COLORREF darker =
            RGB(GetRValue(text) * step / 64, GetGValue(text) * step / 64, GetBValue(text) * step / 64);
        if (Contrast_Ratio(darker, background) >= Readable_Contrast) return darker;
    }
    return RGB(0, 0, 0);
}

namespace {

// Without colour and faint, yet readable: light backgrounds (200 and up)
// fade towards white, text of any colour (up to 128) becomes a dark grey
// of 96 to 106, at least 4.7:1 on the program's backgrounds (222 and
// lighter), and the edges of letters go between.
BYTE Greyed(int luminance) {
    if (luminance >= 200) return static_cast<BYTE>(128 + luminance / 2);
    if (luminance >= 128) return static_cast<BYTE>(106 + (luminance - 128) * 122 / 72);
    return static_cast<BYTE>(96 + luminance * 10 / 128);
}

}  // namespace

void Grey_Out(HDC dc, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        ZEKT_Win32_Select selected(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, dc, area.left, area.top, SRCCOPY);
        GdiFlush();
        auto* pixel = static_cast<RGBQUAD*>(bits);
        for (int i = 0; i < width * height; ++i, ++pixel) {
            const int luminance = (pixel->rgbRed * 30 + pixel->rgbGreen * 59 + pixel->rgbBlue * 11) / 100;
            const BYTE grey = Greyed(luminance);
            *pixel = {grey, grey, grey, 0};
        }
        BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
}
