// Intel: Intel parts (ID 89) of the joint Intel/Micron dies, and Micron-coded ones
// (2c) sold under Intel's name. Fourth ID byte 46/4a/4b: 4 or 8 KiB pages with
// 224 or 448 spare bytes.
#include "config/catalogue/records.h"

namespace Catalogue {

void Add_Intel(std::vector<Record>& records) {
    records.insert(records.end(), {
    Single({.company = L"Intel", .name = L"29F8G08MAA", .id = L"89 d3 90 2e", .banks = L"1 x 1 GB", .page = 2112}),
    Single({.company = L"Intel", .name = L"JS29F08G08AAMB2", .id = L"89 d3 94 a5", .banks = L"1 x 1 GB",
            .page = 2112}),
    Single({.company = L"Intel", .name = L"29F08G08CANCI", .id = L"89 d3 94 a6", .banks = L"2 x 512 MB",
            .page = 2112}),
    Family({.company = L"Intel", .id = L"89 d5 94 3e", .page = 4320},
           {{.name = L"29F16G08AAMCI", .banks = L"1 x 2 GB"},
            {.name = L"29F16G080AA", .banks = L"1 x 2 GB"},
            {.name = L"29F32G08CAMCI", .banks = L"2 x 2 GB"},
            {.name = L"29F64G08FAMCI", .banks = L"4 x 2 GB"}}),
    Family({.company = L"Intel", .id = L"89 d7 55 3e", .page = 4320},
           {{.name = L"29F32G08FAA", .banks = L"1 x 4 GB"},
            {.name = L"29F64G08AA", .banks = L"2 x 4 GB"},
            {.name = L"29F128G08FAMCI", .banks = L"4 x 4 GB"}}),
    Family({.company = L"Intel", .id = L"89 d5 94 a5", .page = 4224},
           {{.name = L"29F16G08MAA", .banks = L"1 x 2 GB"},
            {.name = L"29F16G08FAN", .banks = L"1 x 2 GB"},
            {.name = L"JS29F16G08CANC1", .banks = L"2 x 2 GB"},
            {.name = L"29F32G08FANC1", .banks = L"2 x 2 GB"}}),
    Family({.company = L"Intel", .id = L"89 48 04 46", .page = 4320, .block = 0x10e000, .blocks = 0x800},
           {{.name = L"JS29F16G08AAMDB", .banks = L"1 x 2 GB"},
            {.name = L"29F16B08JAMDB", .banks = L"2 x 2 GB"},
            {.name = L"Unknown", .banks = L"2 x 2 GB"}}),
    Family({.company = L"Intel", .id = L"89 68 04 46", .page = 4320, .block = 0x10e000, .blocks = 0x1000},
           {{.name = L"29F32G08AAMDB", .banks = L"1 x 4 GB"},
            {.name = L"29F32G08AAM02", .banks = L"1 x 4 GB"},
            {.name = L"29F64G08CAMDB", .banks = L"2 x 4 GB"},
            {.name = L"29F64G08CAMD2", .banks = L"2 x 4 GB"},
            {.name = L"29F32G08JAMD2", .banks = L"4 x 4 GB"}}),
    Family({.company = L"Intel", .id = L"89 68 04 47", .page = 4320},
           {{.name = L"29F64GO8CAMDA", .banks = L"1 x 4 GB"},
            {.name = L"29F32G08QAA", .banks = L"2 x 4 GB"},
            {.name = L"29F32G08TAA", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 88 05 c6", .page = 4320, .block = 0x10e000, .blocks = 0x2000,
            .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"1 x 8 GB"},
            {.name = L"MLI56G08HAMDB", .banks = L"2 x 8 GB"}}),
    Family({.company = L"Intel", .id = L"89 88 24 4b", .page = 8640, .block = 0x21c000, .blocks = 0x1000,
            .power = L"1/0x0024"},
           {{.name = L"29F64G08AAME1", .banks = L"1 x 8 GB"},
            {.name = L"29F64G08AATEI", .banks = L"1 x 8 GB"},
            {.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    Family({.company = L"Intel", .id = L"89 68 04 4a", .page = 8704, .block = 0x220000, .blocks = 0x800},
           {{.name = L"29F32G08AAMEI", .banks = L"1 x 4 GB"},
            {.name = L"29F32G08ACNE1", .banks = L"1 x 4 GB"},
            {.name = L"29F32B08JAMEI", .banks = L"2 x 4 GB"},
            {.name = L"29F16B08CCMEI", .banks = L"2 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Intel", .id = L"89 a8 25 cb", .page = 8704, .block = 0x220000, .blocks = 0x2000,
            .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"1 x 16 GB"},
            {.name = L"YF128GB", .banks = L"2 x 16 GB"}}),
    Single({.company = L"Intel", .name = L"29F32G08FAMB2", .id = L"89 d7 55 3f", .banks = L"2 x 2 GB",
            .page = 4320}),
    Single({.company = L"Intel", .name = L"FD32G08UCN1", .id = L"89 68 04 48", .banks = L"1 x 4 GB", .page = 4320}),
    Family({.company = L"Intel", .id = L"2c 68 04 4d", .page = 8640, .power = L"1/0x0024"},
           {{.name = L"29F32G08CBAAA", .banks = L"1 x 4 GB"},
            {.name = L"Unknown", .banks = L"2 x 4 GB"}}),
    Family({.company = L"Intel", .id = L"2c 88 04 4b", .page = 8640, .power = L"1/0x0024"},
           {{.name = L"29F64G08CFAAA", .banks = L"2 x 8 GB"},
            {.name = L"29F128G08CJAAA", .banks = L"4 x 8 GB"}}),
    Family({.company = L"Intel", .id = L"2c 64 44 4b", .page = 9216, .retry = L"Micron"},
           {{.name = L"29F64G08CFABA", .banks = L"2 x 8 GB"},
            {.name = L"29F128G08CFEFB", .banks = L"2 x 8 GB"}}),
    Single({.company = L"Intel", .name = L"Unknown (strange chip)", .id = L"89 00 00 00", .banks = L"1 x 4 GB",
            .page = 4320}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 68 04 4d", .page = 4320, .block = 0x10e000, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Intel", .id = L"89 88 05 ca", .page = 4320, .block = 0x10e000, .skip_mask_1 = 0x1fffff,
            .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Intel", .id = L"89 48 05 4a", .page = 4320, .block = 0x10e000, .skip_mask_1 = 0x7ffff,
            .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"4 x 2 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 68 05 46", .page = 4320, .block = 0x10e000, .blocks = 0x1000,
            .power = L"1/0x0024", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Intel", .id = L"89 88 05 46", .page = 4320, .block = 0x10e000, .blocks = 0x2000,
            .power = L"1/0x0024", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x400000
    Family({.company = L"Intel", .id = L"89 a8 05 c6", .page = 4320, .block = 0x10e000, .blocks = 0x4000,
            .skip_mask_1 = 0x3fffff, .skip_page_1 = 0x200000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 88 24 4a", .page = 8936, .block = 0x22e800, .blocks = 0x1000,
            .power = L"1/0x0024", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Intel", .id = L"89 a8 25 4a", .page = 8936, .block = 0x22e800, .blocks = 0x2000,
            .power = L"1/0x0024", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 64 44 4a", .page = 9024, .block = 0x234000, .power = L"1/0x0024",
            .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Intel", .id = L"89 84 44 4a", .page = 9024, .block = 0x234000, .power = L"1/0x08ac",
            .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 84 64 3c", .page = 18256, .block = 0x8ea000, .blocks = 0x800,
            .power = L"1/0x80ac", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 16 GB"},
            {.name = L"Unknown", .banks = L"4 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Intel", .id = L"89 a4 64 3c", .page = 18256, .block = 0x8ea000, .blocks = 0x1000,
            .power = L"1/0x08ac", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    Family({.company = L"Intel", .id = L"89 64 64 3c", .page = 18592, .block = 0x914000, .power = L"1/0x08ac"},
           {{.name = L"Unknown", .banks = L"2 x 8 GB"},
            {.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 84 64 54", .page = 18592, .block = 0x914000, .power = L"1/0x0024",
            .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"},
            {.name = L"Unknown", .banks = L"8 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Intel", .id = L"89 c4 64 54", .page = 17600, .block = 0x898000, .blocks = 0x1000,
            .power = L"1/0x0024", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x200000
    Family({.company = L"Intel", .id = L"89 a4 64 32", .page = 17600, .block = 0x898000, .blocks = 0x1000,
            .power = L"1/0x0024", .skip_mask_1 = 0x1fffff, .skip_page_1 = 0x100000},
           {{.name = L"Unknown", .banks = L"2 x 32 GB"},
            {.name = L"Unknown", .banks = L"4 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 d7 94 3e", .page = 4448, .block = 0x116000, .blocks = 0x1000,
            .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Intel", .id = L"89 d5 94 3f", .page = 4320, .block = 0x10e000, .blocks = 0x800,
            .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"4 x 2 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Intel", .id = L"89 68 24 4a", .page = 8704, .block = 0x220000, .blocks = 0x800,
            .power = L"1/0x0024", .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"2 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 88 24 4d", .page = 8704, .block = 0x220000, .blocks = 0x1000,
            .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"4 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Intel", .id = L"89 d3 90 2a", .page = 2176, .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"2 x 512 MB"},
            {.name = L"Unknown", .banks = L"4 x 512 MB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 d5 d1 2a", .page = 2176, .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"4 x 2 GB"}}),
    // Two dies per chip enable, the second from row 0x80000
    Family({.company = L"Intel", .id = L"89 48 04 4b", .page = 4256, .block = 0x10a000, .blocks = 0x800,
            .power = L"1/0x0024", .skip_mask_1 = 0x7ffff, .skip_page_1 = 0x40000},
           {{.name = L"Unknown", .banks = L"2 x 2 GB"},
            {.name = L"Unknown", .banks = L"4 x 2 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 68 04 4b", .page = 4256, .block = 0x10a000, .blocks = 0x1000,
            .power = L"1/0x0024", .skip_mask_1 = 0xfffff, .skip_page_1 = 0x80000},
           {{.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    // Two dies per chip enable, the second from row 0x400000
    Family({.company = L"Intel", .id = L"89 a8 05 ca", .page = 4320, .block = 0x10e000, .skip_mask_1 = 0x3fffff,
            .skip_page_1 = 0x200000},
           {{.name = L"Unknown", .banks = L"4 x 16 GB"},
            {.name = L"Unknown", .banks = L"8 x 16 GB"}}),
    // Two dies per chip enable, the second from row 0x800000
    Family({.company = L"Intel", .id = L"89 c8 05 ca", .page = 4320, .block = 0x10e000, .skip_mask_1 = 0x7fffff,
            .skip_page_1 = 0x400000},
           {{.name = L"Unknown", .banks = L"4 x 32 GB"},
            {.name = L"Unknown", .banks = L"8 x 32 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 88 24 4c", .page = 8640, .block = 0x21c000, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000},
           {{.name = L"29F64G08AAME1", .banks = L"4 x 8 GB"},
            {.name = L"29F64G08AATEI", .banks = L"8 x 8 GB"}}),
    // Two dies per chip enable, the second from row 0x100000
    Family({.company = L"Intel", .id = L"89 d7 55 3a", .page = 4320, .block = 0x10e000, .skip_mask_1 = 0xfffff,
            .skip_page_1 = 0x80000},
           {{.name = L"29F128G08FAMCI", .banks = L"8 x 4 GB"},
            {.name = L"Unknown", .banks = L"4 x 4 GB"}}),
    });
}

}  // namespace Catalogue
