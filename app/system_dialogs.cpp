#include "app/system_dialogs.h"

#include <shellapi.h>
#include <shlobj.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/errors.h"
#include "framework/format.h"

namespace Korvane_Exe {
namespace {

// Preselects the current folder once the browser is up.
int CALLBACK Browse_Callback(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

// Room for a long path in the open and save dialogs.
constexpr DWORD File_Name_Chars = 32768;
const wchar_t Settings_Filter[] = L"Text (*.txt)\0*.txt\0All files (*.*)\0*.*\0";

class Real_Dialogs final : public System_Dialogs {
public:
    std::optional<std::wstring> Browse_Folder(HWND owner, const std::wstring& title,
                                              const std::wstring& current) override {
        BROWSEINFOW info{};
        info.hwndOwner = owner;
        info.lpszTitle = title.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
        info.lpfn = Browse_Callback;
        info.lParam = current.empty() ? 0 : reinterpret_cast<LPARAM>(current.c_str());
        PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
        if (!list) return std::nullopt;
        std::vector<wchar_t> path(File_Name_Chars);
        const bool named = SHGetPathFromIDListEx(list, path.data(), File_Name_Chars, GPFIDL_DEFAULT);
        CoTaskMemFree(list);
        if (!named) return std::nullopt;
        return std::wstring(path.data());
    }

    std::optional<std::wstring> Open_File(HWND owner) override {
        std::vector<wchar_t> name(File_Name_Chars);
        OPENFILENAMEW dialog = File_Dialog(owner, name);
        dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!GetOpenFileNameW(&dialog)) return std::nullopt;
        return std::wstring(name.data());
    }

    std::optional<std::wstring> Save_File(HWND owner, const std::wstring& file_name) override {
        std::vector<wchar_t> name(File_Name_Chars);
        file_name.copy(name.data(), std::min<std::size_t>(file_name.size(), File_Name_Chars - 1));
        OPENFILENAMEW dialog = File_Dialog(owner, name);
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!GetSaveFileNameW(&dialog)) return std::nullopt;
        return std::wstring(name.data());
    }

    void Copy_Text(HWND owner, const std::wstring& text) override {
        if (!OpenClipboard(owner)) throw ZEKT_Exception_Media(L"Can't open clipboard");
        EmptyClipboard();
        const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (void* target = memory ? GlobalLock(memory) : nullptr) {
            std::memcpy(target, text.c_str(), bytes);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it took it.
            if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        } else if (memory) {
            GlobalFree(memory);
        }
        CloseClipboard();
    }

    void Show_File(HWND owner, const std::wstring& path) override {
        // Values up to 32 are the shell's error codes.
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        if (result <= 32) throw ZEKT_Exception_Media(Format(L"Can't show file <%s> - error %d", path, static_cast<int>(result)));
    }

private:
    // Both dialogs are given OFN_NOCHANGEDIR: the user's browsing must not
    // move the program's current folder.
    static OPENFILENAMEW File_Dialog(HWND owner, std::vector<wchar_t>& name) {
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = Settings_Filter;
        dialog.lpstrFile = name.data();
        dialog.nMaxFile = File_Name_Chars;
        dialog.lpstrDefExt = L"txt";
        return dialog;
    }
};

Real_Dialogs real_dialogs;
System_Dialogs* installed = &real_dialogs;

}  // namespace

System_Dialogs& Dialogs() { return *installed; }

System_Dialogs* Install_Dialogs(System_Dialogs* dialogs) {
    System_Dialogs* previous = installed;
    installed = dialogs ? dialogs : &real_dialogs;
    return previous;
}

}  // namespace Korvane_Exe
