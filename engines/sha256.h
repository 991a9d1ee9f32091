// SHA-256 message digest, FIPS 180-2.
#pragma once

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
