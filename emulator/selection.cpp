#include "emulator/selection.h"

#include <cstdlib>

#include "config/catalogue/chip_lookup.h"
#include "framework/media.h"
#include "framework/properties.h"
#include "framework/values.h"

namespace Korvane_Emulator {

Sim_Profile Resolve_Profile(const std::wstring& wanted) {
    if (wanted.empty()) throw ZEKT_Exception(L"Empty emulator profile");
    // A path as given: "prof[1].txt" is that file, and "*" matches nothing.
    if (Path_Exists(wanted) && !Folder_Exists(wanted)) {
        try {
            return Parse_Profile(Read_Text_File(wanted), wanted);
        } catch (const ZEKT_Exception& e) {
            throw ZEKT_Exception(L"Emulator profile <" + wanted + L">: " + e.message);
        }
    }
    if (const std::optional<NAND_Config> row = Find_Catalogue_Chip(wanted)) return Profile_From_Config(*row, wanted);
    throw ZEKT_Exception(L"Unknown emulator profile <" + wanted + L">");
}

std::shared_ptr<Virtual_Reader> Select_Profile(const Sim_Profile& profile) {
    auto reader = std::make_shared<Virtual_Reader>(profile);
    Select_Virtual_Reader(reader);
    return reader;
}

std::wstring Simulator_Variable() {
    const char* value = std::getenv("KORVANE_SIMULATOR");
    if (!value) return {};
    // Replaced bytes would name another profile file: refused, as arguments are.
    if (!Is_Code_Page_Text(value, 0)) {
        std::wstring shown;
        for (const char* c = value; *c; ++c) Append_Format(shown, L"\\x%02x", static_cast<unsigned>(static_cast<unsigned char>(*c)));
        throw ZEKT_Exception(L"KORVANE_SIMULATOR is not text of this system <" + shown + L">");
    }
    return From_Code_Page(value, 0);
}

std::shared_ptr<Virtual_Reader> Select_From_Environment() {
    const std::wstring wanted = Simulator_Variable();
    if (wanted.empty()) return nullptr;
    return Select_Profile(Resolve_Profile(wanted));
}

}  // namespace Korvane_Emulator
