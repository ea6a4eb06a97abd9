#include "cli/image_command.h"

#include <CLI/CLI.hpp>

#include "cli/console.h"
#include "dump/image.h"
#include "ecc/layout.h"
#include "framework/values.h"

namespace Korvane_Cli {

namespace {

// A switch's text as the program's wide text; CLI11 shows a refusal.
std::wstring Text_Of(const std::string& text) {
    const std::wstring wide = From_UTF8(text);
    if (To_UTF8(wide) != text) throw ZEKT_Exception(L"Command-line text is not UTF-8");
    return wide;
}

// "FROM-TO": the first and the last block, counted from 0.
std::pair<std::uint64_t, std::uint64_t> Block_Range(const std::string& text) {
    const std::wstring wide = Text_Of(text);
    const std::vector<std::wstring> ends = Split(wide, L"-");
    std::pair<std::uint64_t, std::uint64_t> range;
    try {
        if (ends.size() != 2) throw ZEKT_Exception(L"");
        range = {To_Unsigned(Trim(ends[0], L' ')), To_Unsigned(Trim(ends[1], L' '))};
    } catch (const ZEKT_Exception&) {
        range = {1, 0};
    }
    if (range.first > range.second) throw ZEKT_Exception(L"Wrong block range <" + wide + L">, expected FROM-TO");
    return range;
}

// A validator that runs `check` on the text and shows its exception's message.
template <typename Check>
CLI::Validator Checked(Check check, const std::string& name) {
    return CLI::Validator(
        [check](const std::string& value) {
            try {
                check(value);
                return std::string();
            } catch (const ZEKT_Exception& e) {
                return To_UTF8(Visible_Text(e.message));
            }
        },
        name);
}

}  // namespace

void Add_Image_Options(CLI::App& command, Image_Choices& choices) {
    command.add_option("--layout", choices.layout,
                       "The ECC layout, such as \"bch step=512 m=13 t=4 poly=0x201b ecc=end\" (default: the one in "
                       "NN_NN.dump.ecc; none: no ECC applied)")
        ->check(Checked(
            [](const std::string& text) {
                if (text != "none") Korvane_Ecc::Parse_Layout(Text_Of(text));
            },
            "LAYOUT"));
    command.add_option("--bad", choices.bad, "Bad blocks: skip (as nandwrite writes them), keep (as read) or pad (0xFF)")
        ->check(CLI::IsMember({"skip", "keep", "pad"}));
    command.add_option("--spare", choices.spare, "Write the spare areas of the same pages, in order, into FILE")
        ->check(Checked(
            [](const std::string& text) {
                if (Text_Of(text).empty()) throw ZEKT_Exception(L"Empty path");
            },
            "FILE"));
    command.add_option("--range", choices.range, "Blocks FROM-TO only, counted from 0")
        ->check(Checked([](const std::string& text) { Block_Range(text); }, "FROM-TO"));
    command.add_flag("--swap16", choices.swap16, "Swap the two bytes of every 16-bit word (a 16-bit bus read the other way)");
    command.add_flag("--trim", choices.trim, "Leave out the trailing blocks that are all 0xFF");
    command.add_option("--data", choices.data_bytes,
                       "Bytes of a page's data area, before its spare area (default: the largest power of two "
                       "not above \"Page\")")
        ->check(CLI::Range(1u, 0xFFFFFFFFu));
}

bool Image_Banks(Korvane_Exe::Reader_Master& master, Korvane_Exe::Bank_List& banks, const NAND_Config& config,
                 const Image_Choices& choices, const std::vector<std::uint32_t>& selected, std::ostream& err) {
    // One spare file holds one bank.
    if (!choices.spare.empty() && selected.size() > 1)
        throw ZEKT_Exception(Format(L"One spare file for <%u> banks: choose one bank with --banks",
                                    static_cast<std::uint32_t>(selected.size())));
    Korvane_Exe::Image_Settings settings;
    settings.geometry = Korvane_Exe::Bank_Map_Geometry(config, choices.data_bytes);
    settings.report_layout = choices.layout.empty();
    if (!choices.layout.empty() && choices.layout != "none")
        settings.layout = Korvane_Ecc::Parse_Layout(Text_Of(choices.layout));
    settings.bad = choices.bad == "keep"  ? Korvane_Exe::Bad_Block_Rule::Keep
                   : choices.bad == "pad" ? Korvane_Exe::Bad_Block_Rule::Pad
                                          : Korvane_Exe::Bad_Block_Rule::Skip;
    if (!choices.range.empty()) std::tie(settings.first_block, settings.last_block) = Block_Range(choices.range);
    settings.swap16 = choices.swap16;
    settings.trim = choices.trim;
    bool all_mended = true;
    master.For_Each_Selected_Bank([&](std::uint32_t bank) {
        const auto listed = [&](const Korvane_Exe::Dump_Codeword& codeword) {
            Put(err, Format(L"Bank_%u  uncorrectable: page %I64u codeword %u\n", bank, codeword.page,
                            codeword.codeword));
        };
        const Korvane_Exe::Image_Result result =
            Korvane_Exe::Image_Bank(master, banks, settings, bank, Text_Of(choices.spare), listed);
        if (result.uncorrectable) all_mended = false;
    });
    return all_mended;
}

}  // namespace Korvane_Cli
