#include "win32/logs.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/win32/toolkit_test.h"

namespace {

std::wstring Text_Of(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND Make_Edit(HWND parent) {
    return CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 100, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

using Log_Test = Toolkit_Test;

TEST_F(Log_Test, MessageLogShowsOneMessageBoxPerPrint) {
    ZEKT_Win32_Message_Log log;
    log.Print(L"Bank <%d> failed\n", 3);
    log.Print(L"%s", L"second");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Bank <3> failed\n");
    EXPECT_EQ(boxes[0].caption, L"Message");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(boxes[0].owner, GetFocus());
    EXPECT_EQ(boxes[1].text, L"second");
}

TEST_F(Log_Test, MessageLogCarriesTheReportOfAnException) {
    ZEKT_Win32_Message_Log log;
    try {
        throw ZEKT_Exception_OutOfBuffer(L"Out of buffer");
    } catch (...) {
        log.Report_Exception();
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Data Corrupt: Out of buffer\n");
}

TEST_F(Log_Test, EditLogAddsCompleteLinesAndKeepsTheTailPending) {
    HWND parent = Make_Window();
    HWND edit = Make_Edit(parent);
    ZEKT_Explorer_Log log(edit);

    log.Print(L"a\r\nb");
    EXPECT_EQ(Text_Of(edit), L"a\r\n");
    EXPECT_EQ(log.Pending(), L"b");

    log.Print(L"c");
    EXPECT_EQ(Text_Of(edit), L"a\r\n");
    log.Print(L"\nd\ne\r\rf\n");
    EXPECT_EQ(Text_Of(edit), L"a\r\nbc\r\nd\r\ne\r\rf\r\n");
    EXPECT_EQ(log.Pending(), L"");

    // Lines go to the end, wherever the user left the selection.
    SendMessageW(edit, EM_SETSEL, 0, 1);
    log.Print(L"%s <%d>\n", L"Bank", 2);
    EXPECT_EQ(Text_Of(edit), L"a\r\nbc\r\nd\r\ne\r\rf\r\nBank <2>\r\n");
    // The insertion can be undone, as typing can.
    EXPECT_TRUE(SendMessageW(edit, EM_CANUNDO, 0, 0));
}

TEST_F(Log_Test, LogWindowHoldsTheLinesInAnEditFillingIt) {
    HWND window;
    {
        ZEKT_Explorer_Log_Window log(L"Log", 50, 50, 300, 200);
        window = log.Window();
        ASSERT_TRUE(IsWindow(window));
        wchar_t title[16] = {};
        GetWindowTextW(window, title, 16);
        EXPECT_STREQ(title, L"Log");
        EXPECT_EQ(GetParent(log.Edit()), window);

        log.Print(L"one\ntw");
        log.Print(L"o\n");
        EXPECT_EQ(Text_Of(log.Edit()), L"one\r\ntwo\r\n");

        SetWindowPos(window, nullptr, 0, 0, 400, 250, SWP_NOMOVE | SWP_NOZORDER);
        RECT client, edit;
        GetClientRect(window, &client);
        GetWindowRect(log.Edit(), &edit);
        EXPECT_EQ(edit.right - edit.left, client.right);
        EXPECT_EQ(edit.bottom - edit.top, client.bottom);

        // Closed by the user: later lines are dropped without harm.
        DestroyWindow(window);
        log.Print(L"lost\n");
    }
    EXPECT_FALSE(IsWindow(window));
}
