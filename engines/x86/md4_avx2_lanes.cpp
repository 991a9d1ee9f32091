// MD4 on 16 lanes of 32 bits (AVX2, two registers per word): see md4_lanes.h.
#include "lane_ops_avx2.h"
#include "md4_lanes.h"
#include "x86_lanes.h"

void Md4LanesAvx2(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Md4LaneBlocks<Twice<Avx2Words32>>(state, data, blocks);
}
