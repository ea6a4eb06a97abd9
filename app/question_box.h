#pragma once
// The small modal "Yes"/"No" question, for "Overwrite dumps?".
#include <windows.h>

#include <string>

#include "dump/user.h"

namespace Korvane_Exe {

// True for "Yes"; "No" and closing the popup give false.
bool Ask_Question(HWND owner, const std::wstring& text);

class Question_Box final : public Question {
public:
    explicit Question_Box(HWND owner) : owner(owner) {}
    bool Ask_Yes_No(const std::wstring& text) override { return Ask_Question(owner, text); }

private:
    HWND owner;
};

}  // namespace Korvane_Exe
