// Multi-lane block functions: each compresses `blocks` whole blocks of each of N independent
// messages at once, one message per vector lane. Compiled for their own instruction sets; call one
// only when cpu.h says the CPU has it.
//
// Lane layout: `state` holds word w of lane l at state[w * N + l] (N = the function's lane count,
// in its name's comment), the chaining value of that lane's message; data[l] points at lane l's
// blocks, read from there on (any alignment). Every lane advances by the same number of blocks; a
// lane with no message of its own may point at another lane's data, and its state is then
// meaningless. Padding and the digest stay with the one-message engines.
#pragma once

#include <cstddef>
#include <cstdint>

// 16 lanes on AVX-512 (F, BW) and on AVX2, where two registers per word hide the latency of the
// steps' single dependency chain (half again the speed of one register); 64-byte blocks.
void Md4LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
void Md4LanesAvx2(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
void Md5LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
void Md5LanesAvx2(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
// 16 lanes on AVX-512 (F, BW), 8 on AVX2; 64-byte blocks.
void Sha1LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
void Sha1LanesAvx2(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
void Sha256LanesAvx512(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
void Sha256LanesAvx2(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
// 32 lanes on AVX-512, two registers a word: two chains of steps in flight instead of one, so more
// bytes a second in all, but each message at a lower rate than in 16 lanes; 64-byte blocks.
// (SHA-256 has none: in 32 lanes it hashed under 1.15 times its 16, corvane_bench's sha256-lanes
// rows.)
void Md4LanesAvx512x32(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
void Md5LanesAvx512x32(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
void Sha1LanesAvx512x32(uint32_t* state, const uint8_t* const* data, std::size_t blocks);
// 8 lanes on AVX-512, 4 on AVX2; 128-byte blocks (SHA-384 and SHA-512).
void Sha512LanesAvx512(uint64_t* state, const uint8_t* const* data, std::size_t blocks);
void Sha512LanesAvx2(uint64_t* state, const uint8_t* const* data, std::size_t blocks);
// 128 lanes of one byte on AVX-512 (F, BW, VL) with VBMI, two registers per byte; 16-byte blocks.
// A lane's state is 64 bytes: X (48) then the checksum (16), as in CMD2.
void Md2LanesAvx512(uint8_t* state, const uint8_t* const* data, std::size_t blocks);
// BLAKE3 on 8 inputs at once (AVX2) and 16 (AVX-512 F, BW, VL), as Blake3ManyPortable of
// blake3.h: whole chunks or parents, not the lane layout above.
void Blake3ManyAvx2(const uint32_t* key, const uint8_t* data, std::size_t count,
                    std::size_t blocks, uint64_t counter, bool counterStep, uint8_t flags,
                    uint8_t flagsStart, uint8_t flagsEnd, uint8_t* out);
void Blake3ManyAvx512(const uint32_t* key, const uint8_t* data, std::size_t count,
                      std::size_t blocks, uint64_t counter, bool counterStep, uint8_t flags,
                      uint8_t flagsStart, uint8_t flagsEnd, uint8_t* out);
