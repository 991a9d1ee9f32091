// SHA-256 on 8 lanes of 32 bits (AVX2): see sha2_lanes.h.
#include "lane_ops_avx2.h"
#include "sha2_lanes.h"
#include "x86_lanes.h"

void Sha256LanesAvx2(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Sha2LaneBlocks<Avx2Words32, Sha256LaneParameters>(state, data, blocks);
}
