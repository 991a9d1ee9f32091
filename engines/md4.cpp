// MD4 message digest of RFC 1320.
#include "md4.h"

#include <cstring>

#include "bytes.h"

namespace {

constexpr uint8_t kPadding[64] = {0x80};

enum Function { F, G, H };

// One step: a = (a + f(b, c, d) + x + k) <<< s. b is the value the previous step produced, so
// what does not wait for it is added first: F(b,c,d) = d ^ (b & (c ^ d)); the majority G is
// (c & d) + (b & (c ^ d)), two halves that never overlap; H = b ^ (c ^ d).
template <Function f>
inline void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, int s, uint32_t k) {
    uint32_t t = a + x + k;
    if constexpr (f == F) t += d ^ (b & (c ^ d));
    if constexpr (f == G) t += (c & d), t += b & (c ^ d);
    if constexpr (f == H) t += b ^ (c ^ d);
    a = Rotl32(t, s);
}

}  // namespace

void Md4Init(Md4Context* context) {
    context->bitCount[0] = 0;
    context->bitCount[1] = 0;
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
}

void Md4Update(Md4Context* context, const uint8_t* data, uint32_t length) {
    uint32_t index = (context->bitCount[0] >> 3) & 63;

    const uint32_t bits = length << 3;
    context->bitCount[0] += bits;
    if (context->bitCount[0] < bits) ++context->bitCount[1];
    context->bitCount[1] += length >> 29;

    const uint32_t part = 64 - index;
    uint32_t i = 0;
    if (length >= part) {
        // Complete the buffered block, then compress whole blocks straight from the caller.
        std::memcpy(context->buffer + index, data, part);
        Md4Compress(context->state, context->buffer);
        for (i = part; length - i >= 64; i += 64) Md4Compress(context->state, data + i);
        index = 0;
    }
    if (length != i) std::memcpy(context->buffer + index, data + i, length - i);
}

void Md4Final(uint8_t* digest, Md4Context* context) {
    // The length field is the message length before padding.
    uint8_t lengthBytes[8];
    Md4Encode(lengthBytes, context->bitCount, 8);

    const uint32_t index = (context->bitCount[0] >> 3) & 63;
    Md4Update(context, kPadding, index < 56 ? 56 - index : 120 - index);
    Md4Update(context, lengthBytes, 8);

    Md4Encode(digest, context->state, 16);
    std::memset(context, 0, sizeof *context);
}

void Md4Compress(uint32_t* state, const uint8_t* block) {
    uint32_t x[16];
    Md4Decode(x, block, 64);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

    Step<F>(a, b, c, d, x[0], 3, 0);
    Step<F>(d, a, b, c, x[1], 7, 0);
    Step<F>(c, d, a, b, x[2], 11, 0);
    Step<F>(b, c, d, a, x[3], 19, 0);
    Step<F>(a, b, c, d, x[4], 3, 0);
    Step<F>(d, a, b, c, x[5], 7, 0);
    Step<F>(c, d, a, b, x[6], 11, 0);
    Step<F>(b, c, d, a, x[7], 19, 0);
    Step<F>(a, b, c, d, x[8], 3, 0);
    Step<F>(d, a, b, c, x[9], 7, 0);
    Step<F>(c, d, a, b, x[10], 11, 0);
    Step<F>(b, c, d, a, x[11], 19, 0);
    Step<F>(a, b, c, d, x[12], 3, 0);
    Step<F>(d, a, b, c, x[13], 7, 0);
    Step<F>(c, d, a, b, x[14], 11, 0);
    Step<F>(b, c, d, a, x[15], 19, 0);

    Step<G>(a, b, c, d, x[0], 3, 0x5a827999);
    Step<G>(d, a, b, c, x[4], 5, 0x5a827999);
    Step<G>(c, d, a, b, x[8], 9, 0x5a827999);
    Step<G>(b, c, d, a, x[12], 13, 0x5a827999);
    Step<G>(a, b, c, d, x[1], 3, 0x5a827999);
    Step<G>(d, a, b, c, x[5], 5, 0x5a827999);
    Step<G>(c, d, a, b, x[9], 9, 0x5a827999);
    Step<G>(b, c, d, a, x[13], 13, 0x5a827999);
    Step<G>(a, b, c, d, x[2], 3, 0x5a827999);
    Step<G>(d, a, b, c, x[6], 5, 0x5a827999);
    Step<G>(c, d, a, b, x[10], 9, 0x5a827999);
    Step<G>(b, c, d, a, x[14], 13, 0x5a827999);
    Step<G>(a, b, c, d, x[3], 3, 0x5a827999);
    Step<G>(d, a, b, c, x[7], 5, 0x5a827999);
    Step<G>(c, d, a, b, x[11], 9, 0x5a827999);
    Step<G>(b, c, d, a, x[15], 13, 0x5a827999);

    Step<H>(a, b, c, d, x[0], 3, 0x6ed9eba1);
    Step<H>(d, a, b, c, x[8], 9, 0x6ed9eba1);
    Step<H>(c, d, a, b, x[4], 11, 0x6ed9eba1);
    Step<H>(b, c, d, a, x[12], 15, 0x6ed9eba1);
    Step<H>(a, b, c, d, x[2], 3, 0x6ed9eba1);
    Step<H>(d, a, b, c, x[10], 9, 0x6ed9eba1);
    Step<H>(c, d, a, b, x[6], 11, 0x6ed9eba1);
    Step<H>(b, c, d, a, x[14], 15, 0x6ed9eba1);
    Step<H>(a, b, c, d, x[1], 3, 0x6ed9eba1);
    Step<H>(d, a, b, c, x[9], 9, 0x6ed9eba1);
    Step<H>(c, d, a, b, x[5], 11, 0x6ed9eba1);
    Step<H>(b, c, d, a, x[13], 15, 0x6ed9eba1);
    Step<H>(a, b, c, d, x[3], 3, 0x6ed9eba1);
    Step<H>(d, a, b, c, x[11], 9, 0x6ed9eba1);
    Step<H>(c, d, a, b, x[7], 11, 0x6ed9eba1);
    Step<H>(b, c, d, a, x[15], 15, 0x6ed9eba1);

    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

void Md4Encode(uint8_t* output, const uint32_t* input, uint32_t length) {
    for (uint32_t k = 0; k < length / 4; ++k) StoreLe32(output + 4 * k, input[k]);
}

void Md4Decode(uint32_t* output, const uint8_t* input, uint32_t length) {
    for (uint32_t k = 0; k < length / 4; ++k) output[k] = LoadLe32(input + 4 * k);
}
