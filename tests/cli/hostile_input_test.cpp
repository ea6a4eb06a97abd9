// korvane-cli against hostile and odd input: control characters from files
// never reach the terminal, nothing done is no success, numbers and paths
// are refused with the value named before anything is read.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/media.h"
#include "tests/cli/cli_run.h"
#include "tests/temp_folder.h"

namespace {

// Every byte a terminal would act on: C0 controls but the line feed, DEL,
// and the C1 controls as UTF-8 (C2 80 to C2 9F).
bool Has_Control(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte < 0x20 && byte != '\n') || byte == 0x7F) return true;
        if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return true;
    }
    return false;
}

std::string Demo_Text() {
    std::ifstream file(Demo_Profile, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void Put_Text(const Temp_Folder& folder, const std::wstring& leaf, const std::string& text) {
    folder.Put(leaf, {text.begin(), text.end()});
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

}  // namespace

TEST(Cli_Hostile, ControlCharactersFromFilesAreShownEscaped) {
    Temp_Folder folder;
    // A title sequence, a clear-screen, a C1 CSI and an overlong ESC in the
    // name, and a bank failure that quotes a file's bytes.
    std::string text = Replaced(Demo_Text(), "Demo WL 2 x 4 MB", "A\x1b]0;X\x07\x1b[2J\xc2\x9b\xc0\x9b");
    text = Replaced(text, "Join CE\n", "Join CE      1\x1b[2J\n");
    Put_Text(folder, L"hostile.txt", text);
    const std::string config = To_UTF8(folder.Name(L"hostile.txt"));
    const std::string out_file = To_UTF8(folder.Name(L"out.txt"));
    const std::string shown_name = "A\\x1b]0;X\\x07\\x1b[2J\\x9b\xef\xbf\xbd\xef\xbf\xbd";

    const Cli_Result printed = Run_Cli({"config", "--config", config});
    EXPECT_NE(printed.out.find("Name         " + shown_name + "\n"), std::string::npos) << printed.out;
    EXPECT_EQ(Run_Cli({"config", "--config", config, "--out", out_file}).status, 0);
    const std::string stored = To_UTF8(Replace_All(Read_Unicode_File(From_UTF8(out_file)), L"\r\n", L"\n"));
    EXPECT_NE(stored.find("Name         " + shown_name + "\n"), std::string::npos) << stored;
    const Cli_Result read = Run_Cli({"--simulate", "id", "--config", config, "--banks", "1"});
    EXPECT_EQ(read.status, 1);
    EXPECT_NE(read.err.find("Can't convert <1\\x1b[2J> to integer\n"), std::string::npos) << read.err;
    for (const Cli_Result& result : {printed, read}) {
        EXPECT_FALSE(Has_Control(result.out)) << result.out;
        EXPECT_FALSE(Has_Control(result.err)) << result.err;
    }
    EXPECT_FALSE(Has_Control(stored));
}

// A command line refused, or taken as given: "@" stands for a fresh folder.
struct Refusal {
    std::vector<std::string> arguments;
    int status;
    std::string out;
    std::string err_line;  // a whole line of standard error
};

class Cli_Refusals : public testing::TestWithParam<Refusal> {};

TEST_P(Cli_Refusals, ExitStatusAndMessage) {
    Temp_Folder folder;
    const std::string at = To_UTF8(folder.path.wstring());
    const std::string demo = Demo_Text();
    // A profile whose name is a pattern, and a chip that nothing in the catalogue fits.
    Put_Text(folder, L"prof[1].txt", demo);
    Put_Text(folder, L"stranger.txt", Replaced(demo, "98 de 94 93", "01 02 03 04"));
    auto placed = [&](std::string text) {
        return text.find('@') == std::string::npos ? text : Replaced(text, "@", at);
    };
    std::vector<std::string> arguments;
    for (const std::string& argument : GetParam().arguments) arguments.push_back(placed(argument));
    const Cli_Result result = Run_Cli(arguments);
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    EXPECT_EQ(result.out, GetParam().out);
    if (!GetParam().err_line.empty()) {
        EXPECT_NE(("\n" + result.err).find("\n" + placed(GetParam().err_line) + "\n"), std::string::npos) << result.err;
    }
    // A refusal sends nothing to the reader and writes no dump.
    if (result.status != 0) {
        EXPECT_EQ(result.err.find("trace: open"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path / "d"));
    EXPECT_FALSE(std::filesystem::exists(folder.path / "r" / "01_01.dump"));
}

const std::string Over_Bits_Error = "korvane-cli: Error: Wrong emulator key <Sim Voltage Offset> value <";

INSTANTIATE_TEST_SUITE_P(
    Cases, Cli_Refusals,
    testing::Values(
        // Nothing to do is no success.
        Refusal{{"--simulate", "--trace", "id", "--config", Demo_Profile, "--set", "Banks=0 x 4 MB"}, 1, "",
                "korvane-cli: Error: No bank in Banks <0 x 4 MB>"},
        Refusal{{"--simulate", "--trace", "verify", "--config", Demo_Profile, "--set", "Banks=0 x 4 MB", "--folder",
                 "@/d"},
                1, "", "korvane-cli: Error: No bank in Banks <0 x 4 MB>"},
        Refusal{{"config", "--config", ""}, 2, "", "korvane-cli: --config: Empty path"},
        Refusal{{"options", "--options", ""}, 2, "", "korvane-cli: --options: Empty path"},
        Refusal{{"read", "--chip", "F4GMSAP", "--folder", ""}, 2, "", "korvane-cli: --folder: Empty path"},
        Refusal{{"--simulate=@/stranger.txt", "find"}, 1, "", "No catalogue chip fits the attached chip"},
        // Numbers beyond what the chip enables and the dump positions hold.
        Refusal{{"--simulate", "--trace", "read", "--config", Demo_Profile, "--set", "Banks=4294967295 x 4 MB",
                 "--folder", "@/d"},
                1, "", "korvane-cli: Error: Bank count <4294967295> is more than the 8 chip enables"},
        Refusal{{"--simulate", "--trace", "read", "--config", Demo_Profile, "--set", "Page=0xFFFFFFFF", "--set",
                 "Block=0x80000000", "--set", "Blocks=0xFFFFFFFF", "--opt", "Check ID=false", "--folder", "@/r"},
                1, "", "Bank_1  error: Bank size <4294967295 x 2147483648 bytes> is more than any chip holds"},
        Refusal{{"--simulate", "--trace", "id", "--config", Demo_Profile, "--set", "Sim Voltage Offset=0x80000000"}, 1,
                "", Over_Bits_Error + "0x80000000>"},
        Refusal{{"--simulate", "--trace", "id", "--config", Demo_Profile, "--set",
                 "Sim Voltage Offset=-0xFFFFFFFFFFFFFFFF"},
                1, "", Over_Bits_Error + "-0xFFFFFFFFFFFFFFFF>"},
        // Paths as given: brackets are no pattern, "*" matches nothing, other bytes are no UTF-8.
        Refusal{{"--simulate=@/prof[1].txt", "id", "--config", Demo_Profile, "--banks", "2"}, 0,
                "Bank_2  98 de 94 93 \n", ""},
        Refusal{{"--simulate=@/*.txt", "id", "--config", Demo_Profile}, 1, "",
                "korvane-cli: Error: Unknown emulator profile <@/*.txt>"},
        Refusal{{"--simulate", "read", "--config", Demo_Profile, "--folder", "@/d/caf\xe9"}, 2, "",
                "korvane-cli: Error: Command-line text is not UTF-8 <@/d/caf\\xe9>"}));
