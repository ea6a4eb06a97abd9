#include "dump/ecc_reread.h"

#include <algorithm>
#include <memory>

#include "config/geometry_check.h"
#include "dump/chip_operations.h"
#include "dump/dump_hashes.h"
#include "dump/ecc_pass.h"
#include "dump/undo_file.h"
#include "dump/verify.h"
#include "ecc/codec.h"
#include "framework/media.h"
#include "framework/values.h"
#include "reader/power.h"
#include "reader/retry/retry.h"

namespace Korvane_Exe {

namespace {

namespace KE = Korvane_Ecc;
namespace RR = Korvane_Internal::NAND_Assembler::Read_Retry;

// Each strategy's parameters in order, by the register keys the chip
// stores them under (as "Sim Retry Clean" names them), so that a level
// written as register values becomes the strategy's parameter list.
struct Strategy_Registers {
    const wchar_t* name;
    std::vector<std::uint32_t> keys;
};
const std::vector<Strategy_Registers>& Register_Keys() {
    static const std::vector<Strategy_Registers> table = {
        {L"Micron", {0x189}},
        {L"Micron v2", {0x189, 0x196}},
        {L"Samsung v1", {0x103B1, 0x103B2, 0x103B3, 0x103B4, 0x103B5, 0x103B6, 0x103B7, 0x103B8, 0x10012, 0x103C8,
                         0x103A0, 0x103AB}},
        {L"Samsung v3", {0xA7, 0xA4, 0xA5, 0xA6}},
        {L"Sandisk v1", {0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A}},
        {L"Sandisk v2", {0x21, 0x22, 0x24}},
        {L"Sandisk v3", {0x21200, 0x21201, 0x21202, 0x21203, 0x21300, 0x21301, 0x21302}},
        {L"Hynix v1", {0xAC, 0xAD, 0xAE, 0xAF}},
        {L"Hynix v2", {0x28, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x29}},
        {L"Hynix v3", {0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7}},
        {L"Hynix v4", {0xBF, 0xAA, 0xAB, 0xAD, 0xAE, 0xAF}},
        {L"Hynix v5", {0x03, 0x04, 0x05, 0x06, 0x07}},
        {L"Hynix v6", {0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F}},
        {L"Hynix v7", {0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F}},
    };
    return table;
}

// One way of reading the pages again: the configuration it reads under,
// what the list calls it, its retry level, and the adapter voltage in
// hundredths of a volt (0: as the option "Voltage" sets it).
struct Setting {
    NAND_Config config;
    std::wstring label;
    bool plain = true;
    std::uint32_t level = 0;
    std::uint32_t voltage = 0;
};

// NAND supply classes (the ONFI Vcc ranges 1.7-1.95 V and 2.7-3.6 V) in
// hundredths of a volt, and the power adapter's range and grid: a chip is
// only ever supplied within the class of the voltage it was read at.
struct Supply_Class {
    std::uint32_t low, high;
};
constexpr Supply_Class Supply_Classes[] = {{170, 195}, {270, 360}};
constexpr std::uint32_t Adapter_Low = 120, Adapter_High = 330, Adapter_Step = 5;

// The adapter voltages besides `set` in its supply class, nearest first and
// the lower of two equally near first; none when `set` is in no class.
std::vector<std::uint32_t> Other_Voltages(std::uint32_t set) {
    std::vector<std::uint32_t> voltages;
    for (const Supply_Class& range : Supply_Classes) {
        if (set < range.low || set > range.high) continue;
        const std::uint32_t low = std::max(range.low, Adapter_Low), high = std::min(range.high, Adapter_High);
        for (std::uint32_t v = low; v <= high; v += Adapter_Step)
            if (v != set) voltages.push_back(v);
    }
    auto distance = [&](std::uint32_t v) { return v > set ? v - set : set - v; };
    std::stable_sort(voltages.begin(), voltages.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return distance(a) < distance(b); });
    return voltages;
}

std::wstring Retry_Text(const std::wstring& name, const RR::Register_List& parameters) {
    std::wstring text = name + L"/";
    for (std::size_t i = 0; i < parameters.size(); ++i)
        text += (i ? L" " : L"") + (parameters[i].is_set ? Format(L"%02X", parameters[i].value) : std::wstring(L"--"));
    return text;
}

void Add_Retry_Levels(std::vector<Setting>& settings, const NAND_Config& config, const Ecc_Reread_Choices& choices) {
    std::wstring name;
    RR::Register_List configured;
    RR::Parse_Retry(config.Retry, name, configured);
    auto add = [&](std::uint32_t level, const RR::Register_List& parameters) {
        NAND_Config shifted = config;
        shifted.Retry = Retry_Text(name, parameters);
        settings.push_back({shifted, Format(L"retry level %u (%s)", level, shifted.Retry), false, level});
    };
    if (!choices.levels.empty()) {
        if (name.empty()) throw ZEKT_Exception(L"No retry strategy to set the levels with in Retry <" + config.Retry + L">");
        const auto strategy = std::find_if(Register_Keys().begin(), Register_Keys().end(),
                                           [&](const Strategy_Registers& entry) { return entry.name == name; });
        if (strategy == Register_Keys().end()) throw ZEKT_Exception(L"Unknown Retry type <" + name + L">");
        for (std::size_t level = 0; level < choices.levels.size(); ++level) {
            // Registers a level does not name keep their configured values.
            RR::Register_List parameters = configured;
            for (const auto& [key, value] : choices.levels[level]) {
                const auto at = std::find(strategy->keys.begin(), strategy->keys.end(), key);
                if (at == strategy->keys.end())
                    throw ZEKT_Exception(Format(L"Register <%x> is not a retry register of <%s>", key, name));
                parameters[static_cast<std::size_t>(at - strategy->keys.begin())] = {value, true};
            }
            add(static_cast<std::uint32_t>(level + 1), parameters);
        }
        return;
    }
    if (name.empty()) return;
    const std::unique_ptr<RR::Base> strategy = RR::Create_Retry(name);
    const auto* library = dynamic_cast<const RR::Library*>(strategy.get());
    if (!library) return;
    std::vector<RR::Register_List> sets;
    library->Known_Sets(sets);
    for (std::size_t level = 0; level < sets.size(); ++level) {
        // Micron's read-retry feature has modes 1 to 7 beside the default 0.
        if (name == L"Micron" && (level < 1 || level > 7)) continue;
        if (sets[level] != configured) add(static_cast<std::uint32_t>(level), sets[level]);
    }
}

// Plain reads, then the retry levels, then, on the power adapter, the other
// voltages of the chip's supply class at its configured retry setting.
std::vector<Setting> Settings_Of(const NAND_Config& config, const NAND_Options& options,
                                 const Ecc_Reread_Choices& choices) {
    std::vector<Setting> settings;
    for (std::uint32_t read = 1; read <= choices.plain_reads; ++read)
        settings.push_back({config, Format(L"plain read %u", read), true, 0});
    Add_Retry_Levels(settings, config, choices);
    const std::wstring set = Trim(options.Voltage, L' ');
    if (!set.empty())
        for (const std::uint32_t voltage : Other_Voltages(Korvane_Internal::Power::Parse_Voltage(set)))
            settings.push_back({config, Korvane_Internal::Power::Voltage_Text(voltage) + L" V", false, 0, voltage});
    return settings;
}

bool Within(const std::vector<KE::Codeword_Report>& reports, std::uint32_t above) {
    return std::all_of(reports.begin(), reports.end(), [&](const KE::Codeword_Report& report) {
        return report.status != KE::Codeword_Status::Uncorrectable && report.bits <= above;
    });
}


}  // namespace

std::vector<Retry_Level> Parse_Retry_Levels(const std::wstring& text) {
    std::vector<Retry_Level> levels;
    auto wrong = [&] { return ZEKT_Exception_DataCorrupt(L"Wrong retry levels <" + text + L">"); };
    for (const std::wstring& piece : Split(text, L";")) {
        Retry_Level level;
        for (const std::wstring& pair : Split(piece, L" ")) {
            if (pair.empty()) continue;
            const std::vector<std::wstring> parts = Split(pair, L"=");
            if (parts.size() != 2 || parts[0].empty() || parts[1].empty()) throw wrong();
            std::uint64_t key = 0, value = 0;
            try {
                key = To_Unsigned(L"0x" + parts[0]);
                value = To_Unsigned(L"0x" + parts[1]);
            } catch (const ZEKT_Exception&) {
                throw wrong();
            }
            if (key > 0xFFFFFFFFu || value > 0xFF) throw wrong();
            level.emplace_back(static_cast<std::uint32_t>(key), static_cast<std::uint8_t>(value));
        }
        if (level.empty()) throw wrong();
        levels.push_back(level);
    }
    return levels;
}

std::wstring Ecc_Reread_Text(const Ecc_Reread_Result& result) {
    std::wstring text = Format(L"%I64u pages read again: %I64u now pass (", result.pages,
                               result.pages - result.still_fail);
    for (const auto& [level, pages] : result.levels) Append_Format(text, L"at retry level %u: %I64u, ", level, pages);
    for (const auto& [voltage, pages] : result.voltages)
        Append_Format(text, L"at %s V: %I64u, ", Korvane_Internal::Power::Voltage_Text(voltage), pages);
    Append_Format(text, L"plain: %I64u), %I64u still fail", result.plain, result.still_fail);
    return text;
}

void Ecc_Reread_Bank(Reader_Master& master, Bank_List& banks, const NAND_Config& config, const NAND_Options& options,
                     std::uint32_t bank, const Ecc_Reread_Choices& choices, Ecc_Reread_Result& result) {
    result = {};
    const std::wstring dump_path = master.Dump_Path(bank), ecc_path = dump_path + L".ecc";
    const std::wstring diff_path = dump_path + L".diff", hash_path = dump_path + L".sha256";
    // An old list never stays beside a bank this run did not look at.
    if (Path_Exists(diff_path)) Delete_File(diff_path);
    Check_Config_Geometry(config);
    const std::vector<Setting> settings = Settings_Of(config, options, choices);
    if (options.Check_ID) master.Check_Bank_Chip(bank);
    const Map_Geometry geometry = Bank_Map_Geometry(config, choices.data_bytes);
    std::unique_ptr<ZEKT_Progress> progress = banks.Start_Progress(bank);
    const std::uint64_t total = Korvane_Internal::Korvane(bank, config, options).GetSize();
    const std::uint64_t held = ZEKT_MediaFileReadProtect(dump_path).GetSize();
    if (held != total) throw Dump_Size_Error(dump_path, held, total);

    // The pages to read again come from a list of the layout in use; one of
    // another layout, or none, is made first.
    std::optional<KE::Ecc_Layout> listed;
    if (Path_Exists(ecc_path)) listed = Read_Ecc_Listing(ecc_path, 0, config.Page, 0).layout;
    KE::Ecc_Layout layout;
    if (choices.layout) {
        layout = *choices.layout;
    } else if (listed) {
        layout = *listed;
    } else {
        progress->Set_Status(L"Find layout...");
        std::size_t sampled = 0;
        const KE::Search_Result found = Find_Dump_Layout(dump_path, geometry, sampled);
        if (!found.found) throw ZEKT_Exception(L"No ECC layout fits <" + dump_path + L">");
        layout = found.layout;
    }
    if (!listed || KE::Layout_Text(*listed) != KE::Layout_Text(layout)) {
        progress->Set_Status(L"ECC...");
        Check_Dump(dump_path, geometry, layout, false, *progress);
    }
    const KE::Page_Codec codec(layout, geometry.data_bytes, geometry.page_bytes - geometry.data_bytes);
    const std::uint32_t t = codec.Correctable_Bits();
    const std::uint32_t above = choices.above.value_or(t * 3 / 4);
    const std::vector<Ecc_Page> pages = Ecc_Pages_Above(ecc_path, above);
    result.pages = pages.size();

    progress->Set_Status(L"Read again...");
    std::vector<std::size_t> passed_by(pages.size(), settings.size());  // the setting each page passed at
    std::uint64_t replaced = 0;
    const bool hashed = Path_Exists(hash_path);
    auto dump = std::make_unique<ZEKT_MediaFileUpdate>(dump_path);
    Undo_File undo(dump_path, config.Page, total);
    std::vector<std::uint8_t> read(config.Page), old(config.Page);
    std::vector<KE::Codeword_Report> reports;
    // The list and the ECC lines go line by line: memory stays flat however many pages fail.
    auto record = [&](bool stopped) {
        std::vector<std::uint64_t> passed;
        for (std::size_t i = 0; i < pages.size(); ++i)
            if (passed_by[i] < settings.size()) passed.push_back(pages[i].page);
        if (!passed.empty()) {
            // A passed page's codewords are checked again as the dump now holds it.
            ZEKT_MediaFileReadProtect now(dump_path);
            Replace_Ecc_Pages(ecc_path, t, passed, [&](std::uint64_t page) {
                now.SetPos(page * config.Page);
                now.Read(read.data(), read.size());
                std::vector<KE::Codeword_Report> found;
                codec.Check_Page(read.data(), false, found);
                return found;
            });
        }
        ZEKT_MediaFileReplace list(diff_path);
        std::string text = To_UTF8(Format(L"# verify --ecc --reread %u, ", choices.plain_reads) + Utc_Now_Text()) + "\n";
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const bool passed = passed_by[i] < settings.size();
            if (stopped && !passed) continue;
            const std::wstring bits = pages[i].uncorrectable ? Format(L">%u", t) : Format(L"%u", pages[i].worst_bits);
            text += To_UTF8(Format(L"%I64u %s ", pages[i].page, bits) +
                            (passed ? L"passes at " + settings[passed_by[i]].label : std::wstring(L"still fails"))) +
                    "\n";
            if (text.size() >= 0x10000) list.Write(text.data(), text.size()), text.clear();
        }
        if (stopped) text += "# stopped here: the pages above are all that were replaced\n";
        list.Write(text.data(), text.size());
        list.Commit();
    };
    try {
        for (std::size_t s = 0; s < settings.size(); ++s) {
            // One reading run per setting over every page still failing, not one per page.
            std::vector<std::uint64_t> failing;
            std::vector<std::size_t> which;
            for (std::size_t i = 0; i < pages.size(); ++i)
                if (passed_by[i] == settings.size()) failing.push_back(pages[i].page), which.push_back(i);
            if (failing.empty()) break;
            NAND_Options supplied = options;
            if (settings[s].voltage) supplied.Voltage = Korvane_Internal::Power::Voltage_Text(settings[s].voltage);
            Read_Pages_Grouped(bank, settings[s].config, supplied, total, failing, *progress,
                               [&](std::size_t index, const std::uint8_t* bytes) {
                                   progress->Update(static_cast<std::int64_t>(s),
                                                    static_cast<std::int64_t>(settings.size()));
                                   std::copy_n(bytes, read.size(), read.begin());
                                   reports.clear();
                                   codec.Check_Page(read.data(), false, reports);
                                   if (!Within(reports, above)) return;
                                   const std::uint64_t offset = failing[index] * config.Page;
                                   dump->SetPos(offset);
                                   dump->Read(old.data(), old.size());
                                   undo.Save(failing[index], old.data(), read.data(), old.size());
                                   undo.Flush();
                                   // A hash of the old bytes must never stay beside the new ones.
                                   if (hashed && replaced == 0) Delete_File(hash_path);
                                   dump->SetPos(offset);
                                   dump->Write(read.data(), read.size());
                                   passed_by[which[index]] = s;
                                   ++replaced;
                               });
        }
    } catch (...) {
        // Clean-up while an error passes: what was replaced stays on record.
        try {
            dump.reset();
            if (replaced) record(true);
        } catch (...) {
        }
        throw;
    }
    dump.reset();
    if (!pages.empty()) record(false);
    if (hashed && replaced) {
        ZEKT_Sha256 hash;
        Hash_From_Disk(hash, dump_path, 0, total);
        Write_Hash_File(dump_path, hash);
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (passed_by[i] == settings.size()) {
            ++result.still_fail;
            result.uncorrectable += pages[i].uncorrectable;
        } else if (settings[passed_by[i]].plain) {
            ++result.plain;
        } else {
            const Setting& setting = settings[passed_by[i]];
            auto& counts = setting.voltage ? result.voltages : result.levels;
            const std::uint32_t key = setting.voltage ? setting.voltage : setting.level;
            auto at = std::find_if(counts.begin(), counts.end(), [&](const auto& entry) { return entry.first == key; });
            if (at == counts.end()) at = counts.insert(counts.end(), {key, 0});
            ++at->second;
        }
    }
    std::sort(result.levels.begin(), result.levels.end());
    std::sort(result.voltages.begin(), result.voltages.end());
    if (result.uncorrectable) throw ZEKT_Exception(Ecc_Reread_Text(result));
    progress.reset();
    banks.Set_Status(bank, Ecc_Reread_Text(result));
}

void Renew_Ecc_List(const std::wstring& dump_path, const NAND_Config& config) {
    const std::wstring ecc_path = dump_path + L".ecc";
    if (!Path_Exists(ecc_path)) return;
    try {
        const KE::Ecc_Layout layout = Read_Ecc_Listing(ecc_path, 0, config.Page, 0).layout;
        ZEKT_Progress quiet;
        Check_Dump(dump_path, Bank_Map_Geometry(config, 0), layout, false, quiet);
    } catch (const ZEKT_Exception&) {
        // A list that no longer describes the dump must not stay beside it.
        Delete_File(ecc_path);
    }
}

}  // namespace Korvane_Exe
