// Arbitrary bytes as a settings text, as the bytes of a text file, and back
// through the writer: nothing may crash, text that was written must read
// back, and what the program would show or store of it (a failure's line,
// an exported text) holds no character that must be escaped.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/errors.h"
#include "framework/properties.h"
#include "framework/values.h"
#include "shown_text.h"

namespace {

std::wstring Wide_Of(const std::uint8_t* data, std::size_t size) {
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return From_UTF16(units);
}

void Parse_And_Write(const std::wstring& text) {
    try {
        ZEKT_Sections sections(text);
        // Section lookup is linear: a few names show it, all would make a
        // long input quadratic.
        for (std::size_t i = 0; i < sections.sections.size() && i < 8; ++i) sections.Find(sections.sections[i].name);
        // A parsed document written in either layout parses again.
        const std::wstring stacked = sections.To_Text();
        ZEKT_Sections again(stacked);
        sections.Aligned = true;
        const std::wstring aligned = sections.To_Text();
        ZEKT_Sections aligned_again(aligned);
        // What `config` prints and Chip.txt stores of it.
        Check_Shown(Visible_Text(aligned, true), true);
    } catch (const ZEKT_Exception&) {
        Check_Reported();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Parse_And_Write(Wide_Of(data, size));
    // The raw bytes as a text file's content: with FF FE as UTF-16, else as
    // the system's code page.
    try {
        ZEKT_Sections sections(Text_Of_File_Bytes(std::vector<unsigned char>(data, data + size)));
    } catch (const ZEKT_Exception&) {
        Check_Reported();
    }
    const std::wstring text = Wide_Of(data, size);
    try {
        To_Unsigned(text);
        To_Signed(text);
    } catch (const ZEKT_Exception&) {
        Check_Reported();
    }
    return 0;
}
