// Block functions for x86-64 processors with the SHA extensions and carry-less multiplication.
// Each is compiled for its own instruction set only; call one only when cpu.h says the CPU has it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gost.h"

// FIPS 180-2 SHA-1 / SHA-256 over whole 64-byte blocks, with the SHA extensions.
void Sha1BlocksShaNi(uint32_t* state, const uint8_t* data, std::size_t blocks);
void Sha256BlocksShaNi(uint32_t* state, const uint8_t* data, std::size_t blocks);

// FIPS 180-2 SHA-512 (and SHA-384) over whole 128-byte blocks, compiled for BMI2 rotations.
void Sha512BlocksBmi2(uint64_t* state, const uint8_t* data, std::size_t blocks);
// The same with the message schedule of two blocks at a time on AVX2 vectors (and BMI2 rounds).
void Sha512BlocksAvx2(uint64_t* state, const uint8_t* data, std::size_t blocks);

// FIPS 202 SHA-3 absorbing (see Sha3AbsorbPortable in sha3.h), compiled for BMI1 and BMI2.
void Sha3AbsorbBmi(uint64_t* state, const uint8_t* data, std::size_t blocks, std::size_t rateLanes);

// Reflected CRC-32 (IEEE 802.3) register over any number of bytes by carry-less multiplication
// folding: PCLMULQDQ on 128-bit vectors, VPCLMULQDQ on 256-bit (AVX2) or 512-bit (AVX-512).
uint32_t Crc32FoldPclmul(uint32_t reg, const uint8_t* data, std::size_t length);
uint32_t Crc32FoldVpclmul256(uint32_t reg, const uint8_t* data, std::size_t length);
uint32_t Crc32FoldVpclmul512(uint32_t reg, const uint8_t* data, std::size_t length);

// CRC-32C register (no pre/post inversion) over any number of bytes: the SSE 4.2 crc32
// instruction on three interleaved streams, joined with PCLMULQDQ.
uint32_t Crc32cSse42(uint32_t reg, const uint8_t* data, std::size_t length);
// The same by carry-less multiplication folding on 512-bit vectors (AVX-512).
uint32_t Crc32cFoldVpclmul512(uint32_t reg, const uint8_t* data, std::size_t length);

// XXH3's long-input accumulation, as Xxh3StripesPortable in xxhash.h, on AVX2 or AVX-512 (F).
void Xxh3StripesAvx2(uint64_t* acc, const uint8_t* data, std::size_t stripes,
                     std::size_t stripeInBlock);
void Xxh3StripesAvx512(uint64_t* acc, const uint8_t* data, std::size_t stripes,
                       std::size_t stripeInBlock);
// GOST R 34.11-94 step function, as GostCompressWith in gost.h, with AVX2 and BMI1.
void GostCompressAvx2(const GostRoundTables& tables, uint32_t* chainingValue,
                      const uint32_t* block);
// The same with AVX-512 (F, BW, VL), VBMI
// and BMI1.
void GostCompressAvx512(const GostRoundTables& tables, uint32_t* chainingValue,
                        const uint32_t* block);

// GOST R 34.11-2012 over whole 64-byte blocks, as StreebogBlocks in streebog.h, with AVX-512
// (F, BW), VBMI and GFNI.
void StreebogBlocksAvx512(uint64_t* h, uint64_t* n, uint64_t* sigma, const uint8_t* data,
                          std::size_t blocks);

// SM3's compression function, as Sm3Blocks in sm3.h, with the message expansion on AVX2.
void Sm3BlocksAvx2(uint32_t* state, const uint8_t* data, std::size_t blocks);
