// One codeword's code (Hamming or BCH) behind one interface, for Page_Codec.
#pragma once

#include <cstdint>
#include <vector>

namespace Korvane_Ecc {

// The three byte runs of one codeword, wherever they lie in the page.
struct Codeword_Bytes {
    std::uint8_t* data;
    std::uint32_t data_bytes;
    std::uint8_t* cover;
    std::uint32_t cover_bytes;
    std::uint8_t* ecc;
    std::uint32_t ecc_bytes;
};

enum class Codeword_Part { Data, Cover, Ecc };

// One wrong bit: the byte within its part, bit 0 = least significant, as stored.
struct Bit_Flip {
    Codeword_Part part;
    std::uint32_t byte;
    std::uint32_t bit;
};

enum class Check_Outcome { Clean, Corrected, Uncorrectable };

class Codeword_Code {
public:
    virtual ~Codeword_Code() = default;
    virtual std::uint32_t Correctable_Bits() const = 0;
    // Writes the ECC bytes as stored in the page.
    virtual void Encode(const Codeword_Bytes& codeword) const = 0;
    // Without `flips` only tells Clean from not clean (Uncorrectable), the cheap test;
    // with it, locates the wrong bits of a correctable codeword.
    virtual Check_Outcome Check(const Codeword_Bytes& codeword, std::vector<Bit_Flip>* flips) const = 0;
};

}  // namespace Korvane_Ecc
