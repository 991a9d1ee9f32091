// SHA-256 on 16 lanes of 32 bits (AVX-512): see sha2_lanes.h.
#include "lane_ops_avx512.h"
#include "sha2_lanes.h"
#include "x86_lanes.h"

void Sha256LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Sha2LaneBlocks<Avx512Words32, Sha256LaneParameters>(state, data, blocks);
}
