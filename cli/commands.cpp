#include "cli/commands.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>

#include "cli/console.h"
#include "config/catalogue/chip_catalogue.h"
#include "config/catalogue/chip_lookup.h"
#include "dump/chip_list.h"
#include "dump/chip_operations.h"
#include "dump/reader_master.h"
#include "emulator/selection.h"
#include "framework/media.h"
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
    std::uint32_t program_bank = 1;
    bool program_id = false, program_onfi = false, program_bb = false;
};

std::wstring Wide(const std::string& text) { return From_UTF8(text); }

// "KEY=VALUE" into its two parts.
std::pair<std::wstring, std::wstring> Key_Value(const std::string& text) {
    const std::wstring wide = Wide(text);
    const std::size_t equals = wide.find(L'=');
    if (equals == std::wstring::npos) throw ZEKT_Exception(L"Expected KEY=VALUE, got <" + wide + L">");
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
};

Chip_Choice Choose_Chip(const Choices& choices) {
    Chip_Choice chip;
    if (!choices.chip.empty()) {
        const std::optional<NAND_Config> row = Find_Catalogue_Chip(Wide(choices.chip));
        if (!row) throw ZEKT_Exception(L"Unknown chip <" + Wide(choices.chip) + L">");
        chip.config = *row;
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
        } else if (!Set_Property(chip.config, key, value)) {
            throw ZEKT_Exception(L"Unknown configuration key <" + key + L">");
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
        if (!Set_Property(options, key, value)) throw ZEKT_Exception(L"Unknown option <" + key + L">");
    }
    if (!choices.folder.empty()) {
        std::wstring folder = Wide(choices.folder);
        if (folder.back() != L'/' && folder.back() != L'\\') folder += L'/';
        options.Work_Folder = folder;
    }
    return options;
}

// Creates the work folder and any missing folder above it.
void Make_Folder(const std::wstring& folder) {
    std::wstring path;
    for (const std::wstring& part : Split(Replace_All(folder, L"\\", L"/"), L"/")) {
        path += part;
        if (!part.empty() && !Folder_Exists(path)) Create_Folder(path);
        path += L"/";
    }
}

// "1,3", "2-4" or "all" against the chip's bank count.
std::vector<std::uint32_t> Bank_List_Of(const std::string& text, std::uint32_t bank_count) {
    std::vector<std::uint32_t> banks;
    if (text == "all") {
        for (std::uint32_t bank = 1; bank <= bank_count; ++bank) banks.push_back(bank);
        return banks;
    }
    const std::wstring wide = Wide(text);
    auto bad = [&]() { return ZEKT_Exception(Format(L"Wrong bank list <%s> for %u banks", wide, bank_count)); };
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
        for (std::uint64_t bank = first; bank <= last; ++bank) banks.push_back(static_cast<std::uint32_t>(bank));
    }
    return banks;
}

void Print_Chips(const std::vector<const NAND_Config*>& rows, bool tsv, std::ostream& out) {
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
                if (!dynamic_cast<ZEKT_Property_Separator*>(property.get())) values.push_back(property->To_Text());
            Put(out, Join(values, L"\t") + L"\n");
        }
        return;
    }
    std::vector<Korvane_Exe::Chip_Columns> lines = {Korvane_Exe::Chip_Column_Names()};
    for (const NAND_Config* row : rows) lines.push_back(Korvane_Exe::Chip_Column_Texts(*row));
    std::array<std::size_t, Korvane_Exe::Chip_Column_Count> widths{};
    for (const auto& line : lines)
        for (std::size_t c = 0; c < widths.size(); ++c) widths[c] = std::max(widths[c], line[c].size());
    for (const auto& line : lines) {
        std::wstring text;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            text += line[c];
            if (c + 1 < widths.size()) text += std::wstring(widths[c] - line[c].size() + 2, L' ');
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
        reader = Korvane_Emulator::Select_Profile(Korvane_Emulator::Resolve_Profile(wanted));
    }
    if (reader && choices.trace) reader->on_event = [&err](const std::wstring& line) { Put(err, L"trace: " + line + L"\n"); };
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
        KI::Korvane medium(choices.program_bank, chip.config, options);
        medium.setup.special_read = choices.program_bb;
        KI::NAND_Assembler::Build_Program(code, medium.setup);
    }
    for (const std::wstring& line : KI::NAND_Assembler::Program_Listing(code.Words())) Put(out, line + L"\n");
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, std::istream& in,
        bool interactive) {
    Choices choices;
    CLI::App app{"korvane-cli: read raw NAND flash chips through the Korvane reader", "korvane-cli"};
    app.require_subcommand(1);
    std::string simulate_value;
    CLI::Option* simulate = app.add_option("--simulate", simulate_value,
                                           "Use the reader emulator: alone, the selected chip; =PROFILE, a profile file "
                                           "or a catalogue chip (Name or Name@ID)")
                                ->expected(0, 1);
    app.add_flag("--trace", choices.trace, "Print the emulator's transcript to standard error");

    auto chip_options = [&](CLI::App* command) {
        auto* chip = command->add_option("--chip", choices.chip, "A catalogue chip: exact Name, or Name@ID");
        auto* config = command->add_option("--config", choices.config_file, "A chip configuration file (such as Chip.txt)");
        chip->excludes(config);
        command->add_option("--set", choices.sets, "KEY=VALUE overriding one configuration or emulator key");
    };
    auto reader_options = [&](CLI::App* command) {
        command->add_option("--options", choices.options_file, "A reader options file");
        command->add_option("--opt", choices.opts, "KEY=VALUE overriding one reader option");
    };

    CLI::App* chips = app.add_subcommand("chips", "List the built-in chip catalogue");
    chips->add_option("--name", choices.name_filter, "Part of the name, case-sensitive");
    chips->add_option("--id", choices.id_filter, "ID pattern, such as \"2c dc\" or \"98 * 94\"");
    chips->add_flag("--tsv", choices.tsv, "Every key of every row, tab separated");
    CLI::App* config = app.add_subcommand("config", "Print a chip configuration as a settings text");
    chip_options(config);
    config->add_option("--out", choices.out_file, "Write it as a UTF-16 file instead");
    CLI::App* options_command = app.add_subcommand("options", "Print the reader options as a settings text");
    reader_options(options_command);
    options_command->add_option("--out", choices.out_file, "Write it as a UTF-16 file instead");
    CLI::App* id = app.add_subcommand("id", "Read and check the chip ID of the selected banks");
    chip_options(id);
    reader_options(id);
    id->add_option("--banks", choices.banks, "1,3 or 2-4 or all (the default)");
    CLI::App* read = app.add_subcommand("read", "Dump the selected banks into the work folder");
    chip_options(read);
    reader_options(read);
    read->add_option("--folder", choices.folder, "The work folder")->required();
    read->add_option("--number", choices.number, "The chip number in the file names (default 1)");
    read->add_option("--banks", choices.banks, "1,3 or 2-4 or all (the default)");
    auto* yes = read->add_flag("--yes", choices.yes, "Overwrite existing dumps without asking");
    auto* no = read->add_flag("--no", choices.no, "Never overwrite existing dumps");
    yes->excludes(no);
    CLI::App* onfi = app.add_subcommand("onfi", "Read and show the ONFI parameter page of bank 1");
    chip_options(onfi);
    reader_options(onfi);
    CLI::App* find = app.add_subcommand("find", "Read the attached chip's ID and list the catalogue chips it fits");
    reader_options(find);
    app.add_subcommand("test-usb", "Run the reader's USB self-test");
    CLI::App* program = app.add_subcommand("program", "List the micro-program a run would send");
    chip_options(program);
    reader_options(program);
    program->add_option("--bank", choices.program_bank, "The bank (default 1)");
    auto* program_id = program->add_flag("--id", choices.program_id, "The ID program");
    auto* program_onfi = program->add_flag("--onfi", choices.program_onfi, "The parameter page program");
    auto* program_bb = program->add_flag("--bb", choices.program_bb, "The bit-map (special read) program");
    program_id->excludes(program_onfi)->excludes(program_bb);
    program_onfi->excludes(program_bb);

    try {
        std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::ParseError& e) {
        err << "korvane-cli: " << e.what() << "\n" << "Usage: korvane-cli [--simulate[=PROFILE]] [--trace] COMMAND ... (korvane-cli --help)\n";
        return 2;
    }
    if (simulate->count() > 0) choices.simulate = simulate_value;

    Console_User user(out, err, in, interactive);
    if (choices.yes) user.answer = Console_User::Answer::Yes;
    if (choices.no) user.answer = Console_User::Answer::No;
    std::shared_ptr<Korvane_Emulator::Virtual_Reader> emulator;
    int status = 0;
    try {
        if (chips->parsed()) {
            const Chip_Catalogue catalogue;
            Print_Chips(catalogue.Filter(Wide(choices.name_filter), Wide(choices.id_filter)), choices.tsv, out);
            return 0;
        }
        Chip_Choice chip = Choose_Chip(choices);
        NAND_Options options = Choose_Options(choices);
        if (config->parsed() || options_command->parsed()) {
            const std::wstring text = config->parsed() ? Export_Properties(chip.config)
                                                       : Export_Properties(options);
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
        emulator = Select_Emulator(choices, chip, err);
        NAND_Config current = chip.config;
        std::uint32_t number = choices.number;
        Korvane_Exe::Reader_Master master(&options, &current, &number, &user, &user, &user);
        if (id->parsed() || read->parsed()) {
            user.selected = Bank_List_Of(choices.banks, current.Get_Bank_Count());
            if (id->parsed()) {
                master.ID_Action();
            } else {
                Make_Folder(options.Work_Folder);
                master.Read_Action();
                if (user.refused || user.message_shown) status = 1;
            }
            if (status == 0 && !user.Print_Results()) status = 1;
        } else if (onfi->parsed()) {
            if (!master.Read_ONFI()) status = 1;
        } else if (find->parsed()) {
            const Chip_Catalogue catalogue;
            Print_Chips(Korvane_Exe::Detect_Chips(catalogue, options), false, out);
        } else {
            if (!master.Test_USB()) status = 1;
        }
    } catch (...) {
        // One line for any failure, never a crash.
        ZEKT_wstring_Log log;
        log.Report_Exception();
        Put(err, L"korvane-cli: " + log.text);
        status = 1;
    }
    if (emulator) Korvane_Emulator::Select_Virtual_Reader(nullptr);
    return status;
}

}  // namespace Korvane_Cli
