// GOST R 34.11-94 step function (compression) with AVX-512 (F, BW, VL) and VBMI byte permutes.
// Same result as the portable GostCompress; the four GOST 28147-89 encryptions of a step run in
// the four 32-bit lanes of one vector.
// GCC 12's AVX-512 intrinsics start some results from a self-initialised "undefined" vector,
// which -Wuninitialized reports at the header's lines once inlined; the warning is false.
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>

#include <array>
#include <cstdint>

#include "gost_sbox.h"
#include "x86/x86_blocks.h"

#define CORVANE_GOST_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))

namespace {

// Byte j of a word holds two 4-bit groups, 2j (low nibble) and 2j+1 (high nibble). A byte
// permute over 64 entries looks both up for all four bytes at once when the index byte is the
// nibble plus 16 * j: kLowRows[16j + n] = S(2j)[n], kHighRows[16j + n] = S(2j+1)[n] << 4.
struct alignas(64) NibbleRows {
    uint8_t low[64];
    uint8_t high[64];
};
constexpr NibbleRows MakeNibbleRows() {
    NibbleRows r{};
    for (int j = 0; j < 4; ++j)
        for (int n = 0; n < 16; ++n) {
            r.low[16 * j + n] = kGostSBox[2 * j][n];
            r.high[16 * j + n] = static_cast<uint8_t>(kGostSBox[2 * j + 1][n] << 4);
        }
    return r;
}
constexpr NibbleRows kRows = MakeNibbleRows();

// The key words of all four encryptions, transposed for the lanes: output byte 16j + 4q + i
// (key word j of encryption q, byte i) is byte 8i + j of W_q = U_q ^ V_q (the P transform), where
// W_0, W_1 sit in the first 64-byte source and W_2, W_3 in the second (index bit 6).
struct alignas(64) KeyPermute {
    uint8_t words0to3[64];
    uint8_t words4to7[64];
};
constexpr KeyPermute MakeKeyPermute() {
    KeyPermute p{};
    for (int j = 0; j < 8; ++j)
        for (int q = 0; q < 4; ++q)
            for (int i = 0; i < 4; ++i) {
                const auto from = static_cast<uint8_t>(32 * q + 8 * i + j);
                (j < 4 ? p.words0to3 : p.words4to7)[16 * (j & 3) + 4 * q + i] = from;
            }
    return p;
}
constexpr KeyPermute kKeyPermute = MakeKeyPermute();

// The mixing psi^61(H ^ psi(M ^ psi^12(S))) is linear over the sixteen 16-bit pieces of each
// input: output piece o is the XOR of the input pieces whose bit is set here. Derived at compile
// time by running psi on symbolic pieces (bit i: H piece i, 16 + i: M piece i, 32 + i: S piece i).
using Symbolic = std::array<uint64_t, 16>;
constexpr Symbolic Psi(const Symbolic& p) {
    Symbolic r{};
    for (int i = 0; i < 15; ++i) r[i] = p[i + 1];
    r[15] = p[0] ^ p[1] ^ p[2] ^ p[3] ^ p[12] ^ p[15];
    return r;
}
constexpr Symbolic MixTerms() {
    Symbolic x{};
    for (int i = 0; i < 16; ++i) x[i] = uint64_t{1} << (32 + i);
    for (int n = 0; n < 12; ++n) x = Psi(x);
    for (int i = 0; i < 16; ++i) x[i] ^= uint64_t{1} << (16 + i);
    x = Psi(x);
    for (int i = 0; i < 16; ++i) x[i] ^= uint64_t{1} << i;
    for (int n = 0; n < 61; ++n) x = Psi(x);
    return x;
}

// For input piece i (H 0-15, M 16-31, S 32-47): a 256-bit mask with all ones in the output
// pieces that take it, so the output is the XOR of (input piece broadcast AND its mask).
struct alignas(32) MixMasks {
    uint16_t lanes[48][16];
};
constexpr MixMasks MakeMixMasks() {
    const Symbolic terms = MixTerms();
    MixMasks m{};
    for (int i = 0; i < 48; ++i)
        for (int o = 0; o < 16; ++o) m.lanes[i][o] = (terms[o] >> i) & 1 ? 0xffff : 0;
    return m;
}
constexpr MixMasks kMix = MakeMixMasks();

constexpr uint32_t kC3[8] = {0xff00ff00, 0xff00ff00, 0x00ff00ff, 0x00ff00ff,
                             0x00ffff00, 0xff0000ff, 0x000000ff, 0xff00ffff};

// A: (y1, y2, y3, y4) to (y2, y3, y4, y1 ^ y2) on the four 64-bit lanes.
CORVANE_GOST_TARGET inline __m256i TransformA(__m256i y) {
    const __m256i moved = _mm256_permute4x64_epi64(y, _MM_SHUFFLE(0, 3, 2, 1));
    return _mm256_xor_si256(moved, _mm256_maskz_permutex_epi64(0x8, y, _MM_SHUFFLE(1, 0, 0, 0)));
}
// A twice: (y3, y4, y1 ^ y2, y2 ^ y3).
CORVANE_GOST_TARGET inline __m256i TransformAA(__m256i y) {
    const __m256i moved = _mm256_permute4x64_epi64(y, _MM_SHUFFLE(1, 0, 3, 2));
    return _mm256_xor_si256(moved, _mm256_maskz_permutex_epi64(0xc, y, _MM_SHUFFLE(2, 1, 0, 0)));
}

// The 64-entry row table as two 32-byte halves: the two-source byte permute on 256-bit vectors
// (index bit 5 picks the half) has a shorter latency here than the one-source 512-bit permute
// (measured about 5% faster for the whole step function).
struct Rows {
    __m256i lowFirst, lowSecond, highFirst, highSecond;
};

// The round function of all four lanes: both nibble substitutions of every byte by two byte
// permutes, then the rotation by 11, folded into x ^= f(y).
CORVANE_GOST_TARGET inline __m128i Round(__m128i x, __m128i y, const Rows& rows, __m128i nibbles,
                                         __m128i rowOffsets) {
    // (v & nibbles) | rowOffsets, as one three-input logic operation.
    const __m128i lowIndex = _mm_ternarylogic_epi32(y, nibbles, rowOffsets, 0xEA);
    const __m128i highIndex =
        _mm_ternarylogic_epi32(_mm_srli_epi32(y, 4), nibbles, rowOffsets, 0xEA);
    const __m128i low = _mm256_castsi256_si128(
        _mm256_permutex2var_epi8(rows.lowFirst, _mm256_castsi128_si256(lowIndex), rows.lowSecond));
    const __m128i high = _mm256_castsi256_si128(_mm256_permutex2var_epi8(
        rows.highFirst, _mm256_castsi128_si256(highIndex), rows.highSecond));
    // The two halves have disjoint bits, so x ^ rotl(low | high) = x ^ rotl(low) ^ rotl(high).
    return _mm_ternarylogic_epi32(x, _mm_rol_epi32(low, 11), _mm_rol_epi32(high, 11), 0x96);
}

}  // namespace

CORVANE_GOST_TARGET void GostCompressAvx512(uint32_t* chainingValue, const uint32_t* block) {
    const __m256i h = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(chainingValue));
    const __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block));

    // Key generation: W_q = U_q ^ V_q for the four keys, then P and the transposition together.
    __m256i u = h, v = m;
    const __m256i w0 = _mm256_xor_si256(u, v);
    u = TransformA(u);
    v = TransformAA(v);
    const __m256i w1 = _mm256_xor_si256(u, v);
    u = _mm256_xor_si256(TransformA(u), _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kC3)));
    v = TransformAA(v);
    const __m256i w2 = _mm256_xor_si256(u, v);
    u = TransformA(u);
    v = TransformAA(v);
    const __m256i w3 = _mm256_xor_si256(u, v);
    const __m512i w01 = _mm512_mask_broadcast_i64x4(_mm512_zextsi256_si512(w0), 0xf0, w1);
    const __m512i w23 = _mm512_mask_broadcast_i64x4(_mm512_zextsi256_si512(w2), 0xf0, w3);
    const __m512i keys0to3 =
        _mm512_permutex2var_epi8(w01, _mm512_load_si512(kKeyPermute.words0to3), w23);
    const __m512i keys4to7 =
        _mm512_permutex2var_epi8(w01, _mm512_load_si512(kKeyPermute.words4to7), w23);
    __m128i k[8];
    k[0] = _mm512_castsi512_si128(keys0to3);
    k[1] = _mm512_maskz_extracti32x4_epi32(0xf, keys0to3, 1);
    k[2] = _mm512_maskz_extracti32x4_epi32(0xf, keys0to3, 2);
    k[3] = _mm512_maskz_extracti32x4_epi32(0xf, keys0to3, 3);
    k[4] = _mm512_castsi512_si128(keys4to7);
    k[5] = _mm512_maskz_extracti32x4_epi32(0xf, keys4to7, 1);
    k[6] = _mm512_maskz_extracti32x4_epi32(0xf, keys4to7, 2);
    k[7] = _mm512_maskz_extracti32x4_epi32(0xf, keys4to7, 3);

    // Lane q holds sub-block q: a the low words (N1), b the high words (N2).
    __m128i a = _mm256_castsi256_si128(
        _mm256_permutexvar_epi32(_mm256_setr_epi32(0, 2, 4, 6, 0, 0, 0, 0), h));
    __m128i b = _mm256_castsi256_si128(
        _mm256_permutexvar_epi32(_mm256_setr_epi32(1, 3, 5, 7, 0, 0, 0, 0), h));
    const Rows rows = {
        _mm256_load_si256(reinterpret_cast<const __m256i*>(kRows.low)),
        _mm256_load_si256(reinterpret_cast<const __m256i*>(kRows.low + 32)),
        _mm256_load_si256(reinterpret_cast<const __m256i*>(kRows.high)),
        _mm256_load_si256(reinterpret_cast<const __m256i*>(kRows.high + 32)),
    };
    const __m128i nibbles = _mm_set1_epi32(0x0f0f0f0f);
    const __m128i rowOffsets = _mm_set1_epi32(0x30201000);
    // The halves swap every round, so the round updates them alternately.
#pragma GCC unroll 32
    for (int r = 0; r < 32; ++r) {
        const int j = r < 24 ? r % 8 : 31 - r;
        if (r % 2 == 0)
            b = Round(b, _mm_add_epi32(a, k[j]), rows, nibbles, rowOffsets);
        else
            a = Round(a, _mm_add_epi32(b, k[j]), rows, nibbles, rowOffsets);
    }
    // Encrypted sub-block q: N1 = b, N2 = a after the last round.
    const __m256i s = _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_unpacklo_epi32(b, a)),
                                              _mm_unpackhi_epi32(b, a), 1);

    // The mixing: H and M terms first (they do not wait for the encryptions), S terms last, in
    // four independent accumulators.
    alignas(32) uint16_t pieces[48];
    _mm256_store_si256(reinterpret_cast<__m256i*>(pieces), h);
    _mm256_store_si256(reinterpret_cast<__m256i*>(pieces + 16), m);
    _mm256_store_si256(reinterpret_cast<__m256i*>(pieces + 32), s);
    __m256i acc[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(),
                      _mm256_setzero_si256()};
#pragma GCC unroll 48
    for (int i = 0; i < 48; ++i) {
        const __m256i mask = _mm256_load_si256(reinterpret_cast<const __m256i*>(kMix.lanes[i]));
        // acc ^ (piece & mask)
        acc[i & 3] = _mm256_ternarylogic_epi32(
            acc[i & 3], _mm256_set1_epi16(static_cast<short>(pieces[i])), mask, 0x78);
    }
    const __m256i result =
        _mm256_ternarylogic_epi32(acc[0], acc[1], _mm256_xor_si256(acc[2], acc[3]), 0x96);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(chainingValue), result);
}
