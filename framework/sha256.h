// SHA-256 (FIPS 180-4), fed in pieces of any size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class ZEKT_Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    // Best: the processor's SHA instructions where it has them; Portable:
    // plain code everywhere (so tests cover both on any machine).
    enum class Engine { Best, Portable };

    explicit ZEKT_Sha256(Engine engine = Engine::Best);
    void Update(const void* bytes, std::size_t count);
    // Ends the message; the object starts over afterwards.
    Digest Final();
    // Final() as 64 lower-case hexadecimal digits.
    std::wstring Final_Text();

private:
    void Blocks(const std::uint8_t* bytes, std::size_t count);

    void (*blocks)(std::array<std::uint32_t, 8>&, const std::uint8_t*, std::size_t);
    std::array<std::uint32_t, 8> state;
    std::array<std::uint8_t, 64> pending{};
    std::size_t pending_bytes = 0;
    std::uint64_t total_bytes = 0;
};
