// Lane operations on 256-bit AVX2 registers: eight 32-bit lanes or four 64-bit lanes. AVX2 has no
// rotate and no three-input logic: a rotation is two shifts and an OR (one byte shuffle when it
// moves whole bytes), and each bit function the algorithms use is spelled out so that its first
// input, the one the previous step has just produced, enters last. Include only from a file
// compiled for AVX2; see lane_ops.h for the set of operations.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "lane_ops.h"

namespace {

// The bit functions by truth table, x the input that arrives last.
template <int Table>
CORVANE_LANE_INLINE __m256i Logic256(__m256i x, __m256i y, __m256i z) {
    if constexpr (Table == 0xCA) {  // x ? y : z
        return _mm256_xor_si256(z, _mm256_and_si256(x, _mm256_xor_si256(y, z)));
    } else if constexpr (Table == 0xE4) {  // z ? x : y
        return _mm256_or_si256(_mm256_and_si256(x, z), _mm256_andnot_si256(z, y));
    } else if constexpr (Table == 0x96) {  // x ^ y ^ z
        return _mm256_xor_si256(x, _mm256_xor_si256(y, z));
    } else if constexpr (Table == 0x39) {  // y ^ (x | ~z)
        const __m256i notZ = _mm256_xor_si256(z, _mm256_set1_epi32(-1));
        return _mm256_xor_si256(y, _mm256_or_si256(x, notZ));
    } else {
        static_assert(Table == 0xE8, "no AVX2 form for this bit function");  // majority
        return _mm256_or_si256(_mm256_and_si256(x, _mm256_or_si256(y, z)), _mm256_and_si256(y, z));
    }
}

struct ByteOrder {
    char index[16];
};

// vpshufb indices that rotate each `WordBytes`-byte word left by `Bytes` whole bytes.
template <int WordBytes, int Bytes>
constexpr ByteOrder RotlByteOrder() {
    ByteOrder o{};
    for (int i = 0; i < 16; ++i) {
        const int word = i / WordBytes * WordBytes;
        o.index[i] = static_cast<char>(word + (i - word - Bytes + WordBytes) % WordBytes);
    }
    return o;
}

template <int WordBytes, int Bytes>
CORVANE_LANE_INLINE __m256i RotlBytes256(__m256i v) {
    static constexpr ByteOrder kOrder = RotlByteOrder<WordBytes, Bytes>();
    const __m128i order = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kOrder.index));
    return _mm256_shuffle_epi8(v, _mm256_broadcastsi128_si256(order));
}

struct Avx2Words32 {
    using V = __m256i;
    using Word = uint32_t;
    static constexpr std::size_t kLanes = 8;

    static CORVANE_LANE_INLINE V Load(const Word* p) {
        return _mm256_loadu_si256(reinterpret_cast<const V*>(p));
    }
    static CORVANE_LANE_INLINE void Store(Word* p, V v) {
        _mm256_storeu_si256(reinterpret_cast<V*>(p), v);
    }
    static CORVANE_LANE_INLINE V Set1(Word k) { return _mm256_set1_epi32(static_cast<int>(k)); }
    static CORVANE_LANE_INLINE V Add(V a, V b) { return _mm256_add_epi32(a, b); }
    static CORVANE_LANE_INLINE V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    template <int N>
    static CORVANE_LANE_INLINE V Rotl(V a) {
        if constexpr (N % 8 == 0) return RotlBytes256<4, N / 8>(a);
        return _mm256_or_si256(_mm256_slli_epi32(a, N), _mm256_srli_epi32(a, 32 - N));
    }
    template <int N>
    static CORVANE_LANE_INLINE V Rotr(V a) {
        return Rotl<32 - N>(a);
    }
    template <int N>
    static CORVANE_LANE_INLINE V Shr(V a) {
        return _mm256_srli_epi32(a, N);
    }
    template <int Table>
    static CORVANE_LANE_INLINE V Logic(V x, V y, V z) {
        return Logic256<Table>(x, y, z);
    }
    static CORVANE_LANE_INLINE V SwapBytes(V a) {
        const __m256i order =
            _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2, 1, 0, 7, 6,
                             5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
        return _mm256_shuffle_epi8(a, order);
    }

    // Two 8 x 8 transposes (words 0-7, 8-15): interleave words, then pairs, then 128-bit halves.
    static CORVANE_LANE_INLINE void LoadBlock(const uint8_t* const* data, std::size_t offset,
                                              V* w) {
        for (int half = 0; half < 2; ++half) {
            V r[8], t[8];
            for (int l = 0; l < 8; ++l)
                r[l] = _mm256_loadu_si256(reinterpret_cast<const V*>(data[l] + offset + 32 * half));
            for (int i = 0; i < 8; i += 2) {
                t[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
                t[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
            }
            // r[4g + j], 128-bit half k: word 4k + j of lanes 4g..4g+3.
            for (int i = 0; i < 8; i += 4) {
                r[i] = _mm256_unpacklo_epi64(t[i], t[i + 2]);
                r[i + 1] = _mm256_unpackhi_epi64(t[i], t[i + 2]);
                r[i + 2] = _mm256_unpacklo_epi64(t[i + 1], t[i + 3]);
                r[i + 3] = _mm256_unpackhi_epi64(t[i + 1], t[i + 3]);
            }
            V* out = w + 8 * half;
            for (int j = 0; j < 4; ++j) {
                out[j] = _mm256_permute2x128_si256(r[j], r[4 + j], 0x20);
                out[4 + j] = _mm256_permute2x128_si256(r[j], r[4 + j], 0x31);
            }
        }
    }
};

struct Avx2Words64 {
    using V = __m256i;
    using Word = uint64_t;
    static constexpr std::size_t kLanes = 4;

    static CORVANE_LANE_INLINE V Load(const Word* p) {
        return _mm256_loadu_si256(reinterpret_cast<const V*>(p));
    }
    static CORVANE_LANE_INLINE void Store(Word* p, V v) {
        _mm256_storeu_si256(reinterpret_cast<V*>(p), v);
    }
    static CORVANE_LANE_INLINE V Set1(Word k) {
        return _mm256_set1_epi64x(static_cast<long long>(k));
    }
    static CORVANE_LANE_INLINE V Add(V a, V b) { return _mm256_add_epi64(a, b); }
    static CORVANE_LANE_INLINE V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    template <int N>
    static CORVANE_LANE_INLINE V Rotl(V a) {
        if constexpr (N % 8 == 0) return RotlBytes256<8, N / 8>(a);
        return _mm256_or_si256(_mm256_slli_epi64(a, N), _mm256_srli_epi64(a, 64 - N));
    }
    template <int N>
    static CORVANE_LANE_INLINE V Rotr(V a) {
        return Rotl<64 - N>(a);
    }
    template <int N>
    static CORVANE_LANE_INLINE V Shr(V a) {
        return _mm256_srli_epi64(a, N);
    }
    template <int Table>
    static CORVANE_LANE_INLINE V Logic(V x, V y, V z) {
        return Logic256<Table>(x, y, z);
    }
    static CORVANE_LANE_INLINE V SwapBytes(V a) {
        const __m256i order =
            _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2,
                             1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
        return _mm256_shuffle_epi8(a, order);
    }

    // Four 4 x 4 transposes (words 0-3, 4-7, ...): interleave words, then 128-bit halves.
    static CORVANE_LANE_INLINE void LoadBlock(const uint8_t* const* data, std::size_t offset,
                                              V* w) {
        for (int quarter = 0; quarter < 4; ++quarter) {
            V r[4];
            for (int l = 0; l < 4; ++l)
                r[l] =
                    _mm256_loadu_si256(reinterpret_cast<const V*>(data[l] + offset + 32 * quarter));
            // Each 128-bit half k: word 2k (lo) or 2k + 1 (hi) of two lanes.
            const V lo01 = _mm256_unpacklo_epi64(r[0], r[1]),
                    hi01 = _mm256_unpackhi_epi64(r[0], r[1]);
            const V lo23 = _mm256_unpacklo_epi64(r[2], r[3]),
                    hi23 = _mm256_unpackhi_epi64(r[2], r[3]);
            V* out = w + 4 * quarter;
            out[0] = _mm256_permute2x128_si256(lo01, lo23, 0x20);
            out[2] = _mm256_permute2x128_si256(lo01, lo23, 0x31);
            out[1] = _mm256_permute2x128_si256(hi01, hi23, 0x20);
            out[3] = _mm256_permute2x128_si256(hi01, hi23, 0x31);
        }
    }
};

}  // namespace
