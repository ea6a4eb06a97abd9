// Shared entry point of the test executables.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    // Texts must not depend on the user's locale: run under a non-English
    // one where the system has it, so that a decimal comma would show.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
