// MD4 (RFC 1320): conformance, the wipe after finishing, when blocks are compressed and
// host-independent byte order.
#include "md4.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine_adapters.h"
#include "engine_conformance.h"
#include "vectors.h"

namespace {

constexpr uint32_t kInitial[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Md4, EngineConformance, Md4Engine);

TEST(Md4, FinalWipesTheContext) {
    for (uint32_t length : {0u, 1u, 55u, 56u, 59u, 60u, 63u, 64u, 129u}) {
        const std::string message = RampMessage(length);
        Md4Context context;
        std::memset(&context, 0xa5, sizeof context);
        Md4Init(&context);
        Md4Update(&context, Bytes(message), length);
        uint8_t digest[16];
        Md4Final(digest, &context);
        const Md4Context zero{};
        EXPECT_EQ(0, std::memcmp(&context, &zero, sizeof context)) << "length " << length;
        EXPECT_EQ(ToHex(digest, 16),
                  SharedVector(length == 0 ? "empty" : "ramp-" + std::to_string(length))
                      .digest.at("md4"));
    }
}

// A block is compressed exactly when it is complete, whether it is assembled in the buffer or
// taken whole from the caller's data.
TEST(Md4, CompressesEachBlockWhenComplete) {
    const std::string message = RampMessage(16000);
    Md4Context context;
    Md4Init(&context);
    Md4Update(&context, Bytes(message), 63);
    EXPECT_EQ(0, std::memcmp(context.state, kInitial, sizeof kInitial)) << "63 bytes compressed";

    uint32_t expected[4] = {kInitial[0], kInitial[1], kInitial[2], kInitial[3]};
    Md4Compress(expected, Bytes(message));
    Md4Update(&context, Bytes(message) + 63, 1);
    EXPECT_EQ(0, std::memcmp(context.state, expected, sizeof expected));
    EXPECT_EQ(context.bitCount[0], 64u * 8);

    // A 16000-byte update into an empty buffer: 250 blocks, nothing left pending.
    Md4Init(&context);
    Md4Update(&context, Bytes(message), 16000);
    std::memcpy(expected, kInitial, sizeof expected);
    for (std::size_t at = 0; at < 16000; at += 64) Md4Compress(expected, Bytes(message) + at);
    EXPECT_EQ(0, std::memcmp(context.state, expected, sizeof expected));
    EXPECT_EQ((context.bitCount[0] / 8) % 64, 0u);
}

TEST(Md4, EncodeAndDecodeAreLittleEndian) {
    const uint8_t bytes[8] = {0x01, 0x02, 0x03, 0x04, 0xfd, 0xfe, 0xff, 0x80};
    const uint32_t words[2] = {0x04030201, 0x80fffefd};
    uint32_t decoded[2] = {};
    Md4Decode(decoded, bytes, 8);
    EXPECT_EQ(decoded[0], words[0]);
    EXPECT_EQ(decoded[1], words[1]);
    uint8_t encoded[8] = {};
    Md4Encode(encoded, words, 8);
    EXPECT_EQ(0, std::memcmp(encoded, bytes, 8));
}
