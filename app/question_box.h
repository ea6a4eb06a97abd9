#pragma once
// The small modal "Yes"/"No" question, for "Overwrite dumps?".
#include <windows.h>

#include <string>
#include <vector>

#include "dump/user.h"

namespace Korvane_Exe {

// True for "Yes"; "No", Escape and closing the popup give false. Enter
// presses the focused answer ("Yes" at first), Y and N answer directly.
bool Ask_Question(HWND owner, const std::wstring& text);
// The index of the answer pressed (or typed by its first letter); -1 when
// the popup was closed or left with Escape.
int Ask_Choice(HWND owner, const std::wstring& text, const std::vector<std::wstring>& answers);

class Question_Box final : public Question {
public:
    explicit Question_Box(HWND owner) : owner(owner) {}
    bool Ask_Yes_No(const std::wstring& text) override { return Ask_Question(owner, text); }

private:
    HWND owner;
};

}  // namespace Korvane_Exe
