#pragma once
// The "Chip" number box of the main window: the number between a previous
// and a next arrow; a double click edits it in the "Chip_Number" dialog.
#include <windows.h>

#include <cstdint>

#include "app/resource_bitmap.h"
#include "framework/properties.h"
#include "win32/button.h"
#include "win32/events.h"
#include "win32/gdi.h"
#include "win32/mixins.h"

namespace Korvane_Exe {

// Loaded before the button that shows it.
struct Arrow_Image {
    explicit Arrow_Image(int id) : arrow(id) {}
    Resource_Bitmap arrow;
};

// An arrow counts every click: a fast second click arrives as a double
// click on a window class with CS_DBLCLKS, and is taken as a press here.
class Arrow_Button final : private Arrow_Image,
                           public ZEKT_Win32_Button_Image,
                           public ZEKT_Win32_Mouse_Left_Double {
public:
    Arrow_Button(int image, ZEKT_Event event)
        : Arrow_Image(image), ZEKT_Win32_Button_Image(arrow.Get(), std::move(event)) {}
    void Create(HWND parent, int x, int y);
    void Left_Double(int x, int y) override;
};

class Number_Select final : public ZEKT_Properties, public ZEKT_Win32_Draw, public ZEKT_Win32_Mouse_Left_Double {
public:
    // The chip number of the dump file names, from 1.
    std::uint32_t Chip = 1;

    Number_Select();
    ~Number_Select() override;
    Number_Select(const Number_Select&) = delete;
    Number_Select& operator=(const Number_Select&) = delete;

    // The box as a child of `parent`, sized to both arrows and the number.
    void Create(HWND parent, int x, int y);
    // Fired after every change of the number.
    void Subscribe(ZEKT_Event event) { changed = std::move(event); }

    void Previous();
    void Next();

    HWND Window() const { return window; }
    HWND Previous_Button() const { return previous.Window(); }
    HWND Next_Button() const { return next.Window(); }

    void Describe(ZEKT_Property_List& list) override;
    void Draw(HDC dc, int width, int height) override;
    void Left_Double(int x, int y) override;

    // Room for the number between the arrows.
    static constexpr int Number_Width = 54;

private:
    void Changed();

    HWND window = nullptr;
    ZEKT_Event changed;
    Arrow_Button previous;
    Arrow_Button next;
    ZEKT_Win32_Font font{L"Lucida Console", 20};
    ZEKT_Win32_Brush background{RGB(254, 244, 235)};
    ZEKT_Win32_Brush frame{RGB(0, 64, 128)};
};

}  // namespace Korvane_Exe
