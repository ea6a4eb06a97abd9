// Type-safe printf-style formatting with the Windows wide conventions:
// "%s" wide string, "%S" narrow string, "%I64d"/"%I64u"/"%I64x" 64-bit integers.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ZEKT_Format_Detail {

// One formatting argument, tagged with what it may be printed as.
struct Arg {
    enum class Kind { Wide, Narrow, Signed, Unsigned, Real, Character };
    Kind kind;
    std::wstring_view wide;
    std::string_view narrow;
    std::int64_t signed_value = 0;
    std::uint64_t unsigned_value = 0;
    double real = 0;

    Arg(const std::wstring& text) : kind(Kind::Wide), wide(text) {}
    Arg(std::wstring_view text) : kind(Kind::Wide), wide(text) {}
    Arg(const wchar_t* text) : kind(Kind::Wide), wide(text ? text : L"(null)") {}
    Arg(const std::string& text) : kind(Kind::Narrow), narrow(text) {}
    Arg(std::string_view text) : kind(Kind::Narrow), narrow(text) {}
    Arg(const char* text) : kind(Kind::Narrow), narrow(text ? text : "(null)") {}
    Arg(wchar_t c) : kind(Kind::Character), unsigned_value(static_cast<std::uint64_t>(c)) {}
    Arg(double value) : kind(Kind::Real), real(value) {}
    Arg(float value) : kind(Kind::Real), real(value) {}
    template <std::signed_integral T>
        requires(!std::same_as<T, char> && !std::same_as<T, wchar_t>)
    Arg(T value) : kind(Kind::Signed), signed_value(value) {}
    template <std::unsigned_integral T>
        requires(!std::same_as<T, bool> && !std::same_as<T, wchar_t>)
    Arg(T value) : kind(Kind::Unsigned), unsigned_value(value) {}
    // A bool or a pointer printed as a number is nearly always a mistake.
    Arg(bool) = delete;
    Arg(const void*) = delete;
    Arg(char) = delete;
};

void Append(std::wstring& out, const wchar_t* format, std::initializer_list<Arg> args);

}  // namespace ZEKT_Format_Detail

// Appends the formatted text to `text`; a conversion that does not fit its
// argument, or a missing or surplus argument, throws ZEKT_Exception_Bug.
template <typename... Args>
void Append_Format(std::wstring& text, const wchar_t* format, const Args&... args) {
    ZEKT_Format_Detail::Append(text, format, {ZEKT_Format_Detail::Arg(args)...});
}

template <typename... Args>
std::wstring Format(const wchar_t* format, const Args&... args) {
    std::wstring text;
    ZEKT_Format_Detail::Append(text, format, {ZEKT_Format_Detail::Arg(args)...});
    return text;
}
