// GOST R 34.11-2012 (RFC 6986): the compression function with the combined LPS tables, and the
// streaming front.
#include "streebog.h"

#include <cstring>

#include "block_feed.h"
#include "bytes.h"
#include "cpu.h"
#include "streebog_tables.h"

namespace {

constexpr const auto& kT = kStreebogLps;

// out = L(P(S(x))) by table: eight lookups a word.
inline void Lps(const uint64_t* x, uint64_t* out) {
    uint64_t r[8];
#pragma GCC unroll 8
    for (int w = 0; w < 8; ++w) {
        const int s = 8 * w;
        r[w] = kT[0][(x[0] >> s) & 255] ^ kT[1][(x[1] >> s) & 255] ^ kT[2][(x[2] >> s) & 255] ^
               kT[3][(x[3] >> s) & 255] ^ kT[4][(x[4] >> s) & 255] ^ kT[5][(x[5] >> s) & 255] ^
               kT[6][(x[6] >> s) & 255] ^ kT[7][(x[7] >> s) & 255];
    }
    std::memcpy(out, r, sizeof r);
}

// Adds b to the 512-bit a, modulo 2^512.
inline void Add512(uint64_t* a, const uint64_t* b) {
    uint64_t carry = 0;
    for (int i = 0; i < 8; ++i) {
        const uint64_t s = a[i] + b[i];
        const uint64_t t = s + carry;
        carry = (s < a[i]) | (t < s);
        a[i] = t;
    }
}

inline void AddBits(uint64_t* n, uint64_t bits) {
    n[0] += bits;
    if (n[0] >= bits) return;
    for (int i = 1; i < 8 && ++n[i] == 0; ++i) {
    }
}

using BlocksFunction = void (*)(uint64_t*, uint64_t*, uint64_t*, const uint8_t*, std::size_t);

}  // namespace

void StreebogCompress(uint64_t* h, const uint64_t* n, const uint64_t* m) {
    // E(K, m) with K1 = LPS(h ^ N) and K(i+1) = LPS(K(i) ^ C(i)): the two chains are independent
    // within a step, so they run side by side.
    uint64_t k[8], s[8];
    for (int i = 0; i < 8; ++i) k[i] = h[i] ^ n[i];
    Lps(k, k);
    for (int i = 0; i < 8; ++i) s[i] = m[i] ^ k[i];
    for (int r = 0; r < 12; ++r) {
        uint64_t nextKey[8];
        for (int i = 0; i < 8; ++i) nextKey[i] = k[i] ^ kStreebogC[r][i];
        Lps(s, s);
        Lps(nextKey, k);
        for (int i = 0; i < 8; ++i) s[i] ^= k[i];
    }
    for (int i = 0; i < 8; ++i) h[i] ^= s[i] ^ m[i];
}

void StreebogBlocks(uint64_t* h, uint64_t* n, uint64_t* sigma, const uint8_t* data,
                    std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        uint64_t m[8];
        for (int i = 0; i < 8; ++i) m[i] = LoadLe64(data + 8 * i);
        StreebogCompress(h, n, m);
        AddBits(n, 512);
        Add512(sigma, m);
    }
}

void StreebogInit(StreebogContext* context, uint32_t digestBits) {
    std::memset(context, 0, sizeof *context);
    context->digestBits = digestBits == 256 ? 256 : 512;
    // The 256-bit variant starts from the value with every byte 01.
    if (context->digestBits == 256)
        for (auto& word : context->state) word = 0x0101010101010101;
}

void StreebogUpdate(StreebogContext* context, const uint8_t* data, uint32_t length) {
    // Whole blocks go at once: the final step always adds a padding block of its own, even after
    // a message that fills its last block.
    const BlocksFunction blocks = ActiveCpuDispatch().streebogBlocks;
    FeedBlocksWith(
        64,
        [&](const uint8_t* at, std::size_t count) {
            blocks(context->state, context->bitCount, context->sum, at, count);
        },
        context->buffer, context->pendingBytes, data, length);
    context->pendingBytes = static_cast<uint32_t>((uint64_t{context->pendingBytes} + length) % 64);
}

void StreebogFinal(StreebogContext* context, uint8_t* digest) {
    // The last, partial block: its bytes, one 01 byte, zeros; N counts only its message bits.
    const uint32_t tail = context->pendingBytes;
    uint8_t block[64] = {};
    std::memcpy(block, context->buffer, tail);
    block[tail] = 1;
    uint64_t m[8];
    for (int i = 0; i < 8; ++i) m[i] = LoadLe64(block + 8 * i);
    StreebogCompress(context->state, context->bitCount, m);
    AddBits(context->bitCount, 8u * tail);
    Add512(context->sum, m);
    const uint64_t zero[8] = {};
    StreebogCompress(context->state, zero, context->bitCount);
    StreebogCompress(context->state, zero, context->sum);
    // The 256-bit digest is the most significant half.
    const int first = context->digestBits == 256 ? 4 : 0;
    for (int i = first; i < 8; ++i) StoreLe64(digest + 8 * (i - first), context->state[i]);
}
