#include "win32/logs.h"
#include "win32/message_box.h"

void ZEKT_Win32_Message_Log::Print_Text(const std::wstring& text) {
    ZEKT_Win32_Message_Box(owner ? GetAncestor(owner, GA_ROOT) : GetFocus(), text, L"Message", MB_OK);
}
