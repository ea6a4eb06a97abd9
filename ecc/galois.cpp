#include "ecc/galois.h"

#include <mutex>

#include "framework/errors.h"

namespace Korvane_Ecc {

Galois_Field::Galois_Field(std::uint32_t m, std::uint32_t poly)
    : m_(m), n_((1u << m) - 1), exp_(2 * std::size_t(n_) + 1), log_(std::size_t(n_) + 1) {
    if (!Is_Primitive(poly, m))
        throw ZEKT_Exception_Bug(Format(L"Polynomial <0x%x> is not primitive of degree <%u>", poly, m));
    // Powers of alpha by repeated multiplication by x, reducing by the polynomial.
    std::uint32_t value = 1;
    for (std::uint32_t power = 0; power < n_; ++power) {
        exp_[power] = exp_[power + n_] = static_cast<std::uint16_t>(value);
        log_[value] = static_cast<std::uint16_t>(power);
        value <<= 1;
        if (value >> m) value ^= poly;
    }
    exp_[2 * n_] = exp_[0];
}

namespace {

// Product of two polynomials of degree < m, modulo `poly`.
std::uint32_t Mul_Mod(std::uint32_t a, std::uint32_t b, std::uint32_t poly, std::uint32_t m) {
    std::uint32_t product = 0;
    for (; b; b >>= 1) {
        if (b & 1) product ^= a;
        a <<= 1;
        if (a >> m) a ^= poly;
    }
    return product;
}

std::uint32_t Pow_X(std::uint32_t power, std::uint32_t poly, std::uint32_t m) {
    std::uint32_t result = 1, base = 2;
    for (; power; power >>= 1) {
        if (power & 1) result = Mul_Mod(result, base, poly, m);
        base = Mul_Mod(base, base, poly, m);
    }
    return result;
}

}  // namespace

bool Is_Primitive(std::uint32_t poly, std::uint32_t m) {
    if (m < 2 || m > 16 || (poly >> m) != 1 || !(poly & 1)) return false;
    const std::uint32_t order = (1u << m) - 1;
    if (Pow_X(order, poly, m) != 1) return false;
    // x must not reach 1 earlier: test order / q for each prime factor q.
    std::uint32_t rest = order;
    for (std::uint32_t q = 2; rest > 1; ++q) {
        if (q * q > rest) q = rest;  // what is left is prime
        if (rest % q) continue;
        while (rest % q == 0) rest /= q;
        if (Pow_X(order / q, poly, m) == 1) return false;
    }
    return true;
}

const std::vector<std::uint32_t>& Primitive_Polynomials(std::uint32_t m) {
    static std::mutex guard;
    static std::vector<std::uint32_t> lists[17];
    if (m < 2 || m > 16) throw ZEKT_Exception_Bug(Format(L"No GF(2^m) for m <%u>", m));
    std::lock_guard lock(guard);
    std::vector<std::uint32_t>& list = lists[m];
    if (list.empty())
        for (std::uint32_t poly = (1u << m) | 1; poly < (2u << m); poly += 2)
            if (Is_Primitive(poly, m)) list.push_back(poly);
    return list;
}

}  // namespace Korvane_Ecc
