// A strip of buttons laid left to right: text buttons in the shared style
// and image buttons in the size of their pictures.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/button.h"
#include "win32/text_button.h"
#include "win32/gdi.h"
#include "win32/mixins.h"

// One button of a strip: an image button when it has an image, else a text
// button with the caption.
struct ZEKT_Win32_Tool {
    std::wstring caption;
    HBITMAP image = nullptr;  // not owned
    ZEKT_Event event;
};

class ZEKT_Win32_ToolBar : public ZEKT_Win32_Draw {
public:
    static constexpr int Text_Width = 45;
    static constexpr int Text_Height = 13;
    static constexpr int Gap = 4;     // between buttons
    static constexpr int Margin = 2;  // around them

    ZEKT_Win32_ToolBar(const ZEKT_Win32_Text_Style& style, COLORREF background)
        : style(style), background(background) {}
    ~ZEKT_Win32_ToolBar() override;

    // The strip is as high as its tallest button plus the margins.
    void Create(HWND parent, int x, int y, int width, const std::vector<ZEKT_Win32_Tool>& tools);

    HWND Window() const { return window; }
    ZEKT_Win32_Button_Base& Button(std::size_t index) const { return *buttons.at(index); }
    std::size_t Count() const { return buttons.size(); }

    void Draw(HDC dc, int width, int height) override;

private:
    const ZEKT_Win32_Text_Style& style;
    ZEKT_Win32_Brush background;
    HWND window = nullptr;
    std::vector<std::unique_ptr<ZEKT_Win32_Button_Base>> buttons;
};
