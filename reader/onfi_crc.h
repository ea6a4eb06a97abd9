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

}  // namespace Korvane_Internal
