#include "reader/retry/retry.h"

#include <gtest/gtest.h>

#include "framework/errors.h"
#include "tests/reader/retry/retry_helpers.h"

using namespace Retry_Test;
using namespace Korvane_Internal::NAND_Assembler::Read_Retry;

namespace {

struct Parsed {
    std::wstring name = L"(unchanged)";
    Register_List registers{{0x99, true}};
};

Parsed Parse(const std::wstring& text) {
    Parsed parsed;
    Parse_Retry(text, parsed.name, parsed.registers);
    return parsed;
}

}  // namespace

TEST(Retry_Registry, NamesInOrder) {
    std::vector<std::wstring> names;
    for (const auto& entry : Registry().entries) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Micron", L"Micron v2", L"Samsung v1", L"Samsung v3", L"Sandisk v1",
                                                L"Sandisk v2", L"Sandisk v3", L"Hynix v1", L"Hynix v2", L"Hynix v3",
                                                L"Hynix v4", L"Hynix v5", L"Hynix v6", L"Hynix v7"}));
}

TEST(Retry_Registry, ParameterCounts) {
    const std::pair<const wchar_t*, std::uint32_t> counts[] = {
        {L"Micron", 1},      {L"Micron v2", 2},   {L"Samsung v1", 12}, {L"Samsung v3", 4}, {L"Sandisk v1", 7},
        {L"Sandisk v2", 3},  {L"Sandisk v3", 7},  {L"Hynix v1", 4},    {L"Hynix v2", 9},   {L"Hynix v3", 8},
        {L"Hynix v4", 6},    {L"Hynix v5", 5},    {L"Hynix v6", 14},   {L"Hynix v7", 14}};
    for (const auto& [name, count] : counts) EXPECT_EQ(Create_Retry(name)->Parameter_Count(), count) << count;
}

TEST(Retry_Registry, Creation) {
    std::unique_ptr<Base> none = Create_Retry(L"");
    EXPECT_NE(dynamic_cast<No*>(none.get()), nullptr);
    EXPECT_EQ(none->Parameter_Count(), 0u);
    EXPECT_EQ(Before_Loop(L"", ""), Words{});
    EXPECT_EQ(Before_Page(L"", ""), Words{});
    EXPECT_EQ(Message_Of([] { Create_Retry(L"hynix v1"); }), L"Unknown Retry type");
    EXPECT_EQ(Message_Of([] { Create_Retry(L"No"); }), L"Unknown Retry type");
}

TEST(Retry_Registry, MarkerBases) {
    const std::pair<const wchar_t*, bool> library[] = {
        {L"Micron", true},      {L"Micron v2", true},  {L"Samsung v1", true}, {L"Samsung v3", true},
        {L"Sandisk v1", true},  {L"Sandisk v2", false}, {L"Sandisk v3", false}, {L"Hynix v1", true},
        {L"Hynix v2", true},    {L"Hynix v3", false},  {L"Hynix v4", false},  {L"Hynix v5", false},
        {L"Hynix v6", false},   {L"Hynix v7", false}};
    for (const auto& [name, has_library] : library) {
        std::unique_ptr<Base> strategy = Create_Retry(name);
        EXPECT_EQ(dynamic_cast<Library*>(strategy.get()) != nullptr, has_library);
        // Only the two Micron strategies are neither continuous nor saddle-searching.
        const bool micron = std::wstring(name).rfind(L"Micron", 0) == 0;
        EXPECT_EQ(dynamic_cast<Continuous*>(strategy.get()) != nullptr, !micron);
        EXPECT_EQ(dynamic_cast<Best_at_Saddle*>(strategy.get()) != nullptr, !micron);
    }
}

TEST(Parse_Retry, NoStrategy) {
    for (const wchar_t* text : {L"", L"Micron", L"Micron/", L"Micron/   ", L"  /  "}) {
        const Parsed parsed = Parse(text);
        EXPECT_EQ(parsed.name, L"");
        EXPECT_TRUE(parsed.registers.empty());
    }
}

TEST(Parse_Retry, NamesAndRegisters) {
    Parsed parsed = Parse(L"Hynix v1/00 06 0A --");
    EXPECT_EQ(parsed.name, L"Hynix v1");
    EXPECT_EQ(parsed.registers, (Register_List{{0x00, true}, {0x06, true}, {0x0A, true}, {}}));

    parsed = Parse(L" Micron / 5 /ignored");
    EXPECT_EQ(parsed.name, L"Micron");
    EXPECT_EQ(parsed.registers, (Register_List{{0x05, true}}));

    parsed = Parse(L"Hynix v1/FF 0 1f 000000FF");
    EXPECT_EQ(parsed.registers, (Register_List{{0xFF, true}, {0, true}, {0x1F, true}, {0xFF, true}}));
}

TEST(Parse_Retry, Rejections) {
    EXPECT_EQ(Message_Of([] { Parse(L"Micron/5 6"); }), L"This Retry command must have 1 parameters");
    EXPECT_EQ(Message_Of([] { Parse(L"Hynix v3/0 0"); }), L"This Retry command must have 8 parameters");
    // Two spaces make an empty token, which counts.
    EXPECT_EQ(Message_Of([] { Parse(L"Micron v2/1  2"); }), L"This Retry command must have 2 parameters");
    EXPECT_EQ(Message_Of([] { Parse(L"Hynix v1/100 0 0 0"); }), L"Retry Register value > 0xff");
    // A value that would wrap round 64 bits in the conversion is still too large.
    EXPECT_EQ(Message_Of([] { Parse(L"Micron/10000000000000001"); }), L"Retry Register value > 0xff");
    EXPECT_EQ(Message_Of([] { Parse(L"hynix v1/00 00 00 00"); }), L"Unknown Retry type");
    EXPECT_THROW(Parse(L"Micron/0x1F"), ZEKT_Exception_DataCorrupt);
    EXPECT_EQ(Message_Of([] { Parse(L"Micron/0x1F"); }), L"Can't convert <0x0x1F> to integer");
    EXPECT_EQ(Message_Of([] { Parse(L"Micron/G"); }), L"Can't convert <0xG> to integer");
}

TEST(Register_Value, SetAndUnset) {
    EXPECT_EQ(Register_Value({0x42, true}), 0x42);
    EXPECT_EQ(Message_Of([] { Register_Value({}); }), L"Bug - using empty RR register");
}

TEST(Retry_Parameters, TooShortAListIsABugNotACrash) {
    EXPECT_THROW(Before_Page(L"Hynix v1", "00 00"), ZEKT_Exception_Bug);
}

// Every strategy fills exactly one hook, except the two SanDisk strategies
// whose per-page hook is the single 5Dh; and every set register's value
// reaches the program.
TEST(Retry_Registry, EachStrategyUsesItsHooks) {
    for (const auto& entry : Registry().entries) {
        const std::uint32_t count = Create_Retry(entry.name)->Parameter_Count();
        std::string registers;
        for (std::uint32_t i = 0; i < count; ++i) registers += "5A ";
        const Words loop = Before_Loop(entry.name, registers);
        const Words page = Before_Page(entry.name, registers);
        const std::string name(entry.name.begin(), entry.name.end());
        if (name == "Sandisk v1" || name == "Sandisk v2") {
            EXPECT_FALSE(loop.empty()) << name;
            EXPECT_EQ(page, Steps("Cmd 5D")) << name;
        } else {
            EXPECT_NE(loop.empty(), page.empty()) << name;
        }
        const Words& used = loop.empty() ? page : loop;
        EXPECT_EQ(static_cast<std::uint32_t>(std::count(used.begin(), used.end(), 0x125A)), count) << name;
        // Steps only: every other word ends a step.
        for (std::size_t i = 1; i < used.size(); i += 2) EXPECT_EQ(used[i], 0x8000) << name << " word " << i;
    }
}
