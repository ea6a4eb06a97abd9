// What the dumping workflow needs from its user interface. The console and
// the windows each implement these; the workflow never sees either.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/errors.h"

namespace Korvane_Exe {

// The bank list: one row per bank, numbered from 1, with a result text.
class Bank_List {
public:
    virtual ~Bank_List() = default;
    // The selected banks, top to bottom.
    virtual std::vector<std::uint32_t> Selected_Banks() = 0;
    // The row's result text with the normal mark; lets the interface run.
    virtual void Set_Status(std::uint32_t bank, const std::wstring& text) = 0;
    // The row's result text with the error mark.
    virtual void Set_Error(std::uint32_t bank, const std::wstring& text) = 0;
    // A progress for one pass over a bank: its status goes to the row, its
    // position to a bar; the interface stays locked while it exists.
    virtual std::unique_ptr<ZEKT_Progress> Start_Progress(std::uint32_t bank) = 0;
};

// A modal yes/no question; true for yes.
class Question {
public:
    virtual ~Question() = default;
    virtual bool Ask_Yes_No(const std::wstring& text) = 0;
};

// Where one-off messages go: each log shows what one action printed.
class Messages {
public:
    virtual ~Messages() = default;
    // A log whose every Print is one "Message" box.
    virtual std::unique_ptr<ZEKT_Log> Message_Box() = 0;
    // A read-only report window with a title, kept open after the action.
    virtual std::unique_ptr<ZEKT_Log> Report_Window(const std::wstring& title) = 0;
};

}  // namespace Korvane_Exe
