#include "framework/errors.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Reports whatever `thrower` throws through Handle_Exception.
template <typename Thrower>
std::wstring Handled(Thrower thrower) {
    ZEKT_wstring_Log log;
    try {
        thrower();
    } catch (...) {
        log.Handle_Exception();
    }
    return log.text;
}

template <typename Thrower>
std::wstring Reported(Thrower thrower) {
    ZEKT_wstring_Log log;
    try {
        thrower();
    } catch (...) {
        log.Report_Exception();
    }
    return log.text;
}

}  // namespace

TEST(Exception_Report, EachKindHasItsOwnLine) {
    EXPECT_EQ(Reported([] { throw ZEKT_Exception_Media(L"Out of disk"); }), L"Media Error: Out of disk\n");
    EXPECT_EQ(Reported([] { throw ZEKT_Exception_DataCorrupt(L"Not unicode file"); }),
              L"Data Corrupt: Not unicode file\n");
    EXPECT_EQ(Reported([] { throw ZEKT_Exception_OutOfBuffer(L"Out of buffer"); }), L"Data Corrupt: Out of buffer\n");
    EXPECT_EQ(Reported([] { throw ZEKT_Exception_UnSupported(L"Can't write to Media Set"); }),
              L"Unsupprted: Can't write to Media Set\n");
    EXPECT_EQ(Reported([] { throw ZEKT_Exception_Bug(L"x"); }), L"Bug in programm: x\n");
    EXPECT_EQ(Reported([] { throw ZEKT_Exception(L"Unknown Retry type"); }), L"Error: Unknown Retry type\n");
    EXPECT_EQ(Reported([] { throw std::length_error("too long"); }), L"STD Error: too long\n");
    EXPECT_EQ(Reported([] { throw 42; }), L"Unknown Exception\n");
}

TEST(Exception_Report, StopRequestPassesThroughReport) {
    ZEKT_wstring_Log log;
    EXPECT_THROW(
        {
            try {
                throw ZEKT_Exception_Cancel{};
            } catch (...) {
                log.Report_Exception();
            }
        },
        ZEKT_Exception_Cancel);
    EXPECT_EQ(log.text, L"");
}

TEST(Exception_Report, HandleAddsCanceledLineAndSwallowsEverything) {
    EXPECT_EQ(Handled([] { throw ZEKT_Exception_Media(L"Korvane2 not found"); }),
              L"Canceled.\nMedia Error: Korvane2 not found\n");
    EXPECT_EQ(Handled([] { throw ZEKT_Exception_Cancel{}; }), L"Canceled.\n");
    EXPECT_EQ(Handled([] { throw 7; }), L"Canceled.\nUnknown Exception\n");
}

TEST(Exception_Report, CancelIsNotCaughtAsFrameworkError) {
    bool caught_as_framework_error = false;
    try {
        try {
            throw ZEKT_Exception_Cancel{};
        } catch (const ZEKT_Exception&) {
            caught_as_framework_error = true;
        }
    } catch (const ZEKT_Exception_Cancel&) {
    }
    EXPECT_FALSE(caught_as_framework_error);
}

namespace {

// A progress whose clock the test moves by hand.
class Recording_Progress : public ZEKT_Progress {
public:
    explicit Recording_Progress(std::uint32_t* clock) : ZEKT_Progress([clock] { return *clock; }) {}
    void Set_Position(std::uint32_t per_mille) override { positions.push_back(per_mille); }
    std::vector<std::uint32_t> positions;
};

}  // namespace

TEST(Progress_Update, PositionsInPerMille) {
    std::uint32_t clock = 1000;
    Recording_Progress progress(&clock);
    clock += 501;
    progress.Update(5, 0);
    clock += 501;
    progress.Update(500000, 2000000);
    clock += 501;
    progress.Update(1, 3);
    clock += 501;
    progress.Update(3, -1);
    EXPECT_EQ(progress.positions, (std::vector<std::uint32_t>{999, 250, 333, 999}));
}

TEST(Progress_Update, ThrottledToOneUpdatePer500Ms) {
    std::uint32_t clock = 0xFFFFFF00u;  // close to the tick counter's wrap
    Recording_Progress progress(&clock);
    clock += 500;  // the first 500 ms after construction are dropped
    progress.Update(1, 10);
    EXPECT_TRUE(progress.positions.empty());
    clock += 1;  // wraps past zero, still 501 ms later
    progress.Update(2, 10);
    clock += 499;
    progress.Update(3, 10);
    ASSERT_EQ(progress.positions, (std::vector<std::uint32_t>{200}));
    clock += 2;
    progress.Update(4, 10);
    EXPECT_EQ(progress.positions, (std::vector<std::uint32_t>{200, 400}));
}

TEST(Last_Error_Text, IsOneLine) {
    const std::wstring text = Last_Error_Text();
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
}
