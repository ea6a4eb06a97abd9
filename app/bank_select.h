#pragma once
// The bank list of the main window: one row per bank with its result, the
// rows' marks as text colours, and the progress bar of a pass laid over a row.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/nand_config.h"
#include "dump/user.h"
#include "win32/gdi.h"
#include "win32/list_view.h"
#include "win32/mixins.h"

namespace Korvane_Exe {

// Row marks, which are the rows' text colours.
constexpr std::uint32_t Mark_Normal = 0;
constexpr std::uint32_t Mark_Error = 255;

class Bank_Select final : public ZEKT_Win32_ListView<std::uint32_t>, public Bank_List {
public:
    Bank_Select();

    // The report view with its columns "Bank" and "Result".
    void Create(HWND parent, int x, int y, int width);
    // Rows Bank_1 to Bank_N for the configuration, all selected, the height
    // fitted; a configuration without a bank count keeps the rows added so
    // far and says why in a "Message" box.
    void Fill(const NAND_Config& config);

    std::uint32_t Mark(int index) const { return Value(index); }
    std::wstring Result(int index) const { return Text(index, 1); }

    std::vector<std::uint32_t> Selected_Banks() override;
    void Set_Status(std::uint32_t bank, const std::wstring& text) override;
    void Set_Error(std::uint32_t bank, const std::wstring& text) override;
    // Appends a remark (a hint) to the row's text, keeping its mark.
    void Add_Remark(std::uint32_t bank, const std::wstring& remark);
    std::unique_ptr<ZEKT_Progress> Start_Progress(std::uint32_t bank) override;

    void Selected(int, std::uint32_t&) override {}
    void Deleted(int, std::uint32_t&) override {}
    void Activated(int, std::uint32_t&) override {}
    void Right_Click_Empty(int, int) override {}
    // The "Copy" menu: the row's result onto the clipboard.
    void Right_Click(int index, std::uint32_t& mark, int x, int y) override;
    bool Begin_Edit(int, std::uint32_t&) override { return false; }
    void End_Edit(int, std::uint32_t&, const std::wstring&) override {}

private:
    void Set_Row(std::uint32_t bank, const std::wstring& text, std::uint32_t mark);

    ZEKT_Win32_Font font{L"Lucida Console", 11};
};

// The progress of one pass over one bank: its status in the row, its
// position in a 50 x 7 bar over the row's right end. The main window locks
// itself while an action runs; the bar only shows.
class Progress final : public ZEKT_Progress, public ZEKT_Win32_Draw {
public:
    Progress(Bank_Select& banks, std::uint32_t bank);
    ~Progress() override;
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void Set_Status(const std::wstring& text) override;
    void Set_Position(std::uint32_t per_mille) override;
    void Draw(HDC dc, int width, int height) override;

    HWND Bar() const { return bar.window; }

    static constexpr int Bar_Width = 50;
    static constexpr int Bar_Height = 7;

private:
    Bank_Select& banks;
    std::uint32_t bank;
    struct {
        HWND window = nullptr;
        std::uint32_t position = 0;
        ZEKT_Win32_Brush fill{RGB(0, 202, 0)};
        ZEKT_Win32_Brush background{RGB(255, 255, 255)};
        ZEKT_Win32_Brush frame{RGB(0, 0, 0)};
    } bar;
};

}  // namespace Korvane_Exe
