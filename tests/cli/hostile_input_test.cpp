// korvane-cli against hostile and odd input: file text never drives the
// terminal, nothing done is no success, numbers and paths are refused by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/cli/cli_run.h"
#include "tests/temp_folder.h"

namespace {

// What a terminal acts on: C0 controls but the line feed, DEL, C1 controls (UTF-8 C2 80 to C2 9F).
bool Has_Control(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((text[i] >= 0 && text[i] < 0x20 && text[i] != '\n') || text[i] == 0x7F ||
            (text[i] == '\xc2' && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F))
            return true;
    return false;
}

// The demo profile with `from` replaced by `to`, as the file `leaf`; its path.
std::string Demo_File(const Temp_Folder& folder, const std::wstring& leaf, const std::string& from, const std::string& to) {
    std::ifstream file(Demo_Profile, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    text.replace(text.find(from), from.size(), to);
    folder.Put(leaf, {text.begin(), text.end()});
    return To_UTF8(folder.Name(leaf));
}

}  // namespace

TEST(Cli_Hostile, ControlCharactersFromFilesAreShownEscaped) {
    Temp_Folder folder;
    // A title sequence, a clear-screen and a C1 CSI, in a UTF-16 file: the
    // same characters on every system (a file without a mark is read in the
    // system's code page).
    std::ifstream demo(Demo_Profile, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(demo), std::istreambuf_iterator<char>()};
    Write_Text_File(folder.Name(L"hostile.txt"),
                    Replace_All(From_UTF8(text), L"Join CE\n", L"Join CE      1\x1b]0;X\x07\x1b[2J\x9b\n"));
    const std::string config = To_UTF8(folder.Name(L"hostile.txt"));
    const std::string shown = "1\\x1b]0;X\\x07\\x1b[2J\\x9b";
    const Cli_Result printed = Run_Cli({"config", "--config", config});
    EXPECT_NE(printed.out.find("Join CE      " + shown + "\n"), std::string::npos) << printed.out;
    const Cli_Result read = Run_Cli({"--simulate", "id", "--config", config});
    EXPECT_NE(read.err.find("Can't convert <" + shown + "> to integer\n"), std::string::npos) << read.err;
    ASSERT_EQ(Run_Cli({"config", "--config", config, "--out", config + ".out"}).status, 0);
    const std::string stored = To_UTF8(Replace_All(Read_Unicode_File(From_UTF8(config + ".out")), L"\r\n", L"\n"));
    EXPECT_NE(stored.find("Join CE      " + shown), std::string::npos) << stored;
    for (const std::string& text : {printed.out, printed.err, read.out, read.err, stored})
        EXPECT_FALSE(Has_Control(text)) << text;
}

// A command line refused, or taken as given; "@" stands for a fresh folder.
struct Refusal {
    std::vector<std::string> arguments;
    int status;
    std::string out, err_line;  // err_line: one whole line of standard error
};

class Cli_Refusals : public testing::TestWithParam<Refusal> {};

TEST_P(Cli_Refusals, ExitStatusAndMessage) {
    Temp_Folder folder;
    Demo_File(folder, L"prof[1].txt", "Sim ONFI", "Sim ONFI");
    Demo_File(folder, L"stranger.txt", "98 de 94 93", "01 02 03 04");
    auto placed = [&](std::string text) {
        if (text.find('@') != std::string::npos) text.replace(text.find('@'), 1, To_UTF8(folder.path.wstring()));
        return text;
    };
    std::vector<std::string> arguments(GetParam().arguments);
    std::transform(arguments.begin(), arguments.end(), arguments.begin(), placed);
    const Cli_Result result = Run_Cli(arguments);
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_EQ(result.out, GetParam().out);
    EXPECT_NE(("\n" + result.err + "\n").find("\n" + placed(GetParam().err_line) + "\n"), std::string::npos) << result.err;
    // Nothing reaches the reader, no dump is written.
    EXPECT_EQ(result.err.find("trace: open"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "d" / "01_01.dump"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cli_Refusals,
    testing::Values(
        Refusal{{"--simulate", "--trace", "id", "--config", Demo_Profile, "--set", "Banks=0 x 4 MB"}, 1, "",
                "korvane-cli: Error: No bank in Banks <0 x 4 MB>"},
        Refusal{{"read", "--chip", "F4GMSAP", "--folder", ""}, 2, "", "korvane-cli: --folder: Empty path"},
        Refusal{{"--simulate=@/stranger.txt", "find"}, 1,
                "ID <01 02 03 04> on 2 chip enables\nThe ID says: maker AMD/Spansion\nThe ONFI parameter page says: "
                "maker Toshiba, model Demo WL 2 x 4 MB, 3 MB a chip enable, page 8192 + 1024, block 192 pages, bus 8\n",
                "No catalogue chip fits the attached chip"},
        Refusal{{"--simulate", "--trace", "read", "--config", Demo_Profile, "--set", "Banks=4294967295 x 4 MB",
                 "--folder", "@/d"}, 1, "", "korvane-cli: Error: Bank count <4294967295> is more than the 8 chip enables"},
        Refusal{{"--simulate", "--trace", "read", "--config", Demo_Profile, "--set", "Page=0xFFFFFFFF", "--set",
                 "Block=0x80000000", "--set", "Blocks=0xFFFFFFFF", "--opt", "Check ID=false", "--folder", "@/d"},
                1, "", "Bank_1  error: Bank size <4294967295 x 2147483648 bytes> is more than any chip holds"},
        Refusal{{"--simulate", "--trace", "id", "--config", Demo_Profile, "--set", "Sim Voltage Offset=0x80000000"}, 1,
                "", "korvane-cli: Error: Wrong emulator key <Sim Voltage Offset> value <0x80000000>"},
        // Paths as given: brackets are no pattern, bytes that are no UTF-8 are no path.
        Refusal{{"--simulate=@/prof[1].txt", "id", "--config", Demo_Profile, "--banks", "2"}, 0,
                "Bank_2  98 de 94 93 \n", ""},
        Refusal{{"--simulate", "read", "--config", Demo_Profile, "--folder", "@/d/caf\xe9"}, 2, "",
                "korvane-cli: Error: Command-line text is not UTF-8 <@/d/caf\\xe9>"}));
