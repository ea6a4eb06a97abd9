// Typed, named properties of settings objects, and the settings text: an
// ordered list of named sections, written aligned and read back.
#pragma once

#include <cstdint>
#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "errors.h"

class ZEKT_Property {
public:
    ZEKT_Property(std::wstring property_name, bool multi_line = false)
        : name(std::move(property_name)), Multi_Line(multi_line) {}
    virtual ~ZEKT_Property() = default;
    virtual std::wstring To_Text() const = 0;
    virtual void From_Text(const std::wstring& text) = 0;
    // Offers values for a drop-down; the texts shown are the values themselves.
    void Offer(std::vector<std::wstring> values) {
        Choice_Texts = values;
        Choices = std::move(values);
    }

    std::wstring name;
    bool Multi_Line;
    bool Editor_Flag = false;  // kept for the property editor; unused by the settings text
    std::vector<std::wstring> Choices;
    std::vector<std::wstring> Choice_Texts;
    int Editor_Kind = 0;  // kept for the property editor; unused by the settings text
};

using ZEKT_Property_List = std::vector<std::unique_ptr<ZEKT_Property>>;

// Appends a new property to a list and returns it.
template <typename Property, typename... Args>
Property& Add_Property(ZEKT_Property_List& list, Args&&... args) {
    auto property = std::make_unique<Property>(std::forward<Args>(args)...);
    Property& added = *property;
    list.push_back(std::move(property));
    return added;
}

// A heading; its text is always empty and is written as a comment.
class ZEKT_Property_Separator : public ZEKT_Property {
public:
    using ZEKT_Property::ZEKT_Property;
    std::wstring To_Text() const override { return {}; }
    void From_Text(const std::wstring&) override {}
};

class ZEKT_Property_UINT32 : public ZEKT_Property {
public:
    ZEKT_Property_UINT32(std::wstring property_name, std::uint32_t* bound, bool hex = false)
        : ZEKT_Property(std::move(property_name)), Hex(hex), value(bound) {}
    std::wstring To_Text() const override;
    // Blanks around the number are allowed; the integer rule applies.
    void From_Text(const std::wstring& text) override;
    bool Hex;

private:
    std::uint32_t* value;
};

class ZEKT_Property_BOOL : public ZEKT_Property {
public:
    ZEKT_Property_BOOL(std::wstring property_name, bool* bound) : ZEKT_Property(std::move(property_name)), value(bound) {}
    std::wstring To_Text() const override { return *value ? L"true" : L"false"; }
    // Exactly "true" is true; "false", another spelling of either ("True")
    // and an empty text are false; any other word is refused, since a typo
    // ("ture") would silently turn a switch off.
    void From_Text(const std::wstring& text) override;

private:
    bool* value;
};

class ZEKT_Property_wstring : public ZEKT_Property {
public:
    ZEKT_Property_wstring(std::wstring property_name, std::wstring* bound, bool multi_line = false)
        : ZEKT_Property(std::move(property_name), multi_line), value(bound) {}
    std::wstring To_Text() const override { return *value; }
    void From_Text(const std::wstring& text) override { *value = text; }

private:
    std::wstring* value;
};

// A settings object describes its members as properties bound to them.
class ZEKT_Properties {
public:
    virtual ~ZEKT_Properties() = default;
    virtual void Describe(ZEKT_Property_List& list) = 0;
    // Called once every edited value has been stored.
    virtual void After_Import(ZEKT_Progress* /*progress*/, void* /*extra*/) {}
    // The base holds no values; settings objects compare member by member.
    bool operator==(const ZEKT_Properties&) const = default;
};

struct ZEKT_Section {
    std::wstring name;
    std::wstring text;
    bool comment = false;
};

class ZEKT_Sections {
public:
    ZEKT_Sections() = default;
    // Parses a settings text; throws "Block comment not closed".
    explicit ZEKT_Sections(const std::wstring& text);
    // One section per property, written aligned.
    explicit ZEKT_Sections(ZEKT_Properties& properties);

    std::wstring To_Text() const;
    // The text of the first non-comment section of that name, or throws
    // ZEKT_Exception "Section <name> not found".
    const std::wstring& Find_Section(const std::wstring& name) const;
    const ZEKT_Section* Find(const std::wstring& name) const;

    std::vector<ZEKT_Section> sections;
    std::wstring Line_Break = L"\r\n";
    std::size_t Indent = 2;
    bool Aligned = false;
};

// Stores every non-separator property's section text into its member.
void Import_Properties(ZEKT_Properties& properties, const ZEKT_Sections& sections);
// The settings text of a settings object.
std::wstring Export_Properties(ZEKT_Properties& properties);

// UTF-16LE with FF FE; a file without the mark is read in the ANSI code page.
// Settings texts larger than this are refused unread.
inline constexpr std::uint32_t Text_File_Limit = 1u << 20;
std::wstring Read_Text_File(const std::wstring& path);
// The text of a text file's bytes: UTF-16LE after FF FE, else the ANSI code page.
std::wstring Text_Of_File_Bytes(const std::vector<unsigned char>& bytes);
void Write_Text_File(const std::wstring& path, const std::wstring& text);
// For files that must be UTF-16: throws ZEKT_Exception_DataCorrupt
// "Not unicode file" unless the first two bytes are FF FE.
std::wstring Read_Unicode_File(const std::wstring& path);
// Hands each line of a UTF-16LE (with FF FE) or UTF-8 text file to `line`,
// without its "\r\n" or "\n", reading a chunk at a time: memory stays
// that of one line, whatever the file's size. Longer lines are refused.
inline constexpr std::uint32_t Text_Line_Limit = 0x10000;
void Read_Text_Lines(const std::wstring& path, const std::function<void(const std::wstring&)>& line);
