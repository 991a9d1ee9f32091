// GOST R 34.11-2012 hash function "Streebog" (RFC 6986), 512-bit and 256-bit digests. A 512-bit
// value is eight 64-bit words, word 0 least significant; its byte form is those words in order,
// each least significant byte first. Messages are read in order: the standard's description takes
// the message's least significant 512 bits first, which are its first 64 bytes in this byte form.
#pragma once

#include <cstddef>
#include <cstdint>

struct StreebogContext {
    uint64_t state[8];      // chaining value h
    uint64_t bitCount[8];   // N: message bits processed, modulo 2^512
    uint64_t sum[8];        // Sigma: the processed blocks added modulo 2^512
    uint8_t buffer[64];     // pending message bytes
    uint32_t pendingBytes;  // 0 to 63
    uint32_t digestBits;    // 256 or 512
};

// digestBits is 256 or 512 (any other value counts as 512).
void StreebogInit(StreebogContext* context, uint32_t digestBits);
void StreebogUpdate(StreebogContext* context, const uint8_t* data, uint32_t length);
void StreebogFinal(StreebogContext* context, uint8_t* digest);  // writes digestBits / 8 bytes

// The compression function g_N(h, m), portable; h is replaced in place.
void StreebogCompress(uint64_t* h, const uint64_t* n, const uint64_t* m);
// Whole 64-byte blocks from `data`: for each, h = g_N(h, m), N += 512, Sigma += m. The bulk
// function the accelerated paths replace.
void StreebogBlocks(uint64_t* h, uint64_t* n, uint64_t* sigma, const uint8_t* data,
                    std::size_t blocks);
