#include "cli/proving.h"

#include <optional>

#include "cli/console.h"
#include "dump/chip_operations.h"
#include "dump/id_diagnosis.h"
#include "dump/onfi_page.h"
#include "dump/reader_master.h"
#include "framework/properties.h"
#include "framework/values.h"

namespace Korvane_Cli {

namespace {

const std::wstring Wrong_Id = L"  Wrong ID";

void Put_Hint(std::ostream& err, std::uint32_t bank, const std::wstring& hint) {
    if (!hint.empty()) Put(err, Format(L"Bank_%u  hint: ", bank) + hint + L"\n");
}

}  // namespace

Id_Recorder::Id_Recorder(Korvane_Exe::Bank_List& inner_list) : inner(inner_list) {}

std::vector<std::uint32_t> Id_Recorder::Selected_Banks() { return inner.Selected_Banks(); }

void Id_Recorder::Set_Status(std::uint32_t bank, const std::wstring& text) {
    if (reading.erase(bank)) ids[bank] = text;
    if (text == L"Read ID...") reading.insert(bank);
    inner.Set_Status(bank, text);
}

void Id_Recorder::Set_Error(std::uint32_t bank, const std::wstring& text) {
    // A failed read (no reader, a bad setting) read no ID at all.
    if (reading.erase(bank) && text.size() >= Wrong_Id.size() &&
        text.compare(text.size() - Wrong_Id.size(), Wrong_Id.size(), Wrong_Id) == 0)
        ids[bank] = text.substr(0, text.size() - Wrong_Id.size());
    inner.Set_Error(bank, text);
}

std::unique_ptr<ZEKT_Progress> Id_Recorder::Start_Progress(std::uint32_t bank) { return inner.Start_Progress(bank); }

void Print_Id_Hints(const Id_Recorder& recorder, const NAND_Config& config, const NAND_Options& options,
                    bool probe_tied, std::ostream& err) {
    for (const auto& [bank, id] : recorder.ids) {
        Put_Hint(err, bank, Korvane_Exe::Id_Hint(id));
        if (probe_tied && bank == 1) Put_Hint(err, bank, Korvane_Exe::Tied_Enables_Hint(config, options, id));
    }
}

void Print_Line_Hints(const std::map<std::uint32_t, Korvane_Exe::Verify_Result>& verified, std::ostream& err) {
    for (const auto& [bank, result] : verified) Put_Hint(err, bank, Korvane_Exe::Data_Line_Hint(result));
}

void Print_Find_Hint(const NAND_Options& options, std::ostream& err) {
    NAND_Config trial;
    trial.Bus = L"8";
    Put_Hint(err, 1, Korvane_Exe::Id_Hint(Korvane_Internal::Read_Id(1, trial, options)));
}

void Print_Dump_Hints(const Korvane_Exe::Reader_Master& master, std::ostream& err) {
    for (const auto& [bank, value] : master.uniform_banks) Put_Hint(err, bank, Korvane_Exe::Uniform_Dump_Hint(value));
    for (const auto& [bank, hint] : master.repeat_hints) Put_Hint(err, bank, hint);
}

bool Onfi_Command(const NAND_Config& config, const NAND_Options& options, const std::wstring& config_out,
                  const std::wstring& page_out, Korvane_Exe::Messages& messages) {
    const std::optional<Korvane_Exe::Onfi_Proof> proof =
        Korvane_Exe::Proven_Onfi_Report(config, options, *messages.Report_Window(L"ONFI"), page_out);
    const bool proven = proof && proof->Proven();
    if (config_out.empty()) return proven && proof->Signed();
    if (!proven) throw ZEKT_Exception(L"No configuration from a parameter page that fails its CRC <" + config_out + L">");
    // A page that passes its CRC under another signature is no page we know.
    if (!proof->Signed())
        throw ZEKT_Exception(L"No configuration from a parameter page without its signature <" + config_out + L">");
    const std::wstring id = Korvane_Internal::Read_Id(1, config, options);
    NAND_Config made = Korvane_Exe::Config_From_Onfi(config, proof->page, id);
    Write_Text_File(config_out, Visible_Text(Export_Properties(made), true));
    return true;
}

}  // namespace Korvane_Cli
