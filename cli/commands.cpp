#include "cli/commands.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <optional>
#include <sstream>

#include "cli/console.h"
#include "cli/ecc_command.h"
#include "cli/image_command.h"
#include "cli/proving.h"
#include "config/catalogue/chip_catalogue.h"
#include "config/catalogue/chip_lookup.h"
#include "dump/chip_list.h"
#include "dump/chip_word.h"
#include "dump/bank_map.h"
#include "dump/chip_operations.h"
#include "dump/dump_hashes.h"
#include "dump/reader_master.h"
#include "dump/ecc_reread.h"
#include "dump/verify.h"
#include "ecc/layout.h"
#include "emulator/selection.h"
#include "framework/media.h"
#include "framework/os.h"
#include "framework/values.h"
#include "reader/images.h"
#include "reader/listing.h"
#include "reader/programs.h"

namespace Korvane_Cli {

namespace {

namespace KI = Korvane_Internal;

// What the command line chose, before anything is read.
struct Choices {
    std::optional<std::string> simulate;  // set: emulate; empty value: the selected chip
    bool trace = false;
    std::string chip, config_file;
    std::vector<std::string> sets;
    std::string options_file;
    std::vector<std::string> opts;
    std::string name_filter, id_filter;
    bool tsv = false;
    std::string out_file;
    std::string banks = "all";
    std::string folder;
    std::uint32_t number = 1;
    bool yes = false, no = false;
    bool hash = false;
    bool resume = false;
    std::uint32_t reread = 0;
    bool undo = false;
    std::string config_out, page_out;
    std::uint32_t program_bank = 1;
    bool program_id = false, program_onfi = false, program_bb = false;
    std::uint32_t data_bytes = 0;  // 0: the largest power of two not above "Page"
    std::string ecc_layout;
    bool fix = false;
    bool ecc = false;  // verify --ecc
    std::optional<std::uint32_t> above;
    std::string levels;
};

// A command line that asks for something that does not exist: exit 2.
// `listing` follows the message when the user needs a choice spelt out.
struct Usage_Error : ZEKT_Exception {
    explicit Usage_Error(const std::wstring& text, std::wstring more = {})
        : ZEKT_Exception(text), listing(std::move(more)) {}
    std::wstring listing;
};

// What `korvane-cli` exits with after a stop request, as shells do for SIGINT.
constexpr int Stopped_Status = 130;

// Narrow text to show on one line: UTF-8 escaped as any text is; other
// bytes named one by one.
std::wstring Shown_Bytes(const std::string& text) {
    const std::wstring wide = From_UTF8(text);
    if (To_UTF8(wide) == text) return Visible_Text(wide);
    std::wstring shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        shown += byte >= 0x20 && byte < 0x7F ? std::wstring(1, byte) : Format(L"\\x%02x", static_cast<unsigned>(byte));
    }
    return shown;
}

// A command-line text as the user typed it. Bytes that are not UTF-8 are
// refused, named byte by byte: replaced, a path would name another file.
std::wstring Wide(const std::string& text) {
    std::wstring wide = From_UTF8(text);
    if (To_UTF8(wide) == text) return wide;
    throw Usage_Error(L"Command-line text is not UTF-8 <" + Shown_Bytes(text) + L">");
}

// Numbers follow the integer rule of the settings texts (decimal, or hex
// after "0x"): "010" is ten, never eight as C would read it.
const CLI::Validator Integer_Rule(
    [](std::string& value) {
        try {
            value = std::to_string(To_Unsigned(Wide(value)));
            return std::string();
        } catch (const ZEKT_Exception&) {
            return To_UTF8(L"Can't convert <" + Shown_Bytes(value) + L"> to integer");
        }
    },
    "");

// A file or folder option given an empty name names nothing: a usage error,
// not the option left out.
const CLI::Validator Not_Empty_Path(
    [](const std::string& value) { return value.empty() ? std::string("Empty path") : std::string(); }, "PATH");

// "KEY=VALUE" into its two parts.
std::pair<std::wstring, std::wstring> Key_Value(const std::string& text) {
    const std::wstring wide = Wide(text);
    const std::size_t equals = wide.find(L'=');
    if (equals == std::wstring::npos) throw Usage_Error(L"Expected KEY=VALUE, got <" + wide + L">");
    return {wide.substr(0, equals), wide.substr(equals + 1)};
}

// Stores one value by its key; false when the object has no such key.
bool Set_Property(ZEKT_Properties& properties, const std::wstring& key, const std::wstring& value) {
    ZEKT_Property_List list;
    properties.Describe(list);
    for (const auto& property : list) {
        if (property->name != key || dynamic_cast<ZEKT_Property_Separator*>(property.get())) continue;
        property->From_Text(value);
        properties.After_Import(nullptr, nullptr);
        return true;
    }
    return false;
}

// The chip configuration and the emulator keys that came with it.
struct Chip_Choice {
    NAND_Config config;
    Korvane_Emulator::Sim_Options sim;
    ZEKT_Sections sim_sets;  // the --set "Sim ..." keys, for a profile chosen by name too
};

void Print_Chips(const Chip_Catalogue& catalogue, const std::vector<const NAND_Config*>& rows, bool tsv,
                 std::ostream& out);

// The one catalogue row `--chip` names. Rows that differ are refused with
// their listing, so that the user names one by its number.
NAND_Config Catalogue_Chip(const std::wstring& wanted) {
    const Chip_Catalogue catalogue;
    const std::vector<std::size_t> found = Find_Catalogue_Rows(catalogue, wanted);
    if (found.empty()) throw Usage_Error(L"Unknown chip <" + wanted + L">");
    std::vector<const NAND_Config*> rows;
    for (std::size_t index : found) rows.push_back(&catalogue[index]);
    for (const NAND_Config* row : rows) {
        if (*row == *rows.front()) continue;
        std::ostringstream listing;
        Print_Chips(catalogue, rows, false, listing);
        throw Usage_Error(Format(L"Chip <%s> names %u different rows; name one by its number, such as --chip \"#%u\"",
                                 wanted, static_cast<std::uint32_t>(rows.size()),
                                 static_cast<std::uint32_t>(found.front() + 1)),
                          From_UTF8(listing.str()));
    }
    return *rows.front();
}

Chip_Choice Choose_Chip(const Choices& choices) {
    Chip_Choice chip;
    if (!choices.chip.empty()) {
        chip.config = Catalogue_Chip(Wide(choices.chip));
    } else if (!choices.config_file.empty()) {
        const ZEKT_Sections sections(Read_Text_File(Wide(choices.config_file)));
        Import_Properties(chip.config, sections);
        chip.config.After_Import(nullptr, nullptr);
        Korvane_Emulator::Apply_Sim_Keys(sections, chip.sim);
    }
    for (const std::string& set : choices.sets) {
        const auto [key, value] = Key_Value(set);
        if (key.rfind(L"Sim ", 0) == 0) {
            ZEKT_Sections one;
            one.sections.push_back({key, value, false});
            Korvane_Emulator::Apply_Sim_Keys(one, chip.sim);
            chip.sim_sets.sections.push_back(one.sections.front());
        } else if (!Set_Property(chip.config, key, value)) {
            throw Usage_Error(L"Unknown configuration key <" + key + L">");
        }
    }
    return chip;
}

NAND_Options Choose_Options(const Choices& choices) {
    NAND_Options options;
    if (!choices.options_file.empty())
        Import_Properties(options, ZEKT_Sections(Read_Text_File(Wide(choices.options_file))));
    for (const std::string& opt : choices.opts) {
        const auto [key, value] = Key_Value(opt);
        if (!Set_Property(options, key, value)) throw Usage_Error(L"Unknown option <" + key + L">");
    }
    if (!choices.folder.empty()) {
        // The dump names are appended directly, after the system's separator.
        options.Work_Folder = Add_Separator(Wide(choices.folder));
    }
    return options;
}

// Creates the work folder and any missing folder above it.
// Only the system's separators split it: on POSIX "a\b" is one folder.
void Make_Folder(const std::wstring& folder) {
    for (std::size_t end = 1; end <= folder.size(); ++end) {
        const bool last = end == folder.size();
        if (!last && !ZEKT_Os::Is_Path_Separator(folder[end])) continue;
        if (ZEKT_Os::Is_Path_Separator(folder[end - 1])) continue;
        const std::wstring path = folder.substr(0, end);
        if (!Folder_Exists(path)) Create_Folder(path);
    }
}

// "1,3", "2-4" or "all" against the chip's bank count; a bank named twice
// is read once, where it was first named.
std::vector<std::uint32_t> Bank_List_Of(const std::string& text, std::uint32_t bank_count) {
    std::vector<std::uint32_t> banks;
    if (text == "all") {
        for (std::uint32_t bank = 1; bank <= bank_count; ++bank) banks.push_back(bank);
        return banks;
    }
    const std::wstring wide = Wide(text);
    auto bad = [&]() { return Usage_Error(Format(L"Wrong bank list <%s> for %u banks", wide, bank_count)); };
    if (wide.empty()) throw bad();
    std::vector<bool> named(std::size_t{bank_count} + 1);
    for (const std::wstring& piece : Split(wide, L",")) {
        const std::vector<std::wstring> range = Split(piece, L"-");
        if (range.empty() || range.size() > 2) throw bad();
        std::uint64_t first = 0, last = 0;
        try {
            first = To_Unsigned(Trim(range.front(), L' '));
            last = To_Unsigned(Trim(range.back(), L' '));
        } catch (const ZEKT_Exception&) {
            throw bad();
        }
        if (first < 1 || last < first || last > bank_count) throw bad();
        for (std::uint64_t bank = first; bank <= last; ++bank)
            if (!named[bank]) {
                named[bank] = true;
                banks.push_back(static_cast<std::uint32_t>(bank));
            }
    }
    return banks;
}

// The rows as the `chips` columns, each after its number ("#N", the form
// `--chip` takes), or every key tab-separated.
void Print_Chips(const Chip_Catalogue& catalogue, const std::vector<const NAND_Config*>& rows, bool tsv,
                 std::ostream& out) {
    if (tsv) {
        // Every key of the configuration, as the settings text writes it.
        NAND_Config header_source;
        ZEKT_Property_List names;
        header_source.Describe(names);
        std::vector<std::wstring> header;
        for (const auto& property : names)
            if (!dynamic_cast<ZEKT_Property_Separator*>(property.get())) header.push_back(property->name);
        Put(out, Join(header, L"\t") + L"\n");
        for (const NAND_Config* row : rows) {
            NAND_Config copy = *row;
            ZEKT_Property_List list;
            copy.Describe(list);
            std::vector<std::wstring> values;
            for (const auto& property : list)
                if (!dynamic_cast<ZEKT_Property_Separator*>(property.get()))
                    values.push_back(Visible_Text(property->To_Text()));
            Put(out, Join(values, L"\t") + L"\n");
        }
        return;
    }
    constexpr std::size_t Columns = Korvane_Exe::Chip_Column_Count + 1;
    std::vector<std::array<std::wstring, Columns>> lines(rows.size() + 1);
    lines[0][0] = L"#";
    std::copy_n(Korvane_Exe::Chip_Column_Names().begin(), Columns - 1, lines[0].begin() + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        lines[r + 1][0] = Format(L"#%u", static_cast<std::uint32_t>(rows[r] - &catalogue[0] + 1));
        const auto texts = Korvane_Exe::Chip_Column_Texts(*rows[r]);
        std::transform(texts.begin(), texts.begin() + (Columns - 1), lines[r + 1].begin() + 1,
                       [](const std::wstring& text) { return Visible_Text(text); });
    }
    std::array<std::size_t, Columns> widths{};
    for (const auto& line : lines)
        for (std::size_t c = 0; c < Columns; ++c) widths[c] = std::max(widths[c], line[c].size());
    for (const auto& line : lines) {
        std::wstring text;
        for (std::size_t c = 0; c < Columns; ++c) {
            text += line[c];
            if (c + 1 < Columns) text += std::wstring(widths[c] - line[c].size() + 2, L' ');
        }
        Put(out, Trim_Right(text, L' ') + L"\n");
    }
}

// Selects the emulator as the command line and the environment ask.
std::shared_ptr<Korvane_Emulator::Virtual_Reader> Select_Emulator(const Choices& choices, const Chip_Choice& chip,
                                                                 std::ostream& err) {
    std::shared_ptr<Korvane_Emulator::Virtual_Reader> reader;
    std::wstring wanted;
    if (choices.simulate)
        wanted = Wide(*choices.simulate);
    else
        wanted = Korvane_Emulator::Simulator_Variable();
    if (choices.simulate && wanted.empty()) {
        // The very chip of this action, with the emulator keys it came with.
        Korvane_Emulator::Sim_Profile profile = Korvane_Emulator::Profile_From_Config(chip.config, L"selected chip");
        profile.sim = chip.sim;
        reader = Korvane_Emulator::Select_Profile(profile);
    } else if (!wanted.empty()) {
        Korvane_Emulator::Sim_Profile profile = Korvane_Emulator::Resolve_Profile(wanted);
        Korvane_Emulator::Apply_Sim_Keys(chip.sim_sets, profile.sim);
        reader = Korvane_Emulator::Select_Profile(profile);
    }
    if (reader && choices.trace) reader->on_event = [&err](const std::wstring& line) { Put(err, L"trace: " + Visible_Text(line) + L"\n"); };
    return reader;
}

void Print_Program(const Choices& choices, const Chip_Choice& chip, const NAND_Options& options, std::ostream& out) {
    KI::NAND_Assembler::Assembler_Code code;
    if (choices.program_id) {
        KI::NAND_Assembler::Build_Id_Program(code);
        KI::Id_Setup(choices.program_bank, chip.config, options);
    } else if (choices.program_onfi) {
        KI::NAND_Assembler::Build_Parameter_Page_Program(code);
        KI::Parameter_Page_Setup(choices.program_bank, chip.config, options);
    } else {
        if (choices.program_bank < 1 || choices.program_bank > chip.config.Get_Bank_Count())
            throw Usage_Error(Format(L"No bank <%u> in Banks <%s>", choices.program_bank, chip.config.Banks));
        KI::Korvane medium(choices.program_bank, chip.config, options);
        medium.setup.special_read = choices.program_bb;
        KI::NAND_Assembler::Build_Program(code, medium.setup);
    }
    for (const std::wstring& line : KI::NAND_Assembler::Program_Listing(code.Words())) Put(out, line + L"\n");
}

// What verify --ecc was asked for; a layout or levels that do not parse are usage errors.
Korvane_Exe::Ecc_Reread_Choices Ecc_Reread_Choices_Of(const Choices& choices) {
    Korvane_Exe::Ecc_Reread_Choices reread;
    try {
        if (!choices.ecc_layout.empty()) reread.layout = Korvane_Ecc::Parse_Layout(Wide(choices.ecc_layout));
        if (!choices.levels.empty()) reread.levels = Korvane_Exe::Parse_Retry_Levels(Wide(choices.levels));
    } catch (const ZEKT_Exception_DataCorrupt& e) {
        throw Usage_Error(e.message);
    }
    reread.above = choices.above;
    reread.plain_reads = choices.reread ? choices.reread : 2;
    reread.data_bytes = choices.data_bytes;
    return reread;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, std::istream& in,
        bool interactive, bool progress_bars, ZEKT_Tick_Source clock) {
    Choices choices;
    CLI::App app{"korvane-cli: read raw NAND flash chips through the Korvane reader", "korvane-cli"};
    app.require_subcommand(1);
    // --simulate and --trace belong to the program, but may follow the command too.
    app.fallthrough();
    std::string simulate_value;
    CLI::Option* simulate = app.add_option("--simulate", simulate_value,
                                           "Use the reader emulator: alone, the selected chip; =PROFILE, a profile file "
                                           "or a catalogue chip (Name or Name@ID)")
                                ->expected(0, 1);
    app.add_flag("--trace", choices.trace, "Print the emulator's transcript to standard error");

    auto chip_options = [&](CLI::App* command) {
        auto* chip = command->add_option("--chip", choices.chip,
                                         "A catalogue chip: exact Name, Name@ID, or \"#N\" as `chips` numbers it");
        auto* config = command->add_option("--config", choices.config_file, "A chip configuration file (such as Chip.txt)")
                           ->check(Not_Empty_Path);
        chip->excludes(config);
        command->add_option("--set", choices.sets, "KEY=VALUE overriding one configuration or emulator key");
    };
    auto reader_options = [&](CLI::App* command) {
        command->add_option("--options", choices.options_file, "A reader options file")->check(Not_Empty_Path);
        command->add_option("--opt", choices.opts, "KEY=VALUE overriding one reader option");
    };

    auto dump_files = [&](CLI::App* command) {
        command->add_option("--folder", choices.folder, "The work folder")->required()->check(Not_Empty_Path);
        command->add_option("--number", choices.number, "The chip number in the file names, 1 to 999 (default 1)")
            ->transform(Integer_Rule)
            ->check(CLI::Range(1, 999));
        command->add_option("--banks", choices.banks, "1,3 or 2-4 or all (the default)");
    };

    CLI::App* chips = app.add_subcommand("chips", "List the built-in chip catalogue");
    chips->add_option("--name", choices.name_filter, "Part of the name, case-sensitive; O and 0 count as one");
    chips->add_option("--id", choices.id_filter, "ID pattern, such as \"2c dc\" or \"98 * 94\"");
    chips->add_flag("--tsv", choices.tsv, "Every key of every row, tab separated");
    CLI::App* config = app.add_subcommand("config", "Print a chip configuration as a settings text");
    chip_options(config);
    config->add_option("--out", choices.out_file, "Write it as a UTF-16 file instead")->check(Not_Empty_Path);
    CLI::App* options_command = app.add_subcommand("options", "Print the reader options as a settings text");
    reader_options(options_command);
    options_command->add_option("--out", choices.out_file, "Write it as a UTF-16 file instead")->check(Not_Empty_Path);
    CLI::App* id = app.add_subcommand("id", "Read and check the chip ID of the selected banks");
    chip_options(id);
    reader_options(id);
    id->add_option("--banks", choices.banks, "1,3 or 2-4 or all (the default)");
    CLI::App* read = app.add_subcommand("read", "Dump the selected banks into the work folder");
    chip_options(read);
    reader_options(read);
    dump_files(read);
    read->add_flag("--hash", choices.hash, "Write NN_NN.dump.sha256 (sha256sum -c checks it) beside each dump and bit map");
    auto* yes = read->add_flag("--yes", choices.yes, "Overwrite existing dumps without asking");
    auto* no = read->add_flag("--no", choices.no, "Never overwrite existing dumps");
    yes->excludes(no);
    read->add_flag("--resume", choices.resume,
                   "Continue each dump where it stopped: keep its whole rows, read the rest, leave complete ones alone");
    CLI::App* verify = app.add_subcommand("verify", "Read the selected banks again and compare them with their dumps");
    chip_options(verify);
    reader_options(verify);
    dump_files(verify);
    auto* reread = verify->add_option("--reread", choices.reread,
                                      "Read each differing page K more times (1 to 99) and mend the pages whose "
                                      "reads disagree by bitwise majority")
                       ->transform(Integer_Rule)
                       ->check(CLI::Range(1, 99));
    auto* verify_ecc = verify->add_flag("--ecc", choices.ecc,
                                        "Read again every page whose codewords NN_NN.dump.ecc finds uncorrectable or "
                                        "above --above: --reread K times plainly (default 2), then at each retry level, "
                                        "then with \"Voltage\" at the other voltages of its supply class, until a "
                                        "read decodes within it");
    verify->add_flag("--undo", choices.undo, "Put back every page that --reread replaced, from NN_NN.dump.undo")
        ->excludes(reread)
        ->excludes(verify_ecc);
    verify->add_option("--layout", choices.ecc_layout, "With --ecc: the ECC layout (default: NN_NN.dump.ecc's)")
        ->needs(verify_ecc);
    verify->add_option("--above", choices.above, "With --ecc: bits above which a codeword counts as failing "
                                                 "(default: three quarters of t)")
        ->transform(Integer_Rule)
        ->needs(verify_ecc);
    verify->add_option("--levels", choices.levels,
                       "With --ecc: retry levels as register sets, \"ac=00 ad=06; ac=04 ad=0a\" (default: the "
                       "strategy's own)")
        ->needs(verify_ecc);
    verify->add_option("--data", choices.data_bytes, "With --ecc: bytes of a page's data area (default as for map)")
        ->transform(Integer_Rule)
        ->check(CLI::Range(1u, 0xFFFFFFFFu))
        ->needs(verify_ecc);
    CLI::App* map = app.add_subcommand("map", "Draw each selected bank's dump as a map of its blocks, NN_NN.dump.svg");
    chip_options(map);
    dump_files(map);
    map->add_option("--data", choices.data_bytes,
                    "Bytes of a page's data area, before its spare area (default: the largest power of two "
                    "not above \"Page\")")
        ->transform(Integer_Rule)
        ->check(CLI::Range(1u, 0xFFFFFFFFu));
    CLI::App* ecc = app.add_subcommand("ecc", "Check each selected bank's dump against its ECC, NN_NN.dump.ecc");
    chip_options(ecc);
    dump_files(ecc);
    ecc->add_option("--layout", choices.ecc_layout,
                    "The ECC layout, such as \"bch step=512 m=13 t=8 poly=0x201b ecc=end\" (default: found from the "
                    "dump)");
    ecc->add_flag("--fix", choices.fix, "Write NN_NN.fixed.dump with every correctable codeword mended");
    ecc->add_option("--data", choices.data_bytes, "Bytes of a page's data area (default as for map)")
        ->transform(Integer_Rule)
        ->check(CLI::Range(1u, 0xFFFFFFFFu));
    Image_Choices image_choices;
    CLI::App* image = app.add_subcommand("image", "Write each selected bank's dump as an image that filesystem tools "
                                                  "read, NN_NN.img: data areas only, ECC applied, bad blocks skipped");
    chip_options(image);
    dump_files(image);
    Add_Image_Options(*image, image_choices);
    CLI::App* onfi = app.add_subcommand("onfi", "Read and show the ONFI (else JEDEC) parameter page of bank 1, proven by its CRC");
    chip_options(onfi);
    reader_options(onfi);
    onfi->add_option("--config-out", choices.config_out,
                     "Write the configuration that the proven page and the ID describe, as a UTF-16 file")
        ->check(Not_Empty_Path);
    onfi->add_option("--page-out", choices.page_out,
                     "Write the raw page bytes as read (one copy, or three when the first failed its CRC)")
        ->check(Not_Empty_Path);
    CLI::App* find = app.add_subcommand("find", "Read the attached chip's ID and list the catalogue chips it fits");
    reader_options(find);
    find->add_option("--config-out", choices.config_out,
                     "When no catalogue chip fits: write the configuration that the ID and the ONFI parameter page "
                     "describe, as a UTF-16 file")
        ->check(Not_Empty_Path);
    app.add_subcommand("test-usb", "Run the reader's USB self-test");
    CLI::App* program = app.add_subcommand("program", "List the micro-program a run would send");
    chip_options(program);
    reader_options(program);
    program->add_option("--bank", choices.program_bank, "The bank (default 1)")->transform(Integer_Rule);
    auto* program_id = program->add_flag("--id", choices.program_id, "The ID program");
    auto* program_onfi = program->add_flag("--onfi", choices.program_onfi, "The parameter page program");
    auto* program_bb = program->add_flag("--bb", choices.program_bb, "The bit-map (special read) program");
    program_id->excludes(program_onfi)->excludes(program_bb);
    program_onfi->excludes(program_bb);

    try {
        // The argc/argv form keeps the order the user typed in CLI11's messages.
        std::vector<const char*> argv = {"korvane-cli"};
        for (const std::string& argument : arguments) argv.push_back(argument.c_str());
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::ParseError& e) {
        // CLI11 echoes what was typed: escaped, so that it stays one line.
        std::string message = e.what();
        if (dynamic_cast<const CLI::ExtrasError*>(&e)) {
            // CLI11 lists the extras last first; put them back in typed order.
            std::vector<std::string> extras = app.remaining(true);
            std::stable_sort(extras.begin(), extras.end(), [&](const std::string& a, const std::string& b) {
                return std::find(arguments.begin(), arguments.end(), a) < std::find(arguments.begin(), arguments.end(), b);
            });
            message = "The following arguments were not expected:";
            for (const std::string& extra : extras) message += " " + extra;
        }
        err << "korvane-cli: " << To_UTF8(Shown_Bytes(message)) << "\n" << "Usage: korvane-cli [--simulate[=PROFILE]] [--trace] COMMAND ... (korvane-cli --help)\n";
        return 2;
    }
    if (simulate->count() > 0) choices.simulate = simulate_value;

    Console_User user(out, err, in, interactive, progress_bars);
    user.clock = std::move(clock);
    if (choices.yes) user.answer = Console_User::Answer::Yes;
    if (choices.no) user.answer = Console_User::Answer::No;
    std::shared_ptr<Korvane_Emulator::Virtual_Reader> emulator;
    int status = 0;
    try {
        if (chips->parsed()) {
            const Chip_Catalogue catalogue;
            const auto rows = Filter_O_Or_Zero(catalogue, Wide(choices.name_filter), Wide(choices.id_filter));
            Print_Chips(catalogue, rows, choices.tsv, out);
            // A filter that matched nothing found nothing: no success.
            if (rows.empty())
                Put(err, Format(L"No catalogue chip fits --name <%s> --id <%s>\n", Shown_Bytes(choices.name_filter),
                                Shown_Bytes(choices.id_filter)));
            return rows.empty() ? 1 : 0;
        }
        Chip_Choice chip = Choose_Chip(choices);
        NAND_Options options = Choose_Options(choices);
        if (config->parsed() || options_command->parsed()) {
            // Values read from a file may hold anything; line breaks are the text's own.
            const std::wstring text = Visible_Text(config->parsed() ? Export_Properties(chip.config)
                                                                    : Export_Properties(options),
                                                   true);
            if (choices.out_file.empty())
                Put(out, Replace_All(text, L"\r\n", L"\n") + L"\n");
            else
                Write_Text_File(Wide(choices.out_file), text);
            return 0;
        }
        if (program->parsed()) {
            Print_Program(choices, chip, options, out);
            return 0;
        }
        NAND_Config current = chip.config;
        std::uint32_t number = choices.number;
        const bool banked =
            id->parsed() || read->parsed() || verify->parsed() || map->parsed() || ecc->parsed() || image->parsed();
        if (banked) {
            const std::uint32_t bank_count = current.Get_Bank_Count();
            // Nothing to work on is no success.
            if (bank_count == 0) throw ZEKT_Exception(L"No bank in Banks <" + current.Banks + L">");
            user.selected = Bank_List_Of(choices.banks, bank_count);
            // Without a size there is no speed to show; the bank rows say why.
            try {
                user.bank_bytes = current.Get_Bank_Dump_Size();
            } catch (const ZEKT_Exception&) {
            }
        }
        emulator = Select_Emulator(choices, chip, err);
        Id_Recorder recorder(user);
        Korvane_Exe::Reader_Master master(&options, &current, &number, &recorder, &user, &user);
        Korvane_Exe::Dump_Hashes hashes;
        std::map<std::uint32_t, Korvane_Exe::Verify_Result> verified;
        if (choices.hash) master.file_watch = &hashes;
        master.resume = choices.resume;
        if (banked) {
            if (id->parsed()) {
                master.ID_Action();
            } else if (read->parsed()) {
                Make_Folder(options.Work_Folder);
                if (master.resume) {
                    for (const std::uint32_t bank : user.selected) {
                        // A dump that cannot be resumed fails in its own row.
                        try {
                            user.kept_bytes[bank] = master.Kept_Bytes(bank, user.bank_bytes);
                        } catch (const ZEKT_Exception&) {
                        }
                    }
                }
                master.Read_Action();
                if (user.refused || user.message_shown) status = 1;
            } else if (map->parsed()) {
                user.bank_bytes = 0;  // a dump may be partial: no speed from the bank size
                const Korvane_Exe::Map_Geometry geometry = Korvane_Exe::Bank_Map_Geometry(current, choices.data_bytes);
                master.For_Each_Selected_Bank(
                    [&](std::uint32_t bank) { Korvane_Exe::Map_Bank(master, recorder, current, geometry, bank); });
            } else if (ecc->parsed()) {
                user.bank_bytes = 0;  // a dump may be partial: no speed from the bank size
                std::optional<Korvane_Ecc::Ecc_Layout> layout;
                try {
                    if (!choices.ecc_layout.empty()) layout = Korvane_Ecc::Parse_Layout(Wide(choices.ecc_layout));
                } catch (const ZEKT_Exception_DataCorrupt& e) {
                    throw Usage_Error(e.message);
                }
                if (!Ecc_Command(master, user, current, layout, choices.fix, choices.data_bytes, out, err)) status = 1;
            } else if (image->parsed()) {
                user.bank_bytes = 0;  // as for the map: no speed from the bank size
                if (!Image_Banks(master, recorder, current, image_choices, user.selected, err)) status = 1;
            } else if (choices.ecc) {
                const Korvane_Exe::Ecc_Reread_Choices reread = Ecc_Reread_Choices_Of(choices);
                std::map<std::uint32_t, Korvane_Exe::Ecc_Reread_Result> results;
                master.For_Each_Selected_Bank([&](std::uint32_t bank) {
                    Korvane_Exe::Ecc_Reread_Bank(master, recorder, current, options, bank, reread, results[bank]);
                });
            } else {
                master.For_Each_Selected_Bank([&](std::uint32_t bank) {
                    if (choices.undo) {
                        Korvane_Exe::Undo_Bank(master, recorder, bank);
                        // The codewords of the pages put back are listed again too.
                        return Korvane_Exe::Renew_Ecc_List(master.Dump_Path(bank), current);
                    }
                    Korvane_Exe::Verify_Bank(master, recorder, current, options, bank, choices.reread, verified[bank]);
                });
            }
            // The ecc command prints each bank's lines as it goes.
            if (!ecc->parsed() && !user.Print_Results()) status = 1;
            Print_Id_Hints(recorder, current, options, id->parsed(), err);
            Print_Dump_Hints(master, err);
            Print_Line_Hints(verified, err);
        } else if (onfi->parsed()) {
            if (!Onfi_Command(current, options, Wide(choices.config_out), Wide(choices.page_out), user)) status = 1;
        } else if (find->parsed()) {
            const Chip_Catalogue catalogue;
            const std::vector<const NAND_Config*> rows = Korvane_Exe::Detect_Chips(catalogue, options);
            if (rows.empty()) {
                Put(err, L"No catalogue chip fits the attached chip\n");
                Print_Find_Hint(options, err);
                status = 1;
                // What the chip says of itself, and a configuration from it.
                const Korvane_Exe::Chip_Word word = Korvane_Exe::Read_Chip_Word(options);
                for (const std::wstring& line : Korvane_Exe::Chip_Word_Lines(word))
                    Put(out, Visible_Text(line) + L"\n");
                if (!choices.config_out.empty()) {
                    NAND_Config made = Korvane_Exe::Config_From_Chip_Word(word);
                    Write_Text_File(Wide(choices.config_out), Export_Properties(made));
                }
            } else {
                Print_Chips(catalogue, rows, false, out);
                if (!choices.config_out.empty())
                    Put(err, L"Catalogue chips fit the attached chip: take one with --chip; nothing written to <" +
                                 Wide(choices.config_out) + L">\n");
            }
        } else {
            if (!master.Test_USB()) status = 1;
        }
    } catch (const ZEKT_Exception_Cancel& e) {
        // The bank that was running shows "Canceled."; the rest were not touched.
        // A stop before any bank (a file being opened) says it on its own.
        if (!user.Any_Row())
            Put(err, L"korvane-cli: " + e.message + L"\n");
        else
            user.Print_Results();
        status = Stopped_Status;
    } catch (const Usage_Error& e) {
        Put(err, L"korvane-cli: Error: " + Visible_Text(e.message) + L"\n" + e.listing);
        status = 2;
    } catch (...) {
        // One line for any failure, never a crash.
        ZEKT_wstring_Log log;
        log.Report_Exception();
        Put(err, L"korvane-cli: " + Visible_Text(log.text, true));
        status = 1;
    }
    if (emulator) Korvane_Emulator::Select_Virtual_Reader(nullptr);
    if (ZEKT_Os::Stop_Requested()) status = Stopped_Status;
    return status;
}

}  // namespace Korvane_Cli
