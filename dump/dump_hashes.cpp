#include "dump/dump_hashes.h"

#include <algorithm>
#include <cstdint>

#include "framework/errors.h"
#include "framework/media.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

std::wstring Hash_Path(const std::wstring& path) { return path + L".sha256"; }

void Delete_Hash(const std::wstring& path) {
    if (Exists(Hash_Path(path))) Delete_File(Hash_Path(path));
}

}  // namespace

void Watch_From_Disk(Dump_File_Watch& watch, const std::wstring& path, std::uint64_t bytes) {
    watch.Created(path);
    ZEKT_MediaFileReadProtect file(path);
    std::vector<std::uint8_t> chunk(0x20000);
    for (std::uint64_t pos = 0; pos < bytes;) {
        // A kept part can take minutes to hash: a stop request ends it too.
        Check_Stop();
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), bytes - pos));
        file.Read(chunk.data(), n);
        watch.Written(chunk.data(), n);
        pos += n;
    }
}

void Hash_From_Disk(ZEKT_Sha256& hash, const std::wstring& path, std::uint64_t from, std::uint64_t to) {
    ZEKT_MediaFileReadProtect file(path);
    file.SetPos(from);
    std::vector<std::uint8_t> chunk(0x100000);
    for (std::uint64_t pos = from; pos < to;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), to - pos));
        file.Read(chunk.data(), n);
        hash.Update(chunk.data(), n);
        pos += n;
    }
}

void Write_Hash_File(const std::wstring& path, ZEKT_Sha256& hash) {
    const std::wstring name = path.substr(Folder_Of(path).size());
    // Narrow text with line feeds: what sha256sum reads on every system.
    const std::string line = To_UTF8(hash.Final_Text() + L"  " + name + L"\n");
    Replace_File(Hash_Path(path), line.data(), line.size());
}

void Dump_Hashes::Bank_Started() { files.clear(); }

void Dump_Hashes::Created(const std::wstring& path) {
    Delete_Hash(path);
    files.push_back(std::make_unique<File>(File{path, ZEKT_Sha256()}));
}

void Dump_Hashes::Written(const void* bytes, std::size_t count) {
    if (files.empty()) throw ZEKT_Exception_Bug(L"Bug: chunk written before its file was created");
    files.back()->hash.Update(bytes, count);
}

void Dump_Hashes::Deleted(const std::wstring& path) { Delete_Hash(path); }

void Dump_Hashes::Bank_Done() {
    for (const std::unique_ptr<File>& file : files) Write_Hash_File(file->path, file->hash);
    files.clear();
}

}  // namespace Korvane_Exe
