// Ties the life of an object to a window: the object is deleted when the
// window is destroyed.
#pragma once

#include <windows.h>

#include "win32/handlers.h"

// Warns when the window is not of the toolkit's class (its messages would
// otherwise never reach the handler list) and hooks it so that the object
// still goes with it.
void ZEKT_Win32_Check_Delete_Window(HWND window);

template <typename T>
class ZEKT_Win32_Delete_ {
public:
    ZEKT_Win32_Delete_(HWND window, T* object) : object(object) {
        ZEKT_Win32_Check_Delete_Window(window);
        handlers.Add_Handler(window, WM_NCDESTROY, this, &ZEKT_Win32_Delete_::On_Destroy);
    }

private:
    ~ZEKT_Win32_Delete_() = default;

    ZEKT_Box<LRESULT> On_Destroy(HWND, UINT, WPARAM, LPARAM) {
        delete object;
        delete this;  // its handler list removes the handler running now
        return ZEKT_Win32_Handled(0);
    }

    T* object;
    ZEKT_Win32_Handlers handlers;
};

// The object is owned from here on; it is deleted at WM_NCDESTROY of the window.
template <typename T>
void Attach_Delete(HWND window, T* object) {
    new ZEKT_Win32_Delete_<T>(window, object);
}
