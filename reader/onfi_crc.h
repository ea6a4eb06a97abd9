// The CRC that protects each copy of an ONFI parameter page.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Korvane_Internal {

// CRC-16 with polynomial 0x8005 and initial value 0x4F4E, most significant bit first.
std::uint16_t Onfi_CRC16(const std::uint8_t* bytes, std::size_t count);

// True when bytes 254 and 255 of a 256-byte copy hold (little-endian) the
// CRC of bytes 0 to 253.
bool Onfi_Copy_Good(const std::uint8_t* copy);

// The same for a copy of `copy_bytes` whose last two bytes hold the CRC of
// the rest: 512 for a JEDEC parameter page.
bool Parameter_Copy_Good(const std::uint8_t* copy, std::size_t copy_bytes);

}  // namespace Korvane_Internal
