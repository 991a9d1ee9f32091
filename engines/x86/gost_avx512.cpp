// GOST R 34.11-94 step function (compression) with AVX-512 (F, BW, VL) and VBMI byte permutes
// for the key generation and the mixing. Same result as the portable GostCompress. The four
// GOST 28147-89 encryptions of a step run side by side on general registers, with table lookups:
// as vector operations a round is a longer chain of dependent steps.
// GCC 12's AVX-512 intrinsics start some results from a self-initialised "undefined" vector,
// which -Wuninitialized reports at the header's lines once inlined; the warning is false.
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>

#include <array>
#include <cstdint>

#include "gost_tables.h"
#include "x86/gost_round.h"
#include "x86/x86_blocks.h"

#define CORVANE_GOST_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,bmi")))

namespace {

// The key words of all four encryptions, transposed for the four chains: byte 16j + 4q + i of the
// key vectors (key word j of encryption q, byte i; words 0-3 in the first vector, 4-7 in the
// second) is byte 8i + j of W_q = U_q ^ V_q (the P transform). U_q and V_q are A applied to H
// and M a fixed number of times, so each byte of W_q is the XOR of at most five bytes of H and M
// (and a constant from C3): five byte permutes of the 64 bytes of H and M per vector, without
// the chain of A transforms.
constexpr int kKeyColumns = 5;
// Rows are loaded as whole aligned vectors, hence the member alignments.
struct alignas(64) KeyPermutes {
    alignas(64) uint8_t index[2][kKeyColumns][64];
    uint64_t mask[2][kKeyColumns];
    alignas(64) uint8_t constant[2][64];
};
// A on 64-bit sub-blocks, (y1, y2, y3, y4) to (y2, y3, y4, y1 ^ y2); as bit masks over the eight
// sub-blocks of H and M (bits 0-3 and 4-7), or as values.
template <typename T>
constexpr void ApplyA(T (&y)[4]) {
    const T first = y[0] ^ y[1];
    y[0] = y[1];
    y[1] = y[2];
    y[2] = y[3];
    y[3] = first;
}
constexpr KeyPermutes MakeKeyPermutes() {
    uint32_t u[4] = {1, 2, 4, 8}, v[4] = {16, 32, 64, 128}, w[4][4]{};
    uint64_t cu[4] = {}, cw[4][4]{};  // the constant part, from C3
    constexpr uint64_t kC3Lanes[4] = {0xff00ff00ff00ff00, 0x00ff00ff00ff00ff, 0xff0000ff00ffff00,
                                      0xff00ffff000000ff};
    for (int q = 0; q < 4; ++q) {
        if (q != 0) {
            ApplyA(u);
            ApplyA(cu);
            if (q == 2)
                for (int l = 0; l < 4; ++l) cu[l] ^= kC3Lanes[l];
            ApplyA(v);
            ApplyA(v);
        }
        for (int l = 0; l < 4; ++l) w[q][l] = u[l] | v[l], cw[q][l] = cu[l];
    }
    KeyPermutes p{};
    for (int j = 0; j < 8; ++j)
        for (int q = 0; q < 4; ++q)
            for (int i = 0; i < 4; ++i) {
                const int half = j / 4, at = 16 * (j % 4) + 4 * q + i;
                int t = 0;
                for (int lane = 0; lane < 8; ++lane)
                    if ((w[q][i] >> lane) & 1) {
                        p.index[half][t][at] = static_cast<uint8_t>(8 * lane + j);
                        p.mask[half][t] |= uint64_t{1} << at;
                        ++t;
                    }
                p.constant[half][at] = static_cast<uint8_t>(cw[q][i] >> (8 * j));
            }
    return p;
}
constexpr KeyPermutes kKeys = MakeKeyPermutes();

// The same sums as word permutes: output piece o takes its t-th term from column t, so the output
// is the XOR of a few permutes of the inputs. H and M pieces come from one 32-word vector (H in
// words 0-15), two columns per 512-bit permute (column 2c in words 0-15, 2c + 1 in 16-31), with
// a zero mask where an output has no further term. S pieces come straight from the halves of the
// four encryptions, b (N1) in the first source, a (N2) in the second; words 8-15 of b are zero
// and stand for a missing term.
constexpr int kHmColumns = 13;  // up to 25 H and M terms per output piece
constexpr int kSColumns = 11;   // up to 11 S terms
// As above: rows are loaded as whole aligned vectors.
struct alignas(64) MixPermutes {
    alignas(64) uint16_t hm[kHmColumns][32];
    uint32_t hmMask[kHmColumns];
    alignas(32) uint16_t s[kSColumns][16];
};
constexpr MixPermutes MakeMixPermutes() {
    const GostSymbolic terms = GostMixTerms();
    MixPermutes p{};
    for (int o = 0; o < 16; ++o) {
        int t = 0;
        for (int i = 0; i < 32; ++i)
            if ((terms[o] >> i) & 1) {
                p.hm[t / 2][16 * (t % 2) + o] = static_cast<uint16_t>(i);
                p.hmMask[t / 2] |= uint32_t{1} << (16 * (t % 2) + o);
                ++t;
            }
        t = 0;
        for (int c = 0; c < kSColumns; ++c) p.s[c][o] = 8;  // zero unless set below
        for (int i = 0; i < 16; ++i)
            if ((terms[o] >> (32 + i)) & 1) {
                // S piece i: encryption i / 4, N1 low/high for i % 4 = 0/1, N2 low/high for 2/3.
                const int lane = i / 4, r = i % 4;
                p.s[t++][o] = static_cast<uint16_t>(r < 2 ? 2 * lane + r : 16 + 2 * lane + r - 2);
            }
    }
    return p;
}
constexpr MixPermutes kMix = MakeMixPermutes();

// One column of each permute table (written as calls, not loops over arrays, so that the
// compiler keeps the terms in registers instead of storing and reloading them).
CORVANE_GOST_TARGET inline __m512i KeyColumn(__m512i hm, int half, int c) {
    return _mm512_maskz_permutexvar_epi8(
        _cvtu64_mask64(kKeys.mask[half][c]),
        _mm512_load_si512(reinterpret_cast<const __m512i*>(kKeys.index[half][c])), hm);
}
CORVANE_GOST_TARGET inline __m512i KeyHalf(__m512i hm, int half) {
    const __m512i constant =
        _mm512_load_si512(reinterpret_cast<const __m512i*>(kKeys.constant[half]));
    return _mm512_xor_si512(
        _mm512_ternarylogic_epi32(KeyColumn(hm, half, 0), KeyColumn(hm, half, 1),
                                  KeyColumn(hm, half, 2), 0x96),
        _mm512_ternarylogic_epi32(KeyColumn(hm, half, 3), KeyColumn(hm, half, 4), constant, 0x96));
}
CORVANE_GOST_TARGET inline __m512i HmColumn(__m512i hm, int c) {
    return _mm512_maskz_permutexvar_epi16(
        _cvtu32_mask32(kMix.hmMask[c]),
        _mm512_load_si512(reinterpret_cast<const __m512i*>(kMix.hm[c])), hm);
}
CORVANE_GOST_TARGET inline __m512i Xor3(__m512i x, __m512i y, __m512i z) {
    return _mm512_ternarylogic_epi32(x, y, z, 0x96);
}
CORVANE_GOST_TARGET inline __m256i SColumn(__m256i n1, __m256i n2, int t) {
    return _mm256_permutex2var_epi16(
        n1, _mm256_load_si256(reinterpret_cast<const __m256i*>(kMix.s[t])), n2);
}
CORVANE_GOST_TARGET inline __m256i Xor3(__m256i x, __m256i y, __m256i z) {
    return _mm256_ternarylogic_epi32(x, y, z, 0x96);
}

}  // namespace

CORVANE_GOST_TARGET void GostCompressAvx512(const GostRoundTables& tables, uint32_t* chainingValue,
                                            const uint32_t* block) {
    const __m256i h = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(chainingValue));
    const __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block));

    const __m512i hm = _mm512_inserti64x4(_mm512_castsi256_si512(h), m, 1);
    const __m512i keys0to3 = KeyHalf(hm, 0), keys4to7 = KeyHalf(hm, 1);

    // The H and M terms of the mixing, ahead of the rounds in program order so that they run
    // while the rounds wait on their chain.
    const __m512i hmAll =
        Xor3(Xor3(Xor3(HmColumn(hm, 0), HmColumn(hm, 1), HmColumn(hm, 2)),
                  Xor3(HmColumn(hm, 3), HmColumn(hm, 4), HmColumn(hm, 5)),
                  Xor3(HmColumn(hm, 6), HmColumn(hm, 7), HmColumn(hm, 8))),
             Xor3(HmColumn(hm, 9), HmColumn(hm, 10), HmColumn(hm, 11)), HmColumn(hm, 12));
    const __m256i hmTerms =
        _mm256_xor_si256(_mm512_castsi512_si256(hmAll), _mm512_extracti64x4_epi64(hmAll, 1));

    alignas(64) uint32_t key[32];  // key[4j + q]: key word j of encryption q
    _mm512_store_si512(key, keys0to3);
    _mm512_store_si512(key + 16, keys4to7);
    uint32_t s[8];
    GostEncryptFour(
        tables, chainingValue, [&key](int q, int j) -> const uint32_t& { return key[4 * j + q]; },
        s);
    const __m128i bv = _mm_setr_epi32(static_cast<int>(s[0]), static_cast<int>(s[2]),
                                      static_cast<int>(s[4]), static_cast<int>(s[6]));
    const __m128i av = _mm_setr_epi32(static_cast<int>(s[1]), static_cast<int>(s[3]),
                                      static_cast<int>(s[5]), static_cast<int>(s[7]));
    // The S terms of the mixing, read from the final halves.
    const __m256i n1 = _mm256_zextsi128_si256(bv), n2 = _mm256_zextsi128_si256(av);
    const __m256i result = Xor3(
        Xor3(hmTerms, SColumn(n1, n2, 0), SColumn(n1, n2, 1)),
        Xor3(Xor3(SColumn(n1, n2, 2), SColumn(n1, n2, 3), SColumn(n1, n2, 4)),
             Xor3(SColumn(n1, n2, 5), SColumn(n1, n2, 6), SColumn(n1, n2, 7)), SColumn(n1, n2, 8)),
        _mm256_xor_si256(SColumn(n1, n2, 9), SColumn(n1, n2, 10)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(chainingValue), result);
}
