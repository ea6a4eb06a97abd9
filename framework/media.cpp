#include "media.h"

#include <algorithm>

#include "errors.h"
#include "values.h"

namespace {

constexpr std::uint64_t Low_32_Bits = 0xFFFFFFFFu;

// A transfer or open that failed because the user asked to stop is no fault
// of the medium: it ends the action as a stop request.
void Throw_If_Stopped() {
    if (ZEKT_Os::Stop_Requested()) throw ZEKT_Exception_Cancel{L"Canceled."};
}

std::wstring Link_Refused(const std::wstring& name) { return L"Can't write through symbolic link <" + name + L">"; }

}  // namespace

void Check_Stop() { Throw_If_Stopped(); }

std::wstring Media_Error_Text() {
    const std::uint32_t code = ZEKT_Os::Last_Error();
    std::wstring text = ZEKT_Os::System_Error_Text(code);
    if (text.empty()) return Format(L"Code %u", code);
    return text;
}

ZEKT_Media_Handle::ZEKT_Media_Handle(ZEKT_Os::Handle os_handle) : handle(os_handle) {}

ZEKT_Media_Handle::~ZEKT_Media_Handle() { ZEKT_Os::Close(handle); }

void ZEKT_Media_Handle::Write(const void* buffer, std::uint64_t size) {
    // One system call moves at most 4 GiB - 1; a larger block fails before
    // anything is written instead of writing its low 32 bits.
    if (size > Low_32_Bits) throw ZEKT_Exception_Media(L"Write failure - " + Format(L"size 0x%I64x is too large", size));
    std::uint32_t done = 0;
    const bool ok = Transfer_Write(buffer, static_cast<std::uint32_t>(size), done);
    if (!ok) {
        Throw_If_Stopped();
        throw ZEKT_Exception_Media(L"Write failure - " + Transfer_Error_Text());
    }
    // A short write the system calls a success has no error text to show.
    if (done != size) throw ZEKT_Exception_Media(Format(L"Write failure - %u of %I64u bytes written", done, size));
}

void ZEKT_Media_Handle::Read(void* buffer, std::uint64_t size) {
    bool ok = false;
    if (size <= Low_32_Bits) {
        std::uint32_t done = 0;
        ok = Transfer_Read(buffer, static_cast<std::uint32_t>(size), done) && done == size;
    }
    if (ok) return;
    Throw_If_Stopped();
    std::wstring message = L"Read failure";
    std::uint64_t position = 0;
    if (Transfer_Position(position)) Append_Format(message, L", pos 0x%08I64x, size 0x%I64x", position, size);
    throw ZEKT_Exception_Media(message);
}

bool ZEKT_Media_Handle::Transfer_Write(const void* buffer, std::uint32_t size, std::uint32_t& done) {
    return ZEKT_Os::Write(handle, buffer, size, done);
}

bool ZEKT_Media_Handle::Transfer_Read(void* buffer, std::uint32_t size, std::uint32_t& done) {
    return ZEKT_Os::Read(handle, buffer, size, done);
}

bool ZEKT_Media_Handle::Transfer_Position(std::uint64_t& position) { return ZEKT_Os::Get_Position(handle, position); }

std::wstring ZEKT_Media_Handle::Transfer_Error_Text() { return Media_Error_Text(); }

void ZEKT_Media_Handle::SetPos(std::uint64_t position) {
    if (!ZEKT_Os::Set_Position(handle, position)) throw ZEKT_Exception_Media(L"SetPos failure");
}

std::uint64_t ZEKT_Media_Handle::GetPos() {
    std::uint64_t position = 0;
    if (!ZEKT_Os::Get_Position(handle, position)) throw ZEKT_Exception_Media(L"GetPos failure");
    return position;
}

std::uint64_t ZEKT_Media_Handle::GetSize() { throw ZEKT_Exception_Bug(L"ZEKT_Media_Handle dont have size"); }

std::uint64_t ZEKT_MediaFile::GetSize() {
    std::uint64_t size = 0;
    if (!ZEKT_Os::Get_Size(handle, size)) throw ZEKT_Exception_Media(L"GetSize failure");
    return size;
}

namespace {

ZEKT_Os::Handle Open_Or_Throw(const std::wstring& open_name, const std::wstring& quoted_name, ZEKT_Os::Open_Mode mode,
                              const wchar_t* failure_words) {
    const ZEKT_Os::Handle handle = ZEKT_Os::Open_File(open_name, mode);
    if (handle == ZEKT_Os::Invalid_Handle) {
        Throw_If_Stopped();
        const std::wstring reason = Media_Error_Text();
        if (mode != ZEKT_Os::Open_Mode::Read_Protect && ZEKT_Os::Is_Link(open_name))
            throw ZEKT_Exception_Media(Link_Refused(quoted_name));
        throw ZEKT_Exception_Media(std::wstring(L"Can't open for ") + failure_words + L" file <" + quoted_name + L"> - " +
                                   reason);
    }
    return handle;
}

// The new file of a replacement: a free name beside the old one, so that
// the rename stays on one file system.
std::pair<ZEKT_Os::Handle, std::wstring> Open_New_Beside(const std::wstring& name) {
    if (ZEKT_Os::Is_Link(name)) throw ZEKT_Exception_Media(Link_Refused(name));
    // A folder, FIFO or device is no file to replace.
    const std::wstring refused = L"Can't open for protected write file <" + name + L"> - ";
    if (Exists(name) && !ZEKT_Os::Is_Regular_File(name)) throw ZEKT_Exception_Media(refused + L"not a regular file");
    static std::uint32_t serial = 0;
    for (int attempt = 0;; ++attempt) {
        const std::uint32_t tag = ZEKT_Os::Tick_Count() * 2654435761u + ++serial * 40503u;
        const std::wstring candidate = name + Format(L".%08x.new", tag);
        const ZEKT_Os::Handle handle = ZEKT_Os::Open_File(candidate, ZEKT_Os::Open_Mode::Create_New);
        if (handle != ZEKT_Os::Invalid_Handle) return {handle, candidate};
        // A name taken by chance is tried again; any other failure is final.
        if (attempt < 8 && ZEKT_Os::Presence_Of(candidate) == ZEKT_Os::Presence::Present) continue;
        Throw_If_Stopped();
        throw ZEKT_Exception_Media(refused + Media_Error_Text());
    }
}

}  // namespace

ZEKT_MediaFile::ZEKT_MediaFile(const std::wstring& name, ZEKT_Os::Open_Mode mode, const wchar_t* failure_words)
    : ZEKT_Media_Handle(Open_Or_Throw(name, name, mode, failure_words)) {}

ZEKT_MediaFileWrite::ZEKT_MediaFileWrite(const std::wstring& name)
    : ZEKT_MediaFile(name, ZEKT_Os::Open_Mode::Write, L"write") {}

ZEKT_MediaFileReadProtect::ZEKT_MediaFileReadProtect(const std::wstring& name)
    : ZEKT_MediaFile(name, ZEKT_Os::Open_Mode::Read_Protect, L"protected read") {}

ZEKT_MediaFileUpdate::ZEKT_MediaFileUpdate(const std::wstring& name)
    : ZEKT_MediaFile(name, ZEKT_Os::Open_Mode::Update, L"update") {}

void ZEKT_MediaFileUpdate::Truncate(std::uint64_t size) {
    if (!ZEKT_Os::Set_Size(handle, size)) throw ZEKT_Exception_Media(L"Truncate failure - " + Media_Error_Text());
    SetPos(size);
}

ZEKT_MediaFileWriteProtect::ZEKT_MediaFileWriteProtect(const std::wstring& name)
    : ZEKT_MediaFile(name, ZEKT_Os::Open_Mode::Write_Protect, L"protected write") {}

ZEKT_MediaFileReplace::ZEKT_MediaFileReplace(const std::wstring& name) : ZEKT_MediaFileReplace(name, Open_New_Beside(name)) {}

ZEKT_MediaFileReplace::ZEKT_MediaFileReplace(const std::wstring& name, std::pair<ZEKT_Os::Handle, std::wstring> opened)
    : ZEKT_MediaFile(opened.first), final_name(name), new_name(std::move(opened.second)) {}

ZEKT_MediaFileReplace::~ZEKT_MediaFileReplace() {
    if (handle == ZEKT_Os::Invalid_Handle) return;
    // Not committed: an error passes. The old file stays; the new one goes.
    ZEKT_Os::Close(handle);
    handle = ZEKT_Os::Invalid_Handle;
    ZEKT_Os::Delete_File(new_name);
}

void ZEKT_MediaFileReplace::Write(const void* buffer, std::uint64_t size) {
    // A full disk shows as a short write first; only the next call gets the
    // system's reason, which the message names with the file.
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    while (size > 0) {
        const auto part = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, 0x40000000));
        std::uint32_t done = 0;
        const bool ok = Transfer_Write(bytes, part, done);
        if (!ok) Throw_If_Stopped();
        if (!ok || done == 0)
            throw ZEKT_Exception_Media(L"Write failure in file <" + final_name + L"> - " +
                                       (ok ? std::wstring(L"nothing written") : Transfer_Error_Text()));
        bytes += done;
        size -= done;
    }
}

void ZEKT_MediaFileReplace::Truncate(std::uint64_t size) {
    if (!ZEKT_Os::Set_Size(handle, size))
        throw ZEKT_Exception_Media(L"Write failure in file <" + final_name + L"> - " + Media_Error_Text());
    SetPos(size);
}

void ZEKT_MediaFileReplace::Commit() {
    if (!ZEKT_Os::Flush(handle))
        throw ZEKT_Exception_Media(L"Write failure in file <" + final_name + L"> - " + Media_Error_Text());
    ZEKT_Os::Close(handle);
    handle = ZEKT_Os::Invalid_Handle;
    // A link put there while the file was written is refused too; the
    // rename would replace the link itself, but the user asked for a file.
    const bool link = ZEKT_Os::Is_Link(final_name);
    if (link || !ZEKT_Os::Rename_Over(new_name, final_name)) {
        const std::wstring reason = Media_Error_Text();
        ZEKT_Os::Delete_File(new_name);
        if (link) throw ZEKT_Exception_Media(Link_Refused(final_name));
        throw ZEKT_Exception_Media(L"Can't replace file <" + final_name + L"> - " + reason);
    }
}

void Replace_File(const std::wstring& name, const void* bytes, std::size_t size) {
    ZEKT_MediaFileReplace file(name);
    file.Write(bytes, size);
    file.Commit();
}

void Create_Folder(const std::wstring& path) {
    if (!ZEKT_Os::Create_Directory(path))
        throw ZEKT_Exception(L"Can't create folder <" + path + L"> - " + Last_Error_Text());
}

void Delete_File(const std::wstring& name) {
    if (!ZEKT_Os::Delete_File(name)) throw ZEKT_Exception(L"Can't delete file <" + name + L"> - " + Last_Error_Text());
}

bool Exists(const std::wstring& path) {
    switch (ZEKT_Os::Presence_Of(path)) {
    case ZEKT_Os::Presence::Absent:
        return false;
    case ZEKT_Os::Presence::Present:
        return true;
    case ZEKT_Os::Presence::Unknown:
        // A folder that may be written but not searched cannot say: guessing
        // "absent" would let a new file replace an old one unasked.
        throw ZEKT_Exception_Media(L"Can't tell whether file <" + path + L"> exists - " + Media_Error_Text());
    }
    throw ZEKT_Exception_Bug(L"Bug: unknown presence");
}

void Refuse_Link(const std::wstring& path) {
    if (ZEKT_Os::Is_Link(path)) throw ZEKT_Exception_Media(Link_Refused(path));
}

bool Path_Exists(const std::wstring& path) { return ZEKT_Os::Path_Exists(path); }

bool Folder_Exists(const std::wstring& path) { return ZEKT_Os::Folder_Exists(path); }

ZEKT_Find::ZEKT_Find(const std::wstring& pattern) : folder(Folder_Of(pattern)) {
    find = ZEKT_Os::Find_First(pattern, entry);
    first_pending = find != nullptr;
}

ZEKT_Find::~ZEKT_Find() {
    if (find) ZEKT_Os::Find_Close(find);
}

bool ZEKT_Find::Next() {
    while (find) {
        if (first_pending) {
            first_pending = false;
        } else if (!ZEKT_Os::Find_Next(find, entry)) {
            ZEKT_Os::Find_Close(find);
            find = nullptr;
            return false;
        }
        if (entry.name != L"." && entry.name != L"..") return true;
    }
    return false;
}
