// MD5 (RFC 1321) block function over independent messages in the lanes of a vector backend
// (lane_ops.h): the 64 steps unrolled at compile time, the four working words renamed each step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "lane_ops.h"

// T[1..64] of RFC 1321, in step order.
inline constexpr uint32_t kMd5LaneSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
inline constexpr int kMd5LaneShift[4][4] = {
    {7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// Step I: a = b + ((a + f(b, c, d) + X[k] + T[I]) <<< s), with (a, b, c, d) rotating through v.
// The functions by truth table: F = b ? c : d (0xCA), G = d ? b : c (0xE4), H = b ^ c ^ d (0x96),
// I = c ^ (b | ~d) (0x39).
template <class O, int I>
CORVANE_LANE_INLINE void Md5LaneSteps(typename O::V* v, const typename O::V* x) {
    if constexpr (I < 64) {
        constexpr int round = I / 16;
        constexpr int a = (64 - I) % 4, b = (a + 1) % 4, c = (a + 2) % 4, d = (a + 3) % 4;
        constexpr int k = round == 0   ? I % 16
                          : round == 1 ? (1 + 5 * I) % 16
                          : round == 2 ? (5 + 3 * I) % 16
                                       : 7 * I % 16;
        constexpr int table = round == 0 ? 0xCA : round == 1 ? 0xE4 : round == 2 ? 0x96 : 0x39;
        auto t = O::Add(v[a], O::Add(x[k], O::Set1(kMd5LaneSine[I])));
        t = O::Add(t, O::template Logic<table>(v[b], v[c], v[d]));
        v[a] = O::Add(v[b], O::template Rotl<kMd5LaneShift[round][I % 4]>(t));
        Md5LaneSteps<O, I + 1>(v, x);
    }
}

template <class O>
CORVANE_LANE_INLINE void Md5LaneBlocks(uint32_t* state, const uint8_t* const* data,
                                       std::size_t blocks) {
    LaneBlocks<O, 4, 64, false, Md5LaneSteps<O, 0>>(state, data, blocks);  // little-endian words
}
