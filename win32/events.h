// Copyable callbacks through which buttons, menus, tool bars and dialogs
// report the user's actions: a member function without arguments.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

class ZEKT_Event_Base {
public:
    virtual ~ZEKT_Event_Base() = default;
    virtual void Fire() = 0;
    // A new copy, owned by the caller.
    virtual ZEKT_Event_Base* Clone() const = 0;
};

template <typename T>
class ZEKT_Event_Object : public ZEKT_Event_Base {
public:
    using Method = void (T::*)();

    ZEKT_Event_Object(T* object, Method method) : object(object), method(method) {}
    // `object` points at a part of the real target, which starts
    // `adjustment` bytes further on.
    ZEKT_Event_Object(void* object, std::ptrdiff_t adjustment, Method method)
        : object(reinterpret_cast<T*>(static_cast<char*>(object) + adjustment)), method(method) {}

    void Fire() override { (object->*method)(); }
    ZEKT_Event_Base* Clone() const override { return new ZEKT_Event_Object(*this); }

private:
    T* object;
    Method method;
};

// Any callable without arguments, for targets that are not one object's member.
class ZEKT_Event_Function : public ZEKT_Event_Base {
public:
    explicit ZEKT_Event_Function(std::function<void()> call) : call(std::move(call)) {}
    void Fire() override { call(); }
    ZEKT_Event_Base* Clone() const override { return new ZEKT_Event_Function(*this); }

private:
    std::function<void()> call;
};

// A control's own copy of an event, copyable by cloning; firing an empty
// one does nothing.
class ZEKT_Event {
public:
    ZEKT_Event() = default;
    ZEKT_Event(const ZEKT_Event_Base& event) : event(event.Clone()) {}
    ZEKT_Event(const ZEKT_Event& other) : event(other.event ? other.event->Clone() : nullptr) {}
    ZEKT_Event& operator=(const ZEKT_Event& other) {
        if (this != &other) event.reset(other.event ? other.event->Clone() : nullptr);
        return *this;
    }
    ZEKT_Event(ZEKT_Event&&) = default;
    ZEKT_Event& operator=(ZEKT_Event&&) = default;

    void Fire() const {
        if (event) event->Fire();
    }
    bool Is_Set() const { return event != nullptr; }

private:
    std::unique_ptr<ZEKT_Event_Base> event;
};
