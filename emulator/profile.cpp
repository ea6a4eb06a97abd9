#include "emulator/profile.h"

#include <atomic>
#include <bit>
#include <chrono>
#include <random>

#include "framework/values.h"
#include "reader/power.h"

namespace Korvane_Emulator {

namespace {

namespace KI = Korvane_Internal;

[[noreturn]] void Bad_Key(const std::wstring& key, const std::wstring& value) {
    throw ZEKT_Exception(L"Wrong emulator key <" + key + L"> value <" + value + L">");
}

bool Flag(const std::wstring& key, const std::wstring& value) {
    if (value == L"true") return true;
    if (value == L"false") return false;
    Bad_Key(key, value);
}

std::uint64_t Number(const std::wstring& key, const std::wstring& value) {
    try {
        return To_Unsigned(Trim(value, L' '));
    } catch (const ZEKT_Exception&) {
        Bad_Key(key, value);
    }
}

std::uint64_t Hex_Number(const std::wstring& key, const std::wstring& text, const std::wstring& value) {
    try {
        return To_Unsigned(L"0x" + text);
    } catch (const ZEKT_Exception&) {
        Bad_Key(key, value);
    }
}

void Read_Data(const std::wstring& key, const std::wstring& value, Page_Source& source) {
    const std::wstring text = Trim(value, L' ');
    if (text == L"erased") {
        source.kind = Page_Source::Kind::Erased;
    } else if (text.rfind(L"seed ", 0) == 0) {
        source.kind = Page_Source::Kind::Seeded;
        source.seed = Number(key, text.substr(5));
    } else if (text.rfind(L"file ", 0) == 0 && text.size() > 5) {
        source.kind = Page_Source::Kind::File;
        source.file = Trim(text.substr(5), L' ');
    } else {
        Bad_Key(key, value);
    }
}

// "2-3": the numbers 2 and 3 (from `first` up to the array's size) marked.
template <std::size_t N>
void Read_Numbers(const std::wstring& key, const std::wstring& value, std::array<bool, N>& marked,
                  std::uint64_t first = 1) {
    marked = {};
    for (const std::wstring& piece : Split(value, L"-")) {
        const std::uint64_t number = Number(key, piece);
        if (number < first || number >= N + first) Bad_Key(key, value);
        marked[number - first] = true;
    }
}

// "ac=0f 189=01": register keys and the values they must hold.
std::vector<std::pair<std::uint32_t, std::uint8_t>> Register_Pairs(const std::wstring& key, const std::wstring& pairs,
                                                                   const std::wstring& value) {
    std::vector<std::pair<std::uint32_t, std::uint8_t>> registers;
    for (const std::wstring& pair : Split(pairs, L" ")) {
        if (pair.empty()) continue;
        const std::vector<std::wstring> parts = Split(pair, L"=");
        if (parts.size() != 2 || parts[0].empty() || parts[1].empty()) Bad_Key(key, value);
        const std::uint64_t register_key = Hex_Number(key, parts[0], value);
        const std::uint64_t register_value = Hex_Number(key, parts[1], value);
        if (register_value > 0xFF || register_key > 0xFFFFFFFFu) Bad_Key(key, value);
        registers.emplace_back(static_cast<std::uint32_t>(register_key), static_cast<std::uint8_t>(register_value));
    }
    return registers;
}

// Differs for every model made, in this process and in any other, so that
// a flaky page reads differently in a second program run too.
std::uint64_t Flip_Nonce() {
    static std::atomic<std::uint64_t> next{
        (std::uint64_t{std::random_device{}()} << 32) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())};
    return next.fetch_add(0x9E3779B97F4A7C15ull);
}

}  // namespace

const std::vector<std::wstring>& Sim_Keys() {
    static const std::vector<std::wstring> keys = {L"Sim Data",       L"Sim ONFI",           L"Sim Unplug After",
                                                   L"Sim Dead CE",    L"Sim Retry Clean",    L"Sim Retry Pages",
                                                   L"Sim Adapter",
                                                   L"Sim Voltage Offset", L"Sim Module",     L"Sim Self-Test",
                                                   L"Sim ONFI Damage", L"Sim Flaky Pages", L"Sim Weak Line"};
    return keys;
}

void Apply_Sim_Keys(const ZEKT_Sections& sections, Sim_Options& sim) {
    for (const ZEKT_Section& section : sections.sections) {
        if (section.comment || section.name.rfind(L"Sim ", 0) != 0) continue;
        const std::wstring& key = section.name;
        const std::wstring value = Trim(section.text, L' ');
        if (key == L"Sim Data") {
            Read_Data(key, value, sim.source);
        } else if (key == L"Sim ONFI") {
            const bool file = value.rfind(L"file ", 0) == 0 && !Trim(value.substr(5), L' ').empty();
            sim.onfi = file || Flag(key, value);
            sim.onfi_file = file ? Trim(value.substr(5), L' ') : L"";
        } else if (key == L"Sim Unplug After") {
            sim.unplug_after = Number(key, value);
        } else if (key == L"Sim Dead CE") {
            Read_Numbers(key, value, sim.dead_lines);
        } else if (key == L"Sim ONFI Damage") {
            Read_Numbers(key, value, sim.onfi_damage);
        } else if (key == L"Sim Weak Line") {
            Read_Numbers(key, value, sim.weak_lines, 0);
        } else if (key == L"Sim Flaky Pages") {
            const std::uint64_t per_million = Number(key, value);
            if (per_million > 1000000) Bad_Key(key, value);
            sim.flaky_per_million = static_cast<std::uint32_t>(per_million);
        } else if (key == L"Sim Retry Clean") {
            sim.clean_registers = Register_Pairs(key, value, value);
        } else if (key == L"Sim Retry Pages") {
            // The share first, then the register pairs that read those pages clean.
            const std::size_t blank = value.find(L' ');
            const std::uint64_t per_million = Number(key, value.substr(0, blank));
            if (per_million > 1000000) Bad_Key(key, value);
            sim.retry_pages_per_million = static_cast<std::uint32_t>(per_million);
            std::wstring pairs = blank == std::wstring::npos ? L"" : value.substr(blank + 1);
            // A last token such as "1.75V": the only supply voltage those pages read clean at.
            sim.retry_page_voltage = 0;
            const std::size_t last = pairs.rfind(L' ') == std::wstring::npos ? 0 : pairs.rfind(L' ') + 1;
            if (!pairs.empty() && pairs.back() == L'V') {
                try {
                    sim.retry_page_voltage = KI::Power::Parse_Voltage(pairs.substr(last, pairs.size() - last - 1));
                } catch (const ZEKT_Exception&) {
                    Bad_Key(key, value);
                }
                if (sim.retry_page_voltage == 0) Bad_Key(key, value);
                pairs.erase(last);
            }
            sim.retry_page_registers = Register_Pairs(key, pairs, value);
        } else if (key == L"Sim Adapter") {
            sim.adapter = Flag(key, value);
        } else if (key == L"Sim Voltage Offset") {
            // The magnitude is checked, not the signed result: "-0xFFFFFFFFFFFFFFFF" would wrap to 1.
            const bool negative = value.rfind(L'-', 0) == 0;
            std::uint64_t magnitude = 0;
            try {
                magnitude = To_Unsigned(negative ? value.substr(1) : value);
            } catch (const ZEKT_Exception&) {
                Bad_Key(key, value);
            }
            if (magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu)) Bad_Key(key, value);
            sim.voltage_offset = static_cast<std::int32_t>(negative ? 0 - magnitude : magnitude);
        } else if (key == L"Sim Module") {
            sim.module = Flag(key, value);
        } else if (key == L"Sim Self-Test") {
            if (value != L"good" && value != L"corrupt") Bad_Key(key, value);
            sim.self_test_corrupt = value == L"corrupt";
        } else {
            throw ZEKT_Exception(L"Unknown emulator key <" + key + L">");
        }
    }
}

Sim_Profile Parse_Profile(const std::wstring& text, const std::wstring& origin) {
    const ZEKT_Sections sections(text);
    Sim_Profile profile;
    profile.origin = origin;
    // Every configuration key is optional in a profile.
    ZEKT_Property_List list;
    profile.config.Describe(list);
    for (const auto& property : list)
        if (const ZEKT_Section* section = sections.Find(property->name)) property->From_Text(section->text);
    profile.config.After_Import(nullptr, nullptr);
    Apply_Sim_Keys(sections, profile.sim);
    return profile;
}

Sim_Profile Profile_From_Config(const NAND_Config& config, const std::wstring& origin) {
    Sim_Profile profile;
    profile.origin = origin;
    profile.config = config;
    return profile;
}

Chip_Model Make_Chip_Model(const Sim_Profile& profile) {
    const NAND_Config& config = profile.config;
    Chip_Model model;
    for (const std::wstring& token : Split(config.ID_Code, L" ")) {
        if (token.empty()) continue;
        // "*" matches any byte in a configuration; the modelled chip answers 00.
        std::uint64_t value = 0;
        if (token != L"*") {
            try {
                value = To_Unsigned(L"0x" + token);
            } catch (const ZEKT_Exception&) {
                throw ZEKT_Exception(L"Wrong emulator ID code <" + config.ID_Code + L">");
            }
        }
        model.id.push_back(static_cast<std::uint8_t>(value));
    }
    model.page_bytes = config.Page;
    model.column_cycles = config.Col & 0xFF;
    model.row_cycles = config.Row & 0xFF;
    model.pages_per_row = config.Is_Triple_Page() ? 3 : 1;
    model.source = profile.sim.source;
    model.clean_registers = profile.sim.clean_registers;
    model.retry_pages_per_million = profile.sim.retry_pages_per_million;
    model.retry_page_registers = profile.sim.retry_page_registers;
    model.retry_page_voltage = profile.sim.retry_page_voltage;
    model.onfi = profile.sim.onfi;
    model.onfi_damage = profile.sim.onfi_damage;
    model.flaky_per_million = profile.sim.flaky_per_million;
    model.flip_nonce = Flip_Nonce();
    model.weak_lines = profile.sim.weak_lines;
    model.wide_bus = config.Bus == L"16";

    Onfi_Geometry geometry;
    geometry.manufacturer = To_UTF8(config.Company);
    geometry.model = To_UTF8(config.Name);
    geometry.jedec_id = model.id.empty() ? 0 : model.id[0];
    // The data area is the largest power of two in the page; the rest is spare.
    geometry.data_bytes = config.Page ? std::bit_floor(config.Page) : 0;
    geometry.spare_bytes = static_cast<std::uint16_t>(config.Page - geometry.data_bytes);
    geometry.pages_per_block = config.Block && config.Page ? config.Block / config.Page : 64;
    if (config.Blocks) {
        geometry.blocks_per_lun = config.Blocks;
    } else {
        std::uint64_t dump = 0;
        try {
            dump = config.Get_Bank_Dump_Size();
        } catch (const ZEKT_Exception&) {
        }
        const std::uint64_t block_bytes = std::uint64_t{geometry.pages_per_block} * config.Page;
        geometry.blocks_per_lun = block_bytes ? static_cast<std::uint32_t>(dump / block_bytes) : 0;
    }
    geometry.column_cycles = static_cast<std::uint8_t>(model.column_cycles);
    geometry.row_cycles = static_cast<std::uint8_t>(model.row_cycles);
    geometry.bits_per_cell = model.pages_per_row == 3 ? 3 : (config.Page <= 4320 ? 1 : 2);
    geometry.wide_bus = config.Bus == L"16";
    if (profile.sim.onfi_file.empty()) {
        model.onfi_copies = Onfi_Copies(Make_Onfi_Page(geometry));
    } else {
        // A captured JEDEC page makes a toggle-mode chip: no ONFI page at all.
        Captured_Page captured = Parameter_Copies_From_File(profile.sim.onfi_file);
        if (captured.jedec)
            model.jedec_copies = std::move(captured.copies);
        else
            model.onfi_copies = std::move(captured.copies);
    }

    // The die decodes as many row bits as its last row needs: the rows of
    // its bank through the skip rules. Without a size it decodes them all.
    try {
        const std::uint64_t unit = std::uint64_t{config.Page} * model.pages_per_row;
        const std::uint64_t units = unit ? (config.Get_Bank_Dump_Size() + unit - 1) / unit : 0;
        if (units) {
            const auto last_row = static_cast<std::uint64_t>(config.Get_Real_Page(static_cast<std::int64_t>(units) - 1));
            if (last_row < 0xFFFFFFFFu) model.row_mask = static_cast<std::uint32_t>(std::bit_ceil(last_row + 1) - 1);
        }
    } catch (const ZEKT_Exception&) {
    }
    return model;
}

}  // namespace Korvane_Emulator
