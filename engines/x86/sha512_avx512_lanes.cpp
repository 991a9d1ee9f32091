// SHA-512 on 8 lanes of 64 bits (AVX-512): see sha2_lanes.h.
#include "lane_ops_avx512.h"
#include "sha2_lanes.h"
#include "x86_lanes.h"

void Sha512LanesAvx512(uint64_t* state, const uint8_t* const* data, std::size_t blocks) {
    Sha2LaneBlocks<Avx512Words64, Sha512LaneParameters>(state, data, blocks);
}
