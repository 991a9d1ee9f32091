// MD4 on 16 lanes of 32 bits (AVX-512), and on 32 with two registers a word: see md4_lanes.h.
#include "lane_ops_avx512.h"
#include "md4_lanes.h"
#include "x86_lanes.h"

void Md4LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Md4LaneBlocks<Avx512Words32>(state, data, blocks);
}

void Md4LanesAvx512x32(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Md4LaneBlocks<Twice<Avx512Words32>>(state, data, blocks);
}
