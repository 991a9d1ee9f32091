// SHA-1 on 16 lanes of 32 bits (AVX-512), and on 32 with two registers a word: see sha1_lanes.h.
#include "lane_ops_avx512.h"
#include "sha1_lanes.h"
#include "x86_lanes.h"

void Sha1LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Sha1LaneBlocks<Avx512Words32>(state, data, blocks);
}

void Sha1LanesAvx512x32(uint32_t* state, const uint8_t* const* data, std::size_t blocks) {
    Sha1LaneBlocks<Twice<Avx512Words32>>(state, data, blocks);
}
