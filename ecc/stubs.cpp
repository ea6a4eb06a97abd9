// Placeholder bodies until the codes land; every call refuses.
#include "ecc/codec.h"
#include "framework/errors.h"

namespace Korvane_Ecc {

class Codeword_Code {};

namespace {
[[noreturn]] void Not_Yet() { throw ZEKT_Exception_UnSupported(L"ECC codes are not built yet"); }
}

std::uint32_t Ecc_Layout::Ecc_Bytes() const { return code == Code_Kind::Hamming ? 3 : (m * t + 7) / 8; }
std::uint32_t Default_Polynomial(std::uint32_t) { Not_Yet(); }
Ecc_Layout Parse_Layout(const std::wstring&) { Not_Yet(); }
std::wstring Layout_Text(const Ecc_Layout&) { Not_Yet(); }
Page_Layout Lay_Out(const Ecc_Layout&, std::uint32_t, std::uint32_t) { Not_Yet(); }

Page_Codec::Page_Codec(const Ecc_Layout&, std::uint32_t, std::uint32_t) { Not_Yet(); }
Page_Codec::~Page_Codec() = default;
Page_Codec::Page_Codec(Page_Codec&&) noexcept = default;
Page_Codec& Page_Codec::operator=(Page_Codec&&) noexcept = default;
const Ecc_Layout& Page_Codec::Layout() const { return layout_; }
const Page_Layout& Page_Codec::Places() const { return places_; }
std::uint32_t Page_Codec::Correctable_Bits() const { Not_Yet(); }
void Page_Codec::Encode_Page(std::uint8_t*) const { Not_Yet(); }
std::uint32_t Page_Codec::Check_Page(std::uint8_t*, bool, std::vector<Codeword_Report>&) const { Not_Yet(); }

Search_Result Find_Layout(const std::vector<std::vector<std::uint8_t>>&, std::uint32_t, std::uint32_t, unsigned) {
    Not_Yet();
}

}  // namespace Korvane_Ecc
