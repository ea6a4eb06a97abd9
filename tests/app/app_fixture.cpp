#include "tests/app/app_fixture.h"

#include <filesystem>

#include "emulator/profile.h"
#include "emulator/selection.h"
#include "framework/properties.h"

std::wstring Demo_Profile() { return L"" KORVANE_SOURCE_DIR L"/emulator/profiles/demo.txt"; }

void App_Test::SetUp() {
    Dialog_Test::SetUp();
    Korvane_Exe::Install_Dialogs(&dialogs);
    window.emplace();
}

void App_Test::TearDown() {
    Close();
    Korvane_Exe::Install_Dialogs(nullptr);
    if (emulator) Korvane_Emulator::Select_Virtual_Reader(nullptr);
    Dialog_Test::TearDown();
}

void App_Test::Close() {
    if (!window) return;
    PostMessageW(window->Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Run_Message_Loop(), 0);
    EXPECT_FALSE(IsWindow(window->Main()));
    window.reset();
}

void App_Test::Use_Demo(const std::wstring& extra_keys) { Use_Profile(Read_Text_File(Demo_Profile()) + extra_keys); }

void App_Test::Use_Profile(const std::wstring& text) {
    Korvane_Emulator::Sim_Profile profile = Korvane_Emulator::Parse_Profile(text, L"demo");
    emulator = Korvane_Emulator::Select_Profile(profile);
    window->Config() = profile.config;
    window->Config_Changed();
}

void App_Test::Press(HWND control, bool fast_second) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    // With CS_DBLCLKS the system turns a quick second press into this.
    if (fast_second) {
        PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    Pump_Messages();
    Wait_Idle();
}

void App_Test::Wait_Idle() {
    while (window && window->Busy()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump_Messages();
    }
}

std::vector<std::wstring> App_Test::Results() {
    std::vector<std::wstring> results;
    for (int row = 0; row < window->Banks().Count(); ++row) results.push_back(window->Banks().Result(row));
    return results;
}

int App_Test::Selected_Count() { return static_cast<int>(window->Banks().Selected_Banks().size()); }

int Count_Colour(const Picture& picture, const RECT& area, COLORREF colour) {
    return picture.Count(area, [colour](COLORREF pixel) { return pixel == colour; });
}

void App_Test::Screenshot(HWND shown, const std::wstring& name) {
    std::filesystem::create_directories("screenshots");
    Keep_Screenshot(Screen_Of(shown), L"screenshots\\" + name + L".bmp");
}
