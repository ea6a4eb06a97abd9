#include "ecc/hamming.h"

#include <bit>
#include <cstring>

namespace Korvane_Ecc {

namespace {

// Folded by hand: without a population-count instruction the compiler calls a library routine.
std::uint32_t Parity(std::uint64_t value) {
    value ^= value >> 32;
    value ^= value >> 16;
    value ^= value >> 8;
    value ^= value >> 4;
    return (0x6996u >> (value & 0xf)) & 1;
}

}  // namespace

Hamming_Code::Hamming_Code(std::uint32_t step_bytes, bool smartmedia)
    : step_bytes_(step_bytes), smartmedia_(smartmedia) {}

// Line parity rp(2k+1) covers the bytes whose index has bit k set, rp(2k) the others.
// Reading eight bytes per word: the word's parity decides the index bits above 2, and the
// XOR of all words, byte by byte, both the index bits 0..2 and the column parities.
void Hamming_Code::Compute(const std::uint8_t* data, std::uint8_t* ecc) const {
    std::uint64_t all = 0;
    std::uint32_t odd_words = 0;
    for (std::uint32_t w = 0; w < step_bytes_ / 8; ++w) {
        std::uint64_t value;
        std::memcpy(&value, data + 8 * w, 8);
        if constexpr (std::endian::native == std::endian::big) value = __builtin_bswap64(value);
        all ^= value;
        odd_words ^= w & (0u - Parity(value));
    }
    const std::uint32_t total = Parity(all);
    std::uint32_t odd = Parity(all & 0xff00ff00ff00ff00ull) | Parity(all & 0xffff0000ffff0000ull) << 1 |
                        Parity(all & 0xffffffff00000000ull) << 2 | odd_words << 3;
    std::uint32_t line = 0;  // bit 2k+1 = rp(2k+1), bit 2k = rp(2k)
    for (std::uint32_t k = 0; (1u << k) < step_bytes_; ++k)
        line |= ((odd >> k) & 1) << (2 * k + 1) | (((odd >> k) & 1) ^ total) << (2 * k);
    std::uint64_t fold = all ^ all >> 32;
    fold ^= fold >> 16;
    fold ^= fold >> 8;
    const std::uint32_t column = fold & 0xff;
    const std::uint32_t columns = Parity(column & 0xf0) << 7 | Parity(column & 0x0f) << 6 |
                                  Parity(column & 0xcc) << 5 | Parity(column & 0x33) << 4 |
                                  Parity(column & 0xaa) << 3 | Parity(column & 0x55) << 2;
    ecc[0] = static_cast<std::uint8_t>(~(line >> 8));
    ecc[1] = static_cast<std::uint8_t>(~line);
    // 512-byte steps keep rp17 and rp16 in the two low bits; 256-byte steps leave them 1.
    ecc[2] = static_cast<std::uint8_t>(~(columns | (line >> 16 & 3)));
}

void Hamming_Code::Encode(const Codeword_Bytes& codeword) const {
    std::uint8_t ecc[3];
    Compute(codeword.data, ecc);
    codeword.ecc[0] = ecc[smartmedia_ ? 1 : 0];
    codeword.ecc[1] = ecc[smartmedia_ ? 0 : 1];
    codeword.ecc[2] = ecc[2];
}

Check_Outcome Hamming_Code::Check(const Codeword_Bytes& codeword, std::vector<Bit_Flip>* flips) const {
    std::uint8_t ecc[3];
    Compute(codeword.data, ecc);
    const std::uint32_t first = smartmedia_ ? 1 : 0;
    const std::uint32_t d0 = ecc[0] ^ codeword.ecc[first], d1 = ecc[1] ^ codeword.ecc[1 - first],
                        d2 = ecc[2] ^ codeword.ecc[2];
    if (!(d0 | d1 | d2)) return Check_Outcome::Clean;
    if (!flips) return Check_Outcome::Uncorrectable;
    // One wrong data bit changes exactly one parity of every pair; the odd ones spell its address.
    const std::uint32_t pairs2 = step_bytes_ == 512 ? 0x55 : 0x54;
    if (((d0 ^ d0 >> 1) & 0x55) == 0x55 && ((d1 ^ d1 >> 1) & 0x55) == 0x55 && ((d2 ^ d2 >> 1) & pairs2) == pairs2) {
        std::uint32_t byte = 0;
        for (std::uint32_t k = 0; k < 4; ++k) byte |= (d1 >> (2 * k + 1) & 1) << k | (d0 >> (2 * k + 1) & 1) << (k + 4);
        if (step_bytes_ == 512) byte |= (d2 >> 1 & 1) << 8;
        const std::uint32_t bit = (d2 >> 3 & 1) | (d2 >> 5 & 1) << 1 | (d2 >> 7 & 1) << 2;
        flips->push_back({Codeword_Part::Data, byte, bit});
        return Check_Outcome::Corrected;
    }
    // One wrong ECC bit shows as itself.
    if (std::popcount(d0) + std::popcount(d1) + std::popcount(d2) == 1) {
        const std::uint32_t canonical = d0 ? 0 : d1 ? 1 : 2, diff = d0 | d1 | d2;
        const std::uint32_t stored = canonical == 2 ? 2 : canonical ^ first;
        flips->push_back({Codeword_Part::Ecc, stored, static_cast<std::uint32_t>(std::countr_zero(diff))});
        return Check_Outcome::Corrected;
    }
    return Check_Outcome::Uncorrectable;
}

}  // namespace Korvane_Ecc
