// The user side of the dumping workflow as a test sees it: rows with their
// texts and marks, every question asked, every message printed.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dump/user.h"

class Recording_User : public Korvane_Exe::Bank_List, public Korvane_Exe::Question, public Korvane_Exe::Messages {
public:
    struct Row {
        std::wstring text;
        bool error = false;
        std::vector<std::wstring> history;
    };

    std::vector<std::uint32_t> selected;
    std::map<std::uint32_t, Row> rows;
    std::vector<std::wstring> questions;
    bool answer = true;
    std::vector<std::wstring> message_boxes;
    std::map<std::wstring, std::wstring> reports;
    int open_progress = 0;
    // A window that fails: every accepted progress step throws, or the
    // progress cannot even be made (a standard exception).
    bool position_throws = false;
    bool progress_fails = false;
    int positions = 0;

    std::vector<std::uint32_t> Selected_Banks() override { return selected; }
    void Set_Status(std::uint32_t bank, const std::wstring& text) override {
        rows[bank].text = text;
        rows[bank].error = false;
        rows[bank].history.push_back(text);
    }
    void Set_Error(std::uint32_t bank, const std::wstring& text) override {
        rows[bank].text = text;
        rows[bank].error = true;
        rows[bank].history.push_back(L"error: " + text);
    }
    std::unique_ptr<ZEKT_Progress> Start_Progress(std::uint32_t bank) override {
        if (progress_fails) throw std::runtime_error("no progress window");
        return std::make_unique<Row_Progress>(*this, bank);
    }
    bool Ask_Yes_No(const std::wstring& text) override {
        questions.push_back(text);
        return answer;
    }
    std::unique_ptr<ZEKT_Log> Message_Box() override { return std::make_unique<Text_Log>(message_boxes, nullptr); }
    std::unique_ptr<ZEKT_Log> Report_Window(const std::wstring& title) override {
        return std::make_unique<Text_Log>(message_boxes, &reports[title]);
    }

private:
    class Row_Progress : public ZEKT_Progress {
    public:
        // A clock a second ahead at every look, so that every step is accepted.
        Row_Progress(Recording_User& owner, std::uint32_t row)
            : ZEKT_Progress([clock = std::uint32_t{0}]() mutable { return clock += 1000; }), user(owner), bank(row) {
            ++user.open_progress;
        }
        ~Row_Progress() override { --user.open_progress; }
        void Set_Status(const std::wstring& text) override { user.Set_Status(bank, text); }
        void Set_Position(std::uint32_t) override {
            ++user.positions;
            if (user.position_throws) throw ZEKT_Exception(L"window gone");
        }

    private:
        Recording_User& user;
        std::uint32_t bank;
    };

    // A message box per Print, or one report window collecting everything.
    class Text_Log : public ZEKT_Log {
    public:
        Text_Log(std::vector<std::wstring>& boxes, std::wstring* window) : message_boxes(boxes), report(window) {}

    protected:
        void Print_Text(const std::wstring& text) override {
            if (report)
                *report += text;
            else
                message_boxes.push_back(text);
        }

    private:
        std::vector<std::wstring>& message_boxes;
        std::wstring* report;
    };
};
