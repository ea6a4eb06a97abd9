#include "win32/handlers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/win32/toolkit_test.h"

namespace {

constexpr UINT Test_Message = WM_APP + 1;
constexpr UINT Other_Message = WM_APP + 2;

// Records each call by name; what a handler does is set per test.
struct Recorder {
    ZEKT_Win32_Handlers handlers;
    std::vector<std::wstring> calls;
    std::vector<HWND> seen;
    std::function<ZEKT_Box<LRESULT>(const wchar_t*)> on_call = [](const wchar_t*) { return ZEKT_Win32_Not_Handled(); };

    ZEKT_Box<LRESULT> Call(const wchar_t* name, HWND window) {
        calls.push_back(name);
        seen.push_back(window);
        return on_call(name);
    }
    ZEKT_Box<LRESULT> A(HWND w, UINT, WPARAM, LPARAM) { return Call(L"A", w); }
    ZEKT_Box<LRESULT> B(HWND w, UINT, WPARAM, LPARAM) { return Call(L"B", w); }
    ZEKT_Box<LRESULT> C(HWND w, UINT, WPARAM, LPARAM) { return Call(L"C", w); }
    ZEKT_Box<LRESULT> D(HWND w, UINT, WPARAM, LPARAM) { return Call(L"D", w); }
};

using Names = std::vector<std::wstring>;

}  // namespace

using Handler_Test = Toolkit_Test;

TEST_F(Handler_Test, EarlierHandlerRunsFirstAndALaterOneOnlyWhenNotHandled) {
    HWND window = Make_Window();
    Recorder recorder;
    recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::A);
    recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::B);
    recorder.handlers.Add_Handler(window, Other_Message, &recorder, &Recorder::C);

    recorder.on_call = [](const wchar_t* name) {
        return name == std::wstring(L"B") ? ZEKT_Win32_Handled(42) : ZEKT_Win32_Not_Handled();
    };
    EXPECT_EQ(SendMessageW(window, Test_Message, 0, 0), 42);
    EXPECT_EQ(recorder.calls, (Names{L"A", L"B"}));

    recorder.calls.clear();
    recorder.on_call = [](const wchar_t*) { return ZEKT_Win32_Handled(7); };
    EXPECT_EQ(SendMessageW(window, Test_Message, 0, 0), 7);
    EXPECT_EQ(recorder.calls, (Names{L"A"}));

    // Nobody handles it: the default procedure answers.
    recorder.calls.clear();
    recorder.on_call = [](const wchar_t*) { return ZEKT_Win32_Not_Handled(); };
    EXPECT_EQ(SendMessageW(window, Test_Message, 0, 0), 0);
    EXPECT_EQ(recorder.calls, (Names{L"A", L"B"}));

    // Handlers of another window never run.
    HWND other = Make_Window(320);
    recorder.calls.clear();
    SendMessageW(other, Test_Message, 0, 0);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(Handler_Test, RemovingHandlersDuringDispatchSkipsNothingAndRepeatsNothing) {
    HWND window = Make_Window();
    HWND other = Make_Window(320);
    Recorder recorder;
    ZEKT_Win32_Handler* a = recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::A);
    ZEKT_Win32_Handler* b = recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::B);
    recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::C);
    // A nested dispatch at depth 1 must not compact the list under the outer walk.
    recorder.handlers.Add_Handler(other, Other_Message, &recorder, &Recorder::D);

    recorder.on_call = [&](const wchar_t* name) {
        if (name == std::wstring(L"A")) {
            recorder.handlers.Remove(a);
            SendMessageW(other, Other_Message, 0, 0);
        }
        return ZEKT_Win32_Not_Handled();
    };
    SendMessageW(window, Test_Message, 0, 0);
    EXPECT_EQ(recorder.calls, (Names{L"A", L"D", L"B", L"C"}));

    // B removes the handler after it, which then never runs.
    recorder.calls.clear();
    ZEKT_Win32_Handler* c = nullptr;
    recorder.on_call = [&](const wchar_t* name) {
        if (name == std::wstring(L"B") && c) recorder.handlers.Remove(c);
        return ZEKT_Win32_Not_Handled();
    };
    c = recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::C);
    SendMessageW(window, Test_Message, 0, 0);
    // The first C was added before; the second is removed by B.
    EXPECT_EQ(recorder.calls, (Names{L"B", L"C"}));

    // A handler added during the walk is visited in the same walk.
    recorder.calls.clear();
    bool added = false;
    recorder.on_call = [&](const wchar_t* name) {
        if (name == std::wstring(L"B") && !added) {
            added = true;
            recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::D);
        }
        return ZEKT_Win32_Not_Handled();
    };
    SendMessageW(window, Test_Message, 0, 0);
    EXPECT_EQ(recorder.calls, (Names{L"B", L"C", L"D"}));

    // After compaction at depth 0 the order still holds.
    recorder.handlers.Remove(b);
    recorder.calls.clear();
    SendMessageW(window, Test_Message, 0, 0);
    EXPECT_EQ(recorder.calls, (Names{L"C", L"D"}));
}

TEST_F(Handler_Test, NullWindowHandlerBindsToTheFirstWindowCreatedOnly) {
    Recorder recorder;
    recorder.handlers.Add_Handler(nullptr, WM_NCCREATE, &recorder, &Recorder::A);
    recorder.handlers.Add_Handler(nullptr, WM_CREATE, &recorder, &Recorder::B);
    recorder.handlers.Add_Handler(nullptr, Test_Message, &recorder, &Recorder::C);

    HWND first = Make_Window();
    HWND second = Make_Window(320);
    SendMessageW(first, Test_Message, 0, 0);
    SendMessageW(second, Test_Message, 0, 0);

    EXPECT_EQ(recorder.calls, (Names{L"A", L"B", L"C"}));
    EXPECT_EQ(recorder.seen, (std::vector<HWND>{first, first, first}));
}

namespace {

struct Left {
    virtual ~Left() = default;
    int left = 1;
};
struct Right {
    virtual ~Right() = default;
    int right = 2;
};
struct Both : Left, Right {
    HWND seen = nullptr;
    ZEKT_Box<LRESULT> Take(HWND window, UINT, WPARAM, LPARAM) {
        seen = window;
        return ZEKT_Win32_Handled(right * 10 + left);
    }
};

}  // namespace

TEST_F(Handler_Test, AdjustedFormReachesTheWholeObjectFromASecondaryBase) {
    HWND window = Make_Window();
    Both both;
    Right* part = &both;
    ASSERT_NE(static_cast<void*>(part), static_cast<void*>(&both));
    const std::ptrdiff_t adjustment = reinterpret_cast<char*>(&both) - reinterpret_cast<char*>(part);

    ZEKT_Win32_Handlers handlers;
    handlers.Add(new ZEKT_Win32_Handler_Method<Both>(window, Test_Message, part, adjustment, &Both::Take));
    EXPECT_EQ(SendMessageW(window, Test_Message, 0, 0), 21);
    EXPECT_EQ(both.seen, window);
}

TEST_F(Handler_Test, ListRemovesItsHandlersWhenDestroyed) {
    HWND window = Make_Window();
    const std::size_t before = Active_Handler_Count();
    {
        Recorder recorder;
        recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::A);
        recorder.handlers.Add_Handler(window, Other_Message, &recorder, &Recorder::B);
        EXPECT_EQ(Active_Handler_Count(), before + 2);
    }
    EXPECT_EQ(Active_Handler_Count(), before);
    EXPECT_EQ(SendMessageW(window, Test_Message, 0, 0), 0);
}

TEST_F(Handler_Test, FailureInAHandlerIsShownAndTheDispatchRecovers) {
    HWND window = Make_Window();
    Recorder recorder;
    recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::A);
    recorder.handlers.Add_Handler(window, Test_Message, &recorder, &Recorder::B);
    recorder.on_call = [](const wchar_t* name) -> ZEKT_Box<LRESULT> {
        if (name == std::wstring(L"A")) throw ZEKT_Exception_Media(L"Can't read");
        return ZEKT_Win32_Handled(5);
    };
    EXPECT_EQ(SendMessageW(window, Test_Message, 0, 0), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Media Error: Can't read\n");
    EXPECT_EQ(boxes[0].caption, L"Message");
    EXPECT_EQ(ZEKT_Win32_Depth(), 0u);
}

TEST_F(Handler_Test, HookedControlOfAnotherClassReachesItsHandlers) {
    HWND parent = Make_Window();
    HWND control = Make_Static(parent);
    Hook_Window(control);
    Recorder recorder;
    recorder.handlers.Add_Handler(control, WM_SETTEXT, &recorder, &Recorder::A);
    SetWindowTextW(control, L"shown");
    EXPECT_EQ(recorder.calls, (Names{L"A"}));

    // Not handled: the control's own procedure still stored the text.
    wchar_t text[16] = {};
    GetWindowTextW(control, text, 16);
    EXPECT_STREQ(text, L"shown");
}
