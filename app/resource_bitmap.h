#pragma once
// A bitmap of the program's resources, owned for the life of a window.
#include <windows.h>

#include "framework/errors.h"
#include "framework/format.h"

namespace Korvane_Exe {

class Resource_Bitmap {
public:
    explicit Resource_Bitmap(int id)
        : bitmap(static_cast<HBITMAP>(
              LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR))) {
        if (!bitmap) throw ZEKT_Exception_Bug(Format(L"Can't load bitmap <%d>", id));
    }
    ~Resource_Bitmap() { DeleteObject(bitmap); }
    Resource_Bitmap(const Resource_Bitmap&) = delete;
    Resource_Bitmap& operator=(const Resource_Bitmap&) = delete;

    HBITMAP Get() const { return bitmap; }

private:
    HBITMAP bitmap;
};

}  // namespace Korvane_Exe
