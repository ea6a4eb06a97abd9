// Random-access byte storage with 64-bit positions, the file classes in the
// open modes the system uses, and the folder and file operations.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "os.h"

class ZEKT_Media {
public:
    virtual ~ZEKT_Media() = default;
    // Exactly `size` bytes or an exception; never a partial result.
    virtual void Write(const void* buffer, std::uint64_t size) = 0;
    virtual void Read(void* buffer, std::uint64_t size) = 0;
    virtual void SetPos(std::uint64_t position) = 0;
    virtual std::uint64_t GetSize() = 0;
};

// Owns one operating-system handle and closes it on destruction.
class ZEKT_Media_Handle : public ZEKT_Media {
public:
    explicit ZEKT_Media_Handle(ZEKT_Os::Handle handle);
    ~ZEKT_Media_Handle() override;
    ZEKT_Media_Handle(const ZEKT_Media_Handle&) = delete;
    ZEKT_Media_Handle& operator=(const ZEKT_Media_Handle&) = delete;

    void Write(const void* buffer, std::uint64_t size) override;
    void Read(void* buffer, std::uint64_t size) override;
    void SetPos(std::uint64_t position) override;
    // A bare handle has no size: throws ZEKT_Exception_Bug.
    std::uint64_t GetSize() override;
    std::uint64_t GetPos();

protected:
    // The system calls below Write and Read. A medium that stands for a
    // virtual device replaces only these, so the size checks, the failure
    // texts and the short-transfer rules above them stay one piece of code.
    virtual bool Transfer_Write(const void* buffer, std::uint32_t size, std::uint32_t& done);
    virtual bool Transfer_Read(void* buffer, std::uint32_t size, std::uint32_t& done);
    virtual bool Transfer_Position(std::uint64_t& position);
    // The text after "Write failure - " for the last failed transfer.
    virtual std::wstring Transfer_Error_Text();

    ZEKT_Os::Handle handle;
};

class ZEKT_MediaFile : public ZEKT_Media_Handle {
public:
    std::uint64_t GetSize() override;

protected:
    ZEKT_MediaFile(const std::wstring& name, ZEKT_Os::Open_Mode mode, const wchar_t* failure_words);
    explicit ZEKT_MediaFile(ZEKT_Os::Handle opened) : ZEKT_Media_Handle(opened) {}
};

// Read and write, others may read and write, created anew.
class ZEKT_MediaFileWrite : public ZEKT_MediaFile {
public:
    explicit ZEKT_MediaFileWrite(const std::wstring& name);
};

// Read only, nobody else may write while it is open; the file must exist.
class ZEKT_MediaFileReadProtect : public ZEKT_MediaFile {
public:
    explicit ZEKT_MediaFileReadProtect(const std::wstring& name);
};

// Read and write an existing file in place; others may only read it.
class ZEKT_MediaFileUpdate : public ZEKT_MediaFile {
public:
    explicit ZEKT_MediaFileUpdate(const std::wstring& name);
    // Cuts the file at `size` bytes and goes on writing there.
    void Truncate(std::uint64_t size);
};

// Read and write, nobody else may open it at all, created anew.
class ZEKT_MediaFileWriteProtect : public ZEKT_MediaFile {
public:
    explicit ZEKT_MediaFileWriteProtect(const std::wstring& name);
};

// A file that is replaced whole or not at all: the bytes go to a new file
// beside `name` (nobody else may open it), which takes the place of `name`
// only at Commit. Without Commit the new file goes and the old one stays as
// it was. A symbolic link at `name` is refused, at the start and at Commit.
class ZEKT_MediaFileReplace : public ZEKT_MediaFile {
public:
    explicit ZEKT_MediaFileReplace(const std::wstring& name);
    ~ZEKT_MediaFileReplace() override;
    // A failed write names the file it was meant for.
    void Write(const void* buffer, std::uint64_t size) override;
    // Cuts the new file at `size` bytes (kept written ahead of the cut).
    void Truncate(std::uint64_t size);
    // Puts the bytes on the disk and the new file in the place of the old.
    void Commit();

private:
    ZEKT_MediaFileReplace(const std::wstring& name, std::pair<ZEKT_Os::Handle, std::wstring> opened);
    std::wstring final_name, new_name;
};

// Writes `bytes` as the whole content of `name` through ZEKT_MediaFileReplace.
void Replace_File(const std::wstring& name, const void* bytes, std::size_t size);

// The system text of the last error, or "Code " and the number.
std::wstring Media_Error_Text();

// Folder and file operations; failures throw ZEKT_Exception with the system text.
void Create_Folder(const std::wstring& path);
void Delete_File(const std::wstring& name);
// Whether anything is at `path` (a link counts, wherever it points), asked
// of the name itself; throws when the system cannot say.
bool Exists(const std::wstring& path);
// Throws when `path` is a symbolic link: no output goes through one.
void Refuse_Link(const std::wstring& path);
// Throws ZEKT_Exception_Cancel once the user asked to stop.
void Check_Stop();
// Whether anything is at `path`, its name taken literally (no pattern).
bool Path_Exists(const std::wstring& path);
bool Folder_Exists(const std::wstring& path);

// A folder listing; "." and ".." are skipped.
class ZEKT_Find {
public:
    explicit ZEKT_Find(const std::wstring& pattern);
    ~ZEKT_Find();
    ZEKT_Find(const ZEKT_Find&) = delete;
    ZEKT_Find& operator=(const ZEKT_Find&) = delete;

    // Moves to the next entry; false when there is none (also before the first).
    bool Next();
    const std::wstring& Name() const { return entry.name; }
    std::wstring Path() const { return folder + entry.name; }
    bool Is_Folder() const { return entry.is_folder; }
    std::uint64_t Write_Time() const { return entry.write_time; }

private:
    std::wstring folder;
    ZEKT_Os::Find_Handle* find = nullptr;
    ZEKT_Os::Find_Entry entry;
    bool first_pending = false;
};
