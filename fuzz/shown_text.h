// What a target's input can make the program show or store must be safe on
// one line: no control character, line or paragraph separator, bidi mark or
// override, and nothing XML forbids. The list is kept here on its own, not
// taken from the escaping it checks.
#pragma once

#include <cstdlib>
#include <string>

#include "framework/errors.h"

inline bool Unsafe_Character(wchar_t c, bool line_breaks) {
    const auto u = static_cast<std::uint32_t>(c);
    if (line_breaks && (u == L'\r' || u == L'\n')) return false;
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x061C || u == 0x200E || u == 0x200F ||
           (u >= 0x2028 && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0xFFFE || u == 0xFFFF;
}

// Aborts when `text` holds a character that must be escaped; with
// `line_breaks`, "\r\n" and "\n" are the text's own (a settings text).
inline void Check_Shown(const std::wstring& text, bool line_breaks = false) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lone_cr = text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n');
        if (Unsafe_Character(text[i], line_breaks) || (line_breaks && lone_cr)) std::abort();
    }
}

// Inside a catch block: the failure's one report line, as a user sees it.
inline void Check_Reported() {
    ZEKT_wstring_Log log;
    log.Report_Exception();
    if (log.text.empty() || log.text.back() != L'\n') std::abort();
    Check_Shown(log.text.substr(0, log.text.size() - 1));
}
