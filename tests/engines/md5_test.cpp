// MD5 (RFC 1321): conformance, padding boundaries and the file operation (the standard's test
// suite is in published_test.cpp, the length counters in md_length_test.cpp).
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

std::string Md5Of(const std::string& message) {
    return HashOneShot<Md5Engine>(message);
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Md5, EngineConformance, Md5Engine);

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
