#include "config/nand_config.h"

#include <gtest/gtest.h>

#include <random>

#include "framework/values.h"
#include "tests/temp_folder.h"
#include "tests/message_of.h"

namespace {

const std::vector<std::wstring> Default_Lines = {
    L"// Chip",
    L"Company",
    L"Name",
    L"ID code",
    L"",
    L"// Structure",
    L"Bus          8",
    L"Banks        4 x 256 MB",
    L"Page         16896",
    L"Block        0x0",
    L"Blocks       0x0",
    L"",
    L"// Read",
    L"Cmd          Std",
    L"Col          2",
    L"Row          3",
    L"DDR          false",
    L"",
    L"// Timings",
    L"RE_Up        2",
    L"RE_Down      2",
    L"",
    L"// Special",
    L"Power",
    L"Retry",
    L"Skip_Mask_1  0xffffffff",
    L"Skip_Page_1  0xffffffff",
    L"Skip_Mask_2  0xffffffff",
    L"Skip_Page_2  0xffffffff",
    L"Join CE",
};


// A configuration whose every member differs from the defaults.
NAND_Config Changed_Config() {
    NAND_Config config;
    config.Company = L"Toshiba";
    config.Name = L"TH58TEG8DDKBA8H";
    config.Set_ID_Code(L"98 3a 94 93");
    config.Bus = L"16-8";
    config.Banks = L"2 x 8 GB";
    config.Page = 18336;
    config.Block = 0x1000;
    config.Blocks = 0x20;
    config.Cmd = L"WL v2";
    config.Col = 3;
    config.Row = 4;
    config.DDR = true;
    config.RE_Up = 1;
    config.RE_Down = 3;
    config.Skip_Mask_1 = 0xFFFFF;
    config.Skip_Page_1 = 0x80000;
    config.Skip_Mask_2 = 1;
    config.Skip_Page_2 = 2;
    config.Power = L"1/0x80ac";
    config.Retry = L"Hynix v1/00 06 0A --";
    config.Join_CE = L"1-2/3-4";
    return config;
}

}  // namespace

TEST(Config_Text, NewConfigurationExportsTheThirtyLines) {
    NAND_Config config;
    EXPECT_EQ(Export_Properties(config), Join(Default_Lines, L"\r\n"));

    // Byte for byte in the file: FF FE, UTF-16LE, "\r\n", no break at the end.
    Temp_Folder folder;
    Write_Text_File(folder.Name(L"Chip.txt"), Export_Properties(config));
    const std::vector<unsigned char> bytes = folder.Bytes(L"Chip.txt");
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(std::vector<unsigned char>(bytes.end() - 4, bytes.end()), (std::vector<unsigned char>{'C', 0, 'E', 0}));
    std::size_t breaks = 0;
    for (std::size_t i = 2; i + 3 < bytes.size(); i += 2)
        if (bytes[i] == '\r' && bytes[i + 1] == 0 && bytes[i + 2] == '\n' && bytes[i + 3] == 0) ++breaks;
    EXPECT_EQ(breaks, 29u);
    EXPECT_EQ(Read_Unicode_File(folder.Name(L"Chip.txt")), Join(Default_Lines, L"\r\n"));
}

TEST(Config_Text, ReadsBackWithAndWithoutComments) {
    NAND_Config config = Changed_Config();
    Import_Config(config, Join(Default_Lines, L"\r\n"));
    EXPECT_EQ(config, NAND_Config());

    std::vector<std::wstring> bare;
    for (const std::wstring& line : Default_Lines)
        if (line.rfind(L"//", 0) != 0) bare.push_back(line);
    NAND_Config second = Changed_Config();
    Import_Config(second, Join(bare, L"\n"));
    EXPECT_EQ(second, NAND_Config());
}

TEST(Config_Text, NumbersInTheirBases) {
    NAND_Config config;
    config.Block = 135168;
    EXPECT_NE(Export_Properties(config).find(L"\r\nBlock        0x21000\r\n"), std::wstring::npos);
    std::vector<std::wstring> lines = Default_Lines;
    lines[8] = L"Page         0x840";
    lines[10] = L"Blocks       4096";  // decimal is read in a hexadecimal field too
    Import_Config(config, Join(lines, L"\r\n"));
    EXPECT_EQ(config.Page, 2112u);
    EXPECT_EQ(config.Blocks, 4096u);
    lines[13] = L"Cmd          A2";
    Import_Config(config, Join(lines, L"\r\n"));
    EXPECT_EQ(config.Cmd, L"A2");
    lines[9] = L"Block        12 KB";
    EXPECT_EQ(Message_Of([&] { Import_Config(config, Join(lines, L"\r\n")); }), L"Can't convert <12 KB> to integer");
    lines.erase(lines.begin() + 9);
    EXPECT_EQ(Message_Of([&] { Import_Config(config, Join(lines, L"\r\n")); }), L"Section <Block> not found");
}

TEST(Config_Properties, TheTwentySixEntries) {
    NAND_Config config;
    ZEKT_Property_List list;
    config.Describe(list);
    ASSERT_EQ(list.size(), 26u);
    std::vector<std::wstring> separators;
    std::vector<std::wstring> hex;
    for (const auto& property : list) {
        EXPECT_FALSE(property->Multi_Line) << std::wstring(property->name).size();
        EXPECT_EQ(property->Choices, property->Choice_Texts);
        if (dynamic_cast<ZEKT_Property_Separator*>(property.get())) separators.push_back(property->name);
        if (auto* number = dynamic_cast<ZEKT_Property_UINT32*>(property.get()); number && number->Hex)
            hex.push_back(property->name);
    }
    EXPECT_EQ(separators, (std::vector<std::wstring>{L"Chip", L"Structure", L"Read", L"Timings", L"Special"}));
    EXPECT_EQ(hex, (std::vector<std::wstring>{L"Block", L"Blocks", L"Skip_Mask_1", L"Skip_Page_1", L"Skip_Mask_2",
                                              L"Skip_Page_2"}));
    EXPECT_NE(dynamic_cast<ZEKT_Property_BOOL*>(list[14].get()), nullptr);
    EXPECT_EQ(list[14]->name, L"DDR");
    EXPECT_EQ(list[5]->Choices, (std::vector<std::wstring>{L"8", L"16", L"16-8"}));
    EXPECT_EQ(list[7]->Choices, (std::vector<std::wstring>{L"16896", L"33792"}));
    EXPECT_EQ(list[8]->Choices, (std::vector<std::wstring>{L"50688"}));
    EXPECT_EQ(list[9]->Choices, (std::vector<std::wstring>{L"0x20000"}));
    EXPECT_EQ(list[11]->Choices, (std::vector<std::wstring>{L"Std", L"WL", L"WL v2", L"HYBRIDx3"}));
    EXPECT_EQ(list[19]->Choices, (std::vector<std::wstring>{L"1/0x0024"}));
    EXPECT_EQ(list[20]->name, L"Retry");
    EXPECT_EQ(list[20]->Choices,
              (std::vector<std::wstring>{L"Micron", L"Micron v2", L"Samsung v1", L"Samsung v3", L"Sandisk v1",
                                         L"Sandisk v2", L"Sandisk v3", L"Hynix v1", L"Hynix v2", L"Hynix v3",
                                         L"Hynix v4", L"Hynix v5", L"Hynix v6", L"Hynix v7"}));
}

TEST(Config_ID, EditedIdTakesEffectOnlyAfterImport) {
    NAND_Config config;
    {
        ZEKT_Property_List list;
        config.Describe(list);
        list[3]->From_Text(L"2c dc 90 95");
        EXPECT_EQ(config.ID_Code, L"");
        config.After_Import(nullptr, nullptr);
    }
    EXPECT_EQ(config.ID_Code, L"2c dc 90 95");
    {
        // A cancelled edit: a new list puts the stored ID back first.
        ZEKT_Property_List list;
        config.Describe(list);
        list[3]->From_Text(L"ec d7");
    }
    ZEKT_Property_List list;
    config.Describe(list);
    config.After_Import(nullptr, nullptr);
    EXPECT_EQ(config.ID_Code, L"2c dc 90 95");
    NAND_Config copy = config;
    EXPECT_EQ(copy.ID_Code, L"2c dc 90 95");
    EXPECT_EQ(copy.ID_Code_Text, L"2c dc 90 95");
}

TEST(Match_ID, Rules) {
    EXPECT_TRUE(Match_ID(L"2c dc 90 95", L"2c dc 90 95 "));
    EXPECT_TRUE(Match_ID(L"2c * 90", L"2c dc 90 95 "));
    EXPECT_TRUE(Match_ID(L"", L"2c dc 90 95 "));
    EXPECT_TRUE(Match_ID(L"98 3a 94 93 76 51 ", L""));
    EXPECT_TRUE(Match_ID(L"2c dc", L"2c dc 90 95"));
    EXPECT_FALSE(Match_ID(L"2c dc", L"2C dc"));
    EXPECT_FALSE(Match_ID(L"2c  dc", L"2c dc"));
    EXPECT_FALSE(Match_ID(L"2c dc 90 95 ", L"2c dc 90 96"));
    EXPECT_TRUE(Match_ID(L"2c dc 90 95", L"2c dc 90 95 01"));
    // The chip text's trailing blank makes an empty token, which only "*" matches.
    EXPECT_FALSE(Match_ID(L"2c dc 90 95 ", L"2c dc 90 95 01"));
}

TEST(Parse_Power, Fields) {
    auto parse = [](const std::wstring& power) {
        NAND_Config config;
        config.Power = power;
        Korvane_Internal::Reader_Setup setup;
        Parse_Power(config, setup);
        return std::vector<std::uint32_t>{setup.power_kind, setup.power_value, setup.power_extra};
    };
    EXPECT_EQ(parse(L"1/0x0024"), (std::vector<std::uint32_t>{1, 0x24, 0}));
    EXPECT_EQ(parse(L"1"), (std::vector<std::uint32_t>{1, 0, 0}));
    EXPECT_EQ(parse(L""), (std::vector<std::uint32_t>{0, 0, 0}));
    EXPECT_EQ(parse(L" 1 / 0x80ac / 7 /junk"), (std::vector<std::uint32_t>{1, 0x80ac, 7}));
    EXPECT_EQ(Message_Of([&] { parse(L"1//5"); }), L"Can't convert <> to integer");
    EXPECT_EQ(Message_Of([&] { parse(L"1/2.5"); }), L"Can't convert <2.5> to integer");
    EXPECT_THROW(parse(L"1/"), ZEKT_Exception_DataCorrupt);
}

TEST(Config_Text, RoundTripOfGeneratedConfigurations) {
    std::mt19937 random(20261208);
    const std::wstring alphabet = L"abcXYZ0189 -/*?()._@\u00e9\u4e2d";
    auto text = [&](std::size_t max_length) {
        std::wstring value;
        const std::size_t length = random() % (max_length + 1);
        for (std::size_t i = 0; i < length; ++i) value += alphabet[random() % alphabet.size()];
        // Blanks at the ends of a one-line value do not survive the text.
        return Trim(value, L' ');
    };
    auto number = [&]() -> std::uint32_t {
        switch (random() % 3) {
        case 0: return random() % 16;
        case 1: return 0xFFFFFFFFu;
        default: return static_cast<std::uint32_t>(random());
        }
    };
    for (int round = 0; round < 300; ++round) {
        NAND_Config config;
        for (std::wstring* member : {&config.Company, &config.Name, &config.Bus, &config.Banks, &config.Cmd,
                                     &config.Power, &config.Retry, &config.Join_CE})
            *member = text(24);
        config.Set_ID_Code(text(12));
        for (std::uint32_t* member : {&config.Page, &config.Block, &config.Blocks, &config.Col, &config.Row,
                                      &config.RE_Up, &config.RE_Down, &config.Skip_Mask_1, &config.Skip_Page_1,
                                      &config.Skip_Mask_2, &config.Skip_Page_2})
            *member = number();
        config.DDR = random() % 2 == 0;

        const std::wstring exported = Export_Properties(config);
        NAND_Config back;
        Import_Config(back, exported);
        config.ID_Code_Text = config.ID_Code;  // Describe made the working copy
        ASSERT_EQ(back, config) << To_UTF8(exported);
    }
}
