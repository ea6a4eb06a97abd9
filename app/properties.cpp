#include "app/properties.h"

#include <commctrl.h>

#include <algorithm>

#include "app/dialog_resources.h"
#include "app/popup_tools.h"
#include "app/system_dialogs.h"
#include "win32/events.h"
#include "win32/logs.h"
#include "win32/popup.h"
#include "win32/progress.h"
#include "win32/window.h"

namespace Korvane_Exe {
namespace {

// Every character counts as wide as one of "Lucida Console" 11.
constexpr int Char_Width = 7;
constexpr int Row_Gap = 15;          // added to the text lines of every row
constexpr int Text_Top = 5;          // from the top of a row to its text line
constexpr int Control_Above = 3;     // controls start this far above the text line
constexpr int Check_Size = 15;
constexpr int Minimum_Height = 106;  // room for the four buttons
constexpr int Action_Count = 4;      // "Close", "Import", "Export", "OK": the last buttons made
constexpr int Wheel_Lines = 3;       // rows of text one notch of the wheel moves

int Line_Count(const std::wstring& text) { return static_cast<int>(std::count(text.begin(), text.end(), L'\n')) + 1; }

std::size_t Longest_Line(const std::wstring& text) {
    std::size_t longest = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(L'\n', start);
        std::size_t length = (end == std::wstring::npos ? text.size() : end) - start;
        if (length > 0 && text[start + length - 1] == L'\r') --length;
        longest = std::max(longest, length);
        if (end == std::wstring::npos) return longest;
        start = end + 1;
    }
}

}  // namespace

void ZEKT_Explorer_Properties_Select::Click(int, int) { dialog.Select(row); }

bool ZEKT_Explorer_Properties::Run(HWND owner, const std::wstring& title, ZEKT_Properties& object, bool read_only) {
    ZEKT_Explorer_Properties dialog(title, object, read_only);
    dialog.Open(owner);
    dialog.loop->Run();
    return dialog.accepted;
}

ZEKT_Explorer_Properties::ZEKT_Explorer_Properties(const std::wstring& title, ZEKT_Properties& object,
                                                   bool read_only)
    : title(title),
      object(object),
      read_only(read_only),
      close_image(PROPERTIES_CLOSE),
      import_image(PROPERTIES_IMPORT),
      export_image(PROPERTIES_EXPORT),
      ok_image(PROPERTIES_OK),
      select_image(PROPERTIES_SELECT) {
    object.Describe(properties);

    HDC dc = GetDC(nullptr);
    TEXTMETRICW metrics = {};
    {
        ZEKT_Win32_Select selected(dc, font.Get());
        GetTextMetricsW(dc, &metrics);
    }
    ReleaseDC(nullptr, dc);
    line_height = metrics.tmHeight;

    std::size_t name_chars = 0;
    std::size_t value_chars = 0;
    int y = 0;
    int text_lines = 0;
    for (const auto& property : properties) {
        Row row{property.get(), Kind::Text, y, 1};
        if (dynamic_cast<ZEKT_Property_Separator*>(property.get())) {
            row.kind = Kind::Heading;
        } else if (dynamic_cast<ZEKT_Property_BOOL*>(property.get())) {
            row.kind = Kind::Check;
        } else {
            const std::wstring value = property->To_Text();
            value_chars = std::max(value_chars, Longest_Line(value));
            if (property->Multi_Line) row.lines = Line_Count(value) + 1;
        }
        name_chars = std::max(name_chars, property->name.size());
        y += row.lines * line_height + Row_Gap;
        text_lines += row.lines;
        rows.push_back(row);
    }
    label_width = Char_Width * static_cast<int>(name_chars) + 15;
    value_width = Char_Width * static_cast<int>(std::clamp<std::size_t>(value_chars, 14, 50));
    height = std::max(line_height * text_lines + Row_Gap * static_cast<int>(rows.size()) + 7, Minimum_Height);
}

// Once the object exists, so that its destructor takes the windows down
// whatever fails on the way.
void ZEKT_Explorer_Properties::Open(HWND owner) {
    Attach_Draw(nullptr);
    popup = Create_Toolkit_Window(0, title, WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                  owner ? GetAncestor(owner, GA_ROOT) : nullptr);
    // Enter is "OK", as the default button of a dialog.
    loop = std::make_unique<Modal_Loop>(
        popup, owner, ZEKT_Event_Object<ZEKT_Explorer_Properties>(this, &ZEKT_Explorer_Properties::OK));
    handlers.Add_Handler(popup, WM_CTLCOLOREDIT, this, &ZEKT_Explorer_Properties::On_Colour);
    handlers.Add_Handler(popup, WM_CTLCOLORSTATIC, this, &ZEKT_Explorer_Properties::On_Colour);
    Centre_Popup(popup, owner, label_width + value_width + 53, height);

    tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, popup, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    for (std::size_t index = 0; index < rows.size(); ++index) Create_Row(index);

    struct Action {
        const Resource_Bitmap& image;
        void (ZEKT_Explorer_Properties::*method)();
        const wchar_t* tip;
        int y;
    };
    const Action actions[] = {{close_image, &ZEKT_Explorer_Properties::Close, L"Close", 1},
                              {import_image, &ZEKT_Explorer_Properties::Import, L"Import", 27},
                              {export_image, &ZEKT_Explorer_Properties::Export, L"Export", 53},
                              {ok_image, &ZEKT_Explorer_Properties::OK, L"OK", 79}};
    for (const Action& action : actions) {
        auto button = std::make_unique<ZEKT_Win32_Button_Image>(
            action.image.Get(), ZEKT_Event_Object<ZEKT_Explorer_Properties>(this, action.method));
        button->Create(popup, label_width + value_width + 23, action.y);
        Add_Tooltip(button->Window(), action.tip);
        buttons.push_back(std::move(button));
    }
    Fit_Work_Area();
    for (const Row& row : rows)
        if (row.control) {
            // The first value selected: typing replaces it, as in any dialog.
            SetFocus(row.control);
            SendMessageW(row.control, EM_SETSEL, 0, -1);
            break;
        }
}

ZEKT_Explorer_Properties::~ZEKT_Explorer_Properties() {
    handlers.Remove_All();
    if (IsWindow(popup)) DestroyWindow(popup);
}

void ZEKT_Explorer_Properties::Create_Row(std::size_t index) {
    Row& row = rows[index];
    const int top = row.y + Text_Top - Control_Above;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    switch (row.kind) {
        case Kind::Heading:
            return;
        case Kind::Check:
            // Told of its focus, so that a scrolled form shows it.
            row.control = CreateWindowExW(0, L"BUTTON", L"",
                                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY,
                                          label_width, top, Check_Size, Check_Size, popup, nullptr, instance, nullptr);
            if (read_only) EnableWindow(row.control, FALSE);
            break;
        case Kind::Text: {
            DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
            if (row.property->Multi_Line) style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            if (read_only) style |= ES_READONLY;
            row.control = CreateWindowExW(0, L"EDIT", L"", style, label_width, top, value_width,
                                          row.lines * line_height + 2 * Control_Above, popup, nullptr, instance,
                                          nullptr);
            if (row.control) SendMessageW(row.control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
            break;
        }
    }
    if (!row.control) throw ZEKT_Exception(L"Can't create field <" + row.property->name + L"> - " + Last_Error_Text());
    Show_Text(row, row.property->To_Text());

    if (read_only || row.property->Choices.empty()) return;
    auto select = std::make_unique<ZEKT_Explorer_Properties_Select>(select_image.Get(), *this, index);
    select->Create(popup, label_width + value_width + 4, top);
    Add_Tooltip(select->Window(), L"Select");
    buttons.push_back(std::move(select));
}

void ZEKT_Explorer_Properties::Add_Tooltip(HWND button, const wchar_t* text) {
    if (!tooltip) return;
    TOOLINFOW tool = {};
    // The older, shorter record: understood by every version of the control.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = popup;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring ZEKT_Explorer_Properties::Shown_Text(const Row& row) const {
    switch (row.kind) {
        case Kind::Heading:
            return {};
        case Kind::Check:
            return SendMessageW(row.control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"true" : L"false";
        case Kind::Text:
            return Window_Text(row.control);
    }
    return {};
}

void ZEKT_Explorer_Properties::Show_Text(Row& row, const std::wstring& text) {
    switch (row.kind) {
        case Kind::Heading:
            return;
        case Kind::Check:
            SendMessageW(row.control, BM_SETCHECK, text == L"true" ? BST_CHECKED : BST_UNCHECKED, 0);
            return;
        case Kind::Text:
            SetWindowTextW(row.control, text.c_str());
            return;
    }
}

void ZEKT_Explorer_Properties::Select(std::size_t index) {
    const Row& row = rows.at(index);
    ZEKT_Win32_Popup<std::wstring> menu;
    for (std::size_t choice = 0; choice < row.property->Choices.size(); ++choice)
        menu.Add(choice < row.property->Choice_Texts.size() ? row.property->Choice_Texts[choice]
                                                            : row.property->Choices[choice],
                 row.property->Choices[choice]);
    RECT field;
    GetWindowRect(row.control, &field);
    if (menu.Run(field.left, field.bottom)) SetWindowTextW(row.control, menu.Value().c_str());
}

void ZEKT_Explorer_Properties::OK() {
    // Row by row: a value that fails stops here, the rows above keep theirs.
    for (const Row& row : rows) {
        if (row.kind == Kind::Heading) continue;
        try {
            row.property->From_Text(Shown_Text(row));
        } catch (...) {
            // The user sees why and corrects the row; the dialog stays open.
            ZEKT_Win32_Message_Log(popup).Report_Exception();
            SetFocus(row.control);
            return;
        }
    }
    accepted = true;
    loop->End();
    try {
        ZEKT_Explorer_Progress progress(popup);
        object.After_Import(&progress, nullptr);
    } catch (...) {
        // The values are stored already; only the notification failed.
        ZEKT_Win32_Message_Log(popup).Report_Exception();
    }
}

void ZEKT_Explorer_Properties::Close() { loop->End(); }

void ZEKT_Explorer_Properties::Export() {
    try {
        const auto path = Dialogs().Save_File(popup, title + L".txt");
        if (!path) return;
        ZEKT_Sections sections;
        sections.Aligned = true;
        for (const Row& row : rows)
            sections.sections.push_back({row.property->name, Shown_Text(row), row.kind == Kind::Heading});
        Write_Text_File(*path, sections.To_Text());
    } catch (...) {
        // Top of the "Export" action: the fields stay as they are.
        ZEKT_Win32_Message_Log(popup).Report_Exception();
    }
}

void ZEKT_Explorer_Properties::Import() {
    try {
        const auto path = Dialogs().Open_File(popup);
        if (!path) return;
        // Read and parsed whole before any field changes.
        const ZEKT_Sections sections(Read_Text_File(*path));
        for (Row& row : rows)
            if (row.kind != Kind::Heading)
                if (const ZEKT_Section* section = sections.Find(row.property->name)) Show_Text(row, section->text);
    } catch (...) {
        // Top of the "Import" action: nothing was shown yet when the file failed.
        ZEKT_Win32_Message_Log(popup).Report_Exception();
    }
}

void ZEKT_Explorer_Properties::Draw(HDC dc, int width, int height) {
    RECT area = {0, 0, width, height};
    FillRect(dc, &area, background.Get());
    ZEKT_Win32_Select selected(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    for (const Row& row : rows) {
        const std::wstring& name = row.property->name;
        const bool heading = row.kind == Kind::Heading;
        // Headings start further left, in the buttons' purple.
        SetTextColor(dc, heading ? RGB(128, 0, 255) : RGB(0, 0, 0));
        TextOutW(dc, heading ? 2 : 8, row.y - scroll + Text_Top, name.c_str(), static_cast<int>(name.size()));
    }
}

ZEKT_Box<LRESULT> ZEKT_Explorer_Properties::On_Colour(HWND, UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND control = reinterpret_cast<HWND>(lparam);
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.control == control; });
    if (row == rows.end()) return ZEKT_Win32_Not_Handled();
    HDC dc = reinterpret_cast<HDC>(wparam);
    const ZEKT_Win32_Brush& brush =
        row->kind == Kind::Check ? background : (read_only || message == WM_CTLCOLORSTATIC ? fixed : editable);
    SetBkColor(dc, brush.Colour());
    return ZEKT_Win32_Handled(reinterpret_cast<LRESULT>(brush.Get()));
}

void ZEKT_Explorer_Properties::Fit_Work_Area() {
    shown_height = height;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(popup, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    RECT placed, client;
    GetWindowRect(popup, &placed);
    GetClientRect(popup, &client);
    const int work_height = monitor.rcWork.bottom - monitor.rcWork.top;
    if (placed.bottom - placed.top <= work_height) return;
    // The bar takes width from the client area: the window grows by as much.
    SetWindowLongPtrW(popup, GWL_STYLE, GetWindowLongPtrW(popup, GWL_STYLE) | WS_VSCROLL);
    const int frame = (placed.bottom - placed.top) - client.bottom;
    shown_height = std::max(work_height - frame, Minimum_Height);
    SetWindowPos(popup, nullptr, placed.left, monitor.rcWork.top,
                 placed.right - placed.left + GetSystemMetrics(SM_CXVSCROLL), shown_height + frame,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Keep_In_Work_Area(popup, popup);
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, height - 1,
                       static_cast<UINT>(shown_height), 0, 0};
    SetScrollInfo(popup, SB_VERT, &info, TRUE);
    handlers.Add_Handler(popup, WM_VSCROLL, this, &ZEKT_Explorer_Properties::On_Scroll);
    handlers.Add_Handler(popup, WM_MOUSEWHEEL, this, &ZEKT_Explorer_Properties::On_Wheel);
    handlers.Add_Handler(popup, WM_COMMAND, this, &ZEKT_Explorer_Properties::On_Field_Focus);
}

// Every child moves with the rows but the four buttons, put back at their places.
void ZEKT_Explorer_Properties::Scroll_To(int position) {
    position = std::clamp(position, 0, std::max(0, height - shown_height));
    if (position == scroll) return;
    ScrollWindowEx(popup, 0, scroll - position, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN);
    scroll = position;
    const int tops[Action_Count] = {1, 27, 53, 79};
    for (int index = 0; index < Action_Count; ++index) {
        const HWND button = buttons[buttons.size() - Action_Count + index]->Window();
        SetWindowPos(button, nullptr, label_width + value_width + 23, tops[index], 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetScrollPos(popup, SB_VERT, scroll, TRUE);
    InvalidateRect(popup, nullptr, TRUE);
}

void ZEKT_Explorer_Properties::Scroll_Into_View(HWND control) {
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.control == control; });
    if (row == rows.end()) return;
    const int bottom = row->y + row->lines * line_height + Row_Gap;
    if (row->y < scroll)
        Scroll_To(row->y);
    else if (bottom > scroll + shown_height)
        Scroll_To(bottom - shown_height);
}

ZEKT_Box<LRESULT> ZEKT_Explorer_Properties::On_Scroll(HWND, UINT, WPARAM wparam, LPARAM) {
    const int step = line_height + Row_Gap;
    switch (LOWORD(wparam)) {
        case SB_LINEUP: Scroll_To(scroll - step); break;
        case SB_LINEDOWN: Scroll_To(scroll + step); break;
        case SB_PAGEUP: Scroll_To(scroll - shown_height); break;
        case SB_PAGEDOWN: Scroll_To(scroll + shown_height); break;
        case SB_TOP: Scroll_To(0); break;
        case SB_BOTTOM: Scroll_To(height); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info = {};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(popup, SB_VERT, &info);
            Scroll_To(info.nTrackPos);
            break;
        }
        default: break;
    }
    return ZEKT_Win32_Handled(0);
}

ZEKT_Box<LRESULT> ZEKT_Explorer_Properties::On_Wheel(HWND, UINT, WPARAM wparam, LPARAM) {
    const int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
    Scroll_To(scroll - notches * Wheel_Lines * (line_height + Row_Gap));
    return ZEKT_Win32_Handled(0);
}

// The field the keyboard reaches comes into view, as in a dialog.
ZEKT_Box<LRESULT> ZEKT_Explorer_Properties::On_Field_Focus(HWND, UINT, WPARAM wparam, LPARAM lparam) {
    if (HIWORD(wparam) == EN_SETFOCUS || HIWORD(wparam) == BN_SETFOCUS)
        Scroll_Into_View(reinterpret_cast<HWND>(lparam));
    return ZEKT_Win32_Not_Handled();
}

}  // namespace Korvane_Exe
