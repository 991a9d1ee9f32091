// What the multi-lane block functions share: the lane layout of their states and a backend that
// runs two registers per word (twice the lanes), so two independent step chains interleave.
//
// A backend is a struct of static operations on one vector type V holding kLanes words (32- or
// 64-bit): Load/Store of kLanes consecutive words, Set1, Add, Xor, Rotl<n>, Rotr<n>, Shr<n>,
// Logic<table> (any three-input bit function, named by its truth table as vpternlog names it:
// bit (x << 2 | y << 1 | z) of `table` is f(x, y, z)), SwapBytes (each word's byte order), and
// LoadBlock, which loads 16 words of one block of each lane and transposes them, so that w[j]
// holds word j of every lane. The algorithms are written once over that set; a backend file
// compiled for its instruction set instantiates them. Every backend type lives in an unnamed
// namespace, so each instantiation stays inside the file compiled for its instructions.
#pragma once

#include <cstddef>
#include <cstdint>

#define CORVANE_LANE_INLINE __attribute__((always_inline)) inline

// Two registers of backend O per word: lanes 0..O::kLanes-1 in the first, the rest in the second.
// The two halves never meet, so their instructions fill each other's latency gaps.
template <class O>
struct Twice {
    struct V {
        typename O::V half[2];
    };
    using Word = typename O::Word;
    static constexpr std::size_t kLanes = 2 * O::kLanes;

    static CORVANE_LANE_INLINE V Load(const Word* p) {
        return {{O::Load(p), O::Load(p + O::kLanes)}};
    }
    static CORVANE_LANE_INLINE void Store(Word* p, V v) {
        O::Store(p, v.half[0]);
        O::Store(p + O::kLanes, v.half[1]);
    }
    static CORVANE_LANE_INLINE V Set1(Word k) { return {{O::Set1(k), O::Set1(k)}}; }
    static CORVANE_LANE_INLINE V Add(V a, V b) {
        return {{O::Add(a.half[0], b.half[0]), O::Add(a.half[1], b.half[1])}};
    }
    static CORVANE_LANE_INLINE V Xor(V a, V b) {
        return {{O::Xor(a.half[0], b.half[0]), O::Xor(a.half[1], b.half[1])}};
    }
    template <int N>
    static CORVANE_LANE_INLINE V Rotl(V a) {
        return {{O::template Rotl<N>(a.half[0]), O::template Rotl<N>(a.half[1])}};
    }
    template <int N>
    static CORVANE_LANE_INLINE V Rotr(V a) {
        return {{O::template Rotr<N>(a.half[0]), O::template Rotr<N>(a.half[1])}};
    }
    template <int N>
    static CORVANE_LANE_INLINE V Shr(V a) {
        return {{O::template Shr<N>(a.half[0]), O::template Shr<N>(a.half[1])}};
    }
    template <int Table>
    static CORVANE_LANE_INLINE V Logic(V x, V y, V z) {
        return {{O::template Logic<Table>(x.half[0], y.half[0], z.half[0]),
                 O::template Logic<Table>(x.half[1], y.half[1], z.half[1])}};
    }
    static CORVANE_LANE_INLINE V SwapBytes(V a) {
        return {{O::SwapBytes(a.half[0]), O::SwapBytes(a.half[1])}};
    }
    static CORVANE_LANE_INLINE void LoadBlock(const uint8_t* const* data, std::size_t offset,
                                              V* w) {
        typename O::V low[16], high[16];
        O::LoadBlock(data, offset, low);
        O::LoadBlock(data + O::kLanes, offset, high);
        for (int j = 0; j < 16; ++j) w[j] = {{low[j], high[j]}};
    }
};

// The block loop every lane function shares: the chaining value of `Words` words (lane layout)
// into registers, then for each block the sixteen words of every lane (byte-swapped for the
// big-endian SHA family), the algorithm's `Steps` on a copy of the chaining value, and the
// feed-forward; the chaining value back at the end.
template <class O, int Words, std::size_t BlockBytes, bool BigEndian, auto Steps>
CORVANE_LANE_INLINE void LaneBlocks(typename O::Word* state, const uint8_t* const* data,
                                    std::size_t blocks) {
    typename O::V chain[Words];
    for (int i = 0; i < Words; ++i) chain[i] = O::Load(state + i * O::kLanes);
    for (std::size_t n = 0; n < blocks; ++n) {
        typename O::V w[16];
        O::LoadBlock(data, BlockBytes * n, w);
        if constexpr (BigEndian)
            for (auto& word : w) word = O::SwapBytes(word);
        typename O::V v[Words];
        for (int i = 0; i < Words; ++i) v[i] = chain[i];
        Steps(v, w);
        for (int i = 0; i < Words; ++i) chain[i] = O::Add(chain[i], v[i]);
    }
    for (int i = 0; i < Words; ++i) O::Store(state + i * O::kLanes, chain[i]);
}
