#include "config/id_decode.h"

#include <algorithm>
#include <array>

#include "framework/errors.h"
#include "framework/values.h"

namespace {

constexpr std::uint64_t MiB = 1024 * 1024;

// Maker bytes and the companies behind them: the Linux kernel's manufacturer
// table (nand_ids.c), spelt as the catalogue spells them.
struct Maker {
    std::uint8_t byte;
    const wchar_t* name;
};
constexpr std::array<Maker, 16> Makers = {{{0x01, L"AMD/Spansion"},
                                           {0x04, L"Fujitsu"},
                                           {0x07, L"Renesas"},
                                           {0x20, L"ST Micro"},
                                           {0x2c, L"Micron"},
                                           {0x45, L"SanDisk"},
                                           {0x89, L"Intel"},
                                           {0x8f, L"National"},
                                           {0x92, L"Eon"},
                                           {0x98, L"Toshiba"},
                                           {0x9b, L"ATO"},
                                           {0xad, L"Hynix"},
                                           {0xc2, L"Macronix"},
                                           {0xc8, L"ESMT"},
                                           {0xec, L"Samsung"},
                                           {0xef, L"Winbond"}}};

// The kernel's device-code table (nand_ids.c). Small-page codes carry their
// page and block; the others leave both to the extended ID.
struct Device {
    std::uint8_t code;
    std::uint32_t megabytes;
    std::uint32_t bus_bits;
    std::uint32_t page_bytes;   // 512 for small-page parts, 0 for extended-ID parts
    std::uint32_t block_bytes;  // small-page parts only
};
constexpr Device Devices[] = {
    {0x6b, 4, 8, 512, 8192},      {0xe3, 4, 8, 512, 8192},      {0xe5, 4, 8, 512, 8192},
    {0xd6, 8, 8, 512, 8192},      {0xe6, 8, 8, 512, 8192},      {0x33, 16, 8, 512, 16384},
    {0x73, 16, 8, 512, 16384},    {0x43, 16, 16, 512, 16384},   {0x53, 16, 16, 512, 16384},
    {0x35, 32, 8, 512, 16384},    {0x75, 32, 8, 512, 16384},    {0x45, 32, 16, 512, 16384},
    {0x55, 32, 16, 512, 16384},   {0x36, 64, 8, 512, 16384},    {0x76, 64, 8, 512, 16384},
    {0x46, 64, 16, 512, 16384},   {0x56, 64, 16, 512, 16384},   {0x78, 128, 8, 512, 16384},
    {0x39, 128, 8, 512, 16384},   {0x79, 128, 8, 512, 16384},   {0x72, 128, 16, 512, 16384},
    {0x49, 128, 16, 512, 16384},  {0x74, 128, 16, 512, 16384},  {0x59, 128, 16, 512, 16384},
    {0x71, 256, 8, 512, 16384},
    {0xa2, 64, 8, 0, 0},          {0xa0, 64, 8, 0, 0},          {0xf2, 64, 8, 0, 0},
    {0xd0, 64, 8, 0, 0},          {0xf0, 64, 8, 0, 0},          {0xb2, 64, 16, 0, 0},
    {0xb0, 64, 16, 0, 0},         {0xc2, 64, 16, 0, 0},         {0xc0, 64, 16, 0, 0},
    {0xa1, 128, 8, 0, 0},         {0xf1, 128, 8, 0, 0},         {0xd1, 128, 8, 0, 0},
    {0xb1, 128, 16, 0, 0},        {0xc1, 128, 16, 0, 0},        {0xad, 128, 16, 0, 0},
    {0xaa, 256, 8, 0, 0},         {0xda, 256, 8, 0, 0},         {0xba, 256, 16, 0, 0},
    {0xca, 256, 16, 0, 0},        {0xac, 512, 8, 0, 0},         {0xdc, 512, 8, 0, 0},
    {0xbc, 512, 16, 0, 0},        {0xcc, 512, 16, 0, 0},        {0xa3, 1024, 8, 0, 0},
    {0xd3, 1024, 8, 0, 0},        {0xb3, 1024, 16, 0, 0},       {0xc3, 1024, 16, 0, 0},
    {0xa5, 2048, 8, 0, 0},        {0xd5, 2048, 8, 0, 0},        {0xb5, 2048, 16, 0, 0},
    {0xc5, 2048, 16, 0, 0},       {0xa7, 4096, 8, 0, 0},        {0xd7, 4096, 8, 0, 0},
    {0xb7, 4096, 16, 0, 0},       {0xc7, 4096, 16, 0, 0},       {0xae, 8192, 8, 0, 0},
    {0xde, 8192, 8, 0, 0},        {0xbe, 8192, 16, 0, 0},       {0xce, 8192, 16, 0, 0},
    {0x1a, 16384, 8, 0, 0},       {0x3a, 16384, 8, 0, 0},       {0x2a, 16384, 16, 0, 0},
    {0x4a, 16384, 16, 0, 0},      {0x1c, 32768, 8, 0, 0},       {0x3c, 32768, 8, 0, 0},
    {0x2c, 32768, 16, 0, 0},      {0x4c, 32768, 16, 0, 0},      {0x1e, 65536, 8, 0, 0},
    {0x3e, 65536, 8, 0, 0},       {0x2e, 65536, 16, 0, 0},      {0x4e, 65536, 16, 0, 0}};

// Density codes of the Intel/Micron dies, which the kernel reads from the
// parameter page instead (Micron datasheets: MT29F16G08ABABA answers
// 2c 48, MT29F64G08CBAAA 2c 88, MT29F128G08EBEBB 2c 84).
struct Density {
    std::uint8_t code;
    std::uint32_t megabytes;
};
constexpr Density Intel_Micron_Densities[] = {{0x48, 2048},  {0x68, 4096},  {0x44, 4096},  {0x88, 8192},
                                              {0x64, 8192},  {0xa8, 16384}, {0x84, 16384}, {0xc8, 32768},
                                              {0xa4, 32768}, {0xc4, 65536}};

// Chips that share a device code but not their geometry, known by their
// whole ID: the kernel's full-ID entries (nand_ids.c).
struct Full_Id {
    std::array<std::uint8_t, 8> id;
    std::size_t length;
    std::uint32_t page_bytes, spare_bytes, block_bytes;
};
constexpr Full_Id Full_Ids[] = {
    {{0x98, 0xd1, 0x90, 0x15, 0x76, 0x14, 0x01, 0x00}, 8, 2048, 64, 128 * 1024},        // TC58NVG0S3E
    {{0x98, 0xdc, 0x90, 0x26, 0x76, 0x15, 0x01, 0x08}, 8, 4096, 224, 256 * 1024},       // TC58NVG2S0F
    {{0x98, 0xdc, 0x90, 0x26, 0x76, 0x16, 0x08, 0x00}, 8, 4096, 256, 256 * 1024},       // TC58NVG2S0H
    {{0x98, 0xd3, 0x90, 0x26, 0x76, 0x15, 0x02, 0x08}, 8, 4096, 232, 256 * 1024},       // TC58NVG3S0F
    {{0x98, 0xd7, 0x94, 0x32, 0x76, 0x56, 0x09, 0x00}, 8, 8192, 640, 1024 * 1024},      // TC58NVG5D2
    {{0x98, 0xde, 0x94, 0x82, 0x76, 0x56, 0x04, 0x20}, 8, 8192, 640, 2048 * 1024},      // TC58NVG6D2
    {{0x45, 0xde, 0x94, 0x93, 0x76, 0x50, 0, 0}, 6, 16384, 1280, 4096 * 1024},          // SDTNRGAMA
    {{0xad, 0xde, 0x94, 0xda, 0x74, 0xc4, 0, 0}, 6, 8192, 640, 2048 * 1024},            // H27UCG8T2ATR-BC
    {{0xad, 0xde, 0x14, 0xa7, 0x42, 0x4a, 0, 0}, 6, 16384, 1664, 4096 * 1024},          // H27UCG8T2ETR-BC
    {{0x98, 0xdc, 0x91, 0x15, 0x76, 0, 0, 0}, 5, 2048, 128, 128 * 1024}};               // TH58NVG2S3HBAI4

// The generic fourth byte (nand_decode_ext_id in nand_base.c): page 1 KiB <<
// bits 1-0, spare 8 << bit 2 bytes per 512, block 64 KiB << bits 5-4, bit 6
// a 16-bit bus.
void Decode_Generic(std::uint8_t extid, Id_Decoding& decoding) {
    const std::uint32_t page = 1024u << (extid & 0x03);
    decoding.page_bytes = page;
    decoding.spare_bytes = (8u << ((extid >> 2) & 0x01)) * (page / 512);
    decoding.block_bytes = (64u * 1024) << ((extid >> 4) & 0x03);
    if (extid & 0x40)
        decoding.bus_bits = 16;
    else if (!decoding.bus_bits)
        decoding.bus_bits = 8;
}

// Samsung's six-byte IDs of multi-level parts (samsung_nand_decode_id in
// nand_samsung.c, after the K9GAG08U0F datasheet): page 2 KiB << bits 1-0;
// spare from bits 6, 3-2; block 128 KiB << bits 7, 5-4.
void Decode_Samsung_Six(std::uint8_t extid, Id_Decoding& decoding) {
    decoding.page_bytes = 2048u << (extid & 0x03);
    static constexpr std::uint32_t spares[8] = {0, 128, 218, 400, 436, 512, 640, 1024};
    const std::uint32_t spare = spares[((extid >> 4) & 0x04) | ((extid >> 2) & 0x03)];
    if (spare != 0) decoding.spare_bytes = spare;
    decoding.block_bytes = (128u * 1024) << (((extid >> 5) & 0x04) | ((extid >> 4) & 0x03));
}

// Hynix's six-byte IDs of multi-level parts (hynix_nand_decode_id in
// nand_hynix.c): page 2 KiB << bits 1-0; block 1 MiB << bits 5-4 when bit 7
// is set, else 128 KiB << bits 5-4 with 768 KiB for 3. The spare size
// depends on whether the chip also answers a JEDEC ID, which the ID bytes
// do not show, so it stays unknown.
void Decode_Hynix_Six(std::uint8_t extid, Id_Decoding& decoding) {
    const std::uint32_t page = 2048u << (extid & 0x03);
    decoding.page_bytes = page;
    const std::uint32_t shift = (extid >> 4) & 0x03;
    if (extid & 0x80)
        decoding.block_bytes = (1024u * 1024) << shift;
    else
        decoding.block_bytes = shift == 3 ? 768u * 1024 : (128u * 1024) << shift;
}

}  // namespace

std::vector<std::uint8_t> Id_Bytes(const std::wstring& text) {
    std::vector<std::uint8_t> bytes;
    for (const std::wstring& token : Split(text, L" ")) {
        if (token.empty()) continue;
        const bool hex = token.size() == 2 && std::all_of(token.begin(), token.end(), [](wchar_t c) {
                             return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
                         });
        if (!hex) throw ZEKT_Exception_DataCorrupt(L"Wrong ID code <" + text + L">");
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
    }
    return bytes;
}

std::optional<std::size_t> Id_Length(const std::vector<std::uint8_t>& id) {
    // The kernel reads eight bytes and finds the length the same way
    // (nand_id_len in nand_base.c).
    if (id.size() < 8) return std::nullopt;
    const std::size_t size = id.size();
    auto nonzero = std::find_if(id.rbegin(), id.rend(), [](std::uint8_t byte) { return byte != 0; });
    if (nonzero == id.rend()) return 0;
    for (std::size_t period = 1; period < size; ++period) {
        bool repeats = true;
        for (std::size_t i = period; i < size && repeats; ++i) repeats = id[i] == id[i - period];
        if (repeats) return period;
    }
    return static_cast<std::size_t>(id.rend() - nonzero);
}

Id_Decoding Decode_Id(const std::vector<std::uint8_t>& id) {
    Id_Decoding decoding;
    decoding.maker = L"Unknown";
    if (id.empty()) return decoding;
    for (const Maker& maker : Makers)
        if (maker.byte == id[0]) decoding.maker = maker.name;
    if (id.size() < 2) return decoding;

    const std::optional<std::size_t> length = Id_Length(id);
    for (const Full_Id& full : Full_Ids) {
        if (id.size() < full.length || !std::equal(full.id.begin(), full.id.begin() + full.length, id.begin()))
            continue;
        decoding.page_bytes = full.page_bytes;
        decoding.spare_bytes = full.spare_bytes;
        decoding.block_bytes = full.block_bytes;
        break;
    }

    const bool intel_micron = id[0] == 0x2c || id[0] == 0x89;
    const Device* device = nullptr;
    for (const Device& entry : Devices)
        if (entry.code == id[1]) device = &entry;
    if (intel_micron)
        for (const Density& density : Intel_Micron_Densities)
            if (density.code == id[1]) decoding.chip_bytes = density.megabytes * MiB;
    if (device) {
        decoding.chip_bytes = device->megabytes * MiB;
        decoding.bus_bits = device->bus_bits;
    }
    if (!decoding.chip_bytes) return decoding;

    if (device && device->page_bytes != 0) {
        // Small-page parts answer two bytes; a spare area is a 32nd of the
        // page (nand_decode_id in nand_base.c).
        decoding.page_bytes = device->page_bytes;
        decoding.spare_bytes = device->page_bytes / 32;
        decoding.block_bytes = device->block_bytes;
        decoding.bits_per_cell = 1;
        return decoding;
    }
    if (id.size() < 3) return decoding;
    // Third byte: dies behind the chip enable in bits 1-0 (the "internal chip
    // number" of Samsung, Hynix, Toshiba and Micron datasheets), cell type in
    // bits 3-2 (nand_get_bits_per_cell).
    decoding.dies = 1u << (id[2] & 0x03);
    decoding.bits_per_cell = ((id[2] >> 2) & 0x03) + 1;
    if (id.size() < 4 || decoding.page_bytes) return decoding;

    const bool slc = decoding.bits_per_cell == 1;
    const bool six = length == std::size_t{6};
    if (slc) {
        Decode_Generic(id[3], decoding);
        // Toshiba's 24 nm SLC parts that are not BENAND carry 32 bytes per
        // 512 (toshiba_nand_decode_id in nand_toshiba.c).
        if (id[0] == 0x98 && length && *length >= 6 && (id[5] & 0x07) == 0x06 && !(id[4] & 0x80))
            decoding.spare_bytes = 32 * (*decoding.page_bytes / 512);
    } else if (id[0] == 0xec && length) {
        if (six && id[5] != 0)
            Decode_Samsung_Six(id[3], decoding);
        else
            Decode_Generic(id[3], decoding);
    } else if (id[0] == 0xad && length) {
        if (*length >= 6)
            Decode_Hynix_Six(id[3], decoding);
        else
            Decode_Generic(id[3], decoding);
    }
    // Multi-level parts of the other makers do not follow the generic fourth
    // byte; the kernel knows them by full IDs or parameter pages.
    return decoding;
}
