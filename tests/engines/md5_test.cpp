// MD5 (RFC 1321): conformance, the standard's test suite, padding boundaries, length-counter
// carries and the file operation.
#include "md5.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bytes.h"
#include "engine_adapters.h"
#include "engine_conformance.h"
#include "temp_file.h"
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

std::string Md5Of(const std::string& message) {
    return HashOneShot<Md5Engine>(message);
}

// Hashes `tail` from the initial chaining value with hand-built padding whose length field is
// `lengthField`, compressing through Md5Compress alone: an independent check of Md5Final.
std::string HandPadded(const std::string& tail, const std::vector<uint8_t>& lengthField) {
    std::string blocks = tail + '\x80';
    while (blocks.size() % 64 != 56) blocks += '\0';
    blocks.append(lengthField.begin(), lengthField.end());
    uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (std::size_t at = 0; at < blocks.size(); at += 64) {
        uint32_t words[16];
        for (int k = 0; k < 16; ++k) words[k] = LoadLe32(Bytes(blocks) + at + 4 * k);
        Md5Compress(state, words);
    }
    uint8_t digest[16];
    for (int k = 0; k < 4; ++k) StoreLe32(digest + 4 * k, state[k]);
    return ToHex(digest, 16);
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Md5, EngineConformance, Md5Engine);

TEST(Md5, Rfc1321TestSuite) {
    const struct {
        std::string message, digest;
    } rows[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {Repeat("1234567890", 8), "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& row : rows) EXPECT_EQ(Md5Of(row.message), row.digest) << row.message;
}

// What Md5Final leaves behind: the count including padding (not the length field), the message
// tail and padding up to byte 55, and the digest, which is the final chaining value.
TEST(Md5, FinalLeavesPaddedCountTailAndDigest) {
    const struct {
        uint32_t length, padLength;
    } rows[] = {{0, 56},  {55, 1},  {56, 64}, {59, 61}, {60, 60},
                {63, 57}, {64, 56}, {119, 1}, {120, 64}};
    for (const auto& row : rows) {
        SCOPED_TRACE("length " + std::to_string(row.length));
        const std::string message = RampMessage(row.length);
        Md5Context context;
        Md5Init(&context);
        Md5Update(&context, Bytes(message), row.length);
        Md5Final(&context);

        EXPECT_EQ(ToHex(context.digest, 16),
                  SharedVector(row.length == 0 ? "empty" : "ramp-" + std::to_string(row.length))
                      .digest.at("md5"));
        EXPECT_EQ(context.bitCount[0], (row.length + row.padLength) * 8);
        EXPECT_EQ(context.bitCount[1], 0u);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(LoadLe32(context.digest + 4 * k), context.state[k]);

        std::string expectedBuffer;
        const uint32_t pending = row.length % 64;
        if (pending < 56) expectedBuffer = message.substr(row.length - pending) + '\x80';
        expectedBuffer.resize(56, '\0');
        EXPECT_EQ(ToHex(context.buffer, 56), ToHex(expectedBuffer));
    }
}

TEST(Md5, ZeroLengthUpdateChangesNothing) {
    Md5Context context;
    std::memset(&context, 0x33, sizeof context);
    Md5Init(&context);
    const std::string message = RampMessage(70);
    Md5Update(&context, Bytes(message), 70);
    const Md5Context before = context;
    Md5Update(&context, Bytes(message), 0);
    EXPECT_EQ(0, std::memcmp(&before, &context, sizeof context));
}

// The count words start just below a carry; the final block must carry the message length
// before padding, as a 64-bit little-endian number.
TEST(Md5, LengthCounterCarries) {
    const struct {
        uint32_t low, high, tail;
        uint32_t expectLow, expectHigh;
        std::vector<uint8_t> lengthField;
    } rows[] = {
        // 2^32 - 64 bytes so far, then 10 more: no carry yet.
        {0xfffffe00, 7, 10, 0xfffffe50, 7, {0x50, 0xfe, 0xff, 0xff, 0x07, 0, 0, 0}},
        // 60 more: the count does not carry, but the padding would; the field must not.
        {0xfffffe00, 7, 60, 0xffffffe0, 7, {0xe0, 0xff, 0xff, 0xff, 0x07, 0, 0, 0}},
        // 64 more: exactly 2^32 bytes, the low word carries into the high one.
        {0xfffffe00, 7, 64, 0x00000000, 8, {0, 0, 0, 0, 0x08, 0, 0, 0}},
        // 74 more: carry with bytes pending.
        {0xfffffe00, 0, 74, 0x00000050, 1, {0x50, 0, 0, 0, 0x01, 0, 0, 0}},
        // The whole count wraps modulo 2^64.
        {0xfffffe00, 0xffffffff, 74, 0x00000050, 0, {0x50, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("tail " + std::to_string(row.tail) + " high " + std::to_string(row.high));
        const std::string tail = RampMessage(row.tail);
        Md5Context context;
        Md5Init(&context);
        context.bitCount[0] = row.low;
        context.bitCount[1] = row.high;
        Md5Update(&context, Bytes(tail), row.tail);
        EXPECT_EQ(context.bitCount[0], row.expectLow);
        EXPECT_EQ(context.bitCount[1], row.expectHigh);
        Md5Final(&context);
        EXPECT_EQ(ToHex(context.digest, 16), HandPadded(tail, row.lengthField));
    }
}

// Md5File and Md5FileRead over real files.
class Md5FileTest : public ::testing::Test {
protected:
    static bool Record(void* user, uint32_t bytes) {
        static_cast<std::vector<uint32_t>*>(user)->push_back(bytes);
        return true;
    }
    static bool StopAtOnce(void* user, uint32_t bytes) {
        Record(user, bytes);
        return false;
    }
    TempDir dir;
};

TEST_F(Md5FileTest, MissingPathLeavesContextUntouched) {
    Md5Context context, before;
    std::memset(&context, 0x5a, sizeof context);
    before = context;
    EXPECT_EQ(Md5File(dir.PathOf("missing").c_str(), &context), 0);
    EXPECT_EQ(0, std::memcmp(&before, &context, sizeof context));

    std::vector<uint32_t> reads;
    const Md5FileResult result =
        Md5FileRead(dir.PathOf("missing").c_str(), &context, Record, &reads);
    EXPECT_FALSE(result.opened);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.bytesRead, 0u);
    EXPECT_TRUE(reads.empty());
    EXPECT_EQ(0, std::memcmp(&before, &context, sizeof context));
}

TEST_F(Md5FileTest, ReadsInto2048ByteChunks) {
    const struct {
        uint32_t size;
        std::vector<uint32_t> reads;
    } rows[] = {
        {0, {0}},
        {1, {1}},
        {2048, {2048, 0}},
        {5000, {2048, 2048, 904}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("size " + std::to_string(row.size));
        const std::string contents = RampMessage(row.size);
        const std::string path = dir.WriteFile("f" + std::to_string(row.size), contents);

        Md5Context context;
        std::memset(&context, 0xff, sizeof context);
        EXPECT_EQ(Md5File(path.c_str(), &context), static_cast<int32_t>(row.size));
        EXPECT_EQ(ToHex(context.digest, 16), Md5Of(contents));

        std::vector<uint32_t> reads;
        std::memset(&context, 0xff, sizeof context);
        const Md5FileResult result = Md5FileRead(path.c_str(), &context, Record, &reads);
        EXPECT_TRUE(result.opened);
        EXPECT_TRUE(result.complete);
        EXPECT_EQ(result.bytesRead, row.size);
        EXPECT_EQ(reads, row.reads);
        EXPECT_EQ(ToHex(context.digest, 16), Md5Of(contents));
    }
}

TEST_F(Md5FileTest, EmptyFileGivesEmptyMessageDigest) {
    const std::string path = dir.WriteFile("empty", "");
    Md5Context context;
    EXPECT_EQ(Md5File(path.c_str(), &context), 0);
    EXPECT_EQ(ToHex(context.digest, 16), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST_F(Md5FileTest, DirectoryOpensButIsNotComplete) {
    std::filesystem::create_directory(dir.PathOf("sub"));
    Md5Context context;
    const Md5FileResult result = Md5FileRead(dir.PathOf("sub").c_str(), &context, nullptr, nullptr);
    EXPECT_TRUE(result.opened);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.bytesRead, 0u);
}

TEST_F(Md5FileTest, CallbackStopsTheReading) {
    const std::string contents = RampMessage(5000);
    const std::string path = dir.WriteFile("stop", contents);
    Md5Context context;
    std::vector<uint32_t> reads;
    const Md5FileResult result = Md5FileRead(path.c_str(), &context, StopAtOnce, &reads);
    EXPECT_TRUE(result.opened);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.bytesRead, 2048u);
    EXPECT_EQ(reads, std::vector<uint32_t>{2048});
    EXPECT_EQ(ToHex(context.digest, 16), Md5Of(contents.substr(0, 2048)));
}
