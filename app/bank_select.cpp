#include "app/bank_select.h"

#include <algorithm>

#include "app/system_dialogs.h"
#include "framework/format.h"
#include "win32/logs.h"
#include "win32/message_loop.h"
#include "win32/popup.h"
#include "win32/window.h"

namespace Korvane_Exe {

namespace {

ZEKT_Win32_ListView_Flags Bank_Flags() {
    ZEKT_Win32_ListView_Flags flags;
    flags.header_click = false;
    return flags;
}

}  // namespace

Bank_Select::Bank_Select() : ZEKT_Win32_ListView<std::uint32_t>(Bank_Flags()) {
    Set_Font(font.Get());
    Set_Background(RGB(254, 244, 235));
    Set_Selected_Background(RGB(250, 180, 133));
}

void Bank_Select::Create(HWND parent, int x, int y, int width) {
    // The height is fitted to the rows at every fill.
    ZEKT_Win32_ListView_Base::Create(parent, x, y, width, 100);
    Add_Column(L"Bank", 55);
    Add_Column(L"Result", 0);
}

void Bank_Select::Fill(const NAND_Config& config) {
    Delete_All();
    try {
        const std::uint32_t count = config.Get_Bank_Count();
        for (std::uint32_t bank = 1; bank <= count; ++bank)
            Add_Row(Format(L"Bank_%I64d", static_cast<std::int64_t>(bank)), 0, Mark_Normal, Mark_Normal);
    } catch (...) {
        ZEKT_Win32_Message_Log(Control()).Report_Exception();
    }
    Select_All();
    Fit_Height();
}

std::vector<std::uint32_t> Bank_Select::Selected_Banks() {
    std::vector<std::uint32_t> banks;
    for (int index = -1;;) {
        index = static_cast<int>(SendMessageW(Control(), LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED));
        if (index < 0) return banks;
        banks.push_back(static_cast<std::uint32_t>(index) + 1);
    }
}

void Bank_Select::Set_Row(std::uint32_t bank, const std::wstring& text, std::uint32_t mark) {
    const int index = static_cast<int>(bank) - 1;
    Value(index) = mark;
    Record(index)->colour = mark;
    Set_Text(index, 1, text);
    SendMessageW(Control(), LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
}

void Bank_Select::Set_Status(std::uint32_t bank, const std::wstring& text) { Set_Row(bank, text, Mark_Normal); }

void Bank_Select::Set_Error(std::uint32_t bank, const std::wstring& text) { Set_Row(bank, text, Mark_Error); }

void Bank_Select::Add_Remark(std::uint32_t bank, const std::wstring& remark) {
    const int index = static_cast<int>(bank) - 1;
    if (index < 0 || index >= Count()) return;
    Set_Row(bank, Result(index) + L"  " + remark, Mark(index));
}

std::unique_ptr<ZEKT_Progress> Bank_Select::Start_Progress(std::uint32_t bank) {
    return std::make_unique<Progress>(*this, bank);
}

void Bank_Select::Right_Click(int index, std::uint32_t&, int x, int y) {
    ZEKT_Win32_Popup<int> menu;
    menu.Add(L"Copy", 0);
    if (menu.Run(x, y)) Dialogs().Copy_Text(Control(), Result(index));
}

Progress::Progress(Bank_Select& bank_list, std::uint32_t bank_number) : banks(bank_list), bank(bank_number) {
    RECT row = {};
    row.left = LVIR_BOUNDS;
    SendMessageW(banks.Control(), LVM_GETITEMRECT, static_cast<WPARAM>(bank - 1), reinterpret_cast<LPARAM>(&row));
    Attach_Draw(nullptr);
    try {
        bar.window = Create_Toolkit_Window(0, L"Progress", WS_CHILD | WS_VISIBLE, row.right - 55,
                                           (row.top + row.bottom - Bar_Height) / 2, Bar_Width, Bar_Height,
                                           banks.Control());
    } catch (...) {
        draw_handlers.Remove_All();
        throw;
    }
}

Progress::~Progress() {
    draw_handlers.Remove_All();
    if (bar.window) DestroyWindow(bar.window);
}

void Progress::Set_Status(const std::wstring& text) { banks.Set_Status(bank, text); }

void Progress::Set_Position(std::uint32_t per_mille) {
    bar.position = per_mille;
    InvalidateRect(bar.window, nullptr, TRUE);
}

void Progress::Draw(HDC dc, int width, int height) {
    RECT area = {0, 0, width, height};
    FrameRect(dc, &area, bar.frame.Get());
    const int filled = std::min(MulDiv(width - 2, static_cast<int>(bar.position), 1000), width - 2);
    const RECT fill = {1, 1, filled + 1, height - 1};
    FillRect(dc, &fill, bar.fill.Get());
    // From the first column after the fill, so that no column keeps an old picture.
    const RECT rest = {filled + 1, 1, width - 1, height - 1};
    FillRect(dc, &rest, bar.background.Get());
}

}  // namespace Korvane_Exe
