// MD5 on 16 lanes of 32 bits (AVX2, two registers per word): see md5_lanes.h.
#include "lane_ops_avx2.h"
#include "md5_lanes.h"
#include "x86_lanes.h"

void Md5LanesAvx2(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Md5LaneBlocks<Twice<Avx2Words32>>(state, data, blocks);
}
