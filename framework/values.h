// Numbers and durations as the user sees them, the integer rule used wherever
// text becomes a number, and the string and path chores.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "format.h"

// "0x" and lower-case digits without leading zeros: 255 gives "0xff".
std::wstring Hex_Text(std::uint64_t value);
std::wstring Decimal_Text(std::int64_t value);
// "0", "1 h 2 m", "2 m 5 s" (truncated) or "250 ms".
std::wstring Duration_Text(double seconds);
// Duration since a tick of ZEKT_Tick_Count().
std::wstring Elapsed_Text(std::uint32_t start_tick);
std::wstring Elapsed_Text(std::uint32_t start_tick, std::uint32_t now_tick);

// The integer rule: decimal, or hexadecimal after "0x"/"0X" (longer than 2
// characters); no blanks, no octal; wraps modulo 2^64. Failure throws
// ZEKT_Exception_DataCorrupt "Can't convert <text> to integer".
std::uint64_t To_Unsigned(const std::wstring& text);
// As To_Unsigned, for a 32-bit field: a larger number does not convert.
std::uint32_t To_Unsigned_32(const std::wstring& text);
// As To_Unsigned, with an optional leading "-".
std::int64_t To_Signed(const std::wstring& text);

std::wstring Replace_All(std::wstring text, std::wstring_view from, std::wstring_view to);
std::vector<std::wstring> Split(std::wstring_view text, std::wstring_view separator);
std::wstring Join(const std::vector<std::wstring>& pieces, std::wstring_view separator);
// Text that came from a device or a file, safe to show or store on one line:
// every control character (U+0000-U+001F, U+007F-U+009F) becomes a visible
// escape "\x1b"; line and paragraph separators, bidi marks and overrides,
// U+FFFE, U+FFFF and a lone surrogate become "\u2028". With
// `keep_line_breaks`, a "\n" and the "\r" of a "\r\n" stay as they are.
std::wstring Visible_Text(std::wstring_view text, bool keep_line_breaks = false);
std::wstring Trim_Left(std::wstring text, wchar_t character);
std::wstring Trim_Right(std::wstring text, wchar_t character);
std::wstring Trim(std::wstring text, wchar_t character);

// Narrow text in a code page (0: the system's ANSI code page) to wide text.
// Whether every byte sequence converts (nothing would be replaced).
bool Is_Code_Page_Text(std::string_view bytes, unsigned code_page);
std::wstring From_Code_Page(std::string_view bytes, unsigned code_page);

// UTF-16 code units of a wide text and back. On Windows wchar_t already is
// UTF-16; elsewhere characters beyond U+FFFF become surrogate pairs.
std::u16string To_UTF16(std::wstring_view text);
std::wstring From_UTF16(std::u16string_view units);
// The bytes of a wide text in a file: UTF-16 little-endian, no mark.
std::vector<unsigned char> To_UTF16LE_Bytes(std::wstring_view text);
// UTF-8, for consoles and narrow texts.
std::string To_UTF8(std::wstring_view text);
std::wstring From_UTF8(std::string_view bytes);

// Appends "\" unless the path is empty or already ends with "\".
std::wstring Add_Backslash(std::wstring path);
// Appends the system's separator unless the path is empty or already ends
// with one; a name is then appended directly.
std::wstring Add_Separator(std::wstring path);
// The path up to and including its last separator ("\" or "/" on Windows,
// "/" elsewhere); empty when it has none.
std::wstring Folder_Of(const std::wstring& path);
