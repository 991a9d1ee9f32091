// SM3 cryptographic hash, GB/T 32905-2016 (also ISO/IEC 10118-3:2018).
#pragma once

#include <cstddef>
#include <cstdint>

struct Sm3Context {
    uint32_t byteCount[2];  // message bytes, low word first, modulo 2^64
    uint32_t state[8];      // V: A..H
    uint8_t block[64];      // pending message bytes, raw
};

void Sm3Init(Sm3Context* context);
void Sm3Update(const uint8_t* data, uint32_t length, Sm3Context* context);
void Sm3Final(uint8_t* digest, Sm3Context* context);  // writes 32 bytes

// The compression function CF over `blocks` whole 64-byte blocks from `data`.
void Sm3Blocks(uint32_t* state, const uint8_t* data, std::size_t blocks);
