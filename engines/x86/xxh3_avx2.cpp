// XXH3's long-input accumulation on AVX2: the eight 64-bit accumulators in two 256-bit
// registers. Per stripe, a lane's keyed value multiplies its low half by its high half
// (vpmuludq) and the raw lane is added to its neighbour's accumulator (a swap of the 64-bit
// halves of each 128-bit pair); the scramble's multiplication by a 32-bit prime is two vpmuludq.
#include <immintrin.h>

#include "../xxhash_constants.h"
#include "x86_blocks.h"

namespace {

#define CORVANE_AVX2 __attribute__((target("avx2")))

CORVANE_AVX2 inline __m256i Load(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

CORVANE_AVX2 inline __m256i AccumulateHalf(__m256i acc, const uint8_t* data,
                                           const uint8_t* secret) {
    const __m256i lanes = Load(data);
    const __m256i keyed = _mm256_xor_si256(lanes, Load(secret));
    const __m256i product = _mm256_mul_epu32(keyed, _mm256_srli_epi64(keyed, 32));
    const __m256i swapped = _mm256_shuffle_epi32(lanes, _MM_SHUFFLE(1, 0, 3, 2));
    return _mm256_add_epi64(acc, _mm256_add_epi64(product, swapped));
}

CORVANE_AVX2 inline __m256i ScrambleHalf(__m256i acc, const uint8_t* secret) {
    const __m256i prime = _mm256_set1_epi64x(kXxPrime32_1);
    acc = _mm256_xor_si256(_mm256_xor_si256(acc, _mm256_srli_epi64(acc, 47)), Load(secret));
    const __m256i low = _mm256_mul_epu32(acc, prime);
    const __m256i high = _mm256_mul_epu32(_mm256_srli_epi64(acc, 32), prime);
    return _mm256_add_epi64(low, _mm256_slli_epi64(high, 32));
}

}  // namespace

CORVANE_AVX2 void Xxh3StripesAvx2(uint64_t* acc, const uint8_t* data, std::size_t stripes,
                                  std::size_t stripeInBlock) {
    __m256i a0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(acc));
    __m256i a1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(acc + 4));
    const uint8_t* scramble = kXxh3Secret + kXxh3ScrambleOffset;
    while (stripes > 0) {
        if (stripeInBlock == 0 && stripes >= kXxh3StripesPerBlock) {
            // A whole block with its secret offsets known at compile time.
#pragma GCC unroll 16
            for (std::size_t n = 0; n < kXxh3StripesPerBlock; ++n) {
                a0 = AccumulateHalf(a0, data + 64 * n, kXxh3Secret + 8 * n);
                a1 = AccumulateHalf(a1, data + 64 * n + 32, kXxh3Secret + 8 * n + 32);
            }
            a0 = ScrambleHalf(a0, scramble);
            a1 = ScrambleHalf(a1, scramble + 32);
            data += kXxh3StripeSize * kXxh3StripesPerBlock;
            stripes -= kXxh3StripesPerBlock;
            continue;
        }
        a0 = AccumulateHalf(a0, data, kXxh3Secret + 8 * stripeInBlock);
        a1 = AccumulateHalf(a1, data + 32, kXxh3Secret + 8 * stripeInBlock + 32);
        data += kXxh3StripeSize;
        --stripes;
        if (++stripeInBlock == kXxh3StripesPerBlock) {
            a0 = ScrambleHalf(a0, scramble);
            a1 = ScrambleHalf(a1, scramble + 32);
            stripeInBlock = 0;
        }
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(acc), a0);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(acc + 4), a1);
}
