// POSIX side of the operating-system layer. Windows share modes are kept with
// open-file-description locks on marker bytes far beyond any real file size,
// so that the protected modes refuse a second opener the way Windows does.
#include "os.h"

#include <dirent.h>
#include <signal.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <poll.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <csignal>
#include <cstring>
#include <string>

#include "values.h"

namespace ZEKT_Os {
namespace {

// A name is taken literally: "\" is an ordinary character of a file name
// here, never a separator, so that a name holding one stays that name.
std::string Native_Path(const std::wstring& name) { return To_UTF8(name); }

// Marker bytes: an opener holds a read lock on "access R/W" for what it
// does, and on "deny R/W" for what it refuses to share.
constexpr off_t Marker_Base = 0x7FFFFFFF00000000LL;
enum Marker : off_t { Access_Read = 0, Access_Write = 1, Deny_Read = 2, Deny_Write = 3 };

bool Lock_Marker(int fd, Marker marker) {
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = Marker_Base + marker;
    lock.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// True when another opener holds a lock on `marker`.
bool Marker_Taken(int fd, Marker marker) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = Marker_Base + marker;
    lock.l_len = 1;
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
    return lock.l_type != F_UNLCK;
}

struct Share_Rule {
    bool read, write, share_read, share_write;
};

// Applies the Windows sharing check; false (errno EBUSY) on a conflict.
bool Take_Share(int fd, Share_Rule rule) {
    const bool conflict = (rule.read && Marker_Taken(fd, Deny_Read)) || (rule.write && Marker_Taken(fd, Deny_Write)) ||
                          (!rule.share_read && Marker_Taken(fd, Access_Read)) ||
                          (!rule.share_write && Marker_Taken(fd, Access_Write));
    if (conflict) {
        errno = EBUSY;
        return false;
    }
    bool ok = true;
    if (rule.read) ok = ok && Lock_Marker(fd, Access_Read);
    if (rule.write) ok = ok && Lock_Marker(fd, Access_Write);
    if (!rule.share_read) ok = ok && Lock_Marker(fd, Deny_Read);
    if (!rule.share_write) ok = ok && Lock_Marker(fd, Deny_Write);
    return ok;
}

// A system call cut short by a signal is tried again, unless the signal was
// a stop request: then the caller sees a failure with errno EINTR.
bool Interrupted() { return errno == EINTR && !Stop_Requested(); }

// With `file_only`, anything but a regular file (a FIFO, a device, a folder)
// is refused before the open that could wait on it forever.
Handle Open_Shared(const std::string& path, int flags, Share_Rule rule, bool truncate, bool file_only) {
    struct stat info {};
    // A name that may not be followed is judged as itself: a link is refused.
    const bool no_follow = (flags & O_NOFOLLOW) != 0;
    const int found = no_follow ? ::lstat(path.c_str(), &info) : ::stat(path.c_str(), &info);
    if (no_follow && found == 0 && S_ISLNK(info.st_mode)) {
        errno = ELOOP;
        return Invalid_Handle;
    }
    if (file_only && found == 0 && !S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return Invalid_Handle;
    }
    // Not blocking, so that a FIFO put there after the check cannot hold the
    // open; the flag is cleared again once the file is known to be one.
    const int wait_flag = file_only ? O_NONBLOCK : 0;
    int fd;
    do fd = ::open(path.c_str(), flags | wait_flag | O_CLOEXEC, 0666);
    while (fd < 0 && Interrupted());
    if (fd < 0) return Invalid_Handle;
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const bool refused = S_ISDIR(info.st_mode) || (file_only && !regular);
    if (refused || (file_only && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)) {
        ::close(fd);
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return Invalid_Handle;
    }
    // Truncate only once the sharing check has let us in.
    if (!Take_Share(fd, rule) || (truncate && ftruncate(fd, 0) != 0)) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return Invalid_Handle;
    }
    return fd;
}

}  // namespace

Handle Open_File(const std::wstring& name, Open_Mode mode) {
    const std::string path = Native_Path(name);
    switch (mode) {
    case Open_Mode::Write:
        return Open_Shared(path, O_RDWR | O_CREAT | O_NOFOLLOW, {true, true, true, true}, true, true);
    case Open_Mode::Read_Protect:
        return Open_Shared(path, O_RDONLY, {true, false, true, false}, false, true);
    case Open_Mode::Write_Protect:
        return Open_Shared(path, O_RDWR | O_CREAT | O_NOFOLLOW, {true, true, false, false}, true, true);
    case Open_Mode::Update:
        return Open_Shared(path, O_RDWR | O_NOFOLLOW, {true, true, true, false}, false, true);
    case Open_Mode::Create_New:
        return Open_Shared(path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, {true, true, false, false}, false, true);
    }
    return Invalid_Handle;
}

Handle Open_Device(const std::string& name) {
    return Open_Shared(name, O_RDWR, {true, true, false, false}, false, false);
}

void Close(Handle handle) {
    if (handle != Invalid_Handle) ::close(static_cast<int>(handle));
}

bool Write(Handle handle, const void* buffer, std::uint32_t size, std::uint32_t& done) {
    ssize_t result;
    do result = ::write(static_cast<int>(handle), buffer, size);
    while (result < 0 && Interrupted());
    done = result < 0 ? 0 : static_cast<std::uint32_t>(result);
    return result >= 0;
}

bool Read(Handle handle, void* buffer, std::uint32_t size, std::uint32_t& done) {
    ssize_t result;
    do result = ::read(static_cast<int>(handle), buffer, size);
    while (result < 0 && Interrupted());
    done = result < 0 ? 0 : static_cast<std::uint32_t>(result);
    return result >= 0;
}

bool Set_Position(Handle handle, std::uint64_t position) {
    return ::lseek(static_cast<int>(handle), static_cast<off_t>(position), SEEK_SET) >= 0;
}

bool Get_Position(Handle handle, std::uint64_t& position) {
    const off_t result = ::lseek(static_cast<int>(handle), 0, SEEK_CUR);
    if (result < 0) return false;
    position = static_cast<std::uint64_t>(result);
    return true;
}

bool Get_Size(Handle handle, std::uint64_t& size) {
    struct stat info {};
    if (fstat(static_cast<int>(handle), &info) != 0) return false;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool Set_Size(Handle handle, std::uint64_t size) {
    return ftruncate(static_cast<int>(handle), static_cast<off_t>(size)) == 0;
}

bool Flush(Handle handle) { return ::fsync(static_cast<int>(handle)) == 0; }

std::uint32_t Last_Error() { return static_cast<std::uint32_t>(errno); }

std::wstring System_Error_Text(std::uint32_t code) {
    if (code == 0) return L"Success";
    char buffer[256] = {};
    // The GNU strerror_r returns its text, which may not be in `buffer`.
    const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    if (!text || !*text || std::strncmp(text, "Unknown error", 13) == 0) return {};
    return From_UTF8(text);
}

wchar_t Path_Separator() { return L'/'; }

bool Is_Path_Separator(wchar_t c) { return c == L'/'; }

bool Create_Directory(const std::wstring& path) { return ::mkdir(Native_Path(path).c_str(), 0777) == 0; }

bool Delete_File(const std::wstring& name) {
    const std::string path = Native_Path(name);
    struct stat info {};
    // DeleteFileW refuses folders; unlink would refuse them with another code.
    if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return false;
    }
    return ::unlink(path.c_str()) == 0;
}

bool Path_Exists(const std::wstring& path) {
    struct stat info {};
    return ::stat(Native_Path(path).c_str(), &info) == 0;
}

Presence Presence_Of(const std::wstring& path) {
    struct stat info {};
    if (::lstat(Native_Path(path).c_str(), &info) == 0) return Presence::Present;
    // Only "no such name" is an answer; "not allowed to look" is none.
    return errno == ENOENT || errno == ENOTDIR ? Presence::Absent : Presence::Unknown;
}

bool Is_Link(const std::wstring& path) {
    struct stat info {};
    return ::lstat(Native_Path(path).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool Is_Regular_File(const std::wstring& path) {
    struct stat info {};
    return ::lstat(Native_Path(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool Rename_Over(const std::wstring& from, const std::wstring& to) {
    return ::rename(Native_Path(from).c_str(), Native_Path(to).c_str()) == 0;
}

bool Folder_Exists(const std::wstring& path) {
    struct stat info {};
    return ::stat((Native_Path(path) + "/").c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

class Find_Handle {
public:
    DIR* dir = nullptr;
    std::string folder;
    std::string pattern;
};

namespace {

bool Read_Matching(Find_Handle* find, Find_Entry& entry) {
    while (dirent* item = ::readdir(find->dir)) {
        if (::fnmatch(find->pattern.c_str(), item->d_name, 0) != 0) continue;
        struct stat info {};
        const std::string full = find->folder + item->d_name;
        if (::stat(full.c_str(), &info) != 0) continue;
        entry.name = From_UTF8(item->d_name);
        entry.is_folder = S_ISDIR(info.st_mode);
        // 100 ns units since 1601, as FILETIME counts.
        constexpr std::uint64_t Epoch_Offset = 11644473600ULL;
        entry.write_time = (static_cast<std::uint64_t>(info.st_mtim.tv_sec) + Epoch_Offset) * 10000000ULL +
                           static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100;
        return true;
    }
    return false;
}

}  // namespace

Find_Handle* Find_First(const std::wstring& pattern, Find_Entry& entry) {
    const std::string path = Native_Path(pattern);
    const std::size_t slash = path.rfind('/');
    auto* find = new Find_Handle;
    find->folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    find->pattern = slash == std::string::npos ? path : path.substr(slash + 1);
    find->dir = ::opendir(find->folder.empty() ? "." : find->folder.c_str());
    if (!find->dir || !Read_Matching(find, entry)) {
        const int saved = errno;
        Find_Close(find);
        errno = saved ? saved : ENOENT;
        return nullptr;
    }
    return find;
}

bool Find_Next(Find_Handle* find, Find_Entry& entry) { return Read_Matching(find, entry); }

void Find_Close(Find_Handle* find) {
    if (find->dir) ::closedir(find->dir);
    delete find;
}

std::uint32_t Tick_Count() {
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000);
}

bool Is_Terminal_Input() { return ::isatty(0) == 1; }

bool Is_Terminal_Error() { return ::isatty(2) == 1; }

namespace {

volatile std::sig_atomic_t stop_requested = 0;

extern "C" void On_Stop_Signal(int) { stop_requested = 1; }

}  // namespace

std::vector<std::string> Arguments_UTF8(int argc, char** argv) { return {argv + (argc > 0 ? 1 : 0), argv + argc}; }

void Catch_Stop_Requests() {
    struct sigaction action {};
    action.sa_handler = On_Stop_Signal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a prompt waiting for input gives up at once.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

bool Stop_Requested() { return stop_requested != 0; }

bool Wait_For_Input() {
    // The stop signals are held back between the look at the flag and the
    // wait, and let in only inside ppoll: none can fall in the gap.
    sigset_t stops, before;
    sigemptyset(&stops);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stops, signal);
    ::sigprocmask(SIG_BLOCK, &stops, &before);
    pollfd input{0, POLLIN, 0};
    int ready = 0;
    while (!Stop_Requested()) {
        ready = ::ppoll(&input, 1, nullptr, &before);
        if (ready > 0 || (ready < 0 && errno != EINTR)) break;
    }
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    return !Stop_Requested();
}

std::wstring Code_Page_To_Wide(std::string_view bytes, unsigned /*code_page*/) {
    // Linux systems speak UTF-8 whatever code page a Windows text named.
    return From_UTF8(bytes);
}

bool Code_Page_Valid(std::string_view bytes, unsigned /*code_page*/) { return To_UTF8(From_UTF8(bytes)) == bytes; }

}  // namespace ZEKT_Os
