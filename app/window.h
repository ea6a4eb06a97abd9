#pragma once
// The main window: the work folder and chip fields, the chip number, the
// button strip and the bank list, with the reader options and the chip
// configuration they edit.
#include <windows.h>

#include <memory>
#include <string>

#include "app/bank_select.h"
#include "app/number_select.h"
#include "app/question_box.h"
#include "app/resource_bitmap.h"
#include "app/window_resources.h"
#include "config/nand_config.h"
#include "config/nand_options.h"
#include "dump/reader_master.h"
#include "dump/user.h"
#include "win32/button.h"
#include "win32/gdi.h"
#include "win32/handlers.h"
#include "win32/toolbar.h"

namespace Korvane_Exe {

// What the two fields draw with: a label cell and a value cell.
struct Field_Look {
    ZEKT_Win32_Font font{L"Lucida Console", 11};
    ZEKT_Win32_Brush label{RGB(254, 244, 235)};
    ZEKT_Win32_Brush value{RGB(225, 225, 225)};
};

// The work folder field; a click opens the folder browser.
class Edit_Folder : public ZEKT_Win32_Button_Base {
public:
    void Create_Folder(HWND parent, int x, int y, const Field_Look& look, std::wstring& folder);
    void Draw(HDC dc, int width, int height) override;
    void Click(int x, int y) override;
    // After the user chose a folder.
    virtual void Folder_Changed() = 0;

private:
    const Field_Look* look = nullptr;
    std::wstring* folder = nullptr;
};

// The chip field: the configuration's name and ID; a click opens the chip list.
class Edit_Config : public ZEKT_Win32_Button_Base {
public:
    void Create_Config(HWND parent, int x, int y, const Field_Look& look, NAND_Config& config,
                       const NAND_Options& options);
    void Draw(HDC dc, int width, int height) override;
    void Click(int x, int y) override;
    // After the configuration changed: repaint and refill the banks.
    virtual void Config_Changed() = 0;

protected:
    NAND_Config* config = nullptr;
    const NAND_Options* options = nullptr;

private:
    const Field_Look* look = nullptr;
};

// The windows' side of the workflow's messages: "Message" boxes, and report
// windows centred over the main window.
class Window_Messages final : public Messages {
public:
    explicit Window_Messages(const HWND& main) : main(main) {}
    std::unique_ptr<ZEKT_Log> Message_Box() override;
    std::unique_ptr<ZEKT_Log> Report_Window(const std::wstring& title) override;

    static constexpr int Report_Width = 360;
    static constexpr int Report_Height = 320;

private:
    const HWND& main;
};

class Window final : public Edit_Folder, public Edit_Config {
public:
    static constexpr int Width = 375;
    static constexpr int Height = 210;
    static constexpr int Field_Width = 260;
    // The buttons of the strip, left to right.
    enum Strip : std::size_t { All_Button, ID_Button, Read_Button, Extra_Button, Conf_Button };

    Window();
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void Folder_Changed() override;
    void Config_Changed() override;

    // The buttons' and menus' actions.
    void Select_All() { banks.Select_All(); }
    void ID() { master.ID_Action(); }
    void Read() { master.Read_Action(); }
    void Extra();
    void Conf();

    HWND Main() const { return main; }
    HWND Folder_Field() const { return Edit_Folder::Window(); }
    HWND Chip_Field() const { return Edit_Config::Window(); }
    HWND Button(std::size_t index) const { return strip.Button(index).Window(); }
    NAND_Options& Options() { return options; }
    NAND_Config& Config() { return config; }
    Number_Select& Chip_Number() { return chip_number; }
    Bank_Select& Banks() { return banks; }

private:
    ZEKT_Box<LRESULT> On_Destroy(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Erase(HWND, UINT, WPARAM, LPARAM);
    void Number_Changed() { banks.Fill(config); }
    // The menu under a button of the strip; the chosen entry, or -1.
    int Button_Menu(std::size_t button, std::initializer_list<const wchar_t*> entries);

    ZEKT_Win32_Handlers handlers;
    ZEKT_Win32_Brush background{RGB(254, 215, 175)};
    HWND main;
    Number_Select chip_number;
    Bank_Select banks;
    NAND_Options options;
    NAND_Config config;
    ZEKT_Win32_Text_Style button_style{RGB(255, 0, 128), RGB(128, 0, 255), RGB(255, 217, 236)};
    ZEKT_Win32_ToolBar strip{button_style, RGB(254, 215, 175)};
    Resource_Bitmap all_image{BUTTON_ALL};
    Resource_Bitmap id_image{BUTTON_ID};
    Resource_Bitmap read_image{BUTTON_READ};
    Field_Look look;
    Window_Messages messages{main};
    Question_Box question{main};
    Reader_Master master;
};

}  // namespace Korvane_Exe
