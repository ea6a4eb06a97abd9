#include "emulator/onfi.h"

#include <algorithm>

#include "framework/errors.h"
#include "framework/media.h"
#include "framework/values.h"

namespace Korvane_Emulator {

namespace {

template <class Bytes>
void Put_Text(Bytes& page, std::size_t offset, std::size_t width, const std::string& text) {
    // ASCII fields are padded with blanks, never with zeros.
    std::fill_n(page.begin() + offset, width, ' ');
    std::copy_n(text.begin(), std::min(width, text.size()), page.begin() + offset);
}

template <class Bytes>
void Put_Le(Bytes& page, std::size_t offset, std::uint32_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) page[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The fields both layouts keep at the same offsets.
template <class Bytes>
void Put_Geometry(Bytes& page, const Onfi_Geometry& geometry) {
    Put_Le(page, 6, geometry.wide_bus ? 0x0001 : 0x0000, 2);
    Put_Text(page, 32, 12, geometry.manufacturer);
    Put_Text(page, 44, 20, geometry.model);
    page[64] = geometry.jedec_id;
    Put_Le(page, 80, geometry.data_bytes, 4);
    Put_Le(page, 84, geometry.spare_bytes, 2);
    Put_Le(page, 92, geometry.pages_per_block, 4);
    Put_Le(page, 96, geometry.blocks_per_lun, 4);
    page[100] = geometry.luns;
    page[101] = static_cast<std::uint8_t>((geometry.column_cycles << 4) | (geometry.row_cycles & 0x0F));
    page[102] = geometry.bits_per_cell;
}

}  // namespace

Onfi_Page Make_Onfi_Page(const Onfi_Geometry& geometry) {
    Onfi_Page page{};
    std::copy_n("ONFI", 4, page.begin());
    Put_Le(page, 4, 0x0002 | 0x0004, 2);  // ONFI 1.0 and 2.0
    page[14] = 3;  // three copies follow one another
    Put_Geometry(page, geometry);
    Put_Le(page, 137, 25, 2);  // tR in microseconds
    Put_Le(page, 254, Onfi_CRC16(page.data(), 254), 2);
    return page;
}

std::vector<std::uint8_t> Make_Jedec_Page(const Onfi_Geometry& geometry) {
    std::vector<std::uint8_t> page(Jedec_Page_Bytes, 0);
    std::copy_n("JESD", 4, page.begin());
    Put_Le(page, 4, 0x0002, 2);  // JESD230 revision 1.0
    Put_Geometry(page, geometry);
    Put_Le(page, 510, Onfi_CRC16(page.data(), 510), 2);
    return page;
}

std::vector<std::uint8_t> Onfi_Copies(const Onfi_Page& page) {
    std::vector<std::uint8_t> copies;
    for (int copy = 0; copy < 3; ++copy) copies.insert(copies.end(), page.begin(), page.end());
    return copies;
}

Captured_Page Parameter_Copies_From_File(const std::wstring& path) {
    ZEKT_MediaFileReadProtect file(path);
    const std::uint64_t size = file.GetSize();
    Captured_Page captured;
    captured.jedec = size == Jedec_Page_Bytes || size == 3 * Jedec_Page_Bytes;
    const std::size_t copy = captured.jedec ? Jedec_Page_Bytes : Onfi_Page_Bytes;
    if (size != copy && size != 3 * copy)
        throw ZEKT_Exception(Format(
            L"Parameter page file <%s> holds <%I64u> bytes, not 256 or 768 (ONFI), 512 or 1536 (JEDEC)", path, size));
    captured.copies.resize(3 * copy);
    file.Read(captured.copies.data(), size);
    for (std::size_t at = size; at < 3 * copy; at += copy)
        std::copy_n(captured.copies.begin(), copy, captured.copies.begin() + at);
    return captured;
}

}  // namespace Korvane_Emulator
