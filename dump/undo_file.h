// The undo file "NN_NN.dump.undo" beside a dump: the bytes every mended page
// held before it was replaced, so that any mend can be taken back.
//
// The file is binary. It begins with one line of ASCII text
//     "Korvane undo 1 page P dump S\n"
// (P the bytes of a page, S the bytes of the dump, both decimal), then one
// record per replaced page, in the order the pages were replaced:
//     8 bytes   the page number, counted from 0, little-endian
//     P bytes   the page as it was (a last page shorter than P padded with 00)
// Each record is complete on disk before its page is written, and later
// mends of the same dump append to the same file. Putting back writes the
// records last first, so the dump ends as it was before the first mend; a
// record cut short (a run stopped while writing it) is skipped, because its
// page was never replaced.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/media.h"

namespace Korvane_Exe {

std::wstring Undo_Path(const std::wstring& dump_path);

class Undo_File {
public:
    // Nothing is opened before the first page is saved. An existing file of
    // another page or dump size is refused then, so no record is mixed in.
    Undo_File(const std::wstring& dump_path, std::uint32_t page_bytes, std::uint64_t dump_bytes);
    // Appends one record: `count` bytes of the page as the dump holds it now.
    void Save(std::uint64_t page, const std::uint8_t* bytes, std::size_t count);

private:
    std::wstring path;
    std::string header;
    std::uint32_t page;
    std::unique_ptr<ZEKT_MediaFileUpdate> file;
};

// Writes every page of the dump's undo file back into the dump, last record
// first; returns how many records were written.
// Throws when there is no undo file or it is not of this dump.
std::uint64_t Put_Back_Pages(const std::wstring& dump_path);

}  // namespace Korvane_Exe
