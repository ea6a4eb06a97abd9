// The workflow through the main window: real clicks on the buttons and
// menus, the emulator behind the link, files on disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/app/app_fixture.h"
#include "win32/gdi.h"
#include "win32/message_loop.h"

using Korvane_Exe::Mark_Error;
using Korvane_Exe::Mark_Normal;

namespace {

constexpr auto Read_Button = Korvane_Exe::Window::Read_Button;
constexpr auto Extra_Button = Korvane_Exe::Window::Extra_Button;


// Runs the real command-line program and answers its exit status.
DWORD Run_Cli(const std::wstring& arguments) {
    std::wstring line = L"\"" KORVANE_CLI_EXE L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return static_cast<DWORD>(-1);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD status = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

// Every file under a folder by its relative name, with its bytes.
std::map<std::wstring, std::vector<unsigned char>> Files_In(const std::filesystem::path& root) {
    std::map<std::wstring, std::vector<unsigned char>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream file(entry.path(), std::ios::binary);
        files[std::filesystem::relative(entry.path(), root).wstring()] = {std::istreambuf_iterator<char>(file), {}};
    }
    return files;
}


bool Starts_With(const std::wstring& text, const std::wstring& start) { return text.rfind(start, 0) == 0; }

std::vector<bool> Children_Enabled(HWND parent) {
    std::vector<bool> enabled;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        enabled.push_back(IsWindowEnabled(child));
    return enabled;
}

}  // namespace

class Read_Test : public App_Test {
protected:
    void Choose_Folder() {
        dialogs.folder = folder.path.wstring();
        Press(window->Folder_Field());
    }
    // Picks an entry of the "Extra" menu by its position.
    void Extra(int entry) {
        std::vector<Step> steps;
        for (int down = 0; down <= entry; ++down) steps.push_back([] { Menu_Key(VK_DOWN); });
        steps.push_back([] { Menu_Enter(); });
        Script(std::move(steps), [&] { Press(window->Button(Extra_Button)); });
    }
};

TEST_F(Read_Test, DemoChipGivesTheCliFilesWhileTheWindowStaysLocked) {
    Use_Demo();
    Choose_Folder();
    HWND main = window->Main();
    const std::vector<bool> before = Children_Enabled(main);
    ASSERT_EQ(before, std::vector<bool>(before.size(), true));

    // Looked at from a fast timer, whose ticks come with every pump of the dump.
    std::vector<bool> during;
    bool survived_close = false;
    // The "Extra" button's violet caption and the "Folder" label's brown: greyed while locked.
    HWND extra = window->Button(Korvane_Exe::Window::Extra_Button);
    const auto coloured = [&] {
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        return Count_Colour(Screen_Of(extra), {0, 0, 45, 13}, RGB(128, 0, 255)) +
               Count_Colour(Screen_Of(window->Folder_Field()), {0, 0, 55, 15}, RGB(128, 64, 0));
    };
    int coloured_during = -1;
    // Handled up to the click: the worker then waits for this thread's first
    // answer, and the lock is looked at while it holds.
    PostMessageW(window->Button(Read_Button), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(window->Button(Read_Button), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    for (MSG message; !window->Busy() && GetMessageW(&message, nullptr, 0, 0);) DispatchMessageW(&message);
    during = Children_Enabled(main);
    coloured_during = coloured();
    // Greyed, the folder's text still reads at 4.5:1 on its greyed cell.
    const int readable = Screen_Of(window->Folder_Field()).Count(
        {57, 2, 258, 13}, [](COLORREF c) { return Contrast_Ratio(c, RGB(240, 240, 240)) >= 4.5; });
    Screenshot(main, L"dump-in-progress");
    // Closing asks "Stop the dump?"; N keeps the dump going.
    PostMessageW(main, WM_CLOSE, 0, 0);
    Script({Until([&] {
               HWND question = Popup(L"Select chip");
               if (question) PostMessageW(question, WM_KEYDOWN, 'N', 0);
               return question != nullptr;
           })},
           [&] { Wait_Idle(); });
    survived_close = IsWindow(main);
    // Only the strip stays enabled, for its "Stop".
    std::vector<bool> locked(before.size(), false);
    locked.back() = true;
    EXPECT_EQ(during, locked);
    EXPECT_EQ(coloured_during, 0);
    EXPECT_GT(readable, 20);
    EXPECT_GT(coloured(), 10);
    EXPECT_TRUE(survived_close);
    EXPECT_EQ(Children_Enabled(main), before);
    EXPECT_EQ(FindWindowExW(window->Banks().Control(), nullptr, nullptr, L"Progress"), nullptr);
    for (const std::wstring& result : Results()) EXPECT_TRUE(Starts_With(result, L"Reading done (")) << result;
    EXPECT_TRUE(boxes.empty());

    Temp_Folder cli_folder;
    ASSERT_EQ(Run_Cli(L"--simulate read --config \"" + Demo_Profile() + L"\" --folder \"" + cli_folder.path.wstring() +
                      L"\" --yes"),
              0u);
    const auto ours = Files_In(folder.path);
    EXPECT_EQ(ours.size(), 5u);
    EXPECT_TRUE(ours == Files_In(cli_folder.path));
}

class Overwrite_Test : public Read_Test, public ::testing::WithParamInterface<bool> {};

// The question box's "Yes" and "No" are its first and second child.
TEST_P(Overwrite_Test, SecondReadAsksAndNoReadsNothing) {
    Use_Demo();
    Choose_Folder();
    Press(window->Button(Read_Button));
    ASSERT_TRUE(boxes.empty());
    // A bit map alone asks; a short dump would ask to resume first.
    folder.Put(L"01_02.dump.bb", {1, 2, 3});
    const bool yes = GetParam();
    Script({Until([&] {
               HWND question = Popup(L"Select chip");
               if (!question) return false;
               HWND button = GetWindow(question, GW_CHILD);
               Click(yes ? button : GetWindow(button, GW_HWNDNEXT));
               return true;
           })},
           [&] { Press(window->Button(Read_Button)); });
    EXPECT_EQ(folder.Bytes(L"01_02.dump.bb").size(), yes ? 0x6c000u : 3u);
}

INSTANTIATE_TEST_SUITE_P(Answers, Overwrite_Test, ::testing::Bool());

// A dead chip enable fails its bank in red, selected or not; the next bank is read.
TEST_F(Read_Test, FailingBankShowsItsErrorInRedAndTheNextIsRead) {
    Use_Demo(L"\r\nSim Dead CE  1\r\n");
    Choose_Folder();
    Press(window->Button(Read_Button));
    ASSERT_EQ(Results().size(), 2u);
    EXPECT_EQ(Results()[0], L"ff ff ff ff   Wrong ID");
    EXPECT_EQ(window->Banks().Mark(0), Mark_Error);
    EXPECT_TRUE(Starts_With(Results()[1], L"Reading done (")) << Results()[1];
    EXPECT_EQ(window->Banks().Mark(1), Mark_Normal);
    EXPECT_EQ(Selected_Count(), 2);

    UpdateWindow(window->Banks().Control());
    const Picture list = Screen_Of(window->Banks().Control());
    RECT rows[2];
    for (int index = 0; index < 2; ++index) {
        rows[index].left = LVIR_BOUNDS;
        SendMessageW(window->Banks().Control(), LVM_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&rows[index]));
    }
    // Selected, the error is a red dark enough to read on the salmon row (WCAG AA).
    const COLORREF salmon = RGB(250, 180, 133);
    const auto dark_red = [](COLORREF c) { return GetRValue(c) >= 100 && GetGValue(c) <= 40 && GetBValue(c) <= 40; };
    EXPECT_GT(list.Count(rows[0], [&](COLORREF c) { return dark_red(c) && Contrast_Ratio(c, salmon) >= 4.5; }), 20);
    EXPECT_EQ(Count_Colour(list, rows[0], RGB(255, 0, 0)), 0);
    EXPECT_LT(Contrast_Ratio(RGB(255, 0, 0), salmon), 2.5);
    EXPECT_EQ(list.Count(rows[1], dark_red), 0);
    EXPECT_GT(list.Count(rows[1], Is_Dark), 20);
    EXPECT_GT(Count_Colour(list, rows[0], salmon), 100);
    Screenshot(window->Main(), L"failed-bank");
    // Not selected, it is the pure red of the marks.
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(window->Banks().Control(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&none));
    Pump_Messages();
    UpdateWindow(window->Banks().Control());
    EXPECT_GT(Screen_Of(window->Banks().Control()).Count(rows[0], Is_Red), 20);
}

struct Bar_Case {
    std::uint32_t per_mille;
    int filled;  // columns of green inside the frame
};

class Progress_Bar_Test : public App_Test, public ::testing::WithParamInterface<Bar_Case> {};

TEST_P(Progress_Bar_Test, BarOverTheRowsRightEndShowsThePosition) {
    auto progress = window->Banks().Start_Progress(2);
    HWND bar = FindWindowExW(window->Banks().Control(), nullptr, nullptr, L"Progress");
    ASSERT_NE(bar, nullptr);
    RECT row = {};
    row.left = LVIR_BOUNDS;
    SendMessageW(window->Banks().Control(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    RECT placed;
    GetWindowRect(bar, &placed);
    MapWindowPoints(nullptr, window->Banks().Control(), reinterpret_cast<POINT*>(&placed), 2);
    const RECT expected = {row.right - 55, (row.top + row.bottom - 7) / 2, row.right - 5, (row.top + row.bottom - 7) / 2 + 7};
    EXPECT_TRUE(EqualRect(&placed, &expected));

    progress->Set_Status(L"Read...");
    progress->Set_Position(GetParam().per_mille);
    if (GetParam().per_mille == 500) Screenshot(window->Main(), L"progress-half");
    const Picture picture = Print_Window(bar);
    ASSERT_EQ(picture.width, 50);
    ASSERT_EQ(picture.height, 7);
    EXPECT_EQ(Count_Colour(picture, {0, 0, 50, 7}, RGB(0, 0, 0)), 2 * 50 + 2 * 5);
    EXPECT_EQ(Count_Colour(picture, {1, 1, 49, 6}, RGB(0, 202, 0)), GetParam().filled * 5);
    EXPECT_EQ(Count_Colour(picture, {1, 1, 49, 6}, RGB(255, 255, 255)), (48 - GetParam().filled) * 5);
    progress.reset();
    EXPECT_FALSE(IsWindow(bar));
}

INSTANTIATE_TEST_SUITE_P(Positions, Progress_Bar_Test,
                         ::testing::Values(Bar_Case{0, 0}, Bar_Case{500, 24}, Bar_Case{20, 1}, Bar_Case{999, 48}, Bar_Case{1000, 48}));

// Owned by the main window, the box shows over it, wherever the focus is.
TEST_F(Read_Test, TestUsbShowsTheFourLinesOverTheMainWindow) {
    Use_Demo();
    Extra(0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Read  256   OK\nRead    4   OK\nWrite 256   OK\nRead  256   OK\n\n");
    EXPECT_EQ(boxes[0].caption, L"Message");
    EXPECT_EQ(boxes[0].owner, window->Main());
}

// Left open, the report goes with the program's end; closed by the user,
// it goes at once. Either way no handler stays behind.
class Onfi_Test : public Read_Test, public ::testing::WithParamInterface<bool> {};

TEST_P(Onfi_Test, ReportWindowCentredOverTheMainWindowGoesWithoutATrace) {
    Use_Demo();
    // Not through the menu's script: its end closes the popups still open.
    window->Run_Extra(Korvane_Exe::Window::Extra_Entry::Read_ONFI);
    Wait_Idle();
    HWND report = FindWindowW(nullptr, L"ONFI");
    EXPECT_FALSE(IsWindowEnabled(window->Main()));
    ASSERT_NE(report, nullptr);
    HWND edit = GetWindow(report, GW_CHILD);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    EXPECT_TRUE(Starts_With(text, L"Header 4f 4e 46 49 \r\n\r\nManufacturer: ")) << text;
    EXPECT_NE(text.find(L"\r\nBlock: 0x"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"\r\nBits per cell: "), std::wstring::npos) << text;

    RECT main, shown;
    GetWindowRect(window->Main(), &main);
    GetWindowRect(report, &shown);
    const int width = shown.right - shown.left, height = shown.bottom - shown.top;
    EXPECT_EQ(shown.left, std::max(0L, main.left + (main.right - main.left - width) / 2));
    EXPECT_EQ(shown.top, std::max(0L, main.top + (main.bottom - main.top - height) / 2));
    EXPECT_EQ(Tracked_Windows(), std::vector<HWND>{report});
    if (!GetParam()) Screenshot(report, L"onfi-report");
    if (GetParam()) {
        SendMessageW(report, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(report));
        EXPECT_TRUE(Tracked_Windows().empty());
        EXPECT_TRUE(IsWindowEnabled(window->Main()));
    }
    Close();
    EXPECT_FALSE(IsWindow(report));
    EXPECT_TRUE(Tracked_Windows().empty());
}

INSTANTIATE_TEST_SUITE_P(ClosedByUser, Onfi_Test, ::testing::Bool());
