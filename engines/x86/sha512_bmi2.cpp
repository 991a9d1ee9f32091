// SHA-512 block function (FIPS 180-2) compiled for BMI2, whose RORX rotates into a fresh
// register without touching the flags, which saves the copies the two-operand rotate needs in
// the three-rotation Sigma functions. Same rounds as the portable engine, schedule up front.
#include "../bytes.h"
#include "../sha2_constants.h"
#include "sha512_round.h"
#include "x86_blocks.h"

namespace {

#define CORVANE_BMI2 __attribute__((target("bmi2")))

inline uint64_t SmallSigma0(uint64_t x) {
    return Rotr64(x, 1) ^ Rotr64(x, 8) ^ (x >> 7);
}
inline uint64_t SmallSigma1(uint64_t x) {
    return Rotr64(x, 19) ^ Rotr64(x, 61) ^ (x >> 6);
}

}  // namespace

// The schedule is extended inside the rounds (a rolling window of sixteen words) so its work
// overlaps the rounds' dependency chain; Maj reuses the previous round's a XOR b.
CORVANE_BMI2 void Sha512BlocksBmi2(uint64_t* state, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 128) {
        uint64_t w[16];
        for (int t = 0; t < 16; ++t) w[t] = LoadBe64(data + 8 * t);
        uint64_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4], f = state[5],
                 g = state[6], h = state[7];
        uint64_t bc = b ^ c;
#define SHA512_ROUND(a, b, c, d, e, f, g, h, j)                                                 \
    do {                                                                                        \
        if (pass != 0)                                                                          \
            w[j] +=                                                                             \
                SmallSigma1(w[(j + 14) & 15]) + w[(j + 9) & 15] + SmallSigma0(w[(j + 1) & 15]); \
        CORVANE_SHA512_ROUND(a, b, c, d, e, f, g, h, kSha512Round[16 * pass + j] + w[j]);       \
    } while (0)
        for (int pass = 0; pass < 5; ++pass) {
            SHA512_ROUND(a, b, c, d, e, f, g, h, 0);
            SHA512_ROUND(h, a, b, c, d, e, f, g, 1);
            SHA512_ROUND(g, h, a, b, c, d, e, f, 2);
            SHA512_ROUND(f, g, h, a, b, c, d, e, 3);
            SHA512_ROUND(e, f, g, h, a, b, c, d, 4);
            SHA512_ROUND(d, e, f, g, h, a, b, c, 5);
            SHA512_ROUND(c, d, e, f, g, h, a, b, 6);
            SHA512_ROUND(b, c, d, e, f, g, h, a, 7);
            SHA512_ROUND(a, b, c, d, e, f, g, h, 8);
            SHA512_ROUND(h, a, b, c, d, e, f, g, 9);
            SHA512_ROUND(g, h, a, b, c, d, e, f, 10);
            SHA512_ROUND(f, g, h, a, b, c, d, e, 11);
            SHA512_ROUND(e, f, g, h, a, b, c, d, 12);
            SHA512_ROUND(d, e, f, g, h, a, b, c, 13);
            SHA512_ROUND(c, d, e, f, g, h, a, b, 14);
            SHA512_ROUND(b, c, d, e, f, g, h, a, 15);
        }
#undef SHA512_ROUND
        state[0] += a, state[1] += b, state[2] += c, state[3] += d;
        state[4] += e, state[5] += f, state[6] += g, state[7] += h;
    }
}
