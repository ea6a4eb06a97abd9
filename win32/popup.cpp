#include "win32/popup.h"

#include <algorithm>

#include "framework/errors.h"
#include "win32/window.h"

namespace {

constexpr int Text_Gap = 8;  // between the picture (or the left edge) and the text

SIZE Picture_Size(HBITMAP picture) {
    BITMAP info = {};
    if (!picture || !GetObjectW(picture, sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

ZEKT_Win32_Popup_Base::ZEKT_Win32_Popup_Base() : menu(CreatePopupMenu()) {
    if (!menu) throw ZEKT_Exception(L"Can't create popup menu - " + Last_Error_Text());
}

ZEKT_Win32_Popup_Base::~ZEKT_Win32_Popup_Base() { DestroyMenu(menu); }

void ZEKT_Win32_Popup_Base::Add_Entry(const std::wstring& text, HBITMAP picture) {
    entries.push_back({text, picture});
    const UINT_PTR command = entries.size();
    // The entry's data is its command, so the drawing finds it by either.
    if (!AppendMenuW(menu, MF_OWNERDRAW, command, reinterpret_cast<LPCWSTR>(command)))
        throw ZEKT_Exception(L"Can't add menu entry <" + text + L"> - " + Last_Error_Text());
}

int ZEKT_Win32_Popup_Base::Run_Menu(int x, int y) {
    // Bound to the owner window created next.
    handlers.Add_Handler(nullptr, WM_MEASUREITEM, this, &ZEKT_Win32_Popup_Base::On_Measure);
    handlers.Add_Handler(nullptr, WM_DRAWITEM, this, &ZEKT_Win32_Popup_Base::On_Draw);
    HWND owner;
    try {
        owner = Create_Toolkit_Window(0, L"", WS_POPUP, 0, 0, 0, 0, nullptr);
    } catch (...) {
        handlers.Remove_All();
        throw;
    }
    const int command =
        static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, nullptr));
    DestroyWindow(owner);
    handlers.Remove_All();
    if (command <= 0 || command > static_cast<int>(entries.size())) return -1;
    return command - 1;
}

SIZE ZEKT_Win32_Popup_Base::Measure_Entry(int index) const {
    const Entry& entry = entries.at(static_cast<std::size_t>(index));
    const SIZE picture = Picture_Size(entry.picture);
    SIZE size = {0, 0};
    if (entry.picture) size = {picture.cx + 2, picture.cy + 2};
    if (!entry.text.empty()) {
        HDC dc = GetDC(nullptr);
        SIZE text = {0, 0};
        {
            ZEKT_Win32_Select selected(dc, font.Get());
            GetTextExtentPoint32W(dc, entry.text.c_str(), static_cast<int>(entry.text.size()), &text);
        }
        ReleaseDC(nullptr, dc);
        size.cx += Text_Gap + text.cx + Text_Gap;
        size.cy = std::max(size.cy, text.cy + 4);
    }
    return size;
}

void ZEKT_Win32_Popup_Base::Draw_Entry(int index, HDC dc, RECT area, bool selected) const {
    const Entry& entry = entries.at(static_cast<std::size_t>(index));
    FillRect(dc, &area, selected ? highlight.Get() : white.Get());
    if (entry.picture) {
        const SIZE picture = Picture_Size(entry.picture);
        HDC source = CreateCompatibleDC(dc);
        {
            ZEKT_Win32_Select bitmap(source, entry.picture);
            BitBlt(dc, area.left + 1, area.top + 1, picture.cx, picture.cy, source, 0, 0, SRCCOPY);
        }
        DeleteDC(source);
        area.left += picture.cx + 2;
    }
    if (entry.text.empty()) return;
    area.left += Text_Gap;
    ZEKT_Win32_Select selected_font(dc, font.Get());
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF old_colour = SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, entry.text.c_str(), static_cast<int>(entry.text.size()), &area,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SetTextColor(dc, old_colour);
    SetBkMode(dc, old_mode);
}

ZEKT_Box<LRESULT> ZEKT_Win32_Popup_Base::On_Measure(HWND, UINT, WPARAM, LPARAM lparam) {
    MEASUREITEMSTRUCT& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
    if (measure.CtlType != ODT_MENU || measure.itemID < 1 || measure.itemID > entries.size())
        return ZEKT_Win32_Not_Handled();
    const SIZE size = Measure_Entry(static_cast<int>(measure.itemID) - 1);
    measure.itemWidth = static_cast<UINT>(size.cx);
    measure.itemHeight = static_cast<UINT>(size.cy);
    return ZEKT_Win32_Handled(TRUE);
}

ZEKT_Box<LRESULT> ZEKT_Win32_Popup_Base::On_Draw(HWND, UINT, WPARAM, LPARAM lparam) {
    const DRAWITEMSTRUCT& draw = *reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
    if (draw.CtlType != ODT_MENU || draw.hwndItem != reinterpret_cast<HWND>(menu) || draw.itemID < 1 ||
        draw.itemID > entries.size())
        return ZEKT_Win32_Not_Handled();
    Draw_Entry(static_cast<int>(draw.itemID) - 1, draw.hDC, draw.rcItem, (draw.itemState & ODS_SELECTED) != 0);
    return ZEKT_Win32_Handled(TRUE);
}
