#pragma once
// The pictures compiled into the program (korvane.rc).
#include <windows.h>

#include <string>

namespace Korvane_Exe {

// A bitmap resource of the program, loaded once and freed with the object.
class Bitmap_Resource {
public:
    // Throws "Can't load image <name>" when the program lacks it.
    explicit Bitmap_Resource(const std::wstring& name);
    ~Bitmap_Resource() { DeleteObject(bitmap); }
    Bitmap_Resource(const Bitmap_Resource&) = delete;
    Bitmap_Resource& operator=(const Bitmap_Resource&) = delete;

    HBITMAP Get() const { return bitmap; }

private:
    HBITMAP bitmap;
};

}  // namespace Korvane_Exe
