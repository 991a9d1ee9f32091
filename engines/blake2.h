// BLAKE2b and BLAKE2s, RFC 7693. BLAKE2b works on 64-bit words in 128-byte blocks (12 rounds,
// digests of 1 to 64 bytes), BLAKE2s on 32-bit words in 64-byte blocks (10 rounds, 1 to 32
// bytes). Either may be keyed (a key of up to the longest digest's length).
#pragma once

#include <cstddef>
#include <cstdint>

struct Blake2bContext {
    uint64_t state[8];    // h
    uint64_t counter[2];  // t: message bytes compressed, low word first
    uint8_t block[128];   // pending bytes: a full block waits until more data shows it is not last
    uint32_t pending;     // bytes in block, 0 to 128
    uint32_t digestLength;  // nn, in bytes
};

struct Blake2sContext {
    uint32_t state[8];
    uint32_t counter[2];
    uint8_t block[64];
    uint32_t pending;  // 0 to 64
    uint32_t digestLength;
};

inline constexpr std::size_t kBlake2bMaxDigest = 64, kBlake2sMaxDigest = 32;

// False, leaving the context unusable, for a digest length outside 1..max or a longer key.
bool Blake2bInit(Blake2bContext* context, std::size_t digestLength, const uint8_t* key = nullptr,
                 std::size_t keyLength = 0);
void Blake2bUpdate(Blake2bContext* context, const uint8_t* data, std::size_t length);
void Blake2bFinal(Blake2bContext* context, uint8_t* digest);  // writes digestLength bytes

bool Blake2sInit(Blake2sContext* context, std::size_t digestLength, const uint8_t* key = nullptr,
                 std::size_t keyLength = 0);
void Blake2sUpdate(Blake2sContext* context, const uint8_t* data, std::size_t length);
void Blake2sFinal(Blake2sContext* context, uint8_t* digest);

// The compression function F over `blocks` whole blocks at `data`: before each, the counter grows
// by `step` bytes; `last` marks the message's final block (then `blocks` is 1).
void Blake2bBlocks(uint64_t* state, uint64_t* counter, const uint8_t* data, std::size_t blocks,
                   uint32_t step, bool last);
void Blake2sBlocks(uint32_t* state, uint32_t* counter, const uint8_t* data, std::size_t blocks,
                   uint32_t step, bool last);

// The initialisation vectors and the message schedule (sigma).
inline constexpr uint64_t kBlake2bIv[8] = {
    0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b, 0xa54ff53a5f1d36f1,
    0x510e527fade682d1, 0x9b05688c2b3e6c1f, 0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};
inline constexpr uint32_t kBlake2sIv[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                           0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
inline constexpr uint8_t kBlake2Sigma[10][16] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
    {14, 10, 4, 8, 9, 15, 13, 6, 1, 12, 0, 2, 11, 7, 5, 3},
    {11, 8, 12, 0, 5, 2, 15, 13, 10, 14, 3, 6, 7, 1, 9, 4},
    {7, 9, 3, 1, 13, 12, 11, 14, 2, 6, 5, 10, 4, 0, 15, 8},
    {9, 0, 5, 7, 2, 4, 10, 15, 14, 1, 11, 12, 6, 8, 3, 13},
    {2, 12, 6, 10, 0, 11, 8, 3, 4, 13, 7, 5, 15, 14, 1, 9},
    {12, 5, 1, 15, 14, 13, 4, 10, 0, 7, 6, 3, 9, 2, 8, 11},
    {13, 11, 7, 14, 12, 1, 3, 9, 5, 0, 15, 4, 8, 6, 2, 10},
    {6, 15, 14, 9, 11, 3, 0, 8, 12, 2, 13, 7, 1, 4, 10, 5},
    {10, 2, 8, 4, 7, 6, 1, 5, 15, 11, 9, 14, 3, 12, 13, 0},
};
