#include "reader/retry/micron.h"

#include <gtest/gtest.h>

#include "framework/errors.h"
#include "tests/reader/retry/retry_helpers.h"

using namespace Retry_Test;

TEST(Micron, RetryFeatureOncePerProgram) {
    EXPECT_EQ(Before_Loop(L"Micron", "05"), Steps("Cmd EF; Addr 89; Data 05; Data 00; Data 00; Data 00; Wait"));
    EXPECT_EQ(Before_Page(L"Micron", "05"), Words{});
    EXPECT_EQ(Message_Of([] { Before_Loop(L"Micron", "--"); }), L"Bug - using empty RR register");
}

TEST(Micron_v2, TwoFeatures) {
    EXPECT_EQ(Before_Loop(L"Micron v2", "03 0C"),
              Steps("Cmd EF; Addr 89; Data 03; Data 00; Data 00; Data 00; Wait;"
                    "Cmd EF; Addr 96; Data 0C; Data 00; Data 00; Data 00; Wait"));
    EXPECT_EQ(Before_Page(L"Micron v2", "03 0C"), Words{});
    EXPECT_EQ(Message_Of([] { Before_Loop(L"Micron v2", "03 --"); }), L"Bug - using empty RR register");
    EXPECT_EQ(Message_Of([] { Before_Loop(L"Micron v2", "-- 03"); }), L"Bug - using empty RR register");
}

TEST(Micron_Known_Sets, EveryMode) {
    const auto modes = Known_Sets(L"Micron");
    ASSERT_EQ(modes.size(), 16u);
    for (std::size_t i = 0; i < modes.size(); ++i) EXPECT_EQ(modes[i][0].value, i);

    const auto pairs = Known_Sets(L"Micron v2");
    ASSERT_EQ(pairs.size(), 256u);
    EXPECT_EQ(pairs[0x5A][0].value, 0x0A);
    EXPECT_EQ(pairs[0x5A][1].value, 0x05);
    EXPECT_EQ(pairs[0xFF][0].value, 0x0F);
    EXPECT_EQ(pairs[0xFF][1].value, 0x0F);
}
