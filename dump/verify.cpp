#include "dump/verify.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <vector>

#include "config/geometry_check.h"
#include "dump/chip_operations.h"
#include "dump/dump_hashes.h"
#include "dump/ecc_pass.h"
#include "dump/undo_file.h"
#include "framework/media.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

constexpr std::size_t Chunk_Bytes = 0x20000;
// The bank's reads of differing pages kept for the majority; a page beyond
// this is read once more instead, so memory stays bounded.
constexpr std::size_t Kept_Read_Bytes = 16u << 20;
// Differing pages whose reads are counted at once, by the bytes that takes.
constexpr std::size_t Vote_Bytes = 16u << 20;
// Clean bytes between two differing units that a reading run reads through
// rather than opening another run: a run costs an upload and a program,
// 1.25 MB on the wire, about what streaming 1 MiB of pages costs the reader.
constexpr std::uint64_t Gap_Bytes = 1u << 20;

// Adds each bit in which `a` and `b` differ to its data line; `offset` is
// the stream position of a[0] (on a 16-bit bus odd bytes carry IO8-IO15).
std::uint64_t Count_Differing_Bits(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                                   std::uint64_t offset, std::vector<std::uint64_t>& lines) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < count;) {
        if (i + 8 <= count) {
            std::uint64_t x, y;
            std::memcpy(&x, a + i, 8);
            std::memcpy(&y, b + i, 8);
            if (x == y) {
                i += 8;
                continue;
            }
        }
        for (const std::size_t end = std::min(i + 8, count); i < end; ++i) {
            const unsigned differ = a[i] ^ b[i];
            bits += static_cast<std::uint64_t>(std::popcount(differ));
            const std::size_t base = lines.size() == 16 && (offset + i) % 2 ? 8 : 0;
            for (unsigned line = 0; line < 8; ++line) lines[base + line] += differ >> line & 1;
        }
    }
    return bits;
}

}  // namespace

std::wstring Utc_Now_Text() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss<seconds> time(now - day);
    return Format(L"%04d-%02u-%02u %02d:%02d:%02d UTC", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
}

namespace {

// The list of differing pages, UTF-8 with line feeds, begun at the first
// page with a line that says when and how it was made. It takes its name
// when complete; a failed comparison leaves none, unless pages of the dump
// were already replaced: then it stays, as the record of which.
class Diff_File {
public:
    Diff_File(const std::wstring& file_path, const std::wstring& command) : path(file_path), made_by(command) {}
    ~Diff_File() {
        if (!file || !replaced) return;
        // Clean-up while an error passes: a partial list never takes its
        // name, unless it is all that says which pages were replaced.
        try {
            Put(L"# stopped here: the pages above are all that were looked at\n");
            file->Commit();
        } catch (...) {
        }
    }
    void Add(std::uint64_t page, std::uint64_t bits, const std::wstring& verdict) {
        if (!file) {
            file = std::make_unique<ZEKT_MediaFileReplace>(path);
            Put(L"# " + made_by + L", " + Utc_Now_Text() + L"\n");
        }
        Put(Format(L"%I64u %I64u", page, bits) + (verdict.empty() ? L"" : L" " + verdict) + L"\n");
    }
    // From now on a failure leaves the list: a page of the dump is replaced.
    void Replacing() { replaced = true; }
    // The counts per data line close the list; their lines start with a letter.
    void Complete(const std::vector<std::uint64_t>& line_bits) {
        if (file)
            for (std::size_t line = 0; line < line_bits.size(); ++line)
                Put(Format(L"IO%u %I64u\n", static_cast<std::uint32_t>(line), line_bits[line]));
        if (file) file->Commit();
        file.reset();
    }

private:
    void Put(const std::wstring& text) {
        const std::string bytes = To_UTF8(text);
        file->Write(bytes.data(), bytes.size());
    }

    std::wstring path, made_by;
    std::unique_ptr<ZEKT_MediaFileReplace> file;
    bool replaced = false;
};

struct Differing_Page {
    std::uint64_t page;
    std::uint64_t bits;
    std::vector<std::uint8_t> read;  // the verify read of it; empty when not kept
};

// One differing page while its reads are counted. Most bits read as the
// dump holds them every time, so what is counted is, per bit, the fresh
// reads that differ from the dump, kept bit-sliced 64 bits to a word (plane
// p holds bit p of every count) and touched only where a read differs.
struct Page_Votes {
    Page_Votes(const Differing_Page* differing, std::size_t bytes, std::uint32_t reads)
        : page(differing), length(bytes), stored(bytes), first(bytes), words((bytes + 7) / 8),
          planes(std::bit_width(reads), std::vector<std::uint64_t>(words)), any_differ(words) {}

    const Differing_Page* page;
    std::size_t length;                // a last page may be short
    std::vector<std::uint8_t> stored;  // as the dump holds it
    std::vector<std::uint8_t> first;   // the first fresh read
    std::size_t words;
    std::vector<std::vector<std::uint64_t>> planes;
    std::vector<std::uint64_t> any_differ;  // bits that some fresh read gave otherwise than the dump
    std::uint32_t fresh = 0;           // fresh reads counted
    bool alike = true;                 // every fresh read equal to the first

    // Bits 64w to 64w+63 of `bytes`, bit i of byte j at 8j + i.
    std::uint64_t Word(const std::uint8_t* bytes, std::size_t w) const {
        std::uint64_t word = 0;
        if (std::endian::native == std::endian::little && w * 8 + 8 <= length) {
            std::memcpy(&word, bytes + w * 8, 8);
            return word;
        }
        for (std::size_t j = 0; j < 8 && w * 8 + j < length; ++j) word |= std::uint64_t{bytes[w * 8 + j]} << (8 * j);
        return word;
    }
    void Add_Fresh(const std::uint8_t* bytes) {
        for (std::size_t w = 0; w < words; ++w) {
            std::uint64_t carry = Word(bytes, w) ^ Word(stored.data(), w);
            if (!carry) continue;
            any_differ[w] |= carry;
            // A ripple-carry add of one to the counts of the differing bits.
            for (std::size_t p = 0; carry && p < planes.size(); ++p) {
                const std::uint64_t next = planes[p][w] & carry;
                planes[p][w] ^= carry;
                carry = next;
            }
        }
        if (fresh++ == 0) std::copy_n(bytes, length, first.begin());
        alike = alike && std::memcmp(bytes, first.data(), length) == 0;
    }
    // How many of the `reads` reads (the dump one of them) had bit b of word w set.
    std::uint32_t Set_Count(std::size_t w, unsigned b, std::uint32_t reads) const {
        std::uint32_t differ = 0;
        for (std::size_t p = 0; p < planes.size(); ++p)
            differ |= static_cast<std::uint32_t>(planes[p][w] >> b & 1) << p;
        return (Word(stored.data(), w) >> b & 1) ? reads - differ : differ;
    }
    // Bytes of votes for a page of `bytes` counted `reads` times.
    static std::size_t Bytes(std::size_t bytes, std::uint32_t reads) {
        return (3 + std::bit_width(reads)) * (bytes + 8);
    }
};

// Reads each page of `votes` that lacks fresh reads once more, grouped as
// Read_Pages_Grouped groups them.
void Read_Round(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options, std::uint64_t total,
                std::vector<Page_Votes>& votes, std::uint32_t wanted, ZEKT_Progress& progress,
                std::uint64_t& reads_done, std::uint64_t reads_total) {
    std::vector<std::uint64_t> pages;
    std::vector<std::size_t> which;
    for (std::size_t i = 0; i < votes.size(); ++i) {
        if (votes[i].fresh >= wanted) continue;
        pages.push_back(votes[i].page->page);
        which.push_back(i);
    }
    Read_Pages_Grouped(bank, config, options, total, pages, progress,
                       [&](std::size_t index, const std::uint8_t* bytes) {
                           progress.Update(static_cast<std::int64_t>(reads_done),
                                           static_cast<std::int64_t>(reads_total));
                           votes[which[index]].Add_Fresh(bytes);
                           ++reads_done;
                       });
}

// Reads every differing page `reread` times more. A page whose fresh reads
// (the verify read and these) all agree was misread the same way every
// time, or the dump is not this chip's: it is left as it is. Otherwise the
// page is flaky and becomes the bitwise majority of the dump and all fresh
// reads; a bit is unsure on a tie (it keeps the dump's value) or when fewer
// than two thirds of the reads agree. A page's old bytes go to the undo
// file before it is replaced. `hash`, when given, holds the dump's hash up
// to the first differing page; the ".sha256" goes at the first replaced
// page and comes back at the end.
void Mend_Pages(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                const std::wstring& dump_path, const std::vector<Differing_Page>& pages, ZEKT_Progress& progress,
                Verify_Result& result, Diff_File& diff, ZEKT_Sha256* hash) {
    auto dump = std::make_unique<ZEKT_MediaFileUpdate>(dump_path);
    const std::uint64_t total = dump->GetSize();
    Undo_File undo(dump_path, config.Page, total);
    const std::uint32_t fresh_reads = result.reread + 1;
    const std::uint32_t reads = fresh_reads + 1;
    // Pages are counted in batches, so memory stays bounded however many differ.
    const std::size_t batch = std::max<std::size_t>(1, Vote_Bytes / Page_Votes::Bytes(config.Page, reads));
    std::uint64_t reads_done = 0;
    const std::uint64_t reads_total = pages.size() * std::uint64_t{fresh_reads};
    std::vector<std::uint8_t> mended(config.Page);
    const std::wstring hash_path = dump_path + L".sha256";
    bool changed = false;
    for (std::size_t first = 0; first < pages.size(); first += batch) {
        std::vector<Page_Votes> votes;
        for (std::size_t index = first; index < std::min(pages.size(), first + batch); ++index) {
            const Differing_Page& page = pages[index];
            const std::uint64_t offset = page.page * config.Page;
            const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(config.Page, total - offset));
            Page_Votes& v = votes.emplace_back(&page, length, reads);
            dump->SetPos(offset);
            dump->Read(v.stored.data(), length);
            if (!page.read.empty()) v.Add_Fresh(page.read.data()), ++reads_done;
        }
        for (std::uint32_t round = 1; round <= fresh_reads; ++round)
            Read_Round(bank, config, options, total, votes, round, progress, reads_done, reads_total);
        for (const Page_Votes& v : votes) {
            const Differing_Page& page = *v.page;
            if (v.alike) {
                // The reads agree: no vote may overrule them, nor they the dump.
                const bool same = v.first == v.stored;
                result.mended_pages += same;
                result.steady_pages += !same;
                diff.Add(page.page, page.bits, same ? L"mended" : L"not mended");
                continue;
            }
            std::uint64_t unsure = 0;
            for (std::size_t w = 0; w < v.words; ++w) {
                // Bits that every read gave as the dump holds them stay.
                std::uint64_t word = v.Word(v.stored.data(), w);
                for (std::uint64_t mixed = v.any_differ[w]; mixed; mixed &= mixed - 1) {
                    const auto b = static_cast<unsigned>(std::countr_zero(mixed));
                    const std::uint32_t set = v.Set_Count(w, b, reads), agree = std::max(set, reads - set);
                    const bool one = set * 2 == reads ? (word >> b & 1) : set * 2 > reads;
                    if (set * 2 == reads || agree * 3 < reads * 2) ++unsure;
                    word = (word & ~(std::uint64_t{1} << b)) | std::uint64_t{one} << b;
                }
                for (std::size_t j = 0; j < 8 && w * 8 + j < v.length; ++j)
                    mended[w * 8 + j] = static_cast<std::uint8_t>(word >> (8 * j));
            }
            if (std::memcmp(mended.data(), v.stored.data(), v.length) != 0) {
                undo.Save(page.page, v.stored.data(), v.length);
                // A hash of the old bytes must never stay beside the new ones.
                if (!changed && hash) Delete_File(hash_path);
                changed = true;
                diff.Replacing();
                dump->SetPos(page.page * config.Page);
                dump->Write(mended.data(), v.length);
            }
            if (unsure == 0) ++result.mended_pages;
            result.unsure_bits += unsure;
            diff.Add(page.page, page.bits, unsure ? Format(L"unsure %I64u", unsure) : L"mended");
        }
    }
    dump.reset();  // the hash reads the file under a lock of its own
    if (changed && hash) {
        // Bytes before the first differing page are as the verify pass hashed them.
        Hash_From_Disk(*hash, dump_path, pages.front().page * config.Page, total);
        Write_Hash_File(dump_path, *hash);
    }
}

}  // namespace

void Read_Pages_Grouped(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                        std::uint64_t total, const std::vector<std::uint64_t>& pages, ZEKT_Progress& progress,
                        const Grouped_Page_Sink& take) {
    const std::uint64_t unit_bytes = std::uint64_t{config.Page} * (config.Is_Triple_Page() ? 3 : 1);
    std::vector<std::uint8_t> unit(static_cast<std::size_t>(unit_bytes));
    auto unit_of = [&](std::size_t index) { return pages[index] * config.Page / unit_bytes * unit_bytes; };
    for (std::size_t from = 0; from < pages.size();) {
        const std::uint64_t start = unit_of(from);
        std::uint64_t end = start + unit_bytes;
        std::size_t to = from + 1;
        for (; to < pages.size() && unit_of(to) <= end + Gap_Bytes; ++to) end = unit_of(to) + unit_bytes;
        end = std::min(end, total);
        Korvane_Internal::Korvane medium(bank, config, options, start, end);
        std::size_t next = from;
        for (std::uint64_t at = start; at < end; at += unit_bytes) {
            progress.Check();
            medium.Read(unit.data(), std::min(unit_bytes, end - at));
            for (; next < to && unit_of(next) == at; ++next) take(next, unit.data() + (pages[next] * config.Page - at));
        }
        from = to;
    }
}

Verify_Result Compare_Bank(ZEKT_Media& bank, ZEKT_Media& dump, std::uint32_t page_bytes, std::uint32_t data_lines,
                           ZEKT_Progress& progress, bool pass_pages, const Differing_Page_Sink& differs,
                           ZEKT_Sha256* prefix_hash) {
    if (page_bytes == 0) throw ZEKT_Exception(L"Can't divide a bank into pages of <0> bytes");
    const std::uint64_t total = bank.GetSize();
    Verify_Result result;
    result.pages = (total + page_bytes - 1) / page_bytes;
    result.line_bits.assign(data_lines, 0);
    std::vector<std::uint8_t> read(Chunk_Bytes), stored(Chunk_Bytes), page_read(pass_pages ? page_bytes : 0);
    std::uint64_t page_bits = 0;  // of the page under way, which may straddle two chunks
    ZEKT_Sha256 page_start_hash;
    for (std::uint64_t pos = 0; pos < total;) {
        progress.Update(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(total));
        progress.Check();
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(Chunk_Bytes, total - pos));
        bank.Read(read.data(), n);
        dump.Read(stored.data(), n);
        for (std::size_t i = 0; i < n;) {
            const std::uint64_t page = (pos + i) / page_bytes;
            const std::uint64_t page_end = std::min(total, (page + 1) * page_bytes);
            const std::size_t span = static_cast<std::size_t>(std::min<std::uint64_t>(n - i, page_end - (pos + i)));
            if (pass_pages) std::memcpy(page_read.data() + (pos + i - page * page_bytes), read.data() + i, span);
            if (prefix_hash) {
                if (pos + i == page * page_bytes) page_start_hash = *prefix_hash;
                prefix_hash->Update(stored.data() + i, span);
            }
            if (std::memcmp(read.data() + i, stored.data() + i, span) != 0)
                page_bits += Count_Differing_Bits(read.data() + i, stored.data() + i, span, pos + i, result.line_bits);
            i += span;
            if (pos + i < page_end || page_bits == 0) continue;
            if (result.differing_pages++ == 0) result.first_page = page;
            // The hash stops before the first differing page: it may change.
            if (prefix_hash) *prefix_hash = page_start_hash, prefix_hash = nullptr;
            result.differing_bits += page_bits;
            differs(page, page_bits, pass_pages ? page_read.data() : nullptr);
            page_bits = 0;
        }
        pos += n;
    }
    return result;
}

std::wstring Verify_Text(const Verify_Result& result) {
    if (result.differing_pages == 0) return Format(L"Identical (%I64u pages)", result.pages);
    std::wstring text = Format(L"%I64u of %I64u pages differ, first page %I64u, %I64u bits", result.differing_pages,
                               result.pages, result.first_page, result.differing_bits);
    if (result.reread)
        Append_Format(text, L"; %I64u pages mended, %I64u bits unsure", result.mended_pages, result.unsure_bits);
    if (result.steady_pages)
        Append_Format(text, L"; %I64u pages read differently every time: not mended", result.steady_pages);
    return text;
}

std::wstring Data_Line_Hint(const Verify_Result& result) {
    // Bits the re-read found and bits the ECC mended point at a line alike.
    std::vector<std::uint64_t> line_bits = result.line_bits;
    std::uint64_t total = result.differing_bits;
    for (std::size_t line = 0; line < result.corrected_line_bits.size() && line < line_bits.size(); ++line) {
        line_bits[line] += result.corrected_line_bits[line];
        total += result.corrected_line_bits[line];
    }
    const wchar_t* which = total == result.differing_bits ? L"differing" : L"differing and ECC-corrected";
    if (total < 16 || line_bits.size() < 2) return {};
    std::vector<std::uint32_t> lines(line_bits.size());
    for (std::uint32_t line = 0; line < lines.size(); ++line) lines[line] = line;
    std::stable_sort(lines.begin(), lines.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return line_bits[a] > line_bits[b]; });
    const std::uint64_t top = line_bits[lines[0]];
    if (top * 5 >= total * 4)
        return Format(L"%I64u of %I64u %s bits are on IO%u: check its contacts", top, total, which, lines[0]);
    const std::uint64_t two = top + line_bits[lines[1]];
    if (two * 5 < total * 4) return {};
    return Format(L"%I64u of %I64u %s bits are on IO%u and IO%u: check their contacts", two, total, which,
                  std::min(lines[0], lines[1]), std::max(lines[0], lines[1]));
}

void Verify_Bank(Reader_Master& master, Bank_List& banks, const NAND_Config& config, const NAND_Options& options,
                 std::uint32_t bank, std::uint32_t reread, Verify_Result& result) {
    const std::wstring dump_path = master.Dump_Path(bank);
    // An old list never stays beside a bank that this run did not prove
    // different, whatever stops the run.
    const std::wstring diff_path = dump_path + L".diff";
    if (Path_Exists(diff_path)) Delete_File(diff_path);
    Check_Config_Geometry(config);
    if (options.Check_ID) master.Check_Bank_Chip(bank);
    Diff_File diff(diff_path, reread ? Format(L"verify --reread %u", reread) : std::wstring(L"verify"));
    // A hash to renew after mending is kept from the verify pass, up to the
    // first page that may change, so only the rest is hashed again.
    ZEKT_Sha256 hash;
    const bool hashed = reread && Path_Exists(dump_path + L".sha256");
    std::vector<Differing_Page> pages;
    std::unique_ptr<ZEKT_Progress> progress = banks.Start_Progress(bank);
    progress->Set_Status(L"Verify...");
    {
        ZEKT_MediaFileReadProtect dump(dump_path);
        Korvane_Internal::Korvane medium(bank, config, options);
        // A dump of another size is not this bank's, whatever its bytes say.
        if (dump.GetSize() != medium.GetSize()) throw Dump_Size_Error(dump_path, dump.GetSize(), medium.GetSize());
        const std::size_t kept_reads = config.Page ? Kept_Read_Bytes / config.Page : 0;
        result = Compare_Bank(medium, dump, config.Page, config.Bus == L"16" ? 16 : 8, *progress, reread != 0,
                              [&](std::uint64_t page, std::uint64_t bits, const std::uint8_t* read) {
                                  if (!reread) return diff.Add(page, bits, L"");
                                  pages.push_back({page, bits, {}});
                                  // Beyond the budget the page is read once more instead.
                                  const std::uint64_t length =
                                      std::min<std::uint64_t>(config.Page, medium.GetSize() - page * config.Page);
                                  if (pages.size() <= kept_reads) pages.back().read.assign(read, read + length);
                              },
                              hashed ? &hash : nullptr);
        result.reread = reread;
    }
    // The codewords an ECC pass mended over this dump show where bits go wrong too.
    if (Path_Exists(dump_path + L".ecc"))
        result.corrected_line_bits =
            Read_Ecc_Listing(dump_path + L".ecc", 0, config.Page, config.Bus == L"16" ? 16 : 8).line_bits;
    // The link is free again: the mending runs read one unit each.
    if (!pages.empty()) {
        progress->Set_Status(L"Mend...");
        Mend_Pages(bank, config, options, dump_path, pages, *progress, result, diff, hashed ? &hash : nullptr);
    }
    diff.Complete(result.line_bits);
    const bool mended = result.reread && result.mended_pages == result.differing_pages;
    if (result.differing_pages != 0 && !mended) throw ZEKT_Exception(Verify_Text(result));
    if (pages.empty()) return progress->Set_Status(Verify_Text(result));
    // The pass ended with "Mend..." and its speed; the row alone says the rest.
    progress.reset();
    banks.Set_Status(bank, Verify_Text(result));
}

void Undo_Bank(Reader_Master& master, Bank_List& banks, std::uint32_t bank) {
    const std::wstring dump_path = master.Dump_Path(bank);
    const std::uint64_t pages = Put_Back_Pages(dump_path);
    Delete_File(Undo_Path(dump_path));
    // The list says which pages were mended; none are now.
    if (Path_Exists(dump_path + L".diff")) Delete_File(dump_path + L".diff");
    if (Path_Exists(dump_path + L".sha256")) {
        ZEKT_Sha256 hash;
        Hash_From_Disk(hash, dump_path, 0, ZEKT_MediaFileReadProtect(dump_path).GetSize());
        Write_Hash_File(dump_path, hash);
    }
    banks.Set_Status(bank, Format(L"%I64u pages put back as they were before mending", pages));
}

}  // namespace Korvane_Exe
