#include "app/number_select.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "app/properties.h"
#include "app/window_resources.h"
#include "framework/format.h"
#include "win32/window.h"

namespace Korvane_Exe {

void Arrow_Button::Create(HWND parent, int x, int y) {
    ZEKT_Win32_Button_Image::Create(parent, x, y);
    Attach_Left_Double(Window());
}

// The double click stands for the second press; its release clicks.
void Arrow_Button::Left_Double(int x, int y) { ZEKT_Win32_Mouse_Left_Click::Left_Down(Window(), x, y); }

Number_Select::Number_Select()
    : previous(ARROW_PREVIOUS, ZEKT_Event_Object<Number_Select>(this, &Number_Select::Previous)),
      next(ARROW_NEXT, ZEKT_Event_Object<Number_Select>(this, &Number_Select::Next)) {
    grey_when_disabled = true;
    focus_mark = true;
}

Number_Select::~Number_Select() {
    draw_handlers.Remove_All();
    left_double_handlers.Remove_All();
}

void Number_Select::Create(HWND parent, int x, int y) {
    const SIZE arrow = previous.Size();
    Attach_Draw(nullptr);
    Attach_Left_Double(nullptr);
    window = Create_Toolkit_Window(0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, arrow.cx * 2 + Number_Width, arrow.cy, parent);
    previous.Create(window, 0, 0);
    next.Create(window, arrow.cx + Number_Width, 0);
}

namespace {

// Dump files are numbered from 1: a chip number of 0 is refused before it is stored.
class Chip_Number_Property final : public ZEKT_Property_UINT32 {
public:
    explicit Chip_Number_Property(std::uint32_t* chip) : ZEKT_Property_UINT32(L"Chip", &candidate), chip(chip) {
        candidate = *chip;
    }
    void From_Text(const std::wstring& text) override {
        ZEKT_Property_UINT32::From_Text(text);
        if (candidate == 0) throw ZEKT_Exception_DataCorrupt(L"Chip number must be 1 or more <" + text + L">");
        *chip = candidate;
    }

private:
    std::uint32_t candidate = 0;
    std::uint32_t* chip;
};

}  // namespace

void Number_Select::Describe(ZEKT_Property_List& list) { Add_Property<Chip_Number_Property>(list, &Chip); }

void Number_Select::Previous() {
    if (Chip > 1) --Chip;
    Changed();
}

// The largest number stays: wrapping round to 0 would name no dump file.
void Number_Select::Next() {
    if (Chip < UINT32_MAX) ++Chip;
    Changed();
}

void Number_Select::Changed() {
    InvalidateRect(window, nullptr, TRUE);
    changed.Fire();
}

void Number_Select::Left_Double(int, int) {
    if (ZEKT_Explorer_Properties::Run(GetAncestor(window, GA_ROOT), L"Chip_Number", *this, false)) Changed();
}

void Number_Select::Draw(HDC dc, int width, int height) {
    RECT area = {0, 0, width, height};
    FillRect(dc, &area, background.Get());
    const int arrow = previous.Size().cx;
    RECT number = {arrow, 0, arrow + Number_Width, height};
    FrameRect(dc, &number, frame.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(128, 0, 255));
    const std::wstring text = Format(L"%u", Chip);
    SIZE extent = {};
    {
        ZEKT_Win32_Select selected(dc, font.Get());
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    }
    // A long number (up to ten digits) is drawn smaller, so that every digit shows.
    const int room = Number_Width - 4;
    std::optional<ZEKT_Win32_Font> smaller;
    if (extent.cx > room) smaller.emplace(L"Lucida Console", std::max(8, static_cast<int>(20L * room / extent.cx)));
    ZEKT_Win32_Select selected(dc, smaller ? smaller->Get() : font.Get());
    DrawTextW(dc, text.c_str(), -1, &number, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace Korvane_Exe
