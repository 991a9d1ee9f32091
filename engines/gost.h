// GOST R 34.11-94 hash (256-bit), with the S-box set of the standard's own worked examples
// (the test parameter set), or CryptoPro's (RFC 4357) by GostInitWithSBoxes. A 256-bit value is
// eight 32-bit words, word 0 least significant; its byte form is those words in order, each least
// significant byte first.
#pragma once

#include <array>
#include <cstdint>

// The four expanded substitution tables of an S-box set (gost_tables.h).
using GostRoundTables = std::array<std::array<uint32_t, 256>, 4>;

struct GostContext {
    uint32_t sum[8];        // control sum: all blocks added modulo 2^256
    uint32_t state[8];      // chaining value H, zero at the start
    uint32_t bitCount[8];   // length block L: words 0-1 the 64-bit bit count, words 2-7 zero
    uint8_t buffer[32];     // pending message bytes
    uint32_t pendingBytes;  // 0 to 32; 32 is a full block whose processing is deferred
    const GostRoundTables* roundTables;  // the S-box set; null (as GostInit leaves it): test set
};

enum class GostSBoxes : uint8_t {
    kTest,       // the test parameter set, GostInit's
    kCryptoPro,  // id-GostR3411-94-CryptoProParamSet
};

void GostInit(GostContext* context);
void GostInitWithSBoxes(GostContext* context, GostSBoxes sBoxes);
void GostUpdate(GostContext* context, const uint8_t* data, uint32_t length);
void GostFinal(GostContext* context, uint8_t* digest);  // writes 32 bytes

// The block step and the compression function; used by update and final, exposed for tests.
void GostProcessBlock(GostContext* context, const uint8_t* block, uint32_t bits);
void GostCompress(uint32_t* chainingValue, const uint32_t* block);  // the test set
void GostCompressWith(const GostRoundTables& tables, uint32_t* chainingValue,
                      const uint32_t* block);
// The step function's key generation: key[q] is the key of the encryption of word pair q.
void GostStepKeys(const uint32_t* chainingValue, const uint32_t* block, uint32_t (*key)[8]);
// The step function's mixing: psi^61(h ^ psi(m ^ psi^12(s))); `out` may alias `h`.
void GostMix(const uint32_t* h, const uint32_t* m, const uint32_t* s, uint32_t* out);
