// A small window built from the toolkit, for looking at it: a button strip,
// a list view with a marked row, and a popup menu behind "Extra". With
// "--popup" the menu opens by itself shortly after the start.
#include <windows.h>

#include <string>

#include "win32/handlers.h"
#include "win32/list_view.h"
#include "win32/logs.h"
#include "win32/message_loop.h"
#include "win32/popup.h"
#include "win32/toolbar.h"
#include "win32/window.h"

namespace {

class Demo_List : public ZEKT_Win32_ListView<int> {
public:
    void Selected(int, int&) override {}
    void Deleted(int, int&) override {}
    void Activated(int, int&) override {}
    void Right_Click_Empty(int, int) override {}
    void Right_Click(int, int&, int, int) override {}
    bool Begin_Edit(int, int&) override { return false; }
    void End_Edit(int, int&, const std::wstring&) override {}
};

class Demo {
public:
    explicit Demo(bool open_popup) {
        handlers.Add_Handler(nullptr, WM_ERASEBKGND, this, &Demo::On_Erase);
        handlers.Add_Handler(nullptr, WM_DESTROY, this, &Demo::On_Destroy);
        handlers.Add_Handler(nullptr, WM_TIMER, this, &Demo::On_Timer);
        window = Create_Toolkit_Window(0, L"Toolkit demo", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 20, 375, 210,
                                       nullptr);
        using Event = ZEKT_Event_Object<Demo>;
        strip.Create(window, 0, 60, 375,
                     {{L"*", nullptr, Event(this, &Demo::Select_All)},
                      {L"ID", nullptr, {}},
                      {L"Read", nullptr, {}},
                      {L"Extra", nullptr, Event(this, &Demo::Extra)},
                      {L"Conf", nullptr, {}}});
        list.Set_Font(list_font.Get());
        list.Set_Background(RGB(254, 244, 235));
        list.Set_Selected_Colours(RGB(0, 0, 0), RGB(250, 180, 133));
        list.Create(window, 0, 80, 375, 100);
        list.Add_Column(L"Bank", 55);
        list.Add_Column(L"Result", 0);
        const wchar_t* results[] = {L"Reading done (00:00:02)", L"", L"Wrong ID <98 3a 98 a3>", L""};
        for (int i = 0; i < 4; ++i) {
            list.Add_Row(L"Bank_" + std::to_wstring(i + 1), 0, i == 2 ? 255 : 0, i + 1);
            list.Set_Text(i, 1, results[i]);
        }
        list.Fit_Height();
        menu.Add(L"Test USB", 1);
        menu.Add(L"Read ONFI", 2);
        if (open_popup) SetTimer(window, 1, 700, nullptr);
    }

    void Select_All() { list.Select_All(); }

    void Extra() {
        RECT button;
        GetWindowRect(strip.Button(3).Window(), &button);
        if (menu.Run(button.left, button.bottom)) {
            ZEKT_Win32_Message_Log log;
            log.Print(L"Chosen <%d>\n", menu.Value());
        }
    }

private:
    ZEKT_Box<LRESULT> On_Erase(HWND, UINT, WPARAM wparam, LPARAM) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wparam), &client, background.Get());
        return ZEKT_Win32_Handled(1);
    }
    ZEKT_Box<LRESULT> On_Destroy(HWND, UINT, WPARAM, LPARAM) {
        PostQuitMessage(0);
        return ZEKT_Win32_Not_Handled();
    }
    // Opens the menu and moves to its first entry, as a user would.
    ZEKT_Box<LRESULT> On_Timer(HWND, UINT, WPARAM, LPARAM) {
        KillTimer(window, 1);
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
        Extra();
        return ZEKT_Win32_Handled(0);
    }

    ZEKT_Win32_Handlers handlers;
    ZEKT_Win32_Brush background{RGB(254, 215, 175)};
    ZEKT_Win32_Font list_font{L"Lucida Console", 11};
    ZEKT_Win32_Text_Style style{RGB(255, 0, 128), RGB(128, 0, 255), RGB(255, 217, 236)};
    HWND window = nullptr;
    ZEKT_Win32_ToolBar strip{style, RGB(254, 215, 175)};
    Demo_List list;
    ZEKT_Win32_Popup<int> menu;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR command_line, int) {
    Register_Window_Class(instance);
    int result;
    {
        Demo demo(std::wstring(command_line).find(L"--popup") != std::wstring::npos);
        result = Run_Message_Loop();
    }
    Check_Handlers();
    return result;
}
