// Lane operations on 512-bit registers (AVX-512 F and BW): sixteen 32-bit lanes or eight 64-bit
// lanes, three-input logic in one vpternlog, rotations in one vprol/vpror. Include only from a file
// compiled for AVX-512; see lane_ops.h for the set of operations.
#pragma once

// GCC 12's rotate intrinsics start from a self-initialised "undefined" vector, which its
// uninitialised-use warnings report once inlined; the warning is false.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "lane_ops.h"

namespace {

// Byte order of each 32-bit or 64-bit word reversed, per 128-bit lane (vpshufb indexes within it).
CORVANE_LANE_INLINE __m512i ByteReverse512(__m512i v, int wordBytes) {
    const __m128i order32 = _mm_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
    const __m128i order64 = _mm_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    return _mm512_shuffle_epi8(v, _mm512_broadcast_i32x4(wordBytes == 4 ? order32 : order64));
}

// The transposes below finish with two rounds of 128-bit block shuffles: 0x88 takes blocks 0 and
// 2 of each source, 0xDD blocks 1 and 3.

struct Avx512Words32 {
    using V = __m512i;
    using Word = uint32_t;
    static constexpr std::size_t kLanes = 16;

    static CORVANE_LANE_INLINE V Load(const Word* p) { return _mm512_loadu_si512(p); }
    static CORVANE_LANE_INLINE void Store(Word* p, V v) { _mm512_storeu_si512(p, v); }
    static CORVANE_LANE_INLINE V Set1(Word k) { return _mm512_set1_epi32(static_cast<int>(k)); }
    static CORVANE_LANE_INLINE V Add(V a, V b) { return _mm512_add_epi32(a, b); }
    static CORVANE_LANE_INLINE V Xor(V a, V b) { return _mm512_xor_si512(a, b); }
    template <int N>
    static CORVANE_LANE_INLINE V Rotl(V a) {
        return _mm512_rol_epi32(a, N);
    }
    template <int N>
    static CORVANE_LANE_INLINE V Rotr(V a) {
        return _mm512_ror_epi32(a, N);
    }
    template <int N>
    static CORVANE_LANE_INLINE V Shr(V a) {
        return _mm512_srli_epi32(a, N);
    }
    template <int Table>
    static CORVANE_LANE_INLINE V Logic(V x, V y, V z) {
        return _mm512_ternarylogic_epi32(x, y, z, Table);
    }
    static CORVANE_LANE_INLINE V SwapBytes(V a) { return ByteReverse512(a, 4); }

    // 16 x 16 words: interleave words, then pairs, then 128-bit blocks twice.
    static CORVANE_LANE_INLINE void LoadBlock(const uint8_t* const* data, std::size_t offset,
                                              V* w) {
        V r[16], t[16];
        for (int l = 0; l < 16; ++l) r[l] = _mm512_loadu_si512(data[l] + offset);
        for (int i = 0; i < 16; i += 2) {
            t[i] = _mm512_unpacklo_epi32(r[i], r[i + 1]);
            t[i + 1] = _mm512_unpackhi_epi32(r[i], r[i + 1]);
        }
        // r[4g + j], 128-bit block k: word 4k + j of lanes 4g..4g+3.
        for (int i = 0; i < 16; i += 4) {
            r[i] = _mm512_unpacklo_epi64(t[i], t[i + 2]);
            r[i + 1] = _mm512_unpackhi_epi64(t[i], t[i + 2]);
            r[i + 2] = _mm512_unpacklo_epi64(t[i + 1], t[i + 3]);
            r[i + 3] = _mm512_unpackhi_epi64(t[i + 1], t[i + 3]);
        }
        for (int j = 0; j < 4; ++j) {
            const V even01 = _mm512_shuffle_i32x4(r[j], r[4 + j], 0x88);
            const V odd01 = _mm512_shuffle_i32x4(r[j], r[4 + j], 0xDD);
            const V even23 = _mm512_shuffle_i32x4(r[8 + j], r[12 + j], 0x88);
            const V odd23 = _mm512_shuffle_i32x4(r[8 + j], r[12 + j], 0xDD);
            w[j] = _mm512_shuffle_i32x4(even01, even23, 0x88);
            w[8 + j] = _mm512_shuffle_i32x4(even01, even23, 0xDD);
            w[4 + j] = _mm512_shuffle_i32x4(odd01, odd23, 0x88);
            w[12 + j] = _mm512_shuffle_i32x4(odd01, odd23, 0xDD);
        }
    }
};

struct Avx512Words64 {
    using V = __m512i;
    using Word = uint64_t;
    static constexpr std::size_t kLanes = 8;

    static CORVANE_LANE_INLINE V Load(const Word* p) { return _mm512_loadu_si512(p); }
    static CORVANE_LANE_INLINE void Store(Word* p, V v) { _mm512_storeu_si512(p, v); }
    static CORVANE_LANE_INLINE V Set1(Word k) {
        return _mm512_set1_epi64(static_cast<long long>(k));
    }
    static CORVANE_LANE_INLINE V Add(V a, V b) { return _mm512_add_epi64(a, b); }
    static CORVANE_LANE_INLINE V Xor(V a, V b) { return _mm512_xor_si512(a, b); }
    template <int N>
    static CORVANE_LANE_INLINE V Rotl(V a) {
        return _mm512_rol_epi64(a, N);
    }
    template <int N>
    static CORVANE_LANE_INLINE V Rotr(V a) {
        return _mm512_ror_epi64(a, N);
    }
    template <int N>
    static CORVANE_LANE_INLINE V Shr(V a) {
        return _mm512_srli_epi64(a, N);
    }
    template <int Table>
    static CORVANE_LANE_INLINE V Logic(V x, V y, V z) {
        return _mm512_ternarylogic_epi64(x, y, z, Table);
    }
    static CORVANE_LANE_INLINE V SwapBytes(V a) { return ByteReverse512(a, 8); }

    // Two 8 x 8 transposes (words 0-7, 8-15): interleave words, then 128-bit blocks twice.
    static CORVANE_LANE_INLINE void LoadBlock(const uint8_t* const* data, std::size_t offset,
                                              V* w) {
        for (int half = 0; half < 2; ++half) {
            V r[8], t[8];
            for (int l = 0; l < 8; ++l) r[l] = _mm512_loadu_si512(data[l] + offset + 64 * half);
            // t[2i + j], 128-bit block k: word 2k + j of lanes 2i, 2i+1.
            for (int i = 0; i < 8; i += 2) {
                t[i] = _mm512_unpacklo_epi64(r[i], r[i + 1]);
                t[i + 1] = _mm512_unpackhi_epi64(r[i], r[i + 1]);
            }
            V* out = w + 8 * half;
            for (int j = 0; j < 2; ++j) {
                const V even01 = _mm512_shuffle_i64x2(t[j], t[2 + j], 0x88);
                const V odd01 = _mm512_shuffle_i64x2(t[j], t[2 + j], 0xDD);
                const V even23 = _mm512_shuffle_i64x2(t[4 + j], t[6 + j], 0x88);
                const V odd23 = _mm512_shuffle_i64x2(t[4 + j], t[6 + j], 0xDD);
                out[j] = _mm512_shuffle_i64x2(even01, even23, 0x88);
                out[4 + j] = _mm512_shuffle_i64x2(even01, even23, 0xDD);
                out[2 + j] = _mm512_shuffle_i64x2(odd01, odd23, 0x88);
                out[6 + j] = _mm512_shuffle_i64x2(odd01, odd23, 0xDD);
            }
        }
    }
};

}  // namespace
