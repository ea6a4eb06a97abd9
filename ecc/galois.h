// Arithmetic in GF(2^m), 5 <= m <= 16, built from a primitive polynomial.
#pragma once

#include <cstdint>
#include <vector>

namespace Korvane_Ecc {

class Galois_Field {
public:
    // `poly` includes its x^m term and must be primitive (see Is_Primitive).
    Galois_Field(std::uint32_t m, std::uint32_t poly);

    std::uint32_t M() const { return m_; }
    std::uint32_t N() const { return n_; }  // 2^m - 1, the multiplicative order
    std::uint32_t Exp(std::uint32_t power) const { return exp_[power]; }  // power <= 2n
    std::uint32_t Log(std::uint32_t value) const { return log_[value]; }  // value != 0
    std::uint32_t Mul(std::uint32_t a, std::uint32_t b) const {
        return a && b ? exp_[log_[a] + log_[b]] : 0;
    }
    std::uint32_t Div(std::uint32_t a, std::uint32_t b) const {  // b != 0
        return a ? exp_[log_[a] + n_ - log_[b]] : 0;
    }

private:
    std::uint32_t m_, n_;
    std::vector<std::uint16_t> exp_;  // doubled, so that a sum of two logs needs no reduction
    std::vector<std::uint16_t> log_;
};

// True when `poly` (with its x^m term) is primitive over GF(2): x has order 2^m - 1 modulo it.
bool Is_Primitive(std::uint32_t poly, std::uint32_t m);

// Every primitive polynomial of degree m, ascending; computed once per m and kept.
const std::vector<std::uint32_t>& Primitive_Polynomials(std::uint32_t m);

}  // namespace Korvane_Ecc
