// XXH3's long-input accumulation on AVX-512: all eight accumulators in one 512-bit register,
// the same steps as the AVX2 function (xxh3_avx2.cpp), and the scramble's two XORs as one
// three-input logic instruction.
// GCC 12's shift intrinsics start from a self-initialised "undefined" vector, which its
// uninitialised-use warnings report once inlined; the warning is false.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include "../xxhash_constants.h"
#include "x86_blocks.h"

namespace {

#define CORVANE_AVX512 __attribute__((target("avx512f")))

CORVANE_AVX512 inline __m512i Load(const uint8_t* p) {
    return _mm512_loadu_si512(p);
}

CORVANE_AVX512 inline __m512i Accumulate(__m512i acc, const uint8_t* data, const uint8_t* secret) {
    const __m512i lanes = Load(data);
    const __m512i keyed = _mm512_xor_si512(lanes, Load(secret));
    const __m512i product = _mm512_mul_epu32(keyed, _mm512_srli_epi64(keyed, 32));
    const __m512i swapped = _mm512_shuffle_epi32(lanes, static_cast<_MM_PERM_ENUM>(0x4E));
    return _mm512_add_epi64(acc, _mm512_add_epi64(product, swapped));
}

CORVANE_AVX512 inline __m512i Scramble(__m512i acc) {
    const __m512i prime = _mm512_set1_epi64(kXxPrime32_1);
    // 0x96: a ^ b ^ c.
    acc = _mm512_ternarylogic_epi64(acc, _mm512_srli_epi64(acc, 47),
                                    Load(kXxh3Secret + kXxh3ScrambleOffset), 0x96);
    const __m512i low = _mm512_mul_epu32(acc, prime);
    const __m512i high = _mm512_mul_epu32(_mm512_srli_epi64(acc, 32), prime);
    return _mm512_add_epi64(low, _mm512_slli_epi64(high, 32));
}

}  // namespace

CORVANE_AVX512 void Xxh3StripesAvx512(uint64_t* acc, const uint8_t* data, std::size_t stripes,
                                      std::size_t stripeInBlock) {
    __m512i a = _mm512_loadu_si512(acc);
    while (stripes > 0) {
        if (stripeInBlock == 0 && stripes >= kXxh3StripesPerBlock) {
#pragma GCC unroll 16
            for (std::size_t n = 0; n < kXxh3StripesPerBlock; ++n)
                a = Accumulate(a, data + 64 * n, kXxh3Secret + 8 * n);
            a = Scramble(a);
            data += kXxh3StripeSize * kXxh3StripesPerBlock;
            stripes -= kXxh3StripesPerBlock;
            continue;
        }
        a = Accumulate(a, data, kXxh3Secret + 8 * stripeInBlock);
        data += kXxh3StripeSize;
        --stripes;
        if (++stripeInBlock == kXxh3StripesPerBlock) {
            a = Scramble(a);
            stripeInBlock = 0;
        }
    }
    _mm512_storeu_si512(acc, a);
}
