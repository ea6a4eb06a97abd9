#include "dump/image.h"

#include <algorithm>
#include <cstring>
#include <array>
#include <exception>
#include <future>
#include <memory>
#include <thread>

#include "ecc/codec.h"
#include "framework/media.h"
#include "framework/sha256.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

// Pages are read, mended and written about this many bytes at a time.
constexpr std::uint64_t Chunk_Bytes = 0x400000;
// Uncorrectable codewords named in the bank's row; standard error has them all.
constexpr std::size_t Row_Listed = 8;
// The first line of an ECC report is looked for in this many bytes.
constexpr std::uint64_t Header_Bytes = 0x1000;

// Bytes gathered into whole writes of a fixed buffer. The hash of one
// buffer runs on a thread of its own while the next one fills.
class Out_Buffer {
public:
    Out_Buffer(ZEKT_MediaFileReplace& target, std::size_t capacity, ZEKT_Sha256* sha) : file(target), hash(sha) {
        for (std::vector<std::uint8_t>& buffer : buffers) buffer.resize(capacity);
    }
    ~Out_Buffer() {
        if (hashing.valid()) hashing.wait();
    }
    void Put(const std::uint8_t* from, std::size_t count) {
        if (used + count > buffers[current].size()) Flush();
        std::memcpy(buffers[current].data() + used, from, count);
        used += count;
    }
    // Writes what is gathered; Finish also waits for the hash of it.
    void Flush() {
        if (used == 0) return;
        file.Write(buffers[current].data(), used);
        if (hash) {
            if (hashing.valid()) hashing.get();
            hashing = std::async(std::launch::async, [this, bytes = buffers[current].data(), count = used]() {
                hash->Update(bytes, count);
            });
            current ^= 1;
        }
        used = 0;
    }
    void Finish() {
        Flush();
        if (hashing.valid()) hashing.get();
    }

private:
    ZEKT_MediaFileReplace& file;
    std::array<std::vector<std::uint8_t>, 2> buffers;
    std::size_t current = 0, used = 0;
    ZEKT_Sha256* hash;
    std::future<void> hashing;
};

struct Page_Reports {
    std::size_t page = 0;  // in the chunk
    Korvane_Ecc::Codeword_Report report;
};

// Mends the pages of the chunk that `mend` marks, split into one run of
// pages per thread; the reports come back in page order.
std::vector<Page_Reports> Mend_Pages(const Korvane_Ecc::Page_Codec& codec, std::uint8_t* pages,
                                     std::size_t page_bytes, const std::vector<char>& mend, unsigned threads) {
    const std::size_t count = mend.size();
    const std::size_t workers = std::max<std::size_t>(1, std::min<std::size_t>(threads, count));
    std::vector<std::vector<Page_Reports>> found(workers);
    std::vector<std::exception_ptr> failed(workers);
    auto run = [&](std::size_t worker) {
        try {
            std::vector<Korvane_Ecc::Codeword_Report> reports;
            for (std::size_t i = count * worker / workers; i < count * (worker + 1) / workers; ++i) {
                if (!mend[i]) continue;
                reports.clear();
                codec.Check_Page(pages + i * page_bytes, true, reports);
                for (Korvane_Ecc::Codeword_Report& report : reports) found[worker].push_back({i, std::move(report)});
            }
        } catch (...) {
            failed[worker] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    for (std::size_t worker = 1; worker < workers; ++worker) helpers.emplace_back(run, worker);
    run(0);
    for (std::thread& helper : helpers) helper.join();
    for (const std::exception_ptr& failure : failed)
        if (failure) std::rethrow_exception(failure);
    std::vector<Page_Reports> all;
    for (std::vector<Page_Reports>& part : found)
        std::move(part.begin(), part.end(), std::back_inserter(all));
    return all;
}

// Swaps the two bytes of each 16-bit word of every page.
void Swap_Words(std::uint8_t* pages, std::size_t count, std::size_t page_bytes) {
    for (std::size_t page = 0; page < count; ++page)
        for (std::size_t i = page * page_bytes; i + 1 < (page + 1) * page_bytes; i += 2)
            std::swap(pages[i], pages[i + 1]);
}

std::wstring Name_Of(const std::wstring& path) { return path.substr(Folder_Of(path).size()); }

// The first line of the file at `path`, read from its first bytes only.
std::wstring First_Line(const std::wstring& path) {
    ZEKT_MediaFileReadProtect file(path);
    std::string bytes(static_cast<std::size_t>(std::min(file.GetSize(), Header_Bytes)), '\0');
    file.Read(bytes.data(), bytes.size());
    return From_UTF8(bytes.substr(0, bytes.find_first_of("\r\n")));
}

}  // namespace

std::wstring Image_Path(const std::wstring& dump_path) {
    const std::wstring suffix = L".dump";
    const bool dump = dump_path.size() >= suffix.size() &&
                      dump_path.compare(dump_path.size() - suffix.size(), suffix.size(), suffix) == 0;
    return (dump ? dump_path.substr(0, dump_path.size() - suffix.size()) : dump_path) + L".img";
}

Image_Result Image_Dump(const std::wstring& dump_path, const std::wstring& image_path, const std::wstring& spare_path,
                        const Image_Settings& settings, ZEKT_Progress& progress,
                        const Uncorrectable_Sink& uncorrectable) {
    const Map_Geometry& geometry = settings.geometry;
    const std::size_t page_bytes = geometry.page_bytes, data_bytes = geometry.data_bytes;
    const std::size_t spare_bytes = page_bytes - data_bytes;
    ZEKT_MediaFileReadProtect dump(dump_path);
    const std::uint64_t dump_pages = dump.GetSize() / page_bytes;
    if (dump_pages == 0) throw ZEKT_Exception(L"No whole page in dump file <" + dump_path + L">");
    // A partial dump ends with the part of a block it holds.
    const std::uint64_t block_pages = geometry.block_bytes ? geometry.block_bytes / page_bytes : dump_pages;
    const std::uint64_t dump_blocks = (dump_pages + block_pages - 1) / block_pages;
    const std::uint64_t last_block = std::min(settings.last_block, dump_blocks - 1);
    if (settings.first_block > last_block)
        throw ZEKT_Exception(Format(L"Block range <%I64u-%I64u> lies beyond the %I64u blocks of dump file <%s>",
                                    settings.first_block, settings.last_block, dump_blocks, dump_path));

    std::optional<Korvane_Ecc::Page_Codec> codec;
    if (settings.layout) codec.emplace(*settings.layout, geometry.data_bytes, static_cast<std::uint32_t>(spare_bytes));
    // The bad-block marker of a block's first page: where the layout puts it,
    // else the first spare byte, as the factory writes it.
    const std::size_t marker = codec ? codec->Places().bad_block_offset : data_bytes;
    const bool marked = marker < page_bytes;
    const unsigned threads = settings.threads ? settings.threads : std::max(1u, std::thread::hardware_concurrency());

    Image_Result result;
    result.ecc_applied = codec.has_value();
    ZEKT_Sha256 hash;
    // Each file takes its name only when whole: half an image would mislead.
    ZEKT_MediaFileReplace image(image_path);
    std::optional<ZEKT_MediaFileReplace> spare;
    if (!spare_path.empty()) spare.emplace(spare_path);
    const std::size_t chunk_pages = static_cast<std::size_t>(std::max<std::uint64_t>(1, Chunk_Bytes / page_bytes));
    Out_Buffer image_out(image, chunk_pages * data_bytes, &hash);
    std::optional<Out_Buffer> spare_out;
    if (spare) spare_out.emplace(*spare, chunk_pages * spare_bytes, nullptr);
    const std::vector<std::uint8_t> erased(page_bytes, 0xFF);

    // With --trim, pages all 0xFF are held back as a count until a page
    // with data follows; those still held at the end are left out.
    std::uint64_t out_pages = 0, held_pages = 0;
    auto put_page = [&](const std::uint8_t* page) {
        if (spare_out) spare_out->Put(page + data_bytes, spare_bytes);
        ++out_pages;
        if (settings.trim && All_FF(page, data_bytes)) {
            ++held_pages;
            return;
        }
        for (; held_pages; --held_pages) image_out.Put(erased.data(), data_bytes);
        image_out.Put(page, data_bytes);
    };

    // Two chunks in turn: while the ECC mends one on every core, this
    // thread writes the one before and reads the one after.
    struct Chunk {
        std::vector<std::uint8_t> pages;
        std::vector<char> good;  // not in a bad block: mended and written as such
        std::uint64_t first = 0;
        std::size_t count = 0;
    };
    std::array<Chunk, 2> chunks;
    for (Chunk& chunk : chunks) chunk.pages.resize(chunk_pages * page_bytes);
    auto take = [&](Chunk& chunk, const std::vector<Page_Reports>& found) {
        for (const Page_Reports& one : found) {
            switch (one.report.status) {
            case Korvane_Ecc::Codeword_Status::Clean:
                break;
            case Korvane_Ecc::Codeword_Status::Corrected:
                ++result.mended;
                break;
            case Korvane_Ecc::Codeword_Status::Erased:
                // Set back to 0xFF; only flipped bits make that a mend.
                if (one.report.bits) ++result.mended;
                break;
            case Korvane_Ecc::Codeword_Status::Uncorrectable: {
                const Dump_Codeword codeword{chunk.first + one.page, one.report.codeword};
                ++result.uncorrectable;
                if (result.listed.size() < Row_Listed) result.listed.push_back(codeword);
                if (uncorrectable) uncorrectable(codeword);
                break;
            }
            }
        }
        for (std::size_t i = 0; i < chunk.count; ++i) {
            const std::uint8_t* page = chunk.pages.data() + i * page_bytes;
            if (chunk.good[i]) {
                put_page(page);
                continue;
            }
            switch (settings.bad) {
            case Bad_Block_Rule::Skip:
                break;
            case Bad_Block_Rule::Keep:
                put_page(page);
                break;
            case Bad_Block_Rule::Pad:
                put_page(erased.data());
                break;
            }
        }
    };

    const std::uint64_t first_page = settings.first_block * block_pages;
    const std::uint64_t end_page = std::min(dump_pages, (last_block + 1) * block_pages);
    dump.SetPos(first_page * page_bytes);
    bool bad = false;
    // Declared after the chunks: a stop waits here for the ECC still at work on one.
    std::future<std::vector<Page_Reports>> mending;
    Chunk* mended = nullptr;
    for (std::uint64_t at = first_page, turn = 0; at < end_page || mended; ++turn) {
        Chunk* next = nullptr;
        if (at < end_page) {
            progress.Update(static_cast<std::int64_t>(at - first_page),
                            static_cast<std::int64_t>(end_page - first_page));
            progress.Check();
            next = &chunks[turn % 2];
            next->first = at;
            next->count = static_cast<std::size_t>(std::min<std::uint64_t>(chunk_pages, end_page - at));
            dump.Read(next->pages.data(), next->count * page_bytes);
            if (settings.swap16) Swap_Words(next->pages.data(), next->count, page_bytes);
            next->good.assign(next->count, 0);
            for (std::size_t i = 0; i < next->count; ++i) {
                if ((at + i) % block_pages == 0) {
                    bad = marked && next->pages[i * page_bytes + marker] != 0xFF;
                    if (bad && settings.bad == Bad_Block_Rule::Skip) ++result.skipped;
                }
                next->good[i] = !bad;
            }
            at += next->count;
        }
        const std::vector<Page_Reports> found = mending.valid() ? mending.get() : std::vector<Page_Reports>{};
        Chunk* written = mended;
        mended = next;
        if (next && codec)
            mending = std::async(std::launch::async, Mend_Pages, std::cref(*codec), next->pages.data(), page_bytes,
                                 std::cref(next->good), threads);
        if (written) take(*written, found);
    }

    // Trailing blocks all 0xFF go; a block with data keeps its erased pages.
    std::uint64_t kept_pages = out_pages;
    if (settings.trim) {
        kept_pages = std::min(out_pages, (out_pages - held_pages + block_pages - 1) / block_pages * block_pages);
        for (std::uint64_t page = out_pages - held_pages; page < kept_pages; ++page)
            image_out.Put(erased.data(), data_bytes);
    }
    image_out.Finish();
    image.Truncate(kept_pages * data_bytes);
    if (spare) {
        spare_out->Finish();
        spare->Truncate(kept_pages * spare_bytes);
        spare->Commit();
    }
    image.Commit();
    const std::string hash_line = To_UTF8(hash.Final_Text() + L"  " + Name_Of(image_path) + L"\n");
    Replace_File(image_path + L".sha256", hash_line.data(), hash_line.size());
    result.pages = kept_pages;
    result.blocks = (kept_pages + block_pages - 1) / block_pages;
    return result;
}

std::wstring Image_Text(const Image_Result& result) {
    std::wstring text =
        Format(L"Image: %I64u blocks (%I64u skipped), %I64u pages, ", result.blocks, result.skipped, result.pages);
    if (!result.ecc_applied) return text + L"no ECC applied";
    Append_Format(text, L"%I64u codewords mended, %I64u uncorrectable", result.mended, result.uncorrectable);
    for (std::size_t i = 0; i < result.listed.size(); ++i)
        Append_Format(text, L"%spage %I64u codeword %u", i ? L", " : L": ", result.listed[i].page,
                      result.listed[i].codeword);
    if (result.uncorrectable > result.listed.size())
        Append_Format(text, L" and %I64u more", result.uncorrectable - result.listed.size());
    return text;
}

Korvane_Ecc::Ecc_Layout Report_Layout(const std::wstring& header_line) {
    // The layout is the last field of the tab-separated header that reads as
    // one, with or without a "layout" word before it.
    const std::vector<std::wstring> fields = Split(header_line, L"\t");
    for (auto field = fields.rbegin(); field != fields.rend(); ++field) {
        std::wstring text = Trim(Trim(*field, L'#'), L' ');
        for (const std::wstring lead : {L"layout=", L"layout:", L"layout "})
            if (text.rfind(lead, 0) == 0) text = Trim(text.substr(lead.size()), L' ');
        try {
            return Korvane_Ecc::Parse_Layout(text);
        } catch (const ZEKT_Exception&) {
        }
    }
    throw ZEKT_Exception_DataCorrupt(L"No ECC layout in the header line <" + Visible_Text(header_line) + L">");
}

Image_Result Image_Bank(Reader_Master& master, Bank_List& banks, const Image_Settings& settings,
                        std::uint32_t bank, const std::wstring& spare_path, const Uncorrectable_Sink& uncorrectable) {
    const std::wstring dump_path = master.Dump_Path(bank);
    Image_Settings chosen = settings;
    const std::wstring report_path = dump_path + L".ecc";
    if (!chosen.layout && chosen.report_layout && Path_Exists(report_path)) {
        try {
            chosen.layout = Report_Layout(First_Line(report_path));
        } catch (const ZEKT_Exception& e) {
            throw ZEKT_Exception_DataCorrupt(e.message + L" of file <" + report_path + L">");
        }
    }
    const std::unique_ptr<ZEKT_Progress> progress = banks.Start_Progress(bank);
    progress->Set_Status(L"Image...");
    const Image_Result result =
        Image_Dump(dump_path, Image_Path(dump_path), spare_path, chosen, *progress, uncorrectable);
    progress->Set_Status(Image_Text(result));
    return result;
}

}  // namespace Korvane_Exe
