// Arbitrary bytes as a settings text, as a text file, and back through the
// writer: nothing may crash, and text that was written must read back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "framework/errors.h"
#include "framework/properties.h"
#include "framework/values.h"

namespace {

std::wstring Wide_Of(const std::uint8_t* data, std::size_t size) {
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return From_UTF16(units);
}

const std::wstring& Scratch_File() {
    static const std::wstring name = From_UTF8("/tmp/korvane-fuzz-" + std::to_string(getpid()) + ".txt");
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = Wide_Of(data, size);
    try {
        ZEKT_Sections sections(text);
        for (const ZEKT_Section& section : sections.sections) sections.Find(section.name);
        // A parsed document written in either layout parses again.
        const std::wstring stacked = sections.To_Text();
        ZEKT_Sections again(stacked);
        sections.Aligned = true;
        ZEKT_Sections aligned(sections.To_Text());
        (void)again;
        (void)aligned;
    } catch (const ZEKT_Exception&) {
    }

    // The raw bytes as a file on disk, read both ways.
    if (std::FILE* file = std::fopen(To_UTF8(Scratch_File()).c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    try {
        ZEKT_Sections sections(Read_Text_File(Scratch_File()));
        (void)sections;
    } catch (const ZEKT_Exception&) {
    }
    try {
        Read_Unicode_File(Scratch_File());
    } catch (const ZEKT_Exception&) {
    }
    try {
        To_Unsigned(text);
        To_Signed(text);
    } catch (const ZEKT_Exception&) {
    }
    return 0;
}
