#include "app/chip_select.h"

#include <array>

#include "app/dialog_resources.h"
#include "app/popup_tools.h"
#include "app/properties.h"
#include "dump/chip_list.h"
#include "win32/events.h"
#include "win32/logs.h"
#include "win32/popup.h"
#include "win32/window.h"

namespace Korvane_Exe {
namespace {

// Column widths in average characters of the list font, in column order.
constexpr std::array<int, Chip_Column_Count> Column_Chars = {17, 14, 9, 13, 10, 7, 7, 7};

constexpr int Band_Height = 19;  // above the list: the filters and "Find"
constexpr int Filter_Height = 16;

ZEKT_Win32_ListView_Flags Chip_List_Flags() {
    ZEKT_Win32_ListView_Flags flags;
    flags.multiple_selection = false;
    flags.header_click = false;
    return flags;
}

int Average_Char_Width(HFONT font) {
    HDC dc = GetDC(nullptr);
    TEXTMETRICW metrics = {};
    {
        ZEKT_Win32_Select selected(dc, font);
        GetTextMetricsW(dc, &metrics);
    }
    ReleaseDC(nullptr, dc);
    return metrics.tmAveCharWidth;
}

}  // namespace

Chip_List::Chip_List() : ZEKT_Win32_ListView(Chip_List_Flags()) { Set_Font(font.Get()); }

void Chip_List::Create(HWND parent, int x, int y, int width, int height) {
    ZEKT_Win32_ListView_Base::Create(parent, x, y, width, height);
    const int w = Average_Char_Width(font.Get());
    for (std::size_t column = 0; column < Chip_Column_Count; ++column)
        Add_Column(Chip_Column_Names()[column], Column_Chars[column] * w);
}

void Chip_List::Fill(const std::vector<const NAND_Config*>& rows) {
    // Every text first: a row whose "Banks" cannot be read leaves the list as it was.
    std::vector<Chip_Columns> texts;
    texts.reserve(rows.size());
    for (const NAND_Config* row : rows) texts.push_back(Chip_Column_Texts(*row));
    // Redrawn once at the end instead of once per row.
    SendMessageW(Control(), WM_SETREDRAW, FALSE, 0);
    Delete_All();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const int index = Add_Row(texts[row][0], 0, 0, rows[row]);
        for (std::size_t column = 1; column < Chip_Column_Count; ++column)
            Set_Text(index, static_cast<int>(column), texts[row][column]);
    }
    SendMessageW(Control(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Control(), nullptr, TRUE);
}

void Chip_List::Right_Click(int, const NAND_Config*& config, int x, int y) {
    ZEKT_Win32_Popup<int> menu;
    menu.Add(L"Look", 1);
    if (!menu.Run(x, y)) return;
    // A copy: whatever is done in the dialog stays there.
    NAND_Config copy = *config;
    ZEKT_Explorer_Properties::Run(Parent(), L"Chip", copy, true);
}

Chip_Select::Chip_Select(HWND owner, const NAND_Options* options)
    : owner(owner), options(options), find_image(CHIP_SELECT_FIND) {}

Chip_Select::~Chip_Select() {
    handlers.Remove_All();
    if (IsWindow(popup)) DestroyWindow(popup);
}

HWND Chip_Select::Make_Filter(int x, int width) {
    HWND field = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, x,
                                 4, width, Filter_Height, popup, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!field) throw ZEKT_Exception(L"Can't create filter field - " + Last_Error_Text());
    SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return field;
}

bool Chip_Select::Run(NAND_Config& chosen_config) {
    RECT field = {0, 0, 0, 0};
    if (owner) GetWindowRect(owner, &field);
    // Bound at creation: the popup is erased the moment it shows.
    handlers.Add_Handler(nullptr, WM_ERASEBKGND, this, &Chip_Select::On_Erase);
    popup = Create_Toolkit_Window(0, L"Select chip", WS_POPUP | WS_VISIBLE, field.left - 1, field.bottom + 5, 620,
                                  400, owner ? GetAncestor(owner, GA_ROOT) : nullptr);
    // Placed below the field; opened low, above it instead, as a drop-down
    // list goes, and in any case kept on the screen.
    MONITORINFO screen = {};
    screen.cbSize = sizeof screen;
    RECT placed;
    GetWindowRect(popup, &placed);
    const int height = placed.bottom - placed.top;
    if (owner && GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &screen) &&
        placed.bottom > screen.rcWork.bottom && field.top - 5 - height >= screen.rcWork.top)
        SetWindowPos(popup, nullptr, placed.left, field.top - 5 - height, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Keep_In_Work_Area(popup, owner);
    loop = std::make_unique<Modal_Loop>(popup, owner ? GetAncestor(owner, GA_ROOT) : nullptr,
                                        ZEKT_Event_Object<Chip_Select>(this, &Chip_Select::Choose_Selected));
    handlers.Add_Handler(popup, WM_COMMAND, this, &Chip_Select::On_Command);

    RECT client;
    GetClientRect(popup, &client);
    Set_Background(RGB(200, 200, 200));
    Create(popup, 0, Band_Height, client.right, client.bottom - Band_Height);
    // Tab goes from the filters to the list, where the arrow keys move.
    SetWindowLongPtrW(Control(), GWL_STYLE, GetWindowLongPtrW(Control(), GWL_STYLE) | WS_TABSTOP);
    handlers.Add_Handler(popup, WM_SIZE, this, &Chip_Select::On_Size);
    name_filter = Make_Filter(3, 140);
    id_filter = Make_Filter(150, 135);
    find_button = std::make_unique<ZEKT_Win32_Button_Image>(
        find_image.Get(), ZEKT_Event_Object<Chip_Select>(this, &Chip_Select::Find));
    find_button->Create(popup, 290, 2);

    Refill();
    SetFocus(name_filter);
    loop->Run();
    if (IsWindow(popup)) DestroyWindow(popup);
    if (chosen) chosen_config = result;
    return chosen;
}

void Chip_Select::Refill() {
    try {
        Fill(catalogue.Filter(Window_Text(name_filter), Window_Text(id_filter)));
    } catch (...) {
        // A keystroke is a user action of its own: its failure is shown, not thrown.
        ZEKT_Win32_Message_Log(popup).Report_Exception();
    }
}

void Chip_Select::Find() {
    try {
        const NAND_Options defaults;
        Fill(Detect_Chips(catalogue, options ? *options : defaults));
    } catch (...) {
        // The rows stay as they were; the message says why.
        ZEKT_Win32_Message_Log(popup).Report_Exception();
    }
}

// Enter: the selected row, as a double click on it would.
void Chip_Select::Choose_Selected() {
    const int index =
        static_cast<int>(SendMessageW(Control(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (index >= 0) Chosen(*Value(index));
}

void Chip_Select::Chosen(const NAND_Config& config) {
    result = config;
    chosen = true;
    loop->End();
}

ZEKT_Box<LRESULT> Chip_Select::On_Erase(HWND window, UINT, WPARAM wparam, LPARAM) {
    RECT client;
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, background.Get());
    return ZEKT_Win32_Handled(1);
}

ZEKT_Box<LRESULT> Chip_Select::On_Size(HWND, UINT, WPARAM, LPARAM lparam) {
    MoveWindow(Control(), 0, Band_Height, LOWORD(lparam), HIWORD(lparam) - Band_Height, TRUE);
    return ZEKT_Win32_Not_Handled();
}

ZEKT_Box<LRESULT> Chip_Select::On_Command(HWND, UINT, WPARAM wparam, LPARAM lparam) {
    const HWND from = reinterpret_cast<HWND>(lparam);
    if (HIWORD(wparam) != EN_CHANGE || (from != name_filter && from != id_filter)) return ZEKT_Win32_Not_Handled();
    Refill();
    return ZEKT_Win32_Handled(0);
}

}  // namespace Korvane_Exe
