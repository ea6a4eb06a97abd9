// Fixture of the program's window tests: the real main window over the
// emulator, the system dialogs answered by the test, and the window closed
// through the real message loop at the end.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/system_dialogs.h"
#include "app/window.h"
#include "emulator/virtual_reader.h"
#include "tests/temp_folder.h"
#include "tests/app/dialog_test.h"

// The system dialogs as a test answers them.
struct Answering_Dialogs final : Korvane_Exe::System_Dialogs {
    std::optional<std::wstring> folder;   // the folder the browser returns
    std::wstring browse_title, browse_current;
    HWND browse_owner = nullptr;
    std::vector<std::wstring> copied;     // the clipboard's texts

    std::optional<std::wstring> Browse_Folder(HWND owner, const std::wstring& title,
                                              const std::wstring& current) override {
        browse_owner = owner;
        browse_title = title;
        browse_current = current;
        return folder;
    }
    // Import and export in the property dialogs are canceled.
    std::optional<std::wstring> Open_File(HWND) override { return std::nullopt; }
    std::optional<std::wstring> Save_File(HWND, const std::wstring&) override { return std::nullopt; }
    void Copy_Text(HWND, const std::wstring& text) override { copied.push_back(text); }
    std::vector<std::wstring> shown;      // the files given to the viewer
    void Show_File(HWND, const std::wstring& path) override { shown.push_back(path); }
};

// The demo chip of the emulator, as a settings text file.
std::wstring Demo_Profile();

class App_Test : public Dialog_Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Closes the main window with the close box and runs the message loop
    // to its end, as the program does.
    void Close();
    // The demo chip's configuration in the window and the emulator behind
    // the link, with extra emulator keys.
    void Use_Demo(const std::wstring& extra_keys = L"");
    // The same from a profile's text.
    void Use_Profile(const std::wstring& text);
    // A press and release on a control through the queue, then handled
    // until the action it started is over; a quick second one arrives as a
    // double click.
    void Press(HWND control, bool fast_second = false);
    // Handles messages until the worker's action is over.
    void Wait_Idle();
    // The rows' result texts, top to bottom.
    std::vector<std::wstring> Results();
    // How many rows are selected.
    int Selected_Count();
    // Keeps the screen under the window as screenshots/NAME.bmp in the build tree.
    void Screenshot(HWND window, const std::wstring& name);

    Answering_Dialogs dialogs;
    std::optional<Korvane_Exe::Window> window;
    std::shared_ptr<Korvane_Emulator::Virtual_Reader> emulator;
    Temp_Folder folder;
};

// Keys to an open popup menu, through the thread's queue.
inline HWND Menu_Window() { return FindWindowW(L"#32768", nullptr); }
inline void Menu_Key(WPARAM key) { PostMessageW(Menu_Window(), WM_KEYDOWN, key, 0); }
inline void Menu_Enter() { PostMessageW(Menu_Window(), WM_CHAR, L'\r', 0); }

// Pixels of a colour inside a rectangle of a picture.
int Count_Colour(const Picture& picture, const RECT& area, COLORREF colour);
