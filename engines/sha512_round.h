// The SHA-512 round and message schedule of FIPS 180-2 (6.3.2), written once for every block
// function: the portable engine and the x86 BMI2 and AVX2 paths, which compile them for their own
// targets (an always-inline function takes the target of the function it is inlined into).
#pragma once

#include <cstdint>

#include "bytes.h"
#include "sha2_constants.h"

// One round with Ch and Maj in their short forms: Ch(e,f,g) = g ^ (e & (f ^ g)) and
// Maj(a,b,c) = b ^ ((a ^ b) & (b ^ c)), this round's a ^ b kept in `bc` as the next round's
// b ^ c. `wk` is the round's W[t] + K[t].
#define CORVANE_SHA512_ROUND(a, b, c, d, e, f, g, h, wk)                                   \
    do {                                                                                   \
        h += (wk) + (g ^ (e & (f ^ g))) + (Rotr64(e, 14) ^ Rotr64(e, 18) ^ Rotr64(e, 41)); \
        d += h;                                                                            \
        const uint64_t ab = a ^ b;                                                         \
        h += (Rotr64(a, 28) ^ Rotr64(a, 34) ^ Rotr64(a, 39)) + (b ^ (ab & bc));            \
        bc = ab;                                                                           \
    } while (0)

inline uint64_t Sha512SmallSigma0(uint64_t x) {
    return Rotr64(x, 1) ^ Rotr64(x, 8) ^ (x >> 7);
}
inline uint64_t Sha512SmallSigma1(uint64_t x) {
    return Rotr64(x, 19) ^ Rotr64(x, 61) ^ (x >> 6);
}

// The 80 rounds over one block whose sixteen words `w` are in native order, added into `state`.
// The schedule is extended inside the rounds, as a rolling window over `w`, so its work overlaps
// the rounds' dependency chain; the eight variables are renamed from step to step, not moved.
__attribute__((always_inline)) inline void Sha512Rounds(uint64_t* state, uint64_t* w) {
    uint64_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4], f = state[5],
             g = state[6], h = state[7];
    uint64_t bc = b ^ c;
#define CORVANE_SHA512_STEP(a, b, c, d, e, f, g, h, j)                                    \
    do {                                                                                  \
        if (pass != 0)                                                                    \
            w[j] += Sha512SmallSigma1(w[(j + 14) & 15]) + w[(j + 9) & 15] +               \
                    Sha512SmallSigma0(w[(j + 1) & 15]);                                   \
        CORVANE_SHA512_ROUND(a, b, c, d, e, f, g, h, kSha512Round[16 * pass + j] + w[j]); \
    } while (0)
    for (int pass = 0; pass < 5; ++pass) {
        CORVANE_SHA512_STEP(a, b, c, d, e, f, g, h, 0);
        CORVANE_SHA512_STEP(h, a, b, c, d, e, f, g, 1);
        CORVANE_SHA512_STEP(g, h, a, b, c, d, e, f, 2);
        CORVANE_SHA512_STEP(f, g, h, a, b, c, d, e, 3);
        CORVANE_SHA512_STEP(e, f, g, h, a, b, c, d, 4);
        CORVANE_SHA512_STEP(d, e, f, g, h, a, b, c, 5);
        CORVANE_SHA512_STEP(c, d, e, f, g, h, a, b, 6);
        CORVANE_SHA512_STEP(b, c, d, e, f, g, h, a, 7);
        CORVANE_SHA512_STEP(a, b, c, d, e, f, g, h, 8);
        CORVANE_SHA512_STEP(h, a, b, c, d, e, f, g, 9);
        CORVANE_SHA512_STEP(g, h, a, b, c, d, e, f, 10);
        CORVANE_SHA512_STEP(f, g, h, a, b, c, d, e, 11);
        CORVANE_SHA512_STEP(e, f, g, h, a, b, c, d, 12);
        CORVANE_SHA512_STEP(d, e, f, g, h, a, b, c, 13);
        CORVANE_SHA512_STEP(c, d, e, f, g, h, a, b, 14);
        CORVANE_SHA512_STEP(b, c, d, e, f, g, h, a, 15);
    }
#undef CORVANE_SHA512_STEP
    state[0] += a, state[1] += b, state[2] += c, state[3] += d;
    state[4] += e, state[5] += f, state[6] += g, state[7] += h;
}
