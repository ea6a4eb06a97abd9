#include "framework/sha256.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

struct Vector {
    std::string message;
    std::size_t repeat;
    std::wstring digest;
};

class Sha256_Vectors : public testing::TestWithParam<std::tuple<Vector, ZEKT_Sha256::Engine>> {};

// Fed whole, then in pieces that straddle every block boundary differently:
// the digest must not depend on how the chunks fall.
TEST_P(Sha256_Vectors, FipsExamples) {
    const auto& [v, engine] = GetParam();
    std::string message;
    for (std::size_t i = 0; i < v.repeat; ++i) message += v.message;
    for (std::size_t piece : {message.size() + 1, std::size_t{1}, std::size_t{63}, std::size_t{65}, std::size_t{4099}}) {
        ZEKT_Sha256 hash(engine);
        for (std::size_t at = 0; at < message.size(); at += piece)
            hash.Update(message.data() + at, std::min(piece, message.size() - at));
        EXPECT_EQ(hash.Final_Text(), v.digest) << "pieces of " << piece;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fips180, Sha256_Vectors,
    testing::Combine(testing::Values(
        Vector{"", 1, L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        Vector{"abc", 1, L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        Vector{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 1,
               L"248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        Vector{"a", 1000000, L"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}),
                     testing::Values(ZEKT_Sha256::Engine::Best, ZEKT_Sha256::Engine::Portable)));

TEST(Sha256, StartsOverAfterFinal) {
    ZEKT_Sha256 hash;
    hash.Update("xyz", 3);
    hash.Final();
    hash.Update("abc", 3);
    EXPECT_EQ(hash.Final_Text(), L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
