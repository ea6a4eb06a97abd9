#include "config/catalogue/chip_lookup.h"

#include <gtest/gtest.h>

#include "config/catalogue/chip_catalogue.h"

TEST(Chip_Lookup, ExactNameFirstInCatalogueOrderOrNameAndId) {
    const Chip_Catalogue catalogue;
    const std::optional<NAND_Config> first = Find_Catalogue_Chip(L"Unknown");
    ASSERT_TRUE(first);
    for (const NAND_Config& row : catalogue) {
        if (row.Name != L"Unknown") continue;
        EXPECT_EQ(*first, row);  // the first "Unknown" row, not any other
        break;
    }
    const std::optional<NAND_Config> telling = Find_Catalogue_Chip(L"Unknown@45 de 98 92");
    ASSERT_TRUE(telling);
    EXPECT_EQ(telling->Company, L"Toshiba");
    EXPECT_EQ(telling->Skip_Page_1, 0x56u);
    EXPECT_EQ(Find_Catalogue_Chip(L"F4GMSAP")->ID_Code, L"2c dc 90 95");
    EXPECT_FALSE(Find_Catalogue_Chip(L"f4gmsap"));
    EXPECT_FALSE(Find_Catalogue_Chip(L"F4GMSAP@2c dc 90 96"));
    EXPECT_FALSE(Find_Catalogue_Chip(L""));
    // Names with blanks are matched whole, blanks included.
    EXPECT_TRUE(Find_Catalogue_Chip(L"FOT16AL16M0 "));
    EXPECT_FALSE(Find_Catalogue_Chip(L"FOT16AL16M0"));
}
