// Type-safe printf-style formatting with the Windows wide conventions:
// "%s" wide string, "%S" narrow string, "%I64d"/"%I64u"/"%I64x" 64-bit integers.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

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

// What a conversion can print, by argument type; the compile-time check and
// Arg above agree on it.
enum class Arg_Class { Wide, Narrow, Integer, Real, Character, Other };

template <typename T>
consteval Arg_Class Class_Of() {
    using U = std::remove_cvref_t<T>;
    using D = std::decay_t<U>;
    if constexpr (std::is_same_v<U, std::wstring> || std::is_same_v<U, std::wstring_view> ||
                  std::is_same_v<D, const wchar_t*> || std::is_same_v<D, wchar_t*>)
        return Arg_Class::Wide;
    else if constexpr (std::is_same_v<U, std::string> || std::is_same_v<U, std::string_view> ||
                       std::is_same_v<D, const char*> || std::is_same_v<D, char*>)
        return Arg_Class::Narrow;
    else if constexpr (std::is_same_v<U, wchar_t>)
        return Arg_Class::Character;
    else if constexpr (std::is_floating_point_v<U>)
        return Arg_Class::Real;
    else if constexpr (std::is_integral_v<U>)
        return Arg_Class::Integer;
    else
        return Arg_Class::Other;
}

// Walks a format the way Append does: true when every conversion is known
// and fits the class of its argument, and the counts agree.
constexpr bool Format_Fits(const wchar_t* p, const Arg_Class* classes, std::size_t count) {
    std::size_t used = 0;
    for (; *p; ++p) {
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') continue;
        while (*p == L'-' || *p == L'0' || *p == L'+') ++p;
        while (*p >= L'0' && *p <= L'9') ++p;
        if (*p == L'.') {
            ++p;
            while (*p >= L'0' && *p <= L'9') ++p;
        }
        bool narrow = false;
        if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') p += 3;
        else if (p[0] == L'l' && p[1] == L'l') p += 2;
        else if (*p == L'l') ++p;
        else if (*p == L'h') {
            narrow = true;
            ++p;
        }
        Arg_Class wanted;
        switch (*p) {
        case L'd': case L'i': case L'u': case L'x': case L'X': wanted = Arg_Class::Integer; break;
        case L'g': case L'f': case L'e': wanted = Arg_Class::Real; break;
        case L's': wanted = narrow ? Arg_Class::Narrow : Arg_Class::Wide; break;
        case L'S': wanted = Arg_Class::Narrow; break;
        case L'c': wanted = Arg_Class::Character; break;
        default: return false;
        }
        if (used == count || classes[used] != wanted) return false;
        ++used;
    }
    return used == count;
}

// Deliberately not constexpr: reaching it while checking a format literal
// stops the compilation there.
void Format_Does_Not_Fit_Its_Arguments();

// A format literal checked against the argument types at compile time.
template <typename... Args>
struct Checked_Format {
    template <std::size_t N>
    consteval Checked_Format(const wchar_t (&literal)[N]) : text(literal) {
        constexpr Arg_Class classes[] = {Class_Of<Args>()..., Arg_Class::Other};
        if (!Format_Fits(literal, classes, sizeof...(Args))) Format_Does_Not_Fit_Its_Arguments();
    }
    const wchar_t* text;
};

// The unchecked entry for formats that are not literals; mismatches throw.
template <typename... Args>
void Append_Runtime(std::wstring& out, const wchar_t* format, const Args&... args) {
    Append(out, format, {Arg(args)...});
}

}  // namespace ZEKT_Format_Detail

// A format literal whose conversions fit the argument types; anything else
// does not compile. The runtime checks stay for the values (a 64-bit value
// in a 32-bit conversion throws ZEKT_Exception_Bug).
template <typename... Args>
using ZEKT_Format = ZEKT_Format_Detail::Checked_Format<std::type_identity_t<Args>...>;

// Appends the formatted text to `text`.
template <typename... Args>
void Append_Format(std::wstring& text, ZEKT_Format<Args...> format, const Args&... args) {
    ZEKT_Format_Detail::Append_Runtime(text, format.text, args...);
}

template <typename... Args>
std::wstring Format(ZEKT_Format<Args...> format, const Args&... args) {
    std::wstring text;
    ZEKT_Format_Detail::Append_Runtime(text, format.text, args...);
    return text;
}
