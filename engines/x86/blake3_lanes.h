// BLAKE3 on N inputs at once, one input per vector lane (backend O of lane_ops.h): chunks with
// consecutive counters, or parents. Lanes beyond the inputs left in the last group recompute the
// group's last input and are not stored.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "../blake3_constants.h"
#include "lane_ops.h"

namespace {

// How many blocks ahead of the one being compressed each lane's input is fetched.
constexpr std::size_t kBlake3PrefetchBlocks = 4;

template <class O>
CORVANE_LANE_INLINE void Blake3G(typename O::V* v, int a, int b, int c, int d, typename O::V x,
                                 typename O::V y) {
    v[a] = O::Add(O::Add(v[a], v[b]), x);
    v[d] = O::template Rotr<16>(O::Xor(v[d], v[a]));
    v[c] = O::Add(v[c], v[d]);
    v[b] = O::template Rotr<12>(O::Xor(v[b], v[c]));
    v[a] = O::Add(O::Add(v[a], v[b]), y);
    v[d] = O::template Rotr<8>(O::Xor(v[d], v[a]));
    v[c] = O::Add(v[c], v[d]);
    v[b] = O::template Rotr<7>(O::Xor(v[b], v[c]));
}

template <class O>
CORVANE_LANE_INLINE void Blake3Round(typename O::V* v, const typename O::V* m, const uint8_t* s) {
    Blake3G<O>(v, 0, 4, 8, 12, m[s[0]], m[s[1]]);
    Blake3G<O>(v, 1, 5, 9, 13, m[s[2]], m[s[3]]);
    Blake3G<O>(v, 2, 6, 10, 14, m[s[4]], m[s[5]]);
    Blake3G<O>(v, 3, 7, 11, 15, m[s[6]], m[s[7]]);
    Blake3G<O>(v, 0, 5, 10, 15, m[s[8]], m[s[9]]);
    Blake3G<O>(v, 1, 6, 11, 12, m[s[10]], m[s[11]]);
    Blake3G<O>(v, 2, 7, 8, 13, m[s[12]], m[s[13]]);
    Blake3G<O>(v, 3, 4, 9, 14, m[s[14]], m[s[15]]);
}

template <class O>
void Blake3LaneInputs(const uint32_t* key, const uint8_t* data, std::size_t count,
                      std::size_t blocks, uint64_t counter, bool counterStep, uint8_t flags,
                      uint8_t flagsStart, uint8_t flagsEnd, uint8_t* out) {
    using V = typename O::V;
    constexpr std::size_t N = O::kLanes;
    const std::size_t stride = blocks * 64;
    for (std::size_t first = 0; first < count; first += N) {
        const std::size_t live = std::min(N, count - first);
        const uint8_t* lanes[N];
        uint32_t counterLow[N], counterHigh[N];
        for (std::size_t l = 0; l < N; ++l) {
            const std::size_t input = first + std::min(l, live - 1);
            lanes[l] = data + input * stride;
            const uint64_t c = counter + (counterStep ? input : 0);
            counterLow[l] = static_cast<uint32_t>(c);
            counterHigh[l] = static_cast<uint32_t>(c >> 32);
        }
        V h[8];
        for (int i = 0; i < 8; ++i) h[i] = O::Set1(key[i]);
        const V low = O::Load(counterLow), high = O::Load(counterHigh);
        for (std::size_t b = 0; b < blocks; ++b) {
            V m[16];
            // The lanes' streams are too many for the hardware to see coming: without this, input
            // hashed where a file is mapped (not from a cache-warm buffer) stalls on every block
            // (`corvane-sum -a blake3` on a large page-cached file against b3sum, whole process).
            // Past the input's end the fetch is a hint that cannot fault.
            const std::size_t ahead = b + kBlake3PrefetchBlocks;
            const std::size_t at = ahead < blocks ? ahead * 64 : N * stride + (ahead - blocks) * 64;
            for (std::size_t l = 0; l < N; ++l)
                __builtin_prefetch(
                    reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(lanes[l]) + at));
            O::LoadBlock(lanes, b * 64, m);
            const uint32_t f = flags | (b == 0 ? flagsStart : 0) | (b + 1 == blocks ? flagsEnd : 0);
            V v[16] = {h[0],
                       h[1],
                       h[2],
                       h[3],
                       h[4],
                       h[5],
                       h[6],
                       h[7],
                       O::Set1(kBlake3Iv[0]),
                       O::Set1(kBlake3Iv[1]),
                       O::Set1(kBlake3Iv[2]),
                       O::Set1(kBlake3Iv[3]),
                       low,
                       high,
                       O::Set1(64),
                       O::Set1(f)};
            // Unrolled where the registers hold message and state (32 on AVX-512), so every
            // message word index is a constant; with 16 registers the rolled loop spills less
            // (corvane_bench, blake3-subtree rows).
            if constexpr (O::kLanes >= 16) {
#pragma GCC unroll 7
                for (const auto& s : kBlake3Schedule) Blake3Round<O>(v, m, s.data());
            } else {
                for (const auto& s : kBlake3Schedule) Blake3Round<O>(v, m, s.data());
            }
            for (int i = 0; i < 8; ++i) h[i] = O::Xor(v[i], v[i + 8]);
        }
        // Words to lanes: the chaining values are little-endian words, as the vector holds them.
        uint32_t words[8][N];
        for (int i = 0; i < 8; ++i) O::Store(words[i], h[i]);
        for (std::size_t l = 0; l < live; ++l)
            for (int i = 0; i < 8; ++i) {
                uint8_t* to = out + 32 * (first + l) + 4 * i;
                to[0] = static_cast<uint8_t>(words[i][l]);
                to[1] = static_cast<uint8_t>(words[i][l] >> 8);
                to[2] = static_cast<uint8_t>(words[i][l] >> 16);
                to[3] = static_cast<uint8_t>(words[i][l] >> 24);
            }
    }
}

}  // namespace
