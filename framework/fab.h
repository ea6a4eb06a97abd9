// Creators of objects chosen by name, a registry of them, and two guarded
// containers whose misuse is reported instead of crashing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "errors.h"

template <typename Base>
class ZEKT_Fab_Base {
public:
    virtual ~ZEKT_Fab_Base() = default;
    virtual Base* Create() const = 0;
    virtual ZEKT_Fab_Base* Clone() const = 0;
};

template <typename Base, typename Product>
class ZEKT_Fab_Template : public ZEKT_Fab_Base<Base> {
public:
    Base* Create() const override { return new Product(); }
    ZEKT_Fab_Base<Base>* Clone() const override { return new ZEKT_Fab_Template(); }
};

// A slot for at most one creator; copies clone it.
template <typename Base>
class ZEKT_Fab {
public:
    ZEKT_Fab() = default;
    ZEKT_Fab(const ZEKT_Fab& other) : fab(other.fab ? other.fab->Clone() : nullptr) {}
    ZEKT_Fab& operator=(const ZEKT_Fab& other) {
        if (this != &other) fab.reset(other.fab ? other.fab->Clone() : nullptr);
        return *this;
    }

    template <typename Product>
    void Set() {
        if (fab) throw ZEKT_Exception_Bug(L"Attemp to set full ZEKT_Fab");
        fab = std::make_unique<ZEKT_Fab_Template<Base, Product>>();
    }

    Base* Create() const {
        if (!fab) throw ZEKT_Exception_Bug(L"Attemp to use empty ZEKT_Fab");
        return fab->Create();
    }

private:
    std::unique_ptr<ZEKT_Fab_Base<Base>> fab;
};

// Owning pointer that reports use while empty and refilling while full.
template <typename T>
class ZEKT_Holder {
public:
    ZEKT_Holder() = default;
    explicit ZEKT_Holder(T* object) : held(object) {}

    void Check_Full() const {
        if (!held) throw ZEKT_Exception(L"Attempt to use empty holder");
    }
    void Check_Empty() const {
        if (held) throw ZEKT_Exception(L"Attempt to fill full holder");
    }
    // Takes ownership; a full holder throws and the new object is deleted.
    void Fill(T* object) {
        std::unique_ptr<T> incoming(object);
        Check_Empty();
        held = std::move(incoming);
    }
    void Clear() { held.reset(); }
    bool Is_Full() const { return held != nullptr; }
    T& Get() const {
        Check_Full();
        return *held;
    }
    T* operator->() const { return &Get(); }
    T* Release() { return held.release(); }

private:
    std::unique_ptr<T> held;
};

template <typename T>
class ZEKT_Box {
public:
    void Set(T new_value) {
        value = std::move(new_value);
        full = true;
    }
    const T& Get() const {
        if (!full) throw ZEKT_Exception(L"Attempt to use empty ZEKT_Box<T>");
        return value;
    }
    bool Is_Full() const { return full; }
    void Clear() { full = false; }

private:
    T value{};
    bool full = false;
};

template <typename Base>
struct ZEKT_Fab_Entry {
    std::wstring name;
    ZEKT_Fab<Base> fab;
};

// An ordered list of named creators.
template <typename Base>
class ZEKT_Fab_Registry {
public:
    template <typename Product>
    void Add(const std::wstring& name) {
        ZEKT_Fab_Entry<Base> entry{name, {}};
        entry.fab.template Set<Product>();
        entries.push_back(entry);
    }

    // The first entry of that exact name, or null.
    const ZEKT_Fab_Entry<Base>* Find(const std::wstring& name) const {
        for (const auto& entry : entries)
            if (entry.name == name) return &entry;
        return nullptr;
    }

    // Creates the named product into an empty holder; false when unknown.
    template <typename T>
    bool Create(const std::wstring& name, ZEKT_Holder<T>& holder) const {
        const ZEKT_Fab_Entry<Base>* entry = Find(name);
        if (!entry) return false;
        holder.Check_Empty();
        holder.Fill(entry->fab.Create());
        return true;
    }

    std::vector<ZEKT_Fab_Entry<Base>> entries;
};
