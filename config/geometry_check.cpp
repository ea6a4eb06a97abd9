#include "config/geometry_check.h"

#include "framework/errors.h"
#include "framework/values.h"

namespace {

// Addresses a count of 8-bit address cycles reaches; four or more reach
// every 32-bit row the reader can send.
std::uint64_t Reach(std::uint32_t cycles) { return cycles >= 4 ? std::uint64_t{1} << 32 : std::uint64_t{1} << (8 * cycles); }

}  // namespace

void Check_Config_Geometry(const NAND_Config& config) {
    if (config.Page == 0) throw ZEKT_Exception(L"Page <0> holds no data area");
    const std::uint64_t dump_bytes = config.Get_Bank_Dump_Size();

    // The last unit of the bank, taken through the skip rules as the reader
    // takes it, is the highest row the chip must decode.
    const std::uint64_t unit = std::uint64_t{config.Page} * (config.Is_Triple_Page() ? 3 : 1);
    if (dump_bytes >= unit) {
        const std::uint64_t rows = static_cast<std::uint64_t>(config.Get_Real_Page(
                                       static_cast<std::int64_t>((dump_bytes + unit - 1) / unit - 1))) +
                                   1;
        const std::uint32_t cycles = config.Row & 0xFF;
        if (rows > Reach(cycles))
            throw ZEKT_Exception(Format(L"Row <%u> cycles address %I64u rows, the bank reads %I64u", cycles,
                                        Reach(cycles), rows));
    }

    // The setup block carries 16 bits of a page's transfer count; on a
    // 16-bit bus, and with DDR, the columns count words.
    const bool words = config.Bus == L"16" || config.DDR;
    const std::uint64_t columns = words ? config.Page >> 1 : config.Page;
    if (columns > 0xFFFF)
        throw ZEKT_Exception(Format(L"Page <%u> is more than the reader reads at once", config.Page));
    // A small-page part (512 + 16 bytes) takes one column cycle: commands 00h,
    // 01h and 50h point at the half page or the spare area the column is in.
    const std::uint32_t cycles = config.Col & 0xFF;
    const std::uint64_t reach = cycles == 1 && config.Page <= 528 ? 528 : Reach(cycles);
    if (columns > reach)
        throw ZEKT_Exception(Format(L"Col <%u> cycles address %I64u columns, the page needs %I64u", cycles, reach,
                                    columns));
}
