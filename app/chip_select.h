#pragma once
// The chip selection popup: the built-in catalogue in a list with a name
// filter, an ID filter and "Find", which reads the attached chip.
#include <windows.h>

#include <memory>
#include <vector>

#include "app/modal_loop.h"
#include "app/resource_bitmap.h"
#include "config/catalogue/chip_catalogue.h"
#include "config/nand_options.h"
#include "win32/button.h"
#include "win32/gdi.h"
#include "win32/list_view.h"

namespace Korvane_Exe {

// Catalogue rows in the eight chip columns, in "Lucida Console" 11. A right
// click offers "Look": a copy of the row in a read-only "Chip" dialog.
class Chip_List : public ZEKT_Win32_ListView<const NAND_Config*> {
public:
    Chip_List();

    // Creates the control with its columns, widths counted in the font's
    // average character width.
    void Create(HWND parent, int x, int y, int width, int height);
    // Replaces every row, in the given order.
    void Fill(const std::vector<const NAND_Config*>& rows);

    // A row was chosen (double click or Enter).
    virtual void Chosen(const NAND_Config& config) = 0;

    void Selected(int, const NAND_Config*&) override {}
    void Deleted(int, const NAND_Config*&) override {}
    void Activated(int, const NAND_Config*& config) override { Chosen(*config); }
    void Right_Click_Empty(int, int) override {}
    void Right_Click(int index, const NAND_Config*& config, int x, int y) override;
    bool Begin_Edit(int, const NAND_Config*&) override { return false; }
    void End_Edit(int, const NAND_Config*&, const std::wstring&) override {}

private:
    ZEKT_Win32_Font font{L"Lucida Console", 11};
};

class Chip_Select final : public Chip_List {
public:
    // `owner` is the chip field: the popup opens just below it. `options`
    // (not owned) are the reader options "Find" reads with.
    Chip_Select(HWND owner, const NAND_Options* options);
    ~Chip_Select() override;

    // Runs the popup until a row is chosen (true, `result` then a copy of it)
    // or the popup is closed (false, `result` unchanged).
    bool Run(NAND_Config& result);

    void Chosen(const NAND_Config& config) override;

private:
    void Refill();
    void Find();
    void Choose_Selected();
    ZEKT_Box<LRESULT> On_Erase(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Size(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Command(HWND, UINT, WPARAM, LPARAM);
    HWND Make_Filter(int x, int width);

    HWND owner;
    const NAND_Options* options;
    HWND popup = nullptr;
    HWND name_filter = nullptr;
    HWND id_filter = nullptr;
    std::unique_ptr<Modal_Loop> loop;
    Chip_Catalogue catalogue;
    NAND_Config result;
    bool chosen = false;
    ZEKT_Win32_Brush background{RGB(236, 233, 216)};
    Resource_Bitmap find_image;
    std::unique_ptr<ZEKT_Win32_Button_Image> find_button;
    ZEKT_Win32_Handlers handlers;
};

}  // namespace Korvane_Exe
