#include "dump/reader_master.h"

#include <bit>
#include <cstring>
#include <exception>
#include <memory>
#include <numeric>
#include <vector>

#include "config/geometry_check.h"
#include "dump/chip_operations.h"
#include "dump/onfi_page.h"
#include "framework/media.h"
#include "framework/values.h"
#include "reader/run.h"

namespace Korvane_Exe {

namespace {

constexpr std::size_t Chunk_Bytes = 0x20000;

// Files beside a dump that describe the bytes it held: lists of differing
// pages, hashes, undo records, pictures, ECC lists. None stays beside a dump
// made anew; a resumed dump keeps only what speaks of single pages (its kept
// pages are unchanged).
struct Companion {
    const wchar_t* suffix;
    bool kept_on_resume;
};
constexpr Companion Dump_Companions[] = {
    {L".diff", true}, {L".undo", true}, {L".sha256", false}, {L".svg", false}, {L".ecc", false}};

void Remove_File(const std::wstring& path) {
    if (Path_Exists(path)) Delete_File(path);
}

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
// its bit map, after the first `keep` stream bytes the file already holds
// (a resumed pass; anything after them is cut). The file is created (or
// cut) only once the first chunk is in hand, so a run that never starts (a
// bad configuration, no reader, no power) leaves the previous file as it
// was; `replacing` runs right before that, and the file's hash goes with
// it. A stop request ends the pass before the next chunk. `watch`, when
// given, sees the file begin, the kept bytes read back from disk before the
// run opens, and every chunk written.
void Stream_To_File(Korvane_Internal::Korvane& medium, const std::wstring& path, ZEKT_Progress& progress, bool bit_map,
                    std::uint64_t keep, const std::function<void()>& replacing, Dump_File_Watch* watch) {
    const std::uint64_t total = keep + medium.GetSize();
    const std::uint64_t file_keep = bit_map ? keep / 8 : keep;
    std::vector<std::uint8_t> buffer(Chunk_Bytes);
    std::vector<std::uint8_t> bits(bit_map ? Chunk_Bytes / 8 : 0);
    std::unique_ptr<ZEKT_Media> file;
    if (keep && watch) Watch_From_Disk(*watch, path, file_keep);
    for (std::uint64_t pos = keep; pos < total;) {
        // The bar measures this run's part, so speed and time left stay true.
        Report_Progress(progress, pos - keep, total - keep);
        progress.Check();
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(Chunk_Bytes, total - pos));
        medium.Read(buffer.data(), n);
        if (!file) {
            // Nothing that describes the old bytes outlives them.
            Remove_File(path + L".sha256");
            replacing();
        }
        if (!file && keep) {
            auto kept = std::make_unique<ZEKT_MediaFileUpdate>(path);
            kept->Truncate(file_keep);
            file = std::move(kept);
        } else if (!file) {
            file = std::make_unique<ZEKT_MediaFileWrite>(path);
            if (watch) watch->Created(path);
        }
        const std::uint8_t* bytes = bit_map ? bits.data() : buffer.data();
        const std::size_t count = bit_map ? Pack_Bit_Map(buffer.data(), n, bits.data()) : n;
        file->Write(bytes, count);
        if (watch) watch->Written(bytes, count);
        pos += n;
    }
}

// Bytes of the stream that the reader starts a run at: a page, or the three
// pages of a word-line row; for a bit map also whole bytes of bits.
std::uint64_t Unit_Bytes(const NAND_Config& config, bool bit_map) {
    return std::lcm(std::uint64_t{config.Page} * (config.Is_Triple_Page() ? 3 : 1), std::uint64_t{bit_map ? 8u : 1u});
}

// Whether the file at `path` holds what the chip sends for the stream bytes
// [start, start + count): those bytes, or for a bit map their bits. `row`
// is set to the first row read.
bool File_Matches_Chip(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                       const std::wstring& path, std::uint64_t start, std::uint64_t count, bool bit_map,
                       std::uint64_t& row) {
    Korvane_Internal::Korvane medium(bank, config, options, start, start + count);
    medium.setup.special_read = bit_map;
    row = medium.setup.first_row;
    std::vector<std::uint8_t> chip(static_cast<std::size_t>(count)), held(static_cast<std::size_t>(bit_map ? count / 8 : count));
    std::vector<std::uint8_t> packed(held.size());
    medium.Read(chip.data(), count);
    if (bit_map) Pack_Bit_Map(chip.data(), chip.size(), packed.data());
    ZEKT_MediaFileReadProtect file(path);
    file.SetPos(bit_map ? start / 8 : start);
    file.Read(held.data(), held.size());
    return std::memcmp(held.data(), bit_map ? packed.data() : chip.data(), held.size()) == 0;
}

// Whether the first `bytes` bytes of the file at `path` all have one value.
bool File_Is_Uniform(const std::wstring& path, std::uint64_t bytes) {
    ZEKT_MediaFileReadProtect file(path);
    std::vector<std::uint8_t> chunk(Chunk_Bytes);
    std::uint8_t value = 0;
    for (std::uint64_t pos = 0; pos < bytes;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(Chunk_Bytes, bytes - pos));
        file.Read(chunk.data(), n);
        if (pos == 0) value = chunk[0];
        if (chunk[0] != value || std::memcmp(chunk.data(), chunk.data() + 1, n - 1) != 0) return false;
        pos += n;
    }
    return true;
}

// A resumed pass vouches for the part it keeps: the last whole unit kept is
// read again and compared with the file, and a kept part all of one value
// (a zeroed or sparse file) at its first unit too, where a chip holds data.
void Check_Kept_Part(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                     const std::wstring& path, std::uint64_t keep, bool bit_map) {
    const std::uint64_t unit = Unit_Bytes(config, bit_map);
    std::vector<std::uint64_t> starts = {keep - unit};
    if (keep > unit && File_Is_Uniform(path, bit_map ? keep / 8 : keep)) starts.push_back(0);
    for (const std::uint64_t start : starts) {
        std::uint64_t row = 0;
        if (!File_Matches_Chip(bank, config, options, path, start, unit, bit_map, row))
            throw ZEKT_Exception(L"the kept part does not match the chip at row <" + Hex_Text(row) + L">");
    }
}

// "kept 1,990,656 bytes, reading from row 0x1e0": file bytes, the row the run started at.
std::wstring Kept_Text(std::uint64_t bytes, std::uint64_t row) {
    const std::wstring digits = Format(L"%I64u", bytes);
    std::wstring grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += L',';
        grouped += digits[i];
    }
    return L"kept " + grouped + L" bytes, reading from row " + Hex_Text(row);
}

// Passes a pass's files on to `inner` and notes whether every byte written
// had one value (a chip enable with no chip, or a bus held low, reads so),
// and keeps a hash of every unit of `unit_bytes`: a chip with fewer address
// bits than the configuration answers its own units again.
class Shape_Watch : public Dump_File_Watch {
public:
    Shape_Watch(Dump_File_Watch* next, std::uint64_t unit, std::uint64_t total) : inner(next), unit_bytes(unit) {
        // At most 65536 hashes, however large the chip: units grow by twos.
        while (unit_bytes && (total + unit_bytes - 1) / unit_bytes > 0x10000) unit_bytes *= 2;
    }
    void Bank_Started() override {}
    void Created(const std::wstring& path) override {
        if (inner) inner->Created(path);
    }
    void Written(const void* bytes, std::size_t count) override {
        const auto* data = static_cast<const std::uint8_t*>(bytes);
        if (count > 0 && !seen) value = data[0], seen = true;
        // Overlapping compare: every byte equals the one after it.
        if (count > 0 && uniform) uniform = data[0] == value && std::memcmp(data, data + 1, count - 1) == 0;
        Hash(data, count);
        if (inner) inner->Written(bytes, count);
    }
    void Deleted(const std::wstring& path) override {
        if (inner) inner->Deleted(path);
    }
    void Bank_Done() override {}
    std::optional<std::uint8_t> Value() const { return seen && uniform ? std::optional(value) : std::nullopt; }
    // The smallest power of two of units after which every unit equals the
    // one a period earlier, in bytes; 0 when the dump does not repeat, or
    // when all it repeats is erased units.
    std::uint64_t Period_Bytes() const {
        if (!unit_bytes || hashes.size() < 2 || at != 0 || uniform) return 0;
        for (std::size_t period = 1; period < hashes.size(); period *= 2) {
            bool repeats = true;
            for (std::size_t i = period; i < hashes.size() && repeats; ++i) repeats = hashes[i] == hashes[i - period];
            if (!repeats) continue;
            for (std::size_t i = 0; i < period; ++i)
                if (!erased[i]) return period * unit_bytes;
            return 0;
        }
        return 0;
    }

private:
    void Hash(const std::uint8_t* data, std::size_t count) {
        if (!unit_bytes) return;
        while (count > 0) {
            if (at == 0) hashes.push_back(0xCBF29CE484222325ull), erased.push_back(true);
            const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(count, unit_bytes - at));
            std::uint64_t hash = hashes.back();
            bool blank = erased.back();
            std::size_t i = 0;
            // Eight bytes a step where units are whole words: chunks and units
            // then both start on a word of their unit, so equal units hash
            // alike however the chunks cut them. The rotation carries high
            // bits down before the multiply spreads them up again.
            for (; unit_bytes % 8 == 0 && i + 8 <= take; i += 8) {
                std::uint64_t word;
                std::memcpy(&word, data + i, 8);
                hash = std::rotl(hash ^ word, 29) * 0x9E3779B97F4A7C15ull;
                blank = blank && word == ~std::uint64_t{0};
            }
            for (; i < take; ++i) {
                hash = std::rotl(hash ^ data[i], 29) * 0x9E3779B97F4A7C15ull;
                blank = blank && data[i] == 0xFF;
            }
            hashes.back() = hash;
            erased.back() = blank;
            data += take;
            count -= take;
            at = (at + take) % unit_bytes;
        }
    }

    Dump_File_Watch* inner;
    bool seen = false, uniform = true;
    std::uint8_t value = 0;
    std::uint64_t unit_bytes;
    std::uint64_t at = 0;  // bytes of the last unit seen so far
    std::vector<std::uint64_t> hashes;
    std::vector<bool> erased;
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

// "FE" and the system's separator: on POSIX a "\" would be part of the folder's name.
std::wstring Reader_Master::Config_Folder() const { return Add_Separator(Work_Folder() + L"FE"); }

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
    page_verdict.reset();
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

void Reader_Master::Check_Bank_Chip(std::uint32_t bank) {
    Check_Bank_ID(bank);
    if (!page_verdict) {
        const NAND_Config chip = *config;
        const Onfi_Proof proof = Read_Proven_Parameter_Page(chip, NAND_Options(*options), bank);
        // A chip without a page, or with one that proves nothing, is read as
        // the configuration says.
        const bool one_line = std::popcount(Get_Bank_Enable(bank, chip)) == 1;
        page_verdict = proof.Proven() && proof.Signed() ? Parameter_Page_Disagreement(chip, proof.page, one_line) : L"";
    }
    if (!page_verdict->empty()) throw ZEKT_Exception(*page_verdict);
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
        // The bit-map pass of an earlier run stopped: only the rest of the map is read.
        if (options->Check_ID) Check_Bank_Chip(bank);
        const std::uint32_t start_tick = ZEKT_Tick_Count();
        const std::uint64_t held = Exists(bb_path) ? ZEKT_MediaFileReadProtect(bb_path).GetSize() : 0;
        const std::uint64_t unit = Unit_Bytes(*config, true);
        // A longer map is not this bank's: it is read anew.
        const std::uint64_t keep = held * 8 < bytes ? held * 8 / unit * unit : 0;
        if (keep) Check_Kept_Part(bank, *config, *options, bb_path, keep, true);
        Read_bb(bank, keep);
        text += L"; bit map read (" + Elapsed_Text(start_tick) + L")";
        if (keep)
            text += L"; " + Kept_Text(keep / 8, Korvane_Internal::Korvane(bank, *config, *options, keep, UINT64_MAX)
                                                    .setup.first_row);
    }
    banks->Set_Status(bank, text);
    if (file_watch) file_watch->Bank_Done();
}

void Reader_Master::Dump_Bank(std::uint32_t bank) {
    if (file_watch) file_watch->Bank_Started();
    // Before any byte goes over the wire: a row or column the cycles cannot
    // reach would read other pages in its place.
    Check_Config_Geometry(*config);
    const std::uint64_t keep = resume ? Kept_Bytes(bank, config->Get_Bank_Dump_Size()) : 0;
    if (resume && keep == config->Get_Bank_Dump_Size()) return Leave_Complete_Bank(bank);
    if (options->Check_ID) Check_Bank_Chip(bank);
    const std::uint32_t start_tick = ZEKT_Tick_Count();
    // Names and copies are fixed before the pass pumps any message.
    const NAND_Config chip = *config;
    const NAND_Options reader_options = *options;
    const std::wstring dump_path = Dump_Path(bank);
    const std::wstring bb_path = Bb_Path(bank);
    uniform_banks.erase(bank);
    repeat_hints.erase(bank);
    // Blocks where the configuration has them, else pages.
    const std::uint64_t repeat_unit = chip.Block ? chip.Block : chip.Page;
    Shape_Watch uniform(file_watch, repeat_unit, chip.Get_Bank_Dump_Size());
    if (keep) Check_Kept_Part(bank, chip, reader_options, dump_path, keep, false);
    std::wstring kept;
    {
        const std::unique_ptr<ZEKT_Progress> progress = banks->Start_Progress(bank);
        progress->Set_Status(L"Read...");
        {
            // A resumed dump starts its reading run at the row after the kept units.
            Korvane_Internal::Korvane medium(bank, chip, reader_options, keep, UINT64_MAX);
            if (keep) kept = L"; " + Kept_Text(keep, medium.setup.first_row);
            // An old bit map never stays beside a new dump, even a partial
            // one; nor does anything else that describes the old bytes.
            Stream_To_File(
                medium, dump_path, *progress, false, keep,
                [this, &bb_path, &dump_path, keep]() {
                    for (const Companion& companion : Dump_Companions)
                        if (!keep || !companion.kept_on_resume) Remove_File(dump_path + companion.suffix);
                    Remove_File(bb_path + L".sha256");
                    Remove_File(bb_path);
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
        } else if (const std::uint64_t period = uniform.Period_Bytes(); period && keep == 0) {
            done += L"  " + Repeat_Dump_Remark(period / repeat_unit, chip.Block != 0);
            repeat_hints[bank] = Repeat_Dump_Hint(period / repeat_unit, chip.Block != 0, period);
        }
        progress->Set_Status(done + kept);
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

std::wstring Repeat_Dump_Remark(std::uint64_t period, bool blocks) {
    return blocks ? Format(L"repeats every %I64u blocks", period) : Format(L"repeats every %I64u pages", period);
}

std::wstring Repeat_Dump_Hint(std::uint64_t period, bool blocks, std::uint64_t period_bytes) {
    return L"the dump " + Repeat_Dump_Remark(period, blocks) +
           Format(L" (0x%I64x bytes): the chip has fewer address bits than the configuration; check \"Banks\", "
                  L"\"Blocks\" and the chip's parameter page",
                  period_bytes);
}

void Reader_Master::Read_bb(std::uint32_t bank, std::uint64_t keep) {
    const std::unique_ptr<ZEKT_Progress> progress = banks->Start_Progress(bank);
    progress->Set_Status(L"Read bb...");
    Korvane_Internal::Korvane medium(bank, *config, *options, keep, UINT64_MAX);
    medium.setup.special_read = true;
    Stream_To_File(medium, Bb_Path(bank), *progress, true, keep, []() {}, file_watch);
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
        const NAND_Config chip = *config;
        const NAND_Options reader_options = *options;
        const std::vector<std::uint8_t> page = Korvane_Internal::Read_Parameter_Page(1, chip, reader_options);
        if (std::memcmp(page.data(), "ONFI", 4) != 0) {
            // A toggle-mode chip answers the JEDEC page instead; a chip with
            // neither shows its ONFI answer.
            const Parameter_Layout& jedec = Layout_Of(Parameter_Page_Kind::Jedec);
            const std::vector<std::uint8_t> other = Korvane_Internal::Read_Parameter_Page(
                1, chip, reader_options, static_cast<std::uint32_t>(jedec.copy_bytes), jedec.address);
            if (std::memcmp(other.data(), jedec.signature, 4) == 0) {
                Print_Onfi_Report(other, *report, jedec.kind);
                return true;
            }
        }
        Print_Onfi_Report(page, *report);
        return true;
    } catch (...) {
        report->Print(L"\n");
        report->Report_Exception();
        return false;
    }
}

}  // namespace Korvane_Exe
