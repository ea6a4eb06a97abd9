// Proving a dump with korvane-cli against the emulator: hash files, the
// re-read check, the proven ONFI page, the configuration made from it, and
// the ID hints.
#include <gtest/gtest.h>

#include <fstream>

#include "emulator/nand_chip.h"
#include "emulator/virtual_reader.h"
#include "framework/sha256.h"
#include "tests/cli/cli_run.h"
#include "tests/emulator/expected_stream.h"
#include "tests/temp_folder.h"

namespace {

std::string Text_Of(const std::vector<unsigned char>& bytes) { return {bytes.begin(), bytes.end()}; }
std::vector<unsigned char> Bytes_Of(const std::string& text) { return {text.begin(), text.end()}; }

std::string Sha256_Line(const std::vector<unsigned char>& bytes, const std::string& name) {
    ZEKT_Sha256 hash;
    hash.Update(bytes.data(), bytes.size());
    return To_UTF8(hash.Final_Text()) + "  " + name + "\n";
}

std::vector<std::string> Demo_Read(const Temp_Folder& folder, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"--simulate", "read", "--config", Demo_Profile,
                                          "--folder", To_UTF8(folder.path.wstring()), "--yes"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
}

// The lines of a ".diff" (UTF-8, line feeds) after its first, which says
// when and how it was made.
std::vector<std::string> Lines_Of(const Temp_Folder& folder, const std::wstring& name) {
    const std::vector<unsigned char> bytes = folder.Bytes(name);
    std::vector<std::string> lines;
    for (const std::wstring& line : Split(From_UTF8(Text_Of(bytes)), L"\n"))
        if (!line.empty()) lines.push_back(To_UTF8(line));
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
}

std::vector<std::string> Demo_Verify(const Temp_Folder& folder, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"--simulate", "verify", "--config", Demo_Profile,
                                          "--folder", To_UTF8(folder.path.wstring())};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
}

}  // namespace

struct Hash_Case {
    const char* what;
    std::vector<std::string> sets;
    std::vector<std::wstring> hashed, unhashed;
};

class Cli_Hash : public testing::TestWithParam<Hash_Case> {};

// Every hash file beside a whole file holds that file's SHA-256; a bank that
// failed has none, not even the one an earlier run left.
TEST_P(Cli_Hash, HashFilesBesideWholeFilesOnly) {
    const Hash_Case& c = GetParam();
    Temp_Folder folder;
    for (const std::wstring& name : c.unhashed) folder.Put(name + L".sha256", {'o', 'l', 'd'});
    std::vector<std::string> extra = {"--hash"};
    for (const std::string& set : c.sets) extra.insert(extra.end(), {"--set", set});
    Run_Cli(Demo_Read(folder, extra));
    for (const std::wstring& name : c.hashed)
        EXPECT_EQ(Text_Of(folder.Bytes(name + L".sha256")), Sha256_Line(folder.Bytes(name), To_UTF8(name)))
            << To_UTF8(name);
    for (const std::wstring& name : c.unhashed)
        EXPECT_FALSE(std::filesystem::exists(folder.path / (name + L".sha256"))) << To_UTF8(name);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cli_Hash,
    testing::Values(
        Hash_Case{"two WL banks with bit maps", {}, {L"01_01.dump", L"01_01.dump.bb", L"01_02.dump", L"01_02.dump.bb"}, {}},
        Hash_Case{"no bit map pass", {"Cmd=A2"}, {L"01_01.dump", L"01_02.dump"}, {L"01_01.dump.bb", L"01_02.dump.bb"}},
        // 0x360000 bytes of dump and 0x6C000 of bit map per bank: the reader
        // goes in the middle of bank 2's dump.
        Hash_Case{"unplugged in bank 2",
                  {"Sim Unplug After=9000000"},
                  {L"01_01.dump", L"01_01.dump.bb"},
                  {L"01_02.dump", L"01_02.dump.bb"}}),
    [](const testing::TestParamInfo<Hash_Case>& info) { return "case_" + std::to_string(info.index); });

TEST(Cli_Verify, IdenticalAfterACleanRead) {
    Temp_Folder folder;
    ASSERT_EQ(Run_Cli(Demo_Read(folder)).status, 0);
    folder.Put(L"01_01.dump.diff", {1});
    const Cli_Result result = Run_Cli(Demo_Verify(folder));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Bank_1  Identical (384 pages)\nBank_2  Identical (384 pages)\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path / "01_01.dump.diff"));
}

// Two reads of a chip with flaky pages differ exactly on those pages, each
// by an even count of bits (an odd count flipped in either read).
TEST(Cli_Verify, FindsExactlyTheFlakyPages) {
    Temp_Folder folder;
    const std::string flaky = "Sim Flaky Pages=20000";
    ASSERT_EQ(Run_Cli(Demo_Read(folder, {"--set", flaky})).status, 0);
    const std::vector<unsigned char> dump = folder.Bytes(L"01_01.dump");
    const Cli_Result result = Run_Cli(Demo_Verify(folder, {"--set", flaky}));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(folder.Bytes(L"01_01.dump"), dump);  // only --reread changes a dump
    const NAND_Config demo = Demo_Chip();
    for (std::uint32_t bank : {1u, 2u}) {
        std::vector<std::string> expected;
        for (std::uint32_t page = 0; page < 384; ++page)
            if (Korvane_Emulator::Is_Flaky_Page(1, 20000, Get_Bank_Enable(bank, demo), page / 3, page % 3))
                expected.push_back(std::to_string(page));
        ASSERT_FALSE(expected.empty());
        std::vector<std::string> pages;
        std::uint64_t bits = 0;
        std::uint64_t line_bits = 0;
        for (const std::string& line : Lines_Of(folder, Format(L"01_%02u.dump.diff", bank))) {
            // The counts per data line close the list: "IO3 41".
            if (line.rfind("IO", 0) == 0) {
                line_bits += std::stoull(line.substr(line.find(' ') + 1));
                continue;
            }
            pages.push_back(line.substr(0, line.find(' ')));
            const std::uint64_t page_bits = std::stoull(line.substr(line.find(' ') + 1));
            EXPECT_TRUE(page_bits % 2 == 0 && page_bits >= 2 && page_bits <= 6) << line;
            bits += page_bits;
        }
        EXPECT_EQ(pages, expected) << "bank " << bank;
        EXPECT_EQ(line_bits, bits) << "bank " << bank;
        const std::string row = "Bank_" + std::to_string(bank) + "  error: " + std::to_string(expected.size()) +
                                " of 384 pages differ, first page " + expected.front() + ", " + std::to_string(bits) +
                                " bits\n";
        EXPECT_NE(result.err.find(row), std::string::npos) << result.err;
    }
}

// Three more reads of each differing page outvote the flips of any one read:
// the dump becomes that of a chip without flaky pages, its hash follows.
TEST(Cli_Verify, RereadMendsFlakyPages) {
    Temp_Folder folder;
    const std::string flaky = "Sim Flaky Pages=20000";
    ASSERT_EQ(Run_Cli(Demo_Read(folder, {"--set", flaky, "--hash"})).status, 0);
    ASSERT_NE(folder.Bytes(L"01_01.dump"), Expected_Dump(Demo_Chip(), 1, 1));
    const Cli_Result result = Run_Cli(Demo_Verify(folder, {"--set", flaky, "--reread", "3"}));
    EXPECT_EQ(result.status, 0) << result.err;
    for (std::uint32_t bank : {1u, 2u}) {
        const std::wstring dump = Format(L"01_%02u.dump", bank);
        EXPECT_EQ(folder.Bytes(dump), Expected_Dump(Demo_Chip(), 1, bank)) << "bank " << bank;
        EXPECT_EQ(Text_Of(folder.Bytes(dump + L".sha256")), Sha256_Line(folder.Bytes(dump), To_UTF8(dump)));
        std::uint64_t pages = 0;
        for (const std::string& line : Lines_Of(folder, dump + L".diff"))
            if (line.rfind("IO", 0) != 0) pages += line.size() > 7 && line.substr(line.size() - 7) == " mended";
        EXPECT_NE(result.out.find("Bank_" + std::to_string(bank) + "  " + std::to_string(pages) + " of 384 pages differ, first page "),
                  std::string::npos)
            << result.out;
        EXPECT_NE(result.out.find(" bits; " + std::to_string(pages) + " pages mended, 0 bits unsure\n"), std::string::npos);
    }
}

struct Line_Case {
    std::vector<std::string> sets;  // the weak lines, and the bus
    std::string hint;               // after "differing bits are on "; empty: no hint
};

class Cli_Line_Hint : public testing::TestWithParam<Line_Case> {};

TEST_P(Cli_Line_Hint, NamesTheLinesThatCarryTheDifferences) {
    const Line_Case& c = GetParam();
    Temp_Folder folder;
    std::vector<std::string> sets = {"--banks", "1"};
    for (const std::string& set : c.sets) sets.insert(sets.end(), {"--set", set});
    ASSERT_EQ(Run_Cli(Demo_Read(folder, {sets.begin(), sets.end() - 2})).status, 0);
    const Cli_Result result = Run_Cli(Demo_Verify(folder, sets));
    EXPECT_EQ(result.status, 1);
    const std::size_t at = result.err.find("Bank_1  hint: ");
    const std::size_t on = result.err.find(" differing bits are on ", at);
    EXPECT_EQ(at == std::string::npos ? "" : result.err.substr(on + 23), c.hint) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Cli_Line_Hint,
    testing::Values(Line_Case{{"Sim Weak Line=3"}, "IO3: check its contacts\n"},
                    Line_Case{{"Sim Weak Line=3-5"}, "IO3 and IO5: check their contacts\n"},
                    Line_Case{{"Sim Weak Line=2-4-6"}, ""},
                    Line_Case{{"Bus=16", "Sim Weak Line=11"}, "IO11: check its contacts\n"}));

// Bits an ECC pass corrected count as well: a clean verify still names the
// line they gather on.
TEST(Cli_Line_Hint_Ecc, CorrectedBitsNameTheirLine) {
    Temp_Folder folder;
    ASSERT_EQ(Run_Cli(Demo_Read(folder, {"--banks", "1"})).status, 0);
    std::string list = "# bch step=512 m=13 t=8 poly=0x201b ecc=end\n3\t1\tcorrected\t2\t600:1,601:6\n";
    for (int page = 10; page < 30; ++page) list += std::to_string(page) + "\t0\tcorrected\t1\t" + std::to_string(page) + ":6\n";
    folder.Put(L"01_01.dump.ecc", {list.begin(), list.end()});
    const Cli_Result result = Run_Cli(Demo_Verify(folder, {"--banks", "1"}));
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.err.find("Bank_1  hint: 21 of 22 differing and ECC-corrected bits are on IO6: check its contacts\n"),
              std::string::npos)
        << result.err;
}

struct Resume_Case {
    const char* what;
    std::size_t held;     // bytes of the dump already in the file
    std::size_t genuine;  // of them, the chip's own; the rest are `fill`
    unsigned char fill;
    std::string row;      // the start of bank 1's row
    std::string row_end;  // the end of bank 1's row, when it is read
};

class Cli_Resume : public testing::TestWithParam<Resume_Case> {};

// The first unit carries a mark the chip never sends, so a re-read of more
// than the last kept unit would show; a refused file is left as it was.
TEST_P(Cli_Resume, KeepsWholeUnitsAndReadsTheRest) {
    const Resume_Case& c = GetParam();
    Temp_Folder folder;
    std::vector<unsigned char> expected = Expected_Dump(Demo_Chip(), 1, 1);
    std::vector<unsigned char> held(c.held, c.fill);
    std::copy_n(expected.begin(), c.genuine, held.begin());
    if (c.genuine) held[0] = expected[0] ^= 0xFF;
    folder.Put(L"01_01.dump", held);
    const Cli_Result result = Run_Cli(Demo_Read(folder, {"--banks", "1", "--resume"}));
    const std::string rows = result.out + result.err;
    EXPECT_EQ(rows.find("Bank_1  " + c.row), 0u) << rows;
    EXPECT_NE(rows.find(c.row_end + "\n"), std::string::npos) << rows;
    EXPECT_EQ(folder.Bytes(L"01_01.dump"), c.row.rfind("error", 0) == 0 ? held : expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Cli_Resume,
    // A word-line row is three pages of 9216 bytes; the bank has 3538944 bytes.
    testing::Values(
        Resume_Case{"a partial row cut", 27648 * 2 + 5000, 27648 * 2 + 5000, 0, "Reading done (",
                    "); kept 55,296 bytes, reading from row 0x2"},
        Resume_Case{"complete, bit map missing", 3538944, 3538944, 0, "Dump complete, left alone; bit map read (", ")"},
        Resume_Case{"longer than the bank", 3538945, 3538944, 0x5A, "error: Dump file <", " the bank 3538944"},
        Resume_Case{"a garbage tail", 27648 * 2 + 5000, 27648 + 100, 0x5A,
                    "error: the kept part does not match the chip at row <0x1>", ""},
        Resume_Case{"a zeroed file", 27648 * 3, 0, 0x00, "error: the kept part does not match the chip at row <0x", ">"}),
    [](const testing::TestParamInfo<Resume_Case>& info) { return "case_" + std::to_string(info.index); });

struct Mend_Case {
    const char* what;
    std::string read_set, verify_set;  // emulator keys of the read and of verify --reread 3
    std::string unplug;                // "Sim Unplug After" during the mending, or empty
    int status;
    std::string row_end;               // the end of bank 1's row
    std::vector<std::string> diff;     // the list's first page lines
};

class Cli_Mend : public testing::TestWithParam<Mend_Case> {};

// A dump changes only where fresh reads disagree; what changed is in the
// undo file, and --undo gives back the dump byte for byte. Hash files follow
// what is on disk or are gone.
TEST_P(Cli_Mend, NeverLosesTheDumpAsRead) {
    const Mend_Case& c = GetParam();
    Temp_Folder folder;
    ASSERT_EQ(Run_Cli(Demo_Read(folder, {"--banks", "1", "--hash", "--set", c.read_set})).status, 0);
    const std::vector<unsigned char> read = folder.Bytes(L"01_01.dump");
    std::vector<std::string> verify = {"--banks", "1", "--reread", "3", "--set", c.verify_set};
    if (!c.unplug.empty()) verify.insert(verify.end(), {"--set", "Sim Unplug After=" + c.unplug});
    Cli_Result result = Run_Cli(Demo_Verify(folder, verify));
    EXPECT_EQ(result.status, c.status);
    EXPECT_NE(("\n" + result.out + result.err).find("\n" + c.row_end), std::string::npos) << result.out << result.err;
    const std::vector<unsigned char> dump = folder.Bytes(L"01_01.dump");
    const bool changed = dump != read;
    std::vector<std::string> listed = Lines_Of(folder, L"01_01.dump.diff");
    std::erase_if(listed, [](const std::string& line) { return line.rfind("IO", 0) == 0; });
    listed.resize(std::min(listed.size(), c.diff.size()));
    EXPECT_EQ(listed, c.diff);
    if (!c.diff.empty()) {
        EXPECT_EQ(Text_Of(folder.Bytes(L"01_01.dump.diff")).rfind("# verify --reread 3, 20", 0), 0u);
    }
    if (std::filesystem::exists(folder.path / "01_01.dump.sha256")) {
        EXPECT_EQ(Text_Of(folder.Bytes(L"01_01.dump.sha256")), Sha256_Line(dump, "01_01.dump"));
    }
    result = Run_Cli(Demo_Verify(folder, {"--banks", "1", "--undo"}));
    EXPECT_EQ(result.status, changed ? 0 : 1) << result.err;
    EXPECT_EQ(folder.Bytes(L"01_01.dump"), read);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "01_01.dump.undo"));
}

INSTANTIATE_TEST_SUITE_P(
    Reads, Cli_Mend,
    testing::Values(
        // Retry registers unset: every read flips the same bits, so nothing is mended.
        Mend_Case{"systematic misread", "Sim Flaky Pages=0", "Sim Retry Clean=ac=0f", "", 1,
                  "Bank_1  error: 384 of 384 pages differ, first page 0, 6915 bits; 0 pages mended, 0 bits unsure; "
                  "384 pages read differently every time: not mended\nBank_1  hint: 6915 of 6915 differing bits are "
                  "on IO4: check its contacts\n",
                  {"0 19 not mended", "1 19 not mended"}},
        Mend_Case{"flaky pages", "Sim Flaky Pages=20000", "Sim Flaky Pages=20000", "", 0,
                  "Bank_1  7 of 384 pages differ, first page 33, 42 bits; 7 pages mended, 0 bits unsure\n",
                  {"33 6 mended", "105 6 mended", "112 6 mended", "143 6 mended", "261 6 mended", "275 6 mended",
                   "320 6 mended"}},
        // The reader is gone during the re-reads: no page was replaced, no list stays.
        Mend_Case{"reader lost while mending", "Sim Flaky Pages=20000", "Sim Flaky Pages=20000", "3760128", 1,
                  "Bank_1  error: Read failure, pos 0x", {}}),
    [](const testing::TestParamInfo<Mend_Case>& info) { return "case_" + std::to_string(info.index); });

struct Weak_Mend_Case {
    const char* what;
    std::string unplug;  // "Sim Unplug After", or empty
    bool cut_record = false;  // an undo file whose last record a stop cut short lies there first
};

class Cli_Weak_Mend : public testing::TestWithParam<Weak_Mend_Case> {};

// A weak data line makes every page of a bank of 960 pages differ, more
// than one share of the mending holds. Pages the list calls mended read as
// the clean chip, the pages after the list are as read, and --undo gives
// back the dump as read; a stop leaves the list ending where it stopped.
TEST_P(Cli_Weak_Mend, WholeOrStoppedNothingIsLost) {
    const Weak_Mend_Case& c = GetParam();
    constexpr std::size_t Page = 9216, Pages = 960;
    const std::vector<std::string> chip = {"--banks", "1", "--set", "Blocks=0x5"};
    Temp_Folder folder, clean_folder;
    auto with = [&](std::vector<std::string> arguments, std::vector<std::string> extra) {
        arguments.insert(arguments.end(), chip.begin(), chip.end());
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return arguments;
    };
    ASSERT_EQ(Run_Cli(with(Demo_Read(clean_folder), {})).status, 0);
    ASSERT_EQ(Run_Cli(with(Demo_Read(folder), {"--set", "Sim Weak Line=3"})).status, 0);
    const std::vector<unsigned char> clean = clean_folder.Bytes(L"01_01.dump"), read = folder.Bytes(L"01_01.dump");
    if (c.cut_record)
        folder.Put(L"01_01.dump.undo", Bytes_Of("Korvane undo 2 page 9216 dump 8847360\n" +
                                                std::string("\x01\0\0\0\0\0\0\0\x09\0\0\0\0\0\0\0\x01", 17)));
    std::vector<std::string> verify = {"--reread", "3", "--set", "Sim Weak Line=3"};
    if (!c.unplug.empty()) verify.insert(verify.end(), {"--set", "Sim Unplug After=" + c.unplug});
    const Cli_Result result = Run_Cli(with(Demo_Verify(folder), verify));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(c.unplug.empty() ? "960 of 960 pages differ" : "error: Read failure"), std::string::npos)
        << result.err;
    const std::vector<unsigned char> dump = folder.Bytes(L"01_01.dump");
    std::vector<std::string> listed = Lines_Of(folder, L"01_01.dump.diff");
    std::erase_if(listed, [](const std::string& line) { return line.rfind("IO", 0) == 0; });
    if (!c.unplug.empty()) {
        ASSERT_FALSE(listed.empty());
        EXPECT_EQ(listed.back().rfind("# stopped here", 0), 0u);
        listed.pop_back();
    }
    EXPECT_EQ(listed.size() == Pages, c.unplug.empty()) << listed.size();
    EXPECT_GT(listed.size(), 0u);
    for (std::size_t page = 0; page < Pages; ++page) {
        auto bytes = [&](const std::vector<unsigned char>& of) {
            return std::vector<unsigned char>(of.begin() + page * Page, of.begin() + (page + 1) * Page);
        };
        if (page >= listed.size()) {
            EXPECT_EQ(bytes(dump), bytes(read)) << page;
            continue;
        }
        EXPECT_EQ(listed[page].rfind(std::to_string(page) + " ", 0), 0u) << listed[page];
        if (listed[page].ends_with(" mended")) {
            EXPECT_EQ(bytes(dump), bytes(clean)) << page;
        }
    }
    EXPECT_EQ(Run_Cli(with(Demo_Verify(folder), {"--undo"})).status, 0);
    EXPECT_TRUE(folder.Bytes(L"01_01.dump") == read);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, Cli_Weak_Mend,
    // The reader goes 10 pages into the second share: after the verify
    // read and three rounds over the first share's 909 pages.
    testing::Values(Weak_Mend_Case{"whole", ""},
                    Weak_Mend_Case{"stopped", std::to_string(9216 * (960 + 3 * 909 + 10))},
                    Weak_Mend_Case{"after_a_cut_record", "", true}),
    [](const testing::TestParamInfo<Weak_Mend_Case>& info) { return std::string(info.param.what); });

struct Undo_Case {
    const char* what;
    std::string undo;                  // the undo file beside a dump of three pages of 9216 bytes, all 00
    int status;
    std::vector<unsigned char> start;  // the dump's first bytes after verify --undo
};

class Cli_Undo : public testing::TestWithParam<Undo_Case> {};

// Files of both forms are put back, last record first; a record cut short
// is skipped, and a file that reaches outside its pages is refused whole.
TEST_P(Cli_Undo, BothFormsPutBack) {
    const Undo_Case& c = GetParam();
    Temp_Folder folder;
    folder.Put(L"01_01.dump", std::vector<unsigned char>(3 * 9216, 0x00));
    folder.Put(L"01_01.dump.undo", Bytes_Of(c.undo));
    const Cli_Result result = Run_Cli(Demo_Verify(folder, {"--banks", "1", "--undo"}));
    EXPECT_EQ(result.status, c.status) << result.err;
    const std::vector<unsigned char> dump = folder.Bytes(L"01_01.dump");
    EXPECT_EQ(std::vector<unsigned char>(dump.begin() + 9216, dump.begin() + 9216 + c.start.size()), c.start);
}

// A record of the second page (number 1, 8 bytes little-endian).
std::string Record_1(const std::string& body) { return std::string("\x01\0\0\0\0\0\0\0", 8) + body; }
// A version-2 record of page 1: one span at `offset` holding `bytes`.
std::string Span_1(std::uint16_t offset, const std::string& bytes) {
    const std::string spans = std::string{static_cast<char>(offset & 0xFF), static_cast<char>(offset >> 8), 0, 0,
                                          static_cast<char>(bytes.size()), 0, 0, 0} +
                              bytes;
    const std::string length{static_cast<char>(spans.size()), 0, 0, 0};
    return Record_1(length + spans + length);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, Cli_Undo,
    testing::Values(
        Undo_Case{"whole pages", "Korvane undo 1 page 9216 dump 27648\n" + Record_1(std::string(9216, 'a')) +
                                     Record_1(std::string(9216, 'b')), 0, {'a', 'a'}},
        Undo_Case{"spans, the last cut short", "Korvane undo 2 page 9216 dump 27648\n" + Span_1(1, "xy") +
                                                   Span_1(0, "zz").substr(0, 20), 0, {0, 'x', 'y', 0}},
        Undo_Case{"a span past the page", "Korvane undo 2 page 9216 dump 27648\n" + Span_1(1, "xy") + Span_1(9215, "xy"), 1,
                  {0, 0, 0}}),
    [](const testing::TestParamInfo<Undo_Case>& info) { return "case_" + std::to_string(info.index); });

// A dump made anew takes with it every file that described the old bytes.
TEST(Cli_Read, StaleFilesGoBeforeTheNewDump) {
    Temp_Folder folder;
    const std::vector<std::wstring> stale = {L"01_01.dump.diff", L"01_01.dump.sha256", L"01_01.dump.undo",
                                             L"01_01.dump.svg", L"01_01.dump.bb.sha256"};
    for (const std::wstring& name : stale) folder.Put(name, {'o', 'l', 'd'});
    ASSERT_EQ(Run_Cli(Demo_Read(folder, {"--banks", "1"})).status, 0);
    for (const std::wstring& name : stale) EXPECT_FALSE(std::filesystem::exists(folder.path / name)) << To_UTF8(name);
}

TEST(Cli_Verify, MissingOrWrongSizedDumpIsTheBanksError) {
    Temp_Folder folder;
    folder.Put(L"01_02.dump", std::vector<unsigned char>(100, 0xFF));
    // Lists of an earlier run go even when this one cannot compare.
    folder.Put(L"01_01.dump.diff", {1});
    folder.Put(L"01_02.dump.diff", {1});
    const Cli_Result result = Run_Cli(Demo_Verify(folder));
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "01_01.dump.diff"));
    EXPECT_FALSE(std::filesystem::exists(folder.path / "01_02.dump.diff"));
    EXPECT_NE(result.err.find("Bank_1  error: Can't open for protected read file <"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("01_01.dump>"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("01_02.dump> holds 100 bytes, the bank 3538944\n"), std::string::npos) << result.err;
}

struct Onfi_Case {
    const char* damage;
    std::string verdict;
    int status;
};

class Cli_Onfi : public testing::TestWithParam<Onfi_Case> {};

// The report is the good copy's (or the majority's) in every case; only the
// verdict line and the exit status tell the paths apart.
TEST_P(Cli_Onfi, VerdictAfterTheReport) {
    const Onfi_Case& c = GetParam();
    const std::string good_report = Run_Cli({"--simulate", "onfi", "--config", Demo_Profile}).out;
    const std::string report_only = good_report.substr(0, good_report.rfind("\nCRC"));
    const Cli_Result result =
        Run_Cli({"--simulate", "onfi", "--config", Demo_Profile, "--set", std::string("Sim ONFI Damage=") + c.damage});
    EXPECT_EQ(result.out, report_only + "\n" + c.verdict + "\n");
    EXPECT_EQ(result.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Cli_Onfi,
    testing::Values(Onfi_Case{"", "CRC good: copy 1", 0},
                    Onfi_Case{"1", "CRC good: copy 2 (copy 1 fails its CRC)", 0},
                    Onfi_Case{"1-2", "CRC good: copy 3 (copies 1 and 2 fail their CRC)", 0},
                    // Each copy is damaged in another byte: their majority is whole.
                    Onfi_Case{"1-2-3", "CRC good: majority of three copies", 0}));

TEST(Cli_Onfi, GoodReportLines) {
    EXPECT_EQ(Run_Cli({"--simulate", "onfi", "--config", Demo_Profile}).out,
              "Header 4f 4e 46 49 \n\nManufacturer: Toshiba     \nName: Demo WL 2 x 4 MB    \n\nPage: 9216\n\n"
              "Block: 0xc0\nBlocks: 0x2\nLUNs: 1\n\nCol: 2\nRow: 3\n\nBits per cell: 3\n\nCRC good: copy 1\n");
}

// A configuration whose chip fields are all wrong, mended from the chip's own
// page and ID, dumps the demo chip byte for byte.
TEST(Cli_Onfi, ConfigurationFromTheChipDumpsItByteForByte) {
    Temp_Folder folder;
    const std::string made = To_UTF8(folder.Name(L"made.txt"));
    const std::vector<std::string> onfi = {"--simulate=" + Demo_Profile, "onfi", "--config", Demo_Profile,
                                           "--set", "Company=", "--set", "Name=", "--set", "ID code=",
                                           "--set", "Bus=16", "--set", "Page=2112", "--set", "Block=0",
                                           "--set", "Blocks=0", "--set", "Col=5", "--set", "Row=1",
                                           "--config-out", made};
    Cli_Result result = Run_Cli(onfi);
    ASSERT_EQ(result.status, 0) << result.err;
    NAND_Config expected = Demo_Chip();
    expected.Banks = L"2 x 3 MB";
    EXPECT_EQ(Read_Unicode_File(From_UTF8(made)), Export_Properties(expected));
    result = Run_Cli({"--simulate=" + Demo_Profile, "read", "--config", made, "--folder", To_UTF8(folder.path.wstring())});
    ASSERT_EQ(result.status, 0) << result.err;
    for (std::uint32_t bank : {1u, 2u})
        EXPECT_EQ(folder.Bytes(Format(L"01_%02u.dump", bank)), Expected_Dump(Demo_Chip(), 1, bank));

    // The emulator then models the configuration given, with no page at all.
    std::vector<std::string> damaged = onfi;
    damaged.front() = "--simulate";
    damaged.insert(damaged.begin() + 4, {"--set", "Sim ONFI=false"});
    damaged.back() = To_UTF8(folder.Name(L"never.txt"));
    result = Run_Cli(damaged);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Error: No configuration from a parameter page that fails its CRC <"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "never.txt"));
}

struct Hint_Case {
    std::vector<std::string> arguments;
    std::string hint;  // empty: no hint at all
};

class Cli_Id_Hint : public testing::TestWithParam<Hint_Case> {};

TEST_P(Cli_Id_Hint, FollowsTheRowOnStandardError) {
    const Hint_Case& c = GetParam();
    Temp_Folder folder;
    // A package with a die on each of the eight lines, for the tied case.
    std::wstring eight = Read_Text_File(From_UTF8(Demo_Profile));
    eight = Replace_All(eight, L"2 x 4 MB", L"8 x 4 MB");
    Write_Text_File(folder.Name(L"eight.txt"), eight);
    std::vector<std::string> arguments;
    for (const std::string& argument : c.arguments)
        arguments.push_back(To_UTF8(Replace_All(
            Replace_All(Replace_All(From_UTF8(argument), L"DEMO", From_UTF8(Demo_Profile)), L"EIGHT",
                        folder.Name(L"eight.txt")),
            L"FOLDER", folder.path.wstring())));
    const Cli_Result result = Run_Cli(arguments);
    const std::size_t at = result.err.find("hint: ");
    EXPECT_EQ(at == std::string::npos ? "" : result.err.substr(result.err.rfind('\n', at) + 1), c.hint) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Cli_Id_Hint,
    testing::Values(
        Hint_Case{{"--simulate", "id", "--config", "DEMO"}, ""},
        Hint_Case{{"--simulate", "id", "--config", "DEMO", "--set", "Sim Dead CE=1", "--banks", "1"},
                  "Bank_1  hint: every ID byte is ff: nothing drives the bus; check the chip's seating, the adapter "
                  "and \"Voltage\"\n"},
        Hint_Case{{"--simulate", "id", "--config", "DEMO", "--set", "ID code=00 00 00 00"},
                  "Bank_1  hint: every ID byte is 00: the bus is held low\nBank_2  hint: every ID byte is 00: the bus "
                  "is held low\n"},
        Hint_Case{{"--simulate", "id", "--config", "DEMO", "--set", "ID code=8f 8f 8f 8f", "--banks", "2"},
                  "Bank_2  hint: every ID byte is 8f: a data line or read enable is stuck\n"},
        Hint_Case{{"--simulate=EIGHT", "id", "--config", "DEMO", "--set", "Banks=1 x 4 MB"},
                  "Bank_1  hint: chip enables 1 to 8 all answer 98 de 94 93: they are tied together, but the "
                  "configuration expects one chip\n"},
        Hint_Case{{"--simulate", "read", "--config", "DEMO", "--set", "Sim Dead CE=2", "--banks", "2",
                   "--folder", "FOLDER", "--yes"},
                  "Bank_2  hint: every ID byte is ff: nothing drives the bus; check the chip's seating, the adapter "
                  "and \"Voltage\"\n"},
        // The default configuration has no ID, so its emulated chip answers ff.
        Hint_Case{{"--simulate", "find"},
                  "Bank_1  hint: every ID byte is ff: nothing drives the bus; check the chip's seating, the adapter "
                  "and \"Voltage\"\n"},
        Hint_Case{{"--simulate=EIGHT", "find"}, ""}));

// A clock that runs with the emulator's data, as a reader of `bytes_per_ms`.
ZEKT_Tick_Source Reader_Clock(std::uint64_t bytes_per_ms) {
    return [bytes_per_ms] {
        const auto reader = Korvane_Emulator::Selected_Virtual_Reader();
        return static_cast<std::uint32_t>(reader ? reader->Data_Bytes() / bytes_per_ms : 0);
    };
}

TEST(Cli_Speed, BarShowsSpeedAndTimeLeft) {
    Temp_Folder folder;
    // 2 MB/s: a demo bank pass takes 1.7 s, and the bar moves every 0.5 s.
    const Cli_Result result = Run_Cli(Demo_Read(folder, {"--banks", "1"}), false, "", true, Reader_Clock(2048));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("\rBank_1 [########......................]  29%  2.0 MB/s  0:02 left  Read...   "),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("\rBank_1 [#################.............]  59%  2.0 MB/s  0:01 left  Read...   "),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("\rBank_1 [##############################] 100% Reading done ("), std::string::npos);
    EXPECT_NE(result.err.find(")  2.0 MB/s average   \n"), std::string::npos);
}

TEST(Cli_Speed, PlainLinesEndWithTheAverage) {
    Temp_Folder folder;
    // A dump pass and a bit-map pass of 3538944 bytes each at 27648 bytes a millisecond: 256 ms.
    Cli_Result result = Run_Cli(Demo_Read(folder, {"--banks", "1"}), false, "", false, Reader_Clock(27648));
    EXPECT_NE(result.err.find("Bank_1  Read...\nBank_1  Read bb...\nBank_1  Reading done ("), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find(")  27.6 MB/s average\n"), std::string::npos) << result.err;
    result = Run_Cli(Demo_Verify(folder, {"--banks", "1"}), false, "", false, Reader_Clock(27648));
    EXPECT_NE(result.err.find("Bank_1  Identical (384 pages)  27.6 MB/s average\n"), std::string::npos) << result.err;
}
