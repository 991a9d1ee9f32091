#include "gost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "engine_adapters.h"
#include "engine_conformance.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Gost, EngineConformance, GostEngine);
INSTANTIATE_TYPED_TEST_SUITE_P(GostCryptoPro, EngineConformance, GostCryptoProEngine);

namespace {

// The standard's worked examples and two short messages, from independent implementations of
// the test parameter set.
TEST(Gost, KnownAnswers) {
    const struct {
        const char* message;
        const char* digest;
    } cases[] = {
        {"", "ce85b99cc46752fffee35cab9a7b0278abb4c2d2055cff685af4912c49490f8d"},
        {"abc", "f3134348c44fb1b2a277729e2285ebb5cb5e0f29c975bc753b70497c06a4d51d"},
        {"This is message, length=32 bytes",
         "b1c466d37519b82e8319819ff32595e047a28cb6f83eff1c6916a815a637fffa"},
        {"Suppose the original message has length = 50 bytes",
         "471aba57a60a770d3a76130635c1fbea4ef14de51f78b4ae57dd893b62f55208"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HashOneShot<GostEngine>(c.message), c.digest) << c.message;
}

TEST(Gost, PendingStateAfterOneUpdate) {
    const struct {
        uint32_t length, pending, processedBits;
    } cases[] = {
        {0, 0, 0},    {1, 1, 0},     {31, 31, 0},  {32, 0, 256},
        {33, 1, 256}, {64, 32, 256}, {65, 1, 512}, {16000, 32, 499 * 256},
    };
    for (const auto& c : cases) {
        const std::string m = RampMessage(c.length);
        GostContext ctx;
        GostInit(&ctx);
        GostUpdate(&ctx, Bytes(m), c.length);
        EXPECT_EQ(ctx.pendingBytes, c.pending) << c.length;
        EXPECT_EQ(ctx.bitCount[0], c.processedBits) << c.length;
    }
}

TEST(Gost, DeferredBlockIsProcessedByTheNextZeroLengthUpdate) {
    const std::string m = RampMessage(64);
    GostContext ctx;
    GostInit(&ctx);
    GostUpdate(&ctx, Bytes(m), 64);
    ASSERT_EQ(ctx.pendingBytes, 32u);
    GostUpdate(&ctx, Bytes(m), 0);
    EXPECT_EQ(ctx.pendingBytes, 0u);
    EXPECT_EQ(ctx.bitCount[0], 512u);
    EXPECT_EQ(HashPieces<GostEngine>(m, {31}), HashOneShot<GostEngine>(m));
}

TEST(Gost, EmptyMessageIsTwoCompressionsOfZero) {
    uint32_t h[8] = {};
    const uint32_t zero[8] = {};
    GostCompress(h, zero);
    GostCompress(h, zero);
    uint8_t expected[32];
    for (int k = 0; k < 8; ++k)
        for (int b = 0; b < 4; ++b) expected[4 * k + b] = static_cast<uint8_t>(h[k] >> (8 * b));
    EXPECT_EQ(HashOneShot<GostEngine>(""), ToHex(expected, 32));
}

TEST(Gost, BitCountCarriesIntoWordOne) {
    GostContext ctx;
    GostInit(&ctx);
    ctx.bitCount[0] = 0xFFFFFF00u;
    const std::string m = RampMessage(33);
    GostUpdate(&ctx, Bytes(m), 33);
    EXPECT_EQ(ctx.bitCount[0], 0u);
    EXPECT_EQ(ctx.bitCount[1], 1u);
    uint8_t digest[32];
    GostFinal(&ctx, digest);
    EXPECT_EQ(ctx.bitCount[0], 8u);
    EXPECT_EQ(ctx.bitCount[1], 1u);
}

TEST(Gost, SumCarriesThroughFullWordsAndDropsTheTopCarry) {
    GostContext ctx;
    GostInit(&ctx);
    for (auto& w : ctx.sum) w = 0xFFFFFFFFu;
    ctx.sum[0] = 0xFFFFFFFEu;
    uint8_t block[32] = {};
    block[0] = 3;  // 0xFF..FE + 3 = 2^256 + 1
    GostProcessBlock(&ctx, block, 256);
    EXPECT_EQ(ctx.sum[0], 1u);
    for (int k = 1; k < 8; ++k) EXPECT_EQ(ctx.sum[k], 0u) << k;

    GostInit(&ctx);
    ctx.sum[3] = 0xFFFFFFFFu;
    uint8_t carry[32] = {};
    carry[12] = 1;  // word 3 += 1: carry into word 4 only
    GostProcessBlock(&ctx, carry, 256);
    EXPECT_EQ(ctx.sum[3], 0u);
    EXPECT_EQ(ctx.sum[4], 1u);
}

TEST(Gost, CompressLeavesTheBlockUnchanged) {
    std::mt19937 random(7);
    uint32_t h[8], m[8], before[8];
    for (int k = 0; k < 8; ++k) h[k] = static_cast<uint32_t>(random());
    for (int k = 0; k < 8; ++k) before[k] = m[k] = static_cast<uint32_t>(random());
    GostCompress(h, m);
    EXPECT_EQ(0, std::memcmp(m, before, sizeof m));
}

// psi as the standard defines it, one shift at a time: the slow reference for the engine's
// fixed combination.
void Psi(uint16_t* p) {
    const uint16_t top = static_cast<uint16_t>(p[0] ^ p[1] ^ p[2] ^ p[3] ^ p[12] ^ p[15]);
    std::memmove(p, p + 1, 15 * sizeof *p);
    p[15] = top;
}

void ToPieces(const uint32_t* w, uint16_t* p) {
    for (int i = 0; i < 8; ++i) {
        p[2 * i] = static_cast<uint16_t>(w[i]);
        p[2 * i + 1] = static_cast<uint16_t>(w[i] >> 16);
    }
}

TEST(Gost, FixedMixingEqualsSeventyFourShifts) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 200; ++round) {
        uint32_t h[8], m[8], s[8], fast[8];
        for (int k = 0; k < 8; ++k) {
            h[k] = static_cast<uint32_t>(random());
            m[k] = static_cast<uint32_t>(random());
            s[k] = static_cast<uint32_t>(random());
        }
        GostMix(h, m, s, fast);
        uint16_t hp[16], mp[16], x[16];
        ToPieces(h, hp);
        ToPieces(m, mp);
        ToPieces(s, x);
        for (int n = 0; n < 12; ++n) Psi(x);
        for (int i = 0; i < 16; ++i) x[i] = static_cast<uint16_t>(x[i] ^ mp[i]);
        Psi(x);
        for (int i = 0; i < 16; ++i) x[i] = static_cast<uint16_t>(x[i] ^ hp[i]);
        for (int n = 0; n < 61; ++n) Psi(x);
        uint16_t fp[16];
        ToPieces(fast, fp);
        ASSERT_EQ(0, std::memcmp(fp, x, sizeof x)) << "round " << round;
    }
}

}  // namespace
