// Every multi-lane block function this CPU can run, and what each dispatch level picks, against the
// one-message engines: many messages of random lengths and alignments (the shared vectors among
// them) go through the lanes, each lane refilled as its message runs out of whole blocks, so lanes
// start and end at different times, blocks go in runs of random length, and idle lanes read other
// lanes' data; each message's tail is finished by its one-message context.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "cpu.h"
#include "lane_driver.h"
#include "vectors.h"
#if defined(__x86_64__) || defined(__i386__)
#include "x86/x86_lanes.h"
#endif

namespace {

template <class E>
void CheckPath(const LanePath<typename LaneTraits<E>::Word>& path, uint32_t seed) {
    constexpr std::size_t kBlock = E::kBlockSize;
    const std::string column(AlgorithmName(E::kAlgorithm));
    std::mt19937 random(seed);
    // Lengths up to 40 blocks, a third of them whole blocks, at every alignment.
    std::vector<uint8_t> pool(512 * 1024);
    for (auto& b : pool) b = static_cast<uint8_t>(random());
    std::vector<std::pair<LaneMessage, std::string>> cases;
    for (const auto& v : SharedVectors())
        cases.push_back({{reinterpret_cast<const uint8_t*>(v.message.data()), v.message.size()},
                         v.digest.at(column)});
    for (std::size_t i = 0; i < 5 * path.lanes; ++i) {
        std::size_t length = random() % (40 * kBlock);
        if (i % 3 == 0) length -= length % kBlock;
        const LaneMessage m{pool.data() + random() % (pool.size() - length), length};
        cases.push_back({m, ToHex(OneMessage<E>(m))});
    }
    std::shuffle(cases.begin(), cases.end(), random);
    std::vector<LaneMessage> messages;
    for (const auto& c : cases) messages.push_back(c.first);
    const auto got =
        ThroughLanes<E>(path, messages, [&](std::size_t most) { return 1 + random() % most; });
    for (std::size_t i = 0; i < messages.size(); ++i)
        ASSERT_EQ(ToHex(got[i]), cases[i].second) << "length " << messages[i].length;
}

struct LaneFunction {
    const char* name;
    bool (*available)(const CpuFeatures&);
    void (*check)(uint32_t seed);
};

void PrintTo(const LaneFunction& function, std::ostream* out) {
    *out << function.name;
}

template <class E, auto Blocks, std::size_t Lanes>
void Check(uint32_t seed) {
    CheckPath<E>({Blocks, Lanes, "under test"}, seed);
}

#if defined(__x86_64__) || defined(__i386__)
bool Avx2(const CpuFeatures& f) {
    return f.avx2;
}
bool Avx512(const CpuFeatures& f) {
    return f.avx512;
}
bool Avx512Vbmi(const CpuFeatures& f) {
    return f.avx512 && f.avx512vbmi;
}

const LaneFunction kFunctions[] = {
    {"md2_avx512_vbmi", Avx512Vbmi, Check<Md2Engine, Md2LanesAvx512, 128>},
    {"md4_avx512", Avx512, Check<Md4Engine, Md4LanesAvx512, 16>},
    {"md4_avx512x32", Avx512, Check<Md4Engine, Md4LanesAvx512x32, 32>},
    {"md4_avx2", Avx2, Check<Md4Engine, Md4LanesAvx2, 16>},
    {"md5_avx512", Avx512, Check<Md5Engine, Md5LanesAvx512, 16>},
    {"md5_avx512x32", Avx512, Check<Md5Engine, Md5LanesAvx512x32, 32>},
    {"md5_avx2", Avx2, Check<Md5Engine, Md5LanesAvx2, 16>},
    {"sha1_avx512", Avx512, Check<Sha1Engine, Sha1LanesAvx512, 16>},
    {"sha1_avx512x32", Avx512, Check<Sha1Engine, Sha1LanesAvx512x32, 32>},
    {"sha1_avx2", Avx2, Check<Sha1Engine, Sha1LanesAvx2, 8>},
    {"sha256_avx512", Avx512, Check<Sha2Engine<256>, Sha256LanesAvx512, 16>},
    {"sha256_avx2", Avx2, Check<Sha2Engine<256>, Sha256LanesAvx2, 8>},
    {"sha384_avx512", Avx512, Check<Sha2Engine<384>, Sha512LanesAvx512, 8>},
    {"sha512_avx512", Avx512, Check<Sha2Engine<512>, Sha512LanesAvx512, 8>},
    {"sha512_avx2", Avx2, Check<Sha2Engine<512>, Sha512LanesAvx2, 4>},
};

class LaneFunctionTest : public ::testing::TestWithParam<LaneFunction> {};

TEST_P(LaneFunctionTest, MatchesTheOneMessageEngine) {
    if (!GetParam().available(DetectCpuFeatures())) GTEST_SKIP() << "CPU lacks the extension";
    const uint32_t seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    GetParam().check(seed);
}

INSTANTIATE_TEST_SUITE_P(Lanes, LaneFunctionTest, ::testing::ValuesIn(kFunctions),
                         [](const auto& p) { return std::string(p.param.name); });
#endif

// What each level dispatches, with its lane count, and the one-message engines of that level.
TEST(LanesTest, EveryLevelsPathsMatchTheOneMessageEngine) {
    const uint32_t seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (CpuLevel level : kCpuLevels) {
        if (level > SupportedCpuLevel()) continue;
        ForceCpuLevel(level);
        const CpuDispatch& d = ActiveCpuDispatch();
        if (d.md2Lanes.blocks != nullptr) CheckPath<Md2Engine>(d.md2Lanes, seed);
        if (d.md5Lanes.blocks != nullptr) CheckPath<Md5Engine>(d.md5Lanes, seed);
        if (d.md4Lanes.blocks != nullptr) CheckPath<Md4Engine>(d.md4Lanes, seed);
        if (d.sha1Lanes.blocks != nullptr) CheckPath<Sha1Engine>(d.sha1Lanes, seed);
        if (d.sha256Lanes.blocks != nullptr) CheckPath<Sha2Engine<256>>(d.sha256Lanes, seed);
        if (d.md5Wide.blocks != nullptr) CheckPath<Md5Engine>(d.md5Wide, seed);
        if (d.md4Wide.blocks != nullptr) CheckPath<Md4Engine>(d.md4Wide, seed);
        if (d.sha1Wide.blocks != nullptr) CheckPath<Sha1Engine>(d.sha1Wide, seed);
        if (d.sha512Lanes.blocks != nullptr) CheckPath<Sha2Engine<384>>(d.sha512Lanes, seed);
    }
    ResetCpuLevel();
}

// A function and its lane count go together, the portable level has none, and --version names them.
TEST(LanesTest, PathsAreConsistentAndNamed) {
    for (CpuLevel level : kCpuLevels) {
        if (level > SupportedCpuLevel()) continue;
        ForceCpuLevel(level);
        const CpuDispatch& d = ActiveCpuDispatch();
        for (const auto& path : {d.md4Lanes, d.md5Lanes, d.sha1Lanes, d.sha256Lanes, d.md4Wide,
                                 d.md5Wide, d.sha1Wide}) {
            EXPECT_EQ(path.blocks == nullptr, path.lanes == 1) << path.name;
            if (level == CpuLevel::kPortable) {
                EXPECT_EQ(path.lanes, 1u);
            }
        }
        EXPECT_EQ(d.sha512Lanes.blocks == nullptr, d.sha512Lanes.lanes == 1);
        EXPECT_EQ(d.md2Lanes.blocks == nullptr, d.md2Lanes.lanes == 1);
        EXPECT_EQ(d.md2Lanes.blocks != nullptr,
                  level == CpuLevel::kAvx512 && DetectCpuFeatures().avx512vbmi);
        const std::string text = ActiveCpuPaths();
        EXPECT_NE(text.find(std::string("md5-lanes=") + d.md5Lanes.name), std::string::npos);
        EXPECT_NE(text.find(std::string("sha512-lanes=") + d.sha512Lanes.name), std::string::npos);
        EXPECT_NE(text.find(std::string("md2-lanes=") + d.md2Lanes.name), std::string::npos);
    }
    ResetCpuLevel();
}

}  // namespace
