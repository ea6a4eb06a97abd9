// The dumping workflow's user interface on a terminal: rows become lines
// (results on standard output, failures on standard error), progress a bar
// or plain lines on standard error, the question a prompt.
#pragma once

#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dump/user.h"

namespace Korvane_Cli {

// Wide text to a narrow stream, as UTF-8.
void Put(std::ostream& stream, const std::wstring& text);

class Console_User : public Korvane_Exe::Bank_List, public Korvane_Exe::Question, public Korvane_Exe::Messages {
public:
    enum class Answer { Ask, Yes, No };

    Console_User(std::ostream& out, std::ostream& err, std::istream& in, bool interactive, bool progress_bars);

    std::vector<std::uint32_t> selected;
    // Bytes of one pass over a bank, for the speed and time left; 0 shows none.
    std::uint64_t bank_bytes = 0;
    // Bytes that a resumed read keeps of each bank's dump: its dump pass
    // reads only the rest, and its speeds count only what was read.
    std::map<std::uint32_t, std::uint64_t> kept_bytes;
    ZEKT_Tick_Source clock = ZEKT_Tick_Count;
    Answer answer = Answer::Ask;
    // A question was answered no.
    bool refused = false;
    // Something was shown as a message box (a failure report, the self-test).
    bool message_shown = false;

    std::vector<std::uint32_t> Selected_Banks() override { return selected; }
    void Set_Status(std::uint32_t bank, const std::wstring& text) override;
    void Set_Error(std::uint32_t bank, const std::wstring& text) override;
    std::unique_ptr<ZEKT_Progress> Start_Progress(std::uint32_t bank) override;
    bool Ask_Yes_No(const std::wstring& text) override;
    std::unique_ptr<ZEKT_Log> Message_Box() override;
    std::unique_ptr<ZEKT_Log> Report_Window(const std::wstring& title) override;

    // "Bank_N  text" for every selected bank that was worked on, errors
    // marked "error: ". False when any row holds an error.
    bool Print_Results();
    // Whether any bank's row got a text (a stop may come before the first).
    bool Any_Row() const;
    // How many passes (dump, bit map, verify) have started over the bank.
    std::uint32_t Passes(std::uint32_t bank) const { return passes.count(bank) ? passes.at(bank) : 0; }
    // Bytes of the bank's latest pass, and of all its passes so far.
    std::uint64_t Pass_Bytes(std::uint32_t bank) const;
    std::uint64_t Bytes_Read(std::uint32_t bank) const { return bytes_read.count(bank) ? bytes_read.at(bank) : 0; }

private:
    struct Row {
        std::wstring text;
        bool error = false;
    };
    std::ostream& out;
    std::ostream& err;
    std::istream& in;
    bool interactive;
    bool progress_bars;
    std::map<std::uint32_t, Row> rows;
    std::map<std::uint32_t, std::uint32_t> passes;
    std::map<std::uint32_t, std::uint64_t> bytes_read;
};

}  // namespace Korvane_Cli
