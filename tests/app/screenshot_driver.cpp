// Not a test: drives korvane.exe the way a user does, with real mouse and key
// messages, for the README's pictures (scripts/screenshots runs it under
// Wine and Xvfb):
//   screenshot_driver KORVANE_EXE PROFILE DUMP_FOLDER PICTURE_FOLDER
// The program starts over the emulated chip of PROFILE; the profile is
// imported as the chip configuration ("Conf", "Config", "Import", Enter),
// DUMP_FOLDER chosen in the folder browser, and "Read" pressed by the
// keyboard: Tab from field to field up to "Read", then Enter. After the dump
// the main window, its focus mark on "Read", is kept as main-window.bmp, then
// the chip list, filtered, with a row chosen by the keyboard, as
// chip-popup.bmp.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Waits up to 30 s for `find` to give a window.
HWND Wait_For(const char* what, const std::function<HWND()>& find) {
    for (int tries = 0; tries < 600; ++tries) {
        if (HWND found = find()) return found;
        Sleep(50);
    }
    throw std::runtime_error(std::string("no ") + what);
}

void Wait_Gone(const char* what, HWND window) {
    Wait_For(what, [&] { return IsWindow(window) ? nullptr : GetDesktopWindow(); });
}

HWND Shown(const wchar_t* class_name, const wchar_t* title) {
    HWND window = FindWindowW(class_name, title);
    return window && IsWindowVisible(window) ? window : nullptr;
}

std::vector<HWND> Children(HWND parent, const wchar_t* class_name = nullptr) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[256] = {};
        GetClassNameW(child, name, 256);
        if (!class_name || lstrcmpiW(name, class_name) == 0) found.push_back(child);
    }
    return found;
}

// A press and a release inside a control: the program clicks on the release.
void Click(HWND control) {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

void Key(HWND window, UINT key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    Sleep(150);
}

// Where the program's keyboard is: its focused window, else `main`.
HWND Keyboard_Of(HWND main) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info.hwndFocus ? info.hwndFocus : main;
}

// The open menu: Down `downs` times, then Enter.
void Choose_From_Menu(int downs) {
    HWND menu = Wait_For("menu", [] { return Shown(L"#32768", nullptr); });
    for (int down = 0; down < downs; ++down) Key(menu, VK_DOWN);
    PostMessageW(menu, WM_CHAR, L'\r', 0);
    Wait_Gone("menu closing", menu);
}

// The property dialog's four buttons, the right-most column, top to bottom:
// "Close", "Import", "Export", "OK"; fewer while the dialog is being built.
std::vector<HWND> Dialog_Buttons(HWND dialog) {
    std::vector<std::pair<RECT, HWND>> placed;
    if (Children(dialog).empty()) return {};
    for (HWND child : Children(dialog)) {
        RECT area;
        GetWindowRect(child, &area);
        placed.push_back({area, child});
    }
    const LONG right = std::max_element(placed.begin(), placed.end(), [](const auto& a, const auto& b) {
                           return a.first.left < b.first.left;
                       })->first.left;
    std::erase_if(placed, [&](const auto& p) { return p.first.left != right; });
    std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first.top < b.first.top; });
    std::vector<HWND> buttons;
    for (const auto& p : placed) buttons.push_back(p.second);
    return buttons;
}

// The folder browser belongs to the program: the path it is to select is
// written into the program's memory for it.
void Select_Folder(HWND browser, const std::wstring& folder) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(browser, &process_id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process_id);
    if (!process) throw std::runtime_error("can't reach the program's memory");
    const SIZE_T bytes = (folder.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    if (!remote || !WriteProcessMemory(process, remote, folder.c_str(), bytes, nullptr))
        throw std::runtime_error("can't write into the program's memory");
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool All_Enabled(HWND parent) {
    const auto children = Children(parent);
    return std::all_of(children.begin(), children.end(), [](HWND child) { return IsWindowEnabled(child); });
}

// The screen under a window's client area, as a 24-bit BMP file. The frame
// is left out: it is the system's, and Wine without its own fonts draws the
// caption buttons as letters.
void Keep(HWND window, const std::wstring& file) {
    Sleep(700);  // the last repaints
    RECT area;
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const int width = area.right - area.left, height = area.bottom - area.top;
    const int row_bytes = (width * 3 + 3) & ~3;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as BMP files keep their rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::vector<BYTE> pixels(static_cast<std::size_t>(row_bytes) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER head = {};
    head.bfType = 0x4D42;  // "BM"
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = static_cast<DWORD>(head.bfOffBits + pixels.size());
    FILE* out = _wfopen(file.c_str(), L"wb");
    if (!out) throw std::runtime_error("can't write a picture");
    fwrite(&head, sizeof head, 1, out);
    fwrite(&info, sizeof info, 1, out);
    fwrite(pixels.data(), 1, pixels.size(), out);
    fclose(out);
}

void Drive(const std::wstring& program, const std::wstring& profile, const std::wstring& dumps,
           const std::wstring& pictures) {
    SetEnvironmentVariableW(L"KORVANE_SIMULATOR", profile.c_str());
    std::wstring line = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        throw std::runtime_error("can't start korvane.exe");
    CloseHandle(started.hThread);
    // Whatever fails on the way, the program does not stay behind.
    struct Ender {
        HANDLE process;
        ~Ender() {
            if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
            CloseHandle(process);
        }
    } ender{started.hProcess};

    HWND main = Wait_For("main window", [] { return Shown(nullptr, L"Korvane v517"); });
    // Shown before its controls are made: complete once the strip holds its five buttons.
    Wait_For("main window's controls", [&] {
        const auto controls = Children(main);
        return controls.size() == 5 && Children(controls[4]).size() == 5 ? main : nullptr;
    });
    Sleep(500);  // the first fill of the bank list
    const auto controls = Children(main);      // folder, chip, number, banks, strip
    const auto strip = Children(controls[4]);  // "*", "ID", "Read", "Extra", "Conf"

    // "Conf", "Config": the demo chip's configuration imported, then Enter for "OK".
    Click(strip[4]);
    Choose_From_Menu(2);
    HWND chip = Wait_For("\"Chip\" dialog", [] { return Shown(nullptr, L"Chip"); });
    Click(Wait_For("the dialog's buttons", [&] {
        const auto buttons = Dialog_Buttons(chip);
        return buttons.size() == 4 ? buttons[1] : nullptr;
    }));
    HWND open = Wait_For("open dialog", [] { return Shown(L"#32770", nullptr); });
    HWND name = GetDlgItem(open, cmb13) ? GetDlgItem(open, cmb13) : GetDlgItem(open, edt1);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(profile.c_str()));
    PostMessageW(open, WM_COMMAND, IDOK, 0);
    Wait_Gone("open dialog closing", open);
    Key(Children(chip, L"Edit").at(0), VK_RETURN);
    Wait_Gone("\"Chip\" dialog closing", chip);

    // The work folder through the folder browser.
    Click(controls[0]);
    HWND browser = Wait_For("folder browser", [] { return Shown(L"#32770", nullptr); });
    Sleep(1000);  // the browser selects the current folder first
    Select_Folder(browser, dumps);
    PostMessageW(browser, WM_COMMAND, IDOK, 0);
    Wait_Gone("folder browser closing", browser);

    // "Read" by the keyboard: Tab from the folder field on to "Read", then
    // Enter. Done when the last bit map is there and the controls take input
    // again.
    for (int tab = 0; tab < 7 && Keyboard_Of(main) != strip[2]; ++tab) Key(Keyboard_Of(main), VK_TAB);
    if (Keyboard_Of(main) != strip[2]) throw std::runtime_error("Tab did not reach \"Read\"");
    Key(Keyboard_Of(main), VK_RETURN);
    Wait_For("dump", [&] { return Exists(dumps + L"\\01_02.dump.bb") && All_Enabled(main) ? main : nullptr; });
    Keep(main, pictures + L"\\main-window.bmp");

    // The chip list, filtered; Tab, Tab and Down choose its second row.
    Click(controls[1]);
    HWND popup = Wait_For("chip list", [] {
        HWND shown = Shown(nullptr, L"Select chip");
        return shown && Children(shown, L"Edit").size() == 2 && Children(shown, L"SysListView32").size() == 1
                   ? shown
                   : nullptr;
    });
    Sleep(500);  // the first fill
    const auto filters = Children(popup, L"Edit");
    SendMessageW(filters.at(0), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"TH58"));
    Key(filters.at(0), VK_TAB);
    Key(filters.at(1), VK_TAB);
    HWND list = Children(popup, L"SysListView32").at(0);
    Key(list, VK_DOWN);
    Key(list, VK_DOWN);
    Keep(popup, pictures + L"\\chip-popup.bmp");
    Key(list, VK_ESCAPE);
    Wait_Gone("chip list closing", popup);

    PostMessageW(main, WM_CLOSE, 0, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        fputs("usage: screenshot_driver KORVANE_EXE PROFILE DUMP_FOLDER PICTURE_FOLDER\n", stderr);
        return 2;
    }
    try {
        Drive(argv[1], argv[2], argv[3], argv[4]);
    } catch (const std::exception& failure) {
        fprintf(stderr, "screenshot_driver: %s\n", failure.what());
        return 1;
    }
    return 0;
}
