// Fixture of the popup tests: a popup runs its own message loop, so the test
// acts through a script of steps, one per timer tick inside that loop.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/win32/toolkit_test.h"

class Dialog_Test : public Toolkit_Test {
protected:
    // No dialog may move the program's current folder.
    void SetUp() override {
        Toolkit_Test::SetUp();
        start_folder = std::filesystem::current_path();
    }
    void TearDown() override {
        EXPECT_EQ(std::filesystem::current_path(), start_folder);
        Toolkit_Test::TearDown();
    }

public:
    using Step = std::function<void()>;

    // Runs `body` (which opens a popup) with the steps fed in meanwhile. A
    // script that ends with a popup still open fails and closes it.
    void Script(std::vector<Step> script, const std::function<void()>& body);

public:
    // A step that runs again at the next tick while it answers false (a
    // window still to come), failing after about four seconds.
    static Step Until(std::function<bool()> attempt);

    // A visible top-level window of the toolkit with this title, or null.
    static HWND Popup(const std::wstring& title);
    // The direct children of a window of one system class ("Edit", "Button",
    // "SysListView32"), in creation order.
    static std::vector<HWND> Children(HWND parent, const std::wstring& class_name);
    // The button whose tooltip says `tip`.
    static HWND Button_With_Tip(HWND popup, const std::wstring& tip);
    static int Tool_Count(HWND popup);
    // A left click on a toolkit button, as the user gives it.
    static void Click(HWND button);
    // A double click on a row of a list view, in its first column.
    static void Double_Click_Row(HWND list, int index);
    // Keeps the picture as a .bmp file in the test's working folder.
    static void Keep_Screenshot(const Picture& picture, const std::wstring& file);
    static std::wstring Text_Of(HWND window);
    // Every row's texts of a list view, columns joined by "|".
    static std::vector<std::wstring> List_Rows(HWND list);

private:
    std::filesystem::path start_folder;
};
