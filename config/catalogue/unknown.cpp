// Chips the table knows by part number but not by maker: ST and Numonyx (20),
// Renesas (07), Powerchip (92), a few Samsung and Micron IDs. F4GMSAP is the
// first row the catalogue writes.
#include "config/catalogue/records.h"

namespace Catalogue {

void Add_Unknown(std::vector<Record>& records) {
    records.insert(records.end(), {
        Single({.company = L"Unknown", .name = L"F4GMSAP", .id = L"2c dc 90 95", .banks = L"1 x 512 MB",
                .page = 2112}),
        Single({.company = L"Unknown", .name = L"NAND128W3A0AN6", .id = L"20 73 a5 00", .banks = L"1 x 16 MB",
                .page = 528, .col = 1, .row = 2}),
        Single({.company = L"Unknown", .name = L"NAND512W3A", .id = L"20 76 20 76", .banks = L"1 x 64 MB",
                .page = 528, .block = 0x4200}),
        Single({.company = L"Unknown", .name = L"NAND01GW3B2B", .id = L"20 f1 80 1d", .banks = L"1 x 128 MB",
                .page = 2112, .row = 2}),
        Single({.company = L"Unknown", .name = L"NAND02GW382CN6", .id = L"20 da 10 95", .banks = L"1 x 256 MB",
                .page = 2112}),
        Single({.company = L"Unknown", .name = L"K9F1G08U0A", .id = L"ec f1 80 15", .banks = L"1 x 128 MB",
                .page = 2112, .row = 2}),
        Single({.company = L"Unknown", .name = L"HN29V1G", .id = L"07 01 00 00", .banks = L"1 x 128 MB",
                .page = 2112}),
        Single({.company = L"Unknown", .name = L"R1FV04G13RSA", .id = L"07 dc 10 95", .banks = L"1 x 512 MB",
                .page = 2112}),
        Single({.company = L"Unknown", .name = L"P1U4GR30CT", .id = L"92 dc 90 95", .banks = L"1 x 512 MB",
                .page = 2112}),
        Single({.company = L"Unknown", .name = L"ST256TS0301", .id = L"20 da 80 15", .banks = L"1 x 256 MB",
                .page = 2112}),
        Single({.company = L"Unknown", .name = L"FDL63AP-32U", .id = L"2c 68 04 46", .banks = L"1 x 4 GB",
                .page = 4320, .block = 0x10e000, .blocks = 0x1000}),
        Single({.company = L"Unknown", .name = L"Unknown", .id = L"2c 48 04 4a", .banks = L"1 x 2 GB",
                .page = 4320}),
    });
}

}  // namespace Catalogue
