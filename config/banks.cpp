// Banks, chip enables and page addressing of a chip configuration.
#include <bit>

#include "config/nand_config.h"
#include "framework/values.h"

namespace {

[[noreturn]] void Wrong_Banks() { throw ZEKT_Exception(L"Wrong Banks format"); }
[[noreturn]] void Wrong_Skips() { throw ZEKT_Exception(L"Cant calc real page from config skips"); }

std::uint64_t Number_Of(const std::wstring& piece) { return To_Unsigned(Trim(piece, L' ')); }
std::uint32_t Number_32_Of(const std::wstring& piece) { return To_Unsigned_32(Trim(piece, L' ')); }

// Far beyond any chip; larger sizes would overflow the byte count of a dump.
constexpr std::uint64_t Megabytes_Limit = std::uint64_t{1} << 40;
constexpr std::uint64_t Dump_Bytes_Limit = Megabytes_Limit << 20;

// The reader has 8 chip-enable lines, and a bank needs at least one.
constexpr std::uint64_t Bank_Count_Limit = 8;

// A page size that cannot divide a dump into pages.
[[noreturn]] void Wrong_Page(std::uint32_t page) {
    throw ZEKT_Exception(Format(L"Can't divide a bank into pages of <%u> bytes", page));
}

constexpr std::uint32_t Rule_Off = 0xFFFFFFFF;

// One skip rule: of every period of mask + 1 pages only the first `pages` exist.
std::int64_t Skip(std::int64_t page, std::uint32_t mask, std::uint32_t pages) {
    const std::uint32_t period = mask + 1;  // 32-bit, as the reader computes it
    const std::int64_t periods = page / static_cast<std::int64_t>(pages);
    const std::int64_t hole = static_cast<std::int64_t>(period) - static_cast<std::int64_t>(pages);
    // Wrapping arithmetic: absurd rules give absurd rows, never undefined behaviour.
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(page) +
                                     static_cast<std::uint64_t>(periods) * static_cast<std::uint64_t>(hole));
}

}  // namespace

std::uint32_t NAND_Config::Get_Bank_Count() const {
    const std::vector<std::wstring> pieces = Split(Banks, L"x");
    if (pieces.empty()) Wrong_Banks();
    const std::uint64_t count = Number_Of(pieces[0]);
    if (count > Bank_Count_Limit)
        throw ZEKT_Exception(Format(L"Bank count <%I64u> is more than the 8 chip enables", count));
    return static_cast<std::uint32_t>(count);
}

std::int64_t NAND_Config::Get_Bank_Size_MB() const {
    const std::vector<std::wstring> pieces = Split(Banks, L"x");
    if (pieces.size() < 2) Wrong_Banks();
    const std::wstring size = Trim(pieces[1], L' ');
    if (size.size() < 3) Wrong_Banks();
    const std::wstring unit = size.substr(size.size() - 2);
    const std::uint64_t number = Number_Of(size.substr(0, size.size() - 2));
    // Units are exact: "gb" counts as megabytes.
    const std::uint64_t factor = unit == L"GB" ? 1024 : 1;
    // Checked before multiplying, so that no size wraps into a small one.
    if (number >= Megabytes_Limit / factor) throw ZEKT_Exception(L"Bank size <" + size + L"> is more than any chip holds");
    return static_cast<std::int64_t>(number * factor);
}

std::uint64_t NAND_Config::Get_Bank_Dump_Size() const {
    if (Block != 0 && Blocks != 0) {
        const std::uint64_t bytes = std::uint64_t{Block} * Blocks;
        if (bytes > Dump_Bytes_Limit)
            throw ZEKT_Exception(Format(L"Bank size <%u x %u bytes> is more than any chip holds", Blocks, Block));
        return bytes;
    }
    const auto megabytes = static_cast<std::uint64_t>(Get_Bank_Size_MB());
    if (Page == 0) Wrong_Page(Page);
    const std::uint64_t pages = megabytes * 1048576 / Page;
    // The spare area makes bytes / Page fall a little short of the real page
    // count; the next power of two restores it.
    return std::uint64_t{Page} * std::bit_ceil(pages == 0 ? std::uint64_t{1} : pages);
}

std::wstring NAND_Config::Get_Size_Text() const {
    const std::int64_t total = static_cast<std::int64_t>(std::uint64_t{Get_Bank_Count()} *
                                                         static_cast<std::uint64_t>(Get_Bank_Size_MB()));
    if (total > 1023) return Decimal_Text(total / 1024) + L" GB";
    return Decimal_Text(total) + L" MB";
}

bool NAND_Config::Is_Triple_Page() const { return Cmd.rfind(L"WL", 0) == 0 || Cmd == L"HYBRIDx3"; }

std::int64_t NAND_Config::Get_Real_Page(std::int64_t page) const {
    if (Skip_Page_1 == 0 || Skip_Page_2 == 0) Wrong_Skips();
    const bool rule_1 = Skip_Page_1 != Rule_Off;
    const bool rule_2 = Skip_Page_2 != Rule_Off;
    // A mask of 0xFFFFFFFF gives a period that wraps to 0: no real rule.
    if ((rule_1 && Skip_Mask_1 == 0xFFFFFFFF) || (rule_2 && Skip_Mask_2 == 0xFFFFFFFF)) Wrong_Skips();
    if (rule_1) {
        const std::uint32_t period_1 = Skip_Mask_1 + 1;
        // Rule 2 works on the addresses rule 1 produced.
        if (rule_2 && (Skip_Page_2 < period_1 || Skip_Page_2 % period_1 != 0)) Wrong_Skips();
        page = Skip(page, Skip_Mask_1, Skip_Page_1);
    }
    if (rule_2) page = Skip(page, Skip_Mask_2, Skip_Page_2);
    return page;
}

void NAND_Config::Get_Real_Page_Range(std::int64_t& start, std::int64_t& end, std::uint32_t& first_row,
                                      std::uint32_t& end_row) const {
    const std::uint32_t unit = Is_Triple_Page() ? 3 * Page : Page;
    if (unit == 0) Wrong_Page(Page);
    // Within these bounds no sum below can pass the largest 64-bit value.
    if (start < 0 || end < 0 || static_cast<std::uint64_t>(end) > Dump_Bytes_Limit)
        throw ZEKT_Exception(Format(L"Bank size <%I64d bytes> is more than any chip holds", end));
    const std::int64_t size = unit;
    start = (start / size) * size;
    end = ((end + size - 1) / size) * size;
    first_row = static_cast<std::uint32_t>(Get_Real_Page(start / size));
    end_row = static_cast<std::uint32_t>(Get_Real_Page(end / size - 1)) + 1;
}

std::uint32_t Data_Area_Bytes(std::uint32_t page_bytes) { return std::bit_floor(page_bytes); }

std::uint32_t Get_Bank_Enable(std::uint32_t bank) {
    if (bank < 1 || bank > 8) throw ZEKT_Exception(L"Get_Bank_Enable::Wrong bank number");
    return 1u << (bank - 1);
}

std::uint32_t Get_Bank_Enable(std::uint32_t bank, const NAND_Config& config) {
    std::vector<std::uint32_t> masks;
    // Every group is parsed on every call, so one bad group fails every bank.
    for (const std::wstring& group : Split(config.Join_CE, L"/")) {
        std::uint32_t mask = 0;
        for (const std::wstring& line : Split(Trim(group, L' '), L"-"))
            mask |= Get_Bank_Enable(Number_32_Of(line));
        masks.push_back(mask);
    }
    if (masks.empty()) return Get_Bank_Enable(bank);
    if (bank == 0) throw ZEKT_Exception(L"Get_Bank_Enable::Wrong bank number");
    // A bank without a line would read nothing and pass for an erased chip.
    if (bank > masks.size() || masks[bank - 1] == 0)
        throw ZEKT_Exception(Format(L"Bank <%u> has no chip-enable line in Join CE <%s>", bank, config.Join_CE));
    return masks[bank - 1];
}
