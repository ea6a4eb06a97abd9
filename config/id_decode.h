// What a chip's own ID bytes say about it: the maker, the bytes behind one
// chip enable and, where the ID tells them, the page, spare area, block, bus,
// bits per cell and dies. A field the ID does not tell stays empty.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Id_Decoding {
    std::wstring maker;                          // company of the maker byte; "Unknown" when no table has it
    std::optional<std::uint64_t> chip_bytes;     // data bytes behind one chip enable
    std::optional<std::uint32_t> page_bytes;     // data bytes of a page, spare area not included
    std::optional<std::uint32_t> spare_bytes;    // spare bytes of a page
    std::optional<std::uint32_t> block_bytes;    // data bytes of a block
    std::optional<std::uint32_t> bus_bits;       // 8 or 16
    std::optional<std::uint32_t> bits_per_cell;  // 1 SLC, 2 MLC, 3 TLC
    std::optional<std::uint32_t> dies;           // dies behind one chip enable
};

// The ID bytes of an ID text ("2c dc 90 95", blanks around tokens allowed);
// throws "Wrong ID code <text>" for a token that is not two hexadecimal digits.
std::vector<std::uint8_t> Id_Bytes(const std::wstring& text);

// How long the chip's ID is, found from a read of at least eight bytes the
// way chips show it: the bytes repeat after the last one, or zeros follow.
// Nothing when fewer than eight bytes were read.
std::optional<std::size_t> Id_Length(const std::vector<std::uint8_t>& id);

// Decodes the bytes as read (any count; rules that need more bytes than were
// read tell nothing).
Id_Decoding Decode_Id(const std::vector<std::uint8_t>& id);
