#include "tests/app/dialog_test.h"

#include <memory>

#include "win32/window.h"

namespace {

std::vector<Dialog_Test::Step> steps;
bool script_overran = false;

BOOL CALLBACK Add_Popup(HWND window, LPARAM list) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (name == Class_Name() && IsWindowVisible(window) && GetWindow(window, GW_OWNER))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The popups a test opened: visible windows of the toolkit with an owner.
std::vector<HWND> Open_Popups() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), Add_Popup, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK Next_Step(HWND, UINT, UINT_PTR, DWORD) {
    if (steps.empty()) {
        for (HWND popup : Open_Popups()) {
            script_overran = true;
            PostMessageW(popup, WM_CLOSE, 0, 0);
        }
        return;
    }
    auto step = steps.front();
    steps.erase(steps.begin());
    step();
}

}  // namespace

namespace {

struct Retry {
    std::function<bool()> attempt;
    std::shared_ptr<int> tries;
    void operator()() const {
        if (attempt()) return;
        if (++*tries < 100)
            steps.insert(steps.begin(), *this);
        else
            ADD_FAILURE() << "the awaited window never came";
    }
};

}  // namespace

Dialog_Test::Step Dialog_Test::Until(std::function<bool()> attempt) {
    return Retry{std::move(attempt), std::make_shared<int>(0)};
}

void Dialog_Test::Script(std::vector<Step> script, const std::function<void()>& body) {
    steps = std::move(script);
    script_overran = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 40, Next_Step);
    body();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(steps.empty()) << steps.size() << " steps left when the popup ended";
    EXPECT_FALSE(script_overran) << "a popup was still open after the last step";
    steps.clear();
}

HWND Dialog_Test::Popup(const std::wstring& title) {
    HWND window = FindWindowW(Class_Name().c_str(), title.c_str());
    return window && IsWindowVisible(window) ? window : nullptr;
}

std::vector<HWND> Dialog_Test::Children(HWND parent, const std::wstring& class_name) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[256] = {};
        GetClassNameW(child, name, 256);
        if (lstrcmpiW(name, class_name.c_str()) == 0) found.push_back(child);
    }
    return found;
}

namespace {

HWND Tooltip_Of(HWND popup) {
    HWND found = nullptr;
    for (HWND window = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); window;
         window = FindWindowExW(nullptr, window, TOOLTIPS_CLASSW, nullptr))
        if (GetWindow(window, GW_OWNER) == popup) found = window;
    return found;
}

}  // namespace

int Dialog_Test::Tool_Count(HWND popup) {
    HWND tooltip = Tooltip_Of(popup);
    return tooltip ? static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

HWND Dialog_Test::Button_With_Tip(HWND popup, const std::wstring& tip) {
    HWND tooltip = Tooltip_Of(popup);
    for (int index = 0; tooltip && index < Tool_Count(popup); ++index) {
        wchar_t text[80] = {};
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.lpszText = text;
        if (SendMessageW(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&tool)) && tip == text)
            return reinterpret_cast<HWND>(tool.uId);
    }
    return nullptr;
}

void Dialog_Test::Click(HWND button) {
    ASSERT_NE(button, nullptr);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

void Dialog_Test::Keep_Screenshot(const Picture& picture, const std::wstring& file) {
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = -picture.height;  // top-down
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::vector<RGBQUAD> quads;
    for (COLORREF c : picture.pixels) quads.push_back({GetBValue(c), GetGValue(c), GetRValue(c), 0});
    BITMAPFILEHEADER head = {};
    head.bfType = 0x4D42;  // "BM"
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = static_cast<DWORD>(head.bfOffBits + quads.size() * sizeof(RGBQUAD));
    HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(out, &head, sizeof head, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, quads.data(), static_cast<DWORD>(quads.size() * sizeof(RGBQUAD)), &written, nullptr);
    CloseHandle(out);
}

void Dialog_Test::Double_Click_Row(HWND list, int index) {
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&row));
    const LPARAM point = MAKELPARAM(row.left + 10, (row.top + row.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list, WM_LBUTTONUP, 0, point);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageW(list, WM_LBUTTONUP, 0, point);
}

std::wstring Dialog_Test::Text_Of(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

std::vector<std::wstring> Dialog_Test::List_Rows(HWND list) {
    std::vector<std::wstring> rows;
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::wstring line;
        for (int column = 0; column < columns; ++column) {
            wchar_t text[256] = {};
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 256;
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            line += (column ? L"|" : L"") + std::wstring(text);
        }
        rows.push_back(line);
    }
    return rows;
}
