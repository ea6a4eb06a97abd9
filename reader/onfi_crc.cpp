#include "reader/onfi_crc.h"

namespace Korvane_Internal {

std::uint16_t Onfi_CRC16(const std::uint8_t* bytes, std::size_t count) {
    std::uint16_t crc = 0x4F4E;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= static_cast<std::uint16_t>(bytes[i] << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x8005) : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

bool Onfi_Copy_Good(const std::uint8_t* copy) { return Parameter_Copy_Good(copy, 256); }

bool Parameter_Copy_Good(const std::uint8_t* copy, std::size_t copy_bytes) {
    return Onfi_CRC16(copy, copy_bytes - 2) == (copy[copy_bytes - 2] | copy[copy_bytes - 1] << 8);
}

}  // namespace Korvane_Internal
