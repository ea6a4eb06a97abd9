// The main window by keyboard alone, Stop, and popups that stay over it:
// key messages posted to the focused window, as the screenshot driver
// sends them to the real program.
#include <gtest/gtest.h>

#include "tests/app/app_fixture.h"
#include "framework/properties.h"
#include "win32/message_loop.h"

namespace {

using W = Korvane_Exe::Window;

// A key pressed and released where the keyboard is, then handled.
void Key(WPARAM key) {
    HWND to = GetFocus() ? GetFocus() : GetActiveWindow();
    PostMessageW(to, WM_KEYDOWN, key, 1);
    PostMessageW(to, WM_KEYUP, key, 0xC0000001);
    Pump_Messages();
}

void Chord(WPARAM modifier, WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, modifier, 1);
    Key(key);
    PostMessageW(GetFocus(), WM_KEYUP, modifier, 0xC0000001);
    Pump_Messages();
}

// The answer of the question box, typed once it shows; `on_first`: whether
// the keyboard was on its first answer.
Dialog_Test::Step Answer(WPARAM key, bool* on_first = nullptr) {
    return Dialog_Test::Until([key, on_first] {
        HWND question = Dialog_Test::Popup(L"Select chip");
        if (!question || !GetFocus()) return false;
        if (on_first) *on_first = GetFocus() == GetWindow(question, GW_CHILD);
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        return true;
    });
}

}  // namespace

class Keyboard_Test : public App_Test {};

// From a fresh window to a second dump over the first, keys only.
TEST_F(Keyboard_Test, WholeDumpAndOverwriteByKeyboardAlone) {
    Use_Demo();
    dialogs.folder = folder.path.wstring();
    ASSERT_EQ(GetFocus(), window->Folder_Field());
    Chord(VK_CONTROL, 'O');
    EXPECT_EQ(window->Options().Work_Folder, folder.path.wstring() + L"\\");

    const std::vector<HWND> order = {window->Chip_Field(), window->Chip_Number().Window(), window->Banks().Control(),
                                     window->Button(W::All_Button), window->Button(W::ID_Button),
                                     window->Button(W::Read_Button)};
    for (HWND next : order) {
        Key(VK_TAB);
        EXPECT_EQ(GetFocus(), next);
    }
    Chord(VK_SHIFT, VK_TAB);
    EXPECT_EQ(GetFocus(), window->Button(W::ID_Button));
    Key(VK_TAB);
    Key(VK_RETURN);
    Wait_Idle();
    for (const std::wstring& result : Results()) EXPECT_EQ(result.rfind(L"Reading done (", 0), 0u) << result;

    folder.Put(L"01_01.dump", {1, 2, 3});
    bool on_yes = false;
    Script({Answer(VK_RETURN, &on_yes)}, [&] {
        Key(VK_F5);
        Wait_Idle();
    });
    EXPECT_TRUE(on_yes);
    EXPECT_EQ(folder.Bytes(L"01_01.dump").size(), 0x360000u);
    EXPECT_EQ(GetFocus(), window->Button(W::Read_Button));
}

enum class Stop_By { Escape, Stop_Button, Close_Box };

class Stop_Test : public App_Test, public ::testing::WithParamInterface<Stop_By> {};

// A long dump stopped mid-way: the row says so, the part read stays, the
// link is closed; closing the window ends it after the stop.
TEST_P(Stop_Test, StopAnsweredYesCancelsAtTheNextChunk) {
    // The demo chip, 1024 times larger: a dump that lasts seconds.
    std::wstring big = Read_Text_File(Demo_Profile());
    big.replace(big.find(L"2 x 4 MB\nPage"), 8, L"2 x 1 GB");
    big.replace(big.find(L"0x2\n"), 3, L"0x800");
    Use_Profile(big);
    dialogs.folder = folder.path.wstring();
    Press(window->Folder_Field());
    SetFocus(window->Folder_Field());
    HWND main = window->Main();
    const auto stop = [&] {
        if (!std::filesystem::exists(folder.path / L"01_01.dump")) return false;
        EXPECT_EQ(GetFocus(), window->Button(W::Read_Button));
        switch (GetParam()) {
            case Stop_By::Escape:
                Key(VK_ESCAPE);
                break;
            case Stop_By::Stop_Button:
                Key(VK_SPACE);
                break;
            case Stop_By::Close_Box:
                PostMessageW(main, WM_CLOSE, 0, 0);
                break;
        }
        return true;
    };
    Script({Until(stop), Answer('Y')}, [&] {
        Key(VK_F5);
        Wait_Idle();
    });
    const std::uintmax_t kept = std::filesystem::file_size(folder.path / L"01_01.dump");
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 0x1b0000ull * 0x800) << kept;
    EXPECT_FALSE(emulator->Link_Open());
    EXPECT_EQ(emulator->Transcript().back(), L"close");
    EXPECT_FALSE(std::filesystem::exists(folder.path / L"01_02.dump"));
    if (GetParam() == Stop_By::Close_Box) {
        EXPECT_FALSE(IsWindow(main));
        return;
    }
    EXPECT_EQ(Results(), (std::vector<std::wstring>{L"Canceled.", L""}));
    EXPECT_EQ(window->Banks().Mark(0), Korvane_Exe::Mark_Error);
}

INSTANTIATE_TEST_SUITE_P(Triggers, Stop_Test,
                         ::testing::Values(Stop_By::Escape, Stop_By::Stop_Button, Stop_By::Close_Box));

// Brought to the top, the main window still lies under its open popup,
// and it takes no input meanwhile.
TEST_F(Keyboard_Test, PopupStaysAboveTheDisabledMainWindow) {
    Use_Demo();
    HWND main = window->Main();
    bool above = false, main_enabled = true;
    Script({Until([&] {
               HWND popup = Popup(L"Select chip");
               if (!popup) return false;
               SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
               BringWindowToTop(main);
               for (HWND below = popup; below; below = GetWindow(below, GW_HWNDNEXT)) above = above || below == main;
               main_enabled = IsWindowEnabled(main);
               PostMessageW(popup, WM_CLOSE, 0, 0);
               return true;
           })},
           [&] { Key(VK_F4); });
    EXPECT_TRUE(above);
    EXPECT_FALSE(main_enabled);
    EXPECT_TRUE(IsWindowEnabled(main));
}

// "Verify", "Map" and "Resume read" after a dump: the rows say what the CLI's
// rows say, the maps go to the viewer, and a cut dump is read to its end.
TEST_F(Keyboard_Test, ExtraActionsAnswerInTheBankRows) {
    using Entry = W::Extra_Entry;
    Use_Demo();
    dialogs.folder = folder.path.wstring();
    Press(window->Folder_Field());
    Press(window->Button(W::Read_Button));
    // The "Verify" dialog's "Re-reads" taken as it comes, with Enter.
    Script({Until([] {
               if (!Popup(L"Verify")) return false;
               PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
               return true;
           })},
           [&] {
               window->Run_Extra(Entry::Verify);
               Wait_Idle();
           });
    EXPECT_EQ(Results(), (std::vector<std::wstring>{L"Identical (384 pages)", L"Identical (384 pages)"}));

    window->Run_Extra(Entry::Map);
    Wait_Idle();
    for (const std::wstring& result : Results()) EXPECT_EQ(result.rfind(L"2 blocks: 0 bad", 0), 0u) << result;
    EXPECT_EQ(dialogs.shown, (std::vector<std::wstring>{window->Options().Work_Folder + L"01_01.dump.svg",
                                                        window->Options().Work_Folder + L"01_02.dump.svg"}));

    std::filesystem::resize_file(folder.path / L"01_02.dump", 0x100000);
    ASSERT_TRUE(window->Partial_Dumps(window->Banks()));
    // "Read" asks first; C for "Cancel" leaves the cut dump as it is.
    Script({Answer('C')}, [&] { Key(VK_F5), Wait_Idle(); });
    EXPECT_EQ(std::filesystem::file_size(folder.path / L"01_02.dump"), 0x100000u);
    window->Run_Extra(Entry::Resume_Read);
    Wait_Idle();
    EXPECT_EQ(Results()[0], L"Dump complete, left alone");
    EXPECT_EQ(Results()[1].rfind(L"Reading done (", 0), 0u) << Results()[1];
    EXPECT_EQ(std::filesystem::file_size(folder.path / L"01_02.dump"), 0x360000u);
    EXPECT_FALSE(window->Partial_Dumps(window->Banks()));
}
