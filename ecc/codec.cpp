#include "ecc/codec.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "ecc/bch.h"
#include "ecc/hamming.h"
#include "framework/errors.h"

namespace Korvane_Ecc {

namespace {

std::unique_ptr<Codeword_Code> Make_Code(const Ecc_Layout& layout) {
    switch (layout.code) {
    case Code_Kind::Hamming:
        // Linux Hamming ECC protects the data bytes only, in their plain bit order.
        if (layout.cover_bytes)
            throw ZEKT_Exception_DataCorrupt(
                Format(L"ECC layout word <cover=%u> does not apply to <hamming>", layout.cover_bytes));
        if (layout.bits != Bit_Variant::Plain)
            throw ZEKT_Exception_DataCorrupt(L"ECC layout word <bits> does not apply to <hamming>");
        return std::make_unique<Hamming_Code>(layout.step_bytes, layout.order == Hamming_Order::Smartmedia);
    case Code_Kind::Bch:
        return std::make_unique<Bch_Code>(layout.m, layout.t, layout.poly, layout.step_bytes + layout.cover_bytes,
                                          layout.bits == Bit_Variant::Swap,
                                          layout.bits == Bit_Variant::Ecc_Reversed);
    }
    return nullptr;
}

Codeword_Bytes Bytes_Of(std::uint8_t* page, const Codeword_Place& place) {
    return {page + place.data_offset, place.data_bytes, page + place.cover_offset,
            place.cover_bytes,        page + place.ecc_offset, place.ecc_bytes};
}

bool All_Ones(const std::uint8_t* bytes, std::uint32_t count) {
    for (; count >= 8; count -= 8, bytes += 8) {
        std::uint64_t value;
        std::memcpy(&value, bytes, 8);
        if (~value) return false;
    }
    for (; count; --count, ++bytes)
        if (*bytes != 0xff) return false;
    return true;
}

// Counts the 0 bits of a byte run into `zeros`; false as soon as there are more than `limit`.
bool Few_Zeros(const std::uint8_t* bytes, std::uint32_t count, std::uint32_t limit, std::uint32_t& zeros) {
    for (; count >= 8; count -= 8, bytes += 8) {
        std::uint64_t value;
        std::memcpy(&value, bytes, 8);
        zeros += static_cast<std::uint32_t>(std::popcount(~value));
        if (zeros > limit) return false;
    }
    for (; count; --count, ++bytes) zeros += static_cast<std::uint32_t>(std::popcount(std::uint8_t(~*bytes)));
    return zeros <= limit;
}

void Zero_Positions(std::uint32_t offset, const std::uint8_t* bytes, std::uint32_t count,
                    std::vector<std::uint32_t>& positions) {
    for (std::uint32_t i = 0; i < count; ++i)
        for (std::uint32_t bit = 0; bit < 8; ++bit)
            if (!(bytes[i] >> bit & 1)) positions.push_back((offset + i) * 8 + bit);
}

}  // namespace

Page_Codec::Page_Codec(const Ecc_Layout& layout, std::uint32_t data_bytes, std::uint32_t spare_bytes)
    : layout_(layout), places_(Lay_Out(layout, data_bytes, spare_bytes)), code_(Make_Code(layout)) {}

Page_Codec::~Page_Codec() = default;
Page_Codec::Page_Codec(Page_Codec&&) noexcept = default;
Page_Codec& Page_Codec::operator=(Page_Codec&&) noexcept = default;

const Ecc_Layout& Page_Codec::Layout() const { return layout_; }
const Page_Layout& Page_Codec::Places() const { return places_; }
std::uint32_t Page_Codec::Correctable_Bits() const { return code_->Correctable_Bits(); }

void Page_Codec::Encode_Page(std::uint8_t* page) const {
    for (const Codeword_Place& place : places_.codewords) code_->Encode(Bytes_Of(page, place));
}

std::uint32_t Page_Codec::Check_Page(std::uint8_t* page, bool mend, std::vector<Codeword_Report>& reports) const {
    const std::uint32_t t = code_->Correctable_Bits();
    std::vector<Bit_Flip> flips;
    for (std::uint32_t index = 0; index < places_.codewords.size(); ++index) {
        const Codeword_Place& place = places_.codewords[index];
        const Codeword_Bytes bytes = Bytes_Of(page, place);
        Codeword_Report report;
        report.codeword = index;
        if (code_->Check(bytes, nullptr) == Check_Outcome::Clean) {
            // A clean codeword is erased only when it is all 0xFF; the ECC bytes tell first.
            if (!All_Ones(bytes.ecc, bytes.ecc_bytes) || !All_Ones(bytes.data, bytes.data_bytes) ||
                !All_Ones(bytes.cover, bytes.cover_bytes))
                continue;
            report.status = Codeword_Status::Erased;
            reports.push_back(std::move(report));
            continue;
        }
        std::uint32_t zeros = 0;
        if (Few_Zeros(bytes.data, bytes.data_bytes, t, zeros) && Few_Zeros(bytes.cover, bytes.cover_bytes, t, zeros) &&
            Few_Zeros(bytes.ecc, bytes.ecc_bytes, t, zeros)) {
            // An erased codeword with a few bits fallen to 0: not data to correct.
            report.status = Codeword_Status::Erased;
            report.bits = zeros;
            Zero_Positions(place.data_offset, bytes.data, bytes.data_bytes, report.page_bits);
            Zero_Positions(place.cover_offset, bytes.cover, bytes.cover_bytes, report.page_bits);
            Zero_Positions(place.ecc_offset, bytes.ecc, bytes.ecc_bytes, report.page_bits);
            std::sort(report.page_bits.begin(), report.page_bits.end());
            if (mend) {
                std::memset(bytes.data, 0xff, bytes.data_bytes);
                std::memset(bytes.cover, 0xff, bytes.cover_bytes);
                std::memset(bytes.ecc, 0xff, bytes.ecc_bytes);
            }
            reports.push_back(std::move(report));
            continue;
        }
        flips.clear();
        if (code_->Check(bytes, &flips) == Check_Outcome::Corrected) {
            report.status = Codeword_Status::Corrected;
            report.bits = static_cast<std::uint32_t>(flips.size());
            for (const Bit_Flip& flip : flips) {
                std::uint32_t offset = 0;
                switch (flip.part) {
                case Codeword_Part::Data: offset = place.data_offset; break;
                case Codeword_Part::Cover: offset = place.cover_offset; break;
                case Codeword_Part::Ecc: offset = place.ecc_offset; break;
                }
                report.page_bits.push_back((offset + flip.byte) * 8 + flip.bit);
                if (mend) page[offset + flip.byte] ^= static_cast<std::uint8_t>(1u << flip.bit);
            }
            std::sort(report.page_bits.begin(), report.page_bits.end());
        } else {
            report.status = Codeword_Status::Uncorrectable;
        }
        reports.push_back(std::move(report));
    }
    return static_cast<std::uint32_t>(places_.codewords.size());
}

}  // namespace Korvane_Ecc
