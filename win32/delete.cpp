#include "win32/delete.h"

#include <string>

#include "framework/format.h"
#include "win32/message_box.h"
#include "win32/window.h"

void ZEKT_Win32_Check_Delete_Window(HWND window) {
    wchar_t name[1001] = {};
    GetClassNameW(window, name, 1000);
    if (Class_Name() == name) return;
    ZEKT_Win32_Message_Box(GetFocus(), Format(L"Can't delete object after <%s> destruction", name), L"Message", MB_OK);
    Hook_Window(window);
}
