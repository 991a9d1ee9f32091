// The SHA-2 width front: one context and three operations for SHA-256, SHA-384 and SHA-512.
#pragma once

#include <cstdint>

#include "sha256.h"
#include "sha512.h"

struct Sha2Context {
    union {
        Sha256Context sha256;
        Sha512Context sha512;
    } engine;
    uint32_t digestLength;  // 32, 48 or 64; selects the engine. After the engine area on purpose.
};

// width: 256/384/512 bits, or 32/48/64 bytes. Returns 0, or 1 (writing nothing) for any other
// width.
int Sha2Init(uint32_t width, Sha2Context* context);
void Sha2Update(const uint8_t* data, uint32_t length, Sha2Context* context);
void Sha2Final(uint8_t* digest, Sha2Context* context);  // writes digestLength bytes
