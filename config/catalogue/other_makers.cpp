// Card vendors and small makers: Vdata and PQI packages around Toshiba and
// Hynix dies, Numonyx, and the Fujitsu and Olympus xD cards (small pages).
#include "config/catalogue/records.h"

namespace Catalogue {

void Add_Other_Makers(std::vector<Record>& records) {
    records.insert(records.end(), {
        Single({.company = L"Vdata", .name = L"VD101L3LC03", .id = L"98 d5 94 32", .banks = L"1 x 2 GB",
                .page = 8768}),
        Single({.company = L"Vdata", .name = L"VD101M3MC03", .id = L"98 d7 94 32", .banks = L"1 x 4 GB",
                .page = 8768}),
        Single({.company = L"Vdata", .name = L"VD101N3NC03", .id = L"98 de 94 32", .banks = L"1 x 8 GB",
                .page = 8768}),
        Single({.company = L"PQI", .name = L"PQI-KA04-072A-1D00", .id = L"ad dc 84 25", .banks = L"1 x 512 MB",
                .page = 2112}),
        Single({.company = L"PQI", .name = L"PQI-KA04-072F-1D00", .id = L"ad d3 14 a5", .banks = L"1 x 1 GB",
                .page = 2112}),
        Single({.company = L"Numonyx", .name = L"NAND4GW3B2D", .id = L"20 dc 10 95", .banks = L"1 x 512 MB",
                .page = 2112}),
        Single({.company = L"Fujitsu", .name = L"xD card M1024", .id = L"98 d3 a5 c0", .banks = L"1 x 1 GB",
                .page = 528, .col = 1}),
        Single({.company = L"Olympus", .name = L"xD card M2GB", .id = L"98 d5 a5 c0", .banks = L"1 x 2 GB",
                .page = 528, .col = 1}),
    });
}

}  // namespace Catalogue
