#include "win32/list_view.h"

#include <algorithm>

#include "framework/errors.h"
#include "framework/format.h"
#include "win32/gdi.h"
#include "win32/window.h"

ZEKT_Win32_ListView_Styles ListView_Styles(const ZEKT_Win32_ListView_Flags& flags) {
    DWORD style = WS_CHILD | WS_VISIBLE | LVS_SHOWSELALWAYS | flags.view;
    if (!flags.header) style |= LVS_NOCOLUMNHEADER;
    if (!flags.header_click) style |= LVS_NOSORTHEADER;
    if (!flags.multiple_selection) style |= LVS_SINGLESEL;
    if (flags.label_edit) style |= LVS_EDITLABELS;
    DWORD extended = LVS_EX_FULLROWSELECT;
    if (flags.grid_lines) extended |= LVS_EX_GRIDLINES;
    if (flags.check_boxes) extended |= LVS_EX_CHECKBOXES;
    return {style, extended};
}

ZEKT_Win32_ListView_Base::~ZEKT_Win32_ListView_Base() {
    handlers.Remove_All();
    if (!control || !IsWindow(control)) return;
    const int count = Count();
    for (int index = 0; index < count; ++index) delete Record_Or_Null(index);
    // The control's own deletions now reach no handler of ours.
    DestroyWindow(control);
}

void ZEKT_Win32_ListView_Base::Set_Font(HFONT new_font) {
    font = new_font;
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ZEKT_Win32_ListView_Base::Set_Background(COLORREF colour) {
    background.Set(colour);
    Apply_Colours();
}

void ZEKT_Win32_ListView_Base::Set_Selected_Colours(COLORREF text, COLORREF back) {
    selected_text.Set(text);
    selected_background.Set(back);
    if (control) InvalidateRect(control, nullptr, TRUE);
}

void ZEKT_Win32_ListView_Base::Set_Selected_Background(COLORREF back) {
    selected_text.Clear();
    selected_background.Set(back);
    if (control) InvalidateRect(control, nullptr, TRUE);
}

void ZEKT_Win32_ListView_Base::Apply_Colours() {
    if (!control || !background.Is_Full()) return;
    SendMessageW(control, LVM_SETBKCOLOR, 0, background.Get());
    SendMessageW(control, LVM_SETTEXTBKCOLOR, 0, background.Get());
    InvalidateRect(control, nullptr, TRUE);
}

void ZEKT_Win32_ListView_Base::Create(HWND owner, int x, int y, int width, int height) {
    if (control) throw ZEKT_Exception_Bug(L"List view created twice");
    const ZEKT_Win32_ListView_Styles styles = ListView_Styles(flags);
    control = CreateWindowExW(0, WC_LISTVIEWW, L"", styles.style, x, y, width, height, owner, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!control) throw ZEKT_Exception(L"Can't create list view - " + Last_Error_Text());
    parent = owner;
    SendMessageW(control, LVM_SETEXTENDEDLISTVIEWSTYLE, styles.extended, styles.extended);
    Apply_Colours();
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    handlers.Add_Handler(parent, WM_NOTIFY, this, &ZEKT_Win32_ListView_Base::On_Notify);
    // Rows still there when the control goes are reported and freed while
    // the owner can still hear about them.
    Hook_Window(control);
    handlers.Add_Handler(control, WM_DESTROY, this, &ZEKT_Win32_ListView_Base::On_Control_Destroy);
    handlers.Add_Handler(control, WM_CONTEXTMENU, this, &ZEKT_Win32_ListView_Base::On_Context_Menu);
}

// Shift+F10 or the menu key (the point -1, -1): the menu of the focused row,
// at its lower left corner, as a right click on it would open it.
ZEKT_Box<LRESULT> ZEKT_Win32_ListView_Base::On_Context_Menu(HWND, UINT, WPARAM, LPARAM lparam) {
    if (lparam != -1) return ZEKT_Win32_Not_Handled();
    int index = static_cast<int>(SendMessageW(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (index < 0) index = static_cast<int>(SendMessageW(control, LVM_GETSELECTIONMARK, 0, 0));
    ZEKT_Win32_Row* row = index >= 0 ? Record_Or_Null(index) : nullptr;
    RECT area = {};
    area.left = LVIR_LABEL;
    if (row) SendMessageW(control, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&area));
    POINT at = {area.left, area.bottom};
    ClientToScreen(control, &at);
    if (!row) {
        Row_Empty_Click(at.x, at.y);
    } else {
        SendMessageW(control, LVM_SETSELECTIONMARK, 0, index);
        Row_Right_Click(index, *row, at.x, at.y);
    }
    return ZEKT_Win32_Handled(0);
}

ZEKT_Box<LRESULT> ZEKT_Win32_ListView_Base::On_Control_Destroy(HWND, UINT, WPARAM, LPARAM) {
    Delete_All();
    return ZEKT_Win32_Not_Handled();
}

void ZEKT_Win32_ListView_Base::Add_Column(const std::wstring& title, int width) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(control, LVM_GETHEADER, 0, 0));
    const int position = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    if (width == 0) {
        // The rest of the client width after the columns before it. The
        // control's own view approximation is no help here: some versions
        // report the whole control width however narrow the columns are.
        RECT client;
        GetClientRect(control, &client);
        width = client.right;
        for (int before = 0; before < position; ++before)
            width -= static_cast<int>(SendMessageW(control, LVM_GETCOLUMNWIDTH, before, 0));
        if (width < 0) width = 0;
    }
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.iSubItem = position;
    if (SendMessageW(control, LVM_INSERTCOLUMNW, position, reinterpret_cast<LPARAM>(&column)) < 0)
        throw ZEKT_Exception(L"Can't add column <" + title + L">");
}

int ZEKT_Win32_ListView_Base::Add_Record(const std::wstring& text, int image, ZEKT_Win32_Row* record) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = Count();
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    item.lParam = reinterpret_cast<LPARAM>(record);
    const int index = static_cast<int>(SendMessageW(control, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) {
        delete record;
        throw ZEKT_Exception(L"Can't add row <" + text + L">");
    }
    return index;
}

ZEKT_Win32_Row* ZEKT_Win32_ListView_Base::Record_Or_Null(int index) const {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!control || !SendMessageW(control, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<ZEKT_Win32_Row*>(item.lParam);
}

ZEKT_Win32_Row* ZEKT_Win32_ListView_Base::Record(int index) const {
    ZEKT_Win32_Row* record = Record_Or_Null(index);
    if (!record) throw ZEKT_Exception_Bug(Format(L"List view has no row <%d>", index));
    return record;
}

void ZEKT_Win32_ListView_Base::Set_Text(int index, int column, const std::wstring& text) {
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(control, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
}

std::wstring ZEKT_Win32_ListView_Base::Text(int index, int column) const {
    wchar_t buffer[1024] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    SendMessageW(control, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

void ZEKT_Win32_ListView_Base::Select_All() {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(control, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void ZEKT_Win32_ListView_Base::Fit_Height() {
    const DWORD approximate =
        static_cast<DWORD>(SendMessageW(control, LVM_APPROXIMATEVIEWRECT, -1, MAKELPARAM(-1, -1)));
    int height = HIWORD(approximate);
    // Some versions leave the header out of the approximation; the header
    // and the rows themselves say what all rows really need.
    const int count = Count();
    if (count > 0) {
        RECT row = {};
        row.left = LVIR_BOUNDS;
        SendMessageW(control, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
        int header_height = 0;
        HWND header = reinterpret_cast<HWND>(SendMessageW(control, LVM_GETHEADER, 0, 0));
        if (header && IsWindowVisible(header)) {
            RECT box;
            GetWindowRect(header, &box);
            header_height = box.bottom - box.top;
        }
        height = std::max(height, header_height + count * static_cast<int>(row.bottom - row.top));
    }
    RECT window, client;
    GetWindowRect(control, &window);
    GetClientRect(control, &client);
    height += (window.bottom - window.top) - client.bottom;
    SetWindowPos(control, nullptr, 0, 0, window.right - window.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ZEKT_Win32_ListView_Base::Delete_All() { SendMessageW(control, LVM_DELETEALLITEMS, 0, 0); }

int ZEKT_Win32_ListView_Base::Count() const {
    return control ? static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

ZEKT_Box<LRESULT> ZEKT_Win32_ListView_Base::On_Notify(HWND, UINT, WPARAM, LPARAM lparam) {
    NMHDR& header = *reinterpret_cast<NMHDR*>(lparam);
    if (header.hwndFrom != control) return ZEKT_Win32_Not_Handled();
    switch (header.code) {
        case NM_DBLCLK: {
            const int index = reinterpret_cast<NMITEMACTIVATE&>(header).iItem;
            if (ZEKT_Win32_Row* row = index != -1 ? Record_Or_Null(index) : nullptr) Row_Activated(index, *row);
            return ZEKT_Win32_Handled(0);
        }
        case NM_RETURN: {
            const int index = static_cast<int>(SendMessageW(control, LVM_GETSELECTIONMARK, 0, 0));
            if (ZEKT_Win32_Row* row = index != -1 ? Record_Or_Null(index) : nullptr) Row_Activated(index, *row);
            return ZEKT_Win32_Handled(0);
        }
        case NM_RCLICK: {
            const NMITEMACTIVATE& click = reinterpret_cast<NMITEMACTIVATE&>(header);
            LVHITTESTINFO hit = {};
            hit.pt = click.ptAction;
            const int index = static_cast<int>(SendMessageW(control, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            POINT screen = click.ptAction;
            ClientToScreen(control, &screen);
            ZEKT_Win32_Row* row = index != -1 ? Record_Or_Null(index) : nullptr;
            if (!row) {
                Row_Empty_Click(screen.x, screen.y);
            } else {
                SendMessageW(control, LVM_SETSELECTIONMARK, 0, index);
                Row_Right_Click(index, *row, screen.x, screen.y);
            }
            return ZEKT_Win32_Handled(0);
        }
        case LVN_ITEMCHANGED: {
            const NMLISTVIEW& change = reinterpret_cast<NMLISTVIEW&>(header);
            // Only a row that became selected; text changes and deselection pass by.
            if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
                !(change.uOldState & LVIS_SELECTED) && change.iItem >= 0) {
                if (ZEKT_Win32_Row* row = Record_Or_Null(change.iItem)) Row_Selected(change.iItem, *row);
            }
            return ZEKT_Win32_Handled(0);
        }
        case LVN_DELETEITEM: {
            const NMLISTVIEW& deleted = reinterpret_cast<NMLISTVIEW&>(header);
            ZEKT_Win32_Row* row = reinterpret_cast<ZEKT_Win32_Row*>(deleted.lParam);
            if (row) {
                // Freed even when the owner's operation fails.
                struct Free {
                    ZEKT_Win32_Row* row;
                    ~Free() { delete row; }
                } free{row};
                Row_Deleted(deleted.iItem, *row);
            }
            return ZEKT_Win32_Handled(0);
        }
        case LVN_BEGINLABELEDITW: {
            const NMLVDISPINFOW& edit = reinterpret_cast<NMLVDISPINFOW&>(header);
            ZEKT_Win32_Row* row = Record_Or_Null(edit.item.iItem);
            // Result 1 refuses the edit.
            return ZEKT_Win32_Handled(row && Row_Begin_Edit(edit.item.iItem, *row) ? 0 : 1);
        }
        case LVN_ENDLABELEDITW: {
            const NMLVDISPINFOW& edit = reinterpret_cast<NMLVDISPINFOW&>(header);
            if (!edit.item.pszText) return ZEKT_Win32_Handled(0);  // cancelled
            if (ZEKT_Win32_Row* row = Record_Or_Null(edit.item.iItem))
                Row_End_Edit(edit.item.iItem, *row, edit.item.pszText);
            // The new label stays.
            return ZEKT_Win32_Handled(TRUE);
        }
        case NM_CUSTOMDRAW:
            return ZEKT_Win32_Handled(Custom_Draw(reinterpret_cast<NMLVCUSTOMDRAW&>(header)));
        default:
            return ZEKT_Win32_Not_Handled();
    }
}

LRESULT ZEKT_Win32_ListView_Base::Custom_Draw(NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const int index = static_cast<int>(draw.nmcd.dwItemSpec);
    // The focused row's dotted frame only while the keyboard is in the list.
    if (GetFocus() != control) draw.nmcd.uItemState &= ~CDIS_FOCUS;
    if (ZEKT_Win32_Row* row = Record_Or_Null(index)) draw.clrText = row->colour;
    if (selected_background.Is_Full()) {
        draw.nmcd.uItemState &= ~CDIS_SELECTED;
        if (SendMessageW(control, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED) {
            // A row's own colour stays, darkened where it would not read on that background.
            draw.clrText = selected_text.Is_Full() ? selected_text.Get()
                                                   : Readable_On(draw.clrText, selected_background.Get());
            draw.clrTextBk = selected_background.Get();
        }
    }
    return CDRF_NEWFONT;
}
