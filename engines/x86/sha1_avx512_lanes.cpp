// SHA-1 on 16 lanes of 32 bits (AVX-512): see sha1_lanes.h.
#include "lane_ops_avx512.h"
#include "sha1_lanes.h"
#include "x86_lanes.h"

void Sha1LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Sha1LaneBlocks<Avx512Words32>(state, data, blocks);
}
