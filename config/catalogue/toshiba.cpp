// Toshiba: Toshiba parts (ID 98), Toshiba-marked Sandisk dies (45) and a few relabelled
// Micron and Hynix dies. Third ID byte: bits 3-2 cells (00 SLC, 01 MLC, 10 TLC),
// bits 1-0 dies per chip enable. TLC dies read a word line of three pages at a
// time ("WL"): 86 word lines, 258 pages, per block.
#include "config/catalogue/records.h"

namespace Catalogue {

void Add_Toshiba(std::vector<Record>& records) {
    records.insert(records.end(), {
    Single({.company = L"Toshiba", .name = L"TC58DVM72A", .id = L"98 73 a5 15", .banks = L"1 x 16 MB", .page = 528,
            .col = 1, .row = 2}),
    Single({.company = L"Toshiba", .name = L"TC58DVM9", .id = L"98 76 a5 15", .banks = L"1 x 64 MB", .page = 528,
            .col = 1}),
    Family({.company = L"Toshiba", .id = L"98 79 a5 c0", .page = 528, .col = 1},
           {{.name = L"TC58DVG14B1FT00", .banks = L"1 x 128 MB"},
            {.name = L"TH58DVG2", .banks = L"2 x 128 MB"}}),
    Single({.company = L"Toshiba", .name = L"H27U1G8F2B", .id = L"ad f1 80 1d", .banks = L"1 x 128 MB", .page = 2112,
            .row = 2}),
    Family({.company = L"Toshiba", .id = L"98 da 90 15", .page = 2112},
           {{.name = L"TC58NVG1", .banks = L"1 x 256 MB"},
            {.name = L"Unknown", .banks = L"2 x 256 MB"}}),
    Family({.company = L"Toshiba", .id = L"98 dc 90 15", .page = 2112},
           {{.name = L"TC58NVG2", .banks = L"1 x 512 MB"},
            {.name = L"Unknown", .banks = L"2 x 512 MB"}}),
    Single({.company = L"Toshiba", .name = L"TC58NVG3", .id = L"98 d3 90 26", .banks = L"1 x 1 GB", .page = 4352}),
    Family({.company = L"Toshiba", .id = L"98 dc 84 a5", .page = 2112},
           {{.name = L"Unknown", .banks = L"1 x 512 MB"},
            {.name = L"TH58NVG3D4BTGI0", .banks = L"2 x 512 MB"}}),
    Family({.company = L"Toshiba", .id = L"98 d3 84 a5", .page = 2112},
           {{.name = L"Unknown", .banks = L"1 x 1 GB"},
            {.name = L"TH58NVG4D4CTG00", .banks = L"2 x 1 GB"},
            {.name = L"TH58NVG5D4CTG20", .banks = L"4 x 1 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d5 85 a5", .page = 2112},
           {{.name = L"Unknown", .banks = L"1 x 2 GB"},
            {.name = L"Unknown", .banks = L"2 x 2 GB"},
            {.name = L"TH58NVG6D4CXLM5", .banks = L"4 x 2 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d3 90 2a", .page = 4352},
           {{.name = L"Unknown", .banks = L"2 x 1 GB"},
            {.name = L"TH58NVG5S3CXLM5", .banks = L"4 x 1 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d5 94 ba", .page = 4314},
           {{.name = L"Unknown", .banks = L"1 x 2 GB"},
            {.name = L"TH58NVG5D1DTG20", .banks = L"2 x 2 GB"},
            {.name = L"Unknown", .banks = L"4 x 2 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d7 94 ba", .page = 4314},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"TH58NVG7D1DLA87", .banks = L"4 x 4 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d7 98 b6", .page = 4314, .block = 0xca380, .blocks = 0x1560,
            .cmd = L"WL"},
           {{.name = L"TH58NVG5T2DTGK0", .banks = L"1 x 4 GB"},
            {.name = L"TH58NVG6T2DTG20", .banks = L"2 x 4 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d5 94 32", .page = 8640},
           {{.name = L"Unknown", .banks = L"1 x 2 GB"},
            {.name = L"Unknown", .banks = L"2 x 2 GB"},
            {.name = L"TH58NVG5D2ETAK0", .banks = L"2 x 2 GB"},
            {.name = L"TH58NVG6D2ETA20", .banks = L"4 x 2 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d7 94 32", .page = 8640},
           {{.name = L"Unknown", .banks = L"1 x 4 GB"},
            {.name = L"TH58NVG5HOETA20", .banks = L"1 x 4 GB"},
            {.name = L"Unknown", .banks = L"2 x 4 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 de 94 32", .page = 8640},
           {{.name = L"TH58NVG6D2ELA48", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Toshiba", .id = L"98 de 95 32", .page = 8640, .block = 0x87000, .blocks = 0x4000,
            .re_up = 1, .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"},
            {.name = L"TH58NVG7D2ELA48", .banks = L"2 x 8 GB"},
            {.name = L"TH58NVG7D2ELA89", .banks = L"2 x 8 GB"},
            {.name = L"TH58NVG7D7EBAKD", .banks = L"2 x 8 GB"},
            {.name = L"TH58NVG8D2ELA89", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 d7 98 32", .page = 8640, .block = 0x220380, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"TH58NVG5T2ETA20", .banks = L"1 x 4 GB"},
            {.name = L"TH58NVG6T2ETA2A", .banks = L"2 x 4 GB"},
            {.name = L"TH58NVG7T2ELA46", .banks = L"4 x 4 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d5 90 32", .page = 4352},
           {{.name = L"Unknown", .banks = L"2 x 2 GB"},
            {.name = L"TH58NVG6S2ELAM8", .banks = L"4 x 2 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d7 94 72", .page = 8832},
           {{.name = L"TC58NVG5D2FTAIO", .banks = L"1 x 4 GB"},
            {.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"TH58NVG7E2FTA20", .banks = L"4 x 4 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 de 94 82", .page = 8832, .ddr = true},
           {{.name = L"TH58NVG6D2FLA49", .banks = L"1 x 8 GB"},
            {.name = L"TH58NVG7D7FBASB", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"TH58NVG802FLA89", .banks = L"4 x 8 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d5 98 72", .page = 8832},
           {{.name = L"TC58NVG4T2FTA00", .banks = L"1 x 2 GB"},
            {.name = L"Unknown", .banks = L"2 x 2 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 de 94 93", .page = 17664, .ddr = true},
           {{.name = L"TC58NVG6D2H", .banks = L"1 x 8 GB"},
            {.name = L"TH58NVG7D2HTA20", .banks = L"2 x 8 GB"},
            {.name = L"TH58NVG7H2HTA20", .banks = L"2 x 8 GB"},
            {.name = L"TH58NVG8D26TA20", .banks = L"4 x 8 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 d5 94 93", .page = 17664, .ddr = true},
           {{.name = L"FZBWTC58NVG4D2HTA00", .banks = L"1 x 2 GB"},
            {.name = L"Unknown", .banks = L"2 x 2 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 de 98 92", .page = 9216, .block = 0x244800, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"TC58NVG6T2HTA00", .banks = L"1 x 8 GB"},
            {.name = L"FZBWTC58NVG6T2HTA00", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"TH58NVG8T2HTA20", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"45 de 98 92", .page = 9216, .block = 0x244800, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"},
            {.name = L"STDNNNBHEM-008G", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 d7 98 92", .page = 9216, .block = 0x244800, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"FZBWTC58TVG5T2HTA00", .banks = L"1 x 4 GB"},
            {.name = L"Unknown", .banks = L"2 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 3a 98 a3", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"},
            {.name = L"FZBWTHS8TVG8T2JTA20", .banks = L"2 x 16 GB"},
            {.name = L"TH58TEG8THLTA", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 3a 94 93", .page = 17664, .ddr = true},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"},
            {.name = L"TH58TEG8DBHBASC", .banks = L"2 x 16 GB"},
            {.name = L"TH58TEG902JBA89 BGA-152", .banks = L"4 x 16 GB"},
            {.name = L"TH58TFT1EFLBA8P", .banks = L"8 x 16 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 3c 95 93", .page = 18336, .ddr = true},
           {{.name = L"Unknown", .banks = L"1 x 32 GB"},
            {.name = L"TH58TFG9DDLBA8C", .banks = L"2 x 32 GB"},
            {.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    Single({.company = L"Toshiba", .name = L"SDTNNMAHSM-004G", .id = L"45 c7 94 32", .bus = L"16-8",
            .banks = L"1 x 4 GB", .page = 8640}),
    // 1 rows of three pages in every 4
    Single({.company = L"Toshiba", .name = L"SDTNNAMEN-004G", .id = L"45 c7 98 b2", .bus = L"16-8",
            .banks = L"1 x 4 GB", .page = 9216, .block = 0xd8000, .blocks = 0x15f8, .cmd = L"WL v2",
            .skip_mask_1 = 0x3, .skip_page_1 = 0x1}),
    Single({.company = L"Toshiba", .name = L"SDTNNMBHSM-008G", .id = L"45 de 94 32", .bus = L"16-8",
            .banks = L"1 x 8 GB", .page = 8640}),
    Single({.company = L"Toshiba", .name = L"SDTNLMCHSM-4096", .id = L"45 d7 84 ba", .banks = L"1 x 4 GB",
            .page = 4314}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Single({.company = L"Toshiba", .name = L"SDTNPNAHEM-004G", .id = L"45 d7 98 92", .banks = L"1 x 4 GB",
            .page = 9216, .block = 0x244800, .blocks = 0x800, .cmd = L"WL", .skip_mask_1 = 0xff,
            .skip_page_1 = 0x56}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Single({.company = L"Toshiba", .name = L"SDTNSIBMB-032G", .id = L"45 3c 99 a3", .banks = L"1 x 32 GB",
            .page = 18336, .block = 0x482f40, .blocks = 0x2000, .cmd = L"WL", .skip_mask_1 = 0xff,
            .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff, .skip_page_2 = 0x100000}),
    Single({.company = L"Toshiba", .name = L"SDZNMMDHER-032", .id = L"45 3a 94 93", .banks = L"2 x 16 GB",
            .page = 17664, .ddr = true}),
    Single({.company = L"Toshiba", .name = L"Sandisk 07097", .id = L"45 3e 98 b3", .banks = L"1 x 64 GB",
            .page = 18336, .ddr = true, .join_ce = L"1-2-3-4"}),
    Single({.company = L"Toshiba", .name = L"15117 064G", .id = L"45 3e 94 93", .banks = L"1 x 64 GB", .page = 17664,
            .ddr = true, .join_ce = L"1-2-3-4"}),
    Family({.company = L"Toshiba", .id = L"45 3a 95 93", .page = 17664, .ddr = true},
           {{.name = L"BGA-152", .banks = L"1 x 16 GB"},
            {.name = L"Unknown BGA-152", .banks = L"2 x 16 GB"},
            {.name = L"BGA-152 05549 064G", .banks = L"4 x 16 GB"}}),
    Single({.company = L"Toshiba", .name = L"H27UEG8YEAYR", .id = L"ad 3a 18 03", .banks = L"2 x 16 GB",
            .page = 18432}),
    Family({.company = L"Toshiba", .id = L"98 d7 94 76", .page = 8832},
           {{.name = L"HVPD4F4", .banks = L"1 x 4 GB"},
            {.name = L"HVPE4F3", .banks = L"2 x 4 GB"},
            {.name = L"HVPE3", .banks = L"1 x 4 GB"}}),
    Family({.company = L"Toshiba", .id = L"98 de 94 86", .page = 8832},
           {{.name = L"HVPG3P3", .banks = L"1 x 8 GB"},
            {.name = L"HVPG4F6", .banks = L"2 x 8 GB"},
            {.name = L"HVPG4F7", .banks = L"2 x 8 GB"},
            {.name = L"HVPG4F8", .banks = L"4 x 8 GB"}}),
    Family({.company = L"Toshiba", .id = L"45 de 94 82", .page = 8832, .ddr = true},
           {{.name = L"TF15G2JAHA", .banks = L"1 x 8 GB"},
            {.name = L"TF57G2JAJA", .banks = L"2 x 8 GB"},
            {.name = L"TF57G3GAHJ", .banks = L"4 x 8 GB"}}),
    Family({.company = L"Toshiba", .id = L"45 3a 94 82", .page = 17664, .ddr = true},
           {{.name = L"TH15G3GAFA", .banks = L"1 x 16 GB"},
            {.name = L"TH16G3GAFA", .banks = L"1 x 16 GB"},
            {.name = L"TT17G55AIV", .banks = L"2 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"45 de 98 a2", .page = 9216, .block = 0x244800, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"TU8AG5LAPA", .banks = L"1 x 8 GB"},
            {.name = L"TU99G2LAKA", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    // 384 pages per block in a row space of 512
    Single({.company = L"Toshiba", .name = L"29F32G08EBAAA", .id = L"2c 68 08 56", .banks = L"1 x 4 GB",
            .page = 4320, .block = 0x195000, .blocks = 0xaac, .skip_mask_1 = 0x1ff, .skip_page_1 = 0x180}),
    Family({.company = L"Toshiba", .id = L"2c 88 04 4b", .page = 8936},
           {{.name = L"FQ64G08UCT1-19", .banks = L"1 x 8 GB"},
            {.name = L"FQ64G08UCT1-24", .banks = L"1 x 8 GB"},
            {.name = L"FA64608UCT1", .banks = L"2 x 8 GB"}}),
    Family({.company = L"Toshiba", .id = L"2c 88 04 4a", .page = 8936},
           {{.name = L"F064B08UCT1-8A", .banks = L"1 x 8 GB"},
            {.name = L"F064B08UCT1-C0", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    Family({.company = L"Toshiba", .id = L"2c 48 04 4c", .page = 8936},
           {{.name = L"F012808UCT1-FD", .banks = L"1 x 2 GB"},
            {.name = L"Unknown", .banks = L"2 x 2 GB"}}),
    Single({.company = L"Toshiba", .name = L"FOT16AL16M0 ", .id = L"98 d5 84 32", .bus = L"16", .banks = L"1 x 2 GB",
            .page = 4314}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Toshiba", .id = L"45 de 94 93", .page = 17664, .ddr = true, .skip_mask_1 = 0x7ffff,
            .skip_page_1 = 0x40000},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x40000
    Family({.company = L"Toshiba", .id = L"45 d7 84 93", .page = 17664, .ddr = true, .skip_mask_1 = 0x3ffff,
            .skip_page_1 = 0x20000},
           {{.name = L"Monolith", .banks = L"1 x 4 GB"},
            {.name = L"Monolith", .banks = L"2 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 d7 98 a2", .page = 9216, .block = 0x244800, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 d7 98 a4", .page = 9216, .block = 0x244800, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 de 98 a2", .page = 9216, .block = 0x244800, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 de 98 a4", .page = 9216, .block = 0x244800, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3a 99 a2", .page = 9216, .block = 0x244800, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3a 99 a3", .page = 9216, .block = 0x244800, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 de 98 93", .page = 9216, .block = 0x244800, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"45 d7 98 a2", .page = 9216, .block = 0x244800, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"45 d7 98 a4", .page = 9216, .block = 0x244800, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"45 3a 99 a2", .page = 9216, .block = 0x244800, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"45 3a 99 a3", .page = 9216, .block = 0x244800, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 3a 98 b3", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 3a 98 b4", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3c 99 b3", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3c 99 b4", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"45 3c 99 b3", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"1 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"45 3c 99 b4", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Toshiba", .id = L"98 de 95 93", .page = 17664, .ddr = true, .skip_mask_1 = 0x7ffff,
            .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Toshiba", .id = L"98 de 95 94", .page = 17664, .ddr = true, .skip_mask_1 = 0x7ffff,
            .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Toshiba", .id = L"98 3a 95 93", .page = 17664, .ddr = true, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Toshiba", .id = L"98 3a 95 94", .page = 17664, .ddr = true, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3c 95 a3", .page = 17664, .ddr = true, .skip_mask_1 = 0x1fffff,
            .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3c 95 a4", .page = 17664, .ddr = true, .skip_mask_1 = 0x1fffff,
            .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 3a 98 a5", .page = 17664, .block = 0x458a00, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 3a 98 a4", .page = 17664, .block = 0x458a00, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Toshiba", .id = L"98 d7 95 32", .page = 8768, .block = 0x89000, .blocks = 0x2000,
            .re_up = 1, .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"1 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Toshiba", .id = L"98 d7 95 33", .page = 8768, .block = 0x89000, .blocks = 0x2000,
            .re_up = 1, .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3a 95 32", .page = 8768, .block = 0x89000, .blocks = 0x8000,
            .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3a 95 33", .page = 8768, .block = 0x89000, .blocks = 0x8000,
            .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Toshiba", .id = L"98 de 94 76", .page = 8768, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Toshiba", .id = L"98 de 94 77", .page = 8768, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Toshiba", .id = L"98 d7 94 77", .page = 8800, .skip_mask_1 = 0x7ffff,
            .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"1 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 de 98 b3", .page = 17728, .block = 0x45ca80, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 de 98 b4", .page = 17728, .block = 0x45ca80, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 3a 98 c3", .page = 18176, .block = 0x478e00, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 3a 98 c4", .page = 18176, .block = 0x478e00, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Toshiba", .id = L"45 de 94 93", .page = 17664, .block = 0x450000, .blocks = 0x800,
            .ddr = true, .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Toshiba", .id = L"45 de 95 93", .bus = L"16", .page = 17664, .block = 0x450000,
            .blocks = 0x800, .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Toshiba", .id = L"45 3a 98 93", .page = 17664, .block = 0x458a00, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0xfffff, .skip_page_2 = 0x80000},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Toshiba", .id = L"45 3a 98 94", .page = 17664, .block = 0x458a00, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0xfffff, .skip_page_2 = 0x80000},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"45 d7 98 b2", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x800, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"45 d7 98 b3", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x800, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"45 de 98 b2", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x1000, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"45 de 98 b3", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x1000, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"45 3a 98 b2", .page = 9088, .block = 0x23c700, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 3c 98 b3", .page = 18336, .block = 0x482f40, .blocks = 0x1fe0,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"1 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 3c 98 b4", .page = 18336, .block = 0x482f40, .blocks = 0x1fe0,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 32 GB"},
            {.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3e 99 b3", .page = 18336, .block = 0x482f40, .blocks = 0x3fc0,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x1fe000},
           {{.name = L"Unknown", .banks = L"2 x 64 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Toshiba", .id = L"98 3e 99 b4", .page = 18336, .block = 0x482f40, .blocks = 0x3fc0,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x1fe000},
           {{.name = L"Unknown", .banks = L"4 x 64 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Toshiba", .id = L"98 3a 95 a3", .page = 17664, .block = 0x450000, .blocks = 0x1000,
            .ddr = true, .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"},
            {.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Toshiba", .id = L"98 3a 95 a4", .page = 17664, .block = 0x450000, .blocks = 0x1000,
            .ddr = true, .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"},
            {.name = L"Unknown", .banks = L"8 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x400000
    Family({.company = L"Toshiba", .id = L"98 3e 95 a3", .page = 17664, .ddr = true, .skip_mask_1 = 0x3fffff,
            .skip_page_1 = 0x200000},
           {{.name = L"Unknown", .banks = L"2 x 64 GB"}}),
    // Two dies per chip enable, the second from row 0x400000
    Family({.company = L"Toshiba", .id = L"98 3e 95 a4", .page = 17664, .ddr = true, .skip_mask_1 = 0x3fffff,
            .skip_page_1 = 0x200000},
           {{.name = L"Unknown", .banks = L"4 x 64 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 de 98 a3", .page = 17664, .block = 0x458a00, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 de 98 a5", .page = 17664, .block = 0x458a00, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 d7 98 a3", .page = 17664, .block = 0x458a00, .blocks = 0x400,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Toshiba", .id = L"98 d7 98 a5", .page = 17664, .block = 0x458a00, .blocks = 0x400,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x40000
    Family({.company = L"Toshiba", .id = L"98 d5 95 32", .page = 8768, .block = 0x89000, .blocks = 0x1000,
            .re_up = 1, .skip_mask_1 = 0x3ffff, .skip_page_1 = 0x20000},
           {{.name = L"Unknown", .banks = L"1 x 2 GB"},
            {.name = L"Unknown", .banks = L"2 x 2 GB"}}),
    // Two dies per chip enable, the second from row 0x40000
    Family({.company = L"Toshiba", .id = L"98 d5 95 33", .page = 8768, .block = 0x89000, .blocks = 0x1000,
            .re_up = 1, .skip_mask_1 = 0x3ffff, .skip_page_1 = 0x20000},
           {{.name = L"Unknown", .banks = L"4 x 2 GB"},
            {.name = L"Unknown", .banks = L"2 x 2 GB"}}),
    });
}

}  // namespace Catalogue
