// The undo file "NN_NN.dump.undo" beside a dump: the bytes every mended page
// held before it was replaced, so that any mend can be taken back.
//
// The file is binary. It begins with one line of ASCII text
//     "Korvane undo 2 page P dump S\n"
// (P the bytes of a page, S the bytes of the dump, both decimal), then one
// record per replaced page, in the order the pages were replaced:
//     8 bytes   the page number, counted from 0, little-endian
//     4 bytes   B, the bytes of the spans that follow, little-endian
//     B bytes   spans, each 4 bytes offset in the page, 4 bytes length L
//               (both little-endian) and the L bytes the page held there
//     4 bytes   B again, so the file can be walked backwards
// Spans cover the changed bytes, with a few unchanged ones near them, so a
// page mended in a few bits costs a few bytes, not a page. Files of version 1 ("Korvane undo 1 page P dump S\n",
// each record the 8-byte page number and the P old bytes, a short last page
// padded with 00) are still put back, and later mends append to them in
// their own form.
// Each record is complete on disk before its page is written, and later
// mends of the same dump append to the same file. Putting back writes the
// records last first, so the dump ends as it was before the first mend; a
// record cut short (a run stopped while writing it) is skipped, because its
// page was never replaced.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/media.h"

namespace Korvane_Exe {

std::wstring Undo_Path(const std::wstring& dump_path);

// Bytes of a page about to change: from `offset`, `length` of them.
struct Undo_Span {
    std::uint32_t offset;
    std::uint32_t length;
};

class Undo_File {
public:
    // Nothing is opened before the first page is saved. An existing file of
    // another page or dump size is refused then, so no record is mixed in.
    Undo_File(const std::wstring& dump_path, std::uint32_t page_bytes, std::uint64_t dump_bytes);
    // Adds one record: of the `count` bytes of the page as the dump holds
    // them now (`old_bytes`), those in `spans` (ascending, apart). Records
    // wait in memory for Flush, which must come before their pages are
    // written.
    void Save(std::uint64_t page, const std::uint8_t* old_bytes, std::size_t count, const std::vector<Undo_Span>& spans);
    // The same with the spans where `new_bytes` differs; nothing is added
    // for a page that does not change.
    void Save(std::uint64_t page, const std::uint8_t* old_bytes, const std::uint8_t* new_bytes, std::size_t count);
    // Writes the records saved so far, in one go: a stop leaves at most the
    // last one cut short.
    void Flush();

private:
    std::wstring path;
    std::uint32_t page;
    std::uint64_t dump;
    int version = 2;
    std::unique_ptr<ZEKT_MediaFileUpdate> file;
    std::vector<std::uint8_t> records;  // saved, not yet written
    std::vector<Undo_Span> found;
};

// Writes every page of the dump's undo file back into the dump, last record
// first; returns how many records were written.
// Throws when there is no undo file or it is not of this dump.
std::uint64_t Put_Back_Pages(const std::wstring& dump_path);

}  // namespace Korvane_Exe
