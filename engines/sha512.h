// SHA-384 and SHA-512 message digests, FIPS 180-2 (one engine, two initial values).
#pragma once

#include <cstdint>

struct Sha512Context {
    uint64_t byteCount[2];  // message bytes as a 128-bit number, low word first
    uint64_t state[8];      // H0..H7
    uint64_t block[16];     // pending bytes raw; during compression the schedule window
};

void Sha512Update(const uint8_t* data, uint32_t length, Sha512Context* context);
// Writes the first `length` bytes of the serialised state: 48 for SHA-384, 64 for SHA-512.
void Sha512Final(uint8_t* digest, uint32_t length, Sha512Context* context);
void Sha512Compress(Sha512Context* context);
