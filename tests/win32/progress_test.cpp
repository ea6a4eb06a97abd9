#include "win32/progress.h"

#include <gtest/gtest.h>

#include "tests/win32/toolkit_test.h"

namespace {

void Post_Click(HWND button) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

int Client_Height(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client.bottom;
}

// Notes whether the progress stood paused when its message arrived.
struct Probe {
    ZEKT_Win32_Handlers handlers;
    const ZEKT_Explorer_Progress* progress = nullptr;
    std::vector<bool> paused;
    ZEKT_Box<LRESULT> On_Message(HWND, UINT, WPARAM, LPARAM) {
        paused.push_back(progress->Paused());
        return ZEKT_Win32_Handled(0);
    }
};

}  // namespace

using Progress_Test = Toolkit_Test;

TEST_F(Progress_Test, StopButtonCancelsAtTheNextCheckOnce) {
    ZEKT_Explorer_Progress progress(Host());
    EXPECT_FALSE(IsWindowVisible(progress.Window()));
    progress.Check();
    EXPECT_TRUE(IsWindowVisible(progress.Window()));

    Post_Click(progress.Stop_Button());
    EXPECT_THROW(progress.Check(), ZEKT_Exception_Cancel);
    EXPECT_NO_THROW(progress.Check());

    // Closing the window is a stop request too; the window stays.
    SendMessageW(progress.Window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(progress.Window()));
    EXPECT_THROW(progress.Set_Position(10), ZEKT_Exception_Cancel);
}

TEST_F(Progress_Test, BarsShowTheirPositionAndTitleAndOverallBarTakeRoomFromFirstUse) {
    ZEKT_Explorer_Progress progress(Host());
    progress.Set_Status(L"Reading bank 1");
    progress.Set_Position(500);
    const Picture bar = Print_Window(progress.Bar().Window());
    EXPECT_EQ(bar.At(bar.width / 4, bar.height / 2), RGB(128, 0, 255));
    EXPECT_EQ(bar.At(bar.width * 3 / 4, bar.height / 2), RGB(255, 255, 255));
    EXPECT_FALSE(IsWindowVisible(progress.Main_Bar().Window()));

    const int plain = Client_Height(progress.Window());
    progress.Set_Title(L"Dump");
    const int titled = Client_Height(progress.Window());
    EXPECT_GT(titled, plain);
    progress.Set_Title(L"Dump again");
    EXPECT_EQ(Client_Height(progress.Window()), titled);

    progress.Set_Main_Position(1000);
    EXPECT_TRUE(IsWindowVisible(progress.Main_Bar().Window()));
    EXPECT_GT(Client_Height(progress.Window()), titled);
    const Picture main = Print_Window(progress.Main_Bar().Window());
    EXPECT_EQ(main.At(main.width - 2, main.height / 2), RGB(128, 0, 255));
}

TEST_F(Progress_Test, PauseHoldsTheOperationUntilPressedAgainOrStopped) {
    ZEKT_Explorer_Progress progress(Host());
    progress.Check();
    HWND probe_window = Make_Window();
    Probe probe;
    probe.progress = &progress;
    probe.handlers.Add_Handler(probe_window, WM_APP, &probe, &Probe::On_Message);

    Post_Click(progress.Pause_Button());
    PostMessageW(probe_window, WM_APP, 0, 0);
    Post_Click(progress.Pause_Button());
    EXPECT_NO_THROW(progress.Check());
    EXPECT_EQ(probe.paused, std::vector<bool>{true});
    EXPECT_FALSE(progress.Paused());

    Post_Click(progress.Pause_Button());
    Post_Click(progress.Stop_Button());
    EXPECT_THROW(progress.Check(), ZEKT_Exception_Cancel);
    EXPECT_FALSE(progress.Paused());
}
