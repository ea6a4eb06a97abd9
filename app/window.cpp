#include "app/window.h"

#include <algorithm>
#include <map>

#include "app/chip_select.h"
#include "dump/bank_map.h"
#include "dump/ecc_pass.h"
#include "dump/ecc_reread.h"
#include "dump/image.h"
#include "dump/verify.h"
#include "framework/media.h"
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

// The verify choice: how often each differing page is read again (0: never),
// and whether pages the ECC list finds failing are read until they pass.
class Verify_Choice final : public ZEKT_Properties {
public:
    std::uint32_t reread = 0;
    bool ecc = false;

    void Describe(ZEKT_Property_List& list) override {
        Add_Property<Reread_Property>(list, &reread);
        Add_Property<ZEKT_Property_BOOL>(list, L"ECC", &ecc);
    }

private:
    // More than 99 reads of a page do not decide a majority any better.
    class Reread_Property final : public ZEKT_Property_UINT32 {
    public:
        explicit Reread_Property(std::uint32_t* reread) : ZEKT_Property_UINT32(L"Re-reads", &candidate), reread(reread) {
            candidate = *reread;
        }
        void From_Text(const std::wstring& text) override {
            ZEKT_Property_UINT32::From_Text(text);
            if (candidate > 99) throw ZEKT_Exception_DataCorrupt(L"Re-reads must be 0 to 99 <" + text + L">");
            *reread = candidate;
        }

    private:
        std::uint32_t candidate = 0;
        std::uint32_t* reread;
    };
};

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
    handlers.Add_Handler(log->Window(), WM_DESTROY, this, &Window_Messages::On_Report_Gone);
    Attach_Delete(log->Window(), log);
    Keep_In_Work_Area(log->Window(), main);
    // Modal as the other popups: above the main window, which waits for it.
    SetWindowLongPtrW(log->Window(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(main));
    ++open_reports;
    EnableWindow(main, FALSE);
    return std::make_unique<Report_Log>(*log);
}

ZEKT_Box<LRESULT> Window_Messages::On_Report_Gone(HWND, UINT, WPARAM, LPARAM) {
    if (--open_reports == 0 && IsWindow(main)) {
        EnableWindow(main, TRUE);
        SetActiveWindow(main);
    }
    return ZEKT_Win32_Not_Handled();
}

// The window exists before the members that need its handle.
Window::Window()
    : main(Create_Toolkit_Window(0, L"Korvane v517", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                 Width, Height, nullptr)),
      user(queue, banks, question, messages, worker.Stop_Flag()),
      master(&options, &config, &chip_number.Chip, &user, &user, &user) {
    handlers.Add_Handler(main, WM_DESTROY, this, &Window::On_Destroy);
    handlers.Add_Handler(main, WM_CLOSE, this, &Window::On_Close);
    handlers.Add_Handler(main, WM_ACTIVATE, this, &Window::On_Activate);
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
    Set_Message_Filter(&Window::Filter, this);
    // The keyboard starts at the first field, its dotted frame in view.
    SetFocus(Folder_Field());
}

// The window goes first: a worker waiting for it is answered "Canceled.".
Window::~Window() {
    Set_Message_Filter(nullptr, nullptr);
    if (IsWindow(main)) DestroyWindow(main);
}

// While an action runs, closing asks first; stopped, the window closes
// once the action has let go of the reader.
ZEKT_Box<LRESULT> Window::On_Close(HWND, UINT, WPARAM, LPARAM) {
    if (!Busy()) return ZEKT_Win32_Not_Handled();
    Ask_Stop(true);
    return ZEKT_Win32_Handled(0);
}

// Back from a popup or another program, the keyboard is where it was, as in a dialog.
ZEKT_Box<LRESULT> Window::On_Activate(HWND, UINT, WPARAM wparam, LPARAM) {
    if (LOWORD(wparam) == WA_INACTIVE) {
        if (IsChild(main, GetFocus())) last_focus = GetFocus();
        return ZEKT_Win32_Not_Handled();
    }
    if (!IsWindow(last_focus) || !IsWindowEnabled(last_focus) || !IsChild(main, last_focus))
        return ZEKT_Win32_Not_Handled();
    SetFocus(last_focus);
    return ZEKT_Win32_Handled(0);
}

void Window::Ask_Stop(bool closing) {
    if (!Busy() || asking) return;
    asking = true;
    const bool yes = Ask_Question(main, L"Stop the dump?");
    asking = false;
    if (yes) {
        worker.Stop();
        close_after = close_after || closing;
    }
    if (done_waiting) Action_Done();
}

void Window::Run_Action(std::function<void()> action) {
    if (Busy()) return;
    focus_before = GetFocus();
    const bool keyboard_here = focus_before == main || IsChild(main, focus_before);
    // Everything greyed but the strip's "Read", which says "Stop" meanwhile.
    lock.emplace(main);
    EnableWindow(strip.Window(), TRUE);
    strip_lock.emplace(strip.Window());
    HWND stop = Button(Read_Button);
    EnableWindow(stop, TRUE);
    dynamic_cast<ZEKT_Win32_Button_Image&>(strip.Button(Read_Button)).Show_Caption(L"Stop", button_style);
    if (keyboard_here) SetFocus(stop);
    worker.Start(
        queue,
        [this, action = std::move(action)] {
            try {
                action();
            } catch (const ZEKT_Exception_Cancel&) {
                // The rows say "Canceled." already.
            } catch (...) {
                // A failure outside any bank (a bad geometry, no work folder): one box.
                try {
                    user.Message_Box()->Report_Exception();
                } catch (...) {
                }
            }
        },
        [this] { Action_Done(); });
}

// Waits while "Stop the dump?" is open: its own lock gives the controls back after it.
void Window::Action_Done() {
    if (asking) {
        done_waiting = true;
        return;
    }
    done_waiting = false;
    strip_lock.reset();
    lock.reset();
    // A report the action opened keeps the window waiting for it.
    if (messages.Open_Reports()) EnableWindow(main, FALSE);
    dynamic_cast<ZEKT_Win32_Button_Image&>(strip.Button(Read_Button)).Show_Caption(L"", button_style);
    if (close_after) {
        DestroyWindow(main);
        return;
    }
    // The keyboard goes back where it was, unless it went to another window meanwhile.
    HWND now = GetFocus();
    if ((!now || now == main || IsChild(main, now)) && IsWindow(focus_before) && IsWindowEnabled(focus_before))
        SetFocus(focus_before);
}

bool Window::Filter(void* window, MSG& message) { return static_cast<Window*>(window)->Key(message); }

// Folder, chip, chip number, bank list, then the strip's buttons: the
// order they read in; what is disabled is passed over.
std::vector<HWND> Window::Tab_Stops() const {
    std::vector<HWND> stops = {Folder_Field(), Chip_Field(), chip_number.Window(), banks.Control()};
    for (std::size_t index = 0; index < strip.Count(); ++index) stops.push_back(Button(index));
    std::erase_if(stops, [](HWND stop) { return !IsWindowEnabled(stop) || !IsWindowVisible(stop); });
    return stops;
}

bool Window::Key(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (!message.hwnd || GetAncestor(message.hwnd, GA_ROOT) != main) return false;
    const WPARAM key = message.wParam;
    const bool alt = (message.lParam & (1 << 29)) != 0;
    const bool control = Key_Held(VK_CONTROL) && !alt;
    const bool shift = Key_Held(VK_SHIFT);
    HWND focus = GetFocus();
    if (key == VK_TAB && !control && !alt) {
        const std::vector<HWND> stops = Tab_Stops();
        if (stops.empty()) return true;
        const auto at = std::find(stops.begin(), stops.end(), focus);
        const std::size_t count = stops.size();
        std::size_t next = shift ? count - 1 : 0;
        if (at != stops.end()) next = (static_cast<std::size_t>(at - stops.begin()) + (shift ? count - 1 : 1)) % count;
        SetFocus(stops[next]);
        return true;
    }
    // While an action runs only "Stop" takes the keyboard.
    if (Busy()) {
        if (key != VK_ESCAPE) return false;
        Ask_Stop(false);
        return true;
    }
    if (key == VK_F5 && !control && !alt) return Read(), true;
    if (key == 'I' && control) return ID(), true;
    if (key == 'O' && control) return Edit_Folder::Click(0, 0), true;
    if ((key == VK_F4 && !alt) || (key == VK_DOWN && alt)) return Edit_Config::Click(0, 0), true;
    if (key == VK_APPS || (key == VK_F10 && shift)) {
        if (focus == banks.Control()) SendMessageW(focus, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(focus), -1);
        return true;
    }
    if (focus == chip_number.Window() && !alt && !control) {
        switch (key) {
            case VK_UP:
            case VK_RIGHT:
            case VK_ADD:
                return chip_number.Next(), true;
            case VK_DOWN:
            case VK_LEFT:
            case VK_SUBTRACT:
                return chip_number.Previous(), true;
            case VK_RETURN:
            case VK_SPACE:
                return chip_number.Left_Double(0, 0), true;
            default:
                return false;
        }
    }
    return false;
}

void Window::ID() {
    Run_Action([this] { master.ID_Action(); });
}

void Window::Read() {
    if (Busy())
        Ask_Stop(false);
    else
        Run_Action([this] { Read_Work(false); });
}

bool Window::Partial_Dumps(Bank_List& list) {
    try {
        const std::uint64_t bank_bytes = config.Get_Bank_Dump_Size();
        for (std::uint32_t bank : list.Selected_Banks()) {
            const std::wstring path = master.Dump_Path(bank);
            if (Exists(path) && ZEKT_MediaFileReadProtect(path).GetSize() < bank_bytes) return true;
        }
    } catch (const ZEKT_Exception&) {
        // No folder or no bank size: nothing to resume.
    }
    return false;
}

// On the worker. Partial dumps beside the selection: resume them, read anew, or leave.
void Window::Read_Work(bool resume) {
    if (!resume && Partial_Dumps(user)) {
        int answer = -1;
        queue.Invoke([&] { answer = Ask_Choice(main, L"Resume the partial dumps?", {L"Yes", L"No", L"Cancel"}); });
        if (answer != 0 && answer != 1) return;
        resume = answer == 0;
    }
    master.resume = resume;
    master.uniform_banks.clear();
    struct Reset {
        Reader_Master& master;
        ~Reset() { master.resume = false; }
    } reset{master};
    master.Read_Action();
    for (const auto& [bank, value] : master.uniform_banks) user.Add_Remark(bank, L"hint: " + Uniform_Dump_Hint(value));
}

bool Window::Ecc_Lists(Bank_List& list) {
    try {
        for (std::uint32_t bank : list.Selected_Banks())
            if (Path_Exists(master.Dump_Path(bank) + L".ecc")) return true;
    } catch (const ZEKT_Exception&) {
        // No folder: no list.
    }
    return false;
}

// With `ecc`, a bank whose dump has its ECC list is read again until its
// codewords pass (plainly `reread` times, 2 when 0, then at each retry
// level); the other banks are compared as without it.
void Window::Verify_Work(std::uint32_t reread, bool ecc) {
    std::map<std::uint32_t, Verify_Result> verified;
    Ecc_Reread_Choices choices;
    choices.plain_reads = reread ? reread : 2;
    master.For_Each_Selected_Bank([&](std::uint32_t bank) {
        if (ecc && Path_Exists(master.Dump_Path(bank) + L".ecc")) {
            Ecc_Reread_Result result;
            return Ecc_Reread_Bank(master, user, config, options, bank, choices, result);
        }
        Verify_Bank(master, user, config, options, bank, reread, verified[bank]);
    });
    for (const auto& [bank, result] : verified)
        if (const std::wstring hint = Data_Line_Hint(result); !hint.empty()) user.Add_Remark(bank, L"hint: " + hint);
}

// The maps written are shown by the system's viewer, one per bank.
void Window::Map_Work() {
    const Map_Geometry geometry = Bank_Map_Geometry(config, 0);
    std::vector<std::wstring> maps;
    master.For_Each_Selected_Bank([&](std::uint32_t bank) {
        Map_Bank(master, user, config, geometry, bank);
        maps.push_back(master.Dump_Path(bank) + L".svg");
    });
    for (const std::wstring& path : maps) {
        queue.Post([this, path] {
            try {
                Dialogs().Show_File(main, path);
            } catch (...) {
                ZEKT_Win32_Message_Log(main).Report_Exception();
            }
        });
    }
}

// The layout of the dump's ECC list when it has one, else the one found
// from its pages; the row says what the list says, red with a codeword
// left uncorrectable.
void Window::Check_Ecc_Work() {
    const Map_Geometry geometry = Bank_Map_Geometry(config, 0);
    master.For_Each_Selected_Bank([&](std::uint32_t bank) {
        const std::wstring dump_path = master.Dump_Path(bank), ecc_path = dump_path + L".ecc";
        std::unique_ptr<ZEKT_Progress> progress = user.Start_Progress(bank);
        Korvane_Ecc::Ecc_Layout layout;
        if (Path_Exists(ecc_path)) {
            layout = Read_Ecc_Listing(ecc_path, 0, config.Page, 0).layout;
        } else {
            progress->Set_Status(L"Find layout...");
            std::size_t sampled = 0;
            const Korvane_Ecc::Search_Result found = Find_Dump_Layout(dump_path, geometry, sampled);
            if (!found.found)
                throw ZEKT_Exception(Format(L"No ECC layout fits <%s> (%I64u sampled pages)", dump_path,
                                            static_cast<std::uint64_t>(sampled)));
            layout = found.layout;
        }
        progress->Set_Status(L"ECC...");
        const Ecc_Counts counts = Check_Dump(dump_path, geometry, layout, false, *progress);
        progress.reset();
        const std::wstring text = Ecc_Text(counts) + L"  " + Ecc_Bits_Text(counts);
        if (counts.uncorrectable)
            user.Set_Error(bank, text);
        else
            user.Set_Status(bank, text);
    });
}

// "NN_NN.img" with bad blocks left out, mended by the ECC list's layout
// when the dump has one; the row names the first codewords left uncorrectable.
void Window::Image_Work() {
    Image_Settings settings;
    settings.geometry = Bank_Map_Geometry(config, 0);
    master.For_Each_Selected_Bank([&](std::uint32_t bank) {
        const Image_Result result =
            Image_Bank(master, user, settings, bank, L"", [&](const Dump_Codeword&) { user.Check_Stop(); });
        if (result.uncorrectable) user.Set_Error(bank, Image_Text(result));
    });
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

int Window::Button_Menu(std::size_t button, const std::vector<std::pair<const wchar_t*, int>>& entries) {
    ZEKT_Win32_Popup<int> menu;
    for (const auto& [text, value] : entries) menu.Add(text, value);
    RECT area;
    GetWindowRect(Button(button), &area);
    return menu.Run(area.left, area.bottom) ? menu.Value() : -1;
}

void Window::Extra() {
    using enum Extra_Entry;
    std::vector<std::pair<const wchar_t*, int>> entries = {{L"Test USB", static_cast<int>(Test_USB)},
                                                           {L"Read ONFI", static_cast<int>(Read_ONFI)},
                                                           {L"Verify", static_cast<int>(Verify)}};
    if (Partial_Dumps(banks)) entries.push_back({L"Resume read", static_cast<int>(Resume_Read)});
    entries.push_back({L"Map", static_cast<int>(Map)});
    entries.push_back({L"Check ECC", static_cast<int>(Check_ECC)});
    entries.push_back({L"Image", static_cast<int>(Image)});
    const int chosen = Button_Menu(Extra_Button, entries);
    if (chosen >= 0) Run_Extra(static_cast<Extra_Entry>(chosen));
}

void Window::Run_Extra(Extra_Entry entry) {
    switch (entry) {
        case Extra_Entry::Test_USB:
            return Run_Action([this] { master.Test_USB(); });
        case Extra_Entry::Read_ONFI:
            return Run_Action([this] { master.Read_ONFI(); });
        case Extra_Entry::Verify: {
            Verify_Choice choice;
            choice.ecc = Ecc_Lists(banks);
            if (!ZEKT_Explorer_Properties::Run(main, L"Verify", choice, false)) return;
            return Run_Action([this, reread = choice.reread, ecc = choice.ecc] { Verify_Work(reread, ecc); });
        }
        case Extra_Entry::Resume_Read:
            return Run_Action([this] { Read_Work(true); });
        case Extra_Entry::Map:
            return Run_Action([this] { Map_Work(); });
        case Extra_Entry::Check_ECC:
            return Run_Action([this] { Check_Ecc_Work(); });
        case Extra_Entry::Image:
            return Run_Action([this] { Image_Work(); });
    }
}

void Window::Conf() {
    switch (Button_Menu(Conf_Button, {{L"Options", 0}, {L"Config", 1}})) {
        case 0:
            ZEKT_Explorer_Properties::Run(main, L"Chip Options", options, false);
            break;
        case 1:
            if (ZEKT_Explorer_Properties::Run(main, L"Chip", config, false)) Config_Changed();
            break;
    }
}

}  // namespace Korvane_Exe
