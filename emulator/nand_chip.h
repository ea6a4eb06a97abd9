// A model of one NAND die behind a chip-enable line: it follows the command,
// address and data cycles the read programs send and answers reads from its
// output register.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "emulator/onfi.h"

class ZEKT_Media;

namespace Korvane_Emulator {

// Where page content comes from.
struct Page_Source {
    enum class Kind { Erased, Seeded, File };
    Kind kind = Kind::Seeded;
    std::uint64_t seed = 1;
    std::wstring file;  // raw image indexed by real row: (row * pages per row + page) * page bytes
};

// What every chip of a profile shares.
struct Chip_Model {
    std::vector<std::uint8_t> id;  // the ID bytes, repeated after the last one
    bool onfi = true;
    // The three copies of the parameter page the chip answers, one after another.
    std::vector<std::uint8_t> onfi_copies = std::vector<std::uint8_t>(3 * Onfi_Page_Bytes, 0xFF);
    // The three copies of the JEDEC page (EC 40); empty: the bus floats.
    std::vector<std::uint8_t> jedec_copies;
    // Copies (of the three the chip repeats) answered with a damaged byte.
    std::array<bool, 3> onfi_damage{};
    std::uint32_t page_bytes = 2112;  // data and spare
    std::uint32_t column_cycles = 2;
    std::uint32_t row_cycles = 3;
    std::uint32_t pages_per_row = 1;
    // The row-address bits the die decodes; higher bits are not wired, so
    // rows past its last read its first ones again.
    std::uint32_t row_mask = 0xFFFFFFFF;
    Page_Source source;
    // Retry registers that must hold these values for error-free pages.
    std::vector<std::pair<std::uint32_t, std::uint8_t>> clean_registers;
    // Pages in every million, chosen by the content seed alone, that read
    // with one flipped bit in every 16 bytes (more than any ECC mends)
    // unless these registers hold these values and, when it is not 0, the
    // power adapter supplies this voltage (hundredths of a volt).
    std::uint32_t retry_pages_per_million = 0;
    std::vector<std::pair<std::uint32_t, std::uint8_t>> retry_page_registers;
    std::uint32_t retry_page_voltage = 0;
    // Pages in every million that flip bits differently on every read, and
    // what makes this reader's flips differ from any other's.
    std::uint32_t flaky_per_million = 0;
    std::uint64_t flip_nonce = 0;
    // Data lines with a bad contact: each reads wrong on about one page byte
    // in 512, drawn anew on every read. On a 16-bit bus IO8-IO15 are the
    // odd bytes.
    std::array<bool, 16> weak_lines{};
    bool wide_bus = false;
};

// Whether the page at (chip-enable selection, row, page of the row) is one
// of the flaky pages that `seed` chooses.
bool Is_Flaky_Page(std::uint64_t seed, std::uint32_t per_million, std::uint32_t chip_enable, std::uint32_t row,
                   std::uint32_t page);

// Register keys: plain register addresses are 00-FF, SET FEATURES addresses
// 0x100 + feature, the two-byte Samsung registers (high << 8 | low) + 0x10000,
// and byte i of a SanDisk D5h register group 0x20000 + (group << 8) + i.
inline constexpr std::uint32_t Feature_Key = 0x100;
inline constexpr std::uint32_t Wide_Register_Key = 0x10000;
inline constexpr std::uint32_t Group_Key = 0x20000;

// Deterministic content of a page of a seeded chip: the same seed, chip-enable
// selection, row and page always give the same bytes. The first spare byte
// of every page is 0xFF, as in a good block: no factory bad-block mark.
void Fill_Seeded(std::uint64_t seed, std::uint32_t chip_enable, std::uint32_t row, std::uint32_t page,
                 std::uint32_t page_bytes, std::uint32_t column, std::uint8_t* out, std::size_t count);

// The special read answers one byte per page byte: 0xFE plus the parity of
// that page byte in bit 0.
inline std::uint8_t Special_Byte(std::uint8_t page_byte) {
    return static_cast<std::uint8_t>(0xFE | (std::popcount(page_byte) & 1));
}

class Nand_Chip {
public:
    Nand_Chip(std::shared_ptr<const Chip_Model> model, bool answers);
    ~Nand_Chip();
    Nand_Chip(const Nand_Chip&) = delete;
    Nand_Chip& operator=(const Nand_Chip&) = delete;

    bool Answers() const { return answers; }
    void Command(std::uint8_t command);
    void Address(std::uint8_t address);
    void Data(std::uint8_t data);
    // Bytes from the output register, advancing its column; `chip_enable` is
    // the selection the bytes are read under (it keys seeded content).
    void Output(std::uint8_t* out, std::size_t count, std::uint32_t chip_enable);

    const std::map<std::uint32_t, std::uint8_t>& Registers() const { return registers; }
    // The power adapter's voltage in hundredths of a volt; 0 when it is off.
    void Supply(std::uint32_t centivolts) { supply_centivolts = centivolts; }
    std::uint32_t Row() const { return row; }
    std::uint32_t Page() const { return page; }

private:
    enum class Collect { None, Id, Parameter_Page, Read, Column_Change };
    enum class Context { None, Address_Data, Feature, Three_Data, Group };
    enum class Source { None, Id, Parameter_Page, Page, Special };

    void Page_Bytes(std::uint32_t column_from, std::uint8_t* out, std::size_t count, std::uint32_t chip_enable);
    void Flip_Flaky_Bits(std::uint32_t column_from, std::uint8_t* out, std::size_t count, std::uint32_t chip_enable);
    void Weaken_Lines(std::uint8_t* out, std::size_t count);
    bool Registers_Hold(const std::vector<std::pair<std::uint32_t, std::uint8_t>>& wanted) const;
    void Flip_Retry_Page(std::uint32_t column_from, std::uint8_t* out, std::size_t count, std::uint32_t chip_enable);
    std::uint32_t Address_Value(std::size_t first, std::size_t count) const;

    std::shared_ptr<const Chip_Model> model;
    bool answers;
    std::unique_ptr<ZEKT_Media> file;
    std::uint64_t file_size = 0;

    Collect collect = Collect::None;
    std::vector<std::uint8_t> address;
    Context context = Context::None;
    std::uint32_t register_key = 0;
    std::vector<std::uint8_t> context_data;
    std::uint8_t context_command = 0;
    std::map<std::uint32_t, std::uint8_t> registers;
    std::uint32_t supply_centivolts = 0;

    Source source = Source::None;
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    std::uint32_t page = 0;
    bool jedec_page = false;  // the parameter page command asked for the JEDEC page
    std::uint64_t page_loads = 0;  // every page the chip loads counts, so each read flips anew
    std::uint64_t weak_bytes = 0;  // page bytes put on the bus so far
    std::array<std::uint64_t, 16> next_weak{};  // the byte count at which each weak line next reads wrong
    std::uint8_t word_line_prefix = 0;  // 01, 02 or 03 before a word-line read
    bool special_pending = false;
    std::uint32_t special_row = 0xFFFFFFFF;
    std::uint32_t special_count = 0;
};

}  // namespace Korvane_Emulator
