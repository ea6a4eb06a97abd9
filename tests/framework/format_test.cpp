#include "framework/format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

#include "framework/errors.h"

namespace {

// The formatter without the compile-time check, as for a format that is
// not a literal: what it does with mismatches must still be safe.
template <typename... Args>
std::wstring Unchecked(const wchar_t* format, const Args&... args) {
    std::wstring text;
    ZEKT_Format_Detail::Append_Runtime(text, format, args...);
    return text;
}

using ZEKT_Format_Detail::Arg_Class;
using ZEKT_Format_Detail::Format_Fits;

constexpr bool Fits(const wchar_t* format, std::initializer_list<Arg_Class> classes) {
    return Format_Fits(format, classes.begin(), classes.size());
}

// A literal that does not fit its arguments does not compile; these are the
// rules that decide it.
static_assert(Fits(L"%02d_%02d.dump", {Arg_Class::Integer, Arg_Class::Integer}));
static_assert(Fits(L"<%s> %S %c %g%%", {Arg_Class::Wide, Arg_Class::Narrow, Arg_Class::Character, Arg_Class::Real}));
static_assert(Fits(L"%hs %08I64x %-5.2f", {Arg_Class::Narrow, Arg_Class::Integer, Arg_Class::Real}));
static_assert(!Fits(L"%s", {Arg_Class::Integer}));
static_assert(!Fits(L"%S", {Arg_Class::Wide}));
static_assert(!Fits(L"%d %d", {Arg_Class::Integer}));
static_assert(!Fits(L"%d", {Arg_Class::Integer, Arg_Class::Integer}));
static_assert(!Fits(L"%q", {Arg_Class::Integer}));
static_assert(!Fits(L"trailing %", {}));
static_assert(ZEKT_Format_Detail::Class_Of<std::size_t>() == Arg_Class::Integer);
static_assert(ZEKT_Format_Detail::Class_Of<const wchar_t (&)[4]>() == Arg_Class::Wide);
static_assert(ZEKT_Format_Detail::Class_Of<std::string>() == Arg_Class::Narrow);

}  // namespace

TEST(Format, WindowsWideConventions) {
    EXPECT_EQ(Format(L"Can't open for read file <%s>", std::wstring(L"a.txt")), L"Can't open for read file <a.txt>");
    EXPECT_EQ(Format(L"STD Error: %S\n", "bad alloc"), L"STD Error: bad alloc\n");
    EXPECT_EQ(Format(L"%02d_%02d.dump", 1, 12), L"01_12.dump");
    EXPECT_EQ(Format(L"0x%I64x", std::uint64_t{0xFFFFFFFFFFull}), L"0xffffffffff");
    EXPECT_EQ(Format(L", pos 0x%08I64x, size 0x%I64x", std::uint64_t{10}, std::uint64_t{16}),
              L", pos 0x0000000a, size 0x10");
    EXPECT_EQ(Format(L"%I64d", std::int64_t{-5000000000}), L"-5000000000");
    EXPECT_EQ(Format(L"%I64u", std::uint64_t{18446744073709551615ull}), L"18446744073709551615");
    EXPECT_EQ(Format(L"100%%"), L"100%");
    EXPECT_EQ(Format(L"[%-6s][%6s]", L"ab", L"cd"), L"[ab    ][    cd]");
    EXPECT_EQ(Format(L"%c", L'x'), L"x");
}

TEST(Format, AppendKeepsEarlierText) {
    std::wstring text = L"Read failure";
    Append_Format(text, L", size 0x%x", 16u);
    EXPECT_EQ(text, L"Read failure, size 0x10");
}

TEST(Format, MatchesTheCLibraryForNumbers) {
    // The C library's own 64-bit length modifier is "ll" where ours is "I64".
    struct Case {
        const wchar_t* ours;
        const wchar_t* c_library;
        long long value;
    };
    const Case cases[] = {
        {L"%d", L"%d", -1},           {L"%d", L"%d", INT_MIN},         {L"%u", L"%u", 4000000000LL},
        {L"%x", L"%x", 0xBEEF},       {L"%X", L"%X", 0xBEEF},          {L"%08x", L"%08x", 0x1234},
        {L"%-5d|", L"%-5d|", 42},     {L"%05d", L"%05d", -42},         {L"%3d", L"%3d", 12345},
        {L"%I64d", L"%lld", LLONG_MIN}, {L"%I64x", L"%llx", -1},      {L"%.3d", L"%.3d", 7},
        {L"%+d", L"%+d", 5},
    };
    for (const Case& c : cases) {
        wchar_t expected[64];
        if (std::wcschr(c.c_library, L'l'))
            std::swprintf(expected, 64, c.c_library, c.value);
        else if (std::wcschr(c.c_library, L'd'))
            std::swprintf(expected, 64, c.c_library, static_cast<int>(c.value));
        else
            std::swprintf(expected, 64, c.c_library, static_cast<unsigned>(c.value));
        const std::wstring ours = std::wcschr(c.c_library, L'l')
                                      ? Unchecked(c.ours, static_cast<std::int64_t>(c.value))
                                      : (std::wcschr(c.c_library, L'd') ? Unchecked(c.ours, static_cast<int>(c.value))
                                                                        : Unchecked(c.ours, static_cast<unsigned>(c.value)));
        EXPECT_EQ(ours, expected) << "format " << std::string(c.ours, c.ours + std::wcslen(c.ours));
    }
}

TEST(Format, RealsAreLocaleIndependentAndMatchTheCLibrary) {
    EXPECT_EQ(Format(L"%g ms", 250.0), L"250 ms");
    EXPECT_EQ(Format(L"%g", 0.25), L"0.25");
    EXPECT_EQ(Format(L"%g", 1234567.0), L"1.23457e+06");
    EXPECT_EQ(Format(L"%g", 0.0001), L"0.0001");
    EXPECT_EQ(Format(L"%g", -2.5), L"-2.5");
    EXPECT_EQ(Format(L"%.2f", 3.14159), L"3.14");
    EXPECT_EQ(Format(L"%6.1f|", 2.25), L"   2.2|");
}

TEST(Format, UncheckedMismatchesThrowBugInsteadOfUndefinedBehaviour) {
    EXPECT_THROW(Unchecked(L"%s", 5), ZEKT_Exception_Bug);
    EXPECT_THROW(Unchecked(L"%S", L"wide"), ZEKT_Exception_Bug);
    EXPECT_THROW(Unchecked(L"%s", "narrow"), ZEKT_Exception_Bug);
    EXPECT_THROW(Unchecked(L"%d", L"text"), ZEKT_Exception_Bug);
    EXPECT_THROW(Unchecked(L"%g", 3), ZEKT_Exception_Bug);
    EXPECT_THROW(Unchecked(L"%d %d", 1), ZEKT_Exception_Bug);
    EXPECT_THROW(Unchecked(L"%d", 1, 2), ZEKT_Exception_Bug);
    EXPECT_THROW(Unchecked(L"%q", 1), ZEKT_Exception_Bug);
    EXPECT_THROW(Unchecked(L"trailing %"), ZEKT_Exception_Bug);
    // A 64-bit value that no 32-bit conversion can show.
    EXPECT_THROW(Unchecked(L"%x", std::uint64_t{0x100000000ull}), ZEKT_Exception_Bug);
    try {
        Unchecked(L"%d %d", 1);
    } catch (const ZEKT_Exception_Bug& e) {
        EXPECT_EQ(e.message, L"Format <%d %d> has more conversions than arguments");
    }
}

TEST(Format, ThirtyTwoBitConversionsTakeAnyIntegerThatFits) {
    // size_t is 4 bytes in one build and 8 in the other; both must print alike.
    EXPECT_EQ(Format(L"%u", std::size_t{77}), L"77");
    EXPECT_EQ(Format(L"%x", std::uint64_t{0xFFFFFFFFu}), L"ffffffff");
    EXPECT_EQ(Format(L"%d", std::int64_t{-3}), L"-3");
    EXPECT_EQ(Format(L"%d", std::uint8_t{200}), L"200");
    // The literal fits the type; the value is what does not fit.
    EXPECT_THROW(Format(L"%x", std::uint64_t{0x100000000ull}), ZEKT_Exception_Bug);
}
