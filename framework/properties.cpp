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

namespace {

bool Starts_With(const std::wstring& line, const wchar_t* prefix) { return line.rfind(prefix, 0) == 0; }

std::size_t Leading_Blanks(const std::wstring& line) {
    const std::size_t first = line.find_first_not_of(L' ');
    return first == std::wstring::npos ? line.size() : first;
}

}  // namespace

ZEKT_Sections::ZEKT_Sections(const std::wstring& text) {
    const std::vector<std::wstring> lines = Split(Replace_All(text, L"\r\n", L"\n"), L"\n");
    std::size_t cursor = 0;
    while (cursor < lines.size()) {
        const std::wstring line = Trim_Right(lines[cursor], L' ');
        ++cursor;
        if (line.empty() || Starts_With(line, L"//")) continue;
        if (Starts_With(line, L"/*")) {
            while (cursor < lines.size() && !Starts_With(lines[cursor], L"*/")) ++cursor;
            if (cursor == lines.size()) throw ZEKT_Exception(L"Block comment not closed");
            ++cursor;
            continue;
        }
        ZEKT_Section section;
        std::vector<std::wstring> values;
        const std::size_t gap = line.find(L"  ");
        if (gap == std::wstring::npos) {
            section.name = line;
        } else {
            section.name = line.substr(0, gap);
            values.push_back(std::wstring(gap, L' ') + line.substr(gap));
        }
        while (cursor < lines.size() && !lines[cursor].empty() && lines[cursor][0] == L' ')
            values.push_back(lines[cursor++]);
        std::size_t common = std::wstring::npos;
        for (const std::wstring& value : values) common = std::min(common, Leading_Blanks(value));
        for (std::wstring& value : values) value.erase(0, common);
        section.text = Join(values, L"\r\n");
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
    // Settings texts are small; a huge file is not one, and would not fit in
    // the address space of the 32-bit program anyway.
    constexpr std::uint64_t Text_File_Limit = 256u << 20;
    if (size > Text_File_Limit) throw ZEKT_Exception_DataCorrupt(L"Text file too large <" + path + L">");
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

std::wstring Read_Text_File(const std::wstring& path) {
    const std::vector<unsigned char> bytes = Read_Whole_File(path);
    if (Has_Mark(bytes)) return Unicode_Text(bytes);
    return From_Code_Page(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), 0);
}

std::wstring Read_Unicode_File(const std::wstring& path) {
    const std::vector<unsigned char> bytes = Read_Whole_File(path);
    if (!Has_Mark(bytes)) throw ZEKT_Exception_DataCorrupt(L"Not unicode file");
    return Unicode_Text(bytes);
}

void Write_Text_File(const std::wstring& path, const std::wstring& text) {
    // The mark FF FE is the character U+FEFF in UTF-16 little-endian.
    const std::vector<unsigned char> bytes = To_UTF16LE_Bytes(L"\xFEFF" + text);
    ZEKT_MediaFileWriteProtect file(path);
    file.Write(bytes.data(), bytes.size());
}
