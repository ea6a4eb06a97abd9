// The message of the framework exception an action throws, for exact checks.
#pragma once

#include <string>

#include "framework/errors.h"

template <typename Thrower>
std::wstring Message_Of(Thrower thrower) {
    try {
        thrower();
    } catch (const ZEKT_Exception& e) {
        return e.message;
    }
    return L"(no failure)";
}
