// korvane-cli's proofs beside the Parts' actions: ID hints, the proven ONFI
// page and the configuration made from it.
#pragma once

#include <iosfwd>
#include <map>
#include <set>
#include <string>

#include "config/nand_config.h"
#include "config/nand_options.h"
#include "dump/reader_master.h"
#include "dump/user.h"
#include "dump/verify.h"

namespace Korvane_Cli {

// A bank list that passes everything on and keeps, per bank, the ID text
// its ID check read (the status after "Read ID...", or the text before
// "  Wrong ID").
class Id_Recorder : public Korvane_Exe::Bank_List {
public:
    explicit Id_Recorder(Korvane_Exe::Bank_List& inner);

    std::vector<std::uint32_t> Selected_Banks() override;
    void Set_Status(std::uint32_t bank, const std::wstring& text) override;
    void Set_Error(std::uint32_t bank, const std::wstring& text) override;
    std::unique_ptr<ZEKT_Progress> Start_Progress(std::uint32_t bank) override;

    std::map<std::uint32_t, std::wstring> ids;

private:
    Korvane_Exe::Bank_List& inner;
    std::set<std::uint32_t> reading;
};

// "Bank_N  hint: ..." on `err` for every recorded ID that no chip answers
// with; with `probe_tied`, the chip-enable lines of a one-chip configuration
// are read too.
void Print_Id_Hints(const Id_Recorder& recorder, const NAND_Config& config, const NAND_Options& options,
                    bool probe_tied, std::ostream& err);

// "Bank_N  hint: ..." on `err` for every verified bank whose differing bits
// sit on one or two data lines.
void Print_Line_Hints(const std::map<std::uint32_t, Korvane_Exe::Verify_Result>& verified, std::ostream& err);

// For "find" when nothing fits: the hint for bank 1's ID on an 8-bit bus.
void Print_Find_Hint(const NAND_Options& options, std::ostream& err);

// "Bank_N  hint: ..." on `err` for every bank whose dump was one byte value,
// or repeated itself.
void Print_Dump_Hints(const Korvane_Exe::Reader_Master& master, std::ostream& err);

// The ONFI report of bank 1 with its CRC verdict; with `page_out`, the raw
// bytes read, as a file; with `config_out`, the configuration that the proven
// page and the ID read describe, written as a settings text. True when a copy
// or the majority of three passed its CRC.
bool Onfi_Command(const NAND_Config& config, const NAND_Options& options, const std::wstring& config_out,
                  const std::wstring& page_out, Korvane_Exe::Messages& messages);

}  // namespace Korvane_Cli
