#include "win32/delete.h"

#include <gtest/gtest.h>

#include "tests/win32/toolkit_test.h"

namespace {

struct Owned {
    explicit Owned(int& deleted) : deleted(deleted) {}
    ~Owned() { ++deleted; }
    int& deleted;
};

}  // namespace

using Delete_Test = Toolkit_Test;

TEST_F(Delete_Test, ObjectGoesWithItsWindow) {
    HWND window = Make_Window();
    int deleted = 0;
    Attach_Delete(window, new Owned(deleted));
    EXPECT_TRUE(boxes.empty());
    SendMessageW(window, WM_APP, 0, 0);
    EXPECT_EQ(deleted, 0);
    DestroyWindow(window);
    EXPECT_EQ(deleted, 1);
}

TEST_F(Delete_Test, WindowOfAnotherClassIsReportedAndItsObjectStillDeleted) {
    HWND control = Make_Static();
    int deleted = 0;
    Attach_Delete(control, new Owned(deleted));

    ASSERT_EQ(boxes.size(), 1u);
    wchar_t name[256] = {};
    GetClassNameW(control, name, 256);
    EXPECT_EQ(boxes[0].text, std::wstring(L"Can't delete object after <") + name + L"> destruction");
    EXPECT_EQ(boxes[0].caption, L"Message");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(boxes[0].owner, GetFocus());

    DestroyWindow(control);
    EXPECT_EQ(deleted, 1);
}
