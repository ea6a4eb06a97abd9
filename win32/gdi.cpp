#include "win32/gdi.h"

ZEKT_Win32_Font::ZEKT_Win32_Font(const std::wstring& face, int height)
    : font(CreateFontW(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str())) {}
