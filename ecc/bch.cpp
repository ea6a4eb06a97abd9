#include "ecc/bch.h"

#include <bit>
#include <cstring>
#include <utility>

#include "framework/errors.h"

namespace Korvane_Ecc {

namespace {

std::uint32_t Checked_Polynomial(std::uint32_t m, std::uint32_t t, std::uint32_t poly) {
    if (m < 5 || m > 16 || t < 1 || t > Bch_Code::max_t || m * t > 64 * Bch_Code::max_words)
        throw ZEKT_Exception_DataCorrupt(Format(L"No BCH code with m <%u> and t <%u>", m, t));
    if (!Is_Primitive(poly, m))
        throw ZEKT_Exception_DataCorrupt(Format(L"ECC polynomial <0x%x> is not primitive of degree <%u>", poly, m));
    return poly;
}

}  // namespace

Bch_Code::Bch_Code(std::uint32_t m, std::uint32_t t, std::uint32_t poly, std::uint32_t message_bytes,
                   bool swap_bits, bool ecc_reversed)
    : field_(m, Checked_Polynomial(m, t, poly)),
      m_(m),
      t_(t),
      ecc_bytes_((m * t + 7) / 8),
      message_bytes_(message_bytes),
      swap_bits_(swap_bits),
      ecc_reversed_(ecc_reversed) {
    const std::uint32_t n = field_.N();
    // g(x) has as roots alpha^j for odd j < 2t and all their conjugates alpha^(j*2^k):
    // the product of the minimal polynomials, each taken once.
    std::vector<bool> root(n, false);
    std::vector<std::uint32_t> g{1};  // coefficients in GF(2^m), lowest degree first
    for (std::uint32_t j = 1; j < 2 * t; j += 2) {
        for (std::uint32_t r = j % n; !root[r]; r = (2 * r) % n) {
            root[r] = true;
            // g *= (x + alpha^r)
            const std::uint32_t a = field_.Exp(r);
            g.push_back(0);
            for (std::size_t i = g.size() - 1; i > 0; --i) g[i] = g[i - 1] ^ field_.Mul(g[i], a);
            g[0] = field_.Mul(g[0], a);
        }
    }
    ecc_bits_ = static_cast<std::uint32_t>(g.size() - 1);
    words_ = (ecc_bits_ + 63) / 64;
    const std::uint64_t codeword_bits = 8ull * message_bytes + ecc_bits_;
    if (codeword_bits > n)
        throw ZEKT_Exception_DataCorrupt(
            Format(L"BCH codeword of <%I64u> bits is longer than GF(2^%u) allows", codeword_bits, m));
    for (std::uint32_t p = 0; p < ecc_bits_; ++p)
        if (g[ecc_bits_ - 1 - p]) generator_[p / 64] |= 1ull << (63 - p % 64);

    // Tables: the remainder a byte leaves once it has been shifted out of the register,
    // built from single bits since the map is linear.
    slices_.assign(8 * 256 * std::size_t(words_), 0);
    byte_table_.assign(256 * std::size_t(words_), 0);
    for (std::uint32_t k = 0; k < 8; ++k)
        for (std::uint32_t bit = 0; bit < 8; ++bit) {
            Remainder state{};
            state[0] = std::uint64_t(1u << bit) << (56 - 8 * k);
            Clock(state, 64);
            std::memcpy(&slices_[(k * 256 + (1u << bit)) * words_], state.data(), words_ * 8);
        }
    for (std::uint32_t bit = 0; bit < 8; ++bit) {
        Remainder state{};
        state[0] = std::uint64_t(1u << bit) << 56;
        Clock(state, 8);
        std::memcpy(&byte_table_[(1u << bit) * words_], state.data(), words_ * 8);
    }
    for (std::uint32_t k = 0; k < 9; ++k) {
        std::uint64_t* table = k < 8 ? &slices_[k * 256 * words_] : byte_table_.data();
        for (std::uint32_t value = 1; value < 256; ++value) {
            const std::uint32_t low = value & (0u - value);
            if (low == value) continue;
            for (std::uint32_t w = 0; w < words_; ++w)
                table[value * words_ + w] = table[low * words_ + w] ^ table[(value ^ low) * words_ + w];
        }
    }

    static constexpr auto feeds = []<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<std::array<Feed_Function, 2>, max_words>{
            {{&Feed<I + 1, false>, &Feed<I + 1, true>}...}};
    }(std::make_index_sequence<max_words>{});
    feed_ = feeds[words_ - 1][swap_bits ? 1 : 0];

    // The mask makes an erased codeword (all 0xFF, ECC included) a valid one.
    mask_.assign(ecc_bytes_, 0);
    std::vector<std::uint8_t> erased(message_bytes + ecc_bytes_, 0xff);
    Encode({erased.data(), message_bytes, nullptr, 0, erased.data() + message_bytes, ecc_bytes_});
    for (std::uint32_t i = 0; i < ecc_bytes_; ++i) mask_[i] = static_cast<std::uint8_t>(~erased[message_bytes + i]);
}

void Bch_Code::Clock(Remainder& state, std::uint32_t bits) const {
    for (; bits; --bits) {
        const bool out = state[0] >> 63;
        for (std::uint32_t w = 0; w < words_; ++w)
            state[w] = (state[w] << 1) | (w + 1 < words_ ? state[w + 1] >> 63 : 0);
        if (out)
            for (std::uint32_t w = 0; w < words_; ++w) state[w] ^= generator_[w];
    }
}

// The register holds the remainder left-justified: its first bit is the coefficient of
// x^(ecc_bits-1). Eight message bytes at a time go into the top word, and the whole word
// is shifted out at once through eight byte tables.
template <std::uint32_t W, bool Swap>
void Bch_Code::Feed(const Bch_Code& code, Remainder& state, const std::uint8_t* bytes, std::uint32_t count) {
    std::uint64_t s[W];
    for (std::uint32_t w = 0; w < W; ++w) s[w] = state[w];
    const std::uint64_t* slices = code.slices_.data();
    for (; count >= 8; count -= 8, bytes += 8) {
        std::uint64_t value;
        std::memcpy(&value, bytes, 8);
        if constexpr (std::endian::native == std::endian::little) value = __builtin_bswap64(value);
        if constexpr (Swap) value = Reverse_Bits_In_Bytes(value);
        const std::uint64_t top = s[0] ^ value;
        if constexpr (W == 2) {
            // Both words of an entry in one 16-byte load and XOR where the target has them.
            typedef std::uint64_t Pair __attribute__((vector_size(16), aligned(8)));
            Pair sum = {s[1], 0};
            for (std::uint32_t k = 0; k < 8; ++k) {
                Pair entry;
                std::memcpy(&entry, slices + (k * 256 + ((top >> (56 - 8 * k)) & 0xff)) * 2, 16);
                sum ^= entry;
            }
            s[0] = sum[0];
            s[1] = sum[1];
        } else {
            for (std::uint32_t w = 0; w + 1 < W; ++w) s[w] = s[w + 1];
            s[W - 1] = 0;
            for (std::uint32_t k = 0; k < 8; ++k) {
                const std::uint64_t* entry = slices + (k * 256 + ((top >> (56 - 8 * k)) & 0xff)) * W;
                for (std::uint32_t w = 0; w < W; ++w) s[w] ^= entry[w];
            }
        }
    }
    for (; count; --count, ++bytes) {
        const std::uint8_t value = Swap ? Reverse_Bits(*bytes) : *bytes;
        const std::uint64_t* entry = code.byte_table_.data() + ((s[0] >> 56) ^ value) * W;
        for (std::uint32_t w = 0; w < W; ++w) s[w] = ((s[w] << 8) | (w + 1 < W ? s[w + 1] >> 56 : 0)) ^ entry[w];
    }
    for (std::uint32_t w = 0; w < W; ++w) state[w] = s[w];
}

Bch_Code::Remainder Bch_Code::Message_Remainder(const Codeword_Bytes& codeword) const {
    Remainder state{};
    feed_(*this, state, codeword.data, codeword.data_bytes);
    if (codeword.cover_bytes) feed_(*this, state, codeword.cover, codeword.cover_bytes);
    return state;
}

Bch_Code::Remainder Bch_Code::Stored_Remainder(const std::uint8_t* ecc) const {
    Remainder state{};
    for (std::uint32_t i = 0; i < ecc_bytes_; ++i) {
        std::uint8_t value = ecc[i] ^ mask_[i];
        if (swap_bits_ || ecc_reversed_) value = Reverse_Bits(value);
        state[i / 8] |= std::uint64_t(value) << (56 - 8 * (i % 8));
    }
    // The padding bits at the low end of the last byte carry nothing.
    for (std::uint32_t p = ecc_bits_; p < 8 * ecc_bytes_; ++p) state[p / 64] &= ~(1ull << (63 - p % 64));
    return state;
}

void Bch_Code::Encode(const Codeword_Bytes& codeword) const {
    const Remainder state = Message_Remainder(codeword);
    for (std::uint32_t i = 0; i < ecc_bytes_; ++i) {
        auto value = static_cast<std::uint8_t>(state[i / 8] >> (56 - 8 * (i % 8)));
        if (swap_bits_ || ecc_reversed_) value = Reverse_Bits(value);
        codeword.ecc[i] = value ^ mask_[i];
    }
}

Check_Outcome Bch_Code::Check(const Codeword_Bytes& codeword, std::vector<Bit_Flip>* flips) const {
    Remainder error = Message_Remainder(codeword);
    const Remainder stored = Stored_Remainder(codeword.ecc);
    std::uint64_t any = 0;
    for (std::uint32_t w = 0; w < words_; ++w) any |= error[w] ^= stored[w];
    if (!any) return Check_Outcome::Clean;
    std::vector<std::uint32_t> degrees;
    if (!flips || !Locate(error, degrees)) return Check_Outcome::Uncorrectable;
    // Degree d counts from the last ECC bit backwards through the ECC and then the message.
    const bool ecc_reversed = swap_bits_ || ecc_reversed_;
    for (const std::uint32_t degree : degrees) {
        if (degree < ecc_bits_) {
            const std::uint32_t index = ecc_bits_ - 1 - degree;
            flips->push_back({Codeword_Part::Ecc, index / 8, ecc_reversed ? index % 8 : 7 - index % 8});
            continue;
        }
        const std::uint32_t index = 8 * message_bytes_ + ecc_bits_ - 1 - degree;
        const std::uint32_t byte = index / 8, bit = swap_bits_ ? index % 8 : 7 - index % 8;
        if (byte < codeword.data_bytes)
            flips->push_back({Codeword_Part::Data, byte, bit});
        else
            flips->push_back({Codeword_Part::Cover, byte - codeword.data_bytes, bit});
    }
    return Check_Outcome::Corrected;
}

bool Bch_Code::Locate(const Remainder& error, std::vector<std::uint32_t>& degrees) const {
    const std::uint32_t n = field_.N();
    // Syndromes S_j = e(alpha^j) = r(alpha^j): the error remainder has the same roots as the error.
    // Odd j only, stepping each bit's power by 2*degree; S_2j = S_j^2 in characteristic 2.
    std::array<std::uint32_t, 2 * max_t + 2> syndrome{};
    for (std::uint32_t w = 0; w < words_; ++w)
        for (std::uint64_t bits = error[w]; bits; bits &= bits - 1) {
            const std::uint32_t degree = (ecc_bits_ - 1 - (w * 64 + 63 - std::countr_zero(bits))) % n;
            const std::uint32_t step = (2 * degree) % n;
            std::uint32_t power = degree;
            for (std::uint32_t j = 1; j <= 2 * t_; j += 2) {
                syndrome[j] ^= field_.Exp(power);
                power += step;
                if (power >= n) power -= n;
            }
        }
    for (std::uint32_t j = 2; j <= 2 * t_; j += 2) syndrome[j] = field_.Mul(syndrome[j / 2], syndrome[j / 2]);

    // Berlekamp-Massey: the shortest LFSR (error locator) that generates the syndromes.
    std::array<std::uint32_t, 2 * max_t + 2> locator{}, previous{}, saved{};
    locator[0] = previous[0] = 1;
    std::uint32_t length = 0, shift = 1, previous_discrepancy = 1;
    for (std::uint32_t r = 0; r < 2 * t_; ++r) {
        std::uint32_t discrepancy = syndrome[r + 1];
        for (std::uint32_t i = 1; i <= length; ++i) discrepancy ^= field_.Mul(locator[i], syndrome[r + 1 - i]);
        if (!discrepancy) {
            ++shift;
            continue;
        }
        const std::uint32_t factor = field_.Div(discrepancy, previous_discrepancy);
        const bool grow = 2 * length <= r;
        if (grow) saved = locator;
        for (std::uint32_t i = 0; i + shift <= 2 * t_; ++i) locator[i + shift] ^= field_.Mul(factor, previous[i]);
        if (grow) {
            length = r + 1 - length;
            previous = saved;
            previous_discrepancy = discrepancy;
            shift = 1;
        } else {
            ++shift;
        }
    }
    if (length > t_) return false;
    for (std::uint32_t i = length + 1; i <= 2 * t_; ++i)
        if (locator[i]) return false;

    // Chien search over the codeword's own degrees: an error at degree d makes alpha^-d a root.
    const std::uint32_t codeword_bits = 8 * message_bytes_ + ecc_bits_;
    if (length == 1) {
        const std::uint32_t degree = field_.Log(locator[1]);
        if (degree >= codeword_bits) return false;
        degrees.push_back(degree);
        return true;
    }
    std::array<std::uint32_t, 2 * max_t + 2> power{}, step{};
    for (std::uint32_t i = 1; i <= length; ++i) {
        power[i] = locator[i] ? field_.Log(locator[i]) : n;  // n marks a zero coefficient
        step[i] = n - i % n;
    }
    for (std::uint32_t degree = 0; degree < codeword_bits && degrees.size() < length; ++degree) {
        std::uint32_t sum = 1;
        for (std::uint32_t i = 1; i <= length; ++i) {
            if (power[i] == n) continue;
            sum ^= field_.Exp(power[i]);
            power[i] += step[i];
            if (power[i] >= n) power[i] -= n;
        }
        if (!sum) degrees.push_back(degree);
    }
    return degrees.size() == length;
}

}  // namespace Korvane_Ecc
