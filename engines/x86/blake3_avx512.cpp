// BLAKE3 on 16 inputs at once (AVX-512 F, BW, VL): see blake3_lanes.h.
#include "blake3_lanes.h"
#include "lane_ops_avx512.h"
#include "x86_lanes.h"

void Blake3ManyAvx512(const uint32_t* key, const uint8_t* data, std::size_t count,
                      std::size_t blocks, uint64_t counter, bool counterStep, uint8_t flags,
                      uint8_t flagsStart, uint8_t flagsEnd, uint8_t* out) {
    Blake3LaneInputs<Avx512Words32>(key, data, count, blocks, counter, counterStep, flags,
                                    flagsStart, flagsEnd, out);
}
