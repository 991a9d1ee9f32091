// SHA-1 block function (FIPS 180-2) with the x86 SHA extensions.
//
// The state is held as ABCD (A in the top dword) and E (top dword). SHA1RNDS4 runs four rounds
// with the step function and constant picked by its immediate; SHA1NEXTE forms the next E + W
// from the ABCD of four rounds before; SHA1MSG1 / SHA1MSG2 extend the schedule four words at a
// time. Message words are loaded with all sixteen bytes reversed so W[t] lands in the top dword.
#include <immintrin.h>

#include <utility>

#include "x86_blocks.h"

namespace {

#define CORVANE_SHANI __attribute__((target("sha,sse4.1,ssse3")))

struct Lanes {
    __m128i abcd, previous;  // previous: ABCD before the last four rounds
    __m128i w[4];            // W[4g..4g+3] of the last four groups, in a ring
};

template <int G>
CORVANE_SHANI inline __attribute__((always_inline)) void Group(Lanes& s, const uint8_t* block,
                                                               __m128i reverse, __m128i e) {
    __m128i& w = s.w[G % 4];
    if constexpr (G < 4) {
        w = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * G)),
                             reverse);
    } else {
        w = _mm_sha1msg2_epu32(
            _mm_xor_si128(_mm_sha1msg1_epu32(w, s.w[(G + 1) % 4]), s.w[(G + 2) % 4]),
            s.w[(G + 3) % 4]);
    }
    __m128i ew;
    if constexpr (G == 0)
        ew = _mm_add_epi32(e, w);
    else
        ew = _mm_sha1nexte_epu32(s.previous, w);
    s.previous = s.abcd;
    s.abcd = _mm_sha1rnds4_epu32(s.abcd, ew, G / 5);
}

template <int... G>
CORVANE_SHANI inline __attribute__((always_inline)) void AllGroups(
    Lanes& s, const uint8_t* block, __m128i reverse, __m128i e, std::integer_sequence<int, G...>) {
    (Group<G>(s, block, reverse, e), ...);
}

}  // namespace

CORVANE_SHANI void Sha1BlocksShaNi(uint32_t* state, const uint8_t* data, std::size_t blocks) {
    const __m128i reverse = _mm_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    Lanes s{};
    s.abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
    for (; blocks > 0; --blocks, data += 64) {
        const __m128i abcd = s.abcd;
        AllGroups(s, data, reverse, e, std::make_integer_sequence<int, 20>{});
        e = _mm_sha1nexte_epu32(s.previous, e);  // rotl30 of the A four rounds back, plus old E
        s.abcd = _mm_add_epi32(s.abcd, abcd);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(s.abcd, 0x1B));
    state[4] = static_cast<uint32_t>(_mm_extract_epi32(e, 3));
}
