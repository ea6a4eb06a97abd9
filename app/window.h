#pragma once
// The main window: the work folder and chip fields, the chip number, the
// button strip and the bank list, with the reader options and the chip
// configuration they edit.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/bank_select.h"
#include "app/child_lock.h"
#include "app/number_select.h"
#include "app/question_box.h"
#include "app/resource_bitmap.h"
#include "app/window_resources.h"
#include "app/worker.h"
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
    ~Window_Messages() override { handlers.Remove_All(); }
    std::unique_ptr<ZEKT_Log> Message_Box() override;
    // Owned by the main window, which stays disabled while a report is open.
    std::unique_ptr<ZEKT_Log> Report_Window(const std::wstring& title) override;
    int Open_Reports() const { return open_reports; }

    static constexpr int Report_Width = 360;
    static constexpr int Report_Height = 320;

private:
    ZEKT_Box<LRESULT> On_Report_Gone(HWND, UINT, WPARAM, LPARAM);

    const HWND& main;
    int open_reports = 0;
    ZEKT_Win32_Handlers handlers;
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

    // The buttons' and menus' actions. Those that touch the chip run on the
    // worker; while one runs, "Read" is "Stop".
    void Select_All() { banks.Select_All(); }
    void ID();
    void Read();
    void Extra();
    void Conf();
    // "Stop the dump?"; a yes stops the running action at its next chunk.
    void Ask_Stop(bool closing);
    bool Busy() const { return worker.Busy(); }

    // The extra menu's entries, in their order; "Resume read" only shows
    // beside partial dumps.
    enum class Extra_Entry { Test_USB, Read_ONFI, Verify, Resume_Read, Map, Check_ECC, Image };
    void Run_Extra(Extra_Entry entry);
    // Whether a selected bank's dump file is shorter than the bank.
    bool Partial_Dumps(Bank_List& list);
    // Whether a selected bank's dump has its ECC list beside it.
    bool Ecc_Lists(Bank_List& list);

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
    ZEKT_Box<LRESULT> On_Close(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Activate(HWND, UINT, WPARAM, LPARAM);
    // The main window's keys: tab stops, accelerators, Escape for "Stop".
    static bool Filter(void* window, MSG& message);
    bool Key(const MSG& message);
    std::vector<HWND> Tab_Stops() const;
    // Runs `action` on the worker with the window locked, "Read" as "Stop".
    void Run_Action(std::function<void()> action);
    void Action_Done();
    void Read_Work(bool resume);
    void Verify_Work(std::uint32_t reread, bool ecc);
    void Map_Work();
    void Check_Ecc_Work();
    void Image_Work();
    ZEKT_Box<LRESULT> On_Erase(HWND, UINT, WPARAM, LPARAM);
    void Number_Changed() { banks.Fill(config); }
    // The menu under a button of the strip; the chosen entry, or -1.
    int Button_Menu(std::size_t button, const std::vector<std::pair<const wchar_t*, int>>& entries);

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
    Window_Queue queue{main};
    Worker_User user;
    Reader_Master master;
    std::optional<Child_Lock> lock, strip_lock;
    HWND focus_before = nullptr;
    HWND last_focus = nullptr;  // the control that had the keyboard when another window took it
    bool asking = false, done_waiting = false, close_after = false;
    // Last: it ends (and waits for) a running action before anything it uses goes.
    Worker worker;
};

}  // namespace Korvane_Exe
