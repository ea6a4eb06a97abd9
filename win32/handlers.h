// The registry of message handlers that the one shared window procedure
// walks. Handlers sit in a single global ordered list; every object that
// registers handlers also keeps them in a list of its own, which removes them
// again when the object goes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/fab.h"

class ZEKT_Win32_Handler {
public:
    ZEKT_Win32_Handler(HWND window, UINT message) : window(window), message(message) {}
    virtual ~ZEKT_Win32_Handler() = default;

    // A full box: handled, with the value for the window procedure to return.
    virtual ZEKT_Box<LRESULT> Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;

    HWND window;  // null until bound to the next window created
    UINT message;
};

// Calls a member function of an object it does not own.
template <typename T>
class ZEKT_Win32_Handler_Method : public ZEKT_Win32_Handler {
public:
    using Method = ZEKT_Box<LRESULT> (T::*)(HWND, UINT, WPARAM, LPARAM);

    ZEKT_Win32_Handler_Method(HWND window, UINT message, T* object, Method method)
        : ZEKT_Win32_Handler(window, message), object(object), method(method) {}

    // The second form: `object` points at a part of the real target, which
    // starts `adjustment` bytes further on.
    ZEKT_Win32_Handler_Method(HWND window, UINT message, void* object, std::ptrdiff_t adjustment, Method method)
        : ZEKT_Win32_Handler(window, message),
          object(reinterpret_cast<T*>(static_cast<char*>(object) + adjustment)),
          method(method) {}

    // Nothing of the handler is touched after the call: the member function
    // may remove this very handler.
    ZEKT_Box<LRESULT> Handle(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
        T* target = object;
        Method call = method;
        return (target->*call)(window, message, wparam, lparam);
    }

private:
    T* object;
    Method method;
};

// The handlers of one object. Destroying the list removes every one of them
// from the global list.
class ZEKT_Win32_Handlers {
public:
    ZEKT_Win32_Handlers() = default;
    ZEKT_Win32_Handlers(const ZEKT_Win32_Handlers&) = delete;
    ZEKT_Win32_Handlers& operator=(const ZEKT_Win32_Handlers&) = delete;
    ~ZEKT_Win32_Handlers() { Remove_All(); }

    // Appends to the global list and to this one. A null window binds the
    // handler to the next window created (at its WM_NCCREATE).
    template <typename T>
    ZEKT_Win32_Handler* Add_Handler(HWND window, UINT message, T* object,
                                    typename ZEKT_Win32_Handler_Method<T>::Method method) {
        return Add(new ZEKT_Win32_Handler_Method<T>(window, message, object, method));
    }

    // Takes ownership of a handler of any kind.
    ZEKT_Win32_Handler* Add(ZEKT_Win32_Handler* handler);

    // Empties the handler's slot in the global list and deletes it; safe
    // during a dispatch, even from inside the handler itself.
    void Remove(ZEKT_Win32_Handler* handler);
    void Remove_All();

    bool Is_Empty() const { return own.empty(); }

private:
    std::vector<ZEKT_Win32_Handler*> own;
};

// The reply of a handler that lets the message go on to the next one.
inline ZEKT_Box<LRESULT> ZEKT_Win32_Not_Handled() { return {}; }
inline ZEKT_Box<LRESULT> ZEKT_Win32_Handled(LRESULT result) {
    ZEKT_Box<LRESULT> box;
    box.Set(result);
    return box;
}

// Walks the global list for one message of one window (binding, compaction,
// dispatch); an empty box when no handler took it.
ZEKT_Box<LRESULT> ZEKT_Win32_Dispatch(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Number of slots of the global list still in use.
std::size_t Active_Handler_Count();

// Nesting depth of handler calls; 0 outside any dispatch.
std::uint64_t ZEKT_Win32_Depth();

// Resets the dispatch state at class registration.
void ZEKT_Win32_Reset_Dispatch();
