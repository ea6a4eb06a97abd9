#include "format.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "errors.h"
#include "os.h"

namespace ZEKT_Format_Detail {
namespace {

struct Directive {
    bool left = false;
    bool zero = false;
    bool plus = false;
    std::size_t width = 0;
    int precision = -1;
    bool wide64 = false;
    bool narrow_string = false;  // "%hs"
    wchar_t conversion = 0;
};

[[noreturn]] void Fail(const wchar_t* format, const wchar_t* what) {
    throw ZEKT_Exception_Bug(std::wstring(L"Format <") + format + L"> " + what);
}

void Pad(std::wstring& out, const Directive& directive, std::wstring_view body, std::wstring_view sign = {}) {
    const std::size_t length = sign.size() + body.size();
    const std::size_t fill = directive.width > length ? directive.width - length : 0;
    if (directive.left) {
        out += sign;
        out += body;
        out.append(fill, L' ');
    } else if (directive.zero) {
        out += sign;
        out.append(fill, L'0');
        out += body;
    } else {
        out.append(fill, L' ');
        out += sign;
        out += body;
    }
}

std::wstring Digits(std::uint64_t value, unsigned base, bool upper) {
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    wchar_t buffer[24];
    wchar_t* end = buffer + 24;
    wchar_t* p = end;
    do {
        *--p = digits[value % base];
        value /= base;
    } while (value != 0);
    return std::wstring(p, end);
}

void Put_Integer(std::wstring& out, const Directive& directive, const Arg& arg, const wchar_t* format) {
    if (arg.kind != Arg::Kind::Signed && arg.kind != Arg::Kind::Unsigned)
        Fail(format, L"expects an integer argument");
    // The value as a 64-bit pattern plus whether it was negative.
    const bool negative_arg = arg.kind == Arg::Kind::Signed && arg.signed_value < 0;
    std::uint64_t bits = arg.kind == Arg::Kind::Signed ? static_cast<std::uint64_t>(arg.signed_value)
                                                       : arg.unsigned_value;
    if (!directive.wide64) {
        // A 32-bit conversion takes what an int or unsigned int could hold.
        const bool fits = negative_arg ? arg.signed_value >= std::numeric_limits<std::int32_t>::min()
                                       : bits <= std::numeric_limits<std::uint32_t>::max();
        if (!fits) Fail(format, L"has a 32-bit conversion for a wider value");
        bits &= 0xFFFFFFFFu;
    }
    bool negative = false;
    std::uint64_t magnitude = bits;
    const wchar_t c = directive.conversion;
    if (c == L'd' || c == L'i') {
        const std::int64_t value = directive.wide64 ? static_cast<std::int64_t>(bits)
                                               : static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
        negative = value < 0;
        magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    }
    const unsigned base = (c == L'x' || c == L'X') ? 16 : 10;
    std::wstring body = Digits(magnitude, base, c == L'X');
    if (directive.precision >= 0 && body.size() < static_cast<std::size_t>(directive.precision))
        body.insert(0, directive.precision - body.size(), L'0');
    Pad(out, directive, body, negative ? L"-" : (directive.plus && (c == L'd' || c == L'i') ? L"+" : L""));
}

void Put_Real(std::wstring& out, const Directive& directive, const Arg& arg, const wchar_t* format) {
    if (arg.kind != Arg::Kind::Real) Fail(format, L"expects a floating-point argument");
    // to_chars is locale-independent and follows printf's rules for each style.
    std::chars_format style = std::chars_format::general;
    if (directive.conversion == L'f') style = std::chars_format::fixed;
    if (directive.conversion == L'e') style = std::chars_format::scientific;
    const int precision = directive.precision >= 0 ? directive.precision : 6;
    char buffer[512];
    const double value = arg.real;
    const bool negative = std::signbit(value);
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, negative ? -value : value, style,
                                      directive.conversion == L'g' && precision == 0 ? 1 : precision);
    if (result.ec != std::errc()) Fail(format, L"has a value too long to print");
    std::wstring body(buffer, result.ptr);
    Pad(out, directive, body, negative ? L"-" : (directive.plus ? L"+" : L""));
}

}  // namespace

void Append(std::wstring& out, const wchar_t* format, std::initializer_list<Arg> args) {
    if (!format) throw ZEKT_Exception_Bug(L"Format without a format text");
    auto next = args.begin();
    auto take = [&]() -> const Arg& {
        if (next == args.end()) Fail(format, L"has more conversions than arguments");
        return *next++;
    };
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        ++p;
        if (*p == L'%') {
            out += L'%';
            continue;
        }
        Directive directive;
        for (;; ++p) {
            if (*p == L'-') directive.left = true;
            else if (*p == L'0') directive.zero = true;
            else if (*p == L'+') directive.plus = true;
            else break;
        }
        while (*p >= L'0' && *p <= L'9') directive.width = directive.width * 10 + (*p++ - L'0');
        if (*p == L'.') {
            directive.precision = 0;
            for (++p; *p >= L'0' && *p <= L'9'; ++p) directive.precision = directive.precision * 10 + (*p - L'0');
        }
        if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
            directive.wide64 = true;
            p += 3;
        } else if (p[0] == L'l' && p[1] == L'l') {
            directive.wide64 = true;
            p += 2;
        } else if (*p == L'l') {
            ++p;
        } else if (*p == L'h') {
            directive.narrow_string = true;
            ++p;
        }
        directive.conversion = *p;
        switch (directive.conversion) {
        case L'd': case L'i': case L'u': case L'x': case L'X':
            Put_Integer(out, directive, take(), format);
            break;
        case L'g': case L'f': case L'e':
            Put_Real(out, directive, take(), format);
            break;
        case L's': case L'S': {
            const Arg& arg = take();
            const bool narrow = directive.conversion == L'S' || directive.narrow_string;
            std::wstring converted;
            std::wstring_view text;
            if (narrow) {
                if (arg.kind != Arg::Kind::Narrow) Fail(format, L"expects a narrow string for %S");
                converted = ZEKT_Os::Code_Page_To_Wide(arg.narrow, 0);
                text = converted;
            } else {
                if (arg.kind != Arg::Kind::Wide) Fail(format, L"expects a wide string for %s");
                text = arg.wide;
            }
            if (directive.precision >= 0 && text.size() > static_cast<std::size_t>(directive.precision))
                text = text.substr(0, directive.precision);
            directive.zero = false;
            Pad(out, directive, text);
            break;
        }
        case L'c': {
            const Arg& arg = take();
            if (arg.kind != Arg::Kind::Character) Fail(format, L"expects a wide character for %c");
            directive.zero = false;
            Pad(out, directive, std::wstring(1, static_cast<wchar_t>(arg.unsigned_value)));
            break;
        }
        default:
            Fail(format, L"has an unknown conversion");
        }
    }
    if (next != args.end()) Fail(format, L"has fewer conversions than arguments");
}

}  // namespace ZEKT_Format_Detail
