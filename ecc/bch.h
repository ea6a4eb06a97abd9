// Binary BCH codes over GF(2^m) as Linux software BCH stores them: data bits
// most significant first, ECC bits most significant first with the padding at
// the low end of the last byte, and the erased-page mask.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ecc/codeword_code.h"
#include "ecc/galois.h"

namespace Korvane_Ecc {

class Bch_Code : public Codeword_Code {
public:
    static constexpr std::uint32_t max_words = 16;  // remainders up to 1024 bits
    static constexpr std::uint32_t max_t = 64;
    using Remainder = std::array<std::uint64_t, max_words>;

    // `message_bytes` = data plus covered spare bytes of one codeword. `swap_bits`: data and ECC
    // bytes bit-reversed; `ecc_reversed`: only the ECC bytes. Throws ZEKT_Exception_DataCorrupt
    // when the codeword does not fit the field or the remainder is too long.
    Bch_Code(std::uint32_t m, std::uint32_t t, std::uint32_t poly, std::uint32_t message_bytes, bool swap_bits,
             bool ecc_reversed);

    std::uint32_t Correctable_Bits() const override { return t_; }
    std::uint32_t Ecc_Bits() const { return ecc_bits_; }
    std::uint32_t Ecc_Bytes() const { return ecc_bytes_; }
    void Encode(const Codeword_Bytes& codeword) const override;
    Check_Outcome Check(const Codeword_Bytes& codeword, std::vector<Bit_Flip>* flips) const override;

private:
    using Feed_Function = void (*)(const Bch_Code&, Remainder&, const std::uint8_t*, std::uint32_t);
    template <std::uint32_t W, bool Swap>
    static void Feed(const Bch_Code& code, Remainder& state, const std::uint8_t* bytes, std::uint32_t count);

    Remainder Message_Remainder(const Codeword_Bytes& codeword) const;
    Remainder Stored_Remainder(const std::uint8_t* ecc) const;
    void Clock(Remainder& state, std::uint32_t bits) const;
    // The degrees of the wrong bits, from the error remainder; false when more than t or not found.
    bool Locate(const Remainder& error, std::vector<std::uint32_t>& degrees) const;

    Galois_Field field_;
    std::uint32_t m_, t_, ecc_bits_ = 0, ecc_bytes_, words_ = 0, message_bytes_;
    bool swap_bits_, ecc_reversed_;
    Remainder generator_{};                 // g(x) without its x^ecc_bits term, left-justified
    std::vector<std::uint64_t> slices_;     // [8 byte positions][256 values][words]: 8 bytes per step
    std::vector<std::uint64_t> byte_table_; // [256][words]: one byte per step, for tails
    std::vector<std::uint8_t> mask_;        // stored form: what an erased codeword's ECC is XORed with
    Feed_Function feed_ = nullptr;
};

// Reverses the bit order of every byte of `value`.
inline std::uint64_t Reverse_Bits_In_Bytes(std::uint64_t value) {
    value = ((value >> 1) & 0x5555555555555555ull) | ((value & 0x5555555555555555ull) << 1);
    value = ((value >> 2) & 0x3333333333333333ull) | ((value & 0x3333333333333333ull) << 2);
    return ((value >> 4) & 0x0f0f0f0f0f0f0f0full) | ((value & 0x0f0f0f0f0f0f0f0full) << 4);
}
inline std::uint8_t Reverse_Bits(std::uint8_t value) {
    return static_cast<std::uint8_t>(Reverse_Bits_In_Bytes(value));
}

}  // namespace Korvane_Ecc
