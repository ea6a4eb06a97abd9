// The text sinks that show their text in windows.
#pragma once

#include <windows.h>

#include <string>

#include "framework/errors.h"
#include "win32/handlers.h"

// One "Message" box per Print, owned by the top-level window of `owner`, so
// that it shows over that window; without one, by the window that has the
// keyboard focus.
class ZEKT_Win32_Message_Log : public ZEKT_Log {
public:
    explicit ZEKT_Win32_Message_Log(HWND owner = nullptr) : owner(owner) {}

protected:
    void Print_Text(const std::wstring& text) override;

private:
    HWND owner;
};

// Appends complete lines to the end of a multi-line edit control; a
// trailing part without a line feed waits for the next Print.
class ZEKT_Explorer_Log : public ZEKT_Log {
public:
    explicit ZEKT_Explorer_Log(HWND edit = nullptr) : edit(edit) {}

    const std::wstring& Pending() const { return pending; }

protected:
    void Print_Text(const std::wstring& text) override;

    HWND edit;

private:
    std::wstring pending;
};

// The same sink in a top-level window of its own, the edit control filling it.
class ZEKT_Explorer_Log_Window : public ZEKT_Explorer_Log {
public:
    ZEKT_Explorer_Log_Window(const std::wstring& title, int x, int y, int width, int height);
    ~ZEKT_Explorer_Log_Window() override;

    HWND Window() const { return window; }
    HWND Edit() const { return edit; }

private:
    ZEKT_Box<LRESULT> On_Size(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Destroy(HWND, UINT, WPARAM, LPARAM);

    ZEKT_Win32_Handlers handlers;
    HWND window = nullptr;
};
