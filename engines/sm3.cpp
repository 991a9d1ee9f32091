// SM3, GB/T 32905-2016 section 5: SHA-256's padding and 512-bit blocks, a 68-word expansion and
// 64 rounds whose eight variables are renamed from round to round instead of moved.
#include "sm3.h"

#include <array>
#include <cstring>

#include "block_feed.h"
#include "bytes.h"

namespace {

constexpr uint32_t kInitial[8] = {0x7380166f, 0x4914b2b9, 0x172442d7, 0xda8a0600,
                                  0xa96f30bc, 0x163138aa, 0xe38dee4d, 0xb0fb0e4e};

// T_j rotated left by j mod 32, as each round adds it.
constexpr std::array<uint32_t, 64> kRoundConstant = [] {
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

}  // namespace

void Sm3Blocks(uint32_t* state, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        uint32_t w[68];
        for (int j = 0; j < 16; ++j) w[j] = LoadBe32(data + 4 * j);
        uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4], f = state[5],
                 g = state[6], h = state[7];

// Round j writes the new A into d and the new E into h and rotates B and F in place; the caller
// renames (A..H) to (D, A, B, C, H, E, F, G) for the next round. FF and GG are the standard's for
// rounds 0-15 (parity) and 16-63 (majority, choice). The round also expands the word that round
// j + 4 is the first to need: the rounds' chain leaves the processor idle units that take the
// expansion in its shadow: faster than expanding all 68 words first (corvane_bench, sm3 rows).
#define SM3_ROUND(a, b, c, d, e, f, g, h, j, ff, gg)                                               \
    do {                                                                                           \
        if ((j) >= 12)                                                                             \
            w[(j) + 4] = P1(w[(j)-12] ^ w[(j)-5] ^ Rotl32(w[(j) + 1], 15)) ^ Rotl32(w[(j)-9], 7) ^ \
                         w[(j)-2];                                                                 \
        const uint32_t a12 = Rotl32(a, 12);                                                        \
        const uint32_t ss1 = Rotl32(a12 + e + kRoundConstant[j], 7);                               \
        d += (ff) + (ss1 ^ a12) + (w[j] ^ w[(j) + 4]);                                             \
        h = P0((gg) + h + ss1 + w[j]);                                                             \
        b = Rotl32(b, 9);                                                                          \
        f = Rotl32(f, 19);                                                                         \
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
}

void Sm3Init(Sm3Context* context) {
    context->byteCount[0] = 0;
    context->byteCount[1] = 0;
    std::memcpy(context->state, kInitial, sizeof kInitial);
}

void Sm3Update(const uint8_t* data, uint32_t length, Sm3Context* context) {
    const uint32_t pos = context->byteCount[0] & 63;
    context->byteCount[0] += length;
    if (context->byteCount[0] < length) ++context->byteCount[1];
    FeedBlocks<64>(Sm3Blocks, context->state, context->block, pos, data, length);
}

void Sm3Final(uint8_t* digest, Sm3Context* context) {
    // Padding of section 5.2: a one bit, zeros, the bit length as a 64-bit big-endian number.
    const uint32_t pos = context->byteCount[0] & 63;
    context->block[pos] = 0x80;
    std::memset(context->block + pos + 1, 0, 63 - pos);
    if (pos >= 56) {
        Sm3Blocks(context->state, context->block, 1);
        std::memset(context->block, 0, 56);
    }
    StoreBe32(context->block + 56, (context->byteCount[1] << 3) | (context->byteCount[0] >> 29));
    StoreBe32(context->block + 60, context->byteCount[0] << 3);
    Sm3Blocks(context->state, context->block, 1);
    for (int k = 0; k < 8; ++k) StoreBe32(digest + 4 * k, context->state[k]);
}
