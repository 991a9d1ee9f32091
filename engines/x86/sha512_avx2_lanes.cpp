// SHA-512 on 4 lanes of 64 bits (AVX2): see sha2_lanes.h.
#include "lane_ops_avx2.h"
#include "sha2_lanes.h"
#include "x86_lanes.h"

void Sha512LanesAvx2(uint64_t* state, const uint8_t* const* data, std::size_t blocks) {
    Sha2LaneBlocks<Avx2Words64, Sha512LaneParameters>(state, data, blocks);
}
