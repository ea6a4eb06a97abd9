#include "values.h"

#include <cstdint>

#include "errors.h"
#include "os.h"

std::wstring Hex_Text(std::uint64_t value) { return Format(L"0x%I64x", value); }

std::wstring Decimal_Text(std::int64_t value) { return Format(L"%I64d", value); }

std::wstring Duration_Text(double seconds) {
    if (seconds == 0) return L"0";
    const auto whole = static_cast<std::int64_t>(seconds);
    if (seconds >= 3600) return Format(L"%I64d h %I64d m", whole / 3600, (whole % 3600) / 60);
    if (seconds >= 60) return Format(L"%I64d m %I64d s", whole / 60, whole % 60);
    return Format(L"%g ms", seconds * 1000);
}

std::wstring Elapsed_Text(std::uint32_t start_tick, std::uint32_t now_tick) {
    // Unsigned 32-bit difference: correct across the tick counter's wrap.
    const std::uint32_t elapsed_ms = now_tick - start_tick;
    return Duration_Text(elapsed_ms / 1000.0);
}

std::wstring Elapsed_Text(std::uint32_t start_tick) { return Elapsed_Text(start_tick, ZEKT_Tick_Count()); }

namespace {

[[noreturn]] void Not_Integer(const std::wstring& text) {
    throw ZEKT_Exception_DataCorrupt(L"Can't convert <" + text + L"> to integer");
}

int Digit_Value(wchar_t c, unsigned base) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (base == 16 && c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (base == 16 && c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Parses `digits` (a part of `text`); `text` is quoted in the failure.
std::uint64_t Parse_Unsigned(std::wstring_view digits, const std::wstring& text) {
    if (digits.empty()) Not_Integer(text);
    unsigned base = 10;
    if (digits.size() > 2 && digits[0] == L'0' && (digits[1] == L'x' || digits[1] == L'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        const int digit = Digit_Value(c, base);
        if (digit < 0) Not_Integer(text);
        // A number beyond 64 bits is refused, never replaced by its remainder.
        if (value > (UINT64_MAX - static_cast<unsigned>(digit)) / base) Not_Integer(text);
        value = value * base + static_cast<unsigned>(digit);
    }
    return value;
}

}  // namespace

std::uint64_t To_Unsigned(const std::wstring& text) { return Parse_Unsigned(text, text); }

std::uint32_t To_Unsigned_32(const std::wstring& text) {
    const std::uint64_t value = Parse_Unsigned(text, text);
    if (value > UINT32_MAX) Not_Integer(text);
    return static_cast<std::uint32_t>(value);
}

std::int64_t To_Signed(const std::wstring& text) {
    if (!text.empty() && text[0] == L'-') {
        const std::uint64_t magnitude = Parse_Unsigned(std::wstring_view(text).substr(1), text);
        return static_cast<std::int64_t>(0 - magnitude);
    }
    return static_cast<std::int64_t>(Parse_Unsigned(text, text));
}

std::wstring Replace_All(std::wstring text, std::wstring_view from, std::wstring_view to) {
    if (from.empty()) return text;
    // Built anew in one pass: replacing in place moves the tail each time,
    // quadratic in a text of many short lines.
    std::size_t pos = text.find(from);
    if (pos == std::wstring::npos) return text;
    std::wstring out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (; pos != std::wstring::npos; pos = text.find(from, start)) {
        out.append(text, start, pos - start);
        out += to;
        start = pos + from.size();
    }
    out.append(text, start, std::wstring::npos);
    return out;
}

std::vector<std::wstring> Split(std::wstring_view text, std::wstring_view separator) {
    std::vector<std::wstring> pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t pos = text.find(separator, start);
        if (pos == std::wstring_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
}

namespace {

// Characters that must not reach a line as they are: controls (a terminal
// takes them as commands), line and paragraph separators (they break the
// line), the marks and overrides that reorder text (a name could read as
// another), and what XML forbids (U+FFFE, U+FFFF, a surrogate alone).
bool Must_Escape(std::uint32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFFFE || c == 0xFFFF ||
           (c >= 0xD800 && c <= 0xDFFF);
}

}  // namespace

std::wstring Visible_Text(std::wstring_view text, bool keep_line_breaks) {
    std::wstring shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        // A pair of surrogates (two-byte wide text) is one character.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            shown += text.substr(i++, 2);
            continue;
        }
        // Kept line breaks are the text's own: "\n", or "\r" before it.
        const bool kept_break =
            keep_line_breaks && (c == L'\n' || (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n'));
        if (!Must_Escape(c) || kept_break) {
            shown += static_cast<wchar_t>(c);
            continue;
        }
        // "\x1b" or "\u202e", lower-case digits.
        const int digits = c < 0x100 ? 2 : 4;
        shown += L'\\';
        shown += c < 0x100 ? L'x' : L'u';
        for (int d = digits - 1; d >= 0; --d) shown += L"0123456789abcdef"[(c >> (4 * d)) & 0xF];
    }
    return shown;
}

std::wstring Join(const std::vector<std::wstring>& pieces, std::wstring_view separator) {
    std::wstring text;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i) text += separator;
        text += pieces[i];
    }
    return text;
}

std::wstring Trim_Left(std::wstring text, wchar_t character) {
    text.erase(0, text.find_first_not_of(character));
    return text;
}

std::wstring Trim_Right(std::wstring text, wchar_t character) {
    const std::size_t last = text.find_last_not_of(character);
    text.erase(last == std::wstring::npos ? 0 : last + 1);
    return text;
}

std::wstring Trim(std::wstring text, wchar_t character) { return Trim_Left(Trim_Right(std::move(text), character), character); }

std::wstring From_Code_Page(std::string_view bytes, unsigned code_page) {
    return ZEKT_Os::Code_Page_To_Wide(bytes, code_page);
}

bool Is_Code_Page_Text(std::string_view bytes, unsigned code_page) { return ZEKT_Os::Code_Page_Valid(bytes, code_page); }

std::u16string To_UTF16(std::wstring_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code > 0xFFFF && code <= 0x10FFFF) {
            const std::uint32_t v = code - 0x10000;
            units += static_cast<char16_t>(0xD800 + (v >> 10));
            units += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            units += static_cast<char16_t>(code > 0xFFFF ? 0xFFFD : code);
        }
    }
    return units;
}

std::wstring From_UTF16(std::u16string_view units) {
    std::wstring text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if constexpr (sizeof(wchar_t) == 4) {
            // Join surrogate pairs; a lone surrogate is kept as it is.
            if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
                const std::uint32_t code = 0x10000 + ((u - 0xD800u) << 10) + (units[i + 1] - 0xDC00u);
                text += static_cast<wchar_t>(code);
                ++i;
                continue;
            }
        }
        text += static_cast<wchar_t>(u);
    }
    return text;
}

std::vector<unsigned char> To_UTF16LE_Bytes(std::wstring_view text) {
    const std::u16string units = To_UTF16(text);
    std::vector<unsigned char> bytes;
    bytes.reserve(2 * units.size());
    for (char16_t unit : units) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

std::string To_UTF8(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    const std::u16string units = To_UTF16(text);
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t code = units[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | (code >> 6));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes += static_cast<char>(0xE0 | (code >> 12));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (code >> 18));
            bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}

std::wstring From_UTF8(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t count = 0;
        std::uint32_t code = 0;
        if (lead < 0x80) { code = lead; count = 0; }
        else if ((lead & 0xE0) == 0xC0) { code = lead & 0x1F; count = 1; }
        else if ((lead & 0xF0) == 0xE0) { code = lead & 0x0F; count = 2; }
        else if ((lead & 0xF8) == 0xF0) { code = lead & 0x07; count = 3; }
        else { units += u'\xFFFD'; ++i; continue; }
        bool valid = i + count < bytes.size();
        for (std::size_t k = 1; valid && k <= count; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) valid = false;
            else code = (code << 6) | (next & 0x3F);
        }
        // The shortest form only: an overlong C0 9B would smuggle in an ESC,
        // C0 80 a NUL. Surrogates are not characters of their own.
        static constexpr std::uint32_t Smallest[] = {0, 0x80, 0x800, 0x10000};
        if (valid && (code < Smallest[count] || (code >= 0xD800 && code <= 0xDFFF))) valid = false;
        if (!valid || code > 0x10FFFF) {
            // Invalid sequences become one replacement character per byte.
            units += u'\xFFFD';
            ++i;
            continue;
        }
        if (code > 0xFFFF) {
            const std::uint32_t v = code - 0x10000;
            units += static_cast<char16_t>(0xD800 + (v >> 10));
            units += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            units += static_cast<char16_t>(code);
        }
        i += count + 1;
    }
    return From_UTF16(units);
}

std::wstring Add_Backslash(std::wstring path) {
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path;
}

std::wstring Add_Separator(std::wstring path) {
    if (!path.empty() && !ZEKT_Os::Is_Path_Separator(path.back())) path += ZEKT_Os::Path_Separator();
    return path;
}

std::wstring Folder_Of(const std::wstring& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (ZEKT_Os::Is_Path_Separator(path[i - 1])) return path.substr(0, i);
    return {};
}
