// SHA-256 and SHA-224 message digests, FIPS 180-4 (one engine, two initial values).
#pragma once

#include <cstddef>
#include <cstdint>

struct Sha256Context {
    uint32_t byteCount[2];  // message bytes, low word first, modulo 2^64
    uint32_t state[8];      // H0..H7
    uint32_t block[16];     // pending bytes raw; during compression the schedule window
};

void Sha256Init(Sha256Context* context);
void Sha256Update(const uint8_t* data, uint32_t length, Sha256Context* context);
void Sha256Final(uint8_t* digest, Sha256Context* context);  // writes 32 bytes
void Sha256Compress(Sha256Context* context);

// SHA-224 on the same context: its own initial value, the first 28 bytes of the result.
void Sha224Init(Sha256Context* context);
void Sha224Final(uint8_t* digest, Sha256Context* context);  // writes 28 bytes

// The portable whole-block function: compresses `blocks` 64-byte blocks from `data` into state[8].
void Sha256BlocksPortable(uint32_t* state, const uint8_t* data, std::size_t blocks);
