#include "tests/app/app_fixture.h"

#include <filesystem>
#include <fstream>

#include "emulator/profile.h"
#include "emulator/selection.h"
#include "framework/properties.h"

namespace {

std::vector<std::function<void()>> script;

void CALLBACK Next_Step(HWND, UINT, UINT_PTR, DWORD) {
    if (script.empty()) return;
    auto step = script.front();
    script.erase(script.begin());
    step();
}

}  // namespace

Timer_Script::Timer_Script(std::vector<std::function<void()>> steps, UINT period_ms)
    : timer(SetTimer(nullptr, 0, period_ms, Next_Step)) {
    script = std::move(steps);
}

Timer_Script::~Timer_Script() {
    KillTimer(nullptr, timer);
    script.clear();
}

bool Timer_Script::Done() const { return script.empty(); }

std::wstring Demo_Profile() { return L"" KORVANE_SOURCE_DIR L"/emulator/profiles/demo.txt"; }

void App_Test::SetUp() {
    Toolkit_Test::SetUp();
    Korvane_Exe::Install_Dialogs(&dialogs);
    window.emplace();
}

void App_Test::TearDown() {
    Close();
    Korvane_Exe::Install_Dialogs(nullptr);
    if (emulator) Korvane_Emulator::Select_Virtual_Reader(nullptr);
    Toolkit_Test::TearDown();
}

void App_Test::Close() {
    if (!window) return;
    PostMessageW(window->Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Run_Message_Loop(), 0);
    EXPECT_FALSE(IsWindow(window->Main()));
    window.reset();
}

void App_Test::Use_Demo(const std::wstring& extra_keys) {
    Korvane_Emulator::Sim_Profile profile =
        Korvane_Emulator::Parse_Profile(Read_Text_File(Demo_Profile()) + extra_keys, L"demo");
    emulator = Korvane_Emulator::Select_Profile(profile);
    window->Config() = profile.config;
    window->Config_Changed();
}

void App_Test::Click(HWND control, bool fast_second) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    // With CS_DBLCLKS the system turns a quick second press into this.
    if (fast_second) {
        PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    Pump_Messages();
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
    const Picture picture = Screen_Of(shown);
    std::filesystem::create_directories("screenshots");
    std::ofstream file(std::filesystem::path(L"screenshots") / (name + L".bmp"), std::ios::binary);
    // A 32-bit top-down bitmap file.
    const std::uint32_t pixel_bytes = static_cast<std::uint32_t>(picture.pixels.size() * 4);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + pixel_bytes;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = -picture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    file.write(reinterpret_cast<const char*>(&header), sizeof header);
    file.write(reinterpret_cast<const char*>(&info), sizeof info);
    for (COLORREF pixel : picture.pixels) {
        const RGBQUAD quad = {GetBValue(pixel), GetGValue(pixel), GetRValue(pixel), 0};
        file.write(reinterpret_cast<const char*>(&quad), sizeof quad);
    }
}
