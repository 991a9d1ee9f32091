// SHA-256 block function (FIPS 180-2) with the x86 SHA extensions.
//
// SHA256RNDS2 runs two rounds on the state split as ABEF / CDGH (A in the top dword) with the
// two W+K words in the low half of its third operand; SHA256MSG1 and SHA256MSG2 extend the
// message schedule four words at a time (sigma-0 part, then sigma-1 part after W[t-7] is added).
#include <immintrin.h>

#include <utility>

#include "../sha2_constants.h"
#include "x86_blocks.h"

namespace {

#define CORVANE_SHANI __attribute__((target("sha,sse4.1,ssse3")))

struct Lanes {
    __m128i abef, cdgh;
    __m128i w[4];  // W[4g..4g+3] of the last four groups, in a ring
};

// Four rounds of group G: extend the schedule (from group 4 on), then two SHA256RNDS2.
template <int G>
CORVANE_SHANI inline __attribute__((always_inline)) void Group(Lanes& s, const uint8_t* block,
                                                               __m128i byteSwap) {
    __m128i& w = s.w[G % 4];
    if constexpr (G < 4) {
        w = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * G)),
                             byteSwap);
    } else {
        const __m128i w7 = _mm_alignr_epi8(s.w[(G + 3) % 4], s.w[(G + 2) % 4], 4);  // W[t-7..t-4]
        w = _mm_sha256msg2_epu32(_mm_add_epi32(_mm_sha256msg1_epu32(w, s.w[(G + 1) % 4]), w7),
                                 s.w[(G + 3) % 4]);
    }
    __m128i wk =
        _mm_add_epi32(w, _mm_load_si128(reinterpret_cast<const __m128i*>(kSha256Round + 4 * G)));
    // Each SHA256RNDS2 returns the new ABEF; the old ABEF is the new CDGH.
    s.cdgh = _mm_sha256rnds2_epu32(s.cdgh, s.abef, wk);
    wk = _mm_shuffle_epi32(wk, 0x0E);
    s.abef = _mm_sha256rnds2_epu32(s.abef, s.cdgh, wk);
}

template <int... G>
CORVANE_SHANI inline __attribute__((always_inline)) void AllGroups(
    Lanes& s, const uint8_t* block, __m128i byteSwap, std::integer_sequence<int, G...>) {
    (Group<G>(s, block, byteSwap), ...);
}

}  // namespace

CORVANE_SHANI void Sha256BlocksShaNi(uint32_t* state, const uint8_t* data, std::size_t blocks) {
    const __m128i byteSwap = _mm_set_epi8(12, 13, 14, 15, 8, 9, 10, 11, 4, 5, 6, 7, 0, 1, 2, 3);
    // state is A..H in order; rearrange to ABEF (A in the top dword) and CDGH.
    const __m128i badc =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(state)), 0xB1);
    const __m128i hgfe =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(state + 4)), 0x1B);
    Lanes s{};
    s.abef = _mm_alignr_epi8(badc, hgfe, 8);
    s.cdgh = _mm_blend_epi16(hgfe, badc, 0xF0);
    for (; blocks > 0; --blocks, data += 64) {
        const __m128i abef = s.abef, cdgh = s.cdgh;
        AllGroups(s, data, byteSwap, std::make_integer_sequence<int, 16>{});
        s.abef = _mm_add_epi32(s.abef, abef);
        s.cdgh = _mm_add_epi32(s.cdgh, cdgh);
    }
    const __m128i abef = _mm_shuffle_epi32(s.abef, 0x1B);  // dwords A B E F from the bottom
    const __m128i cdgh = _mm_shuffle_epi32(s.cdgh, 0xB1);  // G H C D
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(abef, cdgh, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(cdgh, abef, 8));
}
