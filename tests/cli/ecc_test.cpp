// korvane-cli ecc over a real UBI image (mkfs.ubifs and ubinize) written to
// an emulated chip of 2112-byte pages with its ECC, bits flipped by a seed
// and one block marked bad: read, the layout found, the exact rows, the
// list beside the dump, and the copy that --fix mends back to the clean one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>

#include "ecc/codec.h"
#include "tests/cli/cli_run.h"
#include "tests/temp_folder.h"

namespace {

constexpr std::size_t Page = 2112, Data = 2048, Block_Pages = 64, Blocks = 32, Bad_Block = 5;

std::vector<unsigned char> Ubi_Image(const Temp_Folder& folder) {
    const std::string at = folder.path.string();
    std::filesystem::create_directories(folder.path / "root" / "etc");
    std::ofstream(folder.path / "root" / "etc" / "motd") << "Read what the controller wrote.\n";
    std::ofstream blob(folder.path / "root" / "blob.bin", std::ios::binary);
    std::mt19937 random(7);
    for (int i = 0; i < 500000; ++i) blob.put(static_cast<char>(random() % 5 ? random() : 0));
    blob.close();
    std::ofstream(folder.path / "ubi.cfg") << "[rootfs]\nmode=ubi\nimage=" << at
                                           << "/ubifs.img\nvol_id=0\nvol_type=dynamic\nvol_name=rootfs\n";
    const std::string command = "PATH=$PATH:/usr/sbin; mkfs.ubifs -m 2048 -e 126976 -c 40 -x none -r " + at +
                                "/root -o " + at + "/ubifs.img && ubinize -o " + at + "/ubi.img -m 2048 -p 128KiB " +
                                at + "/ubi.cfg";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return folder.Bytes(L"ubi.img");
}

// "page\tcodeword\tstatus\tbits\tpositions" with the positions in page order.
std::string Sorted_Line(const std::string& line) {
    const std::size_t tab = line.rfind('\t');
    std::vector<std::pair<int, int>> positions;
    std::istringstream list(line.substr(tab + 1));
    for (std::string item; std::getline(list, item, ',');)
        positions.emplace_back(std::stoi(item), std::stoi(item.substr(item.find(':') + 1)));
    std::sort(positions.begin(), positions.end());
    std::string sorted = line.substr(0, tab + 1);
    for (const auto& [byte, bit] : positions)
        sorted += (sorted.back() == '\t' ? "" : ",") + std::to_string(byte) + ':' + std::to_string(bit);
    return sorted;
}

struct Ecc_Case {
    const char* layout;
};

class Cli_Ecc : public testing::TestWithParam<Ecc_Case> {};

TEST_P(Cli_Ecc, UbiImageFoundCheckedAndMended) {
    Temp_Folder folder;
    const Korvane_Ecc::Ecc_Layout layout = Korvane_Ecc::Parse_Layout(From_UTF8(GetParam().layout));
    const Korvane_Ecc::Page_Codec codec(layout, Data, Page - Data);
    const std::vector<unsigned char> ubi = Ubi_Image(folder);
    ASSERT_GT(ubi.size(), 8 * Block_Pages * Data);

    // The chip as a controller leaves it: the image page by page, ECC in the spare.
    std::vector<unsigned char> clean(Blocks * Block_Pages * Page, 0xFF);
    for (std::size_t page = 0; page < Blocks * Block_Pages; ++page) {
        const std::size_t from = std::min(ubi.size(), page * Data), to = std::min(ubi.size(), from + Data);
        std::copy(ubi.begin() + from, ubi.begin() + to, clean.begin() + page * Page);
        codec.Encode_Page(clean.data() + page * Page);
    }
    clean[Bad_Block * Block_Pages * Page + codec.Places().bad_block_offset] = 0x00;

    // Flips: 24 codewords with data get 1 to t bits (ECC bytes included), three erased ones 1 or 2.
    const std::uint32_t t = codec.Correctable_Bits();
    std::vector<unsigned char> flipped = clean;
    std::mt19937 random(26);
    std::map<std::pair<std::size_t, std::size_t>, std::pair<bool, std::set<std::uint32_t>>> flips;  // blank, bits
    std::vector<std::uint64_t> by_bits(t);
    std::uint64_t codewords = 0, erased = 0, corrected_bits = 0, erased_bits = 0, corrected = 0, erased_flipped = 0;
    for (std::size_t page = 0; page < Blocks * Block_Pages; ++page) {
        if (page / Block_Pages == Bad_Block) continue;
        for (std::size_t cw = 0; cw < codec.Places().codewords.size(); ++cw) {
            const Korvane_Ecc::Codeword_Place& place = codec.Places().codewords[cw];
            const auto data = clean.begin() + page * Page + place.data_offset;
            const bool blank = std::all_of(data, data + place.data_bytes, [](unsigned char b) { return b == 0xFF; });
            ++codewords;
            erased += blank;
            if (random() % 20 != 0 || (blank ? erased_flipped == 3 : corrected == 24)) continue;
            const std::uint32_t k = blank ? std::min<std::uint32_t>(t, 1 + erased_flipped % 2) : 1 + corrected % t;
            // Data bits, and the ECC bits that carry code (no padding) of a BCH codeword with data.
            const std::uint32_t ecc_bits = blank || layout.code == Korvane_Ecc::Code_Kind::Hamming ? 0 : layout.m * t;
            auto& [is_blank, bits] = flips[{page, cw}];
            is_blank = blank;
            while (bits.size() < k) {
                // ECC bits fill their bytes from the most significant end.
                const std::uint32_t bit = random() % (place.data_bytes * 8 + ecc_bits);
                const bool in_data = bit < place.data_bytes * 8;
                const std::uint32_t at = in_data ? (place.data_offset + bit / 8) * 8 + bit % 8
                                                 : (place.ecc_offset + bit / 8 - place.data_bytes) * 8 + 7 - bit % 8;
                if (bits.insert(at).second) flipped[page * Page + at / 8] ^= 1u << (at % 8);
            }
            ++by_bits[k - 1];
            (blank ? erased_bits : corrected_bits) += k;
            ++(blank ? erased_flipped : corrected);
        }
    }
    ASSERT_EQ(corrected, 24u);
    ASSERT_EQ(erased_flipped, 3u);
    std::string listed = "# " + To_UTF8(Korvane_Ecc::Layout_Text(layout)) + "\n";
    for (const auto& [where, flip] : flips) {
        const auto& [blank, bits] = flip;
        listed += std::to_string(where.first) + '\t' + std::to_string(where.second) + '\t' +
                  (blank ? "erased\t" : "corrected\t") + std::to_string(bits.size()) + '\t';
        for (const std::uint32_t bit : bits)
            listed += (listed.back() == '\t' ? "" : ",") + std::to_string(bit / 8) + ':' + std::to_string(bit % 8);
        listed += '\n';
    }
    std::wstring rows = Format(L"Bank_1  ECC: %I64u codewords, %I64u clean, %I64u corrected (%I64u bits), "
                               L"0 uncorrectable, %I64u erased (%I64u bits), 1 bad blocks\nBank_1  codewords with ",
                               codewords, codewords - corrected - erased, corrected, corrected_bits, erased,
                               erased_bits);
    for (std::uint32_t k = 1; k <= t; ++k)
        Append_Format(rows, L"%s%u %s: %I64u", k > 1 ? L", " : L"", k, k == 1 ? L"bit" : L"bits", by_bits[k - 1]);
    rows += L"\n";

    // The emulated chip holds the flipped image; korvane-cli reads and checks it.
    folder.Put(L"chip.img", flipped);
    NAND_Config chip;
    chip.Set_ID_Code(L"2c da 90 95");
    chip.Page = Page;
    chip.Block = Block_Pages * Page;
    chip.Blocks = Blocks;
    chip.Banks = L"1 x 4 MB";
    Write_Sim_Chip(folder.Name(L"chip.txt"), chip, folder.Name(L"chip.img"));
    const std::vector<std::string> files = {"--config", To_UTF8(folder.Name(L"chip.txt")), "--folder",
                                            To_UTF8((folder.path / "dumps").wstring())};
    auto run = [&](std::vector<std::string> command) {
        command.insert(command.end(), files.begin(), files.end());
        return Run_Cli(command);
    };
    ASSERT_EQ(run({"--simulate", "read", "--yes"}).status, 0);
    const Cli_Result found = run({"ecc"});
    EXPECT_EQ(found.status, 0) << found.err;
    const std::string layout_line =
        "Bank_1  layout: " + std::string(GetParam().layout) + " fits 100.0% of the codewords of ";
    ASSERT_EQ(found.out.substr(0, layout_line.size()), layout_line) << found.out;
    EXPECT_EQ(found.out.substr(found.out.find('\n') + 1), To_UTF8(rows));
    std::ifstream list(folder.path / "dumps" / "01_01.dump.ecc");
    std::string line, sorted;
    while (std::getline(list, line)) sorted += (sorted.empty() ? line : Sorted_Line(line)) + '\n';
    EXPECT_EQ(sorted, listed);

    const Cli_Result fixed = run({"ecc", "--fix", "--layout", GetParam().layout});
    EXPECT_EQ(fixed.out, To_UTF8(rows)) << fixed.err;
    EXPECT_TRUE(folder.Bytes(L"dumps/01_01.fixed.dump") == clean);
    EXPECT_TRUE(folder.Bytes(L"dumps/01_01.dump") == flipped);
}

INSTANTIATE_TEST_SUITE_P(Layouts, Cli_Ecc,
                         testing::Values(Ecc_Case{"bch step=512 m=13 t=8 poly=0x201b ecc=end"},
                                         Ecc_Case{"bch step=512 m=13 t=4 poly=0x2053 ecc=end"},
                                         Ecc_Case{"bch step=512 m=13 t=8 poly=0x201b ecc=interleaved"},
                                         Ecc_Case{"hamming step=256 ecc=end order=linux"}));

}  // namespace
