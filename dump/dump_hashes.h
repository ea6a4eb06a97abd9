// Hashes of the files a dump writes, taken from the chunks as they are
// written, and stored beside each file in the form `sha256sum -c` checks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/sha256.h"

namespace Korvane_Exe {

// What a dump pass tells about the files it writes.
class Dump_File_Watch {
public:
    virtual ~Dump_File_Watch() = default;
    // A bank's pass begins; nothing of an earlier, failed bank counts any more.
    virtual void Bank_Started() = 0;
    // A dump or bb file begins anew (created, resumed or mended); all its
    // bytes follow, in order.
    virtual void Created(const std::wstring& path) = 0;
    virtual void Written(const void* bytes, std::size_t count) = 0;
    // A stale file of the bank was deleted.
    virtual void Deleted(const std::wstring& path) = 0;
    // The bank is complete: every file created since Bank_Started is whole.
    virtual void Bank_Done() = 0;
};

// Tells `watch` that the file at `path` begins and hands it the first
// `bytes` bytes the file holds, read back from disk chunk by chunk.
void Watch_From_Disk(Dump_File_Watch& watch, const std::wstring& path, std::uint64_t bytes);

// Feeds the bytes [from, to) of the file at `path` to `hash`, chunk by chunk.
void Hash_From_Disk(ZEKT_Sha256& hash, const std::wstring& path, std::uint64_t from, std::uint64_t to);

// Ends `hash` and writes its line for the file at `path` into "PATH.sha256".
void Write_Hash_File(const std::wstring& path, ZEKT_Sha256& hash);

// Writes "NAME.sha256" beside every file of a complete bank: 64 lower-case
// hexadecimal digits, two blanks, the file's name, a line feed. A file that
// is created anew or deleted loses its old hash file at once, so a failed
// bank leaves none.
class Dump_Hashes : public Dump_File_Watch {
public:
    void Bank_Started() override;
    void Created(const std::wstring& path) override;
    void Written(const void* bytes, std::size_t count) override;
    void Deleted(const std::wstring& path) override;
    void Bank_Done() override;

private:
    struct File {
        std::wstring path;
        ZEKT_Sha256 hash;
    };
    std::vector<std::unique_ptr<File>> files;
};

}  // namespace Korvane_Exe
