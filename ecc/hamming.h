// The Hamming code of Linux software ECC: 3 bytes per 256 or 512 data bytes,
// line parities over byte indices and column parities over bit indices,
// stored inverted so that an erased step reads FF FF FF.
#pragma once

#include <cstdint>

#include "ecc/codeword_code.h"

namespace Korvane_Ecc {

class Hamming_Code : public Codeword_Code {
public:
    // `smartmedia`: the first two ECC bytes swapped.
    Hamming_Code(std::uint32_t step_bytes, bool smartmedia);

    std::uint32_t Correctable_Bits() const override { return 1; }
    void Encode(const Codeword_Bytes& codeword) const override;
    Check_Outcome Check(const Codeword_Bytes& codeword, std::vector<Bit_Flip>* flips) const override;

private:
    // The three ECC bytes in Linux order for `data`.
    void Compute(const std::uint8_t* data, std::uint8_t* ecc) const;

    std::uint32_t step_bytes_;
    bool smartmedia_;
};

}  // namespace Korvane_Ecc
