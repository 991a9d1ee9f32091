// SHA-1 message digest, FIPS 180-2.
#pragma once

#include <cstddef>
#include <cstdint>

struct Sha1Context {
    uint32_t byteCount[2];  // message bytes, low word first, modulo 2^64
    uint32_t state[5];      // H0..H4
    uint8_t block[64];      // pending message bytes, raw, in arrival order
};

void Sha1Init(Sha1Context* context);
void Sha1Update(const uint8_t* data, uint32_t length, Sha1Context* context);
void Sha1Final(uint8_t* digest, Sha1Context* context);  // writes 20 bytes
void Sha1Compress(Sha1Context* context);
// The portable whole-block function: compresses `blocks` 64-byte blocks from `data` into state[5].
void Sha1BlocksPortable(uint32_t* state, const uint8_t* data, std::size_t blocks);
