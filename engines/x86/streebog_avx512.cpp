// GOST R 34.11-2012 over whole blocks with AVX-512 (F, BW), VBMI and GFNI: the 64-byte state in
// one vector. S is two 128-byte table permutes; P and L together are eight column broadcasts
// (byte permutes) and eight GF(2) affine maps, one per source column. Same result as the
// portable StreebogBlocks.
//
// The state is kept transposed (byte 8k + w holds byte k of word w), because that is the layout
// the affine step produces: GF2P8AFFINEQB applies one 8x8 bit matrix per 64-bit lane, so a lane
// must hold one output byte position k (whose matrix it is) for all eight words w. With inputs
// transposed too, the bytes that feed output word w from source word j are column j of the
// input, which one byte permute copies into every lane.
// GCC 12's AVX-512 intrinsics start some results from a self-initialised "undefined" vector,
// which -W(maybe-)uninitialized reports at the header's lines once inlined; the warning is false.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "bytes.h"
#include "streebog_tables.h"
#include "x86/x86_blocks.h"

#define CORVANE_STREEBOG_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi,gfni")))

namespace {

constexpr int Transposed(int p) {
    return 8 * (p % 8) + p / 8;
}

// Every member is a whole number of 64-byte rows, so each row stays aligned for vector loads.
struct alignas(64) VectorTables {
    uint8_t transpose[64];     // byte permute: natural to transposed and back
    uint8_t column[8][64];     // column[j]: byte j of every lane, copied to every lane
    uint64_t matrix[8][8];     // matrix[j][k]: byte k of l's output from byte j of its input
    uint64_t constant[12][8];  // C1 to C12, transposed
    uint8_t pi[256];
};

constexpr VectorTables MakeVectorTables() {
    VectorTables t{};
    for (int p = 0; p < 64; ++p) {
        t.transpose[p] = static_cast<uint8_t>(Transposed(p));
        for (int j = 0; j < 8; ++j) t.column[j][p] = static_cast<uint8_t>(8 * (p % 8) + j);
    }
    // The affine step's matrix byte 7 - i selects the input bits of output bit i.
    for (int j = 0; j < 8; ++j)
        for (int k = 0; k < 8; ++k)
            for (int i = 0; i < 8; ++i)
                for (int bit = 0; bit < 8; ++bit)
                    if ((StreebogLinearByte(j, static_cast<uint8_t>(1 << bit)) >> (8 * k + i)) & 1)
                        t.matrix[j][k] |= uint64_t{1} << (8 * (7 - i) + bit);
    for (int r = 0; r < 12; ++r)
        for (int p = 0; p < 64; ++p) {
            const int q = Transposed(p);
            t.constant[r][p / 8] |= ((kStreebogC[r][q / 8] >> (8 * (q % 8))) & 255)
                                    << (8 * (p % 8));
        }
    for (int v = 0; v < 256; ++v) t.pi[v] = kStreebogPi[v];
    return t;
}
constexpr VectorTables kV = MakeVectorTables();

struct Registers {
    __m512i transpose, column[8], matrix[8], pi[4];
};

CORVANE_STREEBOG_TARGET inline __m512i Load(const void* p) {
    return _mm512_load_si512(p);
}

CORVANE_STREEBOG_TARGET inline __m512i Xor3(__m512i a, __m512i b, __m512i c) {
    return _mm512_ternarylogic_epi64(a, b, c, 0x96);
}

// L(P(S(y))) on a transposed state, giving a transposed state.
CORVANE_STREEBOG_TARGET inline __m512i Lps(const Registers& r, __m512i y) {
    const __m512i low = _mm512_permutex2var_epi8(r.pi[0], y, r.pi[1]);
    const __m512i high = _mm512_permutex2var_epi8(r.pi[2], y, r.pi[3]);
    const __m512i s = _mm512_mask_blend_epi8(_mm512_movepi8_mask(y), low, high);
    __m512i t[8];
#pragma GCC unroll 8
    for (int j = 0; j < 8; ++j)
        t[j] =
            _mm512_gf2p8affine_epi64_epi8(_mm512_permutexvar_epi8(r.column[j], s), r.matrix[j], 0);
    return Xor3(Xor3(t[0], t[1], t[2]), Xor3(t[3], t[4], t[5]), _mm512_xor_si512(t[6], t[7]));
}

}  // namespace

CORVANE_STREEBOG_TARGET void StreebogBlocksAvx512(uint64_t* h, uint64_t* n, uint64_t* sigma,
                                                  const uint8_t* data, std::size_t blocks) {
    Registers r;
    r.transpose = Load(kV.transpose);
    for (int j = 0; j < 8; ++j) {
        r.column[j] = Load(kV.column[j]);
        r.matrix[j] = Load(kV.matrix[j]);
    }
    for (int q = 0; q < 4; ++q) r.pi[q] = Load(kV.pi + 64 * q);

    __m512i state = _mm512_permutexvar_epi8(r.transpose, _mm512_loadu_si512(h));
    for (; blocks > 0; --blocks, data += 64) {
        const __m512i m = _mm512_permutexvar_epi8(r.transpose, _mm512_loadu_si512(data));
        const __m512i count = _mm512_permutexvar_epi8(r.transpose, _mm512_loadu_si512(n));
        __m512i key = Lps(r, _mm512_xor_si512(state, count));
        __m512i s = m;
#pragma GCC unroll 12
        for (int round = 0; round < 12; ++round) {
            s = Lps(r, _mm512_xor_si512(s, key));
            key = Lps(r, _mm512_xor_si512(key, Load(kV.constant[round])));
        }
        state = _mm512_xor_si512(Xor3(state, s, key), m);

        // N += 512 and Sigma += m, on general registers while the vector unit works.
        unsigned char carry = 0;
        for (int i = 0; i < 8; ++i) {
            unsigned long long sum;
            carry = _addcarry_u64(carry, n[i], i == 0 ? 512 : 0, &sum);
            n[i] = sum;
        }
        carry = 0;
        for (int i = 0; i < 8; ++i) {
            unsigned long long sum;
            carry = _addcarry_u64(carry, sigma[i], LoadLe64(data + 8 * i), &sum);
            sigma[i] = sum;
        }
    }
    _mm512_storeu_si512(h, _mm512_permutexvar_epi8(r.transpose, state));
}
