#include "dump/undo_file.h"

#include <algorithm>
#include <vector>

#include "framework/errors.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

constexpr std::size_t Number_Bytes = 8;
// A header line is short; a file whose first line is longer is not ours.
constexpr std::size_t Longest_Header = 80;

std::string Header_Line(std::uint32_t page_bytes, std::uint64_t dump_bytes) {
    return To_UTF8(Format(L"Korvane undo 1 page %u dump %I64u\n", page_bytes, dump_bytes));
}

ZEKT_Exception Not_Of_This_Dump(const std::wstring& path) {
    return ZEKT_Exception(L"Undo file <" + path + L"> is not of this dump");
}

// The header line at the start of an open undo file, "\n" included.
std::string Read_Header(ZEKT_Media& file, const std::wstring& path) {
    std::string start(static_cast<std::size_t>(std::min<std::uint64_t>(Longest_Header, file.GetSize())), '\0');
    file.SetPos(0);
    file.Read(start.data(), start.size());
    const std::size_t end = start.find('\n');
    if (end == std::string::npos) throw Not_Of_This_Dump(path);
    return start.substr(0, end + 1);
}

void Put_Number(std::uint8_t* bytes, std::uint64_t value) {
    for (std::size_t i = 0; i < Number_Bytes; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t Get_Number(const std::uint8_t* bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < Number_Bytes; ++i) value |= std::uint64_t{bytes[i]} << (8 * i);
    return value;
}

}  // namespace

std::wstring Undo_Path(const std::wstring& dump_path) { return dump_path + L".undo"; }

Undo_File::Undo_File(const std::wstring& dump_path, std::uint32_t page_bytes, std::uint64_t dump_bytes)
    : path(Undo_Path(dump_path)), header(Header_Line(page_bytes, dump_bytes)), page(page_bytes) {}

void Undo_File::Save(std::uint64_t number, const std::uint8_t* bytes, std::size_t count) {
    if (!file) {
        if (!Path_Exists(path)) {
            ZEKT_MediaFileWrite created(path);
            created.Write(header.data(), header.size());
        }
        file = std::make_unique<ZEKT_MediaFileUpdate>(path);
        if (Read_Header(*file, path) != header) throw Not_Of_This_Dump(path);
        file->SetPos(file->GetSize());
    }
    // One write per record; a short last page is padded, so every record
    // has one size and the file can be walked backwards.
    std::vector<std::uint8_t> record(Number_Bytes + page, 0);
    Put_Number(record.data(), number);
    std::copy_n(bytes, std::min<std::size_t>(count, page), record.begin() + Number_Bytes);
    file->Write(record.data(), record.size());
}

std::uint64_t Put_Back_Pages(const std::wstring& dump_path) {
    const std::wstring path = Undo_Path(dump_path);
    if (!Path_Exists(path)) throw ZEKT_Exception(L"No undo file <" + path + L">");
    std::uint64_t dump_bytes = 0, page_bytes = 0, records = 0, record_bytes = 0, start = 0;
    {
        ZEKT_MediaFileReadProtect undo(path);
        const std::string header = Read_Header(undo, path);
        const std::vector<std::wstring> words = Split(Trim_Right(From_UTF8(header), L'\n'), L" ");
        try {
            if (words.size() == 7) page_bytes = To_Unsigned_32(words[4]), dump_bytes = To_Unsigned(words[6]);
        } catch (const ZEKT_Exception&) {
            page_bytes = 0;  // not a number: refused below with the file's name
        }
        // Only the very line this program writes: no other spelling of the numbers.
        if (page_bytes == 0 || header != Header_Line(static_cast<std::uint32_t>(page_bytes), dump_bytes))
            throw Not_Of_This_Dump(path);
        start = header.size();
        record_bytes = Number_Bytes + page_bytes;
        records = (undo.GetSize() - start) / record_bytes;
        // Every page is checked before the first is written back, so a bad
        // file never leaves the dump half put back.
        const std::uint64_t pages = (dump_bytes + page_bytes - 1) / page_bytes;
        std::uint8_t number[Number_Bytes];
        for (std::uint64_t record = 0; record < records; ++record) {
            undo.SetPos(start + record * record_bytes);
            undo.Read(number, Number_Bytes);
            if (Get_Number(number) >= pages)
                throw ZEKT_Exception(Format(L"Undo file <%s> names page <%I64u> beyond the dump", path, Get_Number(number)));
        }
    }
    ZEKT_MediaFileUpdate dump(dump_path);
    if (dump.GetSize() != dump_bytes)
        throw ZEKT_Exception(Format(L"Undo file <%s> is of a dump of %I64u bytes, not %I64u", path, dump_bytes,
                                    dump.GetSize()));
    ZEKT_MediaFileReadProtect undo(path);
    std::vector<std::uint8_t> record(static_cast<std::size_t>(record_bytes));
    for (std::uint64_t left = records; left > 0; --left) {
        undo.SetPos(start + (left - 1) * record_bytes);
        undo.Read(record.data(), record.size());
        const std::uint64_t offset = Get_Number(record.data()) * page_bytes;
        dump.SetPos(offset);
        dump.Write(record.data() + Number_Bytes, std::min(page_bytes, dump_bytes - offset));
    }
    return records;
}

}  // namespace Korvane_Exe
