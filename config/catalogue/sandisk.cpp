// Sandisk: Sandisk parts (ID 45), under both spellings of the maker's name. iNAND
// packages run the reader's 16-8 bus mode; TLC dies read by word line.
// Multi-die cards read several chip enables as one bank ("Join CE").
#include "config/catalogue/records.h"

namespace Catalogue {

void Add_Sandisk(std::vector<Record>& records) {
    records.insert(records.end(), {
    Single({.company = L"Sandisk", .name = L"SDTNGAHE0-256", .id = L"45 da 84 95", .banks = L"1 x 256 MB",
            .page = 2112}),
    Single({.company = L"Sandisk", .name = L"SDTHGEHE0-1024", .id = L"45 d3 84 a5", .banks = L"1 x 1 GB",
            .page = 2112}),
    Single({.company = L"Sandisk", .name = L"SDTNGCHE0-2048", .id = L"45 d3 84 a6", .banks = L"2 x 1 GB",
            .page = 4224}),
    Single({.company = L"Sandisk", .name = L"SDXNGDHE0-4096-I", .id = L"45 d5 84 a5", .banks = L"2 x 2 GB",
            .page = 2112}),
    Family({.company = L"Sandisk", .id = L"45 d3 94 a5", .page = 2112},
           {{.name = L"SDTNIGHSM-2048", .banks = L"1 x 1 GB"},
            {.name = L"SDTNIGHSM-4096", .banks = L"2 x 1 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 d3 84 a7", .page = 4352},
           {{.name = L"SDTNKMAHSM-1024", .banks = L"1 x 1 GB"},
            {.name = L"SDTNKMAHSM-2048", .banks = L"2 x 1 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 d5 94 a5", .page = 4352},
           {{.name = L"SDTNKLAHSM-1024", .banks = L"1 x 1 GB"},
            {.name = L"SDTNKLBHSM-2048", .banks = L"2 x 1 GB"},
            {.name = L"SDTNKLCHSM-4096", .banks = L"4 x 1 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 d5 98 a6", .page = 4352},
           {{.name = L"SDTNKJCHSN-2048", .banks = L"1 x 2 GB"},
            {.name = L"SDTNKHHSM-16384", .banks = L"8 x 2 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 d5 94 ba", .page = 4314},
           {{.name = L"SDTNLJAHSM-1024", .banks = L"1 x 1 GB"},
            {.name = L"SDTNLLBHSM-4096", .banks = L"4 x 1 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 d7 94 ba", .page = 4314},
           {{.name = L"SDTNLLCHSM-8192", .banks = L"2 x 4 GB"},
            {.name = L"SDUNIHHSM-8192", .banks = L"2 x 4 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 d5 94 32", .page = 8640},
           {{.name = L"SDTNMMAHSM-002G", .banks = L"1 x 2 GB"},
            {.name = L"SDTNMMBHSM-004G", .banks = L"2 x 2 GB"},
            {.name = L"SDTNMMCHSM-008G", .banks = L"4 x 2 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 de 94 33", .bus = L"16-8", .page = 8640},
           {{.name = L"SDTNMNCHSM-016G", .banks = L"2 x 8 GB"},
            {.name = L"SDTNNMCHSM-016G", .banks = L"2 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 d7 98 95", .bus = L"16-8", .page = 9216, .block = 0x244800,
            .blocks = 0x800, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"SDTNNNBHSM-008G", .banks = L"2 x 4 GB"},
            {.name = L"SDTNPNCHEM-032G", .banks = L"8 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Single({.company = L"Sandisk", .name = L"SDTNNNBHSM-016G", .id = L"45 4a a9 82", .bus = L"16-8",
            .banks = L"1 x 16 GB", .page = 9216, .block = 0x244800, .blocks = 0x2000, .cmd = L"WL v2",
            .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff, .skip_page_2 = 0x100000}),
    Single({.company = L"Sandisk", .name = L"SDTNQGAMA-008GP", .id = L"45 de 94 93", .banks = L"1 x 8 GB",
            .page = 17664, .ddr = true}),
    Family({.company = L"Sandisk", .id = L"45 3a 94 96", .page = 17664, .ddr = true, .retry = L"Sandisk v1"},
           {{.name = L"SDTNQGBMB-016GP", .banks = L"1 x 16 GB"},
            {.name = L"SDTNQG?MB-016G (TSOP-48)", .banks = L"1 x 16 GB"},
            {.name = L"SDTNQGCMB-032G", .banks = L"2 x 16 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 d7 84 94", .page = 17664, .ddr = true},
           {{.name = L"SDTNQFAMA-004G", .banks = L"1 x 4 GB"},
            {.name = L"SDTNQCBMA-008G", .banks = L"2 x 4 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 3a 95 94", .page = 17664, .ddr = true, .retry = L"Sandisk v2"},
           {{.name = L"SDTNQCCMA-064G", .banks = L"4 x 16 GB"},
            {.name = L"SDTNSGBMB-032G", .banks = L"2 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Single({.company = L"Sandisk", .name = L"08955 064G", .id = L"45 3e 97 83", .banks = L"1 x 64 GB", .page = 17664,
            .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000, .join_ce = L"1-2-3-4"}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3e 98 b4", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .retry = L"Sandisk v3", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"05056 032G", .banks = L"1 x 32 GB"},
            {.name = L"05131 032G", .banks = L"1 x 32 GB"},
            {.name = L"05105 064G", .banks = L"2 x 32 GB"},
            {.name = L"5131 064G", .banks = L"2 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3a 98 a3", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"05448 064G (BGA-152)", .banks = L"4 x 16 GB"},
            {.name = L"24112 064G (BGA-152)", .banks = L"4 x 16 GB"},
            {.name = L"24155 1266 China (BGA-152)", .banks = L"4 x 16 GB"},
            {.name = L"BGA-152  20043 64G", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3c 98 a3", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"05466-064G", .banks = L"2 x 32 GB"},
            {.name = L"07097-064G", .banks = L"2 x 32 GB"},
            {.name = L"07659 064G (TLGA)", .banks = L"2 x 32 GB"},
            {.name = L"105055 064GA", .banks = L"2 x 32 GB"},
            {.name = L"Sandisk 15033 032G (BGA-152)", .banks = L"2 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Single({.company = L"Sandisk", .name = L"14207 016G", .id = L"45 3a 98 92", .banks = L"1 x 16 GB", .page = 9216,
            .block = 0x244800, .blocks = 0x2000, .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56,
            .skip_mask_2 = 0x1fffff, .skip_page_2 = 0x100000}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Single({.company = L"Sandisk", .name = L"0612ML1Q00NP", .id = L"45 de 98 92", .banks = L"1 x 8 GB", .page = 9216,
            .block = 0x244800, .blocks = 0x1000, .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56}),
    Single({.company = L"Sandisk", .name = L"DF55G2GADA", .id = L"45 de 94 84", .banks = L"1 x 8 GB", .page = 8832,
            .ddr = true}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Sandisk", .id = L"45 de 94 93", .page = 17664, .ddr = true, .skip_mask_1 = 0x7ffff,
            .skip_page_1 = 0x40000},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith v2", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3a 98 a4", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"},
            {.name = L"Monolith v2", .banks = L"1 x 16 GB"}}),
    Family({.company = L"SanDisk", .id = L"45 d7 84 bb", .page = 4314},
           {{.name = L"SDTNKEHSM-4096", .banks = L"1 x 4 GB"},
            {.name = L"SDTNLMBHSM-4096", .banks = L"1 x 4 GB"},
            {.name = L"SDTNLMCHSM-8192", .banks = L"2 x 4 GB"}}),
    Single({.company = L"SanDisk", .name = L"SDTNKJBHSM-1024", .id = L"45 d3 94 a6", .banks = L"1 x 1 GB",
            .page = 2112}),
    Family({.company = L"SanDisk", .id = L"45 de 94 93", .page = 17664, .ddr = true},
           {{.name = L"SDTNSCAMA-008G", .banks = L"1 x 8 GB"},
            {.name = L"SDTNSGAMA-016G", .banks = L"2 x 8 GB"},
            {.name = L"SDTNPQBHEM-016G", .banks = L"2 x 8 GB"}}),
    Family({.company = L"SanDisk", .id = L"45 d3 94 a7", .page = 2112},
           {{.name = L"Monolith (can be wrong, may be 16-bit)", .banks = L"1 x 1 GB"},
            {.name = L"Monolith (can be wrong, may be 16-bit)", .bus = L"16", .banks = L"1 x 1 GB"}}),
    Family({.company = L"SanDisk", .id = L"45 de 94 83", .page = 8832, .ddr = true},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 de 98 92", .page = 9216, .block = 0x244800, .blocks = 0x1000,
            .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3a 98 96", .page = 9216, .block = 0x244800, .blocks = 0x2000,
            .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3a 98 95", .page = 9216, .block = 0x244800, .blocks = 0x2000,
            .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 d7 98 94", .page = 9216, .block = 0x244800, .blocks = 0x800,
            .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"1 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 d7 98 93", .page = 9216, .block = 0x244800, .blocks = 0x800,
            .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 de 98 a6", .bus = L"16-8", .page = 9216, .block = 0x244800,
            .blocks = 0x1000, .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 de 98 a4", .bus = L"16-8", .page = 9216, .block = 0x244800,
            .blocks = 0x1000, .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3a 99 92", .bus = L"16-8", .page = 9216, .block = 0x244800,
            .blocks = 0x2000, .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 4a a9 92", .bus = L"16-8", .page = 9216, .block = 0x244800,
            .blocks = 0x2000, .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 4a a9 93", .bus = L"16-8", .page = 9216, .block = 0x244800,
            .blocks = 0x2000, .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3a 98 b3", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .retry = L"Sandisk v3", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3a 98 b4", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .retry = L"Sandisk v3", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3c 98 b3", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .retry = L"Sandisk v3", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3c 98 b4", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .retry = L"Sandisk v3", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3a 98 c3", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3a 98 c4", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3e 98 c3", .page = 18624, .cmd = L"WL", .skip_mask_1 = 0xff,
            .skip_page_1 = 0x56, .join_ce = L"1-2-3-4"},
           {{.name = L"Unknown", .banks = L"1 x 64 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3c 98 c3", .page = 18336, .cmd = L"WL", .skip_mask_1 = 0xff,
            .skip_page_1 = 0x56, .join_ce = L"1-3/2-4"},
           {{.name = L"Unknown", .banks = L"2 x 32 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 de 94 93", .page = 17664, .block = 0x450000, .blocks = 0x800,
            .ddr = true, .retry = L"Sandisk v1"},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3a 94 95", .page = 17664, .block = 0x450000, .blocks = 0x1000,
            .ddr = true, .retry = L"Sandisk v1", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3a 94 94", .page = 17664, .block = 0x450000, .blocks = 0x1000,
            .ddr = true, .retry = L"Sandisk v1", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3c 95 93", .page = 17664, .block = 0x450000, .blocks = 0x2000,
            .ddr = true, .retry = L"Sandisk v1", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"1 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3c 95 94", .page = 17664, .block = 0x450000, .blocks = 0x2000,
            .ddr = true, .retry = L"Sandisk v1", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 32 GB"},
            {.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3a 95 a3", .page = 17664, .block = 0x450000, .blocks = 0x1000,
            .ddr = true, .retry = L"Sandisk v2", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3e 95 93", .page = 17664, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-2-3-4"},
           {{.name = L"Unknown", .banks = L"1 x 64 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3e 95 94", .page = 17664, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-2-3-4"},
           {{.name = L"Unknown", .banks = L"1 x 64 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3c 95 a3", .page = 17664, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-3/2-4"},
           {{.name = L"Unknown", .banks = L"2 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3c 95 a4", .page = 17664, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-3/2-4"},
           {{.name = L"Unknown", .banks = L"2 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3a 94 a3", .page = 17664, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-2"},
           {{.name = L"Unknown", .banks = L"1 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3a 94 a4", .page = 17664, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-3"},
           {{.name = L"Unknown", .banks = L"1 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 de 98 a3", .page = 17664, .block = 0x458a00, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 de 98 a5", .page = 17664, .block = 0x458a00, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3a 98 b3", .page = 17664, .block = 0x458a00, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0xfffff, .skip_page_2 = 0x80000},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"},
            {.name = L"Monolith", .banks = L"1 x 16 GB"},
            {.name = L"Monolith v2", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 d7 98 a3", .bus = L"16", .page = 17664, .block = 0x458a00,
            .blocks = 0x400, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 d7 98 a5", .bus = L"16", .page = 17664, .block = 0x458a00,
            .blocks = 0x400, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 de 98 c2", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x1000, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 de 98 c3", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x1000, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3a 98 c2", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x2000, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3a 98 c5", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x2000, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3a 98 d3", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3a 98 d4", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"},
            {.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3c 98 d3", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Monolith", .banks = L"1 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3c 98 d4", .page = 18336, .block = 0x482f40, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Monolith", .banks = L"1 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 de 95 32", .page = 8768, .block = 0x89000, .blocks = 0x4000,
            .re_up = 1, .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 de 95 33", .page = 8768, .block = 0x89000, .blocks = 0x4000,
            .re_up = 1, .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Sandisk", .id = L"45 d7 95 32", .page = 8768, .block = 0x89000, .blocks = 0x2000,
            .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"1 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 de 94 76", .page = 8768, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 de 98 d3", .page = 17920, .block = 0x468c00, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 3a 98 e3", .page = 18048, .block = 0x470d00, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3c 99 e3", .page = 18048, .block = 0x470d00, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"1 x 32 GB"}}),
    Family({.company = L"SanDisk", .id = L"45 de 94 b3", .page = 17664, .block = 0x450000, .blocks = 0x800,
            .ddr = true},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"SanDisk", .id = L"45 3a 94 b3", .page = 17664, .block = 0x450000, .blocks = 0x1000,
            .ddr = true, .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"},
            {.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"SanDisk", .id = L"45 de 98 e2", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x1000, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"SanDisk", .id = L"45 3a 98 e4", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"},
            {.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"SanDisk", .id = L"45 d7 98 e2", .page = 9216, .block = 0x244800, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"SanDisk", .id = L"45 de 99 b3", .page = 17664, .block = 0x458a00, .blocks = 0x800,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x7ffff, .skip_page_2 = 0x40000},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    Family({.company = L"SanDisk", .id = L"45 d5 94 32", .bus = L"16", .page = 4480, .block = 0x8c000,
            .blocks = 0x1000},
           {{.name = L"Monolith (can be wrong, may be 16-bit)", .banks = L"1 x 2 GB"}}),
    Family({.company = L"Sandisk", .id = L"45 de 94 c3", .page = 17664, .block = 0x450000, .blocks = 0x800,
            .ddr = true},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Sandisk", .id = L"45 3a 95 c3", .page = 17664, .block = 0x450000, .blocks = 0x1000,
            .ddr = true, .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"},
            {.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"Sandisk", .id = L"45 de 98 f2", .bus = L"16", .page = 9216, .block = 0x244800,
            .blocks = 0x1000, .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 8 GB"},
            {.name = L"Monolith", .banks = L"1 x 8 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3c 99 f3", .page = 18624, .block = 0x495180, .blocks = 0x2000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"1 x 32 GB"},
            {.name = L"Unknown", .banks = L"2 x 32 GB"},
            {.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3e 99 f3", .page = 18624, .block = 0x495180, .blocks = 0x3fc0,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x1fe000},
           {{.name = L"Unknown", .banks = L"1 x 64 GB"},
            {.name = L"Unknown", .banks = L"4 x 64 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Sandisk", .id = L"45 3a 99 b2", .page = 9216, .block = 0x244800, .blocks = 0x2000,
            .cmd = L"WL v2", .skip_mask_1 = 0xff, .skip_page_1 = 0x56, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x100000},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"},
            {.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // 86 word lines of three pages (258 pages) in every 0x100 rows
    Family({.company = L"SanDisk", .id = L"45 3a 98 f3", .page = 18336, .block = 0x482f40, .blocks = 0x1000,
            .cmd = L"WL", .skip_mask_1 = 0xff, .skip_page_1 = 0x56},
           {{.name = L"Monolith", .banks = L"1 x 16 GB"},
            {.name = L"Monolith", .banks = L"1 x 16 GB"}}),
    });
}

}  // namespace Catalogue
