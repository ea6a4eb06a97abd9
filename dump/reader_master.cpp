#include "dump/reader_master.h"

#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#include "dump/chip_operations.h"
#include "dump/onfi_page.h"
#include "framework/media.h"
#include "framework/values.h"
#include "reader/run.h"

namespace Korvane_Exe {

namespace {

constexpr std::size_t Chunk_Bytes = 0x20000;

// Progress reports pump the interface; nothing a window handler throws there
// may end the pass. The end of a pass shows the full bar at once, unthrottled.
void Report_Progress(ZEKT_Progress& progress, std::uint64_t done, std::uint64_t total) {
    try {
        if (done < total)
            progress.Update(static_cast<std::int64_t>(done), static_cast<std::int64_t>(total));
        else
            progress.Set_Position(1000);
    } catch (...) {
    }
}

// Streams the medium into the file at `path`, each chunk as it comes or as
// its bit map, after the first `keep` bytes the file already holds (a
// resumed dump; anything after them is cut). The file is created (or cut)
// only once the first chunk is in hand, so a run that never starts (a bad
// configuration, no reader, no power) leaves the previous file as it was;
// `created` runs right after that. A stop request ends the pass before the
// next chunk. `watch`, when given, sees the file begin, the kept bytes read
// back from disk before the run opens, and every chunk written.
void Stream_To_File(Korvane_Internal::Korvane& medium, const std::wstring& path, ZEKT_Progress& progress, bool bit_map,
                    std::uint64_t keep, const std::function<void()>& created, Dump_File_Watch* watch) {
    const std::uint64_t total = keep + medium.GetSize();
    std::vector<std::uint8_t> buffer(Chunk_Bytes);
    std::vector<std::uint8_t> bits(bit_map ? Chunk_Bytes / 8 : 0);
    std::unique_ptr<ZEKT_Media> file;
    if (keep && watch) Watch_From_Disk(*watch, path, keep);
    for (std::uint64_t pos = keep; pos < total;) {
        // The bar measures this run's part, so speed and time left stay true.
        Report_Progress(progress, pos - keep, total - keep);
        progress.Check();
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(Chunk_Bytes, total - pos));
        medium.Read(buffer.data(), n);
        if (!file && keep) {
            auto kept = std::make_unique<ZEKT_MediaFileUpdate>(path);
            kept->Truncate(keep);
            file = std::move(kept);
            created();
        } else if (!file) {
            file = std::make_unique<ZEKT_MediaFileWrite>(path);
            if (watch) watch->Created(path);
            created();
        }
        const std::uint8_t* bytes = bit_map ? bits.data() : buffer.data();
        const std::size_t count = bit_map ? Pack_Bit_Map(buffer.data(), n, bits.data()) : n;
        file->Write(bytes, count);
        if (watch) watch->Written(bytes, count);
        pos += n;
    }
}

// Passes a pass's files on to `inner` and notes whether every byte written
// had one value: a chip enable with no chip, or a bus held low, reads so.
class Uniform_Watch : public Dump_File_Watch {
public:
    explicit Uniform_Watch(Dump_File_Watch* next) : inner(next) {}
    void Bank_Started() override {}
    void Created(const std::wstring& path) override {
        if (inner) inner->Created(path);
    }
    void Written(const void* bytes, std::size_t count) override {
        const auto* data = static_cast<const std::uint8_t*>(bytes);
        if (count > 0 && !seen) value = data[0], seen = true;
        // Overlapping compare: every byte equals the one after it.
        if (count > 0 && uniform) uniform = data[0] == value && std::memcmp(data, data + 1, count - 1) == 0;
        if (inner) inner->Written(bytes, count);
    }
    void Deleted(const std::wstring& path) override {
        if (inner) inner->Deleted(path);
    }
    void Bank_Done() override {}
    std::optional<std::uint8_t> Value() const { return seen && uniform ? std::optional(value) : std::nullopt; }

private:
    Dump_File_Watch* inner;
    bool seen = false, uniform = true;
    std::uint8_t value = 0;
};

}  // namespace

Reader_Master::Reader_Master(NAND_Options* reader_options, NAND_Config* chip_config, const std::uint32_t* chip,
                             Bank_List* bank_list, Question* yes_no, Messages* message_sink)
    : options(reader_options), config(chip_config), chip_number(chip), banks(bank_list), question(yes_no),
      messages(message_sink) {}

const std::wstring& Reader_Master::Work_Folder() const {
    if (options->Work_Folder.empty()) throw ZEKT_Exception(L"Work folder don't set");
    return options->Work_Folder;
}

// A dump or bit map is never written, resumed or mended through a symbolic
// link: the file it points to may lie anywhere, outside the work folder.
std::wstring Reader_Master::Dump_Path(std::uint32_t bank) const {
    const std::wstring path = Work_Folder() + Format(L"%02d_%02d.dump", *chip_number, bank);
    Refuse_Link(path);
    return path;
}

std::wstring Reader_Master::Bb_Path(std::uint32_t bank) const {
    const std::wstring path = Work_Folder() + Format(L"%02d_%02d.dump.bb", *chip_number, bank);
    Refuse_Link(path);
    return path;
}

std::wstring Reader_Master::Config_Folder() const { return Work_Folder() + L"FE\\"; }

std::wstring Reader_Master::Config_Path() const { return Config_Folder() + L"Chip.txt"; }

void Reader_Master::Save_Chip_Config() {
    const std::wstring folder = Config_Folder();
    // A linked "FE" would put Chip.txt wherever the link points.
    Refuse_Link(Work_Folder() + L"FE");
    if (!Folder_Exists(folder)) Create_Folder(folder);
    // Device and file text escaped as `config --out` writes it; the keys stay.
    Write_Text_File(Config_Path(), Visible_Text(Export_Properties(*config), true));
}

void Reader_Master::For_Each_Selected_Bank(const std::function<void(std::uint32_t)>& action) {
    const std::vector<std::uint32_t> selected = banks->Selected_Banks();
    for (std::uint32_t bank : selected) banks->Set_Status(bank, L"");
    for (std::uint32_t bank : selected) {
        // One bank's failure is its row's error; the next bank goes on.
        try {
            action(bank);
        } catch (const ZEKT_Exception_Cancel& e) {
            // A stop ends the whole action; this bank's row says so.
            banks->Set_Error(bank, e.message);
            throw;
        } catch (const ZEKT_Exception& e) {
            banks->Set_Error(bank, e.message);
        } catch (const std::exception& e) {
            banks->Set_Error(bank, Format(L"STD Error: %S", e.what()));
        }
    }
}

void Reader_Master::Check_Bank_ID(std::uint32_t bank) {
    banks->Set_Status(bank, L"Read ID...");
    const std::wstring id = Korvane_Internal::Read_Id(bank, NAND_Config(*config), NAND_Options(*options));
    if (!Match_ID(id, config->ID_Code)) throw ZEKT_Exception(id + L"  Wrong ID");
    banks->Set_Status(bank, id);
}

ZEKT_Exception Dump_Size_Error(const std::wstring& path, std::uint64_t held, std::uint64_t bank_bytes) {
    return ZEKT_Exception(Format(L"Dump file <%s> holds %I64u bytes, the bank %I64u", path, held, bank_bytes));
}

std::uint64_t Reader_Master::Kept_Bytes(std::uint32_t bank, std::uint64_t bank_bytes) const {
    const std::wstring path = Dump_Path(bank);
    if (!Exists(path)) return 0;
    const std::uint64_t held = ZEKT_MediaFileReadProtect(path).GetSize();
    // A longer file is not this bank's dump: never cut it.
    if (held > bank_bytes) throw Dump_Size_Error(path, held, bank_bytes);
    if (held == bank_bytes) return held;
    // The reader starts at a row; word-line rows hold three pages.
    const std::uint64_t unit = std::uint64_t{config->Page} * (config->Is_Triple_Page() ? 3 : 1);
    return held / unit * unit;
}

void Reader_Master::Leave_Complete_Bank(std::uint32_t bank) {
    const std::uint64_t bytes = config->Get_Bank_Dump_Size();
    const std::wstring bb_path = Bb_Path(bank);
    const bool bb_wanted = config->Is_Triple_Page() && options->Read_bb_Enabled;
    const bool bb_whole = Exists(bb_path) && ZEKT_MediaFileReadProtect(bb_path).GetSize() == (bytes + 7) / 8;
    // The files stay as they are; hashes, when asked for, come from disk.
    if (file_watch) Watch_From_Disk(*file_watch, Dump_Path(bank), bytes);
    std::wstring text = L"Dump complete, left alone";
    if (bb_wanted && bb_whole && file_watch) {
        Watch_From_Disk(*file_watch, bb_path, (bytes + 7) / 8);
    } else if (bb_wanted && !bb_whole) {
        // The bit-map pass of an earlier run stopped: only the map is read.
        if (options->Check_ID) Check_Bank_ID(bank);
        const std::uint32_t start_tick = ZEKT_Tick_Count();
        Read_bb(bank);
        text += L"; bit map read (" + Elapsed_Text(start_tick) + L")";
    }
    banks->Set_Status(bank, text);
    if (file_watch) file_watch->Bank_Done();
}

void Reader_Master::Dump_Bank(std::uint32_t bank) {
    if (file_watch) file_watch->Bank_Started();
    const std::uint64_t keep = resume ? Kept_Bytes(bank, config->Get_Bank_Dump_Size()) : 0;
    if (resume && keep == config->Get_Bank_Dump_Size()) return Leave_Complete_Bank(bank);
    if (options->Check_ID) Check_Bank_ID(bank);
    const std::uint32_t start_tick = ZEKT_Tick_Count();
    // Names and copies are fixed before the pass pumps any message.
    const NAND_Config chip = *config;
    const NAND_Options reader_options = *options;
    const std::wstring dump_path = Dump_Path(bank);
    const std::wstring bb_path = Bb_Path(bank);
    uniform_banks.erase(bank);
    Uniform_Watch uniform(file_watch);
    {
        const std::unique_ptr<ZEKT_Progress> progress = banks->Start_Progress(bank);
        progress->Set_Status(L"Read...");
        {
            // A resumed dump starts its reading run at the row after the kept units.
            Korvane_Internal::Korvane medium(bank, chip, reader_options, keep, UINT64_MAX);
            // An old bit map never stays beside a new dump, even a partial one.
            Stream_To_File(
                medium, dump_path, *progress, false, keep,
                [this, &bb_path]() {
                    if (Exists(bb_path)) Delete_File(bb_path);
                    if (file_watch) file_watch->Deleted(bb_path);
                },
                &uniform);
        }
        if (chip.Is_Triple_Page() && reader_options.Read_bb_Enabled) Read_bb(bank);
        std::wstring done = L"Reading done (" + Elapsed_Text(start_tick) + L")";
        // Only a whole dump is judged: the watch never saw a resumed dump's kept part.
        if (const std::optional<std::uint8_t> value = uniform.Value(); value && keep == 0) {
            done += L"  " + Uniform_Dump_Remark(*value);
            uniform_banks[bank] = *value;
        }
        progress->Set_Status(done);
        Save_Chip_Config();
        if (file_watch) file_watch->Bank_Done();
    }
}

std::size_t Pack_Bit_Map(const std::uint8_t* stream, std::size_t count, std::uint8_t* bits) {
    const std::size_t bytes = (count + 7) / 8;
    std::memset(bits, 0, bytes);
    std::size_t i = 0;
    // Eight stream bytes at a time: the multiply moves bit 0 of byte k
    // (little-endian) to bit 63 - k, and no two of them collide.
    for (; i + 8 <= count; i += 8) {
        std::uint64_t lanes;
        std::memcpy(&lanes, stream + i, 8);
        lanes &= 0x0101010101010101ull;
        bits[i / 8] = static_cast<std::uint8_t>((lanes * 0x8040201008040201ull) >> 56);
    }
    for (; i < count; ++i)
        if (stream[i] & 1) bits[i / 8] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
    return bytes;
}

std::wstring Uniform_Dump_Remark(std::uint8_t value) { return Format(L"every byte %02x", value); }

std::wstring Uniform_Dump_Hint(std::uint8_t value) {
    if (value == 0xFF)
        return L"every byte of the dump is ff: nothing drove the bus, or the chip is erased; check that the chip "
               L"answers its ID (\"Check ID\"), its seating, the adapter and \"Voltage\"";
    if (value == 0x00) return L"every byte of the dump is 00: the bus is held low; check the chip's seating and the adapter";
    return Format(L"every byte of the dump is %02x: a data line or read enable is stuck", value);
}

void Reader_Master::Read_bb(std::uint32_t bank) {
    const std::unique_ptr<ZEKT_Progress> progress = banks->Start_Progress(bank);
    progress->Set_Status(L"Read bb...");
    Korvane_Internal::Korvane medium(bank, *config, *options);
    medium.setup.special_read = true;
    Stream_To_File(medium, Bb_Path(bank), *progress, true, 0, []() {}, file_watch);
    Report_Progress(*progress, medium.GetSize(), medium.GetSize());
}

bool Reader_Master::Confirm_Overwrite() {
    try {
        bool exists = false;
        for (std::uint32_t bank : banks->Selected_Banks())
            if (Exists(Dump_Path(bank)) || Exists(Bb_Path(bank))) exists = true;
        if (!exists) return true;
        return question->Ask_Yes_No(L"Overwrite dumps?");
    } catch (const ZEKT_Exception_Cancel&) {
        throw;  // a stop while the question waits ends the action
    } catch (...) {
        messages->Message_Box()->Report_Exception();
        return false;
    }
}

void Reader_Master::ID_Action() {
    For_Each_Selected_Bank([this](std::uint32_t bank) { Check_Bank_ID(bank); });
}

void Reader_Master::Read_Action() {
    if (!resume && !Confirm_Overwrite()) return;
    For_Each_Selected_Bank([this](std::uint32_t bank) { Dump_Bank(bank); });
}

bool Reader_Master::Test_USB() {
    const std::unique_ptr<ZEKT_Log> box = messages->Message_Box();
    return Korvane_Internal::Usb_Test_Command(*box);
}

bool Reader_Master::Read_ONFI() {
    const std::unique_ptr<ZEKT_Log> report = messages->Report_Window(L"ONFI");
    try {
        const std::vector<std::uint8_t> page =
            Korvane_Internal::Read_Parameter_Page(1, NAND_Config(*config), NAND_Options(*options));
        Print_Onfi_Report(page, *report);
        return true;
    } catch (...) {
        report->Print(L"\n");
        report->Report_Exception();
        return false;
    }
}

}  // namespace Korvane_Exe
