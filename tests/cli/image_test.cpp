// korvane-cli image, the binary, over the emulator's chip holding a UBI or
// a JFFS2 image that mtd-utils made, laid in past two bad blocks as a writer
// that skips them lays it, with BCH ECC in the spare and bits flipped: the
// filesystem image comes back byte for byte, bar the one codeword seeded
// past mending, which the row names.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "config/nand_config.h"
#include "ecc/codec.h"
#include "framework/properties.h"
#include "framework/values.h"
#include "tests/temp_folder.h"

namespace {

constexpr std::size_t Page = 2112, Data = 2048, Spare = 64, Block_Pages = 64, Blocks = 48;
constexpr std::size_t Block_Data = Block_Pages * Data;
const std::string Layout = "bch step=512 m=13 t=4 poly=0x201b ecc=end";
constexpr std::size_t Bad[] = {1, 4};
// Flips as (page, byte of the page, bits): two codewords of page 3 within
// t, an ECC byte of page 140, an erased page; page 197's codeword 1 past t.
const std::vector<std::tuple<std::size_t, std::size_t, int>> Flips = {
    {3, 10, 0x01}, {3, 1600, 0x0F}, {140, 2100, 0x20}, {2900, 77, 0x11}, {197, 600, 0xFF}, {197, 700, 0xFF}};
constexpr std::size_t Uncorrectable_Page = 197;

int Shell(const std::string& command) { return WEXITSTATUS(std::system(command.c_str())); }

std::string Text_Of(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A UBI image of a UBIFS, or a JFFS2 image, of a small tree, for pages of
// 2048 bytes and blocks of 128 KiB.
std::string Make_Filesystem(const Temp_Folder& folder, const std::string& kind) {
    const std::filesystem::path root = folder.path / "root";
    std::filesystem::create_directories(root / "etc");
    std::ofstream(root / "etc" / "hostname") << "korvane\n";
    std::string blob(600000, '\0');
    std::uint64_t state = 88172645463325252u;
    for (char& byte : blob) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        byte = static_cast<char>(state);
    }
    std::ofstream(root / "blob.bin", std::ios::binary) << blob;
    const std::string made = kind == "ubi"
        ? "printf '[fs]\\nmode=ubi\\nimage=fs.img\\nvol_id=0\\nvol_name=root\\n' > ubi.ini && mkfs.ubifs -r root -m 2048 "
          "-e 126976 -c 64 -o fs.img && ubinize -o image -m 2048 -p 128KiB -s 2048 ubi.ini"
        : "mkfs.jffs2 -r root -n -e 128KiB -p -o image";
    EXPECT_EQ(Shell("cd " + folder.path.string() + " && " + made + " >/dev/null 2>&1"), 0) << made;
    return Text_Of(folder.path / "image");
}

struct Image_Case {
    const char* filesystem;
    std::vector<std::string> switches;
    bool swapped = false;  // the chip's pages lie byte-swapped in 16-bit words
    bool from_report = false;  // the layout from the header of the ecc command's NN_NN.dump.ecc
};

class Cli_Image : public testing::TestWithParam<Image_Case> {};

TEST_P(Cli_Image, TheFilesystemImageComesBack) {
    const Image_Case& c = GetParam();
    Temp_Folder folder;
    const std::string image = Make_Filesystem(folder, c.filesystem);
    ASSERT_EQ(image.size() % Block_Data, 0u);
    const Korvane_Ecc::Page_Codec codec(Korvane_Ecc::Parse_Layout(From_UTF8(Layout)), Data, Spare);

    // The chip as the writer left it, and the image each --bad rule expects.
    std::string chip(Blocks * Block_Pages * Page, '\xff'), skip = image, keep, pad, spare;
    std::size_t next = 0;
    for (std::size_t block = 0; block < Blocks; ++block) {
        const bool bad = std::find(std::begin(Bad), std::end(Bad), block) != std::end(Bad);
        for (std::size_t p = 0; p < Block_Pages; ++p) {
            auto* page = reinterpret_cast<std::uint8_t*>(chip.data() + (block * Block_Pages + p) * Page);
            if (bad) {
                std::memset(page, static_cast<int>(0xA5 ^ p), Page);
                page[Data] = 0x00;
            } else if (next < image.size()) {
                std::memcpy(page, image.data() + next, Data);
                next += Data;
                codec.Encode_Page(page);
            }
            keep.append(reinterpret_cast<const char*>(page), Data);
            pad.append(bad ? std::string(Data, '\xff') : std::string(reinterpret_cast<const char*>(page), Data));
            if (!bad) spare.append(reinterpret_cast<const char*>(page + Data), Spare);
        }
        if (next >= image.size() && !bad) break;
    }
    for (const auto& [page, byte, bits] : Flips) chip[page * Page + byte] ^= static_cast<char>(bits);
    // Page 197 is the image's page 197 - 64: block 1 is bad.
    for (const std::size_t byte : {600, 700}) {
        skip[(Uncorrectable_Page - Block_Pages) * Data + byte] ^= '\xff';
        keep[Uncorrectable_Page * Data + byte] ^= '\xff';
        pad[Uncorrectable_Page * Data + byte] ^= '\xff';
    }
    if (c.swapped)
        for (std::size_t i = 0; i < chip.size(); i += 2) std::swap(chip[i], chip[i + 1]);
    folder.Put(L"chip.bin", {chip.begin(), chip.end()});

    NAND_Config config;
    config.Set_ID_Code(L"ec f1 00 95");
    std::tie(config.Banks, config.Page, config.Block, config.Blocks) = std::tuple(L"1 x 128 MB", Page, 0x21000, Blocks);
    Write_Text_File(folder.Name(L"chip.txt"),
                    Export_Properties(config) + L"\r\nSim Data     file " + folder.Name(L"chip.bin"));
    const std::string chip_folder = " --config " + (folder.path / "chip.txt").string() + " --folder " +
                                    folder.path.string();
    ASSERT_EQ(Shell(std::string(KORVANE_CLI) + " --simulate read --yes" + chip_folder + " >/dev/null 2>&1"), 0);
    std::string switches = c.from_report ? "" : " --layout '" + Layout + "'";
    for (const std::string& s : c.switches) switches += " '" + s + "'";
    if (c.from_report) Shell(KORVANE_CLI + (" ecc --layout '" + Layout + "'") + chip_folder + " >/dev/null 2>&1");
    const int status =
        Shell("cd " + folder.path.string() + " && " + KORVANE_CLI + " image" + switches + chip_folder + " >out 2>err");

    const std::string rule = c.switches.size() > 1 && c.switches[0] == "--bad" ? c.switches[1] : "skip";
    const std::string& expected = rule == "keep" ? keep : rule == "pad" ? pad : skip;
    const bool ranged = c.switches[0] == "--range";  // blocks 0-9: eight of the image's
    const std::string wanted = ranged ? skip.substr(0, 8 * Block_Data) : expected;
    const std::string made = Text_Of(folder.path / "01_01.img");
    EXPECT_TRUE(made == wanted) << made.size() << " bytes made, " << wanted.size() << " wanted";
    const std::size_t blocks = wanted.size() / Block_Data;
    EXPECT_EQ(Text_Of(folder.path / "out"),
              "Bank_1  Image: " + std::to_string(blocks) + " blocks (" + (rule == "skip" ? "2" : "0") +
                  " skipped), " + std::to_string(blocks * Block_Pages) + " pages, " + (ranged ? "3" : "4") +
                  " codewords mended, 1 uncorrectable: page 197 codeword 1\n");
    EXPECT_NE(Text_Of(folder.path / "err").find("Bank_1  uncorrectable: page 197 codeword 1\n"), std::string::npos);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(Shell("cd " + folder.path.string() + " && sha256sum -c 01_01.img.sha256 >/dev/null"), 0);
    if (ranged) {
        EXPECT_TRUE(Text_Of(folder.path / "spare.bin") == spare.substr(0, 8 * Block_Pages * Spare));
    }
    if (std::string(c.filesystem) == "jffs2" && rule == "skip") {
        // The tool's listing and a file's text, from the made image and from ours.
        for (const std::string name : {"image", "01_01.img"})
            EXPECT_EQ(Shell("cd " + folder.path.string() + " && jffs2reader " + name + " -d / > " + name +
                            ".list && jffs2reader " + name + " -f /etc/hostname >> " + name + ".list"),
                      0);
        EXPECT_EQ(Text_Of(folder.path / "01_01.img.list"), Text_Of(folder.path / "image.list"));
        EXPECT_NE(Text_Of(folder.path / "01_01.img.list").find("korvane\n"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Filesystems, Cli_Image,
    testing::Values(Image_Case{"ubi", {"--trim"}}, Image_Case{"jffs2", {"--trim"}},
                    Image_Case{"jffs2", {"--bad", "keep", "--trim"}}, Image_Case{"ubi", {"--bad", "pad", "--trim"}},
                    Image_Case{"ubi", {"--range", "0-9", "--spare", "spare.bin"}},
                    Image_Case{"jffs2", {"--swap16", "--trim"}, true}, Image_Case{"ubi", {"--trim"}, false, true}),
    [](const testing::TestParamInfo<Image_Case>& info) { return "case_" + std::to_string(info.index); });

}  // namespace
