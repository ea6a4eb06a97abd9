#pragma once
// Actions run on a worker thread; the window thread only draws. The worker
// reaches the window through this bridge: the bank list, the questions and
// the messages of the dump workflow, each one a closure queued for the
// window thread, in the order the worker made them.
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "dump/user.h"
#include "win32/handlers.h"

namespace Korvane_Exe {

class Bank_Select;

// The queue from any thread to the window thread.
class Window_Queue {
public:
    explicit Window_Queue(HWND window);
    ~Window_Queue();
    Window_Queue(const Window_Queue&) = delete;
    Window_Queue& operator=(const Window_Queue&) = delete;

    // Runs `work` on the window thread later; never waits.
    void Post(std::function<void()> work);
    // Runs `work` on the window thread after everything posted before it
    // and waits for it; its exception comes back here. A window already
    // gone throws the stop request: nobody is left to answer.
    void Invoke(const std::function<void()>& work);

private:
    ZEKT_Box<LRESULT> On_Drain(HWND, UINT, WPARAM, LPARAM);
    void Drain();

    HWND window;
    std::mutex guard;
    std::deque<std::function<void()>> waiting;
    ZEKT_Win32_Handlers handlers;
};

// The dump workflow's user, as the worker sees it. Progress checks and new
// row statuses throw "Canceled." once a stop was asked for.
class Worker_User final : public Bank_List, public Question, public Messages {
public:
    Worker_User(Window_Queue& queue, Bank_Select& banks, Question& question, Messages& messages,
                const std::atomic<bool>& stop);

    std::vector<std::uint32_t> Selected_Banks() override;
    void Set_Status(std::uint32_t bank, const std::wstring& text) override;
    void Set_Error(std::uint32_t bank, const std::wstring& text) override;
    std::unique_ptr<ZEKT_Progress> Start_Progress(std::uint32_t bank) override;
    bool Ask_Yes_No(const std::wstring& text) override;
    std::unique_ptr<ZEKT_Log> Message_Box() override;
    std::unique_ptr<ZEKT_Log> Report_Window(const std::wstring& title) override;

    // A remark after the row's text (a hint), its mark kept.
    void Add_Remark(std::uint32_t bank, const std::wstring& remark);
    // Throws the stop request when one was asked for.
    void Check_Stop() const;

    Window_Queue& queue;

private:
    Bank_Select& banks;
    Question& question;
    Messages& messages;
    const std::atomic<bool>& stop;
};

// One action at a time on its own thread. `done` runs on the window thread
// after the action ended, however it ended.
class Worker {
public:
    ~Worker();
    bool Busy() const { return thread.joinable(); }
    void Start(Window_Queue& queue, std::function<void()> action, std::function<void()> done);
    // Asks the running action to stop at its next check.
    void Stop() { stop = true; }
    bool Stopping() const { return stop; }
    const std::atomic<bool>& Stop_Flag() const { return stop; }

private:
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
};

}  // namespace Korvane_Exe
