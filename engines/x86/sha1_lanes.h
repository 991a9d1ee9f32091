// SHA-1 (FIPS 180-2, 6.1) block function over independent messages in the lanes of a vector
// backend (lane_ops.h): the 80 steps unrolled at compile time, the schedule in a rolling window of
// sixteen words, the five working words renamed each step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lane_ops.h"

inline constexpr uint32_t kSha1LaneConstant[4] = {0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xCA62C1D6};

// Step T: e += (a <<< 5) + f(b, c, d) + K + W[T]; b <<<= 30, with (a, ..., e) rotating through v.
// f by truth table: Ch (0xCA), Parity (0x96), Maj (0xE8), Parity.
template <class O, int T>
CORVANE_LANE_INLINE void Sha1LaneSteps(typename O::V* v, typename O::V* w) {
    if constexpr (T < 80) {
        constexpr int j = T % 16, round = T / 20;
        constexpr int a = (80 - T) % 5, b = (a + 1) % 5, c = (a + 2) % 5, d = (a + 3) % 5,
                      e = (a + 4) % 5;
        constexpr int table = round == 0 ? 0xCA : round == 2 ? 0xE8 : 0x96;
        if constexpr (T >= 16) {
            // W[t] = (W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16]) <<< 1
            const auto three =
                O::template Logic<0x96>(w[(j + 13) % 16], w[(j + 8) % 16], w[(j + 2) % 16]);
            w[j] = O::template Rotl<1>(O::Xor(three, w[j]));
        }
        const auto early = O::Add(v[e], O::Add(w[j], O::Set1(kSha1LaneConstant[round])));
        const auto late =
            O::Add(O::template Rotl<5>(v[a]), O::template Logic<table>(v[b], v[c], v[d]));
        v[e] = O::Add(early, late);
        v[b] = O::template Rotl<30>(v[b]);
        Sha1LaneSteps<O, T + 1>(v, w);
    }
}

template <class O>
CORVANE_LANE_INLINE void Sha1LaneBlocks(uint32_t* state, const uint8_t* const* data,
                                        std::size_t blocks) {
    LaneBlocks<O, 5, 64, true, Sha1LaneSteps<O, 0>>(state, data, blocks);
}
