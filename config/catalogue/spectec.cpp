// Spectec: Spectec card and module packages around Micron dies (ID 2c). Many need the
// TSOP-48 power module ("Power").
#include "config/catalogue/records.h"

namespace Catalogue {

void Add_Spectec(std::vector<Record>& records) {
    records.insert(records.end(), {
    Single({.company = L"Spectec", .name = L"MJA0258M-S", .id = L"2c ca 80 d5", .bus = L"16", .banks = L"1 x 256 MB",
            .page = 2112}),
    Single({.company = L"Spectec", .name = L"29F16G08DAA", .id = L"2c d5 55 a5", .banks = L"2 x 1 GB",
            .page = 2112}),
    Single({.company = L"Spectec", .name = L"29F32C08CT", .id = L"2c 68 04 46", .banks = L"1 x 4 GB", .page = 4320}),
    Single({.company = L"Spectec", .name = L"29F64G08CBABA", .id = L"2c 64 44 4b", .banks = L"1 x 8 GB",
            .page = 9216, .retry = L"Micron"}),
    // 384 pages per block in a row space of 512
    // Two dies per chip enable, the second from row 0x200000
    Single({.company = L"Spectec", .name = L"FZBW29F256G08EKAAA", .id = L"2c a8 09 df", .banks = L"2 x 16 GB",
            .page = 9216, .block = 0x360000, .blocks = 0x1560, .skip_mask_1 = 0x1ff, .skip_page_1 = 0x180,
            .skip_mask_2 = 0x1fffff, .skip_page_2 = 0x156000}),
    // 384 pages per block in a row space of 512
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Spectec", .id = L"2c 88 08 d6", .page = 9216, .block = 0x360000, .blocks = 0x1560,
            .skip_mask_1 = 0x1ff, .skip_page_1 = 0x180, .skip_mask_2 = 0x1fffff, .skip_page_2 = 0x156000},
           {{.name = L"29F128G08EBAAB", .banks = L"1 x 16 GB"},
            {.name = L"FZBW29F128G08EFAAA", .banks = L"1 x 16 GB"},
            {.name = L"29F256G08CJAAB", .banks = L"2 x 16 GB"}}),
    Family({.company = L"Spectec", .id = L"2c 88 04 4b", .page = 8640, .power = L"1/0x0024"},
           {{.name = L"64GB0902", .banks = L"1 x 8 GB"},
            {.name = L"PF600", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    Family({.company = L"Spectec", .id = L"2c 68 04 4a", .page = 8640, .power = L"1/0x0024"},
           {{.name = L"PFG06", .banks = L"1 x 4 GB"},
            {.name = L"PFG84", .banks = L"1 x 4 GB"},
            {.name = L"Unknown", .banks = L"2 x 4 GB"}}),
    Family({.company = L"Spectec", .id = L"2c 64 44 4b", .page = 9216, .power = L"1/0x0024"},
           {{.name = L"PFH24 (can be wrong)", .banks = L"1 x 8 GB"},
            {.name = L"PFHI8-37AF", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"}}),
    Family({.company = L"Spectec", .id = L"2c 68 04 46", .page = 4320},
           {{.name = L"3WB12 NX637", .banks = L"1 x 4 GB"},
            {.name = L"Unknown (can be wrong)", .banks = L"1 x 4 GB"},
            {.name = L"Unknown", .banks = L"2 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 68 04 4b", .page = 4320, .block = 0x10e000, .power = L"1/0x0024",
            .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Spectec", .id = L"2c 88 05 4b", .page = 4320, .block = 0x10e000, .power = L"1/0x0024",
            .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Spectec", .id = L"2c 48 04 4b", .page = 4320, .block = 0x10e000, .power = L"1/0x0024",
            .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"4 x 2 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 68 05 46", .page = 4320, .block = 0x10e000, .blocks = 0x1000,
            .power = L"1/0x0024", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Spectec", .id = L"2c 88 05 c6", .page = 4320, .block = 0x10e000, .blocks = 0x2000,
            .power = L"1/0x0024", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x400000
    Family({.company = L"Spectec", .id = L"2c a8 05 c6", .page = 4320, .block = 0x10e000, .blocks = 0x4000,
            .power = L"1/0x84ac", .skip_mask_1 = 0x3fffff, .skip_page_1 = 0x200000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Spectec", .id = L"2c 48 05 46", .page = 4320, .block = 0x10e000, .blocks = 0x800,
            .power = L"1/0x84ac", .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"2 x 2 GB"},
            {.name = L"Unknown", .banks = L"4 x 2 GB", .power = L""}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 88 24 4a", .page = 8936, .block = 0x22e800, .blocks = 0x1000,
            .power = L"1/0x80ac", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Spectec", .id = L"2c a8 25 4a", .page = 8960, .block = 0x230000, .blocks = 0x2000,
            .power = L"1/0x80ac", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 64 44 4c", .page = 9344, .block = 0x248000, .power = L"1/0x80ac",
            .retry = L"Micron", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Spectec", .id = L"2c 84 44 4c", .page = 9344, .block = 0x248000, .power = L"1/0x0024",
            .retry = L"Micron", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 84 64 3e", .page = 18560, .block = 0x910000, .blocks = 0x800,
            .power = L"1/0x80a4", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB", .power = L""}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Spectec", .id = L"2c a4 64 3c", .page = 18688, .block = 0x920000, .blocks = 0x1000,
            .power = L"1/0x80A0", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    Family({.company = L"Spectec", .id = L"2c 64 64 3d", .page = 18752, .block = 0x928000, .power = L"1/0x80a8"},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB", .power = L""}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 84 64 54", .page = 17792, .block = 0x8b0000, .power = L"1/0x0024",
            .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 68 04 4c", .page = 4320, .block = 0x10e000, .blocks = 0x1000,
            .power = L"1/0x0024", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x400000
    Family({.company = L"Spectec", .id = L"2c 88 04 4c", .page = 2240, .block = 0x46000, .blocks = 0x8000,
            .power = L"1/0x0024", .skip_mask_1 = 0x3fffff, .skip_page_1 = 0x200000},
           {{.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"89 68 04 4c", .page = 4328, .block = 0x10e800, .blocks = 0x1000,
            .power = L"1/0x0024", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"3 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Spectec", .id = L"89 88 04 4c", .page = 4328, .block = 0x10e800, .blocks = 0x2000,
            .power = L"1/0x0024", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"3 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Spectec", .id = L"2c a8 05 4b", .page = 8640, .skip_mask_1 = 0x1fffff,
            .skip_page_1 = 0x100000, .join_ce = L"1-2-3-4"},
           {{.name = L"64GB0902", .banks = L"1 x 64 GB"},
            {.name = L"PFH24 (can be wrong)", .banks = L"1 x 64 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 88 05 4c", .page = 8640, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-2-3-4"},
           {{.name = L"3WB12 NX637", .banks = L"1 x 32 GB"},
            {.name = L"PF600", .banks = L"1 x 32 GB"},
            {.name = L"PFG84", .banks = L"1 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 88 05 4d", .page = 8640, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-3/2-4"},
           {{.name = L"PFG06", .banks = L"2 x 16 GB"},
            {.name = L"PFHI8-37AF", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"2 x 16 GB"}}),
    // 384 pages per block in a row space of 512
    Family({.company = L"Spectec", .id = L"2c a8 09 df", .page = 9216, .skip_mask_1 = 0x1ff, .skip_page_1 = 0x180,
            .join_ce = L"1-3/2-4"},
           {{.name = L"29F256G08CJAAB", .banks = L"2 x 32 GB"},
            {.name = L"Unknown", .banks = L"2 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 88 05 4e", .page = 8640, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-2"},
           {{.name = L"Unknown (can be wrong)", .banks = L"1 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Spectec", .id = L"2c 88 05 4f", .page = 8640, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000, .join_ce = L"1-3"},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"}}),
    });
}

}  // namespace Catalogue
