#include "dump/onfi_proof.h"

#include "dump/chip_operations.h"
#include "dump/reader_master.h"
#include "framework/values.h"
#include "reader/onfi_crc.h"

namespace Korvane_Exe {

namespace {

constexpr std::size_t Copy_Bytes = 256;
constexpr std::uint32_t Copies = 3;

std::wstring Trimmed(const std::string& text) {
    // The fields are ASCII; any other byte keeps its value as a character.
    return Trim(std::wstring(text.begin(), text.end()), L' ');
}

}  // namespace

std::uint32_t Onfi_Number(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) value |= static_cast<std::uint32_t>(page[offset + i]) << (8 * i);
    return value;
}

std::string Onfi_Text(const std::vector<std::uint8_t>& page, std::size_t offset, std::size_t width) {
    std::string text(page.begin() + offset, page.begin() + offset + width);
    const std::size_t zero = text.find('\0');
    return zero == std::string::npos ? text : text.substr(0, zero);
}

Onfi_Proof Prove_Onfi_Copies(const std::vector<std::uint8_t>& copies) {
    Onfi_Proof proof;
    // Each copy is checked against its own CRC, never against copy 1's.
    for (std::uint32_t copy = 0; copy < Copies && (copy + 1) * Copy_Bytes <= copies.size(); ++copy) {
        const std::uint8_t* bytes = copies.data() + copy * Copy_Bytes;
        if (Korvane_Internal::Onfi_Copy_Good(bytes)) {
            proof.page.assign(bytes, bytes + Copy_Bytes);
            proof.good_copy = copy + 1;
            return proof;
        }
    }
    std::vector<std::uint8_t> three(copies);
    three.resize(Copies * Copy_Bytes, 0xFF);
    proof.page.resize(Copy_Bytes);
    for (std::size_t i = 0; i < Copy_Bytes; ++i) {
        const std::uint8_t a = three[i], b = three[Copy_Bytes + i], c = three[2 * Copy_Bytes + i];
        proof.page[i] = static_cast<std::uint8_t>((a & b) | (a & c) | (b & c));
    }
    return proof;
}

Onfi_Proof Read_Proven_Parameter_Page(const NAND_Config& config, const NAND_Options& options) {
    const std::vector<std::uint8_t> first = Korvane_Internal::Read_Parameter_Page(1, config, options);
    if (Korvane_Internal::Onfi_Copy_Good(first.data())) return {first, 1};
    return Prove_Onfi_Copies(Korvane_Internal::Read_Parameter_Page(1, config, options, Copies * Copy_Bytes));
}

std::wstring Onfi_Verdict(const Onfi_Proof& proof) {
    switch (proof.good_copy) {
    case 0:
        return L"CRC wrong in all three copies: the report shows their bytewise majority";
    case 1:
        return L"CRC good: copy 1";
    case 2:
        return L"CRC good: copy 2 (copy 1 fails its CRC)";
    default:
        return L"CRC good: copy 3 (copies 1 and 2 fail their CRC)";
    }
}

std::optional<Onfi_Proof> Proven_Onfi_Report(const NAND_Config& config, const NAND_Options& options, ZEKT_Log& log) {
    try {
        Onfi_Proof proof = Read_Proven_Parameter_Page(config, options);
        Print_Onfi_Report(proof.page, log);
        log.Print(L"\n%s\n", Onfi_Verdict(proof));
        return proof;
    } catch (...) {
        // As the report window shows a failure: after an empty line.
        log.Print(L"\n");
        log.Report_Exception();
        return std::nullopt;
    }
}

NAND_Config Config_From_Onfi(const NAND_Config& base, const std::vector<std::uint8_t>& page, const std::wstring& id) {
    NAND_Config config = base;
    const std::uint64_t data_bytes = Onfi_Number(page, 80, 4);
    const std::uint64_t page_bytes = data_bytes + Onfi_Number(page, 84, 2);
    const std::uint64_t pages_per_block = Onfi_Number(page, 92, 4);
    const std::uint64_t blocks = std::uint64_t{Onfi_Number(page, 96, 4)} * page[100];
    const std::uint64_t block_bytes = page_bytes * pages_per_block;
    if (data_bytes == 0 || pages_per_block == 0 || block_bytes > 0xFFFFFFFFu || blocks == 0 || blocks > 0xFFFFFFFFu)
        throw ZEKT_Exception(Format(L"Parameter page geometry <%I64u x %I64u x %I64u> makes no configuration",
                                    page_bytes, pages_per_block, blocks));
    config.Company = Trimmed(Onfi_Text(page, 32, 12));
    config.Name = Trimmed(Onfi_Text(page, 44, 20));
    config.Set_ID_Code(Trim(id, L' '));
    config.Bus = (Onfi_Number(page, 6, 2) & 1) ? L"16" : L"8";
    config.Page = static_cast<std::uint32_t>(page_bytes);
    config.Block = static_cast<std::uint32_t>(block_bytes);
    config.Blocks = static_cast<std::uint32_t>(blocks);
    // "Banks" counts the data area only, in whole megabytes.
    const std::uint64_t megabytes = (data_bytes * pages_per_block * blocks + 0xFFFFF) >> 20;
    config.Banks = megabytes % 1024 == 0 ? Format(L"%u x %I64u GB", base.Get_Bank_Count(), megabytes / 1024)
                                         : Format(L"%u x %I64u MB", base.Get_Bank_Count(), megabytes);
    config.Col = page[101] >> 4;
    config.Row = page[101] & 0x0F;
    return config;
}

}  // namespace Korvane_Exe
