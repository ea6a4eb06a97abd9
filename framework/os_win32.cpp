// Win32 side of the operating-system layer.
#include "os.h"

#include <windows.h>
#include <shellapi.h>

#include <cwctype>

#include "values.h"

namespace ZEKT_Os {
namespace {

HANDLE To_Win32(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

Handle From_Win32(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? Invalid_Handle : reinterpret_cast<Handle>(handle);
}

// Every path handed to the system goes through here. The path is made full
// first (relative names, "." and ".." resolved as the system would), since
// behind "\\?\" Windows takes a name literally; the prefix then lifts the
// classic length limit. Names that already start with "\\?\" or "\\.\" stay.
std::wstring Long_Path(const std::wstring& name) {
    if (name.rfind(L"\\\\?\\", 0) == 0 || name.rfind(L"\\\\.\\", 0) == 0) return name;
    DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0) return name;
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(name.c_str(), size, full.data(), nullptr);
    if (size == 0 || size >= full.size()) return name;
    full.resize(size);
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// "\\.\" names a device; behind "\\?\" only a drive letter or "UNC\" names a file.
bool Is_Device_Path(const std::wstring& path) {
    if (path.rfind(L"\\\\.\\", 0) == 0) return true;
    if (path.rfind(L"\\\\?\\", 0) != 0) return false;
    const std::wstring rest = path.substr(4);
    const bool drive = rest.size() >= 3 && iswalpha(rest[0]) && rest[1] == L':' && rest[2] == L'\\';
    return !drive && rest.rfind(L"UNC\\", 0) != 0;
}

}  // namespace

Handle Open_File(const std::wstring& name, Open_Mode mode) {
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD share = 0;
    DWORD creation = CREATE_ALWAYS;
    switch (mode) {
    case Open_Mode::Write:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    case Open_Mode::Read_Protect:
        access = GENERIC_READ;
        share = FILE_SHARE_READ;
        creation = OPEN_EXISTING;
        break;
    case Open_Mode::Write_Protect:
        break;
    case Open_Mode::Update:
        share = FILE_SHARE_READ;
        creation = OPEN_EXISTING;
        break;
    case Open_Mode::Create_New:
        creation = CREATE_NEW;
        break;
    }
    // Devices and pipes ("\\.\", where CON or NUL lead too, or "\\?\" before
    // anything but a drive or a share) are no files; a pipe would make the
    // open or the first read wait for its writer.
    const std::wstring path = Long_Path(name);
    if (Is_Device_Path(path)) {
        SetLastError(ERROR_INVALID_NAME);
        return Invalid_Handle;
    }
    // Output never goes through a link: the name itself is judged, and the
    // open takes a link as itself, so one made in between is caught below.
    const bool writes = mode != Open_Mode::Read_Protect;
    if (writes && Is_Link(name)) {
        SetLastError(ERROR_CANT_ACCESS_FILE);
        return Invalid_Handle;
    }
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (writes ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    const HANDLE handle = CreateFileW(path.c_str(), access, share, nullptr, creation, flags, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool link = handle != INVALID_HANDLE_VALUE && writes && GetFileInformationByHandle(handle, &info) &&
                      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (handle != INVALID_HANDLE_VALUE && (link || GetFileType(handle) != FILE_TYPE_DISK)) {
        CloseHandle(handle);
        SetLastError(link ? ERROR_CANT_ACCESS_FILE : ERROR_INVALID_NAME);
        return Invalid_Handle;
    }
    return From_Win32(handle);
}

Handle Open_Device(const std::string& name) {
    return From_Win32(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

void Close(Handle handle) {
    if (handle != Invalid_Handle) CloseHandle(To_Win32(handle));
}

bool Write(Handle handle, const void* buffer, std::uint32_t size, std::uint32_t& done) {
    DWORD written = 0;
    const BOOL ok = WriteFile(To_Win32(handle), buffer, size, &written, nullptr);
    done = written;
    return ok != FALSE;
}

bool Read(Handle handle, void* buffer, std::uint32_t size, std::uint32_t& done) {
    DWORD read = 0;
    const BOOL ok = ReadFile(To_Win32(handle), buffer, size, &read, nullptr);
    done = read;
    return ok != FALSE;
}

bool Set_Position(Handle handle, std::uint64_t position) {
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(To_Win32(handle), distance, nullptr, FILE_BEGIN) != FALSE;
}

bool Set_Size(Handle handle, std::uint64_t size) {
    return Set_Position(handle, size) && SetEndOfFile(To_Win32(handle)) != FALSE;
}

bool Get_Position(Handle handle, std::uint64_t& position) {
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    LARGE_INTEGER now;
    if (!SetFilePointerEx(To_Win32(handle), zero, &now, FILE_CURRENT)) return false;
    position = static_cast<std::uint64_t>(now.QuadPart);
    return true;
}

bool Get_Size(Handle handle, std::uint64_t& size) {
    LARGE_INTEGER value;
    if (!GetFileSizeEx(To_Win32(handle), &value)) return false;
    size = static_cast<std::uint64_t>(value.QuadPart);
    return true;
}

bool Flush(Handle handle) { return FlushFileBuffers(To_Win32(handle)) != FALSE; }

std::uint32_t Last_Error() { return GetLastError(); }

std::wstring System_Error_Text(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&buffer), 0,
                       nullptr);
    if (length == 0 || !buffer) return {};
    std::wstring text(buffer, length);
    LocalFree(buffer);
    // System texts end with a line break, which would split a one-line message.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

wchar_t Path_Separator() { return L'\\'; }

bool Is_Path_Separator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool Create_Directory(const std::wstring& path) { return CreateDirectoryW(Long_Path(path).c_str(), nullptr) != FALSE; }

bool Delete_File(const std::wstring& name) { return DeleteFileW(Long_Path(name).c_str()) != FALSE; }

bool Path_Exists(const std::wstring& path) {
    return GetFileAttributesW(Long_Path(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

Presence Presence_Of(const std::wstring& path) {
    if (GetFileAttributesW(Long_Path(path).c_str()) != INVALID_FILE_ATTRIBUTES) return Presence::Present;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Presence::Absent : Presence::Unknown;
}

bool Is_Link(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(Long_Path(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool Is_Regular_File(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(Long_Path(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !Is_Device_Path(Long_Path(path)) &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

bool Rename_Over(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(Long_Path(from).c_str(), Long_Path(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Folder_Exists(const std::wstring& path) {
    const HANDLE handle =
        CreateFileW(Long_Path(path + L"\\").c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

class Find_Handle {
public:
    HANDLE handle = INVALID_HANDLE_VALUE;
};

namespace {

void Fill(const WIN32_FIND_DATAW& data, Find_Entry& entry) {
    entry.name = data.cFileName;
    entry.is_folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.write_time = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                       data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace

Find_Handle* Find_First(const std::wstring& pattern, Find_Entry& entry) {
    WIN32_FIND_DATAW data;
    const HANDLE handle = FindFirstFileW(Long_Path(pattern).c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    Fill(data, entry);
    auto* find = new Find_Handle;
    find->handle = handle;
    return find;
}

bool Find_Next(Find_Handle* find, Find_Entry& entry) {
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(find->handle, &data)) return false;
    Fill(data, entry);
    return true;
}

void Find_Close(Find_Handle* find) {
    FindClose(find->handle);
    delete find;
}

std::uint32_t Tick_Count() { return GetTickCount(); }

bool Is_Terminal_Input() { return GetFileType(GetStdHandle(STD_INPUT_HANDLE)) == FILE_TYPE_CHAR; }

bool Is_Terminal_Error() { return GetFileType(GetStdHandle(STD_ERROR_HANDLE)) == FILE_TYPE_CHAR; }

namespace {

volatile LONG stop_requested = 0;

// Runs on a thread of its own; answering TRUE keeps the process alive.
BOOL WINAPI On_Console_Control(DWORD event) {
    // A closed console window is the hang-up of a terminal.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
    InterlockedExchange(&stop_requested, 1);
    return TRUE;
}

}  // namespace

std::vector<std::string> Arguments_UTF8(int, char**) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return {};
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(To_UTF8(wide[i]));
    LocalFree(wide);
    return arguments;
}

void Catch_Stop_Requests() { SetConsoleCtrlHandler(On_Console_Control, TRUE); }

bool Stop_Requested() { return InterlockedCompareExchange(&stop_requested, 0, 0) != 0; }

bool Wait_For_Input() {
    // The handler runs on a thread of its own: look at its flag between
    // short waits on the input.
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    while (!Stop_Requested()) {
        const DWORD result = WaitForSingleObject(input, 50);
        if (result != WAIT_TIMEOUT) break;
    }
    return !Stop_Requested();
}

std::wstring Code_Page_To_Wide(std::string_view bytes, unsigned code_page) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length > 0) MultiByteToWideChar(code_page, 0, bytes.data(), size, text.data(), length);
    return text;
}

bool Code_Page_Valid(std::string_view bytes, unsigned code_page) {
    if (bytes.empty()) return true;
    return MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                               0) > 0;
}

}  // namespace ZEKT_Os
