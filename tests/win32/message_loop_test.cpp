#include "win32/message_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/win32/toolkit_test.h"

namespace {

struct Destroy_Recorder {
    ZEKT_Win32_Handlers handlers;
    std::vector<HWND> destroyed;
    std::vector<std::size_t> still_tracked;  // length of the tracked list at each destruction

    void Watch(HWND window) { handlers.Add_Handler(window, WM_DESTROY, this, &Destroy_Recorder::On_Destroy); }
    ZEKT_Box<LRESULT> On_Destroy(HWND window, UINT, WPARAM, LPARAM) {
        destroyed.push_back(window);
        still_tracked.push_back(Tracked_Windows().size());
        return ZEKT_Win32_Not_Handled();
    }
};

}  // namespace

using Message_Loop_Test = Toolkit_Test;

TEST_F(Message_Loop_Test, AfterQuitTrackedWindowsAreDestroyedFirstInListFirst) {
    HWND first = Make_Window(10);
    HWND second = Make_Window(220);
    HWND third = Make_Window(430);
    Destroy_Recorder recorder;
    for (HWND window : {first, second, third}) recorder.Watch(window);
    // Tracked in another order than created.
    Track_Window(second);
    Track_Window(third);
    Track_Window(first);

    PostQuitMessage(7);
    EXPECT_EQ(Run_Message_Loop(), 7);

    EXPECT_EQ(recorder.destroyed, (std::vector<HWND>{second, third, first}));
    EXPECT_EQ(recorder.still_tracked, (std::vector<std::size_t>{3, 2, 1}));
    EXPECT_TRUE(Tracked_Windows().empty());
    EXPECT_FALSE(IsWindow(first));
}

TEST_F(Message_Loop_Test, WindowDestroyedEarlierLeavesTheTrackedList) {
    HWND kept = Make_Window(10);
    HWND closed = Make_Window(220);
    Track_Window(kept);
    Track_Window(closed);
    DestroyWindow(closed);
    EXPECT_EQ(Tracked_Windows(), (std::vector<HWND>{kept}));

    PostQuitMessage(0);
    EXPECT_EQ(Run_Message_Loop(), 0);
    EXPECT_FALSE(IsWindow(kept));
}

namespace {

struct Counter {
    ZEKT_Win32_Handlers handlers;
    int count = 0;
    ZEKT_Box<LRESULT> On_Message(HWND, UINT, WPARAM, LPARAM) {
        ++count;
        return ZEKT_Win32_Handled(0);
    }
};

}  // namespace

TEST_F(Message_Loop_Test, PumpHandlesWaitingMessagesAndKeepsTheQuitMessage) {
    HWND window = Make_Window();
    Counter counter;
    counter.handlers.Add_Handler(window, WM_APP, &counter, &Counter::On_Message);
    PostMessageW(window, WM_APP, 0, 0);
    PostMessageW(window, WM_APP, 0, 0);
    EXPECT_EQ(Pump_Messages(), 0);
    EXPECT_EQ(counter.count, 2);

    // A quit met by the pump still ends the outer loop, with its code.
    PostQuitMessage(3);
    Pump_Messages();
    PostMessageW(window, WM_APP, 0, 0);
    EXPECT_EQ(Run_Message_Loop(), 3);
}

TEST_F(Message_Loop_Test, CheckHandlersReportsAHandlerLeftRegistered) {
    HWND window = Make_Window();
    {
        Counter counter;
        counter.handlers.Add_Handler(window, WM_APP, &counter, &Counter::On_Message);
        Check_Handlers();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, nullptr);
        EXPECT_EQ(boxes[0].text, L"???");
        EXPECT_EQ(boxes[0].caption, L"Active handlers");
        EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
    }
    boxes.clear();
    Check_Handlers();
    EXPECT_TRUE(boxes.empty());
}
