// ECC layouts: which code protects a page, where each codeword's data,
// covered spare bytes and ECC bytes lie, and the one-line text form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Korvane_Ecc {

enum class Code_Kind { Hamming, Bch };
enum class Ecc_Place { End, Interleaved };            // "ecc=end" | "ecc=interleaved"
enum class Hamming_Order { Linux, Smartmedia };       // "order=linux" | "order=smartmedia"
enum class Bit_Variant { Plain, Swap, Ecc_Reversed }; // (none) | "bits=swap" | "bits=ecc-reversed"

struct Ecc_Layout {
    Code_Kind code = Code_Kind::Bch;
    std::uint32_t step_bytes = 512;      // data bytes per codeword: 256/512 (Hamming), 512/1024 (BCH)
    std::uint32_t m = 13, t = 4;         // BCH only
    std::uint32_t poly = 0x201b;         // BCH primitive polynomial, with its x^m term
    Ecc_Place place = Ecc_Place::End;
    Hamming_Order order = Hamming_Order::Linux;
    Bit_Variant bits = Bit_Variant::Plain;
    std::uint32_t cover_bytes = 0;       // spare bytes covered by each codeword's ECC ("cover=N")
    std::uint32_t Ecc_Bytes() const;     // per codeword: 3 for Hamming, ceil(m*t/8) for BCH

    bool operator==(const Ecc_Layout&) const = default;
};

// The primitive polynomial Linux software BCH uses for GF(2^m), 5 <= m <= 16.
std::uint32_t Default_Polynomial(std::uint32_t m);

// "bch step=512 m=13 t=4 poly=0x201b ecc=end", "hamming step=256 ecc=end order=linux",
// optional " bits=swap" / " bits=ecc-reversed" / " cover=N". Parse_Layout throws
// ZEKT_Exception_DataCorrupt with one line naming the bad word, e.g. "Unknown ECC layout word <x=1>".
Ecc_Layout Parse_Layout(const std::wstring& text);
std::wstring Layout_Text(const Ecc_Layout& layout);   // the canonical line; Parse_Layout(Layout_Text(x)) == x

// Where one codeword lies in a page (offsets from the page start: data area then spare area).
struct Codeword_Place {
    std::uint32_t data_offset = 0, data_bytes = 0;
    std::uint32_t cover_offset = 0, cover_bytes = 0;
    std::uint32_t ecc_offset = 0, ecc_bytes = 0;
};
struct Page_Layout {
    std::vector<Codeword_Place> codewords;   // data_bytes / step_bytes of them
    std::uint32_t bad_block_offset = 0;      // the bad-block marker byte's offset in the page
};
// ecc=end: ECC of step i at spare offset S - n*E + i*E; covered bytes just before the ECC area; marker at spare 0 (and 1).
// ecc=interleaved: data0 ECC0 data1 ECC1 ... across the whole page (page = data+spare), free spare at the end;
// marker: the first byte after the last ECC. Throws ZEKT_Exception_DataCorrupt when the layout does not fit
// ("ECC layout <...> needs <N> spare bytes, the page has <S>").
Page_Layout Lay_Out(const Ecc_Layout& layout, std::uint32_t data_bytes, std::uint32_t spare_bytes);

}  // namespace Korvane_Ecc
