#include "app/question_box.h"

#include <algorithm>
#include <cwctype>
#include <memory>
#include <vector>

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
    Question_Window(const std::wstring& text, const std::vector<std::wstring>& answers) : text(text) {
        for (std::size_t index = 0; index < answers.size(); ++index)
            buttons.push_back(std::make_unique<ZEKT_Win32_Button_Text>(
                style, answers[index], ZEKT_Event_Function([this, index] { Answer(static_cast<int>(index)); })));
    }

    ~Question_Window() override {
        if (IsWindow(popup)) DestroyWindow(popup);
    }

    // Apart from the constructor, so that the destructor takes the windows
    // down whatever fails on the way.
    void Open(HWND owner) {
        Attach_Draw(nullptr);
        popup = Create_Toolkit_Window(0, L"Select chip", WS_POPUP | WS_VISIBLE, 0, 0, 200, 70, owner);
        loop = std::make_unique<Modal_Loop>(popup, owner);
        // The answers' first letters (Y, N, C) answer too.
        loop->keys = [this](WPARAM key) {
            for (std::size_t index = 0; index < buttons.size(); ++index)
                if (key == static_cast<WPARAM>(towupper(buttons[index]->Caption()[0]))) return Answer(static_cast<int>(index)), true;
            return false;
        };

        RECT room = {0, 0, 0, 0};
        HDC dc = GetDC(popup);
        {
            ZEKT_Win32_Select selected(dc, style.font.Get());
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &room, Text_Format | DT_CALCRECT);
        }
        ReleaseDC(popup, dc);
        // The text above one row of buttons, with room for them side by side.
        const int count = static_cast<int>(buttons.size());
        const int width = std::max<int>(room.right + 2 * Margin, count * Button_Width + (count + 1) * Margin);
        const int height = Margin + room.bottom + Margin + Button_Height + Margin;
        Centre_Popup(popup, owner, width, height);
        const int buttons_y = height - Margin - Button_Height;
        // The first at the left, the last at the right, any other between.
        for (int index = 0; index < count; ++index) {
            const int x = count == 1 ? Margin : Margin + index * (width - 2 * Margin - Button_Width) / (count - 1);
            buttons[static_cast<std::size_t>(index)]->Create(popup, x, buttons_y, Button_Width, Button_Height);
        }
        // The first answer has the focus, so Enter gives it.
        SetFocus(buttons.front()->Window());
    }

    int Run() {
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
    void Answer(int index) {
        answer = index;
        loop->End();
    }

    std::wstring text;
    ZEKT_Win32_Text_Style style{RGB(255, 0, 128), RGB(128, 0, 255), RGB(255, 217, 236)};
    ZEKT_Win32_Brush background{RGB(236, 233, 216)};
    HWND popup = nullptr;
    std::unique_ptr<Modal_Loop> loop;
    int answer = -1;
    std::vector<std::unique_ptr<ZEKT_Win32_Button_Text>> buttons;
};

}  // namespace

int Ask_Choice(HWND owner, const std::wstring& text, const std::vector<std::wstring>& answers) {
    Question_Window window(text, answers);
    window.Open(owner);
    return window.Run();
}

bool Ask_Question(HWND owner, const std::wstring& text) { return Ask_Choice(owner, text, {L"Yes", L"No"}) == 0; }

}  // namespace Korvane_Exe
