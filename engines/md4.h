// MD4 message digest, RFC 1320.
#pragma once

#include <cstdint>

struct Md4Context {
    uint32_t state[4];     // A, B, C, D
    uint32_t bitCount[2];  // message bits, low word first, modulo 2^64
    uint8_t buffer[64];    // pending message bytes
};

void Md4Init(Md4Context* context);
void Md4Update(Md4Context* context, const uint8_t* data, uint32_t length);
void Md4Final(uint8_t* digest, Md4Context* context);  // writes 16 bytes, then zeroes the context
void Md4Compress(uint32_t* state, const uint8_t* block);
void Md4Encode(uint8_t* output, const uint32_t* input, uint32_t length);
void Md4Decode(uint32_t* output, const uint8_t* input, uint32_t length);
