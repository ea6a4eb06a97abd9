#include "dump/ecc_pass.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <thread>
#include <utility>

#include "framework/media.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

namespace KE = Korvane_Ecc;

// Pages move in chunks of about this many bytes: big enough to keep every
// core busy between two reads, small enough for flat memory.
constexpr std::size_t Chunk_Bytes = 8u << 20;
// A page with fewer bytes other than ff is erased, or nearly: it would fit
// any layout and tell the search nothing.
constexpr std::size_t Data_Page_Bytes = 64;

unsigned Worker_Count() { return std::clamp(std::thread::hardware_concurrency(), 1u, 16u); }

const char* Status_Name(KE::Codeword_Status status) {
    switch (status) {
        case KE::Codeword_Status::Clean: return "clean";
        case KE::Codeword_Status::Corrected: return "corrected";
        case KE::Codeword_Status::Uncorrectable: return "uncorrectable";
        case KE::Codeword_Status::Erased: return "erased";
    }
    return "";
}

// An output gathered into large writes, which takes its name only when
// complete (the framework's replacing file); a partial one never does.
class Staged_File {
public:
    explicit Staged_File(const std::wstring& file_path) : file(file_path) {}
    void Write(const void* bytes, std::size_t count) { file.Write(bytes, count); }
    void Put(const std::string& text) {
        buffer += text;
        if (buffer.size() >= 0x10000) Flush();
    }
    void Complete() {
        Flush();
        file.Commit();
    }

private:
    void Flush() {
        file.Write(buffer.data(), buffer.size());
        buffer.clear();
    }

    ZEKT_MediaFileReplace file;
    std::string buffer;
};

// What one worker found in its share of a chunk, in page order.
struct Share {
    std::vector<KE::Codeword_Report> reports;
    std::vector<std::pair<std::size_t, std::size_t>> pages;  // page in the chunk, its report count
    std::uint64_t codewords = 0;
    std::exception_ptr failure;
};

void Check_Share(const KE::Page_Codec& codec, std::uint8_t* chunk, std::size_t page_bytes,
                 const std::vector<std::uint8_t>& skip, std::size_t first, std::size_t end, bool mend, Share& share) {
    try {
        for (std::size_t page = first; page < end; ++page) {
            if (skip[page]) continue;
            const std::size_t before = share.reports.size();
            share.codewords += codec.Check_Page(chunk + page * page_bytes, mend, share.reports);
            if (share.reports.size() > before) share.pages.emplace_back(page, share.reports.size() - before);
        }
    } catch (...) {
        share.failure = std::current_exception();
    }
}

// "4101:3,4200:0": byte in the page and bit (0 least significant) of each flip.
std::string Positions_Text(const std::vector<std::uint32_t>& page_bits) {
    std::string text;
    for (const std::uint32_t bit : page_bits) {
        if (!text.empty()) text += ',';
        text += std::to_string(bit / 8) + ':' + std::to_string(bit % 8);
    }
    return text;
}

// A codeword's line of the list; none for an erased codeword without flips,
// which is counted, not listed.
std::string Report_Line(std::uint64_t page, const KE::Codeword_Report& report, std::uint32_t t) {
    if (report.status == KE::Codeword_Status::Erased && report.bits == 0) return {};
    const bool known = report.status != KE::Codeword_Status::Uncorrectable;
    return std::to_string(page) + '\t' + std::to_string(report.codeword) + '\t' + Status_Name(report.status) + '\t' +
           (known ? std::to_string(report.bits) : '>' + std::to_string(t)) + '\t' + Positions_Text(report.page_bits) +
           '\n';
}

void Count_Report(const KE::Codeword_Report& report, Ecc_Counts& counts) {
    switch (report.status) {
        case KE::Codeword_Status::Clean: return;
        case KE::Codeword_Status::Corrected:
            ++counts.corrected;
            counts.corrected_bits += report.bits;
            break;
        case KE::Codeword_Status::Uncorrectable: ++counts.uncorrectable; return;
        case KE::Codeword_Status::Erased:
            ++counts.erased;
            counts.erased_bits += report.bits;
            break;
    }
    if (report.bits >= 1 && report.bits <= counts.by_bits.size()) ++counts.by_bits[report.bits - 1];
}

// The lines of a UTF-8 file, one at a time, read a chunk at a time.
template <typename Line_Action>
void For_Each_Line(const std::wstring& path, Line_Action action) {
    ZEKT_MediaFileReadProtect file(path);
    std::uint64_t left = file.GetSize();
    std::string carry;
    std::vector<char> chunk(0x10000);
    while (left) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), left));
        file.Read(chunk.data(), n);
        left -= n;
        carry.append(chunk.data(), n);
        std::size_t start = 0;
        for (std::size_t end; (end = carry.find('\n', start)) != std::string::npos; start = end + 1)
            action(std::string_view(carry).substr(start, end - start));
        carry.erase(0, start);
    }
    if (!carry.empty()) action(std::string_view(carry));
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::uint64_t Number(std::string_view text) {
    if (text.empty() || text.size() > 19) throw ZEKT_Exception(L"");
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') throw ZEKT_Exception(L"");
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

}  // namespace

std::vector<std::vector<std::uint8_t>> Sample_Pages(const std::wstring& dump_path, const Map_Geometry& geometry,
                                                    std::size_t count) {
    ZEKT_MediaFileReadProtect dump(dump_path);
    const std::uint64_t pages = dump.GetSize() / geometry.page_bytes;
    std::vector<std::vector<std::uint8_t>> sampled;
    std::vector<std::uint8_t> page(geometry.page_bytes);
    // Four candidates for every page wanted: erased ones are passed over.
    const std::uint64_t candidates = std::min<std::uint64_t>(pages, 4 * count);
    for (std::uint64_t i = 0; i < candidates && sampled.size() < count; ++i) {
        dump.SetPos(i * pages / candidates * geometry.page_bytes);
        dump.Read(page.data(), page.size());
        if (static_cast<std::size_t>(page.size() - std::count(page.begin(), page.end(), 0xFF)) >= Data_Page_Bytes)
            sampled.push_back(page);
    }
    return sampled;
}

Korvane_Ecc::Search_Result Find_Dump_Layout(const std::wstring& dump_path, const Map_Geometry& geometry,
                                            std::size_t& sampled_pages) {
    const std::vector<std::vector<std::uint8_t>> pages = Sample_Pages(dump_path, geometry, 64);
    sampled_pages = pages.size();
    if (pages.empty()) throw ZEKT_Exception(L"No page holds data to find the ECC layout from in <" + dump_path + L">");
    return KE::Find_Layout(pages, geometry.data_bytes, geometry.page_bytes - geometry.data_bytes, Worker_Count());
}

Ecc_Counts Check_Dump(const std::wstring& dump_path, const Map_Geometry& geometry,
                      const Korvane_Ecc::Ecc_Layout& layout, bool fix, ZEKT_Progress& progress) {
    const KE::Page_Codec codec(layout, geometry.data_bytes, geometry.page_bytes - geometry.data_bytes);
    ZEKT_MediaFileReadProtect dump(dump_path);
    const std::uint64_t size = dump.GetSize(), page_bytes = geometry.page_bytes, pages = size / page_bytes;
    const std::uint64_t pages_per_block = geometry.block_bytes ? geometry.block_bytes / page_bytes : pages;
    const std::size_t marker = codec.Places().bad_block_offset;
    Ecc_Counts counts;
    counts.t = codec.Correctable_Bits();
    counts.by_bits.assign(counts.t, 0);

    Staged_File list(dump_path + L".ecc");
    std::unique_ptr<Staged_File> fixed = fix ? std::make_unique<Staged_File>(Fixed_Dump_Path(dump_path)) : nullptr;
    list.Put("# " + To_UTF8(KE::Layout_Text(layout)) + "\n");
    const std::size_t chunk_pages = std::max<std::size_t>(1, Chunk_Bytes / page_bytes);
    // Two chunks: the workers check one while this thread reads the next.
    struct Chunk {
        std::vector<std::uint8_t> bytes, skip;
        std::uint64_t first = 0;
        std::size_t pages = 0;
    };
    Chunk chunks[2];
    for (Chunk& chunk : chunks) {
        chunk.bytes.resize(chunk_pages * page_bytes);
        chunk.skip.resize(chunk_pages);
    }
    bool bad = false;  // the block under way is marked bad
    // Only a block's first page tells whether it is bad, so chunks load in page order.
    auto load = [&](Chunk& chunk, std::uint64_t first) {
        chunk.first = first;
        chunk.pages = static_cast<std::size_t>(std::min<std::uint64_t>(chunk_pages, pages - first));
        dump.Read(chunk.bytes.data(), chunk.pages * page_bytes);
        for (std::size_t page = 0; page < chunk.pages; ++page) {
            if (pages_per_block && (first + page) % pages_per_block == 0) {
                bad = chunk.bytes[page * page_bytes + marker] != 0xFF;
                counts.bad_blocks += bad;
            }
            chunk.skip[page] = bad;
        }
    };
    if (pages) load(chunks[0], 0);
    std::vector<Share> shares(Worker_Count());
    for (std::size_t current = 0; chunks[current].pages; current ^= 1) {
        Chunk& chunk = chunks[current];
        progress.Update(static_cast<std::int64_t>(chunk.first), static_cast<std::int64_t>(pages));
        progress.Check();
        std::vector<std::thread> workers;
        const std::size_t worker_count = std::min(shares.size(), chunk.pages);
        for (std::size_t w = 0; w < worker_count; ++w) {
            Share& share = shares[w];
            share.reports.clear();
            share.pages.clear();
            share.codewords = 0;
            share.failure = nullptr;
            const std::size_t from = chunk.pages * w / worker_count, to = chunk.pages * (w + 1) / worker_count;
            workers.emplace_back([&, from, to] {
                Check_Share(codec, chunk.bytes.data(), page_bytes, chunk.skip, from, to, fix, share);
            });
        }
        Chunk& next = chunks[current ^ 1];
        next.pages = 0;
        std::exception_ptr read_failure;
        try {
            if (chunk.first + chunk.pages < pages) load(next, chunk.first + chunk.pages);
        } catch (...) {
            // Passed on once the workers are done with the chunk they hold.
            read_failure = std::current_exception();
        }
        for (std::thread& worker : workers) worker.join();
        if (read_failure) std::rethrow_exception(read_failure);
        for (std::size_t w = 0; w < worker_count; ++w) {
            const Share& share = shares[w];
            if (share.failure) std::rethrow_exception(share.failure);
            counts.codewords += share.codewords;
            std::size_t at = 0;
            for (const auto& [page, reported] : share.pages) {
                for (std::size_t r = at; r < at + reported; ++r) {
                    const KE::Codeword_Report& report = share.reports[r];
                    Count_Report(report, counts);
                    list.Put(Report_Line(chunk.first + page, report, counts.t));
                }
                at += reported;
            }
        }
        if (fixed) fixed->Write(chunk.bytes.data(), chunk.pages * page_bytes);
    }
    counts.clean = counts.codewords - counts.corrected - counts.uncorrectable - counts.erased;
    if (fixed) {
        // Bytes after the last whole page are no codeword: copied as they are.
        const std::size_t rest = static_cast<std::size_t>(size - pages * page_bytes);
        dump.Read(chunks[0].bytes.data(), rest);
        fixed->Write(chunks[0].bytes.data(), rest);
        fixed->Complete();
    }
    list.Complete();
    return counts;
}

std::wstring Fixed_Dump_Path(const std::wstring& dump_path) {
    const std::wstring suffix = L".dump";
    const bool dump_name = dump_path.size() > suffix.size() && dump_path.ends_with(suffix);
    return (dump_name ? dump_path.substr(0, dump_path.size() - suffix.size()) : dump_path) + L".fixed.dump";
}

std::wstring Ecc_Text(const Ecc_Counts& counts) {
    return Format(L"ECC: %I64u codewords, %I64u clean, %I64u corrected (%I64u bits), %I64u uncorrectable, "
                  L"%I64u erased (%I64u bits), %I64u bad blocks",
                  counts.codewords, counts.clean, counts.corrected, counts.corrected_bits, counts.uncorrectable,
                  counts.erased, counts.erased_bits, counts.bad_blocks);
}

std::wstring Ecc_Bits_Text(const Ecc_Counts& counts) {
    std::wstring text = L"codewords with ";
    for (std::size_t k = 1; k <= counts.by_bits.size(); ++k)
        Append_Format(text, L"%s%I64u %s: %I64u", k > 1 ? L", " : L"", static_cast<std::uint64_t>(k),
                      k == 1 ? L"bit" : L"bits", counts.by_bits[k - 1]);
    return text;
}

std::wstring Search_Text(const Korvane_Ecc::Search_Result& result, std::size_t sampled_pages) {
    std::wstring text = Format(L"%s fits %.1f%% of the codewords of %I64u sampled pages",
                               KE::Layout_Text(result.layout), result.share * 100,
                               static_cast<std::uint64_t>(sampled_pages));
    if (result.has_runner_up)
        Append_Format(text, L"; runner-up: %s %.1f%%", KE::Layout_Text(result.runner_up),
                      result.runner_up_share * 100);
    return text;
}

Ecc_Listing Read_Ecc_Listing(const std::wstring& ecc_path, std::uint64_t pages_per_block, std::uint32_t page_bytes,
                             std::uint32_t data_lines) {
    Ecc_Listing listing;
    listing.line_bits.assign(data_lines, 0);
    bool header = true;
    For_Each_Line(ecc_path, [&](std::string_view line) {
        auto wrong = [&] {
            return ZEKT_Exception_DataCorrupt(L"Wrong ECC line <" + Visible_Text(From_UTF8(line)) + L"> in file <" +
                                              ecc_path + L">");
        };
        if (header) {
            header = false;
            if (!line.starts_with("# ")) throw wrong();
            listing.layout = KE::Parse_Layout(From_UTF8(line.substr(2)));
            listing.t = listing.layout.code == KE::Code_Kind::Hamming ? 1 : listing.layout.t;
            return;
        }
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.size() != 5) throw wrong();
        std::uint64_t page = 0, bits = 0;
        try {
            page = Number(fields[0]);
            Number(fields[1]);
            if (fields[2] != "uncorrectable") bits = Number(fields[3]);
        } catch (const ZEKT_Exception&) {
            throw wrong();
        }
        if (pages_per_block) {
            Ecc_Block& block = listing.blocks[page / pages_per_block];
            if (fields[2] == "uncorrectable")
                ++block.uncorrectable;
            else if (fields[2] == "corrected")
                ++block.corrected;
            else
                ++block.erased;
            if (fields[2] != "uncorrectable")
                block.worst_bits = std::max(block.worst_bits, static_cast<std::uint32_t>(bits));
        }
        if (fields[2] != "corrected" || listing.line_bits.empty()) return;
        listing.corrected_bits += bits;
        for (std::size_t start = 0; start < fields[4].size();) {
            const std::size_t comma = std::min(fields[4].find(',', start), fields[4].size());
            const std::string_view position = fields[4].substr(start, comma - start);
            const std::size_t colon = position.find(':');
            std::uint64_t byte = 0, bit = 0;
            try {
                if (colon == std::string_view::npos) throw ZEKT_Exception(L"");
                byte = Number(position.substr(0, colon));
                bit = Number(position.substr(colon + 1));
            } catch (const ZEKT_Exception&) {
                throw wrong();
            }
            if (bit > 7) throw wrong();
            // On a 16-bit bus odd bytes of the stream carry IO8-IO15.
            const bool high = data_lines == 16 && (page * page_bytes + byte) % 2;
            ++listing.line_bits[static_cast<std::size_t>(bit) + (high ? 8 : 0)];
            start = comma + 1;
        }
    });
    if (header) throw ZEKT_Exception_DataCorrupt(L"Empty ECC list <" + ecc_path + L">");
    return listing;
}

std::vector<Ecc_Page> Ecc_Pages_Above(const std::wstring& ecc_path, std::uint32_t above) {
    std::vector<Ecc_Page> pages;
    bool header = true;
    For_Each_Line(ecc_path, [&](std::string_view line) {
        if (std::exchange(header, false)) return;
        const std::vector<std::string_view> fields = Fields(line);
        Ecc_Page seen;
        try {
            if (fields.size() != 5) throw ZEKT_Exception(L"");
            seen.page = Number(fields[0]);
            seen.uncorrectable = fields[2] == "uncorrectable";  // one codeword per line
            if (!seen.uncorrectable) seen.worst_bits = static_cast<std::uint32_t>(Number(fields[3]));
        } catch (const ZEKT_Exception&) {
            throw ZEKT_Exception_DataCorrupt(L"Wrong ECC line <" + Visible_Text(From_UTF8(line)) + L"> in file <" +
                                              ecc_path + L">");
        }
        if (!seen.uncorrectable && seen.worst_bits <= above) return;
        // A page's codewords are listed together, in page order.
        if (!pages.empty() && pages.back().page == seen.page) {
            pages.back().uncorrectable += seen.uncorrectable;
            pages.back().worst_bits = std::max(pages.back().worst_bits, seen.worst_bits);
        } else {
            pages.push_back(seen);
        }
    });
    if (header) throw ZEKT_Exception_DataCorrupt(L"Empty ECC list <" + ecc_path + L">");
    return pages;
}

void Replace_Ecc_Pages(const std::wstring& ecc_path, std::uint32_t t, const std::vector<std::uint64_t>& pages,
                       const Page_Reports& reports_of) {
    Staged_File list(ecc_path);
    auto next = pages.begin();
    auto put = [&](std::uint64_t page) {
        for (const KE::Codeword_Report& report : reports_of(page)) list.Put(Report_Line(page, report, t));
    };
    bool header = true;
    For_Each_Line(ecc_path, [&](std::string_view line) {
        std::uint64_t page = 0;
        if (!std::exchange(header, false)) {
            try {
                page = Number(Fields(line)[0]);
            } catch (const ZEKT_Exception&) {
                throw ZEKT_Exception_DataCorrupt(L"Wrong ECC line <" + Visible_Text(From_UTF8(line)) +
                                                  L"> in file <" + ecc_path + L">");
            }
            for (; next != pages.end() && *next < page; ++next) put(*next);
            // The old lines of a page read again give way to its new ones.
            if (std::binary_search(pages.begin(), pages.end(), page)) {
                if (next != pages.end() && *next == page) put(*next++);
                return;
            }
        }
        list.Put(std::string(line) + '\n');
    });
    for (; next != pages.end(); ++next) put(*next);
    list.Complete();
}

}  // namespace Korvane_Exe
