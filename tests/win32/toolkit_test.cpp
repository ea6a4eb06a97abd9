#include "tests/win32/toolkit_test.h"

namespace {

// A picture of the given size, painted by `paint` into a 32-bit bitmap.
template <typename Paint>
Picture Capture(int width, int height, Paint paint) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    paint(memory);
    GdiFlush();
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (int i = 0; i < picture.width * picture.height; ++i)
        picture.pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return picture;
}

Picture Print(HWND window, UINT message, LPARAM flags) {
    RECT client;
    GetClientRect(window, &client);
    return Capture(client.right, client.bottom, [&](HDC memory) {
        SendMessageW(window, message, reinterpret_cast<WPARAM>(memory), flags);
    });
}

}  // namespace

Picture Print_Client(HWND window) { return Print(window, WM_PRINTCLIENT, PRF_CLIENT | PRF_ERASEBKGND); }

Picture Print_Window(HWND window) { return Print(window, WM_PRINT, PRF_CLIENT | PRF_ERASEBKGND); }

Picture Screen_Of(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    return Capture(area.right - area.left, area.bottom - area.top, [&](HDC memory) {
        HDC screen = GetDC(nullptr);
        BitBlt(memory, 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left, area.top, SRCCOPY);
        ReleaseDC(nullptr, screen);
    });
}
