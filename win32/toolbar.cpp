#include "win32/toolbar.h"

#include <algorithm>

#include "framework/errors.h"
#include "win32/window.h"

ZEKT_Win32_ToolBar::~ZEKT_Win32_ToolBar() {
    buttons.clear();
    draw_handlers.Remove_All();
    if (window && IsWindow(window)) DestroyWindow(window);
}

void ZEKT_Win32_ToolBar::Create(HWND parent, int x, int y, int width, const std::vector<ZEKT_Win32_Tool>& tools) {
    if (window) throw ZEKT_Exception_Bug(L"Tool bar created twice");
    int height = 0;
    std::vector<SIZE> sizes;
    for (const ZEKT_Win32_Tool& tool : tools) {
        if (tool.image) {
            auto button = std::make_unique<ZEKT_Win32_Button_Image>(tool.image, tool.event);
            sizes.push_back(button->Size());
            buttons.push_back(std::move(button));
        } else {
            buttons.push_back(std::make_unique<ZEKT_Win32_Button_Text>(style, tool.caption, tool.event));
            sizes.push_back({Text_Width, Text_Height});
        }
        height = std::max(height, static_cast<int>(sizes.back().cy));
    }
    height += 2 * Margin;

    Attach_Draw(nullptr);
    try {
        window = Create_Toolkit_Window(0, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent);
    } catch (...) {
        draw_handlers.Remove_All();
        throw;
    }
    int left = Margin;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->Create(window, left, (height - sizes[i].cy) / 2, sizes[i].cx, sizes[i].cy);
        left += sizes[i].cx + Gap;
    }
}

void ZEKT_Win32_ToolBar::Draw(HDC dc, int width, int height) {
    RECT area = {0, 0, width, height};
    FillRect(dc, &area, background.Get());
}
