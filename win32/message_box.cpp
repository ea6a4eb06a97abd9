#include "win32/message_box.h"

ZEKT_Win32_Box_Function ZEKT_Win32_Show_Box = [](HWND owner, const std::wstring& text, const std::wstring& caption,
                                                 UINT type) {
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
};

int ZEKT_Win32_Message_Box(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    return ZEKT_Win32_Show_Box(owner, text, caption, type);
}
