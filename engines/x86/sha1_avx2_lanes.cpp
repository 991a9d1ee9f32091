// SHA-1 on 8 lanes of 32 bits (AVX2): see sha1_lanes.h.
#include "lane_ops_avx2.h"
#include "sha1_lanes.h"
#include "x86_lanes.h"

void Sha1LanesAvx2(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Sha1LaneBlocks<Avx2Words32>(state, data, blocks);
}
