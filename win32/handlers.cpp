#include "win32/handlers.h"

#include <algorithm>

namespace {

// The toolkit's dispatch state; one per process, used only on the
// user-interface thread.
struct Registry {
    std::vector<ZEKT_Win32_Handler*> handlers;  // a removed handler leaves a null slot
    std::uint64_t depth = 0;
    bool removed = false;
};

Registry& State() {
    static Registry registry;
    return registry;
}

// Keeps the depth right when a handler throws.
struct Depth_Guard {
    explicit Depth_Guard(std::uint64_t& depth) : depth(depth) { ++depth; }
    ~Depth_Guard() { --depth; }
    std::uint64_t& depth;
};

}  // namespace

ZEKT_Win32_Handler* ZEKT_Win32_Handlers::Add(ZEKT_Win32_Handler* handler) {
    own.push_back(handler);
    State().handlers.push_back(handler);
    return handler;
}

void ZEKT_Win32_Handlers::Remove(ZEKT_Win32_Handler* handler) {
    auto mine = std::find(own.begin(), own.end(), handler);
    if (mine == own.end()) return;
    own.erase(mine);
    Registry& state = State();
    // Only the slot is emptied: a walk in progress keeps its indices.
    auto slot = std::find(state.handlers.begin(), state.handlers.end(), handler);
    if (slot != state.handlers.end()) {
        *slot = nullptr;
        state.removed = true;
    }
    delete handler;
}

void ZEKT_Win32_Handlers::Remove_All() {
    while (!own.empty()) Remove(own.back());
}

ZEKT_Box<LRESULT> ZEKT_Win32_Dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Registry& state = State();
    if (message == WM_NCCREATE) {
        for (ZEKT_Win32_Handler* handler : state.handlers)
            if (handler && !handler->window) handler->window = window;
    }
    if (state.depth == 0 && state.removed) {
        std::erase(state.handlers, nullptr);
        state.removed = false;
    }
    // The length is read again after every call: handlers added meanwhile
    // are visited, removed ones are skipped as null slots.
    for (std::size_t i = 0; i < state.handlers.size(); ++i) {
        ZEKT_Win32_Handler* handler = state.handlers[i];
        if (!handler || handler->window != window || handler->message != message) continue;
        ZEKT_Box<LRESULT> result;
        {
            Depth_Guard guard(state.depth);
            result = handler->Handle(window, message, wparam, lparam);
        }
        if (result.Is_Full()) return result;
    }
    return {};
}

std::size_t Active_Handler_Count() {
    const auto& handlers = State().handlers;
    return static_cast<std::size_t>(std::count_if(handlers.begin(), handlers.end(),
                                                  [](ZEKT_Win32_Handler* handler) { return handler != nullptr; }));
}

std::uint64_t ZEKT_Win32_Depth() { return State().depth; }

void ZEKT_Win32_Reset_Dispatch() {
    State().depth = 0;
    State().removed = false;
}
