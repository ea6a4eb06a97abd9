#include "framework/properties.h"

#include <gtest/gtest.h>

#include "framework/media.h"
#include "framework/values.h"
#include "tests/message_of.h"
#include "tests/temp_folder.h"

namespace {

// The example settings object: two headings, a text and two flags.
struct Adapter_Settings : ZEKT_Properties {
    std::wstring voltage = L"3.3";
    bool slow = false;
    bool ignore_busy = false;
    std::uint32_t block = 0x21000;
    std::uint32_t page = 2112;
    std::wstring script;

    bool with_numbers = false;
    void Describe(ZEKT_Property_List& list) override {
        list.push_back(std::make_unique<ZEKT_Property_Separator>(L"Power Adapter"));
        list.push_back(std::make_unique<ZEKT_Property_wstring>(L"Voltage", &voltage));
        list.push_back(std::make_unique<ZEKT_Property_Separator>(L"Timings"));
        list.push_back(std::make_unique<ZEKT_Property_BOOL>(L"Slow", &slow));
        list.push_back(std::make_unique<ZEKT_Property_BOOL>(L"Ignore Busy", &ignore_busy));
        if (!with_numbers) return;
        list.push_back(std::make_unique<ZEKT_Property_UINT32>(L"Block", &block, true));
        list.push_back(std::make_unique<ZEKT_Property_UINT32>(L"Page", &page));
        list.push_back(std::make_unique<ZEKT_Property_wstring>(L"Before Read", &script, true));
    }
};

const wchar_t* const Example_Text =
    L"// Power Adapter\r\n"
    L"Voltage        3.3\r\n"
    L"\r\n"
    L"// Timings\r\n"
    L"Slow           false\r\n"
    L"Ignore Busy    false";

}  // namespace

TEST(Settings_Text, ExampleIsSixAlignedLines) {
    Adapter_Settings settings;
    EXPECT_EQ(Export_Properties(settings), Example_Text);
}

TEST(Settings_Text, MultiLineValuesAreIndentedToTheColumn) {
    Adapter_Settings settings;
    settings.with_numbers = true;
    settings.script = L"CMD 00\r\nWAIT\r\n  ADDR 05";
    const std::wstring text = Export_Properties(settings);
    EXPECT_NE(text.find(L"Block          0x21000\r\nPage           2112\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"Before Read    CMD 00\r\n               WAIT\r\n                 ADDR 05"), std::wstring::npos);

    Adapter_Settings copy;
    copy.with_numbers = true;
    copy.voltage.clear();
    copy.slow = true;
    copy.block = copy.page = 0;
    Import_Properties(copy, ZEKT_Sections(text));
    EXPECT_EQ(copy.voltage, L"3.3");
    EXPECT_FALSE(copy.slow);
    EXPECT_EQ(copy.block, 0x21000u);
    EXPECT_EQ(copy.page, 2112u);
    EXPECT_EQ(copy.script, settings.script);
}

TEST(Settings_Text, StackedLayoutPutsValuesUnderTheName) {
    // "x" stands in column 11, "y" in column 12.
    ZEKT_Sections sections(L"A  1\r\nLong name  x\r\n            y");
    ASSERT_EQ(sections.sections.size(), 2u);
    EXPECT_EQ(sections.To_Text(), L"A\r\n  1\r\nLong name\r\n  x\r\n   y");
    // And it reads back to the same sections.
    const ZEKT_Sections again(sections.To_Text());
    EXPECT_EQ(again.Find_Section(L"Long name"), L"x\r\n y");
}

TEST(Settings_Text, ExportStartingWithSeparatorHasNoEmptyFirstLine) {
    Adapter_Settings settings;
    const std::wstring text = Export_Properties(settings);
    EXPECT_EQ(text.rfind(L"// Power Adapter\r\n", 0), 0u);
}

TEST(Settings_Text, MultiLineCommentSectionIsABlockComment) {
    ZEKT_Sections sections;
    sections.Aligned = true;
    sections.sections = {{L"A", L"1", false}, {L"Note", L"x\r\ny", true}, {L"B", L"2", false}};
    EXPECT_EQ(sections.To_Text(), L"A     1\r\n\r\n/*\r\nNote  x\r\n      y\r\n*/\r\n\r\nB     2");
    const ZEKT_Sections back(sections.To_Text());
    ASSERT_EQ(back.sections.size(), 2u);
    EXPECT_EQ(back.Find_Section(L"B"), L"2");
}

TEST(Settings_Reading, NameEndsAtTwoBlanks) {
    const ZEKT_Sections sections(L"Power Adapter  1.8\nVoltage 1.8");
    ASSERT_EQ(sections.sections.size(), 2u);
    EXPECT_EQ(sections.sections[0].name, L"Power Adapter");
    EXPECT_EQ(sections.sections[0].text, L"1.8");
    EXPECT_EQ(sections.sections[1].name, L"Voltage 1.8");
    EXPECT_EQ(sections.sections[1].text, L"");
}

TEST(Settings_Reading, ContinuationLinesKeepTheirRelativeIndent) {
    const ZEKT_Sections sections(L"Name\r\n  a\r\n    b   \r\nNext  c");
    ASSERT_EQ(sections.sections.size(), 2u);
    EXPECT_EQ(sections.sections[0].text, L"a\r\n  b   ");
    EXPECT_EQ(sections.Find_Section(L"Next"), L"c");
}

TEST(Settings_Reading, EmptyLineEndsAValue) {
    const ZEKT_Sections sections(L"Name  a\r\n\r\n b");
    ASSERT_EQ(sections.sections.size(), 2u);
    EXPECT_EQ(sections.sections[0].text, L"a");
    EXPECT_EQ(sections.sections[1].name, L" b");
}

TEST(Settings_Reading, Comments) {
    const ZEKT_Sections sections(L"// note\r\nA  x // not a comment\r\n/* block\r\nB  1\r\n*/ rest ignored\r\nC  2");
    ASSERT_EQ(sections.sections.size(), 2u);
    EXPECT_EQ(sections.Find_Section(L"A"), L"x // not a comment");
    EXPECT_EQ(sections.Find_Section(L"C"), L"2");
    EXPECT_THROW(sections.Find_Section(L"B"), ZEKT_Exception);
}

TEST(Settings_Reading, Failures) {
    auto message_of = [](const std::wstring& text) -> std::wstring {
        try {
            ZEKT_Sections sections(text);
        } catch (const ZEKT_Exception& e) {
            return e.message;
        }
        return L"(no failure)";
    };
    EXPECT_EQ(message_of(L"A  1\r\n/*"), L"Block comment not closed");
    // "*/" after other text on a line does not close the comment.
    EXPECT_EQ(message_of(L"/*\r\nx */\r\nA  1"), L"Block comment not closed");
    try {
        ZEKT_Sections(L"A  1").Find_Section(L"a");
        ADD_FAILURE() << "names are case-sensitive";
    } catch (const ZEKT_Exception& e) {
        EXPECT_EQ(e.message, L"Section <a> not found");
    }
}

TEST(Property_Kinds, BoolAndNumberTexts) {
    bool flag = true;
    ZEKT_Property_BOOL boolean(L"Slow", &flag);
    boolean.From_Text(L"True");
    EXPECT_FALSE(flag);
    boolean.From_Text(L"true");
    EXPECT_TRUE(flag);
    EXPECT_EQ(Message_Of([&] { boolean.From_Text(L"ture"); }), L"Can't convert <ture> to true or false");
    EXPECT_TRUE(flag);

    std::uint32_t number = 0;
    ZEKT_Property_UINT32 hex(L"Block", &number, true);
    hex.From_Text(L"  0x1F  ");
    EXPECT_EQ(number, 31u);
    EXPECT_EQ(hex.To_Text(), L"0x1f");
    hex.From_Text(L"0xFFFFFFFF");
    EXPECT_EQ(number, 0xFFFFFFFFu);
    // More than 32 bits does not convert, and the value stays.
    EXPECT_EQ(Message_Of([&] { hex.From_Text(L"0x1FFFFFFFF"); }), L"Can't convert <0x1FFFFFFFF> to integer");
    EXPECT_EQ(number, 0xFFFFFFFFu);
    ZEKT_Property_UINT32 decimal(L"Page", &number);
    EXPECT_EQ(decimal.To_Text(), L"4294967295");

    auto failure = [&](const std::wstring& text) -> std::wstring {
        try {
            decimal.From_Text(text);
        } catch (const ZEKT_Exception_DataCorrupt& e) {
            return e.message;
        }
        return L"(no failure)";
    };
    EXPECT_EQ(failure(L""), L"Can't convert <> to integer");
    EXPECT_EQ(failure(L"0x"), L"Can't convert <0x> to integer");
    EXPECT_EQ(failure(L"-1"), L"Can't convert <-1> to integer");
}

TEST(Text_Files, WrittenAsUtf16WithMark) {
    Temp_Folder folder;
    Write_Text_File(folder.Name(L"a.txt"), L"A\u00e9\r\n");
    EXPECT_EQ(folder.Bytes(L"a.txt"),
              (std::vector<unsigned char>{0xFF, 0xFE, 'A', 0, 0xE9, 0, '\r', 0, '\n', 0}));
    EXPECT_EQ(Read_Text_File(folder.Name(L"a.txt")), L"A\u00e9\r\n");
    EXPECT_EQ(Read_Unicode_File(folder.Name(L"a.txt")), L"A\u00e9\r\n");
}

TEST(Text_Files, WithoutMarkAndOddLength) {
    Temp_Folder folder;
    folder.Put(L"ansi.txt", {'P', 'a', 'g', 'e', ' ', ' ', '5'});
    EXPECT_EQ(Read_Text_File(folder.Name(L"ansi.txt")), L"Page  5");
    try {
        Read_Unicode_File(folder.Name(L"ansi.txt"));
        ADD_FAILURE() << "a file without FF FE is not unicode";
    } catch (const ZEKT_Exception_DataCorrupt& e) {
        EXPECT_EQ(e.message, L"Not unicode file");
    }
    folder.Put(L"odd.txt", {0xFF, 0xFE, 'A', 0, 'B'});
    try {
        Read_Text_File(folder.Name(L"odd.txt"));
        ADD_FAILURE() << "odd UTF-16 size";
    } catch (const ZEKT_Exception& e) {
        EXPECT_EQ(e.message, L"Unicode file size is not align on 2");
    }
    folder.Put(L"empty.txt", {});
    EXPECT_EQ(Read_Text_File(folder.Name(L"empty.txt")), L"");
    folder.Put(L"mark.txt", {0xFF, 0xFE});
    EXPECT_EQ(Read_Text_File(folder.Name(L"mark.txt")), L"");
    folder.Put(L"one.txt", {'x'});
    EXPECT_EQ(Read_Text_File(folder.Name(L"one.txt")), L"x");
}

TEST(Text_Files, MissingFileIsAMediaError) {
    Temp_Folder folder;
    const std::wstring name = folder.Name(L"none.txt");
    try {
        Read_Text_File(name);
        ADD_FAILURE() << "no such file";
    } catch (const ZEKT_Exception_Media& e) {
        EXPECT_EQ(e.message.rfind(L"Can't open for protected read file <" + name + L"> - "), 0u) << e.message;
    }
}

TEST(Text_Files, LinesReadAChunkAtATimeInEitherEncoding) {
    Temp_Folder folder;
    const std::wstring utf16 = folder.Name(L"a.diff"), utf8 = folder.Name(L"b.diff"), huge = folder.Name(L"c.diff");
    Write_Text_File(utf16, L"when\r\n1 2 mended\r\n\r\n\u00e9");
    const std::string bytes = "when\n1 2 mended\n\n\xc3\xa9";
    Replace_File(utf8, bytes.data(), bytes.size());
    for (const std::wstring& name : {utf16, utf8}) {
        std::vector<std::wstring> lines;
        Read_Text_Lines(name, [&](const std::wstring& line) { lines.push_back(line); });
        EXPECT_EQ(lines, (std::vector<std::wstring>{L"when", L"1 2 mended", L"", L"\u00e9"}));
    }
    const std::string long_line(std::size_t{Text_Line_Limit} * 4 + 1, '7');
    Replace_File(huge, long_line.data(), long_line.size());
    EXPECT_EQ(Message_Of([&] { Read_Text_Lines(huge, [](const std::wstring&) {}); }),
              L"Line longer than 65536 characters in file <" + huge + L">");
}
