#include "cli/console.h"

#include <iostream>
#include <istream>
#include <ostream>

#include "cli/speed_meter.h"
#include "framework/media.h"
#include "framework/os.h"
#include "framework/values.h"

namespace Korvane_Cli {

void Put(std::ostream& stream, const std::wstring& text) { stream << To_UTF8(text) << std::flush; }

namespace {

// Progress on standard error: a bar redrawn in place on a terminal, else
// one plain line per state of the bank. Throttled by Update.
class Console_Progress : public ZEKT_Progress {
public:
    Console_Progress(Console_User& owner, std::ostream& stream, std::uint32_t row, bool redraw)
        : ZEKT_Progress(owner.clock), user(owner), err(stream), bank(row), bar(redraw), meter(owner.clock) {}
    ~Console_Progress() override {
        if (drawn) err << '\n' << std::flush;
    }
    void Check() override {
        if (ZEKT_Os::Stop_Requested()) throw ZEKT_Exception_Cancel{L"Canceled."};
    }
    void Set_Status(const std::wstring& text) override {
        // A pass sets its working status once; a later one means it finished,
        // and then the average over every pass of the bank (dump and bit
        // map) follows the text.
        if (!status.empty()) {
            position = 1000;
            const std::wstring speed = meter.Average_Text(user.Bytes_Read(bank));
            if (user.bank_bytes && !speed.empty()) average = L"  " + speed;
        }
        // Statuses quote files and devices: shown with their controls escaped.
        status = Visible_Text(text);
        user.Set_Status(bank, text);
        if (bar)
            Draw();
        else
            Put(err, Format(L"Bank_%u  ", bank) + status + average + L"\n");
    }
    void Set_Position(std::uint32_t per_mille) override {
        position = per_mille;
        meter.Sample(user.Pass_Bytes(bank) * std::min<std::uint32_t>(per_mille, 1000) / 1000);
        if (bar) Draw();
    }

private:
    void Draw() {
        constexpr std::uint32_t Width = 30;
        const std::uint32_t filled = std::min<std::uint32_t>(position, 1000) * Width / 1000;
        // Speed and time left while the pass runs: "  45%  38.2 MB/s  0:42 left".
        const std::wstring speed = position < 1000 ? meter.Text(user.Pass_Bytes(bank)) : L"";
        std::wstring line = Format(L"\rBank_%u [", bank) + std::wstring(filled, L'#') + std::wstring(Width - filled, L'.') +
                            Format(L"] %3u%% ", std::min<std::uint32_t>(position, 1000) / 10) +
                            (speed.empty() ? L"" : L" " + speed + L"  ") + status + average + L"   ";
        Put(err, line);
        drawn = true;
    }

    Console_User& user;
    std::ostream& err;
    std::uint32_t bank;
    bool bar;
    std::uint32_t position = 0;
    std::wstring status;
    bool drawn = false;
    Speed_Meter meter;
    std::wstring average;
};

// Every Print goes to the terminal with its line breaks, and any other
// control character escaped; failure lines to standard error.
class Stream_Log : public ZEKT_Log {
public:
    Stream_Log(std::ostream& out_stream, std::ostream& err_stream) : out(out_stream), err(err_stream) {}

protected:
    void Print_Text(const std::wstring& text) override { Put(out, Visible_Text(text, true)); }
    void Print_Error_Text(const std::wstring& text) override { Put(err, Visible_Text(text, true)); }

private:
    std::ostream& out;
    std::ostream& err;
};

}  // namespace

Console_User::Console_User(std::ostream& out_stream, std::ostream& err_stream, std::istream& in_stream,
                           bool is_interactive, bool bars)
    : out(out_stream), err(err_stream), in(in_stream), interactive(is_interactive), progress_bars(bars) {}

void Console_User::Set_Status(std::uint32_t bank, const std::wstring& text) { rows[bank] = {Visible_Text(text), false}; }

void Console_User::Set_Error(std::uint32_t bank, const std::wstring& text) { rows[bank] = {Visible_Text(text), true}; }

// Only a dump pass that continues a kept part reads less than the bank: a
// complete dump left alone has no dump pass, and its first pass is the bit map.
std::uint64_t Console_User::Pass_Bytes(std::uint32_t bank) const {
    const std::uint64_t kept = kept_bytes.count(bank) ? kept_bytes.at(bank) : 0;
    return Passes(bank) == 1 && kept < bank_bytes ? bank_bytes - kept : bank_bytes;
}

std::unique_ptr<ZEKT_Progress> Console_User::Start_Progress(std::uint32_t bank) {
    ++passes[bank];
    bytes_read[bank] += Pass_Bytes(bank);
    return std::make_unique<Console_Progress>(*this, err, bank, progress_bars);
}

bool Console_User::Ask_Yes_No(const std::wstring& text) {
    bool yes = answer == Answer::Yes;
    if (answer == Answer::Ask && interactive) {
        Put(err, text + L" [y/N] ");
        std::string reply;
        // A stop request just before the wait is honoured, not lost in it.
        const bool waited = &in != &std::cin || in.rdbuf()->in_avail() > 0 || ZEKT_Os::Wait_For_Input();
        if (waited) std::getline(in, reply);
        if (ZEKT_Os::Stop_Requested()) {
            Put(err, L"\n");
            Check_Stop();
        }
        yes = reply == "y" || reply == "Y" || reply == "yes";
    }
    if (!yes) {
        Put(err, text + L" No: nothing read.\n");
        refused = true;
    }
    return yes;
}

std::unique_ptr<ZEKT_Log> Console_User::Message_Box() {
    message_shown = true;
    return std::make_unique<Stream_Log>(out, err);
}

std::unique_ptr<ZEKT_Log> Console_User::Report_Window(const std::wstring&) {
    return std::make_unique<Stream_Log>(out, err);
}

bool Console_User::Any_Row() const {
    for (const auto& [bank, row] : rows)
        if (row.error || !row.text.empty()) return true;
    return false;
}

bool Console_User::Print_Results() {
    bool all_good = true;
    for (std::uint32_t bank : selected) {
        const Row& row = rows[bank];
        // A row still blank was never reached (a refused overwrite, a stop).
        if (!row.error && row.text.empty()) {
            all_good = false;
            continue;
        }
        Put(row.error ? err : out, Format(L"Bank_%u  ", bank) + (row.error ? L"error: " : L"") + row.text + L"\n");
        all_good = all_good && !row.error;
    }
    return all_good;
}

}  // namespace Korvane_Cli
