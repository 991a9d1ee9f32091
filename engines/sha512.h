// SHA-384, SHA-512, SHA-512/224 and SHA-512/256 message digests, FIPS 180-4 (one engine, four
// initial values).
#pragma once

#include <cstddef>
#include <cstdint>

struct Sha512Context {
    uint64_t byteCount[2];  // message bytes as a 128-bit number, low word first
    uint64_t state[8];      // H0..H7
    uint64_t block[16];     // pending bytes raw; during compression the schedule window
};

// Starts the variant whose digest is `digestLength` bytes: 28 (SHA-512/224), 32 (SHA-512/256),
// 48 (SHA-384) or 64 (SHA-512). Returns 0, or 1 (writing nothing) for any other length.
int Sha512Init(uint32_t digestLength, Sha512Context* context);
void Sha512Update(const uint8_t* data, uint32_t length, Sha512Context* context);
// Writes the first `length` bytes of the serialised state (the variant's digest length).
void Sha512Final(uint8_t* digest, uint32_t length, Sha512Context* context);
void Sha512Compress(Sha512Context* context);

// The portable whole-block function: compresses `blocks` 128-byte blocks from `data` into
// state[8].
void Sha512BlocksPortable(uint64_t* state, const uint8_t* data, std::size_t blocks);
