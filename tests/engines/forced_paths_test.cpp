// The engines with accelerated block functions, run through the whole conformance suite once per
// dispatch level (each capped at what this CPU has), GOST, CRC-32C and XXH3 included, the SHA-224,
// SHA-512/t and SHA-3 engines at the portable level and the best this CPU has, Streebog, SM3 and
// CryptoPro GOST at the portable level, and CRC-32 files through every CRC path.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cpu.h"
#include "crc32.h"
#include "engine_adapters.h"
#include "engine_conformance.h"
#include "gost.h"
#include "sha1.h"
#include "sha2.h"
#include "temp_file.h"

namespace {

// An engine with its level forced for one message: Init sets it, Final puts the detected choice
// back.
template <CpuLevel Level, class E>
struct At : E {
    static void Init(typename E::Context& c) {
        ForceCpuLevel(Level);
        E::Init(c);
    }
    static void Final(typename E::Context& c, uint8_t* out) {
        E::Final(c, out);
        ResetCpuLevel();
    }
};

using Sha1Portable = At<CpuLevel::kPortable, Sha1Engine>;
using Sha1Best = At<CpuLevel::kAvx512, Sha1Engine>;
using Sha256Portable = At<CpuLevel::kPortable, Sha2Engine<256>>;
using Sha256Best = At<CpuLevel::kAvx512, Sha2Engine<256>>;
using Sha384Portable = At<CpuLevel::kPortable, Sha2Engine<384>>;
using Sha384Best = At<CpuLevel::kAvx512, Sha2Engine<384>>;
using Sha512Portable = At<CpuLevel::kPortable, Sha2Engine<512>>;
using Sha512Best = At<CpuLevel::kAvx512, Sha2Engine<512>>;
using Crc32cPortable = At<CpuLevel::kPortable, Crc32cEngine>;
using Crc32cSse = At<CpuLevel::kSse, Crc32cEngine>;
using Crc32cAvx2 = At<CpuLevel::kAvx2, Crc32cEngine>;
using Crc32cBest = At<CpuLevel::kAvx512, Crc32cEngine>;
using Sha224Portable = At<CpuLevel::kPortable, Sha224Engine>;
using Sha224Best = At<CpuLevel::kAvx512, Sha224Engine>;
using Sha512t224Portable = At<CpuLevel::kPortable, Sha512tEngine<224>>;
using Sha512t224Best = At<CpuLevel::kAvx512, Sha512tEngine<224>>;
using Sha512t256Portable = At<CpuLevel::kPortable, Sha512tEngine<256>>;
using Sha512t256Best = At<CpuLevel::kAvx512, Sha512tEngine<256>>;
using Sha3t224Portable = At<CpuLevel::kPortable, Sha3Engine<224>>;
using Sha3t224Best = At<CpuLevel::kAvx512, Sha3Engine<224>>;
using Sha3t256Portable = At<CpuLevel::kPortable, Sha3Engine<256>>;
using Sha3t256Best = At<CpuLevel::kAvx512, Sha3Engine<256>>;
using Sha3t384Portable = At<CpuLevel::kPortable, Sha3Engine<384>>;
using Sha3t384Best = At<CpuLevel::kAvx512, Sha3Engine<384>>;
using Sha3t512Portable = At<CpuLevel::kPortable, Sha3Engine<512>>;
using Sha3t512Best = At<CpuLevel::kAvx512, Sha3Engine<512>>;
using GostPortable = At<CpuLevel::kPortable, GostEngine>;
using GostBest = At<CpuLevel::kAvx512, GostEngine>;
using GostCryptoProPortable = At<CpuLevel::kPortable, GostCryptoProEngine>;
using Streebog512Portable = At<CpuLevel::kPortable, StreebogEngine<512>>;
using Sm3Portable = At<CpuLevel::kPortable, Sm3Engine>;
INSTANTIATE_TYPED_TEST_SUITE_P(Sha1Portable, EngineConformance, Sha1Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha1Accelerated, EngineConformance, Sha1Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha256Portable, EngineConformance, Sha256Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha256Accelerated, EngineConformance, Sha256Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha384Portable, EngineConformance, Sha384Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha384Accelerated, EngineConformance, Sha384Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha512Portable, EngineConformance, Sha512Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha512Accelerated, EngineConformance, Sha512Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Crc32cPortable, EngineConformance, Crc32cPortable);
INSTANTIATE_TYPED_TEST_SUITE_P(Crc32cSse, EngineConformance, Crc32cSse);
INSTANTIATE_TYPED_TEST_SUITE_P(Crc32cAvx2, EngineConformance, Crc32cAvx2);
INSTANTIATE_TYPED_TEST_SUITE_P(Crc32cAccelerated, EngineConformance, Crc32cBest);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha224Portable, EngineConformance, Sha224Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha224Accelerated, EngineConformance, Sha224Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha512t224Portable, EngineConformance, Sha512t224Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha512t224Accelerated, EngineConformance, Sha512t224Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha512t256Portable, EngineConformance, Sha512t256Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha512t256Accelerated, EngineConformance, Sha512t256Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha3t224Portable, EngineConformance, Sha3t224Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha3t224Accelerated, EngineConformance, Sha3t224Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha3t256Portable, EngineConformance, Sha3t256Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha3t256Accelerated, EngineConformance, Sha3t256Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha3t384Portable, EngineConformance, Sha3t384Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha3t384Accelerated, EngineConformance, Sha3t384Best);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha3t512Portable, EngineConformance, Sha3t512Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha3t512Accelerated, EngineConformance, Sha3t512Best);
INSTANTIATE_TYPED_TEST_SUITE_P(GostPortable, EngineConformance, GostPortable);
INSTANTIATE_TYPED_TEST_SUITE_P(GostAccelerated, EngineConformance, GostBest);
// XXH3 and XXH128 at their best level run in xxhash_test.cpp.
using Xxh3Portable = At<CpuLevel::kPortable, Xxh3Engine<8>>;
using Xxh3Avx2 = At<CpuLevel::kAvx2, Xxh3Engine<8>>;
using Xxh128Portable = At<CpuLevel::kPortable, Xxh3Engine<16>>;
using Xxh128Avx2 = At<CpuLevel::kAvx2, Xxh3Engine<16>>;
INSTANTIATE_TYPED_TEST_SUITE_P(Xxh3Portable, EngineConformance, Xxh3Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Xxh3Avx2, EngineConformance, Xxh3Avx2);
INSTANTIATE_TYPED_TEST_SUITE_P(Xxh128Portable, EngineConformance, Xxh128Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Xxh128Avx2, EngineConformance, Xxh128Avx2);
// (CryptoPro's, Streebog's and SM3's default instantiations run the best path.)
INSTANTIATE_TYPED_TEST_SUITE_P(GostCryptoProPortable, EngineConformance, GostCryptoProPortable);
INSTANTIATE_TYPED_TEST_SUITE_P(Streebog512Portable, EngineConformance, Streebog512Portable);
INSTANTIATE_TYPED_TEST_SUITE_P(Sm3Portable, EngineConformance, Sm3Portable);

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
