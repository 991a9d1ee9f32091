// SHA-256 and SHA-224, FIPS 180-4 sections 6.2 and 6.3: 512-bit blocks, the schedule kept as a
// rolling window of sixteen words.
#include "sha256.h"

#include <cstring>

#include "block_feed.h"
#include "bytes.h"
#include "cpu.h"
#include "sha2_constants.h"

namespace {

constexpr uint32_t kInitial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                  0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
// Section 5.3.2.
constexpr uint32_t kInitial224[8] = {0xc1059ed8, 0x367cd507, 0x3070dd17, 0xf70e5939,
                                     0xffc00b31, 0x68581511, 0x64f98fa7, 0xbefa4fa4};

// Indexed by the pending byte count modulo 4, applied to a word already in native order.
constexpr uint32_t kKeepMask[4] = {0x00000000, 0xFF000000, 0xFFFF0000, 0xFFFFFF00};
constexpr uint32_t kMarker[4] = {0x80000000, 0x00800000, 0x00008000, 0x00000080};

inline uint32_t BigSigma0(uint32_t x) {
    return Rotr32(x, 2) ^ Rotr32(x, 13) ^ Rotr32(x, 22);
}
inline uint32_t BigSigma1(uint32_t x) {
    return Rotr32(x, 6) ^ Rotr32(x, 11) ^ Rotr32(x, 25);
}
inline uint32_t SmallSigma0(uint32_t x) {
    return Rotr32(x, 7) ^ Rotr32(x, 18) ^ (x >> 3);
}
inline uint32_t SmallSigma1(uint32_t x) {
    return Rotr32(x, 17) ^ Rotr32(x, 19) ^ (x >> 10);
}

void ConvertBlock(uint32_t* block, uint32_t words) {
    for (uint32_t k = 0; k < words; ++k) block[k] = FromBe32(block[k]);
}

// The 64 rounds over sixteen native words `w` (overwritten by the schedule), added into `state`.
__attribute__((always_inline)) inline void Rounds(uint32_t* state, uint32_t* w) {
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4], f = state[5],
             g = state[6], h = state[7];

// Step j of a pass, the eight variables renamed instead of moved.
#define SHA256_STEP(a, b, c, d, e, f, g, h, j)                                                  \
    do {                                                                                        \
        if (pass != 0)                                                                          \
            w[j] +=                                                                             \
                SmallSigma1(w[(j + 14) & 15]) + w[(j + 9) & 15] + SmallSigma0(w[(j + 1) & 15]); \
        const uint32_t t1 =                                                                     \
            h + BigSigma1(e) + ((e & f) ^ (~e & g)) + kSha256Round[16 * pass + j] + w[j];       \
        d += t1;                                                                                \
        h = t1 + BigSigma0(a) + ((a & b) ^ (a & c) ^ (b & c));                                  \
    } while (0)

    for (int pass = 0; pass < 4; ++pass) {
        SHA256_STEP(a, b, c, d, e, f, g, h, 0);
        SHA256_STEP(h, a, b, c, d, e, f, g, 1);
        SHA256_STEP(g, h, a, b, c, d, e, f, 2);
        SHA256_STEP(f, g, h, a, b, c, d, e, 3);
        SHA256_STEP(e, f, g, h, a, b, c, d, 4);
        SHA256_STEP(d, e, f, g, h, a, b, c, 5);
        SHA256_STEP(c, d, e, f, g, h, a, b, 6);
        SHA256_STEP(b, c, d, e, f, g, h, a, 7);
        SHA256_STEP(a, b, c, d, e, f, g, h, 8);
        SHA256_STEP(h, a, b, c, d, e, f, g, 9);
        SHA256_STEP(g, h, a, b, c, d, e, f, 10);
        SHA256_STEP(f, g, h, a, b, c, d, e, 11);
        SHA256_STEP(e, f, g, h, a, b, c, d, 12);
        SHA256_STEP(d, e, f, g, h, a, b, c, 13);
        SHA256_STEP(c, d, e, f, g, h, a, b, 14);
        SHA256_STEP(b, c, d, e, f, g, h, a, 15);
    }
#undef SHA256_STEP
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

void Pad(Sha256Context* context) {
    uint32_t* w = context->block;
    const uint32_t i = context->byteCount[0] & 63;
    ConvertBlock(w, (i + 3) / 4);
    w[i / 4] = (w[i / 4] & kKeepMask[i % 4]) | kMarker[i % 4];
    if (i > 55) {
        if (i < 60) w[15] = 0;
        Sha256Compress(context);
        for (uint32_t k = 0; k < 14; ++k) w[k] = 0;
    } else {
        for (uint32_t k = i / 4 + 1; k < 14; ++k) w[k] = 0;
    }
    w[14] = (context->byteCount[1] << 3) | (context->byteCount[0] >> 29);
    w[15] = context->byteCount[0] << 3;
    Sha256Compress(context);
}

}  // namespace

void Sha256Init(Sha256Context* context) {
    context->byteCount[0] = 0;
    context->byteCount[1] = 0;
    std::memcpy(context->state, kInitial, sizeof kInitial);
}

void Sha256Update(const uint8_t* data, uint32_t length, Sha256Context* context) {
    const uint32_t pos = context->byteCount[0] & 63;
    context->byteCount[0] += length;
    if (context->byteCount[0] < length) ++context->byteCount[1];
    // The block stays raw bytes between calls, as the final step expects.
    const auto blocks = ActiveCpuDispatch().sha256Blocks;
    FeedBlocks<64>(blocks != nullptr ? blocks : Sha256BlocksPortable, context->state,
                   reinterpret_cast<uint8_t*>(context->block), pos, data, length);
}

void Sha224Init(Sha256Context* context) {
    Sha256Init(context);
    std::memcpy(context->state, kInitial224, sizeof kInitial224);
}

void Sha256Final(uint8_t* digest, Sha256Context* context) {
    Pad(context);
    for (int k = 0; k < 8; ++k) StoreBe32(digest + 4 * k, context->state[k]);
}

void Sha224Final(uint8_t* digest, Sha256Context* context) {
    Pad(context);
    for (int k = 0; k < 7; ++k) StoreBe32(digest + 4 * k, context->state[k]);
}

void Sha256Compress(Sha256Context* context) {
    Rounds(context->state, context->block);
}

void Sha256BlocksPortable(uint32_t* state, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        uint32_t w[16];
        for (int t = 0; t < 16; ++t) w[t] = LoadBe32(data + 4 * t);
        Rounds(state, w);
    }
}
