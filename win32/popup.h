// An owner-drawn popup menu whose entries carry a value of type T.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32/gdi.h"
#include "win32/handlers.h"

// All owner drawing of menus lives in popup.cpp.
class ZEKT_Win32_Popup_Base {
public:
    ZEKT_Win32_Popup_Base();
    ~ZEKT_Win32_Popup_Base();
    ZEKT_Win32_Popup_Base(const ZEKT_Win32_Popup_Base&) = delete;
    ZEKT_Win32_Popup_Base& operator=(const ZEKT_Win32_Popup_Base&) = delete;

    HMENU Menu() const { return menu; }

    // Entry sizes and the entry's rectangle drawing, used by the menu owner.
    SIZE Measure_Entry(int index) const;
    void Draw_Entry(int index, HDC dc, RECT area, bool selected) const;

protected:
    // Appends an owner-drawn entry whose command is its position from 1.
    void Add_Entry(const std::wstring& text, HBITMAP picture);
    // Shows the menu at the screen point; the chosen entry from 0, or -1.
    int Run_Menu(int x, int y);

private:
    ZEKT_Box<LRESULT> On_Measure(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Draw(HWND, UINT, WPARAM, LPARAM);

    struct Entry {
        std::wstring text;
        HBITMAP picture;  // not owned; may be null
    };
    HMENU menu;
    ZEKT_Win32_Font font{L"Lucida Console", 11};
    ZEKT_Win32_Brush white{RGB(255, 255, 255)};
    ZEKT_Win32_Brush highlight{RGB(255, 204, 204)};
    std::vector<Entry> entries;
    ZEKT_Win32_Handlers handlers;
};

template <typename T>
class ZEKT_Win32_Popup : public ZEKT_Win32_Popup_Base {
public:
    void Add(const std::wstring& text, const T& value, HBITMAP picture = nullptr) {
        Add_Entry(text, picture);
        values.push_back(value);
    }

    // True with the chosen value stored; false when dismissed, the stored
    // value unchanged.
    bool Run(int x, int y) {
        const int chosen = Run_Menu(x, y);
        if (chosen < 0 || chosen >= static_cast<int>(values.size())) return false;
        value = values[static_cast<std::size_t>(chosen)];
        return true;
    }

    const T& Value() const { return value; }

private:
    std::vector<T> values;
    T value{};
};
