// korvane.exe itself, started as the user starts it.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Program {
    PROCESS_INFORMATION process = {};

    explicit Program(const wchar_t* simulator) {
        SetEnvironmentVariableW(L"KORVANE_SIMULATOR", simulator);
        std::wstring line = L"\"" KORVANE_EXE L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process));
        SetEnvironmentVariableW(L"KORVANE_SIMULATOR", nullptr);
    }
    ~Program() {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // A top-level window of the program with this title, waited for.
    HWND Find(const std::wstring& title) const {
        for (int tries = 0; tries < 200; ++tries) {
            for (HWND window = FindWindowW(nullptr, title.c_str()); window;
                 window = FindWindowExW(nullptr, window, nullptr, title.c_str())) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process.dwProcessId) return window;
            }
            Sleep(100);
        }
        return nullptr;
    }
};

std::wstring Box_Text(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[512] = {};
        GetWindowTextW(child, text, 512);
        if (GetDlgCtrlID(child) == 0xFFFF) return text;
    }
    return {};
}

struct Start_Case {
    const wchar_t* simulator;
    std::optional<std::wstring> message;
};

class Program_Test : public ::testing::TestWithParam<Start_Case> {};

}  // namespace

// Started (told about an unusable emulator profile when it is one) and
// closed with the close box, it ends with 0: no "Active handlers" box holds
// it up.
TEST_P(Program_Test, StartsOverTheEmulatorAndEndsCleanly) {
    Program program(GetParam().simulator);
    if (GetParam().message) {
        HWND box = program.Find(L"Message");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(Box_Text(box), *GetParam().message);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    HWND main = program.Find(L"Korvane v517");
    ASSERT_NE(main, nullptr);
    wchar_t class_name[256] = {};
    GetClassNameW(main, class_name, 256);
    EXPECT_EQ(std::wstring(class_name).rfind(L"ZEKT_Win32_Window", 0), 0u);
    // The icon the class is registered with lies in the program.
    HMODULE image = LoadLibraryExW(L"" KORVANE_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(FindResourceW(image, L"MAINICON", MAKEINTRESOURCEW(14)), nullptr);  // RT_GROUP_ICON
    FreeLibrary(image);

    PostMessageW(main, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(program.process.hProcess, 20000) == WAIT_OBJECT_0;
    EXPECT_TRUE(ended) << "held up by a box: " << (program.Find(L"Active handlers") ? "Active handlers" : "other");
    DWORD code = 99;
    GetExitCodeProcess(program.process.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Emulator, Program_Test,
    ::testing::Values(Start_Case{L"" KORVANE_SOURCE_DIR L"/emulator/profiles/demo.txt", std::nullopt},
                      Start_Case{L"No Such Chip", L"Error: Unknown emulator profile <No Such Chip>\n"}));
