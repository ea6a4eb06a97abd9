#include "dump/chip_word.h"

#include <algorithm>
#include <bit>

#include "config/geometry_check.h"
#include "dump/chip_operations.h"
#include "framework/errors.h"
#include "framework/format.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

// Eight bytes show an ID's length: chips repeat it, or send zeros, after its end.
constexpr std::uint32_t Id_Read_Bytes = 8;

std::wstring Id_Text(const std::vector<std::uint8_t>& id, std::size_t count) {
    std::wstring text;
    for (std::size_t i = 0; i < count && i < id.size(); ++i) {
        if (i) text += L' ';
        Append_Format(text, L"%02x", id[i]);
    }
    return text;
}

// As the chip list shows sizes: whole gigabytes from 1 GB up.
std::wstring Size_Text(std::uint64_t bytes) {
    const std::uint64_t megabytes = bytes >> 20;
    return megabytes >= 1024 && megabytes % 1024 == 0 ? Format(L"%I64u GB", megabytes / 1024)
                                                      : Format(L"%I64u MB", megabytes);
}

// The ID as the configuration keeps it: its first four bytes, the ones the
// ID check reads unless told otherwise.
std::wstring Config_Id(const Chip_Word& word) { return Id_Text(word.id, 4); }

}  // namespace

Chip_Word Read_Chip_Word(const NAND_Options& options) {
    Chip_Word word;
    NAND_Config trial;
    trial.Bus = L"8";
    NAND_Options long_id = options;
    long_id.ID_Size = Id_Read_Bytes;
    word.id = Id_Bytes(Korvane_Internal::Read_Id(1, trial, long_id));
    // A real ID has a maker and a device byte; one byte repeated is no chip.
    const std::optional<std::size_t> length = Id_Length(word.id);
    if (length && *length >= 2 && *length < word.id.size()) word.id.resize(*length);
    word.decoding = Decode_Id(word.id);
    // Chip enables of one package answer the same ID, as the catalogue search counts them.
    const std::wstring first = Korvane_Internal::Read_Id(1, trial, options);
    for (std::uint32_t bank = 2; bank <= 4 && Match_ID(Korvane_Internal::Read_Id(bank, trial, options), first); ++bank)
        word.chip_enables = bank;
    Onfi_Proof proof = Read_Proven_Parameter_Page(trial, options);
    if (proof.Proven() && proof.Signed()) word.onfi = std::move(proof);
    return word;
}

std::vector<std::wstring> Chip_Word_Lines(const Chip_Word& word) {
    std::vector<std::wstring> lines;
    lines.push_back(Format(L"ID <%s> on %u chip enable%s", Id_Text(word.id, word.id.size()), word.chip_enables,
                           word.chip_enables == 1 ? L"" : L"s"));
    const Id_Decoding& id = word.decoding;
    std::wstring told = L"The ID says: maker " + id.maker;
    if (id.chip_bytes) told += L", " + Size_Text(*id.chip_bytes) + L" a chip enable";
    if (id.page_bytes) {
        const std::wstring spare = id.spare_bytes ? Format(L"%u", *id.spare_bytes) : std::wstring(L"?");
        told += Format(L", page %u + %s", *id.page_bytes, spare);
    }
    if (id.block_bytes) told += Format(L", block %u KB", *id.block_bytes / 1024);
    if (id.bus_bits) told += Format(L", bus %u", *id.bus_bits);
    if (id.bits_per_cell) told += Format(L", %u bit%s a cell", *id.bits_per_cell, *id.bits_per_cell == 1 ? L"" : L"s");
    if (id.dies) told += Format(L", %u die%s", *id.dies, *id.dies == 1 ? L"" : L"s");
    lines.push_back(told);
    if (!word.onfi) {
        lines.push_back(L"No ONFI or JEDEC parameter page");
        return lines;
    }
    const std::vector<std::uint8_t>& page = word.onfi->page;
    const std::uint64_t data = Onfi_Number(page, 80, 4), pages = Onfi_Number(page, 92, 4);
    const std::uint64_t blocks = std::uint64_t{Onfi_Number(page, 96, 4)} * Onfi_Number(page, 100, 1);
    // Both kinds of page keep these fields at the same offsets.
    lines.push_back(Format(L"The %s parameter page says: maker %s, model %s, %s a chip enable, page %I64u + %u, "
                           L"block %I64u pages, bus %u",
                           std::wstring(word.onfi->kind == Parameter_Page_Kind::Onfi ? L"ONFI" : L"JEDEC"),
                           Trim(Onfi_Text(page, 32, 12), L' '), Trim(Onfi_Text(page, 44, 20), L' '),
                           Size_Text(data * pages * blocks), data, Onfi_Number(page, 84, 2), pages,
                           (Onfi_Number(page, 6, 2) & 1) ? 16u : 8u));
    return lines;
}

NAND_Config Config_From_Chip_Word(const Chip_Word& word) {
    NAND_Config config;
    config.Name = L"Unknown";
    if (word.onfi) {
        config.Banks = Format(L"%u x 1 GB", word.chip_enables);  // the page gives the size, the count stays
        return Config_From_Onfi(config, word.onfi->page, Config_Id(word));
    }
    const Id_Decoding& id = word.decoding;
    if (!id.page_bytes || !id.spare_bytes || !id.chip_bytes)
        throw ZEKT_Exception(L"No configuration from the ID <" + Id_Text(word.id, word.id.size()) +
                             L">: it does not tell the page size");
    config.Company = id.maker;
    config.Set_ID_Code(Config_Id(word));
    config.Bus = id.bus_bits == 16u ? L"16" : L"8";
    config.Banks = Format(L"%u x %s", word.chip_enables, Size_Text(*id.chip_bytes));
    config.Page = *id.page_bytes + *id.spare_bytes;
    const std::uint64_t rows = *id.chip_bytes / *id.page_bytes;
    if (id.block_bytes) {
        config.Block = *id.block_bytes / *id.page_bytes * config.Page;
        config.Blocks = static_cast<std::uint32_t>(*id.chip_bytes / *id.block_bytes);
    }
    // Small pages take one column cycle; rows take as many bytes as their
    // count needs, two at least. Sizes are powers of two, so dies follow each
    // other without holes.
    config.Col = *id.page_bytes <= 512 ? 1 : 2;
    config.Row = std::max<std::uint32_t>(2, (static_cast<std::uint32_t>(std::bit_width(rows - 1)) + 7) / 8);
    Check_Config_Geometry(config);
    return config;
}

}  // namespace Korvane_Exe
