// The thin operating-system layer. framework/os_win32.cpp and
// framework/os_posix.cpp implement it; nothing else calls the system for
// files, folders, ticks or error texts. Failures are returned, never thrown:
// callers turn them into messages and read Last_Error() for the cause.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ZEKT_Os {

// An open file or device; Invalid_Handle when an open failed.
using Handle = std::intptr_t;
inline constexpr Handle Invalid_Handle = -1;

// The file open modes of the system, as access / sharing / creation:
enum class Open_Mode {
    Write,          // read+write, others may read and write, create always
    Read_Protect,   // read, others may only read, existing file
    Write_Protect,  // read+write, nobody else at all, create always
    Update,         // read+write, others may only read, existing file kept as it is
    Create_New,     // read+write, nobody else at all, the name must be free
};

// Only a regular file opens; a FIFO, a device or a folder is refused before
// it could make the open wait. Every mode that writes refuses a symbolic
// link (or any reparse point) at the name itself: output never lands where
// the link points.
Handle Open_File(const std::wstring& name, Open_Mode mode);
// The reader's device link: read+write, exclusive, must exist.
Handle Open_Device(const std::string& name);
void Close(Handle handle);

// One system call each; `done` receives the bytes moved. A stop request
// ends a call that waits, as a failure.
bool Write(Handle handle, const void* buffer, std::uint32_t size, std::uint32_t& done);
bool Read(Handle handle, void* buffer, std::uint32_t size, std::uint32_t& done);
bool Set_Position(Handle handle, std::uint64_t position);
bool Get_Position(Handle handle, std::uint64_t& position);
bool Get_Size(Handle handle, std::uint64_t& size);
// Cuts the file at `size` bytes.
bool Set_Size(Handle handle, std::uint64_t size);
// Puts what was written on the disk itself before the call returns.
bool Flush(Handle handle);

std::uint32_t Last_Error();
// The system's own text for an error code, without a trailing line break;
// empty when the system has none.
std::wstring System_Error_Text(std::uint32_t code);

// Folder names are joined with Path_Separator: "\" on Windows, "/" elsewhere.
// Windows takes "/" as a separator too; POSIX takes "\" as part of a name.
wchar_t Path_Separator();
bool Is_Path_Separator(wchar_t c);

bool Create_Directory(const std::wstring& path);
bool Delete_File(const std::wstring& name);
// Whether anything, of any kind, is there: the name is taken literally.
bool Path_Exists(const std::wstring& path);
// What the system says of the name itself, a link not followed. Unknown
// when it cannot say (a folder that may not be searched): Last_Error() tells why.
enum class Presence { Absent, Present, Unknown };
Presence Presence_Of(const std::wstring& path);
// Whether the name itself is a symbolic link (or another reparse point).
bool Is_Link(const std::wstring& path);
// Whether the name is a regular file (not a folder, FIFO or device).
bool Is_Regular_File(const std::wstring& path);
// Puts `from` in the place of `to` in one step, replacing what was there.
bool Rename_Over(const std::wstring& from, const std::wstring& to);
bool Folder_Exists(const std::wstring& path);

struct Find_Entry {
    std::wstring name;
    bool is_folder = false;
    std::uint64_t write_time = 0;  // 100 ns units since 1601, as the system keeps it
};
class Find_Handle;
// Starts a listing of `pattern` ("folder\*.dump"); null when nothing matches.
Find_Handle* Find_First(const std::wstring& pattern, Find_Entry& entry);
bool Find_Next(Find_Handle* find, Find_Entry& entry);
void Find_Close(Find_Handle* find);

std::uint32_t Tick_Count();

// Whether standard input is an interactive terminal (a question can be asked).
bool Is_Terminal_Input();
// Whether standard error is a terminal (a line can be redrawn in place).
bool Is_Terminal_Error();

// From this call on, a stop request (SIGINT, SIGTERM, SIGHUP; Ctrl-C,
// Ctrl-Break and a closed console window on Windows) no longer ends the
// process: it only raises the flag that Stop_Requested answers, so the
// program can clean up first.
void Catch_Stop_Requests();
bool Stop_Requested();
// Waits until standard input has something to read; false when a stop
// request came first, however close before the wait it came.
bool Wait_For_Input();

// The program's arguments after its name, in UTF-8. Windows hands main()
// its arguments in the ANSI code page, so there they come from the wide
// command line instead; elsewhere they are argv's bytes as given.
std::vector<std::string> Arguments_UTF8(int argc, char** argv);

// Narrow text in a code page (0: the system's ANSI code page) to wide text.
std::wstring Code_Page_To_Wide(std::string_view bytes, unsigned code_page);
// Whether the bytes are valid text in that code page, nothing replaced.
bool Code_Page_Valid(std::string_view bytes, unsigned code_page);

}  // namespace ZEKT_Os
