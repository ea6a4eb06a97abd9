#include "dump/verify.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "dump/chip_operations.h"
#include "dump/dump_hashes.h"
#include "framework/media.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

constexpr std::size_t Chunk_Bytes = 0x20000;
// The bank's reads of differing pages kept for the majority; a page beyond
// this is read once more instead, so memory stays bounded.
constexpr std::size_t Kept_Read_Bytes = 16u << 20;

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

// The list of differing pages, written as it grows; created at the first
// line, removed again unless the comparison completes.
class Diff_File {
public:
    // Unless completed, the list never takes its name: a partial one would mislead.
    explicit Diff_File(const std::wstring& file_path) : path(file_path) {}
    void Add(std::uint64_t page, std::uint64_t bits, const std::wstring& verdict) {
        if (!file) {
            file = std::make_unique<ZEKT_MediaFileReplace>(path);
            Put(L"\xFEFF");
        }
        Put(Format(L"%I64u %I64u", page, bits) + (verdict.empty() ? L"" : L" " + verdict) + L"\r\n");
    }
    // The counts per data line close the list; their lines start with a letter.
    void Complete(const std::vector<std::uint64_t>& line_bits) {
        if (file)
            for (std::size_t line = 0; line < line_bits.size(); ++line)
                Put(Format(L"IO%u %I64u\r\n", static_cast<std::uint32_t>(line), line_bits[line]));
        if (file) file->Commit();
    }

private:
    void Put(const std::wstring& text) {
        const std::vector<unsigned char> bytes = To_UTF16LE_Bytes(text);
        file->Write(bytes.data(), bytes.size());
    }

    std::wstring path;
    std::unique_ptr<ZEKT_MediaFileReplace> file;
};

struct Differing_Page {
    std::uint64_t page;
    std::uint64_t bits;
    std::vector<std::uint8_t> read;  // the verify read of it; empty when not kept
};

void Count_Ones(const std::uint8_t* bytes, std::size_t count, std::vector<std::uint8_t>& ones) {
    for (std::size_t i = 0; i < count; ++i)
        for (unsigned bit = 0; bit < 8; ++bit) ones[i * 8 + bit] += bytes[i] >> bit & 1;
}

// Reads every differing page `reread` times more, reading only its unit's
// rows, and writes the bitwise majority of the dump, the verify read and
// those reads back into the dump. A bit is unsure on a tie (it keeps the
// dump's value) or when fewer than two thirds of the reads agree.
void Mend_Pages(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                const std::wstring& dump_path, const std::vector<Differing_Page>& pages, ZEKT_Progress& progress,
                Verify_Result& result, Diff_File& diff) {
    auto dump = std::make_unique<ZEKT_MediaFileUpdate>(dump_path);
    const std::uint64_t total = dump->GetSize();
    const std::uint64_t unit_bytes = std::uint64_t{config.Page} * (config.Is_Triple_Page() ? 3 : 1);
    std::vector<std::uint8_t> stored(config.Page), mended(config.Page), unit(static_cast<std::size_t>(unit_bytes));
    std::vector<std::uint8_t> ones(std::size_t{config.Page} * 8);
    const std::wstring hash_path = dump_path + L".sha256";
    const bool hashed = Exists(hash_path);
    bool changed = false;
    for (std::size_t index = 0; index < pages.size(); ++index) {
        progress.Update(static_cast<std::int64_t>(index), static_cast<std::int64_t>(pages.size()));
        progress.Check();
        const Differing_Page& page = pages[index];
        const std::uint64_t offset = page.page * config.Page;
        const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(config.Page, total - offset));
        dump->SetPos(offset);
        dump->Read(stored.data(), length);
        std::fill(ones.begin(), ones.end(), 0);
        Count_Ones(stored.data(), length, ones);
        if (!page.read.empty()) Count_Ones(page.read.data(), length, ones);
        const std::uint32_t reads = 2 + result.reread;
        const std::uint64_t unit_start = offset / unit_bytes * unit_bytes;
        for (std::uint32_t more = page.read.empty() ? 0 : 1; more < reads - 1; ++more) {
            Korvane_Internal::Korvane medium(bank, config, options, unit_start, unit_start + unit_bytes);
            medium.Read(unit.data(), medium.GetSize());
            Count_Ones(unit.data() + (offset - unit_start), length, ones);
        }
        std::uint64_t unsure = 0;
        for (std::size_t bit = 0; bit < length * 8; ++bit) {
            const std::uint32_t set = ones[bit], agree = std::max(set, reads - set);
            const bool one = set * 2 == reads ? (stored[bit / 8] >> bit % 8 & 1) : set * 2 > reads;
            if (set * 2 == reads || agree * 3 < reads * 2) ++unsure;
            if (bit % 8 == 0) mended[bit / 8] = 0;
            mended[bit / 8] |= static_cast<std::uint8_t>(one << bit % 8);
        }
        if (std::memcmp(mended.data(), stored.data(), length) != 0) {
            // A hash of the old bytes must never stay beside the new ones.
            if (!changed && hashed) Delete_File(hash_path);
            changed = true;
            dump->SetPos(offset);
            dump->Write(mended.data(), length);
        }
        if (unsure == 0) ++result.mended_pages;
        result.unsure_bits += unsure;
        diff.Add(page.page, page.bits, unsure ? Format(L"unsure %I64u", unsure) : L"mended");
    }
    dump.reset();  // the hash reads the file under a lock of its own
    if (changed && hashed) {
        Dump_Hashes hashes;
        hashes.Bank_Started();
        Watch_From_Disk(hashes, dump_path, total);
        hashes.Bank_Done();
    }
}

}  // namespace

Verify_Result Compare_Bank(ZEKT_Media& bank, ZEKT_Media& dump, std::uint32_t page_bytes, std::uint32_t data_lines,
                           ZEKT_Progress& progress, bool pass_pages, const Differing_Page_Sink& differs) {
    if (page_bytes == 0) throw ZEKT_Exception(L"Can't divide a bank into pages of <0> bytes");
    const std::uint64_t total = bank.GetSize();
    Verify_Result result;
    result.pages = (total + page_bytes - 1) / page_bytes;
    result.line_bits.assign(data_lines, 0);
    std::vector<std::uint8_t> read(Chunk_Bytes), stored(Chunk_Bytes), page_read(pass_pages ? page_bytes : 0);
    std::uint64_t page_bits = 0;  // of the page under way, which may straddle two chunks
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
            if (std::memcmp(read.data() + i, stored.data() + i, span) != 0)
                page_bits += Count_Differing_Bits(read.data() + i, stored.data() + i, span, pos + i, result.line_bits);
            i += span;
            if (pos + i < page_end || page_bits == 0) continue;
            if (result.differing_pages++ == 0) result.first_page = page;
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
    return text;
}

std::wstring Data_Line_Hint(const Verify_Result& result) {
    if (result.differing_bits < 16 || result.line_bits.size() < 2) return {};
    std::vector<std::uint32_t> lines(result.line_bits.size());
    for (std::uint32_t line = 0; line < lines.size(); ++line) lines[line] = line;
    std::stable_sort(lines.begin(), lines.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return result.line_bits[a] > result.line_bits[b]; });
    const std::uint64_t total = result.differing_bits, top = result.line_bits[lines[0]];
    if (top * 5 >= total * 4)
        return Format(L"%I64u of %I64u differing bits are on IO%u: check its contacts", top, total, lines[0]);
    const std::uint64_t two = top + result.line_bits[lines[1]];
    if (two * 5 < total * 4) return {};
    return Format(L"%I64u of %I64u differing bits are on IO%u and IO%u: check their contacts", two, total,
                  std::min(lines[0], lines[1]), std::max(lines[0], lines[1]));
}

void Verify_Bank(Reader_Master& master, Bank_List& banks, const NAND_Config& config, const NAND_Options& options,
                 std::uint32_t bank, std::uint32_t reread, Verify_Result& result) {
    const std::wstring dump_path = master.Dump_Path(bank);
    // An old list never stays beside a bank that this run did not prove
    // different, whatever stops the run.
    const std::wstring diff_path = dump_path + L".diff";
    if (Exists(diff_path)) Delete_File(diff_path);
    if (options.Check_ID) master.Check_Bank_ID(bank);
    Diff_File diff(diff_path);
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
                              });
        result.reread = reread;
    }
    // The link is free again: the mending runs read one unit each.
    if (!pages.empty()) {
        progress->Set_Status(L"Mend...");
        Mend_Pages(bank, config, options, dump_path, pages, *progress, result, diff);
    }
    diff.Complete(result.line_bits);
    const bool mended = result.reread && result.mended_pages == result.differing_pages;
    if (result.differing_pages != 0 && !mended) throw ZEKT_Exception(Verify_Text(result));
    if (pages.empty()) return progress->Set_Status(Verify_Text(result));
    // The pass ended with "Mend..." and its speed; the row alone says the rest.
    progress.reset();
    banks.Set_Status(bank, Verify_Text(result));
}

}  // namespace Korvane_Exe
