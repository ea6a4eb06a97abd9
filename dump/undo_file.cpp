#include "dump/undo_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/errors.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

constexpr std::size_t Number_Bytes = 8;
constexpr std::size_t Length_Bytes = 4;
// A header line is short; a file whose first line is longer is not ours.
constexpr std::size_t Longest_Header = 80;
// Unchanged bytes between two changes that stay inside one span: fewer
// than a span's own offset and length would cost.
constexpr std::size_t Span_Gap = 8;

std::string Header_Line(int version, std::uint64_t page_bytes, std::uint64_t dump_bytes) {
    return To_UTF8(Format(L"Korvane undo %d page %I64u dump %I64u\n", version, page_bytes, dump_bytes));
}

ZEKT_Exception Not_Of_This_Dump(const std::wstring& path) {
    return ZEKT_Exception(L"Undo file <" + path + L"> is not of this dump");
}

struct Undo_Header {
    int version = 0;
    std::uint64_t page_bytes = 0, dump_bytes = 0;
    std::size_t size = 0;  // of the line, "\n" included
};

// The header line at the start of an open undo file: only the very line
// this program writes, no other spelling of the numbers.
Undo_Header Read_Header(ZEKT_Media& file, const std::wstring& path) {
    std::string start(static_cast<std::size_t>(std::min<std::uint64_t>(Longest_Header, file.GetSize())), '\0');
    file.SetPos(0);
    file.Read(start.data(), start.size());
    const std::size_t end = start.find('\n');
    if (end == std::string::npos) throw Not_Of_This_Dump(path);
    const std::string line = start.substr(0, end + 1);
    const std::vector<std::wstring> words = Split(Trim_Right(From_UTF8(line), L'\n'), L" ");
    Undo_Header header;
    try {
        if (words.size() == 7 && (words[2] == L"1" || words[2] == L"2")) {
            header.version = words[2] == L"1" ? 1 : 2;
            header.page_bytes = To_Unsigned_32(words[4]);
            header.dump_bytes = To_Unsigned(words[6]);
        }
    } catch (const ZEKT_Exception&) {
        header.page_bytes = 0;  // not a number: refused below with the file's name
    }
    if (header.page_bytes == 0 || line != Header_Line(header.version, header.page_bytes, header.dump_bytes))
        throw Not_Of_This_Dump(path);
    header.size = line.size();
    return header;
}

void Append_Number(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t Get_Number(const std::uint8_t* bytes, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= std::uint64_t{bytes[i]} << (8 * i);
    return value;
}

// Walks the spans of one version-2 record, writing their bytes into `page`
// when given. False when they do not fill the record exactly or reach past
// the page's `length`.
bool Put_Spans(const std::uint8_t* spans, std::size_t bytes, std::uint8_t* page, std::uint64_t length) {
    for (std::size_t at = 0; at < bytes;) {
        if (bytes - at < 2 * Length_Bytes) return false;
        const std::uint64_t offset = Get_Number(spans + at, Length_Bytes);
        const std::uint64_t count = Get_Number(spans + at + Length_Bytes, Length_Bytes);
        at += 2 * Length_Bytes;
        if (count == 0 || count > bytes - at || offset + count > length) return false;
        if (page) std::memcpy(page + offset, spans + at, static_cast<std::size_t>(count));
        at += static_cast<std::size_t>(count);
    }
    return true;
}

// Checks every record of an open undo file and returns where the last
// complete one ends; `records` gets their count. A record cut short (the
// last one, when a run stopped while writing it) ends the walk.
std::uint64_t Walk_Records(ZEKT_Media& undo, const Undo_Header& header, const std::wstring& path,
                           std::uint64_t& records) {
    const std::uint64_t page_bytes = header.page_bytes, dump_bytes = header.dump_bytes;
    const std::uint64_t pages = (dump_bytes + page_bytes - 1) / page_bytes;
    const std::uint64_t size = undo.GetSize();
    auto check_page = [&](std::uint64_t number) {
        if (number >= pages)
            throw ZEKT_Exception(Format(L"Undo file <%s> names page <%I64u> beyond the dump", path, number));
    };
    std::uint64_t end = header.size;
    records = 0;
    std::vector<std::uint8_t> record(Number_Bytes);
    if (header.version == 1) {
        const std::uint64_t record_bytes = Number_Bytes + page_bytes;
        records = (size - header.size) / record_bytes;
        end += records * record_bytes;
        for (std::uint64_t at = header.size; at < end; at += record_bytes) {
            undo.SetPos(at);
            undo.Read(record.data(), Number_Bytes);
            check_page(Get_Number(record.data(), Number_Bytes));
        }
        return end;
    }
    // Spans never hold more than the page, and a span costs 8 bytes and at least one of it.
    const std::uint64_t longest = 9 * page_bytes;
    const std::uint64_t head = Number_Bytes + Length_Bytes;
    while (size - end >= head + Length_Bytes) {
        undo.SetPos(end);
        record.resize(head);
        undo.Read(record.data(), head);
        const std::uint64_t number = Get_Number(record.data(), Number_Bytes);
        const std::uint64_t spans = Get_Number(record.data() + Number_Bytes, Length_Bytes);
        if (spans > longest) throw Not_Of_This_Dump(path);
        if (size - end - head - Length_Bytes < spans) break;
        check_page(number);
        record.resize(static_cast<std::size_t>(spans) + Length_Bytes);
        undo.Read(record.data(), record.size());
        if (Get_Number(record.data() + spans, Length_Bytes) != spans ||
            !Put_Spans(record.data(), static_cast<std::size_t>(spans), nullptr,
                       std::min(page_bytes, dump_bytes - number * page_bytes)))
            throw Not_Of_This_Dump(path);
        end += head + spans + Length_Bytes;
        ++records;
    }
    return end;
}

}  // namespace

std::wstring Undo_Path(const std::wstring& dump_path) { return dump_path + L".undo"; }

Undo_File::Undo_File(const std::wstring& dump_path, std::uint32_t page_bytes, std::uint64_t dump_bytes)
    : path(Undo_Path(dump_path)), page(page_bytes), dump(dump_bytes) {}

void Undo_File::Save(std::uint64_t number, const std::uint8_t* old_bytes, const std::uint8_t* new_bytes,
                     std::size_t count) {
    count = std::min<std::size_t>(count, page);
    found.clear();
    for (std::size_t i = 0; i < count;) {
        while (i + 64 <= count && std::memcmp(old_bytes + i, new_bytes + i, 64) == 0) i += 64;
        if (i == count) break;
        if (old_bytes[i] == new_bytes[i]) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        for (std::size_t j = end; j < count && j < end + Span_Gap; ++j)
            if (old_bytes[j] != new_bytes[j]) end = j + 1;
        found.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(end - i)});
        i = end;
    }
    if (!found.empty()) Save(number, old_bytes, count, found);
}

void Undo_File::Save(std::uint64_t number, const std::uint8_t* old_bytes, std::size_t count,
                     const std::vector<Undo_Span>& spans) {
    count = std::min<std::size_t>(count, page);
    if (!file) {
        if (!Path_Exists(path)) {
            const std::string line = Header_Line(version, page, dump);
            ZEKT_MediaFileWrite created(path);
            created.Write(line.data(), line.size());
        }
        file = std::make_unique<ZEKT_MediaFileUpdate>(path);
        const Undo_Header header = Read_Header(*file, path);
        if (header.page_bytes != page || header.dump_bytes != dump) throw Not_Of_This_Dump(path);
        version = header.version;
        // A record cut short by an earlier stop goes, or the ones after it could not be walked.
        std::uint64_t records = 0;
        const std::uint64_t end = Walk_Records(*file, header, path, records);
        if (end < file->GetSize()) file->Truncate(end);
        file->SetPos(end);
    }
    const std::size_t start = records.size();
    Append_Number(records, number, Number_Bytes);
    if (version == 1) {
        // The whole page; a short last page is padded, so every record has one size.
        records.resize(start + Number_Bytes + page, 0);
        std::copy_n(old_bytes, count, records.begin() + static_cast<std::ptrdiff_t>(start + Number_Bytes));
        return;
    }
    Append_Number(records, 0, Length_Bytes);
    for (const Undo_Span& span : spans) {
        if (span.length == 0 || span.offset + std::uint64_t{span.length} > count)
            throw ZEKT_Exception_Bug(L"Undo span outside the page");
        Append_Number(records, span.offset, Length_Bytes);
        Append_Number(records, span.length, Length_Bytes);
        records.insert(records.end(), old_bytes + span.offset, old_bytes + span.offset + span.length);
    }
    const std::size_t bytes = records.size() - start - Number_Bytes - Length_Bytes;
    for (std::size_t i = 0; i < Length_Bytes; ++i)
        records[start + Number_Bytes + i] = static_cast<std::uint8_t>(bytes >> (8 * i));
    Append_Number(records, bytes, Length_Bytes);
}

void Undo_File::Flush() {
    if (records.empty()) return;
    file->Write(records.data(), records.size());
    records.clear();
}

std::uint64_t Put_Back_Pages(const std::wstring& dump_path) {
    const std::wstring path = Undo_Path(dump_path);
    if (!Path_Exists(path)) throw ZEKT_Exception(L"No undo file <" + path + L">");
    ZEKT_MediaFileReadProtect undo(path);
    const Undo_Header header = Read_Header(undo, path);
    const std::uint64_t page_bytes = header.page_bytes, dump_bytes = header.dump_bytes;
    auto page_length = [&](std::uint64_t number) { return std::min(page_bytes, dump_bytes - number * page_bytes); };
    // Every record is checked before the first is written back, so a bad
    // file never leaves the dump half put back.
    std::uint64_t records = 0;
    const std::uint64_t end = Walk_Records(undo, header, path, records);
    std::vector<std::uint8_t> record;
    ZEKT_MediaFileUpdate dump(dump_path);
    if (dump.GetSize() != dump_bytes)
        throw ZEKT_Exception(Format(L"Undo file <%s> is of a dump of %I64u bytes, not %I64u", path, dump_bytes,
                                    dump.GetSize()));
    std::vector<std::uint8_t> page(static_cast<std::size_t>(page_bytes));
    for (std::uint64_t at = end; at > header.size;) {
        std::uint64_t number = 0, start = 0;
        if (header.version == 1) {
            start = at - Number_Bytes - page_bytes;
            record.resize(static_cast<std::size_t>(at - start));
            undo.SetPos(start);
            undo.Read(record.data(), record.size());
            number = Get_Number(record.data(), Number_Bytes);
            std::copy_n(record.begin() + Number_Bytes, page_bytes, page.begin());
        } else {
            std::uint8_t trailer[Length_Bytes];
            undo.SetPos(at - Length_Bytes);
            undo.Read(trailer, Length_Bytes);
            const std::uint64_t spans = Get_Number(trailer, Length_Bytes);
            start = at - Length_Bytes - spans - Number_Bytes - Length_Bytes;
            record.resize(static_cast<std::size_t>(at - start));
            undo.SetPos(start);
            undo.Read(record.data(), record.size());
            number = Get_Number(record.data(), Number_Bytes);
            dump.SetPos(number * page_bytes);
            dump.Read(page.data(), page_length(number));
            Put_Spans(record.data() + Number_Bytes + Length_Bytes, static_cast<std::size_t>(spans), page.data(),
                      page_length(number));
        }
        dump.SetPos(number * page_bytes);
        dump.Write(page.data(), page_length(number));
        at = start;
    }
    return records;
}

}  // namespace Korvane_Exe
