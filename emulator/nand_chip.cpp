#include "emulator/nand_chip.h"

#include <algorithm>
#include <cstring>

#include "config/nand_config.h"
#include "framework/media.h"

namespace Korvane_Emulator {

namespace {

std::uint64_t Mix(std::uint64_t x) {
    // splitmix64: fast and well spread, so every page looks different.
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t Page_Key(std::uint32_t chip_enable, std::uint32_t row, std::uint32_t page) {
    return Mix((std::uint64_t{chip_enable} << 40) ^ (std::uint64_t{row} << 4) ^ page);
}

}  // namespace

bool Is_Flaky_Page(std::uint64_t seed, std::uint32_t per_million, std::uint32_t chip_enable, std::uint32_t row,
                   std::uint32_t page) {
    // A different mixing constant than the content's, so flaky pages do not
    // follow the page data.
    return Mix(seed ^ 0x5DEECE66Dull ^ Page_Key(chip_enable, row, page)) % 1000000 < per_million;
}

void Fill_Seeded(std::uint64_t seed, std::uint32_t chip_enable, std::uint32_t row, std::uint32_t page,
                 std::uint32_t page_bytes, std::uint32_t column, std::uint8_t* out, std::size_t count) {
    const std::uint64_t key = Mix(seed ^ Page_Key(chip_enable, row, page));
    std::uint8_t* mark_byte = nullptr;
    // A page without spare area has no place for the mark.
    const std::uint32_t mark = Data_Area_Bytes(page_bytes);
    if (mark < page_bytes && mark >= column && mark - column < count) mark_byte = out + (mark - column);
    std::uint64_t chunk = column / 8;
    std::size_t skip = column % 8;
    while (count > 0) {
        const std::uint64_t value = Mix(key + chunk);
        std::uint8_t bytes[8];
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
        const std::size_t take = std::min<std::size_t>(8 - skip, count);
        std::memcpy(out, bytes + skip, take);
        out += take;
        count -= take;
        skip = 0;
        ++chunk;
    }
    if (mark_byte) *mark_byte = 0xFF;
}

Nand_Chip::Nand_Chip(std::shared_ptr<const Chip_Model> chip_model, bool chip_answers)
    : model(std::move(chip_model)), answers(chip_answers) {
    if (model->source.kind == Page_Source::Kind::File) {
        file = std::make_unique<ZEKT_MediaFileReadProtect>(model->source.file);
        file_size = file->GetSize();
    }
    for (std::uint64_t line = 0; line < next_weak.size(); ++line) next_weak[line] = Mix(model->flip_nonce ^ line) % 1023;
}

Nand_Chip::~Nand_Chip() = default;

std::uint32_t Nand_Chip::Address_Value(std::size_t first, std::size_t count) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count && first + i < address.size() && i < 4; ++i)
        value |= static_cast<std::uint32_t>(address[first + i]) << (8 * i);
    return value;
}

void Nand_Chip::Command(std::uint8_t command) {
    if (!answers) return;
    context = Context::None;
    switch (command) {
    case 0xFF:  // reset: the retry registers survive it, as on real parts
        collect = Collect::None;
        source = Source::None;
        word_line_prefix = 0;
        special_pending = false;
        break;
    case 0x90:
        collect = Collect::Id;
        address.clear();
        break;
    case 0xEC:
        collect = Collect::Parameter_Page;
        address.clear();
        break;
    case 0x00:
        collect = Collect::Read;
        address.clear();
        break;
    case 0x01:
    case 0x02:
    case 0x03:
        // A word-line page prefix; Samsung's register write also starts with
        // 01, followed by three data bytes.
        word_line_prefix = command;
        context = Context::Three_Data;
        context_command = command;
        context_data.clear();
        break;
    case 0x30:
        if (collect == Collect::Read) {
            column = Address_Value(0, model->column_cycles);
            row = Address_Value(model->column_cycles, model->row_cycles) & model->row_mask;
            // Hybrid reads picked their page with SET FEATURES D6 already.
            if (word_line_prefix) page = word_line_prefix - 1u;
            else if (!registers.contains(Feature_Key + 0xD6)) page = 0;
            source = Source::Page;
            ++page_loads;
        }
        collect = Collect::None;
        word_line_prefix = 0;
        break;
    case 0x3F:  // the next page of the word line
        if (source == Source::Page) {
            ++page;
            ++page_loads;
            column = 0;
        }
        break;
    case 0x05:
        collect = Collect::Column_Change;
        address.clear();
        break;
    case 0xE0:
        if (collect == Collect::Column_Change) {
            column = Address_Value(0, model->column_cycles);
            if (special_pending) {
                // The special read takes its row from this address; the
                // three passes of a row give its three pages.
                const std::uint32_t special = Address_Value(model->column_cycles, model->row_cycles) & model->row_mask;
                special_count = special == special_row ? special_count + 1 : 0;
                special_row = special;
                row = special;
                page = special_count % 3;
                source = Source::Special;
                ++page_loads;
                special_pending = false;
            }
        }
        collect = Collect::None;
        break;
    case 0x69:
        special_pending = true;
        break;
    case 0x36:  // Hynix parameter setting
    case 0x55:  // Toshiba and SanDisk register write
        context = Context::Address_Data;
        break;
    case 0xEF:  // SET FEATURES
        context = Context::Feature;
        context_data.clear();
        break;
    case 0xD5:  // SanDisk register group: addresses 00 and group, then four bytes
        context = Context::Group;
        context_data.clear();
        register_key = Group_Key;
        break;
    case 0xA1:  // Samsung register write: 00, register, value
        context = Context::Three_Data;
        context_command = command;
        context_data.clear();
        break;
    default:
        break;
    }
}

void Nand_Chip::Address(std::uint8_t value) {
    if (!answers) return;
    switch (context) {
    case Context::Address_Data:
        register_key = value;
        return;
    case Context::Feature:
        register_key = Feature_Key + value;
        context_data.clear();
        return;
    case Context::Group:
        register_key = Group_Key + (value << 8);
        return;
    case Context::Three_Data:
    case Context::None:
        break;
    }
    switch (collect) {
    case Collect::Id:
        source = Source::Id;
        column = 0;
        collect = Collect::None;
        break;
    case Collect::Parameter_Page:
        // 00h asks for the ONFI page, 40h for the JEDEC page; other
        // addresses find nothing.
        source = value == 0x00 || value == 0x40 ? Source::Parameter_Page : Source::None;
        jedec_page = value == 0x40;
        column = 0;
        collect = Collect::None;
        break;
    case Collect::Read:
    case Collect::Column_Change:
        address.push_back(value);
        break;
    case Collect::None:
        break;
    }
}

void Nand_Chip::Data(std::uint8_t value) {
    if (!answers) return;
    switch (context) {
    case Context::Address_Data:
        registers[register_key] = value;
        break;
    case Context::Feature:
        // P1 is the value; P2 to P4 follow as zeros.
        if (context_data.empty()) {
            registers[register_key] = value;
            if (register_key == Feature_Key + 0xD6) page = value >= 0x0D ? value - 0x0Du : 0;
        }
        context_data.push_back(value);
        break;
    case Context::Group:
        registers[register_key + context_data.size()] = value;
        context_data.push_back(value);
        break;
    case Context::Three_Data:
        context_data.push_back(value);
        if (context_data.size() == 3) {
            if (context_command == 0xA1)
                registers[context_data[1]] = context_data[2];
            else
                registers[Wide_Register_Key + (context_data[0] << 8 | context_data[1])] = context_data[2];
            context_data.clear();
        }
        break;
    case Context::None:
        break;
    }
}

bool Nand_Chip::Registers_Hold(const std::vector<std::pair<std::uint32_t, std::uint8_t>>& wanted) const {
    for (const auto& [key, value] : wanted) {
        const auto found = registers.find(key);
        if (found == registers.end() || found->second != value) return false;
    }
    return true;
}

void Nand_Chip::Page_Bytes(std::uint32_t from, std::uint8_t* out, std::size_t count, std::uint32_t chip_enable) {
    // Past the end of the page the bus floats high.
    const std::size_t inside = from < model->page_bytes ? std::min<std::size_t>(count, model->page_bytes - from) : 0;
    std::memset(out + inside, 0xFF, count - inside);
    if (inside == 0) return;
    switch (model->source.kind) {
    case Page_Source::Kind::Erased:
        std::memset(out, 0xFF, inside);
        break;
    case Page_Source::Kind::Seeded:
        Fill_Seeded(model->source.seed, chip_enable, row, page, model->page_bytes, from, out, inside);
        break;
    case Page_Source::Kind::File: {
        const std::uint64_t offset =
            (std::uint64_t{row} * model->pages_per_row + page) * model->page_bytes + from;
        const std::size_t available =
            offset < file_size ? static_cast<std::size_t>(std::min<std::uint64_t>(inside, file_size - offset)) : 0;
        if (available) {
            file->SetPos(offset);
            file->Read(out, available);
        }
        std::memset(out + available, 0xFF, inside - available);
        break;
    }
    }
    if (!Registers_Hold(model->clean_registers)) {
        // Read with the wrong thresholds: one flipped bit in every 509 bytes.
        for (std::size_t i = (509 - (from + row) % 509) % 509; i < inside; i += 509) out[i] ^= 0x10;
    }
    const bool retry_clean = Registers_Hold(model->retry_page_registers) &&
                             (!model->retry_page_voltage || supply_centivolts == model->retry_page_voltage);
    if (model->retry_pages_per_million && !retry_clean) Flip_Retry_Page(from, out, inside, chip_enable);
    if (model->flaky_per_million) Flip_Flaky_Bits(from, out, inside, chip_enable);
}

void Nand_Chip::Flip_Retry_Page(std::uint32_t from, std::uint8_t* out, std::size_t count, std::uint32_t chip_enable) {
    // Another salt than the flaky pages', so the two faults strike apart.
    const std::uint64_t seed = model->source.seed ^ 0x2545F4914F6CDD1Dull;
    if (!Is_Flaky_Page(seed, model->retry_pages_per_million, chip_enable, row, page)) return;
    // The same bits on every read: a page misread by its thresholds, not by noise.
    const std::uint64_t key = Mix(seed ^ Page_Key(chip_enable, row, page));
    // The bad-block mark is all ones or all zeros, which shifted thresholds still read right.
    const std::uint32_t mark = Data_Area_Bytes(model->page_bytes);
    for (std::size_t i = (16 - (from + key) % 16) % 16; i < count; i += 16)
        if (from + i != mark) out[i] ^= static_cast<std::uint8_t>(1u << ((from + i) / 16 + key) % 8);
}

void Nand_Chip::Flip_Flaky_Bits(std::uint32_t from, std::uint8_t* out, std::size_t count, std::uint32_t chip_enable) {
    if (!Is_Flaky_Page(model->source.seed, model->flaky_per_million, chip_enable, row, page)) return;
    // Three bits of the page, chosen anew for every load of it; an odd count
    // of flips never cancels out completely.
    const std::uint64_t load = Mix(model->flip_nonce ^ Page_Key(chip_enable, row, page) ^ Mix(page_loads));
    const std::uint64_t page_bits = std::uint64_t{model->page_bytes} * 8;
    for (std::uint64_t j = 0; j < 3; ++j) {
        const std::uint64_t bit = Mix(load + j) % page_bits;
        if (bit / 8 >= from && bit / 8 < from + count) out[bit / 8 - from] ^= static_cast<std::uint8_t>(1u << (bit % 8));
    }
}

void Nand_Chip::Weaken_Lines(std::uint8_t* out, std::size_t count) {
    const std::uint64_t end = weak_bytes + count;
    for (std::uint32_t line = 0; line < model->weak_lines.size(); ++line) {
        if (!model->weak_lines[line]) continue;
        // Gaps of 1 to 1023 bytes: one wrong byte in 512 on average.
        for (std::uint64_t& at = next_weak[line]; at < end; at += 1 + Mix(model->flip_nonce ^ at ^ line) % 1023) {
            const std::size_t i = static_cast<std::size_t>(at - weak_bytes);
            const bool high_byte = model->wide_bus && (column + i) % 2;
            if ((line >= 8) == high_byte) out[i] ^= static_cast<std::uint8_t>(1u << (line % 8));
        }
    }
    weak_bytes = end;
}

void Nand_Chip::Output(std::uint8_t* out, std::size_t count, std::uint32_t chip_enable) {
    if (!answers) {
        std::memset(out, 0xFF, count);
        return;
    }
    switch (source) {
    case Source::None:
        std::memset(out, 0xFF, count);
        break;
    case Source::Id:
        for (std::size_t i = 0; i < count; ++i)
            out[i] = model->id.empty() ? 0xFF : model->id[(column + i) % model->id.size()];
        break;
    case Source::Parameter_Page: {
        const std::vector<std::uint8_t>& copies = jedec_page ? model->jedec_copies : model->onfi_copies;
        const std::size_t copy_bytes = jedec_page ? Jedec_Page_Bytes : Onfi_Page_Bytes;
        const bool present = model->onfi && !copies.empty();
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = column + i;
            const std::size_t copy = at / copy_bytes;
            out[i] = present && copy < 3 ? copies[at] : 0xFF;
            // A damaged copy has one letter of the manufacturer in the other
            // case, each copy a different one, so a majority still mends them.
            if (present && copy < 3 && model->onfi_damage[copy] && at % copy_bytes == 32 + copy) out[i] ^= 0x20;
        }
        break;
    }
    case Source::Page:
        Page_Bytes(column, out, count, chip_enable);
        Weaken_Lines(out, count);
        break;
    case Source::Special:
        Page_Bytes(column, out, count, chip_enable);
        for (std::size_t i = 0; i < count; ++i) out[i] = Special_Byte(out[i]);
        Weaken_Lines(out, count);
        break;
    }
    column += static_cast<std::uint32_t>(count);
}

}  // namespace Korvane_Emulator
