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

// A state of `Words` words in lane layout, loaded into registers and stored back.
template <class O, int Words>
struct LaneState {
    typename O::V word[Words];

    CORVANE_LANE_INLINE void Load(const typename O::Word* state) {
        for (int i = 0; i < Words; ++i) word[i] = O::Load(state + i * O::kLanes);
    }
    CORVANE_LANE_INLINE void Store(typename O::Word* state) const {
        for (int i = 0; i < Words; ++i) O::Store(state + i * O::kLanes, word[i]);
    }
    CORVANE_LANE_INLINE void Add(const typename O::V* v) {
        for (int i = 0; i < Words; ++i) word[i] = O::Add(word[i], v[i]);
    }
};
