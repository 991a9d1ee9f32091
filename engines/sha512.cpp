// SHA-384 and SHA-512, FIPS 180-2 sections 6.3 and 6.4: 1024-bit blocks, 64-bit words, the
// schedule kept as a rolling window of sixteen words inside the block buffer. Also the SHA-2
// width front, which forwards to this engine or to SHA-256 by digest length.
#include "sha512.h"

#include <cstring>

#include "block_feed.h"
#include "bytes.h"
#include "cpu.h"
#include "sha2.h"

namespace {

constexpr uint64_t kK[80] = {
    0x428a2f98d728ae22, 0x7137449123ef65cd, 0xb5c0fbcfec4d3b2f, 0xe9b5dba58189dbbc,
    0x3956c25bf348b538, 0x59f111f1b605d019, 0x923f82a4af194f9b, 0xab1c5ed5da6d8118,
    0xd807aa98a3030242, 0x12835b0145706fbe, 0x243185be4ee4b28c, 0x550c7dc3d5ffb4e2,
    0x72be5d74f27b896f, 0x80deb1fe3b1696b1, 0x9bdc06a725c71235, 0xc19bf174cf692694,
    0xe49b69c19ef14ad2, 0xefbe4786384f25e3, 0x0fc19dc68b8cd5b5, 0x240ca1cc77ac9c65,
    0x2de92c6f592b0275, 0x4a7484aa6ea6e483, 0x5cb0a9dcbd41fbd4, 0x76f988da831153b5,
    0x983e5152ee66dfab, 0xa831c66d2db43210, 0xb00327c898fb213f, 0xbf597fc7beef0ee4,
    0xc6e00bf33da88fc2, 0xd5a79147930aa725, 0x06ca6351e003826f, 0x142929670a0e6e70,
    0x27b70a8546d22ffc, 0x2e1b21385c26c926, 0x4d2c6dfc5ac42aed, 0x53380d139d95b3df,
    0x650a73548baf63de, 0x766a0abb3c77b2a8, 0x81c2c92e47edaee6, 0x92722c851482353b,
    0xa2bfe8a14cf10364, 0xa81a664bbc423001, 0xc24b8b70d0f89791, 0xc76c51a30654be30,
    0xd192e819d6ef5218, 0xd69906245565a910, 0xf40e35855771202a, 0x106aa07032bbd1b8,
    0x19a4c116b8d2d0c8, 0x1e376c085141ab53, 0x2748774cdf8eeb99, 0x34b0bcb5e19b48a8,
    0x391c0cb3c5c95a63, 0x4ed8aa4ae3418acb, 0x5b9cca4f7763e373, 0x682e6ff3d6b2b8a3,
    0x748f82ee5defb2fc, 0x78a5636f43172f60, 0x84c87814a1f0ab72, 0x8cc702081a6439ec,
    0x90befffa23631e28, 0xa4506cebde82bde9, 0xbef9a3f7b2c67915, 0xc67178f2e372532b,
    0xca273eceea26619c, 0xd186b8c721c0c207, 0xeada7dd6cde0eb1e, 0xf57d4f7fee6ed178,
    0x06f067aa72176fba, 0x0a637dc5a2c898a6, 0x113f9804bef90dae, 0x1b710b35131c471b,
    0x28db77f523047d84, 0x32caab7b40c72493, 0x3c9ebe0a15c9bebc, 0x431d67c49c100d4c,
    0x4cc5d4becb3e42b6, 0x597f299cfc657e2a, 0x5fcb6fab3ad6faec, 0x6c44198c4a475817};

constexpr uint64_t kInitial384[8] = {0xcbbb9d5dc1059ed8, 0x629a292a367cd507, 0x9159015a3070dd17,
                                     0x152fecd8f70e5939, 0x67332667ffc00b31, 0x8eb44a8768581511,
                                     0xdb0c2e0d64f98fa7, 0x47b5481dbefa4fa4};
constexpr uint64_t kInitial512[8] = {0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b,
                                     0xa54ff53a5f1d36f1, 0x510e527fade682d1, 0x9b05688c2b3e6c1f,
                                     0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};

// Indexed by the pending byte count modulo 8, applied to a word already in native order.
constexpr uint64_t kKeepMask[8] = {0x0000000000000000, 0xFF00000000000000, 0xFFFF000000000000,
                                   0xFFFFFF0000000000, 0xFFFFFFFF00000000, 0xFFFFFFFFFF000000,
                                   0xFFFFFFFFFFFF0000, 0xFFFFFFFFFFFFFF00};
constexpr uint64_t kMarker[8] = {0x8000000000000000, 0x0080000000000000, 0x0000800000000000,
                                 0x0000008000000000, 0x0000000080000000, 0x0000000000800000,
                                 0x0000000000008000, 0x0000000000000080};

inline uint64_t BigSigma0(uint64_t x) {
    return Rotr64(x, 28) ^ Rotr64(x, 34) ^ Rotr64(x, 39);
}
inline uint64_t BigSigma1(uint64_t x) {
    return Rotr64(x, 14) ^ Rotr64(x, 18) ^ Rotr64(x, 41);
}
inline uint64_t SmallSigma0(uint64_t x) {
    return Rotr64(x, 1) ^ Rotr64(x, 8) ^ (x >> 7);
}
inline uint64_t SmallSigma1(uint64_t x) {
    return Rotr64(x, 19) ^ Rotr64(x, 61) ^ (x >> 6);
}

void ConvertBlock(uint64_t* block, uint64_t words) {
    for (uint64_t k = 0; k < words; ++k) block[k] = FromBe64(block[k]);
}

void Sha512Start(Sha512Context* context, const uint64_t* initial) {
    context->byteCount[0] = 0;
    context->byteCount[1] = 0;
    std::memcpy(context->state, initial, sizeof context->state);
}

}  // namespace

void Sha512Update(const uint8_t* data, uint32_t length, Sha512Context* context) {
    auto* bytes = reinterpret_cast<uint8_t*>(context->block);
    uint32_t pos = static_cast<uint32_t>(context->byteCount[0] & 127);
    uint32_t space = 128 - pos;
    context->byteCount[0] += length;
    if (context->byteCount[0] < length) ++context->byteCount[1];
    // With an accelerated block function the block stays raw bytes, as the final step expects.
    if (const auto blocks = ActiveCpuDispatch().sha512Blocks) {
        FeedBlocks<128>(blocks, context->state, bytes, pos, data, length);
        return;
    }
    while (length >= space) {
        std::memcpy(bytes + pos, data, space);
        data += space;
        length -= space;
        ConvertBlock(context->block, 16);
        Sha512Compress(context);
        pos = 0;
        space = 128;
    }
    if (length != 0) std::memcpy(bytes + pos, data, length);
}

void Sha512Final(uint8_t* digest, uint32_t length, Sha512Context* context) {
    uint64_t* w = context->block;
    const uint64_t i = context->byteCount[0] & 127;
    ConvertBlock(w, (i + 7) / 8);
    w[i / 8] = (w[i / 8] & kKeepMask[i % 8]) | kMarker[i % 8];
    if (i > 111) {
        if (i < 120) w[15] = 0;
        Sha512Compress(context);
        for (uint64_t k = 0; k < 14; ++k) w[k] = 0;
    } else {
        for (uint64_t k = i / 8 + 1; k < 14; ++k) w[k] = 0;
    }
    w[14] = (context->byteCount[1] << 3) | (context->byteCount[0] >> 61);
    w[15] = context->byteCount[0] << 3;
    Sha512Compress(context);
    uint8_t serial[64];
    for (int k = 0; k < 8; ++k) StoreBe64(serial + 8 * k, context->state[k]);
    std::memcpy(digest, serial, length < 64 ? length : 64);
}

void Sha512Compress(Sha512Context* context) {
    uint64_t* w = context->block;
    uint64_t a = context->state[0], b = context->state[1], c = context->state[2],
             d = context->state[3], e = context->state[4], f = context->state[5],
             g = context->state[6], h = context->state[7];

// Step j of a pass, the eight variables renamed instead of moved.
#define SHA512_STEP(a, b, c, d, e, f, g, h, j)                                                  \
    do {                                                                                        \
        if (pass != 0)                                                                          \
            w[j] +=                                                                             \
                SmallSigma1(w[(j + 14) & 15]) + w[(j + 9) & 15] + SmallSigma0(w[(j + 1) & 15]); \
        const uint64_t t1 = h + BigSigma1(e) + ((e & f) ^ (~e & g)) + kK[16 * pass + j] + w[j]; \
        d += t1;                                                                                \
        h = t1 + BigSigma0(a) + ((a & b) ^ (a & c) ^ (b & c));                                  \
    } while (0)

    for (int pass = 0; pass < 5; ++pass) {
        SHA512_STEP(a, b, c, d, e, f, g, h, 0);
        SHA512_STEP(h, a, b, c, d, e, f, g, 1);
        SHA512_STEP(g, h, a, b, c, d, e, f, 2);
        SHA512_STEP(f, g, h, a, b, c, d, e, 3);
        SHA512_STEP(e, f, g, h, a, b, c, d, 4);
        SHA512_STEP(d, e, f, g, h, a, b, c, 5);
        SHA512_STEP(c, d, e, f, g, h, a, b, 6);
        SHA512_STEP(b, c, d, e, f, g, h, a, 7);
        SHA512_STEP(a, b, c, d, e, f, g, h, 8);
        SHA512_STEP(h, a, b, c, d, e, f, g, 9);
        SHA512_STEP(g, h, a, b, c, d, e, f, 10);
        SHA512_STEP(f, g, h, a, b, c, d, e, 11);
        SHA512_STEP(e, f, g, h, a, b, c, d, 12);
        SHA512_STEP(d, e, f, g, h, a, b, c, 13);
        SHA512_STEP(c, d, e, f, g, h, a, b, 14);
        SHA512_STEP(b, c, d, e, f, g, h, a, 15);
    }
#undef SHA512_STEP
    context->state[0] += a;
    context->state[1] += b;
    context->state[2] += c;
    context->state[3] += d;
    context->state[4] += e;
    context->state[5] += f;
    context->state[6] += g;
    context->state[7] += h;
}

int Sha2Init(uint32_t width, Sha2Context* context) {
    switch (width) {
        case 256:
        case 32:
            Sha256Init(&context->engine.sha256);
            context->digestLength = 32;
            return 0;
        case 384:
        case 48:
            Sha512Start(&context->engine.sha512, kInitial384);
            context->digestLength = 48;
            return 0;
        case 512:
        case 64:
            Sha512Start(&context->engine.sha512, kInitial512);
            context->digestLength = 64;
            return 0;
        default:
            return 1;
    }
}

void Sha2Update(const uint8_t* data, uint32_t length, Sha2Context* context) {
    if (context->digestLength == 32)
        Sha256Update(data, length, &context->engine.sha256);
    else if (context->digestLength == 48 || context->digestLength == 64)
        Sha512Update(data, length, &context->engine.sha512);
}

void Sha2Final(uint8_t* digest, Sha2Context* context) {
    if (context->digestLength == 32)
        Sha256Final(digest, &context->engine.sha256);
    else if (context->digestLength == 48 || context->digestLength == 64)
        Sha512Final(digest, context->digestLength, &context->engine.sha512);
}
