#include "dump/verify.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <exception>
#include <future>
#include <utility>
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
// The verify pass's reads of differing pages, counted against the dump and
// kept for the majority; a page beyond this is read once more instead, so
// memory stays bounded.
constexpr std::size_t Kept_Vote_Bytes = 16u << 20;
// Differing pages whose reads are counted at once, by the most that takes:
// a share of them, and the dump's bytes of it and of the share before.
constexpr std::size_t Vote_Bytes = 48u << 20;
// Clean bytes between two differing units that a reading run reads through
// rather than opening another run: a run costs an upload and a program,
// 1.25 MB on the wire, about what streaming 1 MiB of pages costs the reader.
constexpr std::uint64_t Gap_Bytes = 1u << 20;

// Adds each bit in which `a` and `b` differ to its data line; `offset` is
// the stream position of a[0] (on a 16-bit bus odd bytes carry IO8-IO15).
// `words`, when given, gets the differing 64-bit words of the page that
// starts at stream position `page_start`: pairs of word index and
// difference, bit i of the page's byte 8w + j at 8j + i.
std::uint64_t Count_Differing_Bits(const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                                   std::uint64_t offset, std::vector<std::uint64_t>& lines,
                                   std::vector<std::uint64_t>* words, std::uint64_t page_start) {
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
            if (!differ) continue;
            bits += static_cast<std::uint64_t>(std::popcount(differ));
            const std::size_t base = lines.size() == 16 && (offset + i) % 2 ? 8 : 0;
            for (unsigned line = 0; line < 8; ++line) lines[base + line] += differ >> line & 1;
            if (!words) continue;
            const std::uint64_t at = offset + i - page_start, w = at / 8;
            const std::uint64_t difference = std::uint64_t{differ} << (8 * (at % 8));
            if (!words->empty() && (*words)[words->size() - 2] == w)
                words->back() |= difference;
            else
                words->insert(words->end(), {w, difference});
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

// Two 64-bit words at once, where the processor has wide registers.
using Wide = std::uint64_t __attribute__((vector_size(16)));

// Buffers that counting a read needs, kept from page to page.
struct Vote_Scratch {
    std::vector<std::uint64_t> differing, merged;
};

// The fresh reads of one page counted against the dump's bytes. Most bits
// read as the dump holds them every time, so only the 64-bit words that
// some read gave otherwise are kept, in ascending order: per word its
// index, then, bit-sliced, how many reads differed from the dump in each
// bit (plane p holds bit p of every count).
class Page_Votes {
public:
    explicit Page_Votes(std::uint32_t fresh_reads) : planes(std::bit_width(fresh_reads)) {}

    // Bits 64w to 64w+63 of `length` bytes, bit i of byte j at 8j + i.
    static std::uint64_t Word(const std::uint8_t* bytes, std::size_t w, std::size_t length) {
        std::uint64_t word = 0;
        if (std::endian::native == std::endian::little && w * 8 + 8 <= length) {
            std::memcpy(&word, bytes + w * 8, 8);
            return word;
        }
        for (std::size_t j = 0; j < 8 && w * 8 + j < length; ++j) word |= std::uint64_t{bytes[w * 8 + j]} << (8 * j);
        return word;
    }

    // Counts one fresh read. `scratch` is lent by the caller, so that pages
    // counted one after another share their buffers.
    void Add(const std::uint8_t* read, const std::uint8_t* stored, std::size_t length, Vote_Scratch& scratch) {
        // The words this read gives otherwise than the dump: index, difference.
        std::vector<std::uint64_t>& differing = scratch.differing;
        differing.clear();
        const std::size_t blocks = length / 64, words = (length + 7) / 8;
        auto difference = [&](std::size_t w) {
            std::uint64_t a, b;
            std::memcpy(&a, read + w * 8, 8);
            std::memcpy(&b, stored + w * 8, 8);
            return std::endian::native == std::endian::little ? a ^ b
                                                              : Word(read, w, length) ^ Word(stored, w, length);
        };
        for (std::size_t group = 0; group < blocks; group += 64) {
            // Which of up to 64 blocks of 64 bytes differ, found without a
            // branch per block: most are equal, and the rest fall at random.
            std::uint64_t differ = 0;
            const std::size_t end = std::min(blocks, group + 64);
            for (std::size_t block = group; block < end; ++block) {
                Wide any{};
                for (std::size_t k = 0; k < 64; k += sizeof(Wide)) {
                    Wide a, b;
                    std::memcpy(&a, read + block * 64 + k, sizeof(Wide));
                    std::memcpy(&b, stored + block * 64 + k, sizeof(Wide));
                    any |= a ^ b;
                }
                differ |= std::uint64_t{(any[0] | any[1]) != 0} << (block - group);
            }
            for (; differ; differ &= differ - 1) {
                const std::size_t block = group + static_cast<std::size_t>(std::countr_zero(differ));
                for (std::size_t w = block * 8; w < block * 8 + 8; ++w)
                    if (const std::uint64_t x = difference(w)) differing.insert(differing.end(), {w, x});
            }
        }
        for (std::size_t w = blocks * 8; w < words; ++w)
            if (const std::uint64_t x = Word(read, w, length) ^ Word(stored, w, length)) {
                differing.push_back(w);
                differing.push_back(x);
            }
        Add(differing, scratch);
    }

    // Counts one fresh read given as the words it gives otherwise than the
    // dump: pairs of index and difference, in ascending order.
    void Add(const std::vector<std::uint64_t>& differing, Vote_Scratch& scratch) {
        ++fresh;
        if (differing.empty()) return;
        // Merged into the counts, both in ascending word order.
        const std::size_t stride = 1 + planes;
        std::vector<std::uint64_t>& merged = scratch.merged;
        merged.resize(entries.size() + differing.size() / 2 * stride);
        std::uint64_t* out = merged.data();
        const std::uint64_t *kept = entries.data(), *kept_end = kept + entries.size();
        for (std::size_t i = 0; i < differing.size(); i += 2) {
            const std::uint64_t w = differing[i];
            // The counted words before this one go across in one copy.
            const std::uint64_t* from = kept;
            while (kept != kept_end && *kept < w) kept += stride;
            out = std::copy(from, kept, out);
            if (kept != kept_end && *kept == w) {
                std::copy_n(kept, stride, out);
                kept += stride;
            } else {
                out[0] = w;
                std::fill_n(out + 1, planes, 0);
            }
            // A ripple-carry add of one to the counts of the differing bits.
            std::uint64_t carry = differing[i + 1];
            for (std::size_t p = 1; carry && p < stride; ++p) {
                const std::uint64_t next = out[p] & carry;
                out[p] ^= carry;
                carry = next;
            }
            out += stride;
        }
        out = std::copy(kept, kept_end, out);
        merged.resize(static_cast<std::size_t>(out - merged.data()));
        entries.swap(merged);
    }

    // True when every fresh read gave the same bytes: each counted bit
    // differed from the dump in all of them.
    bool Alike() const {
        for (std::size_t e = 0; e < entries.size(); e += 1 + planes) {
            std::uint64_t all = ~std::uint64_t{0}, any = 0;
            for (std::uint32_t p = 0; p < planes; ++p) {
                const std::uint64_t plane = entries[e + 1 + p];
                all &= fresh >> p & 1 ? plane : ~plane;
                any |= plane;
            }
            if (any & ~all) return false;
        }
        return true;
    }

    // The bitwise majority of the dump's `bytes` and the fresh reads, as the
    // words that change: index and new value, pairs appended to `changes`.
    // Returns the unsure bits: a tie keeps the dump's value, and fewer than
    // two thirds agreeing is unsure too.
    std::uint64_t Vote(const std::uint8_t* bytes, std::size_t length, std::vector<std::uint64_t>& changes) const {
        const std::uint32_t reads = fresh + 1;
        std::uint64_t unsure = 0;
        for (std::size_t e = 0; e < entries.size(); e += 1 + planes) {
            const auto w = static_cast<std::size_t>(entries[e]);
            const std::uint64_t old = Word(bytes, w, length);
            std::uint64_t word = old, mixed = 0;
            for (std::uint32_t p = 0; p < planes; ++p) mixed |= entries[e + 1 + p];
            for (; mixed; mixed &= mixed - 1) {
                const auto b = static_cast<unsigned>(std::countr_zero(mixed));
                std::uint32_t differ = 0;
                for (std::uint32_t p = 0; p < planes; ++p)
                    differ |= static_cast<std::uint32_t>(entries[e + 1 + p] >> b & 1) << p;
                const std::uint32_t set = (old >> b & 1) ? reads - differ : differ;
                const std::uint32_t agree = std::max(set, reads - set);
                const bool one = set * 2 == reads ? (old >> b & 1) : set * 2 > reads;
                if (set * 2 == reads || agree * 3 < reads * 2) ++unsure;
                word = (word & ~(std::uint64_t{1} << b)) | std::uint64_t{one} << b;
            }
            if (word != old) changes.insert(changes.end(), {w, word});
        }
        return unsure;
    }

    std::size_t Bytes() const { return entries.size() * sizeof(std::uint64_t); }
    // The most a page of `page_bytes` can take: every word differing.
    static std::size_t Most_Bytes(std::size_t page_bytes, std::uint32_t fresh_reads) {
        return (page_bytes / 8 + 1) * (1 + std::bit_width(fresh_reads)) * sizeof(std::uint64_t);
    }

    std::uint32_t fresh = 0;  // fresh reads counted

private:
    std::uint32_t planes;
    std::vector<std::uint64_t> entries;
};

struct Differing_Page {
    std::uint64_t page;
    std::uint64_t bits;
    Page_Votes votes;  // the verify read counted, when it was kept
};

// Every replaced page goes to the dump in as few writes as neighbouring
// pages allow.
class Page_Writer {
public:
    Page_Writer(ZEKT_Media& dump_file, std::uint32_t page_bytes) : dump(dump_file), page(page_bytes) {}
    // `bytes` stays valid until Flush.
    void Put(std::uint64_t number, const std::uint8_t* bytes, std::size_t length) {
        if (count && (number != first + pages || from + count != bytes)) Flush();
        if (!count) first = number, from = bytes, pages = 0;
        count += length;
        ++pages;
    }
    void Flush() {
        if (!count) return;
        dump.SetPos(first * page);
        dump.Write(from, count);
        count = 0;
    }

private:
    ZEKT_Media& dump;
    std::uint32_t page;
    std::uint64_t first = 0, pages = 0;
    const std::uint8_t* from = nullptr;
    std::size_t count = 0;
};

// A share of the differing pages while it is mended: the dump's bytes of
// them and, once settled, what became of each.
struct Share {
    // What the votes of a page came to, found while its bytes are at hand.
    struct Outcome {
        bool alike = false;        // every fresh read gave the same bytes
        std::uint64_t unsure = 0;  // bits
        std::size_t changes_end = 0;  // its words to change end here in `changes`
    };
    std::size_t first = 0, last = 0;  // indices into the differing pages
    std::vector<std::uint8_t> bytes;
    std::vector<Outcome> outcomes;
    std::vector<std::uint64_t> changes;  // pairs of word index and new value, page after page
    std::vector<std::wstring> verdicts;
    std::vector<bool> replaced;
};

// Reads every differing page `reread` times more, grouped as
// Read_Pages_Grouped groups them, a share of the pages at a time so that
// memory stays bounded. A page whose fresh reads (the verify read and
// these) all agree was misread the same way every time, or the dump is not
// this chip's: it is left as it is. Otherwise the page is flaky and becomes
// the bitwise majority of the dump and all fresh reads. A page is voted as
// its last read comes in; its old bytes go to the undo file before it is
// replaced, and the list names it once the dump holds it. While one share
// is read again, a thread of its own puts the share before it into the
// undo file and the dump, and reads the dump's bytes of the next.
// `hash`, when given, holds the dump's hash up to the first differing page;
// the ".sha256" goes at the first replaced page and comes back at the end.
void Mend_Pages(std::uint32_t bank, const NAND_Config& config, const NAND_Options& options,
                const std::wstring& dump_path, std::vector<Differing_Page>& pages, ZEKT_Progress& progress,
                Verify_Result& result, Diff_File& diff, ZEKT_Sha256* hash) {
    auto dump = std::make_unique<ZEKT_MediaFileUpdate>(dump_path);
    const std::uint64_t total = dump->GetSize();
    Undo_File undo(dump_path, config.Page, total);
    const std::uint32_t fresh_reads = result.reread + 1;
    const std::size_t page_bytes = config.Page;
    // Two shares' bytes and the most the votes can take, per page.
    const std::size_t share_pages =
        std::max<std::size_t>(1, Vote_Bytes / (2 * page_bytes + Page_Votes::Most_Bytes(page_bytes, fresh_reads)));
    std::uint64_t reads_done = 0, reads_total = 0;
    for (const Differing_Page& page : pages) reads_total += fresh_reads - page.votes.fresh;
    const std::wstring hash_path = dump_path + L".sha256";
    bool changed = false;
    auto length_of = [&](std::uint64_t number) {
        return static_cast<std::size_t>(std::min<std::uint64_t>(page_bytes, total - number * page_bytes));
    };
    auto load = [&](Share& share, std::size_t first) {
        share.first = first;
        share.last = std::min(pages.size(), first + share_pages);
        share.bytes.resize((share.last - first) * page_bytes);
        share.outcomes.assign(share.last - first, Share::Outcome());
        share.changes.clear();
        share.verdicts.assign(share.last - first, std::wstring());
        share.replaced.assign(share.last - first, false);
        for (std::size_t i = first; i < share.last;) {
            // Neighbouring pages are read in one go.
            std::size_t j = i + 1;
            while (j < share.last && pages[j].page == pages[j - 1].page + 1) ++j;
            dump->SetPos(pages[i].page * page_bytes);
            dump->Read(share.bytes.data() + (i - first) * page_bytes,
                       (j - i - 1) * page_bytes + length_of(pages[j - 1].page));
            i = j;
        }
    };
    auto store = [&](const Share& share) {
        Page_Writer writer(*dump, config.Page);
        for (std::size_t i = share.first; i < share.last; ++i)
            if (share.replaced[i - share.first])
                writer.Put(pages[i].page, share.bytes.data() + (i - share.first) * page_bytes, length_of(pages[i].page));
        writer.Flush();
    };
    auto list = [&](std::size_t first, const std::vector<std::wstring>& verdicts) {
        for (std::size_t i = 0; i < verdicts.size(); ++i) diff.Add(pages[first + i].page, pages[first + i].bits, verdicts[i]);
    };

    Vote_Scratch scratch;
    std::vector<Undo_Span> spans;
    // An outcome's `unsure` for pages read alike every time, but not as the dump holds them.
    constexpr std::uint64_t Steady = ~std::uint64_t{0};
    // A page as its last read is counted, while its bytes are at hand: the vote.
    auto vote = [&](Share& share, std::size_t i) {
        Differing_Page& page = pages[i];
        const Page_Votes votes = std::exchange(page.votes, Page_Votes(fresh_reads));
        Share::Outcome& outcome = share.outcomes[i - share.first];
        outcome.alike = votes.Alike();
        // When the reads agree, no vote may overrule them, nor they the dump.
        if (!outcome.alike)
            outcome.unsure = votes.Vote(share.bytes.data() + (i - share.first) * page_bytes, length_of(page.page),
                                        share.changes);
        outcome.changes_end = share.changes.size();
        if (outcome.alike && votes.Bytes() != 0) outcome.unsure = Steady;
    };
    // A voted page: its old bytes to the undo file, then the new ones in place.
    auto settle = [&](Share& share, std::size_t i) {
        Differing_Page& page = pages[i];
        std::uint8_t* bytes = share.bytes.data() + (i - share.first) * page_bytes;
        const std::size_t length = length_of(page.page);
        const Share::Outcome& outcome = share.outcomes[i - share.first];
        std::wstring& verdict = share.verdicts[i - share.first];
        if (outcome.alike) {
            const bool steady = outcome.unsure == Steady;
            result.mended_pages += !steady;
            result.steady_pages += steady;
            verdict = steady ? L"not mended" : L"mended";
            return;
        }
        const std::size_t from = i == share.first ? 0 : share.outcomes[i - share.first - 1].changes_end;
        const std::size_t to = outcome.changes_end;
        if (from != to) {
            spans.clear();
            for (std::size_t c = from; c < to; c += 2) {
                const auto offset = static_cast<std::uint32_t>(share.changes[c] * 8);
                const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(8, length - offset));
                if (!spans.empty() && spans.back().offset + spans.back().length == offset)
                    spans.back().length += count;
                else
                    spans.push_back({offset, count});
            }
            undo.Save(page.page, bytes, length, spans);
            // A hash of the old bytes must never stay beside the new ones.
            if (!changed && hash) Delete_File(hash_path);
            changed = true;
            diff.Replacing();
            for (std::size_t c = from; c < to; c += 2)
                for (std::size_t j = 0; j < 8 && share.changes[c] * 8 + j < length; ++j)
                    bytes[share.changes[c] * 8 + j] = static_cast<std::uint8_t>(share.changes[c + 1] >> (8 * j));
            share.replaced[i - share.first] = true;
        }
        if (outcome.unsure == 0) ++result.mended_pages;
        result.unsure_bits += outcome.unsure;
        verdict = outcome.unsure ? Format(L"unsure %I64u", outcome.unsure) : L"mended";
    };
    std::vector<std::uint64_t> numbers;
    std::vector<std::size_t> which;
    auto read_again = [&](Share& share) {
        for (std::uint32_t round = 1; round <= fresh_reads; ++round) {
            numbers.clear();
            which.clear();
            for (std::size_t i = share.first; i < share.last; ++i)
                if (pages[i].votes.fresh < round) numbers.push_back(pages[i].page), which.push_back(i);
            Read_Pages_Grouped(bank, config, options, total, numbers, progress,
                               [&](std::size_t index, const std::uint8_t* bytes) {
                                   progress.Update(static_cast<std::int64_t>(reads_done),
                                                   static_cast<std::int64_t>(reads_total));
                                   const std::size_t i = which[index];
                                   pages[i].votes.Add(bytes, share.bytes.data() + (i - share.first) * page_bytes,
                                                      length_of(pages[i].page), scratch);
                                   ++reads_done;
                                   if (round == fresh_reads) vote(share, i);
                               });
        }
    };
    // Settles a share that has all its reads and writes it: old bytes go
    // to the undo file first.
    auto mend = [&](Share& share) {
        for (std::size_t i = share.first; i < share.last; ++i) settle(share, i);
        undo.Flush();
        store(share);
    };

    Share current, other;  // `other`: the share before, then the one after
    load(current, 0);
    bool have_before = false;
    for (;;) {
        // While this share is read again, a thread of its own settles and
        // writes the one before and reads the dump's bytes of the one after.
        const std::size_t after = current.last;
        const std::size_t before_first = other.first;
        std::vector<std::wstring> before_verdicts;
        bool before_mended = !have_before;
        std::future<void> files = std::async(std::launch::async, [&, mend_before = have_before] {
            if (mend_before) {
                mend(other);
                before_verdicts = std::move(other.verdicts);
            }
            before_mended = true;
            if (after < pages.size()) load(other, after);
        });
        // The share before is listed once the dump holds it.
        auto join = [&] {
            std::exception_ptr error;
            try {
                files.get();
            } catch (...) {
                error = std::current_exception();
            }
            if (before_mended) list(before_first, before_verdicts);
            if (error) std::rethrow_exception(error);
        };
        try {
            read_again(current);
        } catch (...) {
            // Clean-up while an error passes: what reached the dump stays on record.
            try {
                join();
            } catch (...) {
            }
            throw;
        }
        join();
        have_before = true;
        std::swap(current, other);
        if (after >= pages.size()) break;
    }
    mend(other);
    list(other.first, other.verdicts);
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
                           ZEKT_Progress& progress, bool pass_words, const Differing_Page_Sink& differs,
                           ZEKT_Sha256* prefix_hash) {
    if (page_bytes == 0) throw ZEKT_Exception(L"Can't divide a bank into pages of <0> bytes");
    const std::uint64_t total = bank.GetSize();
    Verify_Result result;
    result.pages = (total + page_bytes - 1) / page_bytes;
    result.line_bits.assign(data_lines, 0);
    std::vector<std::uint8_t> read(Chunk_Bytes), stored(Chunk_Bytes);
    std::uint64_t page_bits = 0;  // of the page under way, which may straddle two chunks
    std::vector<std::uint64_t> words;  // its differing words, when they are passed on
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
            if (prefix_hash) {
                if (pos + i == page * page_bytes) page_start_hash = *prefix_hash;
                prefix_hash->Update(stored.data() + i, span);
            }
            if (std::memcmp(read.data() + i, stored.data() + i, span) != 0)
                page_bits += Count_Differing_Bits(read.data() + i, stored.data() + i, span, pos + i, result.line_bits,
                                                  pass_words ? &words : nullptr, page * page_bytes);
            i += span;
            if (pos + i < page_end || page_bits == 0) continue;
            if (result.differing_pages++ == 0) result.first_page = page;
            // The hash stops before the first differing page: it may change.
            if (prefix_hash) *prefix_hash = page_start_hash, prefix_hash = nullptr;
            result.differing_bits += page_bits;
            differs(page, page_bits, words);
            page_bits = 0;
            words.clear();
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
        std::size_t kept_bytes = 0;
        Vote_Scratch scratch;
        result = Compare_Bank(medium, dump, config.Page, config.Bus == L"16" ? 16 : 8, *progress, reread != 0,
                              [&](std::uint64_t page, std::uint64_t bits, const std::vector<std::uint64_t>& words) {
                                  if (!reread) return diff.Add(page, bits, L"");
                                  Page_Votes votes(reread + 1);
                                  votes.Add(words, scratch);
                                  // Beyond the budget the page is read once more instead.
                                  if (kept_bytes + votes.Bytes() > Kept_Vote_Bytes) votes = Page_Votes(reread + 1);
                                  kept_bytes += votes.Bytes();
                                  pages.push_back({page, bits, std::move(votes)});
                              },
                              hashed ? &hash : nullptr);
        result.reread = reread;
    }
    // The codewords an ECC pass mended over this dump show where bits go wrong too.
    if (Path_Exists(dump_path + L".ecc"))
        result.corrected_line_bits =
            Read_Ecc_Listing(dump_path + L".ecc", 0, config.Page, config.Bus == L"16" ? 16 : 8).line_bits;
    // The link is free again: the mending runs read one unit each.
    if (!pages.empty()) {progress->Set_Status(L"Mend...");
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
