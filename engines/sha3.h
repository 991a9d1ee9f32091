// SHA3-224, SHA3-256, SHA3-384 and SHA3-512, FIPS 202: the sponge over Keccak-f[1600] with the
// SHA-3 domain bits and pad10*1.
#pragma once

#include <cstddef>
#include <cstdint>

struct Sha3Context {
    uint64_t state[25];     // the lanes, A[x + 5y]
    uint8_t block[144];     // pending message bytes (fewer than `rate`), raw
    uint32_t rate;          // bytes absorbed per permutation: 200 - 2 * digestLength
    uint32_t pending;       // bytes in `block`
    uint32_t digestLength;  // 28, 32, 48 or 64
};

// width: 224/256/384/512 bits, or 28/32/48/64 bytes. Returns 0, or 1 (writing nothing) for any
// other width.
int Sha3Init(uint32_t width, Sha3Context* context);
void Sha3Update(const uint8_t* data, uint32_t length, Sha3Context* context);
void Sha3Final(uint8_t* digest, Sha3Context* context);  // writes digestLength bytes

// The portable whole-block function: XORs `blocks` blocks of `rateLanes` 64-bit lanes
// (little-endian) from `data` into `state` and permutes after each.
void Sha3AbsorbPortable(uint64_t* state, const uint8_t* data, std::size_t blocks,
                        std::size_t rateLanes);
