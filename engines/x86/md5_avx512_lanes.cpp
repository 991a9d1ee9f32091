// MD5 on 16 lanes of 32 bits (AVX-512), and on 32 with two registers a word: see md5_lanes.h.
#include "lane_ops_avx512.h"
#include "md5_lanes.h"
#include "x86_lanes.h"

void Md5LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Md5LaneBlocks<Avx512Words32>(state, data, blocks);
}

void Md5LanesAvx512x32(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Md5LaneBlocks<Twice<Avx512Words32>>(state, data, blocks);
}
