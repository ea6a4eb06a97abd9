// Micron: Micron parts (ID 2c) and Spectek, Micron's own brand for its dies. Second ID
// byte is the density (da 2 Gb, dc 4 Gb, 48 16 Gb, 68 32 Gb, 88 64 Gb,
// 64/84 64/128 Gb of the 20 nm dies).
#include "config/catalogue/records.h"

namespace Catalogue {

void Add_Micron(std::vector<Record>& records) {
    records.insert(records.end(), {
    Single({.company = L"Micron", .name = L"MT29F2G08", .id = L"2c da 80 15", .banks = L"1 x 256 MB", .page = 2112}),
    Single({.company = L"Micron", .name = L"MT29F4G08", .id = L"2c dc 80 95", .banks = L"1 x 512 MB", .page = 2112}),
    Single({.company = L"Micron", .name = L"29F8G08MAD", .id = L"2c d3 94 a5", .banks = L"1 x 1 GB", .page = 2112}),
    Single({.company = L"Micron", .name = L"29F16G08FANBI", .id = L"2c d3 94 a6", .banks = L"2 x 1 GB",
            .page = 2112}),
    Family({.company = L"Micron", .id = L"2c 48 00 26", .page = 4320},
           {{.name = L"29F16G08AFABA", .banks = L"2 x 1 GB"},
            {.name = L"Unknown", .banks = L"2 x 1 GB"}}),
    Family({.company = L"Micron", .id = L"2c 68 00 27", .page = 4320},
           {{.name = L"29F64G08AFAAA", .banks = L"2 x 4 GB"},
            {.name = L"29F128G08AJAAA", .banks = L"4 x 4 GB"}}),
    Single({.company = L"Micron", .name = L"29F32G08CFABA", .id = L"2c 48 04 4d", .banks = L"2 x 2 GB", .page = 8640,
            .power = L"1/0x0024"}),
    Single({.company = L"Micron", .name = L"29F64G08CBAAA", .id = L"2c 88 04 4b", .banks = L"1 x 8 GB", .page = 8640,
            .power = L"1/0x0024"}),
    Family({.company = L"Micron", .id = L"2c 64 44 4b", .page = 9216, .retry = L"Micron"},
           {{.name = L"29F128G08CJABA", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"1 x 8 GB"}}),
    Family({.company = L"Micron", .id = L"2c 84 44 4b", .page = 9216},
           {{.name = L"29F256G08CJABA", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"1 x 16 GB"}}),
    Family({.company = L"Micron", .id = L"2c 84 48 63", .page = 9296, .block = 0x6cf000, .blocks = 0xaca,
            .cmd = L"HYBRIDx3", .retry = L"Micron v2"},
           {{.name = L"MT29F128G08EBEBBWP", .banks = L"1 x 16 GB"},
            {.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    Family({.company = L"Micron", .id = L"2c 64 64 3c", .page = 18592},
           {{.name = L"4GC22 NW702", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    Family({.company = L"Micron", .id = L"2c 84 64 3c", .page = 18592},
           {{.name = L"4KB12 NW612", .banks = L"1 x 16 GB"},
            {.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    Single({.company = L"Micron", .name = L"PF470", .id = L"2c 68 04 47", .banks = L"1 x 4 GB", .page = 4320}),
    Single({.company = L"Micron", .name = L"PFB60", .id = L"2c 88 04 4b", .banks = L"2 x 8 GB", .page = 8640}),
    Single({.company = L"Spectek", .name = L"FTNM40A4GK3W2", .id = L"2c dc 90 95", .banks = L"1 x 512 MB",
            .page = 2112}),
    Single({.company = L"Spectek", .name = L"FNNM29B2GK3WG", .id = L"2c da 90 95", .banks = L"1 x 256 MB",
            .page = 2112}),
    Single({.company = L"Spectek", .name = L"FT16G08UCM03", .id = L"2c d5 94 3e", .banks = L"1 x 2 GB",
            .page = 4320}),
    Single({.company = L"Spectek", .name = L"FBAL41B8GK3W", .id = L"2c 48 04 46", .banks = L"1 x 2 GB",
            .page = 4320}),
    Single({.company = L"Spectek", .name = L"FBNL41B8GK3PG", .id = L"2c 68 04 46", .banks = L"1 x 4 GB",
            .page = 4320}),
    Single({.company = L"Spectek", .name = L"FBNL63B5IK3WG", .id = L"2c 88 04 4b", .banks = L"1 x 8 GB",
            .page = 8640}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Micron", .id = L"2c 64 44 4a", .page = 8936, .block = 0x22e800, .blocks = 0x1000,
            .retry = L"Micron", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Micron", .id = L"2c 84 64 3d", .page = 18256, .block = 0x8ea000, .blocks = 0x800,
            .retry = L"Micron", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Micron", .id = L"2c a4 64 54", .page = 18592, .block = 0x914000, .blocks = 0x1000,
            .retry = L"Micron", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Micron", .id = L"2c 44 44 4b", .page = 4320, .block = 0x10e000, .blocks = 0x1000,
            .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // 384 pages per block in a row space of 512
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Micron", .id = L"2c 84 44 4c", .page = 9216, .block = 0x360000, .blocks = 0x1580,
            .retry = L"Micron", .skip_mask_1 = 0x1ff, .skip_page_1 = 0x180, .skip_mask_2 = 0x1fffff,
            .skip_page_2 = 0x158000},
           {{.name = L"29F256G08CJABA", .banks = L"4 x 16 GB"}}),
    });
}

}  // namespace Catalogue
