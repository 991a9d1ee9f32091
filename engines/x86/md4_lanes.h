// MD4 (RFC 1320) block function over independent messages in the lanes of a vector backend
// (lane_ops.h): the 48 steps unrolled at compile time, the four working words renamed each step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lane_ops.h"

inline constexpr int kMd4LaneShift[3][4] = {{3, 7, 11, 19}, {3, 5, 9, 13}, {3, 9, 11, 15}};
inline constexpr uint32_t kMd4LaneConstant[3] = {0, 0x5a827999, 0x6ed9eba1};

// Step I: a = (a + f(b, c, d) + X[k] + constant) <<< s, with (a, b, c, d) rotating through v.
// Round 1 takes the words in order, round 2 by columns of the 4 x 4 square (0, 4, 8, 12, 1, ...),
// round 3 in bit-reversed order (0, 8, 4, 12, 2, ...). The functions by truth table:
// F = b ? c : d (0xCA), G = majority (0xE8), H = b ^ c ^ d (0x96).
template <class O, int I>
CORVANE_LANE_INLINE void Md4LaneSteps(typename O::V* v, const typename O::V* x) {
    if constexpr (I < 48) {
        constexpr int round = I / 16, i = I % 16;
        constexpr int a = (48 - I) % 4, b = (a + 1) % 4, c = (a + 2) % 4, d = (a + 3) % 4;
        constexpr int k = round == 0   ? i
                          : round == 1 ? i % 4 * 4 + i / 4
                                       : (i & 1) << 3 | (i & 2) << 1 | (i & 4) >> 1 | (i & 8) >> 3;
        constexpr int table = round == 0 ? 0xCA : round == 1 ? 0xE8 : 0x96;
        auto t = O::Add(v[a], round == 0 ? x[k] : O::Add(x[k], O::Set1(kMd4LaneConstant[round])));
        t = O::Add(t, O::template Logic<table>(v[b], v[c], v[d]));
        v[a] = O::template Rotl<kMd4LaneShift[round][I % 4]>(t);
        Md4LaneSteps<O, I + 1>(v, x);
    }
}

template <class O>
CORVANE_LANE_INLINE void Md4LaneBlocks(uint32_t* state, const uint8_t* const* data,
                                       std::size_t blocks) {
    LaneBlocks<O, 4, 64, false, Md4LaneSteps<O, 0>>(state, data, blocks);  // little-endian words
}
