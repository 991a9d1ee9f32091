// Run-time choice of the accelerated block functions: cpuid and xgetbv decide once per process
// which paths this CPU and its operating system support; the portable engines are the fallback.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gost.h"

// What the processor offers and the operating system saves across context switches.
struct CpuFeatures {
    bool ssse3;
    bool sse41;
    bool sse42;  // the crc32 instruction
    bool pclmul;
    bool sha;      // SHA extensions (SHA-1 and SHA-256 rounds)
    bool avx2;     // including the OS saving the YMM state
    bool vpclmul;  // VEX/EVEX carry-less multiply on 256/512-bit vectors
    bool avx512;   // F, BW and VL, including the OS saving the ZMM and mask state
    bool bmi1;
    bool bmi2;
    bool avx512vbmi;  // byte permutes (with avx512 above)
    bool gfni;        // GF(2^8) affine maps, on 512-bit vectors (with avx512 above)
};

// Raw detection, without the environment override.
CpuFeatures DetectCpuFeatures();

// Path sets, each including the ones before it. A set only takes the paths the CPU has.
enum class CpuLevel : uint8_t {
    kPortable = 0,  // portable engines only
    kSse = 1,       // SHA extensions, PCLMULQDQ on 128-bit vectors, SSE 4.2 crc32
    kAvx2 = 2,      // VPCLMULQDQ on 256-bit vectors, SHA-512 schedule on AVX2 with BMI2 rounds,
                    // SHA-3 with BMI1 and BMI2, GOST key generation and mixing on AVX2,
                    // SM3 message expansion on AVX2,
                    // multi-lane functions and XXH3 stripes on 256-bit vectors
    kAvx512 = 3,    // VPCLMULQDQ on 512-bit vectors, GOST and MD2 lanes with VBMI byte permutes,
                    // Streebog with VBMI and GFNI,
                    // multi-lane functions and XXH3 stripes on 512-bit vectors
};
inline constexpr CpuLevel kCpuLevels[] = {CpuLevel::kPortable, CpuLevel::kSse, CpuLevel::kAvx2,
                                          CpuLevel::kAvx512};

// A multi-lane block function (layout in x86/x86_lanes.h) and its lane count. Without one (as
// default-made), `lanes` is 1: messages are hashed one at a time by the one-message engine.
template <class Word>
struct LanePath {
    void (*blocks)(Word* state, const uint8_t* const* data, std::size_t blocks) = nullptr;
    std::size_t lanes = 1;
    const char* name = "single";
};

// Compresses many BLAKE3 chunks or parents at once (Blake3ManyPortable in blake3.h).
using Blake3Many = void (*)(const uint32_t* key, const uint8_t* data, std::size_t count,
                            std::size_t blocks, uint64_t counter, bool counterStep, uint8_t flags,
                            uint8_t flagsStart, uint8_t flagsEnd, uint8_t* out);

// The block functions in use. A null SHA pointer means the engine's portable compression.
struct CpuDispatch {
    // Compresses `blocks` whole 64-byte blocks from `data` into state[5] / state[8].
    void (*sha1Blocks)(uint32_t* state, const uint8_t* data, std::size_t blocks);
    void (*sha256Blocks)(uint32_t* state, const uint8_t* data, std::size_t blocks);
    // Compresses `blocks` whole 128-byte blocks into state[8]; null: portable.
    void (*sha512Blocks)(uint64_t* state, const uint8_t* data, std::size_t blocks);
    // Absorbs `blocks` blocks of `rateLanes` lanes into the Keccak state[25] (Sha3AbsorbPortable's
    // contract); null: portable.
    void (*sha3Absorb)(uint64_t* state, const uint8_t* data, std::size_t blocks,
                       std::size_t rateLanes);
    // Runs the reflected CRC-32 register (no pre/post inversion) over `length` bytes.
    uint32_t (*crc32Bulk)(uint32_t reg, const uint8_t* data, std::size_t length);
    // The GOST R 34.11-94 step function, as GostCompressWith (never null: that itself).
    void (*gostCompress)(const GostRoundTables& tables, uint32_t* chainingValue,
                         const uint32_t* block);
    // Runs the CRC-32C register (no pre/post inversion) over `length` bytes, any length.
    uint32_t (*crc32cBulk)(uint32_t reg, const uint8_t* data, std::size_t length);
    // XXH3's long-input stripes, as Xxh3StripesPortable (never null).
    void (*xxh3Stripes)(uint64_t* acc, const uint8_t* data, std::size_t stripes,
                        std::size_t stripeInBlock);
    // GOST R 34.11-2012 over whole 64-byte blocks, as StreebogBlocks (never null).
    void (*streebogBlocks)(uint64_t* h, uint64_t* n, uint64_t* sigma, const uint8_t* data,
                           std::size_t blocks);
    // SM3 over whole 64-byte blocks, as Sm3Blocks (never null).
    void (*sm3Blocks)(uint32_t* state, const uint8_t* data, std::size_t blocks);
    LanePath<uint32_t> md4Lanes, md5Lanes, sha1Lanes, sha256Lanes;
    // Wider lane functions for the same algorithms (more lanes a call, each message slower), or
    // lanes 1 without one; hash/lane_engine.cpp decides when they pay.
    LanePath<uint32_t> md4Wide, md5Wide, sha1Wide;
    LanePath<uint64_t> sha512Lanes;  // SHA-384 too
    LanePath<uint8_t> md2Lanes;
    Blake3Many blake3Many;  // never null
    const char* blake3Name;
    const char* sha1Name;
    const char* sha256Name;
    const char* sha512Name;
    const char* sha3Name;
    const char* crc32Name;
    const char* gostName;
    const char* crc32cName;
    const char* xxh3Name;
    const char* streebogName;
    const char* sm3Name;
    CpuLevel level;  // the effective level this table was built for
};

// The paths in use: the best the CPU supports, lowered by CORVANE_CPU (portable, sse, avx2,
// avx512; read once), or by ForceCpuLevel. Cheap: callers may ask once per update call.
const CpuDispatch& ActiveCpuDispatch();

// The highest level this CPU supports.
CpuLevel SupportedCpuLevel();

// For tests and benchmarks: use `level`, capped at what the CPU supports. Returns false (and
// still caps) when the CPU lacks some path of that level. Not meant to race with hashing.
bool ForceCpuLevel(CpuLevel level);
// Back to the detected choice (with the environment override).
void ResetCpuLevel();

// One line naming the active path of each kind, e.g. "crc32=vpclmulqdq-512 sha1=sha-ni ...
// md5-lanes=avx512x16 ...".
std::string ActiveCpuPaths();
