// SHA-1, FIPS 180-2 section 6.1: 512-bit blocks, 80-word schedule, four step functions.
#include "sha1.h"

#include <cstring>

#include "block_feed.h"
#include "bytes.h"
#include "cpu.h"

namespace {

// Indexed by the pending byte count modulo 4; applied to a group read as a little-endian word.
constexpr uint32_t kKeepMask[4] = {0x00000000, 0x000000FF, 0x0000FFFF, 0x00FFFFFF};
constexpr uint32_t kMarker[4] = {0x00000080, 0x00008000, 0x00800000, 0x80000000};

inline uint32_t Group(const Sha1Context* c, uint32_t g) {
    return LoadLe32(c->block + 4 * g);
}
inline void SetGroup(Sha1Context* c, uint32_t g, uint32_t v) {
    StoreLe32(c->block + 4 * g, v);
}

}  // namespace

void Sha1Init(Sha1Context* context) {
    context->byteCount[0] = 0;
    context->byteCount[1] = 0;
    context->state[0] = 0x67452301;
    context->state[1] = 0xEFCDAB89;
    context->state[2] = 0x98BADCFE;
    context->state[3] = 0x10325476;
    context->state[4] = 0xC3D2E1F0;
}

void Sha1Update(const uint8_t* data, uint32_t length, Sha1Context* context) {
    const uint32_t pos = context->byteCount[0] & 63;
    context->byteCount[0] += length;
    if (context->byteCount[0] < length) ++context->byteCount[1];
    const auto blocks = ActiveCpuDispatch().sha1Blocks;
    FeedBlocks<64>(blocks != nullptr ? blocks : Sha1BlocksPortable, context->state, context->block,
                   pos, data, length);
}

void Sha1Final(uint8_t* digest, Sha1Context* context) {
    const uint32_t i = context->byteCount[0] & 63;
    SetGroup(context, i / 4, (Group(context, i / 4) & kKeepMask[i % 4]) | kMarker[i % 4]);
    if (i > 55) {
        if (i < 60) SetGroup(context, 15, 0);
        Sha1Compress(context);
        for (uint32_t g = 0; g < 14; ++g) SetGroup(context, g, 0);
    } else {
        for (uint32_t g = i / 4 + 1; g < 14; ++g) SetGroup(context, g, 0);
    }
    StoreBe32(context->block + 56, (context->byteCount[1] << 3) | (context->byteCount[0] >> 29));
    StoreBe32(context->block + 60, context->byteCount[0] << 3);
    Sha1Compress(context);
    for (int k = 0; k < 5; ++k) StoreBe32(digest + 4 * k, context->state[k]);
}

void Sha1Compress(Sha1Context* context) {
    Sha1BlocksPortable(context->state, context->block, 1);
}

void Sha1BlocksPortable(uint32_t* state, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        uint32_t w[80];
        for (int t = 0; t < 16; t += 4) {
            w[t] = LoadBe32(data + 4 * t);
            w[t + 1] = LoadBe32(data + 4 * t + 4);
            w[t + 2] = LoadBe32(data + 4 * t + 8);
            w[t + 3] = LoadBe32(data + 4 * t + 12);
        }
        for (int t = 16; t < 80; t += 4) {
            w[t] = Rotl32(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
            w[t + 1] = Rotl32(w[t - 2] ^ w[t - 7] ^ w[t - 13] ^ w[t - 15], 1);
            w[t + 2] = Rotl32(w[t - 1] ^ w[t - 6] ^ w[t - 12] ^ w[t - 14], 1);
            w[t + 3] = Rotl32(w[t] ^ w[t - 5] ^ w[t - 11] ^ w[t - 13], 1);
        }
        uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];

// One step with the variables renamed: the caller rotates the names, not the values.
#define SHA1_STEP(f, k, a, b, c, d, e, t)     \
    do {                                      \
        e += Rotl32(a, 5) + (f) + (k) + w[t]; \
        b = Rotl32(b, 30);                    \
    } while (0)
#define SHA1_FIVE(f, k, t)                          \
    SHA1_STEP(f(b, c, d), k, a, b, c, d, e, t);     \
    SHA1_STEP(f(a, b, c), k, e, a, b, c, d, t + 1); \
    SHA1_STEP(f(e, a, b), k, d, e, a, b, c, t + 2); \
    SHA1_STEP(f(d, e, a), k, c, d, e, a, b, t + 3); \
    SHA1_STEP(f(c, d, e), k, b, c, d, e, a, t + 4)
#define CH(x, y, z) (((x) & (y)) | (~(x) & (z)))
#define PARITY(x, y, z) ((x) ^ (y) ^ (z))
#define MAJ(x, y, z) (((x) & (y)) | ((x) & (z)) | ((y) & (z)))

        for (int t = 0; t < 20; t += 5) {
            SHA1_FIVE(CH, 0x5A827999u, t);
        }
        for (int t = 20; t < 40; t += 5) {
            SHA1_FIVE(PARITY, 0x6ED9EBA1u, t);
        }
        for (int t = 40; t < 60; t += 5) {
            SHA1_FIVE(MAJ, 0x8F1BBCDCu, t);
        }
        for (int t = 60; t < 80; t += 5) {
            SHA1_FIVE(PARITY, 0xCA62C1D6u, t);
        }

#undef SHA1_STEP
#undef SHA1_FIVE
#undef CH
#undef PARITY
#undef MAJ
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
    }
}
