// The rows that rightly differ from what their four ID bytes decode to, with
// the source of each; docs/catalogue-sources.md lists the same.
#include "config/catalogue/id_check.h"

namespace Catalogue {

namespace {

constexpr const wchar_t* Spectek_Brand =
    L"SpecTek is Micron's brand for dies of Micron and its joint venture with Intel, which answer their maker's byte "
    L"(the catalogue spells it both ways)";
constexpr const wchar_t* Package_Brand =
    L"the brand marked on the package, kept so that the chip is found by what is printed on it; the die inside is "
    L"the maker byte's";
constexpr const wchar_t* Fixed_Row = L"a fixed row of the table that shows every kind of entry; kept as it is";
constexpr const wchar_t* Card_Package =
    L"monolithic card package wired to the reader on 16 lines; the device code tells the die's own bus, not the wiring";
constexpr const wchar_t* Card_16_8 =
    L"SanDisk card package read in the reader's 16-8 mode like the fixed rows SDTNNMAHSM-004G and SDTNNNBHSM-016G "
    L"of its series; the mode is how the package is wired, the device code the die's own bus";
constexpr const wchar_t* Partial_Die =
    L"SanDisk sells 16 Gb dies of which half passed test under the full die's ID; the name gives the usable 1 GB per "
    L"chip enable";
constexpr const wchar_t* Toshiba_24nm =
    L"the kernel's Toshiba rule (toshiba_nand_decode_id): 24 nm SLC parts that are not BENAND carry 32 spare bytes per "
    L"512, told by ID bytes 5 and 6, which four bytes do not hold: 4096 + 256";

}  // namespace

const std::vector<Id_Exception>& Id_Exceptions() {
    using enum Id_Field;
    static const std::vector<Id_Exception> exceptions = {
        {L"Spectec", nullptr, L"", Company, Spectek_Brand},
        {L"Spectek", nullptr, L"2c", Company, Spectek_Brand},
        {L"Dynet", nullptr, L"ad", Company, Package_Brand},
        {L"PQI", nullptr, L"ad", Company, Package_Brand},
        {L"Vdata", nullptr, L"98", Company, Package_Brand},
        {L"Fujitsu", L"xD card M1024", L"98", Company, Package_Brand},
        {L"Olympus", L"xD card M2GB", L"98", Company, Package_Brand},
        {L"Numonyx", L"NAND4GW3B2D", L"20 dc 10 95", Company,
         L"Numonyx took over ST's NAND parts, which kept ST's maker byte 20 (NAND04GW3B2D datasheet)"},
        {L"Toshiba", L"29F32G08EBAAA", L"2c 68 08 56", Company, Fixed_Row},
        {L"Toshiba", L"SDTNNAMEN-004G", L"45 c7 98 b2", Company, Fixed_Row},
        {L"Toshiba", L"SDTNNMAHSM-004G", L"45 c7 94 32", Company, Fixed_Row},
        {L"Toshiba", L"Unknown", L"45 de 98 92", Company, Fixed_Row},
        {L"Toshiba", L"STDNNNBHEM-008G", L"45 de 98 92", Company,
         L"shares one family record, company included, with the fixed row Unknown 45 de 98 92"},
        {nullptr, L"Monolith", L"", Bus, Card_Package},
        {nullptr, L"Monolith (can be wrong, may be 16-bit)", L"", Bus, Card_Package},
        {nullptr, L"SDTNMNCHSM-016G", L"45 de 94 33", Bus, Card_16_8},
        {nullptr, L"SDTNNMCHSM-016G", L"45 de 94 33", Bus, Card_16_8},
        {nullptr, L"SDTNNMBHSM-008G", L"45 de 94 32", Bus, Card_16_8},
        {nullptr, L"SDTNNNBHSM-008G", L"45 d7 98 95", Bus, Card_16_8},
        {nullptr, L"SDTNPNCHEM-032G", L"45 d7 98 95", Bus, Card_16_8},
        {nullptr, L"Unknown", L"45 3a 99 92", Bus, Card_16_8},
        {nullptr, L"Unknown", L"45 de 98 a4", Bus, Card_16_8},
        {nullptr, L"Unknown", L"45 de 98 a6", Bus, Card_16_8},
        {nullptr, nullptr, L"2c 68 00 27", Page,
         L"Micron's model of the 32 Gb SLC die that answers 2c 68 00 27: 8192 + 448; the generic fourth byte says 256"},
        {nullptr, nullptr, L"2c 48 00 26", Page,
         L"Micron MT29F16G08ABABA datasheet (2c 48 00 26): 4096 + 224; the generic fourth byte says 128"},
        {L"Intel", L"29F8G08MAA", L"89 d3 90 2e", Page,
         L"Micron MT29F8G08AAA datasheet (2c d3 90 2e, the same die): 4096 + 218; the generic fourth byte says 128"},
        {L"Toshiba", L"TC58NVG3", L"98 d3 90 26", Page,
         L"the kernel's full-ID entry TC58NVG3S0F (98 d3 90 26 76 15 02 08): 4096 + 232; four bytes cannot pick it"},
        {nullptr, nullptr, L"98 d3 90 2a", Page, Toshiba_24nm},
        {nullptr, nullptr, L"98 d5 90 32", Page, Toshiba_24nm},
        {L"Sandisk", L"SDTNKLAHSM-1024", L"45 d5 94 a5", Bank_Size, Partial_Die},
        {L"Sandisk", L"SDTNKLBHSM-2048", L"45 d5 94 a5", Bank_Size, Partial_Die},
        {L"Sandisk", L"SDTNKLCHSM-4096", L"45 d5 94 a5", Bank_Size, Partial_Die},
        {L"Sandisk", L"SDTNLJAHSM-1024", L"45 d5 94 ba", Bank_Size, Partial_Die},
        {L"Sandisk", L"SDTNLLBHSM-4096", L"45 d5 94 ba", Bank_Size, Partial_Die}};
    return exceptions;
}

}  // namespace Catalogue
