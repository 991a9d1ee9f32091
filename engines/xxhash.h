// The xxHash family with seed 0, as xxHash's published algorithm description defines it: XXH32,
// XXH64, XXH3-64 and XXH3-128 (XXH128). Digests are the values in big-endian byte order, as
// xxHash's canonical form and its command-line tool write them (XXH128: the high 64 bits first).
#pragma once

#include <cstddef>
#include <cstdint>

struct Xxh32Context {
    uint32_t acc[4];
    uint64_t totalLength;
    uint8_t buffer[16];  // an incomplete stripe
    uint32_t buffered;
};

void Xxh32Init(Xxh32Context* context);
void Xxh32Update(Xxh32Context* context, const uint8_t* data, uint32_t length);
void Xxh32Final(Xxh32Context* context, uint8_t* digest);  // writes 4 bytes

struct Xxh64Context {
    uint64_t acc[4];
    uint64_t totalLength;
    uint8_t buffer[32];
    uint32_t buffered;
};

void Xxh64Init(Xxh64Context* context);
void Xxh64Update(Xxh64Context* context, const uint8_t* data, uint32_t length);
void Xxh64Final(Xxh64Context* context, uint8_t* digest);  // writes 8 bytes

// XXH3-64 and XXH128 share their input processing; only the finish differs. Inputs up to 240
// bytes are hashed whole at the finish. Longer ones are accumulated in 64-byte stripes, except
// that a stripe is consumed only once a byte after it is known: the last block (and its last
// stripe) is treated differently, so where the input ends must be known before it is touched.
struct Xxh3Context {
    uint64_t acc[8];
    uint64_t totalLength;
    uint32_t stripeInBlock;  // stripes of the current 1024-byte block already accumulated
    uint32_t buffered;       // bytes in `buffer` not yet consumed
    uint8_t buffer[256];     // holds a whole short input, or the unconsumed tail of a long one
    uint8_t previous[64];    // the last 64 bytes consumed, for a last stripe reaching back
};

void Xxh3Init(Xxh3Context* context);
void Xxh3Update(Xxh3Context* context, const uint8_t* data, uint32_t length);
void Xxh3Final(Xxh3Context* context, uint8_t* digest);    // XXH3-64: writes 8 bytes
void Xxh128Final(Xxh3Context* context, uint8_t* digest);  // XXH128: writes 16 bytes

// The long-input accumulation with the default secret, the function cpu.cpp swaps: accumulates
// `stripes` 64-byte stripes from `data` into acc[8], the first being stripe `stripeInBlock` (0 to
// 15) of its block, and scrambles after each stripe that completes a block.
void Xxh3StripesPortable(uint64_t* acc, const uint8_t* data, std::size_t stripes,
                         std::size_t stripeInBlock);
