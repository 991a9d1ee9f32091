// MD4 (RFC 1320): conformance, the standard's test suite, the wipe after finishing, when blocks
// are compressed, length-counter carries and host-independent byte order.
#include "md4.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine_adapters.h"
#include "engine_conformance.h"
#include "vectors.h"

namespace {

std::string Repeat(const std::string& s, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += s;
    return out;
}

const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

constexpr uint32_t kInitial[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

// Hashes `tail` from the initial chaining value with hand-built padding whose length field is
// `lengthField`, through Md4Compress alone: an independent check of Md4Final.
std::string HandPadded(const std::string& tail, const std::vector<uint8_t>& lengthField) {
    std::string blocks = tail + '\x80';
    while (blocks.size() % 64 != 56) blocks += '\0';
    blocks.append(lengthField.begin(), lengthField.end());
    uint32_t state[4] = {kInitial[0], kInitial[1], kInitial[2], kInitial[3]};
    for (std::size_t at = 0; at < blocks.size(); at += 64) Md4Compress(state, Bytes(blocks) + at);
    uint8_t digest[16];
    Md4Encode(digest, state, 16);
    return ToHex(digest, 16);
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Md4, EngineConformance, Md4Engine);

TEST(Md4, Rfc1320TestSuite) {
    const struct {
        std::string message, digest;
    } rows[] = {
        {"", "31d6cfe0d16ae931b73c59d7e0c089c0"},
        {"a", "bde52cb31de33e46245e05fbdbd6fb24"},
        {"abc", "a448017aaf21d8525fc10ae87aa6729d"},
        {"message digest", "d9130a8164549fe818874806e1c7014b"},
        {"abcdefghijklmnopqrstuvwxyz", "d79e1c308aa5bbcdeea8ed63df412da9"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "043f8582f241db351ce627e153e7f0e4"},
        {Repeat("1234567890", 8), "e33b4ddc9c38f2199c3e7b164fcc0536"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(HashOneShot<Md4Engine>(row.message), row.digest) << row.message;
}

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

TEST(Md4, LengthCounterCarries) {
    const struct {
        uint32_t low, high, tail;
        uint32_t expectLow, expectHigh;
        std::vector<uint8_t> lengthField;
    } rows[] = {
        {0xfffffe00, 7, 10, 0xfffffe50, 7, {0x50, 0xfe, 0xff, 0xff, 0x07, 0, 0, 0}},
        {0xfffffe00, 7, 60, 0xffffffe0, 7, {0xe0, 0xff, 0xff, 0xff, 0x07, 0, 0, 0}},
        {0xfffffe00, 7, 64, 0x00000000, 8, {0, 0, 0, 0, 0x08, 0, 0, 0}},
        {0xfffffe00, 0, 200, 0x00000440, 1, {0x40, 0x04, 0, 0, 0x01, 0, 0, 0}},
        {0xfffffe00, 0xffffffff, 74, 0x00000050, 0, {0x50, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("tail " + std::to_string(row.tail) + " high " + std::to_string(row.high));
        const std::string tail = RampMessage(row.tail);
        Md4Context context;
        Md4Init(&context);
        context.bitCount[0] = row.low;
        context.bitCount[1] = row.high;
        Md4Update(&context, Bytes(tail), row.tail);
        EXPECT_EQ(context.bitCount[0], row.expectLow);
        EXPECT_EQ(context.bitCount[1], row.expectHigh);
        uint8_t digest[16];
        Md4Final(digest, &context);
        EXPECT_EQ(ToHex(digest, 16), HandPadded(tail, row.lengthField));
    }
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
