#include "framework/values.h"

#include <gtest/gtest.h>

#include "framework/errors.h"
#include "framework/os.h"
#include "tests/message_of.h"

namespace {

std::wstring Conversion_Failure(const std::wstring& text, bool is_signed) {
    try {
        if (is_signed)
            To_Signed(text);
        else
            To_Unsigned(text);
    } catch (const ZEKT_Exception_DataCorrupt& e) {
        return e.message;
    }
    return L"(no failure)";
}

}  // namespace

TEST(Integer_Rule, DecimalOrHexadecimalAfter0x) {
    EXPECT_EQ(To_Unsigned(L"0x10"), 16u);
    EXPECT_EQ(To_Unsigned(L"0X1f"), 31u);
    EXPECT_EQ(To_Unsigned(L"010"), 10u);  // no octal
    EXPECT_EQ(To_Unsigned(L"0"), 0u);
    EXPECT_EQ(To_Unsigned(L"0xFFFFFFFFFFFFFFFF"), 0xFFFFFFFFFFFFFFFFull);
    // A number beyond 64 bits does not convert.
    EXPECT_EQ(Message_Of([] { To_Unsigned(L"18446744073709551616"); }), L"Can't convert <18446744073709551616> to integer");
    EXPECT_EQ(Message_Of([] { To_Unsigned(L"0x10000000000000000"); }), L"Can't convert <0x10000000000000000> to integer");
    EXPECT_EQ(To_Signed(L"-0x10"), -16);
    EXPECT_EQ(To_Signed(L"-5"), -5);
    EXPECT_EQ(To_Signed(L"42"), 42);
}

TEST(Integer_Rule, FailuresQuoteTheText) {
    for (const wchar_t* bad : {L"0x", L"", L"12a", L" 1", L"1 ", L"-1", L"+1", L"0x1g", L"x1"})
        EXPECT_EQ(Conversion_Failure(bad, false), std::wstring(L"Can't convert <") + bad + L"> to integer");
    EXPECT_EQ(Conversion_Failure(L"-", true), L"Can't convert <-> to integer");
    EXPECT_EQ(Conversion_Failure(L"--1", true), L"Can't convert <--1> to integer");
}

TEST(Value_Texts, HexDecimal) {
    EXPECT_EQ(Hex_Text(255), L"0xff");
    EXPECT_EQ(Hex_Text(0), L"0x0");
    EXPECT_EQ(Hex_Text(0x21000), L"0x21000");
    EXPECT_EQ(Decimal_Text(-12), L"-12");
    EXPECT_EQ(Decimal_Text(553648128), L"553648128");
}

TEST(Value_Texts, Durations) {
    EXPECT_EQ(Duration_Text(0), L"0");
    EXPECT_EQ(Duration_Text(3725), L"1 h 2 m");
    EXPECT_EQ(Duration_Text(3600), L"1 h 0 m");
    EXPECT_EQ(Duration_Text(125.9), L"2 m 5 s");
    EXPECT_EQ(Duration_Text(60), L"1 m 0 s");
    EXPECT_EQ(Duration_Text(0.25), L"250 ms");
    EXPECT_EQ(Duration_Text(59.5), L"59500 ms");
    EXPECT_EQ(Elapsed_Text(0xFFFFFF00u, 0xFFFFFF00u + 1500), L"1500 ms");
    // Across the wrap of the 32-bit tick counter.
    EXPECT_EQ(Elapsed_Text(0xFFFFFFFFu, 124999), L"2 m 5 s");
}

TEST(String_Chores, ReplaceSplitJoinTrim) {
    EXPECT_EQ(Replace_All(L"\r\r\n", L"\r\n", L"\n"), L"\r\n");
    // The inserted text is never scanned again.
    EXPECT_EQ(Replace_All(L"aaa", L"a", L"aa"), L"aaaaaa");
    EXPECT_EQ(Split(L"a\nb\n", L"\n"), (std::vector<std::wstring>{L"a", L"b", L""}));
    EXPECT_EQ(Split(L"\n\n", L"\n"), (std::vector<std::wstring>{L"", L"", L""}));
    EXPECT_TRUE(Split(L"", L"\n").empty());
    EXPECT_EQ(Split(L"1 - 2", L" - "), (std::vector<std::wstring>{L"1", L"2"}));
    EXPECT_EQ(Join({L"a", L"", L"b"}, L"\r\n"), L"a\r\n\r\nb");
    EXPECT_EQ(Join({}, L","), L"");
    EXPECT_EQ(Trim_Left(L"  a b  ", L' '), L"a b  ");
    EXPECT_EQ(Trim_Right(L"  a b  ", L' '), L"  a b");
    EXPECT_EQ(Trim_Right(L"   ", L' '), L"");
}

TEST(String_Chores, Utf16AndUtf8RoundTrip) {
    const std::wstring text = L"K\u00f6rvane \u20ac";
    EXPECT_EQ(To_UTF16(text), std::u16string(u"K\u00f6rvane \u20ac"));
    EXPECT_EQ(From_UTF16(To_UTF16(text)), text);
    EXPECT_EQ(To_UTF8(text), "K\xc3\xb6rvane \xe2\x82\xac");
    EXPECT_EQ(From_UTF8(To_UTF8(text)), text);
    // A character beyond U+FFFF is one surrogate pair in UTF-16.
    const std::u16string pair = u"\U0001F600";
    EXPECT_EQ(To_UTF16(From_UTF16(pair)), pair);
    EXPECT_EQ(To_UTF8(From_UTF16(pair)), "\xf0\x9f\x98\x80");
    // Broken UTF-8 never throws: each bad byte is one replacement character.
    EXPECT_EQ(From_UTF8("a\xff" "b\xe2\x82"), L"a\uFFFDb\uFFFD\uFFFD");
    // Overlong forms (an ESC, a NUL, a "/") and a surrogate, byte by byte.
    EXPECT_EQ(From_UTF8("\xc0\x9b" "\xc0\x80" "\xe0\x80\xaf" "\xed\xa0\x80" "\xf4\x8f\xbf\xbf"),
              std::wstring(10, L'\uFFFD') + From_UTF16(u"\U0010FFFF"));
}

TEST(String_Chores, VisibleTextEscapesEveryControlCharacter) {
    // A terminal title sequence, a clear-screen, a C1 control and DEL.
    const std::wstring hostile = std::wstring(L"M\x1b]0;X\x07\x1b[2J\x9b\x7f\x00\u00e9", 15);
    EXPECT_EQ(Visible_Text(hostile), L"M\\x1b]0;X\\x07\\x1b[2J\\x9b\\x7f\\x00\u00e9");
    EXPECT_EQ(Visible_Text(L"a\r\nb\t"), L"a\\x0d\\x0ab\\x09");
    EXPECT_EQ(Visible_Text(L"a\r\nb\t", true), L"a\r\nb\\x09");
    // A lone CR, line and paragraph separators, bidi overrides and what XML forbids.
    EXPECT_EQ(Visible_Text(L"a\rb\r\n", true), L"a\\x0db\r\n");
    EXPECT_EQ(Visible_Text(L"x\u2028\u2029\u202e\u2066\u200f\ufffe\uffff\u00e9"),
              L"x\\u2028\\u2029\\u202e\\u2066\\u200f\\ufffe\\uffff\u00e9");
}

TEST(Path_Chores, BackslashAndFolder) {
    EXPECT_EQ(Add_Backslash(L""), L"");
    EXPECT_EQ(Add_Backslash(L"C:\\dumps"), L"C:\\dumps\\");
    EXPECT_EQ(Add_Backslash(L"C:\\dumps\\"), L"C:\\dumps\\");
    // Windows splits at "\" and "/"; POSIX only at "/": there "\" is part of a name.
    const bool windows = ZEKT_Os::Path_Separator() == L'\\';
    EXPECT_EQ(Folder_Of(L"C:\\a/b\\c.txt"), windows ? L"C:\\a/b\\" : L"C:\\a/");
    EXPECT_EQ(Folder_Of(L"C:\\a\\b/c.txt"), L"C:\\a\\b/");
    EXPECT_EQ(Folder_Of(L"name.txt"), L"");
    EXPECT_EQ(Add_Separator(L"d/x\\"), windows ? L"d/x\\" : L"d/x\\/");
}
