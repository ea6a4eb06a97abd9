#pragma once
// The system's own dialogs and the clipboard. The main window and the property
// dialog reach them only through this seam, so that tests can answer them
// directly; a few tests drive the real ones under Wine.
#include <windows.h>

#include <optional>
#include <string>

namespace Korvane_Exe {

class System_Dialogs {
public:
    virtual ~System_Dialogs() = default;
    // Folder browser owned by `owner` with `title`, `current` preselected;
    // nothing when the user cancels.
    virtual std::optional<std::wstring> Browse_Folder(HWND owner, const std::wstring& title,
                                                      const std::wstring& current) = 0;
    // Open dialog for a settings text; nothing when canceled.
    virtual std::optional<std::wstring> Open_File(HWND owner) = 0;
    // Save dialog proposing `file_name`, default extension ".txt"; nothing when canceled.
    virtual std::optional<std::wstring> Save_File(HWND owner, const std::wstring& file_name) = 0;
    // Puts `text` on the clipboard as Unicode text.
    virtual void Copy_Text(HWND owner, const std::wstring& text) = 0;
    // Opens the file with the system's viewer for its kind.
    virtual void Show_File(HWND owner, const std::wstring& path) = 0;
};

// The dialogs in use: the real ones unless a test installed others.
System_Dialogs& Dialogs();
// Installs `dialogs` (not owned) until the returned previous one is installed
// again; nullptr restores the real ones.
System_Dialogs* Install_Dialogs(System_Dialogs* dialogs);

}  // namespace Korvane_Exe
