#include "dump/verify.h"

#include <bit>
#include <cstring>
#include <vector>

#include "dump/chip_operations.h"
#include "framework/media.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

constexpr std::size_t Chunk_Bytes = 0x20000;

std::uint64_t Differing_Bits(const std::uint8_t* a, const std::uint8_t* b, std::size_t count) {
    std::uint64_t bits = 0;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        bits += static_cast<std::uint64_t>(std::popcount(x ^ y));
    }
    for (; i < count; ++i) bits += static_cast<std::uint64_t>(std::popcount(static_cast<unsigned>(a[i] ^ b[i])));
    return bits;
}

// The list of differing pages, written as it grows; created at the first
// line, removed again unless the comparison completes.
class Diff_File {
public:
    explicit Diff_File(const std::wstring& file_path) : path(file_path) {}
    ~Diff_File() {
        if (!file || complete) return;
        // Clean-up while an error passes: a partial list would mislead.
        try {
            file.reset();
            Delete_File(path);
        } catch (...) {
        }
    }
    void Add(std::uint64_t page, std::uint64_t bits) {
        if (!file) {
            file = std::make_unique<ZEKT_MediaFileWrite>(path);
            Put(L"\xFEFF");
        }
        Put(Format(L"%I64u %I64u\r\n", page, bits));
    }
    void Complete() { complete = true; }

private:
    void Put(const std::wstring& text) {
        const std::vector<unsigned char> bytes = To_UTF16LE_Bytes(text);
        file->Write(bytes.data(), bytes.size());
    }

    std::wstring path;
    std::unique_ptr<ZEKT_Media> file;
    bool complete = false;
};

}  // namespace

Verify_Result Compare_Bank(ZEKT_Media& bank, ZEKT_Media& dump, std::uint32_t page_bytes, const std::wstring& diff_path,
                           ZEKT_Progress& progress) {
    if (page_bytes == 0) throw ZEKT_Exception(L"Can't divide a bank into pages of <0> bytes");
    const std::uint64_t total = bank.GetSize();
    Diff_File diff(diff_path);
    Verify_Result result;
    result.pages = (total + page_bytes - 1) / page_bytes;
    std::vector<std::uint8_t> read(Chunk_Bytes), stored(Chunk_Bytes);
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
            if (std::memcmp(read.data() + i, stored.data() + i, span) != 0)
                page_bits += Differing_Bits(read.data() + i, stored.data() + i, span);
            i += span;
            if (pos + i < page_end || page_bits == 0) continue;
            if (result.differing_pages++ == 0) result.first_page = page;
            result.differing_bits += page_bits;
            diff.Add(page, page_bits);
            page_bits = 0;
        }
        pos += n;
    }
    diff.Complete();
    return result;
}

std::wstring Verify_Text(const Verify_Result& result) {
    if (result.differing_pages == 0) return Format(L"Identical (%I64u pages)", result.pages);
    return Format(L"%I64u of %I64u pages differ, first page %I64u, %I64u bits", result.differing_pages, result.pages,
                  result.first_page, result.differing_bits);
}

void Verify_Bank(Reader_Master& master, Bank_List& banks, const NAND_Config& config, const NAND_Options& options,
                 std::uint32_t bank) {
    const std::wstring dump_path = master.Dump_Path(bank);
    // An old list never stays beside a bank that this run did not prove
    // different, whatever stops the run.
    const std::wstring diff_path = dump_path + L".diff";
    if (Exists(diff_path)) Delete_File(diff_path);
    if (options.Check_ID) master.Check_Bank_ID(bank);
    Verify_Result result;
    {
        const std::unique_ptr<ZEKT_Progress> progress = banks.Start_Progress(bank);
        progress->Set_Status(L"Verify...");
        ZEKT_MediaFileReadProtect dump(dump_path);
        Korvane_Internal::Korvane medium(bank, config, options);
        // A dump of another size is not this bank's, whatever its bytes say.
        if (dump.GetSize() != medium.GetSize())
            throw ZEKT_Exception(Format(L"Dump file <%s> holds %I64u bytes, the bank %I64u", dump_path, dump.GetSize(),
                                        medium.GetSize()));
        result = Compare_Bank(medium, dump, config.Page, diff_path, *progress);
        if (result.differing_pages == 0) progress->Set_Status(Verify_Text(result));
    }
    if (result.differing_pages != 0) throw ZEKT_Exception(Verify_Text(result));
}

}  // namespace Korvane_Exe
