// GOST R 34.11-94 step function (compression) with AVX2 for the key generation and the mixing,
// and the x86 round (gost_round.h, BEXTR from BMI1) for the four encryptions on general
// registers. Same result as the portable GostCompressWith. The vector work runs on other units
// than the rounds, and the mixing's H and M terms can overlap them.
#include <immintrin.h>

#include <cstdint>

#include "x86/gost_round.h"
#include "x86/x86_blocks.h"

#define CORVANE_GOST_AVX2_TARGET __attribute__((target("avx2,bmi")))

namespace {

// Mask row i (input piece i: H pieces 0-15, M 16-31, S 32-47) has 0xffff in the 16-bit lanes of
// the output pieces whose sum holds that input piece (GostMixTerms).
struct alignas(32) MixMasks {
    alignas(32) uint16_t row[48][16];
};
constexpr MixMasks MakeMixMasks() {
    const GostSymbolic terms = GostMixTerms();
    MixMasks m{};
    for (int o = 0; o < 16; ++o)
        for (int i = 0; i < 48; ++i)
            if ((terms[o] >> i) & 1) m.row[i][o] = 0xffff;
    return m;
}
constexpr MixMasks kMixMasks = MakeMixMasks();

// C3, XORed into U after its second A transform.
alignas(32) constexpr uint32_t kC3[8] = {0xff00ff00, 0xff00ff00, 0x00ff00ff, 0x00ff00ff,
                                         0x00ffff00, 0xff0000ff, 0x000000ff, 0xff00ffff};
// P, within each 128-bit half: bytes k and 8 + k side by side for k = 0..7.
alignas(32) constexpr uint8_t kPairBytes[32] = {0,  8,  1,  9,  2,  10, 3, 11, 4, 12, 5,
                                                13, 6,  14, 7,  15, 0,  8, 1,  9, 2,  10,
                                                3,  11, 4,  12, 5,  13, 6, 14, 7, 15};

CORVANE_GOST_AVX2_TARGET inline __m256i Load(const void* p) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}

// A on the four 64-bit sub-blocks: (y1, y2, y3, y4) to (y2, y3, y4, y1 ^ y2).
CORVANE_GOST_AVX2_TARGET inline __m256i TransformA(__m256i y) {
    const __m256i rotated = _mm256_permute4x64_epi64(y, 0x39);  // y2 y3 y4 y1
    const __m256i second = _mm256_permute4x64_epi64(y, 0x40);   // y1 y1 y1 y2
    return _mm256_xor_si256(rotated, _mm256_blend_epi32(_mm256_setzero_si256(), second, 0xc0));
}

// P: byte j of key word k is byte 8j + k of w.
CORVANE_GOST_AVX2_TARGET inline __m256i TransformP(__m256i w) {
    const __m256i pairs =
        _mm256_shuffle_epi8(w, Load(kPairBytes));  // (b k, b 8+k) | (b 16+k, b 24+k)
    const __m256i swapped = _mm256_permute4x64_epi64(pairs, 0x4e);
    const __m256i low = _mm256_unpacklo_epi16(pairs, swapped);   // key words 0-3 in the low half
    const __m256i high = _mm256_unpackhi_epi16(pairs, swapped);  // key words 4-7 in the low half
    return _mm256_permute2x128_si256(low, high, 0x20);
}

// The XOR of mask rows first..first+15, each under its piece broadcast to every lane: the pieces
// are the sixteen 16-bit halves of the eight words at `words`, least significant first.
CORVANE_GOST_AVX2_TARGET inline __m256i MixTerms(const uint32_t* words, int first) {
    __m256i acc[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(),
                      _mm256_setzero_si256()};
#pragma GCC unroll 16
    for (int i = 0; i < 16; ++i) {
        const uint32_t word = words[i / 2];
        const auto piece = static_cast<short>(i % 2 ? word >> 16 : word & 0xffff);
        acc[i % 4] = _mm256_xor_si256(
            acc[i % 4],
            _mm256_and_si256(
                _mm256_set1_epi16(piece),
                _mm256_load_si256(reinterpret_cast<const __m256i*>(kMixMasks.row[first + i]))));
    }
    return _mm256_xor_si256(_mm256_xor_si256(acc[0], acc[1]), _mm256_xor_si256(acc[2], acc[3]));
}

}  // namespace

CORVANE_GOST_AVX2_TARGET void GostCompressAvx2(const GostRoundTables& tables,
                                               uint32_t* chainingValue, const uint32_t* block) {
    const __m256i h = Load(chainingValue), m = Load(block);
    // The keys: U = A^q(H) (with C3 after the second), V = A^2q(M), key q = P(U ^ V).
    alignas(32) uint32_t key[4][8];
    __m256i u = h, v = m;
    for (int q = 0; q < 4; ++q) {
        if (q != 0) {
            u = TransformA(u);
            if (q == 2) u = _mm256_xor_si256(u, Load(kC3));
            v = TransformA(TransformA(v));
        }
        _mm256_store_si256(reinterpret_cast<__m256i*>(key[q]), TransformP(_mm256_xor_si256(u, v)));
    }
    // The H and M terms of the mixing, ahead of the rounds in program order.
    const __m256i hmTerms = _mm256_xor_si256(MixTerms(chainingValue, 0), MixTerms(block, 16));

    uint32_t s[8];
    GostEncryptFour(
        tables, chainingValue, [&key](int q, int j) -> const uint32_t& { return key[q][j]; }, s);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(chainingValue),
                        _mm256_xor_si256(hmTerms, MixTerms(s, 32)));
}
