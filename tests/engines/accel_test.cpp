// The accelerated block functions against plain references written from FIPS 180-2 and the
// bitwise CRC definition, on the shared vectors and on random data of random lengths and
// alignments; each path is skipped when this CPU lacks its extension.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bytes.h"
#include "cpu.h"
#include "crc32_slicing.h"
#include "gost.h"
#include "gost_tables.h"
#include "sha2_constants.h"
#include "sha3.h"
#include "sm3.h"
#include "streebog.h"
#include "vectors.h"
#include "xxhash.h"
#if defined(__x86_64__) || defined(__i386__)
#include "x86/x86_blocks.h"
#endif

namespace {

using CrcBulk = uint32_t (*)(uint32_t, const uint8_t*, std::size_t);
using ShaBlocks = void (*)(uint32_t*, const uint8_t*, std::size_t);

// Bit by bit, straight from the reflected definition.
uint32_t CrcReference(uint32_t polynomial, uint32_t reg, const uint8_t* data, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        reg ^= data[i];
        for (int bit = 0; bit < 8; ++bit) reg = (reg & 1) ? (reg >> 1) ^ polynomial : reg >> 1;
    }
    return reg;
}

constexpr uint32_t kSha256K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

// The FIPS 180-2 computation for one block after another, with the full 64-word schedule.
void Sha256Reference(uint32_t* h, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        uint32_t w[64];
        for (int t = 0; t < 16; ++t) w[t] = LoadBe32(data + 4 * t);
        for (int t = 16; t < 64; ++t) {
            const uint32_t s0 = Rotr32(w[t - 15], 7) ^ Rotr32(w[t - 15], 18) ^ (w[t - 15] >> 3);
            const uint32_t s1 = Rotr32(w[t - 2], 17) ^ Rotr32(w[t - 2], 19) ^ (w[t - 2] >> 10);
            w[t] = s1 + w[t - 7] + s0 + w[t - 16];
        }
        uint32_t v[8];
        std::memcpy(v, h, sizeof v);
        for (int t = 0; t < 64; ++t) {
            const uint32_t e = v[4], a = v[0];
            const uint32_t t1 = v[7] + (Rotr32(e, 6) ^ Rotr32(e, 11) ^ Rotr32(e, 25)) +
                                ((e & v[5]) ^ (~e & v[6])) + kSha256K[t] + w[t];
            const uint32_t t2 = (Rotr32(a, 2) ^ Rotr32(a, 13) ^ Rotr32(a, 22)) +
                                ((a & v[1]) ^ (a & v[2]) ^ (v[1] & v[2]));
            std::memmove(v + 1, v, 7 * sizeof v[0]);
            v[4] += t1;
            v[0] = t1 + t2;
        }
        for (int i = 0; i < 8; ++i) h[i] += v[i];
    }
}

void Sha1Reference(uint32_t* h, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        uint32_t w[80];
        for (int t = 0; t < 16; ++t) w[t] = LoadBe32(data + 4 * t);
        for (int t = 16; t < 80; ++t) w[t] = Rotl32(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
        for (int t = 0; t < 80; ++t) {
            uint32_t f, k;
            if (t < 20)
                f = (b & c) | (~b & d), k = 0x5A827999;
            else if (t < 40)
                f = b ^ c ^ d, k = 0x6ED9EBA1;
            else if (t < 60)
                f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
            else
                f = b ^ c ^ d, k = 0xCA62C1D6;
            const uint32_t temp = Rotl32(a, 5) + f + e + k + w[t];
            e = d, d = c, c = Rotl32(b, 30), b = a, a = temp;
        }
        h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
    }
}

// A whole message through a block function: FIPS 180-2 padding done here, big-endian digest.
template <std::size_t Words>
std::string ShaDigest(ShaBlocks blocks, std::array<uint32_t, Words> h, const std::string& text) {
    std::vector<uint8_t> m(text.begin(), text.end());
    const uint64_t bits = uint64_t{m.size()} * 8;
    m.push_back(0x80);
    while (m.size() % 64 != 56) m.push_back(0);
    for (int i = 7; i >= 0; --i) m.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    blocks(h.data(), m.data(), m.size() / 64);
    uint8_t out[4 * Words];
    for (std::size_t i = 0; i < Words; ++i) StoreBe32(out + 4 * i, h[i]);
    return ToHex(out, sizeof out);
}

constexpr std::array<uint32_t, 8> kSha256Start = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                  0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
constexpr std::array<uint32_t, 5> kSha1Start = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476,
                                                0xC3D2E1F0};

struct CrcPath {
    const char* name;
    CrcBulk bulk;
    bool (*available)(const CpuFeatures&);
    uint32_t polynomial = 0xEDB88320;  // reflected
    const char* column = "crc32";      // of digests.tsv
    const char* check = "cbf43926";    // of "123456789"
};
struct ShaPath {
    const char* name;
    ShaBlocks blocks;
    bool (*available)(const CpuFeatures&);
};

bool Always(const CpuFeatures&) {
    return true;
}

const std::vector<CrcPath>& CrcPaths() {
    static const std::vector<CrcPath> paths = {
        {"slicing16", Crc32Slicing16, Always},
#if defined(__x86_64__) || defined(__i386__)
        {"pclmul", Crc32FoldPclmul, [](const CpuFeatures& f) { return f.pclmul && f.sse41; }},
        {"vpclmul256", Crc32FoldVpclmul256,
         [](const CpuFeatures& f) { return f.pclmul && f.vpclmul && f.avx2; }},
        {"vpclmul512", Crc32FoldVpclmul512,
         [](const CpuFeatures& f) { return f.pclmul && f.vpclmul && f.avx2 && f.avx512; }},
#endif
        {"crc32c_slicing16", Crc32cSlicing16, Always, 0x82F63B78, "crc32c", "e3069283"},
#if defined(__x86_64__) || defined(__i386__)
        {"crc32c_sse42", Crc32cSse42, [](const CpuFeatures& f) { return f.sse42 && f.pclmul; },
         0x82F63B78, "crc32c", "e3069283"},
        {"crc32c_vpclmul512", Crc32cFoldVpclmul512,
         [](const CpuFeatures& f) { return f.pclmul && f.vpclmul && f.avx2 && f.avx512; },
         0x82F63B78, "crc32c", "e3069283"},
#endif
    };
    return paths;
}

bool HasShaNi(const CpuFeatures& f) {
    return f.sha && f.sse41 && f.ssse3;
}

const std::vector<ShaPath>& Sha1Paths() {
    static const std::vector<ShaPath> paths = {
        {"reference", Sha1Reference, Always},
#if defined(__x86_64__) || defined(__i386__)
        {"sha-ni", Sha1BlocksShaNi, HasShaNi},
#endif
    };
    return paths;
}

const std::vector<ShaPath>& Sha256Paths() {
    static const std::vector<ShaPath> paths = {
        {"reference", Sha256Reference, Always},
#if defined(__x86_64__) || defined(__i386__)
        {"sha-ni", Sha256BlocksShaNi, HasShaNi},
#endif
    };
    return paths;
}

std::string CrcHex(CrcBulk bulk, const std::string& text) {
    char hex[9];
    const uint32_t crc =
        ~bulk(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    std::snprintf(hex, sizeof hex, "%08x", crc);
    return hex;
}

std::vector<uint8_t> RandomBytes(std::mt19937& random, std::size_t n) {
    std::vector<uint8_t> bytes(n);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

// `blocks` against `reference` from the same random eight-word states, up to `maxBlocks` blocks at
// every alignment. All eight words are compared: a five-word state (SHA-1) must leave the other
// three as they were.
void ExpectSameBlocks(ShaBlocks blocks, ShaBlocks reference, std::size_t maxBlocks) {
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const auto buffer = RandomBytes(random, maxBlocks * 64 + 64);
    for (int round = 0; round < 100; ++round) {
        const std::size_t offset = random() % 64, count = random() % (maxBlocks + 1);
        uint32_t state[8], expected[8];
        for (auto& word : state) word = static_cast<uint32_t>(random());
        std::memcpy(expected, state, sizeof state);
        blocks(state, buffer.data() + offset, count);
        reference(expected, buffer.data() + offset, count);
        ASSERT_EQ(std::memcmp(state, expected, sizeof state), 0)
            << "blocks " << count << " offset " << offset;
    }
}

class CrcPathTest : public ::testing::TestWithParam<CrcPath> {
protected:
    void SetUp() override {
        if (!GetParam().available(DetectCpuFeatures())) GTEST_SKIP() << "CPU lacks the extension";
    }
};

TEST_P(CrcPathTest, KnownValues) {
    EXPECT_EQ(CrcHex(GetParam().bulk, "123456789"), GetParam().check);
    EXPECT_EQ(CrcHex(GetParam().bulk, ""), "00000000");
    for (const auto& v : SharedVectors())
        EXPECT_EQ(CrcHex(GetParam().bulk, v.message), v.digest.at(GetParam().column)) << v.name;
}

TEST_P(CrcPathTest, MatchesBitwiseOnEveryLengthAndAlignment) {
    // Every length through four 256-byte folds (all tail and lane cases), every alignment mod 64,
    // and a random running register so the start XOR is exercised beyond 0xFFFFFFFF.
    std::mt19937 random(12345);
    const auto buffer = RandomBytes(random, 1200 + 64);
    for (std::size_t length = 0; length <= 1200; ++length) {
        const std::size_t offset = length % 64;
        const uint32_t reg = static_cast<uint32_t>(random());
        ASSERT_EQ(GetParam().bulk(reg, buffer.data() + offset, length),
                  CrcReference(GetParam().polynomial, reg, buffer.data() + offset, length))
            << "length " << length << " offset " << offset;
    }
}

TEST_P(CrcPathTest, MatchesBitwiseOnRandomLongRuns) {
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const auto buffer = RandomBytes(random, 70000);
    for (int round = 0; round < 30; ++round) {
        const std::size_t offset = random() % 64, length = random() % (buffer.size() - 64);
        const uint32_t reg = static_cast<uint32_t>(random());
        ASSERT_EQ(GetParam().bulk(reg, buffer.data() + offset, length),
                  CrcReference(GetParam().polynomial, reg, buffer.data() + offset, length))
            << "length " << length << " offset " << offset;
    }
}

TEST_P(CrcPathTest, PiecesChainThroughTheRegister) {
    // 16000-byte chunks (the runners' size) then an odd tail give the one-shot register.
    std::mt19937 random(7);
    const auto buffer = RandomBytes(random, 3 * 16000 + 77);
    uint32_t reg = 0xFFFFFFFFu;
    for (std::size_t at = 0; at < buffer.size(); at += 16000)
        reg = GetParam().bulk(reg, buffer.data() + at,
                              std::min<std::size_t>(16000, buffer.size() - at));
    EXPECT_EQ(reg, CrcReference(GetParam().polynomial, 0xFFFFFFFFu, buffer.data(), buffer.size()));
}

INSTANTIATE_TEST_SUITE_P(Accel, CrcPathTest, ::testing::ValuesIn(CrcPaths()),
                         [](const auto& p) { return std::string(p.param.name); });

class ShaPathTest : public ::testing::TestWithParam<std::pair<int, ShaPath>> {
protected:
    void SetUp() override {
        if (!GetParam().second.available(DetectCpuFeatures())) GTEST_SKIP() << "CPU lacks SHA-NI";
    }
    bool IsSha1() const { return GetParam().first == 1; }
};

std::vector<std::pair<int, ShaPath>> AllShaPaths() {
    std::vector<std::pair<int, ShaPath>> all;
    for (const auto& p : Sha1Paths()) all.emplace_back(1, p);
    for (const auto& p : Sha256Paths()) all.emplace_back(256, p);
    return all;
}

TEST_P(ShaPathTest, SharedVectors) {
    const ShaBlocks blocks = GetParam().second.blocks;
    for (const auto& v : SharedVectors()) {
        const std::string got = IsSha1() ? ShaDigest(blocks, kSha1Start, v.message)
                                         : ShaDigest(blocks, kSha256Start, v.message);
        EXPECT_EQ(got, v.digest.at(IsSha1() ? "sha1" : "sha256")) << v.name;
    }
}

TEST_P(ShaPathTest, MatchesReferenceOnRandomBlocksStatesAndAlignments) {
    ExpectSameBlocks(GetParam().second.blocks, IsSha1() ? Sha1Reference : Sha256Reference, 40);
}

INSTANTIATE_TEST_SUITE_P(Accel, ShaPathTest, ::testing::ValuesIn(AllShaPaths()), [](const auto& p) {
    return "sha" + std::to_string(p.param.first) + "_" +
           (p.param.second.name[0] == 's' ? "shani" : "reference");
});

// FIPS 180-2 SHA-512 for one block after another, with the full 80-word schedule.
void Sha512Reference(uint64_t* h, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 128) {
        uint64_t w[80];
        for (int t = 0; t < 16; ++t) w[t] = LoadBe64(data + 8 * t);
        for (int t = 16; t < 80; ++t) {
            const uint64_t s0 = Rotr64(w[t - 15], 1) ^ Rotr64(w[t - 15], 8) ^ (w[t - 15] >> 7);
            const uint64_t s1 = Rotr64(w[t - 2], 19) ^ Rotr64(w[t - 2], 61) ^ (w[t - 2] >> 6);
            w[t] = s1 + w[t - 7] + s0 + w[t - 16];
        }
        uint64_t v[8];
        std::memcpy(v, h, sizeof v);
        for (int t = 0; t < 80; ++t) {
            const uint64_t e = v[4], a = v[0];
            const uint64_t t1 = v[7] + (Rotr64(e, 14) ^ Rotr64(e, 18) ^ Rotr64(e, 41)) +
                                ((e & v[5]) ^ (~e & v[6])) + kSha512Round[t] + w[t];
            const uint64_t t2 = (Rotr64(a, 28) ^ Rotr64(a, 34) ^ Rotr64(a, 39)) +
                                ((a & v[1]) ^ (a & v[2]) ^ (v[1] & v[2]));
            std::memmove(v + 1, v, 7 * sizeof v[0]);
            v[4] += t1;
            v[0] = t1 + t2;
        }
        for (int i = 0; i < 8; ++i) h[i] += v[i];
    }
}

using Sha512Blocks = void (*)(uint64_t*, const uint8_t*, std::size_t);
struct Sha512Path {
    const char* name;
    Sha512Blocks blocks;
    bool (*available)(const CpuFeatures&);
};

const std::vector<Sha512Path>& Sha512Paths() {
    static const std::vector<Sha512Path> paths = {
        {"reference", Sha512Reference, Always},
#if defined(__x86_64__) || defined(__i386__)
        {"bmi2", Sha512BlocksBmi2, [](const CpuFeatures& f) { return f.bmi2; }},
        {"avx2", Sha512BlocksAvx2, [](const CpuFeatures& f) { return f.bmi2 && f.avx2; }},
#endif
    };
    return paths;
}

// SHA-512 / SHA-384 through a block function, padding done here (128-byte blocks).
std::string Sha512Digest(Sha512Blocks blocks, const std::array<uint64_t, 8>& start,
                         std::size_t bytes, const std::string& text) {
    std::array<uint64_t, 8> h = start;
    std::vector<uint8_t> m(text.begin(), text.end());
    const uint64_t bits = uint64_t{m.size()} * 8;
    m.push_back(0x80);
    while (m.size() % 128 != 112) m.push_back(0);
    m.insert(m.end(), 8, 0);
    for (int i = 7; i >= 0; --i) m.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    blocks(h.data(), m.data(), m.size() / 128);
    uint8_t out[64];
    for (std::size_t i = 0; i < 8; ++i) StoreBe64(out + 8 * i, h[i]);
    return ToHex(out, bytes);
}

class Sha512PathTest : public ::testing::TestWithParam<Sha512Path> {
protected:
    void SetUp() override {
        if (!GetParam().available(DetectCpuFeatures())) GTEST_SKIP() << "CPU lacks the extension";
    }
};

TEST_P(Sha512PathTest, SharedVectorsAtBothWidths) {
    constexpr std::array<uint64_t, 8> k512 = {
        0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b, 0xa54ff53a5f1d36f1,
        0x510e527fade682d1, 0x9b05688c2b3e6c1f, 0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};
    constexpr std::array<uint64_t, 8> k384 = {
        0xcbbb9d5dc1059ed8, 0x629a292a367cd507, 0x9159015a3070dd17, 0x152fecd8f70e5939,
        0x67332667ffc00b31, 0x8eb44a8768581511, 0xdb0c2e0d64f98fa7, 0x47b5481dbefa4fa4};
    for (const auto& v : SharedVectors()) {
        EXPECT_EQ(Sha512Digest(GetParam().blocks, k512, 64, v.message), v.digest.at("sha512"))
            << v.name;
        EXPECT_EQ(Sha512Digest(GetParam().blocks, k384, 48, v.message), v.digest.at("sha384"))
            << v.name;
    }
}

TEST_P(Sha512PathTest, MatchesReferenceOnRandomBlocksStatesAndAlignments) {
    // Odd and even block counts matter: the vector schedule works on pairs of blocks.
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const auto buffer = RandomBytes(random, 21 * 128 + 64);
    for (int round = 0; round < 100; ++round) {
        const std::size_t offset = random() % 64, blocks = round < 8 ? round : random() % 22;
        uint64_t state[8], expected[8];
        for (auto& word : state) word = uint64_t{random()} << 32 | random();
        std::memcpy(expected, state, sizeof state);
        GetParam().blocks(state, buffer.data() + offset, blocks);
        Sha512Reference(expected, buffer.data() + offset, blocks);
        ASSERT_EQ(std::memcmp(state, expected, sizeof state), 0)
            << "blocks " << blocks << " offset " << offset;
    }
}

INSTANTIATE_TEST_SUITE_P(Accel, Sha512PathTest, ::testing::ValuesIn(Sha512Paths()),
                         [](const auto& p) { return std::string(p.param.name); });

#if defined(__x86_64__) || defined(__i386__)
// The SHA-3 absorb functions against the portable one (checked against the published vectors by
// the conformance suite): random states, every rate, block counts and alignments.
TEST(Sha3PathTest, BmiMatchesPortableOnRandomStatesRatesAndAlignments) {
    const CpuFeatures f = DetectCpuFeatures();
    if (!f.bmi1 || !f.bmi2) GTEST_SKIP() << "CPU lacks BMI1 or BMI2";
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const auto buffer = RandomBytes(random, 9 * 144 + 64);
    for (int round = 0; round < 100; ++round) {
        const std::size_t rateLanes = std::array<std::size_t, 4>{9, 13, 17, 18}[round % 4];
        const std::size_t offset = random() % 64, blocks = random() % 9;
        uint64_t state[25], expected[25];
        for (auto& lane : state) lane = uint64_t{random()} << 32 | random();
        std::memcpy(expected, state, sizeof state);
        Sha3AbsorbBmi(state, buffer.data() + offset, blocks, rateLanes);
        Sha3AbsorbPortable(expected, buffer.data() + offset, blocks, rateLanes);
        ASSERT_EQ(std::memcmp(state, expected, sizeof state), 0)
            << "lanes " << rateLanes << " blocks " << blocks << " offset " << offset;
    }
}

// The SM3 block function with the vector expansion against the portable one (checked against the
// published vectors by the conformance suite): random states, block counts and alignments.
TEST(Sm3PathTest, Avx2MatchesPortableOnRandomStatesAndAlignments) {
    if (!DetectCpuFeatures().avx2) GTEST_SKIP() << "CPU lacks AVX2";
    ExpectSameBlocks(Sm3BlocksAvx2, Sm3Blocks, 20);
}
#endif

#if defined(__x86_64__) || defined(__i386__)
// The x86 step functions, each with the CPU features it needs and the level that picks it.
struct GostPath {
    const char* name;
    void (*compress)(const GostRoundTables&, uint32_t*, const uint32_t*);
    bool (*available)(const CpuFeatures&);
    CpuLevel level;
};
class GostPathTest : public ::testing::TestWithParam<GostPath> {
protected:
    void SetUp() override {
        if (!GetParam().available(DetectCpuFeatures())) GTEST_SKIP() << "CPU lacks the extension";
    }
};

// The step function against the portable one with each S-box set: random chaining values and
// blocks, plus the all-zero and all-ones words where the additions and the control constant
// bite.
TEST_P(GostPathTest, StepFunctionMatchesPortable) {
    std::mt19937 random(2718);
    for (int trial = 0; trial < 4000; ++trial) {
        const GostRoundTables& tables = trial % 2 ? kGostCryptoProRoundTables : kGostRoundTables;
        uint32_t h[8], m[8];
        for (int i = 0; i < 8; ++i) {
            // Trials 0-7: every combination of all-zero and all-ones chaining value and block.
            h[i] = trial < 8 ? ((trial & 2) ? 0xffffffffu : 0u) : static_cast<uint32_t>(random());
            m[i] = trial < 8 ? ((trial & 4) ? 0xffffffffu : 0u) : static_cast<uint32_t>(random());
        }
        uint32_t portable[8], vector[8], block[8];
        std::memcpy(portable, h, sizeof h);
        std::memcpy(vector, h, sizeof h);
        std::memcpy(block, m, sizeof m);
        GostCompressWith(tables, portable, m);
        GetParam().compress(tables, vector, block);
        ASSERT_EQ(std::memcmp(portable, vector, sizeof portable), 0) << "trial " << trial;
        ASSERT_EQ(std::memcmp(block, m, sizeof m), 0) << "the block must stay unchanged";
    }
}

// Whole messages of random lengths at random alignments, in random pieces: the path's level
// against the portable level.
TEST_P(GostPathTest, RandomMessagesMatchPortable) {
    std::mt19937 random(31415);
    const auto buffer = RandomBytes(random, 5000 + 64);
    const auto digest = [&](CpuLevel level, std::size_t offset, std::size_t length, uint32_t seed) {
        ForceCpuLevel(level);
        std::mt19937 pieces(seed);
        GostContext c;
        GostInitWithSBoxes(&c, seed % 2 ? GostSBoxes::kCryptoPro : GostSBoxes::kTest);
        for (std::size_t done = 0; done < length;) {
            const std::size_t n = std::min<std::size_t>(length - done, pieces() % 300);
            GostUpdate(&c, buffer.data() + offset + done, static_cast<uint32_t>(n));
            done += n;
        }
        uint8_t out[32];
        GostFinal(&c, out);
        ResetCpuLevel();
        return ToHex(out, sizeof out);
    };
    for (int trial = 0; trial < 200; ++trial) {
        const std::size_t offset = random() % 64, length = random() % 5000;
        const uint32_t seed = static_cast<uint32_t>(random());
        ASSERT_EQ(digest(GetParam().level, offset, length, seed),
                  digest(CpuLevel::kPortable, offset, length, seed))
            << "offset " << offset << " length " << length << " seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(Accel, GostPathTest,
                         ::testing::Values(GostPath{"avx2", GostCompressAvx2,
                                                    [](const CpuFeatures& f) {
                                                        return f.avx2 && f.bmi1;
                                                    },
                                                    CpuLevel::kAvx2},
                                           GostPath{"avx512", GostCompressAvx512,
                                                    [](const CpuFeatures& f) {
                                                        return f.avx512 && f.avx512vbmi && f.bmi2;
                                                    },
                                                    CpuLevel::kAvx512}),
                         [](const auto& p) { return std::string(p.param.name); });
#endif

#if defined(__x86_64__) || defined(__i386__)
using Xxh3Stripes = void (*)(uint64_t*, const uint8_t*, std::size_t, std::size_t);
struct Xxh3Path {
    const char* name;
    Xxh3Stripes stripes;
    bool (*available)(const CpuFeatures&);
};

class Xxh3PathTest : public ::testing::TestWithParam<Xxh3Path> {};

// Random accumulators, stripe counts across block ends (each completed block scrambles) and
// starting positions within a block, at every alignment mod 64.
TEST_P(Xxh3PathTest, MatchesPortableOnRandomStripes) {
    if (!GetParam().available(DetectCpuFeatures())) GTEST_SKIP() << "CPU lacks the extension";
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const auto buffer = RandomBytes(random, 50 * 64 + 64);
    for (int round = 0; round < 300; ++round) {
        const std::size_t offset = random() % 64, stripes = random() % 51, first = random() % 16;
        uint64_t acc[8], expected[8];
        for (auto& word : acc) word = uint64_t{random()} << 32 | random();
        std::memcpy(expected, acc, sizeof acc);
        GetParam().stripes(acc, buffer.data() + offset, stripes, first);
        Xxh3StripesPortable(expected, buffer.data() + offset, stripes, first);
        ASSERT_EQ(std::memcmp(acc, expected, sizeof acc), 0)
            << "stripes " << stripes << " from " << first << " offset " << offset;
    }
}

INSTANTIATE_TEST_SUITE_P(Accel, Xxh3PathTest,
                         ::testing::Values(Xxh3Path{"avx2", Xxh3StripesAvx2,
                                                    [](const CpuFeatures& f) { return f.avx2; }},
                                           Xxh3Path{"avx512", Xxh3StripesAvx512,
                                                    [](const CpuFeatures& f) { return f.avx512; }}),
                         [](const auto& p) { return std::string(p.param.name); });
// The vector block function against the portable one on random chaining values, counters near a
// word's carry, sums and blocks at random alignments.
TEST(StreebogAvx512Test, BlocksMatchPortable) {
    const CpuFeatures f = DetectCpuFeatures();
    if (!f.avx512 || !f.avx512vbmi || !f.gfni) GTEST_SKIP() << "CPU lacks AVX-512 VBMI or GFNI";
    std::mt19937 random(6986);
    const auto buffer = RandomBytes(random, 8 * 64 + 64);
    const auto word = [&] { return uint64_t{random()} << 32 | random(); };
    for (int trial = 0; trial < 300; ++trial) {
        uint64_t h[2][8], n[2][8], sigma[2][8];
        for (int i = 0; i < 8; ++i) {
            h[0][i] = h[1][i] = word();
            n[0][i] = n[1][i] =
                i == 0 ? ~uint64_t{0} - 512 * (random() % 4) : (random() % 2) * ~0ull;
            sigma[0][i] = sigma[1][i] = trial % 2 ? ~uint64_t{0} : word();
        }
        const std::size_t offset = random() % 64, blocks = random() % 9;
        StreebogBlocks(h[0], n[0], sigma[0], buffer.data() + offset, blocks);
        StreebogBlocksAvx512(h[1], n[1], sigma[1], buffer.data() + offset, blocks);
        ASSERT_EQ(std::memcmp(h[0], h[1], sizeof h[0]), 0) << "trial " << trial;
        ASSERT_EQ(std::memcmp(n[0], n[1], sizeof n[0]), 0) << "trial " << trial;
        ASSERT_EQ(std::memcmp(sigma[0], sigma[1], sizeof sigma[0]), 0) << "trial " << trial;
    }
}
#endif

TEST(CpuDispatchTest, ForcingCapsAtTheCpuAndResets) {
    const CpuLevel supported = SupportedCpuLevel();
    for (CpuLevel level : kCpuLevels) {
        EXPECT_EQ(ForceCpuLevel(level), level <= supported);
        const CpuDispatch& d = ActiveCpuDispatch();
        EXPECT_LE(d.level, level);
        EXPECT_NE(d.crc32Bulk, nullptr);
        EXPECT_EQ(d.sha1Blocks == nullptr, d.sha256Blocks == nullptr);
        if (level == CpuLevel::kPortable) {
            EXPECT_EQ(d.sha1Blocks, nullptr);
            EXPECT_EQ(d.crc32Bulk, &Crc32Slicing16);
            EXPECT_EQ(
                ActiveCpuPaths(),
                "crc32=slicing-16 sha1=portable sha256=portable sha512=portable "
                "sha3=portable gost=portable md4-lanes=single md5-lanes=single sha1-lanes=single "
                "sha256-lanes=single sha512-lanes=single md2-lanes=single "
                "crc32c=slicing-16 blake3=portable xxh3=portable streebog=portable sm3=portable");
            EXPECT_EQ(d.gostCompress, &GostCompressWith);
        }
    }
    ResetCpuLevel();
    ForceCpuLevel(CpuLevel::kAvx512);
    const CpuDispatch* best = &ActiveCpuDispatch();
    ResetCpuLevel();
    if (std::getenv("CORVANE_CPU") == nullptr) {
        EXPECT_EQ(&ActiveCpuDispatch(), best);
    }
}

TEST(CpuDispatchTest, ActivePathsNameEveryKind) {
    const std::string text = ActiveCpuPaths();
    for (const char* kind : {"crc32=", "sha1=", "sha256=", "sha512=", "sha3=", "gost=", "xxh3="})
        EXPECT_NE(text.find(kind), std::string::npos) << text;
}

}  // namespace
