// MD2 (RFC 1319) on 128 byte lanes (AVX-512 F, BW and VBMI): byte i of a register is one byte of
// lane i's message, so each step of the 18 rounds is one table lookup for 64 messages at once.
//
// A lookup of the 256-entry substitution table is two two-register byte permutes (vpermi2b, each
// over 128 entries, indexed by the low seven bits) and a blend by the index's top bit. One
// block's 18 x 48 steps are still a single chain through t, so the time per block is that chain's
// latency; the other 47 bytes of X live in memory, their loads and stores off the chain. Two
// registers per byte (lanes 0-63 and 64-127) run two such chains side by side in the same time as
// one: 64 lanes hashed 360 MB/s in all, 128 lanes 560 MB/s, three or four registers less than two
// (corvane_bench --benchmark_filter=md2-lanes, 2026-12-07, with the lane count changed).
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "md2_table.h"
#include "x86_lanes.h"

namespace {

constexpr std::size_t kLanes = 128;

struct Table {
    __m512i part[4];  // entries 0-63, 64-127, 128-191, 192-255
};

__attribute__((always_inline)) inline Table LoadTable() {
    Table s;
    for (int i = 0; i < 4; ++i) s.part[i] = _mm512_loadu_si512(kMd2S + 64 * i);
    return s;
}

// S[t] ^ x for every byte. The blend's mask, from the index's top bit, is the longer path from t
// on Zen 4 (vpmovb2m and the blend 7 cycles, vpermi2b 5), but the alternatives measured no better:
// a vpshufb-made byte mask and a vpternlog select 7% slower, XOR with x before the blend 5%
// slower, and a zero-masked permute of S[128..255] ^ S[0..127] twice as slow (corvane_bench
// --benchmark_filter=md2-lanes with the step changed, 2026-12-07).
__attribute__((always_inline)) inline __m512i Step(const Table& s, __m512i t, __m512i x) {
    const __mmask64 high = _mm512_movepi8_mask(t);
    const __m512i low = _mm512_permutex2var_epi8(s.part[0], t, s.part[1]);
    const __m512i top = _mm512_permutex2var_epi8(s.part[2], t, s.part[3]);
    return _mm512_xor_si512(_mm512_mask_blend_epi8(high, low, top), x);
}

// Byte j of the next block of every lane: a 16 x 16 byte transpose in each 128-bit quarter, whose
// quarter q holds lanes 16q to 16q+15. Four rounds of byte interleaves on register index bits 3,
// 2, 1, 0 move the register index into the byte position and the byte position into the index.
__attribute__((always_inline)) inline void LoadBlock(const uint8_t* const* data, std::size_t offset,
                                                     __m512i* m) {
    __m512i r[16], u[16];
    for (int g = 0; g < 16; ++g) {
        __m512i v = _mm512_castsi128_si512(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(data[g] + offset)));
        v = _mm512_inserti32x4(
            v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data[16 + g] + offset)), 1);
        v = _mm512_inserti32x4(
            v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data[32 + g] + offset)), 2);
        r[g] = _mm512_inserti32x4(
            v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(data[48 + g] + offset)), 3);
    }
    __m512i* from = r;
    __m512i* to = u;
    for (int bit = 8; bit >= 1; bit >>= 1) {
        for (int g = 0; g < 16; ++g) {
            if (g & bit) continue;
            to[g] = _mm512_unpacklo_epi8(from[g], from[g | bit]);
            to[g | bit] = _mm512_unpackhi_epi8(from[g], from[g | bit]);
        }
        __m512i* swap = from;
        from = to;
        to = swap;
    }
    for (int j = 0; j < 16; ++j) m[j] = from[j];
}

}  // namespace

void Md2LanesAvx512(uint8_t* state, const uint8_t* const* data, std::size_t blocks) {
    const Table s = LoadTable();
    // Lanes 0-63 in x[0] and c[0], 64-127 in x[1] and c[1]; their chains never meet.
    alignas(64) __m512i x[2][48];
    __m512i c[2][16];
    for (int h = 0; h < 2; ++h) {
        for (int k = 0; k < 48; ++k) x[h][k] = _mm512_loadu_si512(state + k * kLanes + 64 * h);
        for (int j = 0; j < 16; ++j)
            c[h][j] = _mm512_loadu_si512(state + (48 + j) * kLanes + 64 * h);
    }
    for (std::size_t n = 0; n < blocks; ++n) {
        for (int h = 0; h < 2; ++h) {
            __m512i m[16];
            LoadBlock(data + 64 * h, 16 * n, m);
            __m512i last = c[h][15];
            for (int j = 0; j < 16; ++j) {
                x[h][16 + j] = m[j];
                x[h][32 + j] = _mm512_xor_si512(m[j], x[h][j]);
                c[h][j] = Step(s, _mm512_xor_si512(m[j], last), c[h][j]);
                last = c[h][j];
            }
        }
        __m512i t[2] = {_mm512_setzero_si512(), _mm512_setzero_si512()};
        for (int round = 0; round < 18; ++round) {
#pragma GCC unroll 48
            for (int k = 0; k < 48; ++k) {
                for (int h = 0; h < 2; ++h) {
                    t[h] = Step(s, t[h], x[h][k]);
                    x[h][k] = t[h];
                }
            }
            for (int h = 0; h < 2; ++h)
                t[h] = _mm512_add_epi8(t[h], _mm512_set1_epi8(static_cast<char>(round)));
        }
    }
    for (int h = 0; h < 2; ++h) {
        for (int k = 0; k < 48; ++k) _mm512_storeu_si512(state + k * kLanes + 64 * h, x[h][k]);
        for (int j = 0; j < 16; ++j)
            _mm512_storeu_si512(state + (48 + j) * kLanes + 64 * h, c[h][j]);
    }
}
