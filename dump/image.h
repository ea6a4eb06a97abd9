// The image of a dump that filesystem tools read: the data area of every
// page in order, each codeword mended by its ECC, bad blocks skipped, kept
// or padded, the bytes of a 16-bit bus swapped on request.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "dump/bank_map.h"
#include "dump/reader_master.h"
#include "ecc/layout.h"

namespace Korvane_Exe {

// What becomes of a bad block: left out, as a writer that skips bad blocks
// put the data after it; copied as read; or 0xFF in its place.
enum class Bad_Block_Rule { Skip, Keep, Pad };

struct Image_Settings {
    Map_Geometry geometry;
    std::optional<Korvane_Ecc::Ecc_Layout> layout;  // none: the data as read
    bool report_layout = true;  // without a layout, the one of the dump's ECC report when it has one
    Bad_Block_Rule bad = Bad_Block_Rule::Skip;
    // Blocks of the dump, counted from 0, both included.
    std::uint64_t first_block = 0, last_block = std::numeric_limits<std::uint64_t>::max();
    bool swap16 = false;  // swap the two bytes of every 16-bit word of a page
    bool trim = false;    // leave out the trailing blocks that are all 0xFF
    unsigned threads = 0;  // for the ECC; 0: every core
};

// A codeword of the dump: its page counted from 0, its index in the page.
struct Dump_Codeword {
    std::uint64_t page = 0;
    std::uint32_t codeword = 0;
};

struct Image_Result {
    bool ecc_applied = false;
    std::uint64_t blocks = 0, skipped = 0, pages = 0;  // blocks and pages of the image; bad blocks left out
    std::uint64_t mended = 0, uncorrectable = 0;
    std::vector<Dump_Codeword> listed;  // the first uncorrectable codewords, for the row
};

// Told of every uncorrectable codeword as the pass meets it, in page order.
using Uncorrectable_Sink = std::function<void(const Dump_Codeword&)>;

// "01_01.dump" gives "01_01.img".
std::wstring Image_Path(const std::wstring& dump_path);

// Writes the image of the dump at `dump_path` to `image_path` and its hash
// to `image_path` + ".sha256" (as sha256sum -c reads it); with a
// `spare_path`, the spare areas of the same pages there. One pass of
// fixed-size chunks; each file is written under a new name and put in its
// place only when complete.
Image_Result Image_Dump(const std::wstring& dump_path, const std::wstring& image_path, const std::wstring& spare_path,
                        const Image_Settings& settings, ZEKT_Progress& progress,
                        const Uncorrectable_Sink& uncorrectable);

// "Image: 60 blocks (2 skipped), 3840 pages, 12 codewords mended, 1
// uncorrectable: page 70 codeword 2", or "..., no ECC applied".
std::wstring Image_Text(const Image_Result& result);

// The layout named by the header line of an ECC report ("NN_NN.dump.ecc").
Korvane_Ecc::Ecc_Layout Report_Layout(const std::wstring& header_line);

// The image action for one bank: "%02d_%02d.dump" into "%02d_%02d.img",
// mended by the settings' layout or else by the layout of the dump's ECC
// report when there is one.
Image_Result Image_Bank(Reader_Master& master, Bank_List& banks, const Image_Settings& settings,
                        std::uint32_t bank, const std::wstring& spare_path, const Uncorrectable_Sink& uncorrectable);

}  // namespace Korvane_Exe
