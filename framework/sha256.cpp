#include "framework/sha256.h"

#include <cstring>

#include "framework/format.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define KORVANE_SHA_EXTENSIONS 1
#endif

namespace {

constexpr std::uint32_t K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::array<std::uint32_t, 8> Initial = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                  0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

inline std::uint32_t Load_Be(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// One round. Instead of shifting the eight working words along, the caller
// rotates their roles, so only d and h are written.
[[gnu::always_inline]] inline void Round(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t& d,
                                         std::uint32_t e, std::uint32_t f, std::uint32_t g, std::uint32_t& h,
                                         std::uint32_t k_plus_w) {
    const std::uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + (g ^ (e & (f ^ g))) + k_plus_w;
    const std::uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) | (c & (a | b)));
    d += t1;
    h = t1 + t2;
}

void Blocks_Portable(std::array<std::uint32_t, 8>& state, const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t w[64];
    for (; count > 0; bytes += 64, --count) {
        for (int i = 0; i < 16; ++i) w[i] = Load_Be(bytes + 4 * i);
        for (int i = 16; i < 64; ++i) {
            const std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        for (int i = 0; i < 64; i += 8) {
            Round(a, b, c, d, e, f, g, h, K[i] + w[i]);
            Round(h, a, b, c, d, e, f, g, K[i + 1] + w[i + 1]);
            Round(g, h, a, b, c, d, e, f, K[i + 2] + w[i + 2]);
            Round(f, g, h, a, b, c, d, e, K[i + 3] + w[i + 3]);
            Round(e, f, g, h, a, b, c, d, K[i + 4] + w[i + 4]);
            Round(d, e, f, g, h, a, b, c, K[i + 5] + w[i + 5]);
            Round(c, d, e, f, g, h, a, b, K[i + 6] + w[i + 6]);
            Round(b, c, d, e, f, g, h, a, K[i + 7] + w[i + 7]);
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

#ifdef KORVANE_SHA_EXTENSIONS
// The processor's SHA-256 instructions: two rounds per instruction, and the
// message schedule in four words at a time.
[[gnu::target("sha,sse4.1,ssse3")]] void Blocks_Sha_Extensions(std::array<std::uint32_t, 8>& state,
                                                                const std::uint8_t* bytes, std::size_t count) {
    const __m128i byte_swap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    // The instructions keep the words as ABEF and CDGH.
    __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0])), 0xB1);
    __m128i cdgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4])), 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, cdgh, 8);
    cdgh = _mm_blend_epi16(cdgh, cdab, 0xF0);
    for (; count > 0; bytes += 64, --count) {
        const __m128i abef_before = abef, cdgh_before = cdgh;
        __m128i m[4];
        for (int i = 0; i < 4; ++i)
            m[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i)), byte_swap);
#pragma GCC unroll 16
        for (int i = 0; i < 16; ++i) {
            const __m128i k_plus_w = _mm_add_epi32(m[i & 3], _mm_loadu_si128(reinterpret_cast<const __m128i*>(&K[4 * i])));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k_plus_w);
            // m[i + 1] already holds its msg1 part; finish it from m[i - 1] and m[i].
            if (i >= 3 && i < 15)
                m[(i + 1) & 3] = _mm_sha256msg2_epu32(
                    _mm_add_epi32(m[(i + 1) & 3], _mm_alignr_epi8(m[i & 3], m[(i + 3) & 3], 4)), m[i & 3]);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(k_plus_w, 0x0E));
            if (i >= 1 && i < 13) m[(i + 3) & 3] = _mm_sha256msg1_epu32(m[(i + 3) & 3], m[i & 3]);
        }
        abef = _mm_add_epi32(abef, abef_before);
        cdgh = _mm_add_epi32(cdgh, cdgh_before);
    }
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

bool Has_Sha_Extensions() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    const bool ssse3_sse41 = (ecx & bit_SSSE3) && (ecx & bit_SSE4_1);
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
    return ssse3_sse41 && (ebx & bit_SHA);
}
#endif

using Block_Function = void (*)(std::array<std::uint32_t, 8>&, const std::uint8_t*, std::size_t);

Block_Function Best_Blocks() {
#ifdef KORVANE_SHA_EXTENSIONS
    if (Has_Sha_Extensions()) return Blocks_Sha_Extensions;
#endif
    return Blocks_Portable;
}

}  // namespace

ZEKT_Sha256::ZEKT_Sha256(Engine engine) : state(Initial) {
    static const Block_Function best = Best_Blocks();
    blocks = engine == Engine::Best ? best : Blocks_Portable;
}

void ZEKT_Sha256::Blocks(const std::uint8_t* bytes, std::size_t count) { blocks(state, bytes, count); }

void ZEKT_Sha256::Update(const void* data, std::size_t count) {
    auto bytes = static_cast<const std::uint8_t*>(data);
    total_bytes += count;
    if (pending_bytes > 0) {
        const std::size_t take = std::min(count, pending.size() - pending_bytes);
        std::memcpy(pending.data() + pending_bytes, bytes, take);
        pending_bytes += take;
        bytes += take;
        count -= take;
        if (pending_bytes < pending.size()) return;
        Blocks(pending.data(), 1);
        pending_bytes = 0;
    }
    // Whole blocks straight from the caller's buffer, no copy.
    Blocks(bytes, count / 64);
    bytes += count / 64 * 64;
    pending_bytes = count % 64;
    std::memcpy(pending.data(), bytes, pending_bytes);
}

ZEKT_Sha256::Digest ZEKT_Sha256::Final() {
    // Padding: 0x80, zeros up to 56 mod 64, then the bit length big-endian.
    const std::uint64_t bits = total_bytes * 8;
    std::uint8_t tail[72] = {0x80};
    const std::size_t zeros = (pending_bytes < 56 ? 56 : 120) - pending_bytes;
    for (int i = 0; i < 8; ++i) tail[zeros + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
    Update(tail, zeros + 8);
    Digest digest;
    for (std::size_t i = 0; i < 8; ++i)
        for (std::size_t j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<std::uint8_t>(state[i] >> (24 - 8 * j));
    state = Initial;
    total_bytes = 0;
    pending_bytes = 0;
    return digest;
}

std::wstring ZEKT_Sha256::Final_Text() {
    std::wstring text;
    for (std::uint8_t byte : Final()) Append_Format(text, L"%02x", byte);
    return text;
}
