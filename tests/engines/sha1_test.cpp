#include "sha1.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine_adapters.h"
#include "engine_conformance.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Sha1, EngineConformance, Sha1Engine);

TEST(Sha1, PaddingBoundariesMatchTheRampRows) {
    // 52/53 put the marker at the start and inside group 13; 55 is the last single-block case;
    // 56-59 clear group 15; 60-63 put the marker in group 15.
    for (const char* name : {"ramp-55", "ramp-56", "ramp-57", "ramp-59", "ramp-60", "ramp-63",
                             "ramp-64", "ramp-65", "ramp-128"}) {
        const auto& v = SharedVector(name);
        EXPECT_EQ(HashOneShot<Sha1Engine>(v.message), v.digest.at("sha1")) << name;
    }
    for (std::size_t n : {52u, 53u}) {
        const std::string m = RampMessage(n);
        EXPECT_EQ(HashOneShot<Sha1Engine>(m), HashInChunks<Sha1Engine>(m, 1)) << n;
    }
}

TEST(Sha1, LengthCarriesIntoTheHighCountWord) {
    Sha1Context c;
    Sha1Init(&c);
    c.byteCount[0] = 0xFFFFFFC0u;  // a multiple of 64: nothing pending
    c.byteCount[1] = 0xFFFFFFFFu;
    uint8_t digest[20];
    Sha1Final(digest, &c);
    const uint8_t expected[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x00};
    EXPECT_EQ(0, std::memcmp(c.block + 56, expected, 8));
    EXPECT_EQ(c.block[0], 0x80);

    Sha1Init(&c);
    c.byteCount[0] = 0xFFFFFFFFu;
    const uint8_t one = 'x';
    Sha1Update(&one, 1, &c);
    EXPECT_EQ(c.byteCount[0], 0u);
    EXPECT_EQ(c.byteCount[1], 1u);
}

TEST(Sha1, FinalLeavesByteCountUnchanged) {
    Sha1Context c;
    Sha1Init(&c);
    Sha1Update(reinterpret_cast<const uint8_t*>("abc"), 3, &c);
    uint8_t digest[20];
    Sha1Final(digest, &c);
    EXPECT_EQ(c.byteCount[0], 3u);
    EXPECT_EQ(ToHex(digest, 20), "a9993e364706816aba3e25717850c26c9cd0d89d");
}
