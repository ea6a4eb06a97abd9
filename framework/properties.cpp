#include "properties.h"

#include <algorithm>

#include "media.h"
#include "values.h"

std::wstring ZEKT_Property_UINT32::To_Text() const {
    return Hex ? Format(L"0x%I64x", std::uint64_t{*value}) : Format(L"%I64d", std::int64_t{*value});
}

void ZEKT_Property_UINT32::From_Text(const std::wstring& text) {
    const std::wstring trimmed = Trim(text, L' ');
    // The message quotes the text as given, but the number is read trimmed.
    try {
        *value = To_Unsigned_32(trimmed);
    } catch (const ZEKT_Exception_DataCorrupt&) {
        throw ZEKT_Exception_DataCorrupt(L"Can't convert <" + text + L"> to integer");
    }
}

void ZEKT_Property_BOOL::From_Text(const std::wstring& text) {
    std::wstring lower = text;
    for (wchar_t& c : lower) c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    if (!text.empty() && lower != L"true" && lower != L"false")
        throw ZEKT_Exception_DataCorrupt(L"Can't convert <" + text + L"> to true or false");
    *value = text == L"true";
}

namespace {

bool Starts_With(std::wstring_view line, const wchar_t* prefix) { return line.rfind(prefix, 0) == 0; }

std::size_t Leading_Blanks(std::wstring_view line) {
    const std::size_t first = line.find_first_not_of(L' ');
    return first == std::wstring_view::npos ? line.size() : first;
}

// The lines of a text as views into it, split at "\n" with the "\r" of a
// "\r\n" dropped: memory stays that of the text, however many lines it has.
class Lines {
public:
    explicit Lines(std::wstring_view all) : text(all), at(all.empty() ? npos : 0) {}
    bool Done() const { return at == npos; }
    std::wstring_view Peek() const {
        const std::size_t end = text.find(L'\n', at);
        if (end == npos) return text.substr(at);
        const std::size_t cut = end > at && text[end - 1] == L'\r' ? end - 1 : end;
        return text.substr(at, cut - at);
    }
    void Next() {
        const std::size_t end = text.find(L'\n', at);
        at = end == npos ? npos : end + 1;
    }

private:
    static constexpr std::size_t npos = std::wstring_view::npos;
    std::wstring_view text;
    std::size_t at;
};

}  // namespace

ZEKT_Sections::ZEKT_Sections(const std::wstring& text) {
    Lines lines(text);
    std::vector<std::wstring_view> values;
    while (!lines.Done()) {
        std::wstring_view line = lines.Peek();
        lines.Next();
        line = line.substr(0, line.find_last_not_of(L' ') + 1);
        if (line.empty() || Starts_With(line, L"//")) continue;
        if (Starts_With(line, L"/*")) {
            while (!lines.Done() && !Starts_With(lines.Peek(), L"*/")) lines.Next();
            if (lines.Done()) throw ZEKT_Exception(L"Block comment not closed");
            lines.Next();
            continue;
        }
        ZEKT_Section section;
        values.clear();
        const std::size_t gap = line.find(L"  ");
        // The first value line keeps its column: its name counts as blanks.
        std::size_t first_blanks = 0;
        if (gap == std::wstring_view::npos) {
            section.name = line;
        } else {
            section.name = line.substr(0, gap);
            values.push_back(line.substr(gap));
            first_blanks = gap;
        }
        while (!lines.Done() && !lines.Peek().empty() && lines.Peek()[0] == L' ') {
            values.push_back(lines.Peek());
            lines.Next();
        }
        std::size_t common = std::wstring::npos;
        for (std::size_t i = 0; i < values.size(); ++i)
            common = std::min(common, Leading_Blanks(values[i]) + (i == 0 ? first_blanks : 0));
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i) section.text += L"\r\n";
            std::wstring_view value = values[i];
            std::size_t drop = common;
            if (i == 0 && first_blanks) {
                // The name's columns are blanks to drop before the line's own.
                const std::size_t from_name = std::min(drop, first_blanks);
                drop -= from_name;
                section.text.append(first_blanks - from_name, L' ');
            }
            section.text += value.substr(std::min(drop, value.size()));
        }
        sections.push_back(std::move(section));
    }
}

ZEKT_Sections::ZEKT_Sections(ZEKT_Properties& properties) : Aligned(true) {
    ZEKT_Property_List list;
    properties.Describe(list);
    for (const auto& property : list) {
        const bool separator = dynamic_cast<const ZEKT_Property_Separator*>(property.get()) != nullptr;
        sections.push_back({property->name, property->To_Text(), separator});
    }
}

std::wstring ZEKT_Sections::To_Text() const {
    std::size_t width = 0;
    for (const ZEKT_Section& section : sections) width = std::max(width, section.name.size());
    width += 2;
    std::wstring text;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const ZEKT_Section& section = sections[i];
        if (i) text += Line_Break;
        std::wstring value = Replace_All(section.text, L"\r\n", L"\n");
        std::wstring name = section.name;
        std::size_t indent = Aligned ? width : Indent;
        if (!value.empty()) {
            if (Aligned) {
                name.resize(std::max(width, name.size()), L' ');
            } else {
                name += Line_Break + std::wstring(Indent, L' ');
            }
        }
        value = Replace_All(value, L"\n", Line_Break + std::wstring(indent, L' '));
        std::wstring line = name + value;
        if (section.comment && !line.empty()) {
            if (line.find(Line_Break) == std::wstring::npos)
                line = L"// " + line;
            else
                line = L"/*" + Line_Break + line + Line_Break + L"*/" + Line_Break;
            if (i) line = Line_Break + line;
        }
        text += line;
    }
    return text;
}

const ZEKT_Section* ZEKT_Sections::Find(const std::wstring& name) const {
    for (const ZEKT_Section& section : sections)
        if (!section.comment && section.name == name) return &section;
    return nullptr;
}

const std::wstring& ZEKT_Sections::Find_Section(const std::wstring& name) const {
    const ZEKT_Section* section = Find(name);
    if (!section) throw ZEKT_Exception(L"Section <" + name + L"> not found");
    return section->text;
}

void Import_Properties(ZEKT_Properties& properties, const ZEKT_Sections& sections) {
    ZEKT_Property_List list;
    properties.Describe(list);
    for (const auto& property : list) {
        if (dynamic_cast<const ZEKT_Property_Separator*>(property.get())) continue;
        property->From_Text(sections.Find_Section(property->name));
    }
}

std::wstring Export_Properties(ZEKT_Properties& properties) { return ZEKT_Sections(properties).To_Text(); }

namespace {

std::wstring Units_To_Text(const std::vector<unsigned char>& bytes, std::size_t offset) {
    std::u16string units((bytes.size() - offset) / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(bytes[offset + 2 * i] | (bytes[offset + 2 * i + 1] << 8));
    return From_UTF16(units);
}

std::vector<unsigned char> Read_Whole_File(const std::wstring& path) {
    ZEKT_MediaFileReadProtect file(path);
    const std::uint64_t size = file.GetSize();
    // Settings texts are a few kilobytes; a larger file is not one, and is
    // refused before it could take memory many times its size.
    if (size > Text_File_Limit)
        throw ZEKT_Exception_DataCorrupt(Format(L"Text file <%s> is larger than %u bytes", path, Text_File_Limit));
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    if (!bytes.empty()) file.Read(bytes.data(), bytes.size());
    return bytes;
}

bool Has_Mark(const std::vector<unsigned char>& bytes) {
    return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
}

std::wstring Unicode_Text(const std::vector<unsigned char>& bytes) {
    if ((bytes.size() - 2) % 2 != 0) throw ZEKT_Exception(L"Unicode file size is not align on 2");
    return Units_To_Text(bytes, 2);
}

}  // namespace

std::wstring Text_Of_File_Bytes(const std::vector<unsigned char>& bytes) {
    if (Has_Mark(bytes)) return Unicode_Text(bytes);
    return From_Code_Page(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), 0);
}

std::wstring Read_Text_File(const std::wstring& path) { return Text_Of_File_Bytes(Read_Whole_File(path)); }

std::wstring Read_Unicode_File(const std::wstring& path) {
    const std::vector<unsigned char> bytes = Read_Whole_File(path);
    if (!Has_Mark(bytes)) throw ZEKT_Exception_DataCorrupt(L"Not unicode file");
    return Unicode_Text(bytes);
}

void Write_Text_File(const std::wstring& path, const std::wstring& text) {
    // The mark FF FE is the character U+FEFF in UTF-16 little-endian.
    const std::vector<unsigned char> bytes = To_UTF16LE_Bytes(L"\xFEFF" + text);
    // Written beside the old file and put in its place only when complete.
    Replace_File(path, bytes.data(), bytes.size());
}

void Read_Text_Lines(const std::wstring& path, const std::function<void(const std::wstring&)>& line) {
    ZEKT_MediaFileReadProtect file(path);
    const std::uint64_t size = file.GetSize();
    std::vector<unsigned char> chunk(0x10000);
    std::u16string units;  // the line so far, UTF-16
    std::string bytes;     // or UTF-8
    bool utf16 = false;
    auto end_line = [&]() {
        std::wstring text = utf16 ? From_UTF16(units) : From_UTF8(bytes);
        if (!text.empty() && text.back() == L'\r') text.pop_back();
        units.clear();
        bytes.clear();
        line(text);
    };
    auto too_long = [&]() {
        return ZEKT_Exception_DataCorrupt(Format(L"Line longer than %u characters in file <%s>", Text_Line_Limit, path));
    };
    std::uint64_t pos = 0;
    std::size_t skip = 0;
    while (pos < size) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - pos));
        file.Read(chunk.data(), n);
        if (pos == 0 && n >= 2 && chunk[0] == 0xFF && chunk[1] == 0xFE) utf16 = true, skip = 2;
        if (pos == 0 && n >= 3 && chunk[0] == 0xEF && chunk[1] == 0xBB && chunk[2] == 0xBF) skip = 3;
        pos += n;
        if (utf16 && size % 2 != 0) throw ZEKT_Exception(L"Unicode file size is not align on 2");
        for (std::size_t i = skip; i < n; i += utf16 ? 2 : 1) {
            const char16_t unit = utf16 ? static_cast<char16_t>(chunk[i] | chunk[i + 1] << 8) : chunk[i];
            if (unit == u'\n') {
                end_line();
                continue;
            }
            if (utf16)
                units += unit;
            else
                bytes += static_cast<char>(unit);
            if (units.size() > Text_Line_Limit || bytes.size() > 4 * std::size_t{Text_Line_Limit}) throw too_long();
        }
        skip = 0;
    }
    if (!units.empty() || !bytes.empty()) end_line();
}
