#include "ecc/layout.h"

#include <iterator>
#include <sstream>

#include "ecc/galois.h"
#include "framework/errors.h"

namespace Korvane_Ecc {

std::uint32_t Ecc_Layout::Ecc_Bytes() const {
    switch (code) {
    case Code_Kind::Hamming: return 3;
    case Code_Kind::Bch: return (m * t + 7) / 8;
    }
    return 0;
}

std::uint32_t Default_Polynomial(std::uint32_t m) {
    // Linux software BCH's defaults for m = 5..15; for m = 16 x^16 + x^12 + x^3 + x + 1.
    static constexpr std::uint32_t defaults[] = {0x25,  0x43,   0x83,   0x11d,  0x211,  0x409,
                                                 0x805, 0x1053, 0x201b, 0x402b, 0x8003, 0x1100b};
    if (m < 5 || m > 16) throw ZEKT_Exception_DataCorrupt(Format(L"No BCH code with m <%u>", m));
    return defaults[m - 5];
}

namespace {

const wchar_t* Place_Word(Ecc_Place place) {
    switch (place) {
    case Ecc_Place::End: return L"end";
    case Ecc_Place::Interleaved: return L"interleaved";
    }
    return L"";
}

const wchar_t* Order_Word(Hamming_Order order) {
    switch (order) {
    case Hamming_Order::Linux: return L"linux";
    case Hamming_Order::Smartmedia: return L"smartmedia";
    }
    return L"";
}

const wchar_t* Bits_Word(Bit_Variant bits) {
    switch (bits) {
    case Bit_Variant::Plain: return L"";
    case Bit_Variant::Swap: return L" bits=swap";
    case Bit_Variant::Ecc_Reversed: return L" bits=ecc-reversed";
    }
    return L"";
}

// A decimal (or with "0x" hexadecimal) number of at most 8 digits; false otherwise.
bool Read_Number(const std::wstring& text, std::uint32_t& value) {
    const bool hex = text.size() > 2 && text[0] == L'0' && text[1] == L'x';
    const std::wstring digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 8) return false;
    value = 0;
    for (const wchar_t c : digits) {
        const int digit = c >= L'0' && c <= L'9' ? c - L'0' : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10 : -1;
        if (digit < 0) return false;
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    return true;
}

}  // namespace

std::wstring Layout_Text(const Ecc_Layout& layout) {
    std::wstring text;
    switch (layout.code) {
    case Code_Kind::Hamming:
        text = Format(L"hamming step=%u ecc=%s order=%s", layout.step_bytes, Place_Word(layout.place),
                      Order_Word(layout.order));
        break;
    case Code_Kind::Bch:
        text = Format(L"bch step=%u m=%u t=%u poly=0x%x ecc=%s%s", layout.step_bytes, layout.m, layout.t, layout.poly,
                      Place_Word(layout.place), Bits_Word(layout.bits));
        break;
    }
    if (layout.cover_bytes) text += Format(L" cover=%u", layout.cover_bytes);
    return text;
}

Ecc_Layout Parse_Layout(const std::wstring& text) {
    std::wistringstream stream(text);
    const std::vector<std::wstring> words{std::istream_iterator<std::wstring, wchar_t>(stream), {}};
    Ecc_Layout layout;
    if (words.empty() || (words[0] != L"bch" && words[0] != L"hamming"))
        throw ZEKT_Exception_DataCorrupt(L"Unknown ECC code <" + (words.empty() ? L"" : words[0]) + L">");
    const bool bch = words[0] == L"bch";
    layout.code = bch ? Code_Kind::Bch : Code_Kind::Hamming;
    layout.step_bytes = bch ? 512 : 256;
    // Keys in the order of the canonical line; each may appear once.
    static const wchar_t* const keys[] = {L"step", L"m", L"t", L"poly", L"ecc", L"order", L"bits", L"cover"};
    static constexpr bool for_bch[] = {true, true, true, true, true, false, true, true};
    static constexpr bool for_hamming[] = {true, false, false, false, true, true, false, false};
    bool seen[std::size(keys)] = {};
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        const auto equals = word.find(L'=');
        std::size_t key = std::size(keys);
        for (std::size_t k = 0; k < std::size(keys) && equals != std::wstring::npos; ++k)
            if (word.compare(0, equals, keys[k]) == 0) key = k;
        if (key == std::size(keys)) throw ZEKT_Exception_DataCorrupt(L"Unknown ECC layout word <" + word + L">");
        if (!(bch ? for_bch : for_hamming)[key])
            throw ZEKT_Exception_DataCorrupt(L"ECC layout word <" + word + L"> does not apply to <" + words[0] + L">");
        if (seen[key]) throw ZEKT_Exception_DataCorrupt(L"Repeated ECC layout word <" + word + L">");
        seen[key] = true;
        const std::wstring value = word.substr(equals + 1);
        std::uint32_t number = 0;
        const bool is_number = Read_Number(value, number);
        bool good = true;
        switch (key) {
        case 0:
            good = is_number && (bch ? number == 512 || number == 1024 : number == 256 || number == 512);
            layout.step_bytes = number;
            break;
        case 1: good = is_number && number >= 5 && number <= 16; layout.m = number; break;
        case 2: good = is_number && number >= 1 && number <= 64; layout.t = number; break;
        case 3: good = is_number && value.starts_with(L"0x"); layout.poly = number; break;
        case 4:
            good = value == L"end" || value == L"interleaved";
            layout.place = value == L"end" ? Ecc_Place::End : Ecc_Place::Interleaved;
            break;
        case 5:
            good = value == L"linux" || value == L"smartmedia";
            layout.order = value == L"linux" ? Hamming_Order::Linux : Hamming_Order::Smartmedia;
            break;
        case 6:
            good = value == L"swap" || value == L"ecc-reversed";
            layout.bits = value == L"swap" ? Bit_Variant::Swap : Bit_Variant::Ecc_Reversed;
            break;
        case 7: good = is_number && number <= 1024; layout.cover_bytes = number; break;
        }
        if (!good) throw ZEKT_Exception_DataCorrupt(L"Wrong ECC layout value <" + word + L">");
    }
    if (bch) {
        if (!seen[2]) throw ZEKT_Exception_DataCorrupt(L"Missing ECC layout word <t>");
        // Linux picks the smallest field whose codewords hold a step: 512 -> 13, 1024 -> 14.
        if (!seen[1]) layout.m = layout.step_bytes == 1024 ? 14 : 13;
        if (!seen[3]) layout.poly = Default_Polynomial(layout.m);
        if (!Is_Primitive(layout.poly, layout.m))
            throw ZEKT_Exception_DataCorrupt(
                Format(L"ECC polynomial <0x%x> is not primitive of degree <%u>", layout.poly, layout.m));
    }
    return layout;
}

Page_Layout Lay_Out(const Ecc_Layout& layout, std::uint32_t data_bytes, std::uint32_t spare_bytes) {
    if (!layout.step_bytes || data_bytes % layout.step_bytes || !data_bytes)
        throw ZEKT_Exception_DataCorrupt(
            Format(L"ECC step of <%u> bytes does not divide a page of <%u> data bytes", layout.step_bytes, data_bytes));
    const std::uint32_t steps = data_bytes / layout.step_bytes, ecc = layout.Ecc_Bytes(),
                        cover = layout.cover_bytes;
    Page_Layout page;
    std::uint64_t spare_needed = 0;
    switch (layout.place) {
    case Ecc_Place::End:
        // The bad-block marker keeps spare bytes 0 and 1; covered bytes, then all ECC, at the end.
        spare_needed = 2 + std::uint64_t(steps) * (ecc + cover);
        if (spare_needed > spare_bytes) break;
        for (std::uint32_t i = 0; i < steps; ++i)
            page.codewords.push_back({i * layout.step_bytes, layout.step_bytes,
                                      data_bytes + spare_bytes - steps * (ecc + cover) + i * cover, cover,
                                      data_bytes + spare_bytes - steps * ecc + i * ecc, ecc});
        page.bad_block_offset = data_bytes;
        break;
    case Ecc_Place::Interleaved: {
        // Steps of data, covered bytes and ECC one after another; the marker follows the last ECC.
        const std::uint32_t chunk = layout.step_bytes + cover + ecc;
        spare_needed = std::uint64_t(steps) * chunk + 1 - data_bytes;
        if (spare_needed > spare_bytes) break;
        for (std::uint32_t i = 0; i < steps; ++i)
            page.codewords.push_back({i * chunk, layout.step_bytes, i * chunk + layout.step_bytes, cover,
                                      i * chunk + layout.step_bytes + cover, ecc});
        page.bad_block_offset = steps * chunk;
        break;
    }
    }
    if (spare_needed > spare_bytes)
        throw ZEKT_Exception_DataCorrupt(Format(L"ECC layout <%s> needs <%I64u> spare bytes, the page has <%u>",
                                                Layout_Text(layout), spare_needed, spare_bytes));
    return page;
}

}  // namespace Korvane_Ecc
