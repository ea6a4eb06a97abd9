#include "app/worker.h"

#include "app/bank_select.h"

namespace Korvane_Exe {

namespace {

// Private to the queue's window: "run what is waiting".
constexpr UINT Drain_Message = WM_APP + 25;

const wchar_t* const Canceled = L"Canceled.";

// The worker's side of a pass: the bar lives on the window thread, made,
// moved and removed through the queue; the stop request is looked at here.
class Posted_Progress final : public ZEKT_Progress {
public:
    Posted_Progress(Window_Queue& queue, Bank_Select& banks, std::uint32_t bank, const Worker_User& user)
        : queue(queue), user(user), bar(std::make_shared<std::unique_ptr<Progress>>()) {
        queue.Post([bar = bar, &banks, bank] { *bar = std::make_unique<Progress>(banks, bank); });
    }
    ~Posted_Progress() override {
        queue.Post([bar = bar] { bar->reset(); });
    }
    void Check() override { user.Check_Stop(); }
    void Set_Status(const std::wstring& text) override {
        queue.Post([bar = bar, text] {
            if (*bar) (*bar)->Set_Status(text);
        });
    }
    void Set_Position(std::uint32_t per_mille) override {
        queue.Post([bar = bar, per_mille] {
            if (*bar) (*bar)->Set_Position(per_mille);
        });
    }

private:
    Window_Queue& queue;
    const Worker_User& user;
    std::shared_ptr<std::unique_ptr<Progress>> bar;
};

// A log of the window thread, printed into from the worker. Each print
// waits: a message box is answered before the action goes on.
class Invoking_Log final : public ZEKT_Log {
public:
    Invoking_Log(Window_Queue& queue, const std::function<std::unique_ptr<ZEKT_Log>()>& make)
        : queue(queue), inner(std::make_shared<std::unique_ptr<ZEKT_Log>>()) {
        queue.Invoke([&] { *inner = make(); });
    }
    ~Invoking_Log() override {
        queue.Post([inner = inner] { inner->reset(); });
    }

protected:
    void Print_Text(const std::wstring& text) override {
        queue.Invoke([&] {
            if (*inner) (*inner)->Print(L"%s", text);
        });
    }

private:
    Window_Queue& queue;
    std::shared_ptr<std::unique_ptr<ZEKT_Log>> inner;
};

}  // namespace

Window_Queue::Window_Queue(HWND window) : window(window) {
    handlers.Add_Handler(window, Drain_Message, this, &Window_Queue::On_Drain);
}

Window_Queue::~Window_Queue() { handlers.Remove_All(); }

void Window_Queue::Post(std::function<void()> work) {
    {
        std::lock_guard<std::mutex> lock(guard);
        waiting.push_back(std::move(work));
    }
    PostMessageW(window, Drain_Message, 0, 0);
}

void Window_Queue::Invoke(const std::function<void()>& work) {
    std::exception_ptr failure;
    bool ran = false;
    {
        std::lock_guard<std::mutex> lock(guard);
        waiting.push_back([&] {
            ran = true;
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        });
    }
    // Sent, not posted: the window thread answers it inside any modal loop
    // (a held title bar, an open menu) and the worker waits only for it.
    SendMessageW(window, Drain_Message, 0, 0);
    if (!ran) {
        // The window is gone: take the closure back before it dangles.
        std::lock_guard<std::mutex> lock(guard);
        waiting.clear();
        throw ZEKT_Exception_Cancel{Canceled};
    }
    if (failure) std::rethrow_exception(failure);
}

ZEKT_Box<LRESULT> Window_Queue::On_Drain(HWND, UINT, WPARAM, LPARAM) {
    Drain();
    return ZEKT_Win32_Handled(0);
}

// One at a time, in order; a closure that runs a modal loop may drain the
// rest from inside it, which keeps the order.
void Window_Queue::Drain() {
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard<std::mutex> lock(guard);
            if (waiting.empty()) return;
            work = std::move(waiting.front());
            waiting.pop_front();
        }
        // A bar that cannot be drawn must not end the window thread.
        try {
            work();
        } catch (...) {
        }
    }
}

Worker_User::Worker_User(Window_Queue& queue, Bank_Select& banks, Question& question, Messages& messages,
                         const std::atomic<bool>& stop)
    : queue(queue), banks(banks), question(question), messages(messages), stop(stop) {}

void Worker_User::Check_Stop() const {
    if (stop) throw ZEKT_Exception_Cancel{Canceled};
}

std::vector<std::uint32_t> Worker_User::Selected_Banks() {
    std::vector<std::uint32_t> selected;
    queue.Invoke([&] { selected = banks.Selected_Banks(); });
    return selected;
}

// A new status starts a new step: an ID read between two dumps stops there.
void Worker_User::Set_Status(std::uint32_t bank, const std::wstring& text) {
    if (!text.empty()) Check_Stop();
    queue.Post([this, bank, text] { banks.Set_Status(bank, text); });
}

void Worker_User::Set_Error(std::uint32_t bank, const std::wstring& text) {
    queue.Post([this, bank, text] { banks.Set_Error(bank, text); });
}

std::unique_ptr<ZEKT_Progress> Worker_User::Start_Progress(std::uint32_t bank) {
    return std::make_unique<Posted_Progress>(queue, banks, bank, *this);
}

bool Worker_User::Ask_Yes_No(const std::wstring& text) {
    bool yes = false;
    queue.Invoke([&] { yes = question.Ask_Yes_No(text); });
    return yes;
}

std::unique_ptr<ZEKT_Log> Worker_User::Message_Box() {
    return std::make_unique<Invoking_Log>(queue, [this] { return messages.Message_Box(); });
}

std::unique_ptr<ZEKT_Log> Worker_User::Report_Window(const std::wstring& title) {
    return std::make_unique<Invoking_Log>(queue, [this, &title] { return messages.Report_Window(title); });
}

void Worker_User::Add_Remark(std::uint32_t bank, const std::wstring& remark) {
    queue.Post([this, bank, remark] { banks.Add_Remark(bank, remark); });
}

Worker::~Worker() {
    if (!thread.joinable()) return;
    stop = true;
    // The worker may be waiting for an answer of this thread: answer sent
    // messages until it is through.
    while (!finished) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    thread.join();
}

void Worker::Start(Window_Queue& queue, std::function<void()> action, std::function<void()> done) {
    stop = false;
    finished = false;
    thread = std::thread([this, &queue, action = std::move(action), done = std::move(done)]() mutable {
        // A stop ends the action quietly: its rows already say "Canceled.".
        try {
            action();
        } catch (...) {
        }
        queue.Post([this, done = std::move(done)] {
            if (thread.joinable()) thread.join();
            stop = false;
            done();
        });
        finished = true;
    });
}

}  // namespace Korvane_Exe
