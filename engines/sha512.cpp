// SHA-512 and its variants, FIPS 180-4 sections 6.4 to 6.7: 1024-bit blocks, 64-bit words, the
// schedule kept as a rolling window of sixteen words. Also the SHA-2 width front, which forwards
// to this engine or to SHA-256 by digest length.
#include "sha512.h"

#include <cstring>

#include "block_feed.h"
#include "bytes.h"
#include "cpu.h"
#include "sha2.h"
#include "sha512_round.h"

namespace {

// Sections 5.3.4 to 5.3.6.
constexpr uint64_t kInitial384[8] = {0xcbbb9d5dc1059ed8, 0x629a292a367cd507, 0x9159015a3070dd17,
                                     0x152fecd8f70e5939, 0x67332667ffc00b31, 0x8eb44a8768581511,
                                     0xdb0c2e0d64f98fa7, 0x47b5481dbefa4fa4};
constexpr uint64_t kInitial512[8] = {0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b,
                                     0xa54ff53a5f1d36f1, 0x510e527fade682d1, 0x9b05688c2b3e6c1f,
                                     0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};
constexpr uint64_t kInitial512t224[8] = {0x8c3d37c819544da2, 0x73e1996689dcd4d6, 0x1dfab7ae32ff9c82,
                                         0x679dd514582f9fcf, 0x0f6d2b697bd44da8, 0x77e36f7304c48942,
                                         0x3f9d85a86a1d36c8, 0x1112e6ad91d692a1};
constexpr uint64_t kInitial512t256[8] = {0x22312194fc2bf72c, 0x9f555fa3c84c64c2, 0x2393b86b6f53b151,
                                         0x963877195940eabd, 0x96283ee2a88effe3, 0xbe5e1e2553863992,
                                         0x2b0199fc2c85b8aa, 0x0eb72ddc81c52ca2};

// Indexed by the pending byte count modulo 8, applied to a word already in native order.
constexpr uint64_t kKeepMask[8] = {0x0000000000000000, 0xFF00000000000000, 0xFFFF000000000000,
                                   0xFFFFFF0000000000, 0xFFFFFFFF00000000, 0xFFFFFFFFFF000000,
                                   0xFFFFFFFFFFFF0000, 0xFFFFFFFFFFFFFF00};
constexpr uint64_t kMarker[8] = {0x8000000000000000, 0x0080000000000000, 0x0000800000000000,
                                 0x0000008000000000, 0x0000000080000000, 0x0000000000800000,
                                 0x0000000000008000, 0x0000000000000080};

void ConvertBlock(uint64_t* block, uint64_t words) {
    for (uint64_t k = 0; k < words; ++k) block[k] = FromBe64(block[k]);
}

}  // namespace

int Sha512Init(uint32_t digestLength, Sha512Context* context) {
    const uint64_t* initial = nullptr;
    if (digestLength == 28) initial = kInitial512t224;
    if (digestLength == 32) initial = kInitial512t256;
    if (digestLength == 48) initial = kInitial384;
    if (digestLength == 64) initial = kInitial512;
    if (initial == nullptr) return 1;
    context->byteCount[0] = 0;
    context->byteCount[1] = 0;
    std::memcpy(context->state, initial, sizeof context->state);
    return 0;
}

void Sha512Update(const uint8_t* data, uint32_t length, Sha512Context* context) {
    const auto pos = static_cast<uint32_t>(context->byteCount[0] & 127);
    context->byteCount[0] += length;
    if (context->byteCount[0] < length) ++context->byteCount[1];
    // The block stays raw bytes between calls, as the final step expects.
    const auto blocks = ActiveCpuDispatch().sha512Blocks;
    FeedBlocks<128>(blocks != nullptr ? blocks : Sha512BlocksPortable, context->state,
                    reinterpret_cast<uint8_t*>(context->block), pos, data, length);
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
    Sha512Rounds(context->state, context->block);
}

void Sha512BlocksPortable(uint64_t* state, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 128) {
        uint64_t w[16];
        for (int t = 0; t < 16; ++t) w[t] = LoadBe64(data + 8 * t);
        Sha512Rounds(state, w);
    }
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
            Sha512Init(48, &context->engine.sha512);
            context->digestLength = 48;
            return 0;
        case 512:
        case 64:
            Sha512Init(64, &context->engine.sha512);
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
