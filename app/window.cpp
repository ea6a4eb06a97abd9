#include "app/window.h"

#include "app/chip_select.h"
#include "app/properties.h"
#include "app/system_dialogs.h"
#include "win32/delete.h"
#include "win32/logs.h"
#include "win32/message_loop.h"
#include "win32/popup.h"
#include "win32/window.h"

namespace Korvane_Exe {

namespace {

// Field height: the font's plus two pixels above and below.
constexpr int Field_Height = 11 + 4;
constexpr int Label_Width = 55;

// The label cell on the left, the value cell on the rest, both one line.
void Draw_Field(HDC dc, int width, int height, const Field_Look& look, const wchar_t* label, const std::wstring& value) {
    ZEKT_Win32_Select font(dc, look.font.Get());
    SetBkMode(dc, TRANSPARENT);
    RECT label_cell = {0, 0, Label_Width, height};
    FillRect(dc, &label_cell, look.label.Get());
    label_cell.left = 5;
    SetTextColor(dc, RGB(128, 64, 0));
    DrawTextW(dc, label, -1, &label_cell, DT_SINGLELINE | DT_VCENTER);
    RECT value_cell = {Label_Width, 0, width, height};
    FillRect(dc, &value_cell, look.value.Get());
    value_cell.left += 2;
    value_cell.right -= 2;
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, value.c_str(), -1, &value_cell, DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS);
}

// Prints into a report window as long as the user has not closed it.
class Report_Log final : public ZEKT_Log {
public:
    explicit Report_Log(ZEKT_Explorer_Log_Window& log) : log(log), window(log.Window()) {}

protected:
    void Print_Text(const std::wstring& text) override {
        if (IsWindow(window)) log.Print(L"%s", text);
    }

private:
    ZEKT_Explorer_Log_Window& log;
    HWND window;
};

}  // namespace

void Edit_Folder::Create_Folder(HWND parent, int x, int y, const Field_Look& field_look, std::wstring& work_folder) {
    look = &field_look;
    folder = &work_folder;
    Create(parent, x, y, Window::Field_Width, Field_Height);
}

// The folder without its trailing separator.
void Edit_Folder::Draw(HDC dc, int width, int height) {
    const std::wstring shown = folder->empty() ? std::wstring() : folder->substr(0, folder->size() - 1);
    Draw_Field(dc, width, height, *look, L"Folder", shown);
}

void Edit_Folder::Click(int, int) {
    const std::optional<std::wstring> chosen = Dialogs().Browse_Folder(Window(), L"Select work folder", *folder);
    if (!chosen || chosen->empty()) return;
    *folder = *chosen;
    // The dump names are appended to the folder text directly.
    if (folder->back() != L'\\') *folder += L'\\';
    InvalidateRect(Window(), nullptr, TRUE);
    Folder_Changed();
}

void Edit_Config::Create_Config(HWND parent, int x, int y, const Field_Look& field_look, NAND_Config& chip_config,
                                const NAND_Options& reader_options) {
    look = &field_look;
    config = &chip_config;
    options = &reader_options;
    Create(parent, x, y, Window::Field_Width, Field_Height);
}

void Edit_Config::Draw(HDC dc, int width, int height) {
    Draw_Field(dc, width, height, *look, L"Chip", config->Name + L"  " + config->ID_Code);
}

void Edit_Config::Click(int, int) {
    NAND_Config chosen;
    if (!Chip_Select(Window(), options).Run(chosen)) return;
    *config = chosen;
    InvalidateRect(Window(), nullptr, TRUE);
    Config_Changed();
}

// Owned by the main window, so that the box shows over it and not in the
// middle of some other screen.
std::unique_ptr<ZEKT_Log> Window_Messages::Message_Box() { return std::make_unique<ZEKT_Win32_Message_Log>(main); }

std::unique_ptr<ZEKT_Log> Window_Messages::Report_Window(const std::wstring& title) {
    RECT over;
    GetWindowRect(main, &over);
    const int x = std::max(0, static_cast<int>(over.left + (over.right - over.left - Report_Width) / 2));
    const int y = std::max(0, static_cast<int>(over.top + (over.bottom - over.top - Report_Height) / 2));
    auto* log = new ZEKT_Explorer_Log_Window(title, x, y, Report_Width, Report_Height);
    // Tracking first: the delete handler ends the window's teardown, so a
    // handler registered after it would never run.
    Track_Window(log->Window());
    Attach_Delete(log->Window(), log);
    Keep_In_Work_Area(log->Window(), main);
    return std::make_unique<Report_Log>(*log);
}

// The window exists before the members that need its handle.
Window::Window()
    : main(Create_Toolkit_Window(0, L"Korvane v517", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                 Width, Height, nullptr)),
      master(&options, &config, &chip_number.Chip, &banks, &question, &messages) {
    handlers.Add_Handler(main, WM_DESTROY, this, &Window::On_Destroy);
    handlers.Add_Handler(main, WM_ERASEBKGND, this, &Window::On_Erase);

    Create_Folder(main, 0, 10, look, options.Work_Folder);
    Create_Config(main, 0, 36, look, config, options);
    chip_number.Create(main, 276, 10);
    // As wide as the window's inside, so that the bar over a row's right end stays in view.
    RECT client;
    GetClientRect(main, &client);
    banks.Create(main, 0, 80, std::min(static_cast<int>(client.right), Width));
    chip_number.Subscribe(ZEKT_Event_Object<Window>(this, &Window::Number_Changed));

    strip.Create(main, 0, 60, client.right,
                 {{L"*", all_image.Get(), ZEKT_Event_Object<Window>(this, &Window::Select_All)},
                  {L"ID", id_image.Get(), ZEKT_Event_Object<Window>(this, &Window::ID)},
                  {L"Read", read_image.Get(), ZEKT_Event_Object<Window>(this, &Window::Read)},
                  {L"Extra", nullptr, ZEKT_Event_Object<Window>(this, &Window::Extra)},
                  {L"Conf", nullptr, ZEKT_Event_Object<Window>(this, &Window::Conf)}});
    Folder_Changed();
}

Window::~Window() {
    if (IsWindow(main)) DestroyWindow(main);
}

ZEKT_Box<LRESULT> Window::On_Destroy(HWND, UINT, WPARAM, LPARAM) {
    PostQuitMessage(0);
    return ZEKT_Win32_Handled(0);
}

ZEKT_Box<LRESULT> Window::On_Erase(HWND window, UINT, WPARAM wparam, LPARAM) {
    RECT client;
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, background.Get());
    return ZEKT_Win32_Handled(1);
}

// A failure while refreshing after a new folder must not undo the folder.
void Window::Folder_Changed() {
    try {
        Config_Changed();
    } catch (...) {
    }
}

void Window::Config_Changed() {
    InvalidateRect(Chip_Field(), nullptr, TRUE);
    banks.Fill(config);
}

int Window::Button_Menu(std::size_t button, std::initializer_list<const wchar_t*> entries) {
    ZEKT_Win32_Popup<int> menu;
    int index = 0;
    for (const wchar_t* entry : entries) menu.Add(entry, index++);
    RECT area;
    GetWindowRect(Button(button), &area);
    return menu.Run(area.left, area.bottom) ? menu.Value() : -1;
}

void Window::Extra() {
    switch (Button_Menu(Extra_Button, {L"Test USB", L"Read ONFI"})) {
        case 0:
            master.Test_USB();
            break;
        case 1:
            master.Read_ONFI();
            break;
    }
}

void Window::Conf() {
    switch (Button_Menu(Conf_Button, {L"Options", L"Config"})) {
        case 0:
            ZEKT_Explorer_Properties::Run(main, L"Chip Options", options, false);
            break;
        case 1:
            if (ZEKT_Explorer_Properties::Run(main, L"Chip", config, false)) Config_Changed();
            break;
    }
}

}  // namespace Korvane_Exe
