#include "tests/win32/toolkit_test.h"

namespace {

Picture Print(HWND window, UINT message, LPARAM flags) {
    RECT client;
    GetClientRect(window, &client);
    Picture picture;
    picture.width = client.right;
    picture.height = client.bottom;

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
    SendMessageW(window, message, reinterpret_cast<WPARAM>(memory), flags);
    GdiFlush();
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (int i = 0; i < picture.width * picture.height; ++i)
        picture.pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return picture;
}

}  // namespace

Picture Print_Client(HWND window) { return Print(window, WM_PRINTCLIENT, PRF_CLIENT | PRF_ERASEBKGND); }

Picture Print_Window(HWND window) { return Print(window, WM_PRINT, PRF_CLIENT | PRF_ERASEBKGND); }

Picture Screen_Of(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    Picture picture;
    picture.width = area.right - area.left;
    picture.height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) picture.pixels.push_back(GetPixel(screen, area.left + x, area.top + y));
    ReleaseDC(nullptr, screen);
    return picture;
}
