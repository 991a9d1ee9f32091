// MD5 on 16 lanes of 32 bits (AVX-512): see md5_lanes.h.
#include "lane_ops_avx512.h"
#include "md5_lanes.h"
#include "x86_lanes.h"

void Md5LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Md5LaneBlocks<Avx512Words32>(state, data, blocks);
}
