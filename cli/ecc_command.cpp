#include "cli/ecc_command.h"

#include "dump/ecc_pass.h"
#include "framework/values.h"

namespace Korvane_Cli {

bool Ecc_Command(Korvane_Exe::Reader_Master& master, Console_User& user, const NAND_Config& config,
                 const std::optional<Korvane_Ecc::Ecc_Layout>& layout, bool fix, std::uint32_t data_bytes,
                 std::ostream& out, std::ostream& err) {
    const Korvane_Exe::Map_Geometry geometry = Korvane_Exe::Bank_Map_Geometry(config, data_bytes);
    bool all_good = true;
    for (const std::uint32_t bank : user.selected) {
        const std::wstring row = Format(L"Bank_%u  ", bank);
        // One bank's failure is its own line; the next bank goes on.
        try {
            const std::wstring dump_path = master.Dump_Path(bank);
            std::unique_ptr<ZEKT_Progress> progress = user.Start_Progress(bank);
            Korvane_Ecc::Ecc_Layout chosen;
            if (layout) {
                chosen = *layout;
            } else {
                progress->Set_Status(L"Find layout...");
                std::size_t sampled = 0;
                const Korvane_Ecc::Search_Result found = Korvane_Exe::Find_Dump_Layout(dump_path, geometry, sampled);
                if (!found.found) {
                    progress.reset();
                    Put(err, row + Format(L"error: No ECC layout fits <%s> (%I64u sampled pages)\n", dump_path,
                                          static_cast<std::uint64_t>(sampled)));
                    for (const std::wstring& tried : found.tried) Put(err, row + L"tried: " + tried + L"\n");
                    all_good = false;
                    continue;
                }
                Put(out, row + L"layout: " + Korvane_Exe::Search_Text(found, sampled) + L"\n");
                chosen = found.layout;
            }
            progress->Set_Status(fix ? L"ECC and fix..." : L"ECC...");
            const Korvane_Exe::Ecc_Counts counts = Korvane_Exe::Check_Dump(dump_path, geometry, chosen, fix, *progress);
            progress->Set_Status(Korvane_Exe::Ecc_Text(counts));
            progress.reset();
            Put(out, row + Korvane_Exe::Ecc_Text(counts) + L"\n" + row + Korvane_Exe::Ecc_Bits_Text(counts) + L"\n");
            if (counts.uncorrectable) all_good = false;
        } catch (const ZEKT_Exception_Cancel& e) {
            user.Set_Error(bank, e.message);
            throw;
        } catch (const ZEKT_Exception& e) {
            Put(err, row + L"error: " + Visible_Text(e.message) + L"\n");
            all_good = false;
        }
    }
    return all_good;
}

}  // namespace Korvane_Cli
