// SM3's compression function (GB/T 32905-2016) with the message expansion on 128-bit vectors,
// four words at a time, a few rounds ahead; the rounds (sm3_round.h) stay on general registers. The
// vector units take the expansion, so the integer units that the rounds keep busy have about a
// fifth less to do (corvane_bench, sm3 rows). Same result as the portable Sm3Blocks.
#include <immintrin.h>

#include "../sm3_round.h"
#include "x86_blocks.h"

#define CORVANE_SM3_TARGET __attribute__((target("avx2")))

namespace {

CORVANE_SM3_TARGET inline __m128i Rotl(__m128i x, int n) {
    return _mm_or_si128(_mm_slli_epi32(x, n), _mm_srli_epi32(x, 32 - n));
}

CORVANE_SM3_TARGET inline __m128i P1(__m128i x) {
    return _mm_xor_si128(_mm_xor_si128(x, Rotl(x, 15)), Rotl(x, 23));
}

// The schedule, one vector step (four words) four rounds ahead of the first round that needs
// its words: expanding all words first ran slower than the portable engine, as the expansion's
// chain of dependent steps then fills the processor's window ahead of the rounds.
struct VectorSchedule {
    alignas(16) uint32_t w[68];
    alignas(16) uint32_t wp[64];
    __m128i v[4];  // the sixteen words before the next step's

    CORVANE_SM3_TARGET explicit VectorSchedule(const uint8_t* data) {
        const __m128i swap = _mm_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
        for (int i = 0; i < 4; ++i) {
            v[i] = _mm_shuffle_epi8(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i)), swap);
            _mm_store_si128(reinterpret_cast<__m128i*>(w + 4 * i), v[i]);
        }
        for (int i = 0; i < 3; ++i)
            _mm_store_si128(reinterpret_cast<__m128i*>(wp + 4 * i), _mm_xor_si128(v[i], v[i + 1]));
    }

    // Ahead of round j (j = 12, 16, .., 60): W_(j+4) .. W_(j+7) and W'_j .. W'_(j+3). W_(j+7)
    // needs W_(j+4) itself, so it is first made without that term and then corrected (P1 and the
    // rotation are linear).
    CORVANE_SM3_TARGET void Before(int j) {
        if (j < 12 || j % 4 != 0) return;
        const __m128i w16 = v[0];                             // W_(k-16) .. W_(k-13), k = j + 4
        const __m128i w13 = _mm_alignr_epi8(v[1], v[0], 12);  // W_(k-13) .. W_(k-10)
        const __m128i w9 = _mm_alignr_epi8(v[2], v[1], 12);   // W_(k-9) .. W_(k-6)
        const __m128i w6 = _mm_alignr_epi8(v[3], v[2], 8);    // W_(k-6) .. W_(k-3)
        const __m128i w3 = _mm_srli_si128(v[3], 4);           // W_(k-3) .. W_(k-1), 0
        __m128i x = _mm_xor_si128(
            _mm_xor_si128(P1(_mm_xor_si128(_mm_xor_si128(w16, w9), Rotl(w3, 15))), Rotl(w13, 7)),
            w6);
        x = _mm_xor_si128(x, P1(Rotl(_mm_slli_si128(x, 12), 15)));
        _mm_store_si128(reinterpret_cast<__m128i*>(w + j + 4), x);
        _mm_store_si128(reinterpret_cast<__m128i*>(wp + j), _mm_xor_si128(v[3], x));
        v[0] = v[1], v[1] = v[2], v[2] = v[3], v[3] = x;
        // The rounds load the words from memory: without this, GCC extracts them from the
        // vectors, two operations each.
        __asm__ volatile("" ::: "memory");
    }
    uint32_t W(int j) const { return w[j]; }
    uint32_t Wp(int j) const { return wp[j]; }
};

}  // namespace

CORVANE_SM3_TARGET void Sm3BlocksAvx2(uint32_t* state, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        VectorSchedule schedule(data);
        sm3::Rounds(state, schedule);
    }
}
