// MD2 (RFC 1319): conformance, padding, clearing after Final and partial digests (the
// standard's test suite is in published_test.cpp).
#include "md2.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine_adapters.h"
#include "engine_conformance.h"
#include "vectors.h"

namespace {

// CMD2 is a class: the conformance suite needs to be told how to fill it with junk.
struct Md2Junk : Md2Engine {
    static void FillJunk(Context& c, uint8_t junk) {
        std::memset(c.state, junk, sizeof c.state);
        std::memset(c.checksum, junk, sizeof c.checksum);
        std::memset(c.buffer, junk, sizeof c.buffer);
        c.pendingBytes = junk % 16;
    }
};

bool IsCleared(const CMD2& m) {
    const uint8_t zero[48] = {};
    return std::memcmp(m.state, zero, 48) == 0 && std::memcmp(m.checksum, zero, 16) == 0 &&
           std::memcmp(m.buffer, zero, 16) == 0 && m.pendingBytes == 0;
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Md2, EngineConformance, Md2Junk);

TEST(Md2, TransformsABlockAsSoonAsItIsFull) {
    const std::string message = RampMessage(16);
    CMD2 md2;
    md2.Update(Bytes(message), 15);
    EXPECT_EQ(md2.pendingBytes, 15u);
    const uint8_t zero[16] = {};
    EXPECT_EQ(0, std::memcmp(md2.state, zero, 16)) << "transformed before the block was full";
    md2.Update(Bytes(message) + 15, 1);
    EXPECT_EQ(md2.pendingBytes, 0u);
    EXPECT_NE(0, std::memcmp(md2.state, zero, 16));
}

TEST(Md2, FinalClearsTheObjectForTheNextMessage) {
    CMD2 md2;
    const std::string first = "message digest", second = "abc";
    md2.Update(Bytes(first), static_cast<uint32_t>(first.size()));
    uint8_t digest[16];
    md2.Final(digest, 16);
    EXPECT_EQ(ToHex(digest, 16), "ab4f496bfb2a530b219ff33031fe06b0");
    EXPECT_TRUE(IsCleared(md2));

    md2.Update(Bytes(second), 3);
    md2.Final(digest, 16);
    EXPECT_EQ(ToHex(digest, 16), "da853b0d3f88d99b30283a69e6ded6bb");
    EXPECT_TRUE(IsCleared(md2));
}

// Only the asked-for digest bytes are written; never more than the 16 digest bytes.
TEST(Md2, FinalWritesOnlyTheRequestedLength) {
    const std::string full = "da853b0d3f88d99b30283a69e6ded6bb";
    for (uint32_t length : {0u, 1u, 8u, 16u, 17u, 40u}) {
        CMD2 md2;
        md2.Update(Bytes(std::string("abc")), 3);
        uint8_t digest[48];
        std::memset(digest, 0xa5, sizeof digest);
        md2.Final(digest, length);
        const uint32_t written = length < 16 ? length : 16;
        EXPECT_EQ(ToHex(digest, written), full.substr(0, 2 * written)) << "length " << length;
        for (uint32_t i = written; i < sizeof digest; ++i)
            ASSERT_EQ(digest[i], 0xa5) << "length " << length << " wrote byte " << i;
        EXPECT_TRUE(IsCleared(md2));
    }
}
