#include "app/resources.h"

#include "framework/errors.h"

namespace Korvane_Exe {

Bitmap_Resource::Bitmap_Resource(const std::wstring& name)
    : bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, 0))) {
    if (!bitmap) throw ZEKT_Exception(L"Can't load image <" + name + L">");
}

}  // namespace Korvane_Exe
