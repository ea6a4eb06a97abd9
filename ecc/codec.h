// Checking and mending whole pages under one ECC layout, and the search that
// finds the layout from a dump's own pages.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ecc/layout.h"

namespace Korvane_Ecc {

enum class Codeword_Status { Clean, Corrected, Uncorrectable, Erased };

struct Codeword_Report {
    std::uint32_t codeword = 0;              // index in the page
    Codeword_Status status = Codeword_Status::Clean;
    std::uint32_t bits = 0;                  // flipped bits the decoder found (ECC bytes included); erased: 0 bits vs 0xFF
    std::vector<std::uint32_t> page_bits;    // each flip as (byte offset in the page) * 8 + bit, bit 0 = least significant
};

class Codeword_Code;

// A code built once for a layout and a page geometry (tables, masks), then used for every page,
// from any number of threads at once (const).
class Page_Codec {
public:
    Page_Codec(const Ecc_Layout& layout, std::uint32_t data_bytes, std::uint32_t spare_bytes);
    ~Page_Codec();
    Page_Codec(Page_Codec&&) noexcept;
    Page_Codec& operator=(Page_Codec&&) noexcept;

    const Ecc_Layout& Layout() const;
    const Page_Layout& Places() const;
    std::uint32_t Correctable_Bits() const;  // t (1 for Hamming)

    // Writes the stored ECC (mask, bit variants, order applied) of every codeword into `page`.
    void Encode_Page(std::uint8_t* page) const;

    // Checks every codeword of `page`; appends a report for each codeword that is not Clean.
    // With `mend`, corrected codewords are corrected in place (data, cover and ECC bytes); an
    // erased codeword (all 0xFF but for <= t bits, no flips included) is reported Erased with its flips
    // and, with `mend`, set back to 0xFF. Uncorrectable ones are left as they are, with no bits.
    // Bit positions come sorted. Returns the number of codewords.
    std::uint32_t Check_Page(std::uint8_t* page, bool mend, std::vector<Codeword_Report>& reports) const;

private:
    Ecc_Layout layout_;
    Page_Layout places_;
    std::unique_ptr<Codeword_Code> code_;
};

// The search: sampled non-erased pages of one dump -> the layout at least 99% of whose
// sampled codewords decode within t; Linux defaults first, then every code the spare can hold.
struct Search_Result {
    bool found = false;
    Ecc_Layout layout;  double share = 0;        // share of sampled codewords within t, 0..1
    bool has_runner_up = false;
    Ecc_Layout runner_up;  double runner_up_share = 0;
    std::vector<std::wstring> tried;             // what was tried, short lines for the "nothing fits" message
};
Search_Result Find_Layout(const std::vector<std::vector<std::uint8_t>>& pages, std::uint32_t data_bytes,
                          std::uint32_t spare_bytes, unsigned threads);

}  // namespace Korvane_Ecc
