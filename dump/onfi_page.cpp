#include "dump/onfi_page.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "config/geometry_check.h"
#include "dump/chip_operations.h"
#include "framework/media.h"
#include "framework/values.h"
#include "reader/onfi_crc.h"

namespace Korvane_Exe {

namespace {

constexpr std::uint32_t Copies = 3;

// Byte 0 of every layout is the signature; the fields reported sit at the
// same offsets in both (the JEDEC layout as the kernel's nand_jedec.c reads it).
constexpr Parameter_Layout Layouts[] = {
    {Parameter_Page_Kind::Onfi, "ONFI", 0x00, 256},
    {Parameter_Page_Kind::Jedec, "JESD", 0x40, 512},
};

bool Signed(const std::vector<std::uint8_t>& page, const Parameter_Layout& layout) {
    return page.size() >= 4 && std::memcmp(page.data(), layout.signature, 4) == 0;
}

// Two or more letters of the signature in place: a page, maybe damaged,
// worth reading all three copies of; a blank bus has none.
bool Resembles(const std::vector<std::uint8_t>& page, const Parameter_Layout& layout) {
    int letters = 0;
    for (std::size_t i = 0; i < 4 && i < page.size(); ++i) letters += page[i] == static_cast<std::uint8_t>(layout.signature[i]);
    return letters >= 2;
}

Onfi_Proof Read_Layout(const NAND_Config& config, const NAND_Options& options, std::uint32_t bank,
                       const Parameter_Layout& layout) {
    const auto copy = static_cast<std::uint32_t>(layout.copy_bytes);
    std::vector<std::uint8_t> first =
        Korvane_Internal::Read_Parameter_Page(bank, config, options, copy, layout.address);
    if (Korvane_Internal::Parameter_Copy_Good(first.data(), copy) || !Resembles(first, layout)) {
        Onfi_Proof proof = Prove_Onfi_Copies(first, layout.kind);
        // One copy read is the page shown, whatever the majority of one says.
        proof.page = first;
        return proof;
    }
    return Prove_Onfi_Copies(Korvane_Internal::Read_Parameter_Page(bank, config, options, Copies * copy, layout.address),
                             layout.kind);
}

// The geometry a parameter page gives, in the units of its fields.
struct Page_Geometry {
    std::uint64_t data_bytes, page_bytes, pages_per_block, blocks_per_lun, luns;

    explicit Page_Geometry(const std::vector<std::uint8_t>& page)
        : data_bytes(Onfi_Number(page, 80, 4)), page_bytes(data_bytes + Onfi_Number(page, 84, 2)),
          pages_per_block(Onfi_Number(page, 92, 4)), blocks_per_lun(Onfi_Number(page, 96, 4)), luns(page[100]) {}

    [[noreturn]] void Refuse(const wchar_t* why) const {
        throw ZEKT_Exception(Format(L"Parameter page geometry <%I64u bytes x %I64u pages x %I64u blocks x %I64u LUNs> ",
                                    page_bytes, pages_per_block, blocks_per_lun, luns) +
                             why);
    }
};

}  // namespace

const Parameter_Layout& Layout_Of(Parameter_Page_Kind kind) {
    switch (kind) {
    case Parameter_Page_Kind::Onfi:
        return Layouts[0];
    case Parameter_Page_Kind::Jedec:
        return Layouts[1];
    }
    throw ZEKT_Exception_Bug(L"Bug: unknown parameter page kind");
}

bool Onfi_Proof::Signed() const { return Korvane_Exe::Signed(page, Layout_Of(kind)); }

std::uint32_t Onfi_Number(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) value |= static_cast<std::uint32_t>(page[offset + i]) << (8 * i);
    return value;
}

std::wstring Onfi_Text(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t width) {
    // The fields should be ASCII; any byte keeps its value, and what the
    // device sends may be anything, so no control character gets through.
    std::wstring text;
    for (std::size_t i = offset; i < offset + width && page[i] != 0; ++i) text += static_cast<wchar_t>(page[i]);
    return Visible_Text(text);
}

Onfi_Proof Prove_Onfi_Copies(const std::vector<std::uint8_t>& copies, Parameter_Page_Kind kind) {
    const std::size_t copy_bytes = Layout_Of(kind).copy_bytes;
    Onfi_Proof proof;
    proof.kind = kind;
    proof.raw = copies;
    // Each copy is checked against its own CRC, never against copy 1's.
    for (std::uint32_t copy = 0; copy < Copies && (copy + 1) * copy_bytes <= copies.size(); ++copy) {
        const std::uint8_t* bytes = copies.data() + copy * copy_bytes;
        if (Korvane_Internal::Parameter_Copy_Good(bytes, copy_bytes)) {
            proof.page.assign(bytes, bytes + copy_bytes);
            proof.good_copy = copy + 1;
            return proof;
        }
    }
    std::vector<std::uint8_t> three(copies);
    three.resize(Copies * copy_bytes, 0xFF);
    proof.page.resize(copy_bytes);
    for (std::size_t i = 0; i < copy_bytes; ++i) {
        const std::uint8_t a = three[i], b = three[copy_bytes + i], c = three[2 * copy_bytes + i];
        proof.page[i] = static_cast<std::uint8_t>((a & b) | (a & c) | (b & c));
    }
    // Copies damaged in different bytes are mended by the majority; its own
    // CRC says whether they were.
    proof.majority_good = Korvane_Internal::Parameter_Copy_Good(proof.page.data(), copy_bytes);
    return proof;
}

Onfi_Proof Read_Proven_Parameter_Page(const NAND_Config& config, const NAND_Options& options, std::uint32_t bank) {
    const Parameter_Layout& onfi = Layout_Of(Parameter_Page_Kind::Onfi);
    const Parameter_Layout& jedec = Layout_Of(Parameter_Page_Kind::Jedec);
    Onfi_Proof onfi_proof = Read_Layout(config, options, bank, onfi);
    if (Signed(onfi_proof.page, onfi)) return onfi_proof;
    // Toggle-mode parts answer only the JEDEC page.
    Onfi_Proof jedec_proof = Read_Layout(config, options, bank, jedec);
    if (Signed(jedec_proof.page, jedec)) return jedec_proof;
    return Resembles(jedec_proof.page, jedec) && !Resembles(onfi_proof.page, onfi) ? jedec_proof : onfi_proof;
}

std::wstring Onfi_Verdict(const Onfi_Proof& proof) {
    switch (proof.good_copy) {
    case 0:
        return proof.majority_good ? L"CRC good: majority of three copies"
                                   : L"CRC wrong in all three copies: the report shows their bytewise majority";
    case 1:
        return L"CRC good: copy 1";
    case 2:
        return L"CRC good: copy 2 (copy 1 fails its CRC)";
    default:
        return L"CRC good: copy 3 (copies 1 and 2 fail their CRC)";
    }
}

void Print_Onfi_Report(const std::vector<std::uint8_t>& page, ZEKT_Log& log, Parameter_Page_Kind kind) {
    const Parameter_Layout& layout = Layout_Of(kind);
    log.Print(L"Header ");
    for (std::size_t i = 0; i < 4 && i < page.size(); ++i) log.Print(L"%02x ", page[i]);
    log.Print(L"\n");
    if (!Signed(page, layout) || page.size() < layout.copy_bytes) {
        switch (kind) {
        case Parameter_Page_Kind::Onfi:
            throw ZEKT_Exception(L"Wrong Header");
        case Parameter_Page_Kind::Jedec:
            throw ZEKT_Exception(L"Wrong Header <" + Onfi_Text(page, 0, std::min<std::size_t>(4, page.size())) +
                                 L">: a JEDEC parameter page begins JESD");
        }
    }
    log.Print(L"\n");
    log.Print(L"Manufacturer: %s\n", Onfi_Text(page, 32, 12));
    log.Print(L"Name: %s\n", Onfi_Text(page, 44, 20));
    log.Print(L"\n");
    // Summed in 64 bits: a page of 0xFFFFFFFF data bytes must not show as a few.
    log.Print(L"Page: %I64u\n\n", Page_Geometry(page).page_bytes);
    log.Print(L"Block: 0x%x\n", Onfi_Number(page, 92, 4));
    log.Print(L"Blocks: 0x%x\n", Onfi_Number(page, 96, 4));
    log.Print(L"LUNs: %d\n", page[100]);
    log.Print(L"\n");
    log.Print(L"Col: %d\n", page[101] >> 4);
    log.Print(L"Row: %d\n", page[101] & 0x0F);
    log.Print(L"\n");
    log.Print(L"Bits per cell: %d\n", page[102]);
}

std::optional<Onfi_Proof> Proven_Onfi_Report(const NAND_Config& config, const NAND_Options& options, ZEKT_Log& log,
                                             const std::wstring& page_out) {
    std::optional<Onfi_Proof> proof;
    try {
        proof = Read_Proven_Parameter_Page(config, options);
        // Kept before anything is judged: a page we cannot read yet is
        // exactly the one a user sends us.
        if (!page_out.empty()) Replace_File(page_out, proof->raw.data(), proof->raw.size());
        Print_Onfi_Report(proof->page, log, proof->kind);
        log.Print(L"\n%s\n", Onfi_Verdict(*proof));
    } catch (...) {
        // As the report window shows a failure: after an empty line.
        log.Print(L"\n");
        log.Report_Exception();
        // Only a page without its signature is still told: any other failure
        // (the page file, the read) leaves no proof.
        if (proof && proof->Signed()) proof.reset();
    }
    return proof;
}

NAND_Config Config_From_Onfi(const NAND_Config& base, const std::vector<std::uint8_t>& page, const std::wstring& id) {
    const Page_Geometry geometry(page);
    // Each product is checked before it is taken, so none can wrap; 2^60
    // bytes is far beyond any chip, and no position near it can wrap either.
    if (geometry.data_bytes == 0 || geometry.pages_per_block == 0 || geometry.page_bytes > 0xFFFFFFFFu ||
        geometry.pages_per_block > 0xFFFFFFFFu / geometry.page_bytes)
        geometry.Refuse(L"makes no configuration");
    // A data area of a power of two and a spare area smaller than it, as
    // every page the reader's column counts and the dump's layout know.
    if (!std::has_single_bit(geometry.data_bytes) || geometry.page_bytes - geometry.data_bytes >= geometry.data_bytes)
        geometry.Refuse(L"has no data area of a power of two with a smaller spare area");
    const std::uint64_t block_bytes = geometry.page_bytes * geometry.pages_per_block;
    const std::uint64_t blocks = geometry.blocks_per_lun * geometry.luns;
    if (blocks == 0 || blocks > 0xFFFFFFFFu || block_bytes * blocks >= std::uint64_t{1} << 60)
        geometry.Refuse(L"makes no configuration");

    // A row address is, from its low bits up, the row in its block, the block
    // in its LUN and the LUN, each field as wide as its count rounded up to a
    // power of two. Word-line command sets read three pages a row.
    const bool triple = base.Is_Triple_Page();
    if (triple && geometry.pages_per_block % 3 != 0) geometry.Refuse(L"has blocks of no whole rows of three pages");
    const std::uint64_t rows = triple ? geometry.pages_per_block / 3 : geometry.pages_per_block;
    if (rows * blocks > 0xFFFFFFFFu) geometry.Refuse(L"has more rows than the reader addresses");
    // Both spans are at most twice their counts, so none of this can wrap.
    const std::uint64_t row_span = std::bit_ceil(rows);
    const std::uint64_t lun_span = std::bit_ceil(geometry.blocks_per_lun) * row_span;
    const std::uint64_t end_row = (geometry.luns - 1) * lun_span + (geometry.blocks_per_lun - 1) * row_span + rows;
    if (end_row > 0xFFFFFFFFu) geometry.Refuse(L"has more rows than the reader addresses");

    NAND_Config config = base;
    config.Skip_Mask_1 = config.Skip_Page_1 = config.Skip_Mask_2 = config.Skip_Page_2 = 0xFFFFFFFF;
    // A hole only matters where something follows it: a block after a short
    // block, a LUN after a LUN of fewer blocks than its address space holds.
    const bool page_rule = rows != row_span && blocks > 1;
    const bool lun_rule = geometry.blocks_per_lun * row_span != lun_span && geometry.luns > 1;
    if (page_rule) {
        config.Skip_Mask_1 = static_cast<std::uint32_t>(row_span - 1);
        config.Skip_Page_1 = static_cast<std::uint32_t>(rows);
    }
    if (lun_rule) {
        // Rule 2 works on the rows rule 1 made, where a LUN's blocks are whole spans.
        std::uint32_t& mask = page_rule ? config.Skip_Mask_2 : config.Skip_Mask_1;
        std::uint32_t& pages = page_rule ? config.Skip_Page_2 : config.Skip_Page_1;
        mask = static_cast<std::uint32_t>(lun_span - 1);
        pages = static_cast<std::uint32_t>(geometry.blocks_per_lun * row_span);
    }

    config.Company = Trim(Onfi_Text(page, 32, 12), L' ');
    config.Name = Trim(Onfi_Text(page, 44, 20), L' ');
    config.Set_ID_Code(Trim(id, L' '));
    config.Bus = (Onfi_Number(page, 6, 2) & 1) ? L"16" : L"8";
    config.Page = static_cast<std::uint32_t>(geometry.page_bytes);
    config.Block = static_cast<std::uint32_t>(block_bytes);
    config.Blocks = static_cast<std::uint32_t>(blocks);
    // "Banks" counts the data area only, in whole megabytes.
    const std::uint64_t megabytes = (geometry.data_bytes * geometry.pages_per_block * blocks + 0xFFFFF) >> 20;
    config.Banks = megabytes % 1024 == 0 ? Format(L"%u x %I64u GB", base.Get_Bank_Count(), megabytes / 1024)
                                         : Format(L"%u x %I64u MB", base.Get_Bank_Count(), megabytes);
    config.Col = page[101] >> 4;
    config.Row = page[101] & 0x0F;

    // The configuration is proven by its own arithmetic: it must read exactly
    // the rows from 0 to the last row of the last LUN.
    std::int64_t start = 0, end = static_cast<std::int64_t>(block_bytes * blocks);
    std::uint32_t first_row = 0, last_row = 0;
    try {
        config.Get_Bank_Size_MB();
        config.Get_Real_Page_Range(start, end, first_row, last_row);
    } catch (const ZEKT_Exception&) {
        geometry.Refuse(L"does not fit the configuration");
    }
    if (first_row != 0 || last_row != end_row || static_cast<std::uint64_t>(end) != block_bytes * blocks)
        geometry.Refuse(L"has holes that the skip rules cannot express");
    // The page's own address cycles must reach its rows and columns.
    Check_Config_Geometry(config);
    return config;
}

std::wstring Parameter_Page_Disagreement(const NAND_Config& config, const std::vector<std::uint8_t>& page,
                                        bool one_chip_enable) {
    const Page_Geometry chip(page);
    if (config.Page != chip.page_bytes)
        return Format(L"Page %u, the chip's parameter page says %I64u", config.Page, chip.page_bytes);
    const std::uint64_t block_bytes = chip.page_bytes * chip.pages_per_block;
    if (config.Block != 0 && config.Block != block_bytes)
        return Format(L"Block 0x%x, the chip's parameter page says 0x%I64x", config.Block, block_bytes);
    // A bank of joined chip enables holds several such chips: only their
    // pages and blocks are the page's to judge.
    if (!one_chip_enable) return {};
    // With "Block" and "Blocks" the bank is their product; the blocks of
    // every LUN count. Otherwise "Banks" sizes it, and the LUNs show there.
    const std::uint64_t blocks = chip.blocks_per_lun * chip.luns;
    if (config.Block != 0 && config.Blocks != 0) {
        if (config.Blocks != blocks)
            return Format(L"Blocks 0x%x, the chip's parameter page says 0x%I64x", config.Blocks, blocks);
        return {};
    }
    // A page's fields may multiply past 64 bits; no bank is that large.
    const std::uint64_t per_block = chip.data_bytes * chip.pages_per_block;
    const std::uint64_t megabytes =
        per_block != 0 && blocks > UINT64_MAX / per_block ? UINT64_MAX : (per_block * blocks) >> 20;
    const std::int64_t bank_megabytes = config.Get_Bank_Size_MB();
    if (bank_megabytes < 0 || static_cast<std::uint64_t>(bank_megabytes) != megabytes)
        return Format(L"Bank size %I64d MB, the chip's parameter page says %I64u MB in %I64u LUNs", bank_megabytes,
                      megabytes, chip.luns);
    return {};
}

}  // namespace Korvane_Exe
