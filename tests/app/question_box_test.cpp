#include "app/question_box.h"

#include <gtest/gtest.h>

#include "tests/app/dialog_test.h"

using namespace Korvane_Exe;

namespace {

struct Answer_Case {
    const char* gesture;
    void (*act)(HWND popup);
    bool answer;
};

// The question box's buttons: text buttons of the toolkit, "Yes" first.
HWND Button(HWND popup, std::size_t index) {
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(popup, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        buttons.push_back(child);
    return index < buttons.size() ? buttons[index] : nullptr;
}

const Answer_Case Answers[] = {
    {"Yes", [](HWND popup) { Dialog_Test::Click(Button(popup, 0)); }, true},
    {"No", [](HWND popup) { Dialog_Test::Click(Button(popup, 1)); }, false},
    {"close", [](HWND popup) { PostMessageW(popup, WM_CLOSE, 0, 0); }, false},
    {"Escape", [](HWND popup) { PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0); }, false},
};

}  // namespace

class Question_Box_Test : public Dialog_Test, public ::testing::WithParamInterface<Answer_Case> {};

TEST_P(Question_Box_Test, AnswersAndGivesTheOwnersControlsBack) {
    HWND enabled = Make_Child(10, 10, 50, 20);
    HWND disabled = Make_Child(70, 10, 50, 20);
    EnableWindow(disabled, FALSE);
    bool answer = !GetParam().answer;
    Script({[&] {
                HWND popup = Popup(L"Select chip");
                ASSERT_NE(popup, nullptr);
                EXPECT_FALSE(IsWindowEnabled(enabled));
                EXPECT_FALSE(IsWindowEnabled(disabled));
                GetParam().act(popup);
            }},
           [&] { answer = Question_Box(Host()).Ask_Yes_No(L"Overwrite dumps?"); });
    EXPECT_EQ(answer, GetParam().answer);
    EXPECT_TRUE(IsWindowEnabled(enabled));
    EXPECT_FALSE(IsWindowEnabled(disabled));
    EXPECT_EQ(Popup(L"Select chip"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Gestures, Question_Box_Test, ::testing::ValuesIn(Answers),
                         [](const auto& info) { return std::string(info.param.gesture); });

TEST_F(Dialog_Test, QuestionBoxFitsItsTextCentredOverItsOwner) {
    RECT placed = {}, yes = {}, no = {};
    Picture shown;
    Script({[&] {
        HWND popup = Popup(L"Select chip");
        ASSERT_NE(popup, nullptr);
        GetWindowRect(popup, &placed);
        GetWindowRect(Button(popup, 0), &yes);
        GetWindowRect(Button(popup, 1), &no);
        shown = Screen_Of(popup);
        Keep_Screenshot(shown, L"question_box.bmp");
        Dialog_Test::Click(Button(popup, 1));
    }},
           [&] { Ask_Question(Host(), L"Overwrite dumps?"); });
    const int width = placed.right - placed.left;
    const int height = placed.bottom - placed.top;
    // Centred over the 800 x 600 host at the screen's corner.
    EXPECT_LE(std::abs((placed.left + placed.right) / 2 - 400), 1);
    EXPECT_LE(std::abs((placed.top + placed.bottom) / 2 - 300), 1);
    // Both 45 x 13 buttons on the bottom line, 5 pixels from the edges.
    EXPECT_EQ(yes.left - placed.left, 5);
    EXPECT_EQ(placed.right - no.right, 5);
    EXPECT_EQ(placed.bottom - yes.bottom, 5);
    EXPECT_EQ(no.top, yes.top);
    EXPECT_EQ(yes.right - yes.left, 45);
    EXPECT_EQ(no.bottom - no.top, 13);
    ASSERT_EQ(shown.width, width);
    EXPECT_EQ(shown.At(1, 1), RGB(236, 233, 216));
    EXPECT_EQ(shown.At(5, height - 18), RGB(255, 0, 128));
    // The text, dark, within the margins above the buttons.
    const RECT text = {5, 5, width - 5, height - 18 - 5};
    EXPECT_GT(shown.Count(text, Is_Dark), 20);
    EXPECT_EQ(shown.Count({0, 0, width, 5}, Is_Dark), 0);
}
