#include "sha512.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine_adapters.h"
#include "engine_conformance.h"
#include "sha2.h"

using Front256 = Sha2Engine<256>;
using Front384 = Sha2Engine<384>;
using Front512 = Sha2Engine<512>;
INSTANTIATE_TYPED_TEST_SUITE_P(Sha2Front256, EngineConformance, Front256);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha2Front384, EngineConformance, Front384);
INSTANTIATE_TYPED_TEST_SUITE_P(Sha2Front512, EngineConformance, Front512);

TEST(Sha512, FipsTwoBlockExamples) {
    const std::string m =
        "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqr"
        "lmnopqrsmnopqrstnopqrstu";
    EXPECT_EQ(HashOneShot<Front384>(m),
              "09330c33f71147e83d192fc782cd1b4753111b173b3b05d22fa08086e3b0f712fcc7c71a557e2db966c3"
              "e9fa91746039");
    EXPECT_EQ(HashOneShot<Front512>(m),
              "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018501d289e4900f7e4331b"
              "99dec4b5433ac7d329eeb6dd26545e96e55b874be909");
    for (const char* name :
         {"ramp-111", "ramp-112", "ramp-119", "ramp-120", "ramp-127", "ramp-128", "ramp-129"}) {
        const auto& v = SharedVector(name);
        EXPECT_EQ(HashOneShot<Front384>(v.message), v.digest.at("sha384")) << name;
        EXPECT_EQ(HashOneShot<Front512>(v.message), v.digest.at("sha512")) << name;
    }
}

TEST(Sha512, CountCarriesIntoTheHighWord) {
    Sha2Context c;
    ASSERT_EQ(Sha2Init(512, &c), 0);
    c.engine.sha512.byteCount[0] = 0xFFFFFFFFFFFFFF80ull;
    const std::string block = RampMessage(128);
    Sha2Update(reinterpret_cast<const uint8_t*>(block.data()), 128, &c);
    EXPECT_EQ(c.engine.sha512.byteCount[0], 0u);
    EXPECT_EQ(c.engine.sha512.byteCount[1], 1u);
    uint8_t digest[64];
    Sha2Final(digest, &c);
    // The length block then holds the 128-bit count times eight: 2^64 bytes = 2^67 bits.
    EXPECT_EQ(c.engine.sha512.byteCount[1], 1u);
}

TEST(Sha2Front, WidthsInBytesEqualWidthsInBits) {
    const std::string m = RampMessage(300);
    for (auto [bits, bytes] : {std::pair{256u, 32u}, {384u, 48u}, {512u, 64u}}) {
        uint8_t a[64], b[64];
        Sha2Context ca, cb;
        ASSERT_EQ(Sha2Init(bits, &ca), 0);
        ASSERT_EQ(Sha2Init(bytes, &cb), 0);
        EXPECT_EQ(ca.digestLength, bytes);
        Sha2Update(reinterpret_cast<const uint8_t*>(m.data()), 300, &ca);
        Sha2Update(reinterpret_cast<const uint8_t*>(m.data()), 300, &cb);
        Sha2Final(a, &ca);
        Sha2Final(b, &cb);
        EXPECT_EQ(0, std::memcmp(a, b, bytes)) << bits;
    }
}

TEST(Sha2Front, UnsupportedWidthsFailAndWriteNothing) {
    for (uint32_t width : {0u, 1u, 160u, 224u, 1024u, 0xFFFFFFFFu}) {
        Sha2Context c;
        std::memset(&c, 0x5A, sizeof c);
        Sha2Context before;
        std::memcpy(&before, &c, sizeof c);
        EXPECT_EQ(Sha2Init(width, &c), 1) << width;
        EXPECT_EQ(0, std::memcmp(&c, &before, sizeof c)) << width;
    }
}

TEST(Sha2Front, OtherDigestLengthsDoNothing) {
    Sha2Context c;
    ASSERT_EQ(Sha2Init(256, &c), 0);
    c.digestLength = 20;
    Sha2Context before;
    std::memcpy(&before, &c, sizeof c);
    Sha2Update(reinterpret_cast<const uint8_t*>("abc"), 3, &c);
    EXPECT_EQ(0, std::memcmp(&c, &before, sizeof c));
    uint8_t digest[64];
    std::memset(digest, 0xEE, sizeof digest);
    Sha2Final(digest, &c);
    for (uint8_t byte : digest) EXPECT_EQ(byte, 0xEE);
}

TEST(Sha2Front, Sha384WritesExactly48Bytes) {
    uint8_t digest[64];
    std::memset(digest, 0xEE, sizeof digest);
    Sha2Context c;
    ASSERT_EQ(Sha2Init(384, &c), 0);
    Sha2Final(digest, &c);
    EXPECT_EQ(ToHex(digest, 48), SharedVector("empty").digest.at("sha384"));
    for (int i = 48; i < 64; ++i) EXPECT_EQ(digest[i], 0xEE);
}
