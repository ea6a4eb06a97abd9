#include "dump/bank_map.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "dump/ecc_pass.h"
#include "framework/media.h"
#include "framework/properties.h"
#include "framework/values.h"

namespace Korvane_Exe {

namespace {

constexpr std::size_t Chunk_Bytes = 0x100000;

struct State_Look {
    const wchar_t* name;
    const wchar_t* colour;
};

// By Block_State, in its order. Chosen so that every two states stay apart
// (CIE76 distance 24 or more) also as deuteranopes and protanopes see them:
// blue data against reds and yellows, lightness apart where hues come close.
// Corrected blocks take a scale from pale yellow (1 bit) to orange (t bits).
constexpr std::array<State_Look, Block_State_Count> Looks = {{
    {L"bad", L"#212529"},
    {L"weak", L"#ee6677"},
    {L"mended", L"#56b4e9"},
    {L"uncorrectable", L"#b2182b"},
    {L"corrected", L"#e69f00"},
    {L"erased", L"#dee2e6"},
    {L"data", L"#0072b2"},
}};

// The picture: a grid of Columns cells a row, each row after the number of
// its first block, under three lines of text and the legend, in pixels.
constexpr std::uint64_t Columns = 64, Cell = 10, Pitch = 12, Margin = 12, Label_Width = 48;
constexpr std::uint64_t Grid_Left = Margin + Label_Width, Width = Grid_Left + Columns * Pitch + Margin;
constexpr std::uint64_t Legend_Pitch = 150, Legend_Top = 64, Legend_Row = 22;

// The colour of a corrected block whose worst codeword had `bits` of `t`.
std::wstring Scale_Colour(std::uint32_t bits, std::uint32_t t) {
    constexpr int Pale[3] = {0xff, 0xf3, 0xb0}, Full[3] = {0xe6, 0x9f, 0x00};
    const double share = t > 1 ? static_cast<double>(std::min(bits, t) - 1) / (t - 1) : 1.0;
    std::wstring colour = L"#";
    for (int c = 0; c < 3; ++c)
        Append_Format(colour, L"%02x", static_cast<unsigned>(Pale[c] + (Full[c] - Pale[c]) * share + 0.5));
    return colour;
}

// True when every byte is 0xFF; eight words at a time, as erased flash is
// the one case that must look at every byte.
bool All_FF(const std::uint8_t* bytes, std::size_t count) {
    std::size_t i = 0;
    for (; i + 64 <= count; i += 64) {
        std::uint64_t words[8];
        std::memcpy(words, bytes + i, 64);
        std::uint64_t all = ~std::uint64_t{0};
        for (const std::uint64_t word : words) all &= word;
        if (all != ~std::uint64_t{0}) return false;
    }
    for (; i < count; ++i)
        if (bytes[i] != 0xFF) return false;
    return true;
}

// Device and file text inside the picture: control characters escaped,
// then the characters XML reserves.
std::wstring Xml_Text(const std::wstring& text) {
    std::wstring xml;
    for (const wchar_t c : Visible_Text(text)) {
        switch (c) {
            case L'&': xml += L"&amp;"; break;
            case L'<': xml += L"&lt;"; break;
            case L'>': xml += L"&gt;"; break;
            case L'"': xml += L"&quot;"; break;
            default: xml += c;
        }
    }
    return xml;
}

// "1 block", "2 blocks".
std::wstring Count_Text(std::uint64_t count, const wchar_t* one, const wchar_t* many) {
    return Format(L"%I64u %s", count, count == 1 ? one : many);
}

// Pages of one block that the ".diff" lists.
struct Listed_Pages {
    std::uint64_t weak = 0, mended = 0;
};

// The ".diff" of verify: "page bits [mended]" lines, page counted from 0;
// other lines (per data line counts) carry no page. Only listed blocks are
// kept, so memory follows the list, not the chip.
std::map<std::uint64_t, Listed_Pages> Read_Listed_Pages(const std::wstring& diff_path, std::uint64_t pages_per_block,
                                                        std::uint64_t blocks) {
    std::map<std::uint64_t, Listed_Pages> listed;
    if (!Exists(diff_path)) return listed;
    // UTF-8 with line feeds; lists of older versions are UTF-16 with FF FE.
    const std::wstring text = Read_Text_File(diff_path);
    for (std::wstring line : Split(text, L"\n")) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.empty() || line[0] < L'0' || line[0] > L'9') continue;
        const std::vector<std::wstring> tokens = Split(line, L" ");
        std::uint64_t page = 0;
        try {
            if (tokens.size() < 2) throw ZEKT_Exception(L"");
            page = To_Unsigned(tokens[0]);
            To_Unsigned(tokens[1]);
        } catch (const ZEKT_Exception&) {
            throw ZEKT_Exception_DataCorrupt(L"Wrong page line <" + Visible_Text(line) + L"> in file <" + diff_path +
                                             L">");
        }
        // A page beyond the whole blocks has no cell.
        if (pages_per_block == 0 || page / pages_per_block >= blocks) continue;
        Listed_Pages& pages = listed[page / pages_per_block];
        if (tokens.size() >= 3 && tokens[2] == L"mended")
            ++pages.mended;
        else
            ++pages.weak;
    }
    return listed;
}

// The picture, written as it grows (UTF-8, which every viewer reads);
// removed again unless it is completed.
class Svg_File {
public:
    explicit Svg_File(const std::wstring& file_path)
        : path(file_path), file(std::make_unique<ZEKT_MediaFileWrite>(path)) {}
    ~Svg_File() {
        if (complete) return;
        // Clean-up while an error passes: half a picture would mislead.
        try {
            file.reset();
            Delete_File(path);
        } catch (...) {
        }
    }
    void Put(const std::wstring& text) {
        buffer += To_UTF8(text);
        if (buffer.size() >= 0x10000) Flush();
    }
    void Complete() {
        Flush();
        complete = true;
    }

private:
    void Flush() {
        file->Write(buffer.data(), buffer.size());
        buffer.clear();
    }

    std::wstring path;
    std::unique_ptr<ZEKT_MediaFileWrite> file;
    std::string buffer;
    bool complete = false;
};

void Put_Cell(Svg_File& svg, std::uint64_t grid_top, std::uint64_t block, Block_State state,
              const Listed_Pages& pages, const Ecc_Block* ecc, std::uint32_t t) {
    const State_Look& look = Looks[static_cast<std::size_t>(state)];
    std::wstring title = Format(L"block %I64u: %s", block, look.name);
    std::vector<std::wstring> details;
    if (state == Block_State::Weak) details.push_back(Count_Text(pages.weak, L"page differs", L"pages differ"));
    if (ecc)
        details.push_back(Format(L"ECC: %I64u uncorrectable, %I64u corrected, %I64u erased with flips, "
                                 L"worst %u of %u bits",
                                 ecc->uncorrectable, ecc->corrected, ecc->erased, ecc->worst_bits, t));
    if (!details.empty()) title += L" (" + Join(details, L"; ") + L")";
    const std::wstring colour = state == Block_State::Corrected ? Scale_Colour(ecc->worst_bits, t) : look.colour;
    svg.Put(Format(L"<rect x=\"%I64u\" y=\"%I64u\" width=\"%I64u\" height=\"%I64u\" fill=\"%s\">"
                   L"<title>%s</title></rect>\r\n",
                   Grid_Left + block % Columns * Pitch, grid_top + block / Columns * Pitch, Cell, Cell, colour,
                   title));
}

// The blocks from `first` to `end` - 1 that the dump does not reach, as the
// empty outline of the bank's rest: the end of a row, whole rows, a start.
void Put_Missing(Svg_File& svg, std::uint64_t grid_top, std::uint64_t first, std::uint64_t end) {
    const std::wstring title = Format(L"blocks %I64u to %I64u: not in the dump", first, end - 1);
    auto put = [&](std::uint64_t row, std::uint64_t column, std::uint64_t columns, std::uint64_t rows) {
        if (!columns || !rows) return;
        svg.Put(Format(L"<rect x=\"%I64u\" y=\"%I64u\" width=\"%I64u\" height=\"%I64u\" fill=\"none\" "
                       L"stroke=\"#868e96\" stroke-dasharray=\"3 2\"><title>%s</title></rect>\r\n",
                       Grid_Left + column * Pitch, grid_top + row * Pitch, columns * Pitch - (Pitch - Cell),
                       rows * Pitch - (Pitch - Cell), title));
    };
    std::uint64_t at = first;
    if (at % Columns) {
        const std::uint64_t columns = std::min(end - at, Columns - at % Columns);
        put(at / Columns, at % Columns, columns, 1);
        at += columns;
    }
    put(at / Columns, 0, Columns, (end - at) / Columns);
    at += (end - at) / Columns * Columns;
    put(at / Columns, 0, end - at, 1);
}

}  // namespace

Map_Geometry Bank_Map_Geometry(const NAND_Config& config, std::uint32_t data_bytes) {
    if (config.Page == 0) throw ZEKT_Exception(L"Can't divide a bank into pages of <0> bytes");
    Map_Geometry geometry{config.Page, data_bytes ? data_bytes : Data_Area_Bytes(config.Page), config.Block};
    if (geometry.data_bytes > config.Page)
        throw ZEKT_Exception(
            Format(L"Data area of <%u> bytes does not fit a page of %u bytes", data_bytes, config.Page));
    if (config.Block == 0 && config.Blocks != 1)
        throw ZEKT_Exception(L"No block size in the configuration (\"Block\" <0x0>): add --set Block=BYTES");
    if (config.Block % config.Page != 0)
        throw ZEKT_Exception(Format(L"\"Block\" <%s> is not a whole number of pages of %u bytes",
                                    Hex_Text(config.Block), config.Page));
    // Without a size of the bank a partial dump is drawn as it is.
    try {
        geometry.bank_bytes = config.Get_Bank_Dump_Size();
    } catch (const ZEKT_Exception&) {
    }
    return geometry;
}

Map_Result Map_Dump(const std::wstring& dump_path, const Map_Geometry& geometry, const std::wstring& chip,
                    std::uint32_t bank, ZEKT_Progress& progress) {
    ZEKT_MediaFileReadProtect dump(dump_path);
    const std::uint64_t size = dump.GetSize();
    const std::uint64_t page = geometry.page_bytes;
    const std::uint64_t block = geometry.block_bytes ? geometry.block_bytes : size / page * page;
    Map_Result result;
    result.blocks = block ? size / block : 0;
    result.left_over_bytes = size - result.blocks * block;
    const std::map<std::uint64_t, Listed_Pages> listed =
        Read_Listed_Pages(dump_path + L".diff", block / page, result.blocks);
    Ecc_Listing ecc;
    result.ecc = Path_Exists(dump_path + L".ecc");
    if (result.ecc) ecc = Read_Ecc_Listing(dump_path + L".ecc", block / page, geometry.page_bytes, 0);
    const std::uint64_t bank_blocks = block ? geometry.bank_bytes / block : 0;
    result.missing_blocks = bank_blocks > result.blocks ? bank_blocks - result.blocks : 0;

    Svg_File svg(dump_path + L".svg");
    const std::uint64_t drawn = result.blocks + result.missing_blocks;
    const std::uint64_t rows = (drawn + Columns - 1) / Columns;
    const std::uint64_t grid_top = Legend_Top + Legend_Row * (result.ecc ? 2 : 1) + 10;
    const std::uint64_t height = grid_top + rows * Pitch + Margin;
    const std::wstring name = dump_path.substr(Folder_Of(dump_path).size());
    svg.Put(Format(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                   L"version=\"1.1\" width=\"%I64u\" height=\"%I64u\" viewBox=\"0 0 %I64u %I64u\" "
                   L"font-family=\"sans-serif\" font-size=\"13\">\r\n<title>%s, bank %u</title>\r\n"
                   L"<rect width=\"%I64u\" height=\"%I64u\" fill=\"#ffffff\"/>\r\n",
                   Width, height, Width, height, Xml_Text(chip), bank, Width, height));
    svg.Put(Format(L"<text x=\"%I64u\" y=\"28\" font-size=\"18\" font-weight=\"bold\">%s</text>\r\n", Margin,
                   Xml_Text(chip)));
    std::wstring about = Format(L"Bank %u, %s: %s of %s bytes (%s of %I64u, data area %u)", bank, Xml_Text(name),
                                Count_Text(result.blocks, L"block", L"blocks"), Hex_Text(block),
                                Count_Text(block / page, L"page", L"pages"), page, geometry.data_bytes);
    if (result.left_over_bytes)
        Append_Format(about, L"; %I64u bytes after the last block not mapped", result.left_over_bytes);
    if (result.missing_blocks)
        Append_Format(about, L"; %I64u of %I64u not in the dump", result.missing_blocks, bank_blocks);
    svg.Put(Format(L"<text x=\"%I64u\" y=\"50\">%s</text>\r\n", Margin, about));

    // The two factory marks: the first spare byte of the first and of the
    // last page, or where the ECC layout keeps it. A page without spare area carries none.
    const bool marked = geometry.data_bytes < page;
    const std::uint64_t mark =
        result.ecc && marked
            ? Korvane_Ecc::Lay_Out(ecc.layout, geometry.data_bytes, geometry.page_bytes - geometry.data_bytes)
                  .bad_block_offset
            : geometry.data_bytes;
    const std::uint64_t marks[2] = {mark, block - page + mark};
    std::vector<std::uint8_t> chunk(Chunk_Bytes);
    auto next_listed = listed.begin();
    auto next_ecc = ecc.blocks.begin();
    std::uint64_t index = 0, offset = 0;  // the block under way and the bytes of it seen
    bool bad = false, erased = true;
    const std::uint64_t end = result.blocks * block;
    for (std::uint64_t pos = 0; pos < end;) {
        progress.Update(static_cast<std::int64_t>(pos), static_cast<std::int64_t>(end));
        progress.Check();
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(Chunk_Bytes, end - pos));
        dump.Read(chunk.data(), n);
        for (std::size_t i = 0; i < n;) {
            const std::size_t span = static_cast<std::size_t>(std::min<std::uint64_t>(n - i, block - offset));
            for (const std::uint64_t mark : marks)
                if (marked && mark >= offset && mark < offset + span && chunk[i + (mark - offset)] != 0xFF) bad = true;
            // Data shows at its first byte; only erased blocks are read whole.
            if (erased) erased = All_FF(chunk.data() + i, span);
            i += span;
            offset += span;
            if (offset < block) continue;
            const bool is_listed = next_listed != listed.end() && next_listed->first == index;
            const Listed_Pages pages = is_listed ? next_listed->second : Listed_Pages{};
            if (is_listed) ++next_listed;
            while (next_ecc != ecc.blocks.end() && next_ecc->first < index) ++next_ecc;
            const Ecc_Block* checked =
                next_ecc != ecc.blocks.end() && next_ecc->first == index ? &next_ecc->second : nullptr;
            const Block_State state = bad ? Block_State::Bad
                                      : pages.weak ? Block_State::Weak
                                      : pages.mended ? Block_State::Mended
                                      : checked && checked->uncorrectable ? Block_State::Uncorrectable
                                      : checked && checked->worst_bits ? Block_State::Corrected
                                      : erased ? Block_State::Erased
                                               : Block_State::Data;
            ++result.counts[static_cast<std::size_t>(state)];
            if (index % Columns == 0)
                svg.Put(Format(L"<text x=\"%I64u\" y=\"%I64u\" font-size=\"10\" text-anchor=\"end\">%I64u</text>\r\n",
                               Grid_Left - 6, grid_top + index / Columns * Pitch + Cell - 1, index));
            Put_Cell(svg, grid_top, index, state, pages, checked, ecc.t);
            ++index;
            offset = 0;
            bad = false;
            erased = true;
        }
        pos += n;
    }

    // Rows of a partial dump's missing blocks still carry their numbers.
    for (std::uint64_t row = (result.blocks + Columns - 1) / Columns; row < rows; ++row)
        svg.Put(Format(L"<text x=\"%I64u\" y=\"%I64u\" font-size=\"10\" text-anchor=\"end\">%I64u</text>\r\n",
                       Grid_Left - 6, grid_top + row * Pitch + Cell - 1, row * Columns));
    if (result.missing_blocks) Put_Missing(svg, grid_top, result.blocks, drawn);

    // The legend last, when the counts are known; it is drawn above the grid:
    // the states of the dump, then those of the ECC list with its scale.
    std::size_t slot = 0;
    for (std::size_t s = 0; s < Block_State_Count; ++s) {
        const bool ecc_state = s == static_cast<std::size_t>(Block_State::Uncorrectable) ||
                               s == static_cast<std::size_t>(Block_State::Corrected);
        if (ecc_state && !result.ecc) continue;
        const std::uint64_t x = Margin + (ecc_state ? s - 3 : slot++) * Legend_Pitch;
        const std::uint64_t y = Legend_Top + (ecc_state ? Legend_Row : 0);
        svg.Put(Format(L"<rect x=\"%I64u\" y=\"%I64u\" width=\"14\" height=\"14\" fill=\"%s\" stroke=\"#868e96\"/>"
                       L"<text x=\"%I64u\" y=\"%I64u\">%s %I64u</text>\r\n",
                       x, y, Looks[s].colour, x + 20, y + 12, Looks[s].name, result.counts[s]));
    }
    if (result.ecc) {
        // The scale of corrected blocks: one swatch per bit count, at most 16.
        const std::uint64_t x = Margin + 2 * Legend_Pitch, y = Legend_Top + Legend_Row;
        const std::uint32_t steps = std::min<std::uint32_t>(std::max<std::uint32_t>(ecc.t, 1), 16);
        svg.Put(Format(L"<text x=\"%I64u\" y=\"%I64u\">worst codeword: 1</text>\r\n", x, y + 12));
        for (std::uint32_t k = 0; k < steps; ++k) {
            const std::uint32_t bits = steps > 1 ? 1 + k * (std::max(ecc.t, 1u) - 1) / (steps - 1) : 1;
            svg.Put(Format(L"<rect x=\"%I64u\" y=\"%I64u\" width=\"10\" height=\"14\" fill=\"%s\"/>\r\n",
                           x + 120 + k * 10, y, Scale_Colour(bits, ecc.t)));
        }
        svg.Put(Format(L"<text x=\"%I64u\" y=\"%I64u\">%u bits</text>\r\n", x + 126 + steps * 10, y + 12,
                       ecc.t));
    }
    svg.Put(L"</svg>\r\n");
    svg.Complete();
    return result;
}

std::wstring Map_Text(const Map_Result& result) {
    std::wstring text = Count_Text(result.blocks, L"block", L"blocks") + L": ";
    for (std::size_t s = 0; s < Block_State_Count; ++s) {
        const bool ecc_state = s == static_cast<std::size_t>(Block_State::Uncorrectable) ||
                               s == static_cast<std::size_t>(Block_State::Corrected);
        if (!ecc_state || result.ecc)
            Append_Format(text, L"%s%I64u %s", s ? L", " : L"", result.counts[s], Looks[s].name);
    }
    if (result.left_over_bytes) Append_Format(text, L"; %I64u bytes left over", result.left_over_bytes);
    if (result.missing_blocks)
        Append_Format(text, L"; %s not in the dump",
                      Count_Text(result.missing_blocks, L"block", L"blocks"));
    return text;
}

void Map_Bank(Reader_Master& master, Bank_List& banks, const NAND_Config& config, const Map_Geometry& geometry,
              std::uint32_t bank) {
    const std::wstring dump_path = master.Dump_Path(bank);
    // An old picture never stays beside a dump that this run did not map.
    if (Exists(dump_path + L".svg")) Delete_File(dump_path + L".svg");
    const std::unique_ptr<ZEKT_Progress> progress = banks.Start_Progress(bank);
    progress->Set_Status(L"Map...");
    const std::wstring chip = Trim(config.Company + L" " + config.Name, L' ');
    const Map_Result result = Map_Dump(dump_path, geometry, chip.empty() ? L"Unnamed chip" : chip, bank, *progress);
    progress->Set_Status(Map_Text(result));
}

}  // namespace Korvane_Exe
