// The progress window of long operations: a title line and an overall bar
// that appear from their first use, a status line, the current bar, and the
// "Pause" and "Stop" buttons.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/errors.h"
#include "win32/gdi.h"
#include "win32/handlers.h"
#include "win32/mixins.h"
#include "win32/text_button.h"

class ZEKT_Explorer_Progress;

class ZEKT_Explorer_Progress_Stop : public ZEKT_Win32_Button_Text {
public:
    ZEKT_Explorer_Progress_Stop(const ZEKT_Win32_Text_Style& style, ZEKT_Explorer_Progress& progress)
        : ZEKT_Win32_Button_Text(style, L"Stop"), progress(progress) {}
    void Click(int x, int y) override;

private:
    ZEKT_Explorer_Progress& progress;
};

// Pressed while running, its click itself waits and handles messages until
// it is pressed again or a stop is requested: the operation, inside Check()
// at that moment, stands still meanwhile.
class ZEKT_Explorer_Progress_Pause : public ZEKT_Win32_Button_Text {
public:
    ZEKT_Explorer_Progress_Pause(const ZEKT_Win32_Text_Style& style, ZEKT_Explorer_Progress& progress)
        : ZEKT_Win32_Button_Text(style, L"Pause"), progress(progress) {}
    void Click(int x, int y) override;

private:
    ZEKT_Explorer_Progress& progress;
};

// One bar in per mille, drawn on erasing.
class ZEKT_Explorer_Progress_Bar : public ZEKT_Win32_Draw {
public:
    ~ZEKT_Explorer_Progress_Bar() override;
    void Create(HWND parent, int x, int y, int width, int height);
    void Set(std::uint32_t per_mille);
    HWND Window() const { return window; }
    void Draw(HDC dc, int width, int height) override;

private:
    HWND window = nullptr;
    std::uint32_t position = 0;
    ZEKT_Win32_Brush frame{RGB(0, 64, 128)};
    ZEKT_Win32_Brush done{RGB(128, 0, 255)};
    ZEKT_Win32_Brush rest{RGB(255, 255, 255)};
};

class ZEKT_Explorer_Progress : public ZEKT_Progress, public ZEKT_Win32_Draw {
public:
    // Hidden until the first Check(), centred over the owner.
    explicit ZEKT_Explorer_Progress(HWND owner, ZEKT_Tick_Source tick_source = ZEKT_Tick_Count);
    ~ZEKT_Explorer_Progress() override;

    void Check() override;
    void Set_Title(const std::wstring& text) override;
    void Set_Status(const std::wstring& text) override;
    void Set_Main_Position(std::uint32_t per_mille) override;
    void Set_Position(std::uint32_t per_mille) override;

    void Request_Stop() { stop_requested = true; }
    bool Stop_Requested() const { return stop_requested; }
    bool Paused() const { return paused; }
    // The pause loop of the pause button.
    void Pause();

    HWND Window() const { return window; }
    const ZEKT_Explorer_Progress_Bar& Bar() const { return bar; }
    const ZEKT_Explorer_Progress_Bar& Main_Bar() const { return main_bar; }
    HWND Stop_Button() const { return stop.Window(); }
    HWND Pause_Button() const { return pause.Window(); }

    void Draw(HDC dc, int width, int height) override;

private:
    void Layout();
    ZEKT_Box<LRESULT> On_Close(HWND, UINT, WPARAM, LPARAM);

    ZEKT_Win32_Handlers handlers;
    ZEKT_Win32_Font font{L"Lucida Console", 11};
    ZEKT_Win32_Brush background{RGB(236, 233, 216)};
    ZEKT_Win32_Text_Style style{RGB(255, 0, 128), RGB(128, 0, 255), RGB(255, 217, 236)};
    HWND owner;
    HWND window = nullptr;
    std::wstring title;
    std::wstring status;
    bool title_used = false;
    bool main_used = false;
    bool stop_requested = false;
    bool paused = false;
    ZEKT_Explorer_Progress_Bar main_bar;
    ZEKT_Explorer_Progress_Bar bar;
    ZEKT_Explorer_Progress_Stop stop{style, *this};
    ZEKT_Explorer_Progress_Pause pause{style, *this};
};
