// The 64 rounds of SM3's compression function (GB/T 32905-2016 section 5.3), written once for the
// portable engine and the x86 path: an always-inline function takes the target of the function
// it is inlined into, and the caller's Schedule supplies the expanded words.
#pragma once

#include <array>
#include <cstdint>

#include "bytes.h"

namespace sm3 {

// T_j rotated left by j mod 32, as each round adds it.
inline constexpr std::array<uint32_t, 64> kRoundConstant = [] {
    std::array<uint32_t, 64> t{};
    for (int j = 0; j < 64; ++j) t[j] = Rotl32(j < 16 ? 0x79cc4519u : 0x7a879d8au, j % 32);
    return t;
}();

inline uint32_t P0(uint32_t x) {
    return x ^ Rotl32(x, 9) ^ Rotl32(x, 17);
}
inline uint32_t P1(uint32_t x) {
    return x ^ Rotl32(x, 15) ^ Rotl32(x, 23);
}

// Updates state[8] (A..H) with one block's rounds. Schedule: Before(j) runs ahead of round j
// (the portable engine expands a word there), W(j) is W_j and Wp(j) is W'_j = W_j ^ W_(j+4).
template <class Schedule>
__attribute__((always_inline)) inline void Rounds(uint32_t* state, Schedule& s) {
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4], f = state[5],
             g = state[6], h = state[7];
// Round j writes the new A into d and the new E into h and rotates B and F in place; the caller
// renames (A..H) to (D, A, B, C, H, E, F, G) for the next round. FF and GG are the standard's for
// rounds 0-15 (parity) and 16-63 (majority, choice).
#define SM3_ROUND(a, b, c, d, e, f, g, h, j, ff, gg)                 \
    do {                                                             \
        s.Before(j);                                                 \
        const uint32_t a12 = Rotl32(a, 12);                          \
        const uint32_t ss1 = Rotl32(a12 + e + kRoundConstant[j], 7); \
        d += (ff) + (ss1 ^ a12) + s.Wp(j);                           \
        h = P0((gg) + h + ss1 + s.W(j));                             \
        b = Rotl32(b, 9);                                            \
        f = Rotl32(f, 19);                                           \
    } while (0)
#define SM3_FOUR(j, ffx, ggx)                                               \
    SM3_ROUND(a, b, c, d, e, f, g, h, j, ffx(a, b, c), ggx(e, f, g));       \
    SM3_ROUND(d, a, b, c, h, e, f, g, (j) + 1, ffx(d, a, b), ggx(h, e, f)); \
    SM3_ROUND(c, d, a, b, g, h, e, f, (j) + 2, ffx(c, d, a), ggx(g, h, e)); \
    SM3_ROUND(b, c, d, a, f, g, h, e, (j) + 3, ffx(b, c, d), ggx(f, g, h))
#define SM3_PARITY(x, y, z) ((x) ^ (y) ^ (z))
#define SM3_MAJ(x, y, z) (((x) & (y)) | ((z) & ((x) | (y))))
#define SM3_CHOOSE(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#pragma GCC unroll 4
    for (int j = 0; j < 16; j += 4) {
        SM3_FOUR(j, SM3_PARITY, SM3_PARITY);
    }
#pragma GCC unroll 12
    for (int j = 16; j < 64; j += 4) {
        SM3_FOUR(j, SM3_MAJ, SM3_CHOOSE);
    }
#undef SM3_ROUND
#undef SM3_FOUR
#undef SM3_PARITY
#undef SM3_MAJ
#undef SM3_CHOOSE
    state[0] ^= a, state[1] ^= b, state[2] ^= c, state[3] ^= d;
    state[4] ^= e, state[5] ^= f, state[6] ^= g, state[7] ^= h;
}

}  // namespace sm3
