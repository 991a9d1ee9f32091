// Run-time detection of the x86 extensions the accelerated block functions need (cpuid leaves 1
// and 7, xgetbv for the register state the operating system saves), and the dispatch table.
#include "cpu.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "blake3.h"
#include "crc32_slicing.h"
#include "gost.h"
#include "sm3.h"
#include "streebog.h"
#include "xxhash.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>

#include "x86/x86_blocks.h"
#include "x86/x86_lanes.h"
#define CORVANE_X86 1
#endif

namespace {

#ifdef CORVANE_X86
// xgetbv without needing the XSAVE target on this file.
uint64_t ReadXcr0() {
    uint32_t eax = 0, edx = 0;
    __asm__ volatile("xgetbv" : "=a"(eax), "=d"(edx) : "c"(0));
    return uint64_t{edx} << 32 | eax;
}
#endif

CpuDispatch Choose(CpuLevel level, const CpuFeatures& f) {
    CpuDispatch d{};
    d.crc32Bulk = Crc32Slicing16;
    d.sha1Name = d.sha256Name = d.sha512Name = d.sha3Name = "portable";
    d.crc32Name = "slicing-16";
    d.gostCompress = GostCompressWith;
    d.gostName = "portable";
    d.crc32cBulk = Crc32cSlicing16;
    d.crc32cName = "slicing-16";
    d.xxh3Stripes = Xxh3StripesPortable;
    d.xxh3Name = "portable";
    d.streebogBlocks = StreebogBlocks;
    d.streebogName = "portable";
    d.sm3Blocks = Sm3Blocks;
    d.sm3Name = "portable";
    d.blake3Many = Blake3ManyPortable;
    d.blake3Name = "portable";
    d.level = CpuLevel::kPortable;
#ifdef CORVANE_X86
    if (level >= CpuLevel::kSse) {
        if (f.sha && f.sse41 && f.ssse3) {
            d.sha1Blocks = Sha1BlocksShaNi;
            d.sha256Blocks = Sha256BlocksShaNi;
            d.sha1Name = d.sha256Name = "sha-ni";
            d.level = CpuLevel::kSse;
        }
        if (f.pclmul && f.sse41) {
            d.crc32Bulk = Crc32FoldPclmul;
            d.crc32Name = "pclmulqdq";
            d.level = CpuLevel::kSse;
        }
        // The three streams are joined by carry-less products.
        if (f.sse42 && f.pclmul) {
            d.crc32cBulk = Crc32cSse42;
            d.crc32cName = "sse4.2x3";
            d.level = CpuLevel::kSse;
        }
    }
    if (level >= CpuLevel::kAvx2 && f.bmi2) {
        d.sha512Blocks = Sha512BlocksBmi2;
        d.sha512Name = "bmi2";
        d.level = CpuLevel::kAvx2;
        // The vector schedule is the faster where both run (corvane_bench, SHA-512 rows in
        // README.md, 2026-12-07).
        if (f.avx2) {
            d.sha512Blocks = Sha512BlocksAvx2;
            d.sha512Name = "avx2";
        }
    }
    // All rounds unrolled in registers with ANDN and RORX. Two AVX-512 forms ran no faster here
    // (corvane_bench, sha3 rows), so there is none: a lane per register (VPTERNLOGQ for chi and
    // the parities, VPROLQ for rho), and a plane of five lanes per register (pi as blends and
    // permutes): about 43 cycles a round against the scalar form's 38 on an AMD EPYC whose vector
    // operations take two cycles and a permute five, so the round's chain and its 16 permutes
    // outlast the scalar form's some 230 instructions, issued about six a cycle.
    if (level >= CpuLevel::kAvx2 && f.bmi1 && f.bmi2) {
        d.sha3Absorb = Sha3AbsorbBmi;
        d.sha3Name = "bmi";
        d.level = CpuLevel::kAvx2;
    }
    if (level >= CpuLevel::kAvx2 && f.avx2) {
        d.sm3Blocks = Sm3BlocksAvx2;
        d.sm3Name = "avx2";
        d.level = CpuLevel::kAvx2;
    }
    if (level >= CpuLevel::kAvx2 && f.avx2 && f.bmi1) {
        d.gostCompress = GostCompressAvx2;
        d.gostName = "avx2";
        d.level = CpuLevel::kAvx2;
    }
    if (level >= CpuLevel::kAvx2 && f.vpclmul && f.avx2 && f.pclmul) {
        d.crc32Bulk = Crc32FoldVpclmul256;
        d.crc32Name = "vpclmulqdq-256";
        d.level = CpuLevel::kAvx2;
    }
    // Every lane function the CPU can run; whether lanes pay against the one-message engine is
    // measured where they are used (hash/lane_engine.cpp), so no rule here guesses it.
    if (level >= CpuLevel::kAvx2 && f.avx2) {
        // Two registers per word for MD4 and MD5: half again as fast as one (x86_lanes.h).
        d.md4Lanes = {Md4LanesAvx2, 16, "avx2x16"};
        d.md5Lanes = {Md5LanesAvx2, 16, "avx2x16"};
        d.sha1Lanes = {Sha1LanesAvx2, 8, "avx2x8"};
        d.sha512Lanes = {Sha512LanesAvx2, 4, "avx2x4"};
        d.sha256Lanes = {Sha256LanesAvx2, 8, "avx2x8"};
        d.blake3Many = Blake3ManyAvx2;
        d.blake3Name = "avx2x8";
        d.level = CpuLevel::kAvx2;
    }
    if (level >= CpuLevel::kAvx2 && f.avx2) {
        d.xxh3Stripes = Xxh3StripesAvx2;
        d.xxh3Name = "avx2";
    }
    if (level >= CpuLevel::kAvx512 && f.avx512) {
        d.xxh3Stripes = Xxh3StripesAvx512;
        d.xxh3Name = "avx512";
        d.md4Lanes = {Md4LanesAvx512, 16, "avx512x16"};
        d.md5Lanes = {Md5LanesAvx512, 16, "avx512x16"};
        d.sha1Lanes = {Sha1LanesAvx512, 16, "avx512x16"};
        d.sha256Lanes = {Sha256LanesAvx512, 16, "avx512x16"};
        d.sha512Lanes = {Sha512LanesAvx512, 8, "avx512x8"};
        d.md4Wide = {Md4LanesAvx512x32, 32, "avx512x32"};
        d.md5Wide = {Md5LanesAvx512x32, 32, "avx512x32"};
        d.sha1Wide = {Sha1LanesAvx512x32, 32, "avx512x32"};
        d.blake3Many = Blake3ManyAvx512;
        d.blake3Name = "avx512x16";
        d.level = CpuLevel::kAvx512;
    }
    if (level >= CpuLevel::kAvx512 && f.vpclmul && f.avx512 && f.pclmul) {
        d.crc32Bulk = Crc32FoldVpclmul512;
        d.crc32Name = "vpclmulqdq-512";
        // For CRC-32C the 512-bit folding beats the crc32 instruction about twice over, the
        // 256-bit folding only matches it (corvane_bench, crc32c rows).
        d.crc32cBulk = Crc32cFoldVpclmul512;
        d.crc32cName = "vpclmulqdq-512";
        d.level = CpuLevel::kAvx512;
    }
    // The GOST rounds extract bit fields with BMI1, present on every processor with BMI2.
    if (level >= CpuLevel::kAvx512 && f.avx512 && f.avx512vbmi && f.bmi2) {
        d.gostCompress = GostCompressAvx512;
        d.gostName = "avx512-vbmi";
        d.level = CpuLevel::kAvx512;
    }
    if (level >= CpuLevel::kAvx512 && f.avx512 && f.avx512vbmi && f.gfni) {
        d.streebogBlocks = StreebogBlocksAvx512;
        d.streebogName = "avx512-gfni";
        d.level = CpuLevel::kAvx512;
    }
    if (level >= CpuLevel::kAvx512 && f.avx512 && f.avx512vbmi) {
        d.md2Lanes = {Md2LanesAvx512, 128, "avx512-vbmi-x128"};
        d.level = CpuLevel::kAvx512;
    }
#else
    (void)level;
    (void)f;
#endif
    return d;
}

struct Tables {
    CpuFeatures features;
    CpuLevel supported;
    CpuLevel chosen;  // supported, lowered by CORVANE_CPU
    std::array<CpuDispatch, 4> byLevel;
};

CpuLevel LevelFromEnvironment(CpuLevel supported) {
    const char* text = std::getenv("CORVANE_CPU");
    if (text == nullptr) return supported;
    CpuLevel wanted = supported;
    if (std::strcmp(text, "portable") == 0) wanted = CpuLevel::kPortable;
    if (std::strcmp(text, "sse") == 0) wanted = CpuLevel::kSse;
    if (std::strcmp(text, "avx2") == 0) wanted = CpuLevel::kAvx2;
    if (std::strcmp(text, "avx512") == 0) wanted = CpuLevel::kAvx512;
    return wanted < supported ? wanted : supported;
}

const Tables& TheTables() {
    static const Tables tables = [] {
        Tables t{};
        t.features = DetectCpuFeatures();
        for (CpuLevel level : kCpuLevels) {
            t.byLevel[static_cast<std::size_t>(level)] = Choose(level, t.features);
            if (t.byLevel[static_cast<std::size_t>(level)].level == level) t.supported = level;
        }
        t.chosen = LevelFromEnvironment(t.supported);
        return t;
    }();
    return tables;
}

// -1: no override; otherwise the forced level, already capped.
std::atomic<int> forcedLevel{-1};

}  // namespace

CpuFeatures DetectCpuFeatures() {
    CpuFeatures f{};
#ifdef CORVANE_X86
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid_max(0, nullptr) < 1) return f;
    __cpuid(1, eax, ebx, ecx, edx);
    f.ssse3 = (ecx >> 9) & 1;
    f.sse41 = (ecx >> 19) & 1;
    f.sse42 = (ecx >> 20) & 1;
    f.pclmul = (ecx >> 1) & 1;
    const bool osxsave = (ecx >> 27) & 1;
    const bool avx = (ecx >> 28) & 1;
    const uint64_t xcr0 = osxsave ? ReadXcr0() : 0;
    const bool osYmm = (xcr0 & 0x6) == 0x6;    // XMM and YMM halves
    const bool osZmm = (xcr0 & 0xE6) == 0xE6;  // plus opmask, ZMM upper halves, ZMM16-31
    if (__get_cpuid_max(0, nullptr) >= 7) {
        __cpuid_count(7, 0, eax, ebx, ecx, edx);
        f.sha = (ebx >> 29) & 1;
        f.bmi1 = (ebx >> 3) & 1;
        f.bmi2 = (ebx >> 8) & 1;
        f.avx2 = avx && osYmm && ((ebx >> 5) & 1);
        f.vpclmul = avx && osYmm && ((ecx >> 10) & 1);
        const bool avx512f = (ebx >> 16) & 1, avx512bw = (ebx >> 30) & 1,
                   avx512vl = (ebx >> 31) & 1;
        f.avx512 = osZmm && avx512f && avx512bw && avx512vl;
        f.avx512vbmi = f.avx512 && ((ecx >> 1) & 1);
        f.gfni = f.avx512 && ((ecx >> 8) & 1);
    }
#endif
    return f;
}

const CpuDispatch& ActiveCpuDispatch() {
    const Tables& t = TheTables();
    const int forced = forcedLevel.load(std::memory_order_acquire);
    const auto level =
        forced >= 0 ? static_cast<std::size_t>(forced) : static_cast<std::size_t>(t.chosen);
    return t.byLevel[level];
}

CpuLevel SupportedCpuLevel() {
    return TheTables().supported;
}

bool ForceCpuLevel(CpuLevel level) {
    const CpuLevel supported = SupportedCpuLevel();
    const CpuLevel used = level < supported ? level : supported;
    forcedLevel.store(static_cast<int>(used), std::memory_order_release);
    return used == level;
}

void ResetCpuLevel() {
    forcedLevel.store(-1, std::memory_order_release);
}

std::string ActiveCpuPaths() {
    const CpuDispatch& d = ActiveCpuDispatch();
    return std::string("crc32=") + d.crc32Name + " sha1=" + d.sha1Name + " sha256=" + d.sha256Name +
           " sha512=" + d.sha512Name + " sha3=" + d.sha3Name + " gost=" + d.gostName +
           " md4-lanes=" + d.md4Lanes.name + " md5-lanes=" + d.md5Lanes.name +
           " sha1-lanes=" + d.sha1Lanes.name + " sha256-lanes=" + d.sha256Lanes.name +
           " sha512-lanes=" + d.sha512Lanes.name + " md2-lanes=" + d.md2Lanes.name +
           " crc32c=" + d.crc32cName + " blake3=" + d.blake3Name + " xxh3=" + d.xxh3Name +
           " streebog=" + d.streebogName + " sm3=" + d.sm3Name;
}
