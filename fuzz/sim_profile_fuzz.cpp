// Arbitrary text as an emulator profile (the configuration keys and the
// "Sim ..." keys), made into a chip model and asked, without the link, for
// its ID, its parameter page and a page: errors are fine, crashes and
// undefined behaviour are not.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shown_text.h"
#include "emulator/nand_chip.h"
#include "emulator/profile.h"
#include "framework/errors.h"
#include "framework/values.h"

namespace {

namespace KE = Korvane_Emulator;

void Ask_Chip(const KE::Chip_Model& made) {
    auto model = std::make_shared<KE::Chip_Model>(made);
    // Arbitrary paths stay out of reach; the file source is read by its own tests.
    if (model->source.kind == KE::Page_Source::Kind::File) model->source.kind = KE::Page_Source::Kind::Erased;
    KE::Nand_Chip chip(model, true);
    std::vector<std::uint8_t> out(1024);
    chip.Command(0x90);
    chip.Address(0x00);
    chip.Output(out.data(), 8, 1);
    chip.Command(0xEC);
    chip.Address(0x00);
    chip.Output(out.data(), 768, 1);
    // A page load at row 5, read from its start and across its end.
    chip.Command(0x00);
    for (std::uint32_t i = 0; i < model->column_cycles; ++i) chip.Address(0x00);
    for (std::uint32_t i = 0; i < model->row_cycles; ++i) chip.Address(i == 0 ? 5 : 0);
    chip.Command(0x30);
    chip.Output(out.data(), out.size(), 1);
    chip.Output(out.data(), out.size(), 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = From_UTF8(std::string(reinterpret_cast<const char*>(data), size));
    try {
        Ask_Chip(KE::Make_Chip_Model(KE::Parse_Profile(text, L"fuzz")));
    } catch (const ZEKT_Exception&) {
        Check_Reported();
    }
    return 0;
}
