#include "app/question_box.h"

#include <algorithm>
#include <memory>

#include "app/modal_loop.h"
#include "app/popup_tools.h"
#include "win32/events.h"
#include "win32/gdi.h"
#include "win32/mixins.h"
#include "win32/text_button.h"
#include "win32/window.h"

namespace Korvane_Exe {
namespace {

constexpr int Margin = 5;
constexpr int Button_Width = 45;
constexpr int Button_Height = 13;
constexpr UINT Text_Format = DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS;

class Question_Window final : public ZEKT_Win32_Draw {
public:
    explicit Question_Window(const std::wstring& text) : text(text) {}

    ~Question_Window() override {
        if (IsWindow(popup)) DestroyWindow(popup);
    }

    // Apart from the constructor, so that the destructor takes the windows
    // down whatever fails on the way.
    void Open(HWND owner) {
        Attach_Draw(nullptr);
        popup = Create_Toolkit_Window(0, L"Select chip", WS_POPUP | WS_VISIBLE, 0, 0, 200, 70, owner);
        loop = std::make_unique<Modal_Loop>(popup, owner);

        RECT room = {0, 0, 0, 0};
        HDC dc = GetDC(popup);
        {
            ZEKT_Win32_Select selected(dc, style.font.Get());
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &room, Text_Format | DT_CALCRECT);
        }
        ReleaseDC(popup, dc);
        // The text above one row of buttons, with room for both buttons side by side.
        const int width = std::max<int>(room.right + 2 * Margin, 2 * Button_Width + 3 * Margin);
        const int height = Margin + room.bottom + Margin + Button_Height + Margin;
        Centre_Popup(popup, owner, width, height);
        const int buttons_y = height - Margin - Button_Height;
        yes.Create(popup, Margin, buttons_y, Button_Width, Button_Height);
        no.Create(popup, width - Margin - Button_Width, buttons_y, Button_Width, Button_Height);
    }

    bool Run() {
        loop->Run();
        return answer;
    }

    void Draw(HDC dc, int width, int height) override {
        RECT area = {0, 0, width, height};
        FillRect(dc, &area, background.Get());
        RECT text_area = {Margin, Margin, width - Margin, height - 2 * Margin - Button_Height};
        ZEKT_Win32_Select selected(dc, style.font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_area, Text_Format);
    }

private:
    void Yes() {
        answer = true;
        loop->End();
    }
    void No() { loop->End(); }

    std::wstring text;
    ZEKT_Win32_Text_Style style{RGB(255, 0, 128), RGB(128, 0, 255), RGB(255, 217, 236)};
    ZEKT_Win32_Brush background{RGB(236, 233, 216)};
    HWND popup = nullptr;
    std::unique_ptr<Modal_Loop> loop;
    bool answer = false;
    ZEKT_Win32_Button_Text yes{style, L"Yes", ZEKT_Event_Object<Question_Window>(this, &Question_Window::Yes)};
    ZEKT_Win32_Button_Text no{style, L"No", ZEKT_Event_Object<Question_Window>(this, &Question_Window::No)};
};

}  // namespace

bool Ask_Question(HWND owner, const std::wstring& text) {
    Question_Window window(text);
    window.Open(owner);
    return window.Run();
}

}  // namespace Korvane_Exe
