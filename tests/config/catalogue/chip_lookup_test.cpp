#include "config/catalogue/chip_lookup.h"

#include <gtest/gtest.h>

#include "config/catalogue/chip_catalogue.h"
#include "tests/message_of.h"

TEST(Chip_Lookup, OneChipByNameNameAndIdOrRowNumberAndNeverOneOfSeveral) {
    EXPECT_EQ(Message_Of([] { Find_Catalogue_Chip(L"Unknown"); }),
              L"Chip <Unknown> names 366 different rows; name one by its number, such as \"#455\"");
    EXPECT_EQ(Message_Of([] { Find_Catalogue_Chip(L"Unknown@45 de 98 92"); }),
              L"Chip <Unknown@45 de 98 92> names 6 different rows; name one by its number, such as \"#479\"");
    const std::optional<NAND_Config> telling = Find_Catalogue_Chip(L"Unknown@98 de 98 92");
    ASSERT_TRUE(telling);
    EXPECT_EQ(telling->Company, L"Toshiba");
    EXPECT_EQ(telling->Skip_Page_1, 0x56u);
    EXPECT_EQ(Find_Catalogue_Chip(L"#479")->ID_Code, L"45 de 98 92");
    EXPECT_EQ(Find_Catalogue_Chip(L"F4GMSAP")->ID_Code, L"2c dc 90 95");
    EXPECT_FALSE(Find_Catalogue_Chip(L"f4gmsap"));
    EXPECT_FALSE(Find_Catalogue_Chip(L"F4GMSAP@2c dc 90 96"));
    EXPECT_FALSE(Find_Catalogue_Chip(L""));
    // Names with blanks are matched whole, blanks included.
    EXPECT_TRUE(Find_Catalogue_Chip(L"FOT16AL16M0 "));
    EXPECT_FALSE(Find_Catalogue_Chip(L"FOT16AL16M0"));
}
