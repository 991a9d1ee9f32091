// The engines with accelerated block functions, run through the whole conformance suite once per
// dispatch level (each capped at what this CPU has), GOST included, and CRC-32 files through every
// CRC path.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cpu.h"
#include "crc32.h"
#include "engine_conformance.h"
#include "gost.h"
#include "sha1.h"
#include "sha2.h"
#include "temp_file.h"

namespace {

// Forces the level for one message: Init sets it, Final puts the detected choice back.
template <CpuLevel Level>
struct Forced {
    static void Enter() { ForceCpuLevel(Level); }
    static void Leave() { ResetCpuLevel(); }
};

template <CpuLevel Level>
struct Sha1At : Forced<Level> {
    static constexpr const char* kColumn = "sha1";
    static constexpr std::size_t kDigestSize = 20, kBlockSize = 64;
    using Context = Sha1Context;
    static void Init(Context& c) {
        Forced<Level>::Enter();
        Sha1Init(&c);
    }
    static void Update(Context& c, const uint8_t* d, uint32_t n) { Sha1Update(d, n, &c); }
    static void Final(Context& c, uint8_t* out) {
        Sha1Final(out, &c);
        Forced<Level>::Leave();
    }
};

template <CpuLevel Level>
struct Sha256At : Forced<Level> {
    static constexpr const char* kColumn = "sha256";
    static constexpr std::size_t kDigestSize = 32, kBlockSize = 64;
    using Context = Sha2Context;
    static void Init(Context& c) {
        Forced<Level>::Enter();
        Sha2Init(256, &c);
    }
    static void Update(Context& c, const uint8_t* d, uint32_t n) { Sha2Update(d, n, &c); }
    static void Final(Context& c, uint8_t* out) {
        Sha2Final(out, &c);
        Forced<Level>::Leave();
    }
};

template <CpuLevel Level, uint32_t Width>
struct Sha512At : Forced<Level> {
    static constexpr const char* kColumn = Width == 384 ? "sha384" : "sha512";
    static constexpr std::size_t kDigestSize = Width / 8, kBlockSize = 128;
    using Context = Sha2Context;
    static void Init(Context& c) {
        Forced<Level>::Enter();
        Sha2Init(Width, &c);
    }
    static void Update(Context& c, const uint8_t* d, uint32_t n) { Sha2Update(d, n, &c); }
    static void Final(Context& c, uint8_t* out) {
        Sha2Final(out, &c);
        Forced<Level>::Leave();
    }
};

template <CpuLevel Level>
struct GostAt : Forced<Level> {
    static constexpr const char* kColumn = "gost";
    static constexpr std::size_t kDigestSize = 32, kBlockSize = 32;
    using Context = GostContext;
    static void Init(Context& c) {
        Forced<Level>::Enter();
        GostInit(&c);
    }
    static void Update(Context& c, const uint8_t* d, uint32_t n) { GostUpdate(&c, d, n); }
    static void Final(Context& c, uint8_t* out) {
        GostFinal(&c, out);
        Forced<Level>::Leave();
    }
};

using Sha1Portable = Sha1At<CpuLevel::kPortable>;
using Sha1Best = Sha1At<CpuLevel::kAvx512>;
using Sha256Portable = Sha256At<CpuLevel::kPortable>;
using Sha256Best = Sha256At<CpuLevel::kAvx512>;
using Sha384Portable = Sha512At<CpuLevel::kPortable, 384>;
using Sha384Best = Sha512At<CpuLevel::kAvx512, 384>;
using Sha512Portable = Sha512At<CpuLevel::kPortable, 512>;
using Sha512Best = Sha512At<CpuLevel::kAvx512, 512>;
using GostPortable = GostAt<CpuLevel::kPortable>;
using GostBest = GostAt<CpuLevel::kAvx512>;
INSTANTIATE_TYPED_TEST_SUITE_P(Sha1Portable, EngineConformance, Sha1Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha1Accelerated, EngineConformance, Sha1Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha256Portable, EngineConformance, Sha256Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha256Accelerated, EngineConformance, Sha256Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha384Portable, EngineConformance, Sha384Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha384Accelerated, EngineConformance, Sha384Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha512Portable, EngineConformance, Sha512Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha512Accelerated, EngineConformance, Sha512Best);
INSTANTIATE_TYPED_TEST_SUITE_P(GostPortable, EngineConformance, GostPortable);
INSTANTIATE_TYPED_TEST_SUITE_P(GostAccelerated, EngineConformance, GostBest);

class CrcFileAtLevel : public ::testing::TestWithParam<CpuLevel> {
protected:
    void SetUp() override {
        if (!ForceCpuLevel(GetParam())) GTEST_SKIP() << "CPU lacks this level";
    }
    void TearDown() override { ResetCpuLevel(); }
};

TEST_P(CrcFileAtLevel, SharedVectorsAsFiles) {
    TempDir dir;
    for (const auto& v : SharedVectors()) {
        uint32_t crc = 1;
        EXPECT_EQ(CCrc32Static::CrcOfFile(dir.WriteFile(v.name, v.message).c_str(), crc), 0);
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", crc);
        EXPECT_EQ(hex, v.digest.at("crc32")) << v.name << " at " << ActiveCpuPaths();
    }
}

TEST_P(CrcFileAtLevel, TextStopsAtTheTerminator) {
    uint32_t crc = 0;
    EXPECT_EQ(CCrc32Static::CrcOfText("123456789\0tail", crc), 0);
    EXPECT_EQ(crc, 0xCBF43926u);
}

INSTANTIATE_TEST_SUITE_P(Levels, CrcFileAtLevel, ::testing::ValuesIn(kCpuLevels),
                         [](const auto& p) { return std::to_string(static_cast<int>(p.param)); });

}  // namespace
