// SHA-256 and SHA-512 (FIPS 180-2, 6.2 and 6.3) block functions over independent messages in the
// lanes of a vector backend (lane_ops.h). The two differ only in word width, round count,
// constants and rotation amounts, so one template serves both: the rounds unrolled at compile
// time, the schedule in a rolling window of sixteen words, the eight working words renamed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../sha2_constants.h"
#include "lane_ops.h"

struct Sha256LaneParameters {
    static constexpr int kRounds = 64, kBlockBytes = 64;
    static constexpr const uint32_t* kConstant = kSha256Round;
    static constexpr int kBig0[3] = {2, 13, 22}, kBig1[3] = {6, 11, 25};
    static constexpr int kSmall0[3] = {7, 18, 3},
                         kSmall1[3] = {17, 19, 10};  // two rotations, a shift
};

struct Sha512LaneParameters {
    static constexpr int kRounds = 80, kBlockBytes = 128;
    static constexpr const uint64_t* kConstant = kSha512Round;
    static constexpr int kBig0[3] = {28, 34, 39}, kBig1[3] = {14, 18, 41};
    static constexpr int kSmall0[3] = {1, 8, 7}, kSmall1[3] = {19, 61, 6};
};

template <class O, const int* R>
CORVANE_LANE_INLINE typename O::V Sha2BigSigma(typename O::V x) {
    return O::template Logic<0x96>(O::template Rotr<R[0]>(x), O::template Rotr<R[1]>(x),
                                   O::template Rotr<R[2]>(x));
}
template <class O, const int* R>
CORVANE_LANE_INLINE typename O::V Sha2SmallSigma(typename O::V x) {
    return O::template Logic<0x96>(O::template Rotr<R[0]>(x), O::template Rotr<R[1]>(x),
                                   O::template Shr<R[2]>(x));
}

// Round T: T1 = h + Sigma1(e) + Ch(e, f, g) + K[T] + W[T]; d += T1; h = T1 + Sigma0(a) +
// Maj(a, b, c), with (a, ..., h) rotating through v. Ch is 0xCA, Maj 0xE8 by truth table.
template <class O, class P, int T>
CORVANE_LANE_INLINE void Sha2LaneRounds(typename O::V* v, typename O::V* w) {
    if constexpr (T < P::kRounds) {
        constexpr int j = T % 16;
        constexpr int a = (P::kRounds - T) % 8, b = (a + 1) % 8, c = (a + 2) % 8, d = (a + 3) % 8,
                      e = (a + 4) % 8, f = (a + 5) % 8, g = (a + 6) % 8, h = (a + 7) % 8;
        if constexpr (T >= 16) {
            // W[t] = sigma1(W[t-2]) + W[t-7] + sigma0(W[t-15]) + W[t-16]
            const auto s1 = Sha2SmallSigma<O, P::kSmall1>(w[(j + 14) % 16]);
            const auto s0 = Sha2SmallSigma<O, P::kSmall0>(w[(j + 1) % 16]);
            w[j] = O::Add(O::Add(w[j], s0), O::Add(w[(j + 9) % 16], s1));
        }
        const auto early = O::Add(v[h], O::Add(w[j], O::Set1(P::kConstant[T])));
        const auto t1 = O::Add(O::Add(early, Sha2BigSigma<O, P::kBig1>(v[e])),
                               O::template Logic<0xCA>(v[e], v[f], v[g]));
        v[d] = O::Add(v[d], t1);
        v[h] = O::Add(
            t1, O::Add(Sha2BigSigma<O, P::kBig0>(v[a]), O::template Logic<0xE8>(v[a], v[b], v[c])));
        Sha2LaneRounds<O, P, T + 1>(v, w);
    }
}

template <class O, class P>
CORVANE_LANE_INLINE void Sha2LaneBlocks(typename O::Word* state, const uint8_t* const* data,
                                        std::size_t blocks) {
    LaneBlocks<O, 8, P::kBlockBytes, true, Sha2LaneRounds<O, P, 0>>(state, data, blocks);
}
