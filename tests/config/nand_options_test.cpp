#include "config/nand_options.h"

#include <gtest/gtest.h>

#include "framework/values.h"

namespace {

const wchar_t* const Default_Text =
    L"// Power Adapter\r\n"
    L"Voltage\r\n"
    L"\r\n"
    L"// Timings\r\n"
    L"Slow           false\r\n"
    L"Ignore Busy    false\r\n"
    L"\r\n"
    L"// ID\r\n"
    L"ID Size        4\r\n"
    L"Check ID       true\r\n"
    L"\r\n"
    L"// Debug\r\n"
    L"After Reset\r\n"
    L"Before Read\r\n"
    L"Read bb        true";

}  // namespace

TEST(Options, DefaultsAndTheFifteenLines) {
    NAND_Options options;
    EXPECT_EQ(options.ID_Size, 4u);
    EXPECT_TRUE(options.Check_ID);
    EXPECT_TRUE(options.Read_bb_Enabled);
    EXPECT_FALSE(options.Slow);
    EXPECT_FALSE(options.Ignore_Busy);
    EXPECT_TRUE(options.Voltage.empty() && options.After_Reset.empty() && options.Before_Read.empty());
    EXPECT_TRUE(options.Work_Folder.empty());
    EXPECT_EQ(Export_Properties(options), Default_Text);
}

TEST(Options, MultiLineScriptsAndImportKeepsTheWorkFolder) {
    NAND_Options options;
    options.Work_Folder = L"C:\\dumps\\";
    options.Voltage = L"1.8";
    options.Slow = true;
    options.ID_Size = 6;
    options.Before_Read = L"CMD 5C\r\nCMD C5";
    const std::wstring text = Export_Properties(options);
    EXPECT_NE(text.find(L"Before Read    CMD 5C\r\n               CMD C5\r\n"), std::wstring::npos);

    NAND_Options other;
    other.Work_Folder = L"D:\\other\\";
    Import_Properties(other, ZEKT_Sections(text));
    EXPECT_EQ(other.Work_Folder, L"D:\\other\\");
    other.Work_Folder = options.Work_Folder;
    EXPECT_EQ(other, options);

    ZEKT_Property_List list;
    options.Describe(list);
    ASSERT_EQ(list.size(), 12u);
    EXPECT_EQ(list[1]->Choices, (std::vector<std::wstring>{L"3.3", L"2.4", L"1.8"}));
    EXPECT_TRUE(list[9]->Multi_Line && list[10]->Multi_Line);
    for (std::size_t i : {1u, 3u, 4u, 6u, 7u, 11u}) EXPECT_FALSE(list[i]->Multi_Line);
}

TEST(Options, IdSizeMustBeANumber) {
    NAND_Options options;
    std::wstring text = Replace_All(Default_Text, L"ID Size        4", L"ID Size        four");
    try {
        Import_Properties(options, ZEKT_Sections(text));
        ADD_FAILURE() << "ID Size four";
    } catch (const ZEKT_Exception_DataCorrupt& e) {
        EXPECT_EQ(e.message, L"Can't convert <four> to integer");
    }
}
