// GOST R 34.11-94 hash function with the S-box set of the standard's worked examples (the test
// parameter set) or CryptoPro's. The block cipher inside the step function is GOST 28147-89 in its
// basic mode.
#include "gost.h"

#include <array>
#include <cstring>

#include "bytes.h"
#include "cpu.h"
#include "gost_tables.h"

namespace {

constexpr uint32_t kC3[8] = {0xff00ff00, 0xff00ff00, 0x00ff00ff, 0x00ff00ff,
                             0x00ffff00, 0xff0000ff, 0x000000ff, 0xff00ffff};

inline uint32_t F(const GostRoundTables& t, uint32_t x) {
    return t[0][x & 255] ^ t[1][(x >> 8) & 255] ^ t[2][(x >> 16) & 255] ^ t[3][x >> 24];
}

// The four GOST 28147-89 encryptions of a step (basic mode, 32 rounds; the swap of the halves is
// done by alternating which half is updated), interleaved round by round: each alone is a chain
// of 32 dependent rounds, but the four are independent (their keys depend only on the chaining
// value and the block), so running them side by side keeps four chains in flight instead of one.
inline void Encrypt4(const GostRoundTables& t, const uint32_t (*k)[8], const uint32_t* in,
                     uint32_t* out) {
    uint32_t a[4], b[4];
    for (int e = 0; e < 4; ++e) a[e] = in[2 * e], b[e] = in[2 * e + 1];
#pragma GCC unroll 32
    for (int r = 0; r < 32; ++r) {
        const int j = r < 24 ? r % 8 : 31 - r;  // key words 0-7 three times, then 7 down to 0
#pragma GCC unroll 4
        for (int e = 0; e < 4; ++e) {
            if (r % 2 == 0)
                b[e] ^= F(t, a[e] + k[e][j]);
            else
                a[e] ^= F(t, b[e] + k[e][j]);
        }
    }
    for (int e = 0; e < 4; ++e) out[2 * e] = b[e], out[2 * e + 1] = a[e];
}

// A: (y1, y2, y3, y4) to (y2, y3, y4, y1 ^ y2), on 64-bit sub-blocks held as word pairs.
inline void TransformA(uint32_t* y) {
    const uint32_t lo = y[0] ^ y[2], hi = y[1] ^ y[3];
    y[0] = y[2];
    y[1] = y[3];
    y[2] = y[4];
    y[3] = y[5];
    y[4] = y[6];
    y[5] = y[7];
    y[6] = lo;
    y[7] = hi;
}

// P: byte i + 4k of the result is byte 8i + k of the argument.
inline void TransformP(const uint32_t* x, uint32_t* key) {
    // Unrolled, the shifts become constants (rolled, GCC keeps a loop with variable shifts).
#pragma GCC unroll 8
    for (int k = 0; k < 8; ++k) {
        const int shift = 8 * (k & 3);
        const int word = k >> 2;
        key[k] = ((x[word] >> shift) & 0xff) | ((x[2 + word] >> shift) & 0xff) << 8 |
                 ((x[4 + word] >> shift) & 0xff) << 16 | ((x[6 + word] >> shift) & 0xff) << 24;
    }
}

// psi^61(h ^ psi(m ^ psi^12(s))) over sixteen 16-bit pieces (piece 0 least significant), written
// out as the fixed XOR combination those 74 shifts amount to (derived once symbolically).
}  // namespace

void GostMix(const uint32_t* hw, const uint32_t* mw, const uint32_t* sw, uint32_t* out) {
    uint16_t h[16], m[16], s[16], r[16];
    for (int i = 0; i < 8; ++i) {
        h[2 * i] = static_cast<uint16_t>(hw[i]);
        h[2 * i + 1] = static_cast<uint16_t>(hw[i] >> 16);
        m[2 * i] = static_cast<uint16_t>(mw[i]);
        m[2 * i + 1] = static_cast<uint16_t>(mw[i] >> 16);
        s[2 * i] = static_cast<uint16_t>(sw[i]);
        s[2 * i + 1] = static_cast<uint16_t>(sw[i] >> 16);
    }
    r[0] = static_cast<uint16_t>(h[1] ^ h[3] ^ h[7] ^ h[10] ^ h[11] ^ h[13] ^ h[14] ^ h[15] ^ m[0] ^
                                 m[1] ^ m[3] ^ m[4] ^ m[8] ^ m[11] ^ m[14] ^ s[1] ^ s[5] ^ s[6] ^
                                 s[7] ^ s[9] ^ s[10] ^ s[11] ^ s[12] ^ s[13] ^ s[14] ^ s[15]);
    r[1] = static_cast<uint16_t>(h[0] ^ h[1] ^ h[3] ^ h[4] ^ h[8] ^ h[11] ^ h[14] ^ m[1] ^ m[2] ^
                                 m[4] ^ m[5] ^ m[9] ^ m[12] ^ m[15] ^ s[0] ^ s[1] ^ s[3] ^ s[6] ^
                                 s[7] ^ s[8] ^ s[10] ^ s[11] ^ s[13] ^ s[14]);
    r[2] = static_cast<uint16_t>(h[1] ^ h[2] ^ h[4] ^ h[5] ^ h[9] ^ h[12] ^ h[15] ^ m[0] ^ m[1] ^
                                 m[5] ^ m[6] ^ m[10] ^ m[12] ^ m[13] ^ m[15] ^ s[1] ^ s[2] ^ s[4] ^
                                 s[7] ^ s[8] ^ s[9] ^ s[11] ^ s[12] ^ s[14] ^ s[15]);
    r[3] = static_cast<uint16_t>(h[0] ^ h[1] ^ h[5] ^ h[6] ^ h[10] ^ h[12] ^ h[13] ^ h[15] ^ m[0] ^
                                 m[3] ^ m[6] ^ m[7] ^ m[11] ^ m[12] ^ m[13] ^ m[14] ^ m[15] ^ s[0] ^
                                 s[1] ^ s[5] ^ s[8] ^ s[9] ^ s[10] ^ s[13]);
    r[4] = static_cast<uint16_t>(h[0] ^ h[3] ^ h[6] ^ h[7] ^ h[11] ^ h[12] ^ h[13] ^ h[14] ^ h[15] ^
                                 m[0] ^ m[2] ^ m[3] ^ m[4] ^ m[7] ^ m[8] ^ m[13] ^ m[14] ^ s[1] ^
                                 s[2] ^ s[6] ^ s[9] ^ s[10] ^ s[11] ^ s[14]);
    r[5] = static_cast<uint16_t>(h[0] ^ h[2] ^ h[3] ^ h[4] ^ h[7] ^ h[8] ^ h[13] ^ h[14] ^ m[1] ^
                                 m[3] ^ m[4] ^ m[5] ^ m[8] ^ m[9] ^ m[14] ^ m[15] ^ s[2] ^ s[3] ^
                                 s[7] ^ s[10] ^ s[11] ^ s[12] ^ s[15]);
    r[6] = static_cast<uint16_t>(h[1] ^ h[3] ^ h[4] ^ h[5] ^ h[8] ^ h[9] ^ h[14] ^ h[15] ^ m[0] ^
                                 m[1] ^ m[3] ^ m[4] ^ m[5] ^ m[6] ^ m[9] ^ m[10] ^ m[12] ^ s[0] ^
                                 s[1] ^ s[2] ^ s[4] ^ s[8] ^ s[11] ^ s[13] ^ s[15]);
    r[7] = static_cast<uint16_t>(h[0] ^ h[1] ^ h[3] ^ h[4] ^ h[5] ^ h[6] ^ h[9] ^ h[10] ^ h[12] ^
                                 m[1] ^ m[2] ^ m[4] ^ m[5] ^ m[6] ^ m[7] ^ m[10] ^ m[11] ^ m[13] ^
                                 s[0] ^ s[5] ^ s[9] ^ s[14] ^ s[15]);
    r[8] = static_cast<uint16_t>(h[1] ^ h[2] ^ h[4] ^ h[5] ^ h[6] ^ h[7] ^ h[10] ^ h[11] ^ h[13] ^
                                 m[2] ^ m[3] ^ m[5] ^ m[6] ^ m[7] ^ m[8] ^ m[11] ^ m[12] ^ m[14] ^
                                 s[0] ^ s[2] ^ s[3] ^ s[6] ^ s[10] ^ s[12]);
    r[9] = static_cast<uint16_t>(h[2] ^ h[3] ^ h[5] ^ h[6] ^ h[7] ^ h[8] ^ h[11] ^ h[12] ^ h[14] ^
                                 m[3] ^ m[4] ^ m[6] ^ m[7] ^ m[8] ^ m[9] ^ m[12] ^ m[13] ^ m[15] ^
                                 s[1] ^ s[3] ^ s[4] ^ s[7] ^ s[11] ^ s[13]);
    r[10] = static_cast<uint16_t>(h[3] ^ h[4] ^ h[6] ^ h[7] ^ h[8] ^ h[9] ^ h[12] ^ h[13] ^ h[15] ^
                                  m[0] ^ m[1] ^ m[2] ^ m[3] ^ m[4] ^ m[5] ^ m[7] ^ m[8] ^ m[9] ^
                                  m[10] ^ m[12] ^ m[13] ^ m[14] ^ m[15] ^ s[2] ^ s[4] ^ s[5] ^
                                  s[8] ^ s[12] ^ s[14]);
    r[11] = static_cast<uint16_t>(h[0] ^ h[1] ^ h[2] ^ h[3] ^ h[4] ^ h[5] ^ h[7] ^ h[8] ^ h[9] ^
                                  h[10] ^ h[12] ^ h[13] ^ h[14] ^ h[15] ^ m[0] ^ m[4] ^ m[5] ^
                                  m[6] ^ m[8] ^ m[9] ^ m[10] ^ m[11] ^ m[12] ^ m[13] ^ m[14] ^
                                  s[3] ^ s[5] ^ s[6] ^ s[9] ^ s[13] ^ s[15]);
    r[12] = static_cast<uint16_t>(h[0] ^ h[4] ^ h[5] ^ h[6] ^ h[8] ^ h[9] ^ h[10] ^ h[11] ^ h[12] ^
                                  h[13] ^ h[14] ^ m[1] ^ m[5] ^ m[6] ^ m[7] ^ m[9] ^ m[10] ^ m[11] ^
                                  m[12] ^ m[13] ^ m[14] ^ m[15] ^ s[0] ^ s[1] ^ s[2] ^ s[3] ^ s[4] ^
                                  s[6] ^ s[7] ^ s[10] ^ s[12] ^ s[14] ^ s[15]);
    r[13] = static_cast<uint16_t>(h[1] ^ h[5] ^ h[6] ^ h[7] ^ h[9] ^ h[10] ^ h[11] ^ h[12] ^ h[13] ^
                                  h[14] ^ h[15] ^ m[0] ^ m[1] ^ m[3] ^ m[6] ^ m[7] ^ m[8] ^ m[10] ^
                                  m[11] ^ m[13] ^ m[14] ^ s[0] ^ s[4] ^ s[5] ^ s[7] ^ s[8] ^ s[11] ^
                                  s[12] ^ s[13]);
    r[14] = static_cast<uint16_t>(h[0] ^ h[1] ^ h[3] ^ h[6] ^ h[7] ^ h[8] ^ h[10] ^ h[11] ^ h[13] ^
                                  h[14] ^ m[1] ^ m[2] ^ m[4] ^ m[7] ^ m[8] ^ m[9] ^ m[11] ^ m[12] ^
                                  m[14] ^ m[15] ^ s[1] ^ s[5] ^ s[6] ^ s[8] ^ s[9] ^ s[12] ^ s[13] ^
                                  s[14]);
    r[15] = static_cast<uint16_t>(h[1] ^ h[2] ^ h[4] ^ h[7] ^ h[8] ^ h[9] ^ h[11] ^ h[12] ^ h[14] ^
                                  h[15] ^ m[0] ^ m[1] ^ m[5] ^ m[8] ^ m[9] ^ m[10] ^ m[13] ^ s[2] ^
                                  s[6] ^ s[7] ^ s[9] ^ s[10] ^ s[13] ^ s[14] ^ s[15]);
    for (int i = 0; i < 8; ++i) out[i] = uint32_t{r[2 * i]} | uint32_t{r[2 * i + 1]} << 16;
}

void GostCompress(uint32_t* chainingValue, const uint32_t* block) {
    GostCompressWith(kGostRoundTables, chainingValue, block);
}

void GostStepKeys(const uint32_t* chainingValue, const uint32_t* block, uint32_t (*key)[8]) {
    uint32_t u[8], v[8], w[8];
    std::memcpy(u, chainingValue, sizeof u);
    std::memcpy(v, block, sizeof v);
    for (int q = 0; q < 4; ++q) {
        if (q != 0) {
            TransformA(u);
            if (q == 2)
                for (int i = 0; i < 8; ++i) u[i] ^= kC3[i];
            TransformA(v);
            TransformA(v);
        }
        for (int i = 0; i < 8; ++i) w[i] = u[i] ^ v[i];
        TransformP(w, key[q]);
    }
}

void GostCompressWith(const GostRoundTables& tables, uint32_t* chainingValue,
                      const uint32_t* block) {
    uint32_t key[4][8], s[8];
    GostStepKeys(chainingValue, block, key);
    Encrypt4(tables, key, chainingValue, s);
    GostMix(chainingValue, block, s, chainingValue);
}

void GostInit(GostContext* context) {
    std::memset(context, 0, sizeof *context);
}

void GostInitWithSBoxes(GostContext* context, GostSBoxes sBoxes) {
    GostInit(context);
    if (sBoxes == GostSBoxes::kCryptoPro) context->roundTables = &kGostCryptoProRoundTables;
}

namespace {

using CompressFunction = void (*)(const GostRoundTables&, uint32_t*, const uint32_t*);

const GostRoundTables& TablesOf(const GostContext* context) {
    return context->roundTables != nullptr ? *context->roundTables : kGostRoundTables;
}

// The block step with the step function chosen once by the caller (per update, not per block).
void ProcessBlock(GostContext* context, const uint8_t* block, uint32_t bits,
                  CompressFunction compress) {
    uint32_t m[8];
    uint32_t carry = 0;
    for (int k = 0; k < 8; ++k) {
        m[k] = LoadLe32(block + 4 * k);
        const uint64_t total = uint64_t{context->sum[k]} + m[k] + carry;
        context->sum[k] = static_cast<uint32_t>(total);
        carry = static_cast<uint32_t>(total >> 32);
    }
    compress(TablesOf(context), context->state, m);
    context->bitCount[0] += bits;
    if (context->bitCount[0] < bits) ++context->bitCount[1];
}

}  // namespace

void GostProcessBlock(GostContext* context, const uint8_t* block, uint32_t bits) {
    ProcessBlock(context, block, bits, ActiveCpuDispatch().gostCompress);
}

void GostUpdate(GostContext* context, const uint8_t* data, uint32_t length) {
    uint32_t i = context->pendingBytes, j = 0;
    while (i < 32 && j < length) context->buffer[i++] = data[j++];
    if (i < 32) {
        context->pendingBytes = i;
        return;
    }
    const CompressFunction compress = ActiveCpuDispatch().gostCompress;
    ProcessBlock(context, context->buffer, 256, compress);
    // Strictly more than one block left: a last whole block stays pending for the next update or
    // the final step. (Written as a difference so a length near 2^32 cannot wrap the test.)
    while (length - j > 32) {
        ProcessBlock(context, data + j, 256, compress);
        j += 32;
    }
    if (length != j) std::memcpy(context->buffer, data + j, length - j);
    context->pendingBytes = length - j;
}

void GostFinal(GostContext* context, uint8_t* digest) {
    if (context->pendingBytes != 0) {
        std::memset(context->buffer + context->pendingBytes, 0, 32 - context->pendingBytes);
        GostProcessBlock(context, context->buffer, 8 * context->pendingBytes);
    }
    const CompressFunction compress = ActiveCpuDispatch().gostCompress;
    compress(TablesOf(context), context->state, context->bitCount);
    compress(TablesOf(context), context->state, context->sum);
    for (int k = 0; k < 8; ++k) StoreLe32(digest + 4 * k, context->state[k]);
}
