#include "dump/bank_map.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

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

// By Block_State, in its order.
constexpr std::array<State_Look, Block_State_Count> Looks = {{
    {L"bad", L"#212529"},
    {L"weak", L"#e03131"},
    {L"mended", L"#f59f00"},
    {L"erased", L"#dee2e6"},
    {L"data", L"#2f9e44"},
}};

// The picture: a grid of Columns cells a row under three lines of text and
// the legend, in pixels.
constexpr std::uint64_t Columns = 64, Cell = 10, Pitch = 12, Margin = 12, Grid_Top = 96;
constexpr std::uint64_t Width = 2 * Margin + Columns * Pitch, Legend_Pitch = 150;

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
    Read_Text_Lines(diff_path, [&](const std::wstring& line) {
        if (line.empty() || line[0] < L'0' || line[0] > L'9') return;
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
        if (pages_per_block == 0 || page / pages_per_block >= blocks) return;
        Listed_Pages& pages = listed[page / pages_per_block];
        if (tokens.size() >= 3 && tokens[2] == L"mended")
            ++pages.mended;
        else
            ++pages.weak;
    });
    return listed;
}

// The picture, written as it grows (UTF-8, which every viewer reads) into
// a new file that takes its name only when complete: half a picture would
// mislead.
class Svg_File {
public:
    explicit Svg_File(const std::wstring& file_path)
        : path(file_path), file(std::make_unique<ZEKT_MediaFileReplace>(path)) {}
    void Put(const std::wstring& text) {
        buffer += To_UTF8(text);
        if (buffer.size() >= 0x10000) Flush();
    }
    void Complete() {
        Flush();
        file->Commit();
    }

private:
    void Flush() {
        file->Write(buffer.data(), buffer.size());
        buffer.clear();
    }

    std::wstring path;
    std::unique_ptr<ZEKT_MediaFileReplace> file;
    std::string buffer;
};

void Put_Cell(Svg_File& svg, std::uint64_t block, Block_State state, const Listed_Pages& pages) {
    const State_Look& look = Looks[static_cast<std::size_t>(state)];
    std::wstring title = Format(L"block %I64u: %s", block, look.name);
    if (state == Block_State::Weak)
        title += L" (" + Count_Text(pages.weak, L"page differs", L"pages differ") + L")";
    svg.Put(Format(L"<rect x=\"%I64u\" y=\"%I64u\" width=\"%I64u\" height=\"%I64u\" fill=\"%s\">"
                   L"<title>%s</title></rect>\r\n",
                   Margin + block % Columns * Pitch, Grid_Top + block / Columns * Pitch, Cell, Cell, look.colour,
                   title));
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
    return geometry;
}

Map_Result Map_Dump(const std::wstring& dump_path, const Map_Geometry& geometry, const std::wstring& chip,
                    std::uint32_t bank, ZEKT_Progress& progress) {
    ZEKT_MediaFileReadProtect dump(dump_path);
    const std::uint64_t size = dump.GetSize();
    // No byte, no block: an empty picture would say nothing is wrong.
    if (size == 0) throw ZEKT_Exception(L"Empty dump file <" + dump_path + L">");
    const std::uint64_t page = geometry.page_bytes;
    const std::uint64_t block = geometry.block_bytes ? geometry.block_bytes : size / page * page;
    Map_Result result;
    result.blocks = block ? size / block : 0;
    result.left_over_bytes = size - result.blocks * block;
    const std::map<std::uint64_t, Listed_Pages> listed =
        Read_Listed_Pages(dump_path + L".diff", block / page, result.blocks);

    Svg_File svg(dump_path + L".svg");
    const std::uint64_t rows = (result.blocks + Columns - 1) / Columns;
    const std::uint64_t height = Grid_Top + rows * Pitch + Margin;
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
    svg.Put(Format(L"<text x=\"%I64u\" y=\"50\">%s</text>\r\n", Margin, about));

    // The two factory marks: the first spare byte of the first and of the
    // last page. A page without spare area carries none.
    const bool marked = geometry.data_bytes < page;
    const std::uint64_t marks[2] = {geometry.data_bytes, block - page + geometry.data_bytes};
    std::vector<std::uint8_t> chunk(Chunk_Bytes);
    auto next_listed = listed.begin();
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
            const Block_State state = bad ? Block_State::Bad
                                      : pages.weak ? Block_State::Weak
                                      : pages.mended ? Block_State::Mended
                                      : erased ? Block_State::Erased
                                               : Block_State::Data;
            ++result.counts[static_cast<std::size_t>(state)];
            Put_Cell(svg, index, state, pages);
            ++index;
            offset = 0;
            bad = false;
            erased = true;
        }
        pos += n;
    }

    // The legend last, when the counts are known; it is drawn above the grid.
    for (std::size_t s = 0; s < Block_State_Count; ++s) {
        const std::uint64_t x = Margin + s * Legend_Pitch;
        svg.Put(Format(L"<rect x=\"%I64u\" y=\"64\" width=\"14\" height=\"14\" fill=\"%s\" stroke=\"#868e96\"/>"
                       L"<text x=\"%I64u\" y=\"76\">%s %I64u</text>\r\n",
                       x, Looks[s].colour, x + 20, Looks[s].name, result.counts[s]));
    }
    svg.Put(L"</svg>\r\n");
    svg.Complete();
    return result;
}

std::wstring Map_Text(const Map_Result& result) {
    std::wstring text = Count_Text(result.blocks, L"block", L"blocks") + L": ";
    for (std::size_t s = 0; s < Block_State_Count; ++s)
        Append_Format(text, L"%s%I64u %s", s ? L", " : L"", result.counts[s], Looks[s].name);
    if (result.left_over_bytes) Append_Format(text, L"; %I64u bytes left over", result.left_over_bytes);
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
