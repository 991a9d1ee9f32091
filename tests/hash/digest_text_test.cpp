// The shared table loads, and digests become text by the two formatting rules.
#include "digest_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "algorithms.h"
#include "vectors.h"

// The table itself: the shared messages are what the digests say they are.
TEST(SharedVectors, TableLoadsWithEveryColumn) {
    const auto& rows = SharedVectors();
    ASSERT_GE(rows.size(), 40u);
    // Every algorithm of the table has its column, and no row lacks a digest.
    for (const auto& v : rows) {
        for (Algorithm a : kAllAlgorithms)
            EXPECT_TRUE(v.digest.contains(std::string(AlgorithmName(a)))) << v.name;
        for (const auto& [column, digest] : v.digest) EXPECT_FALSE(digest.empty()) << column;
    }
    EXPECT_EQ(SharedVector("digits-9").message, "123456789");
    EXPECT_EQ(SharedVector("ramp-16000").message.size(), 16000u);
}

TEST(DigestText, EachByteIsTwoLowerCaseDigitsHighNibbleFirst) {
    const struct {
        std::vector<uint8_t> bytes;
        const char* text;
    } cases[] = {
        {{}, ""},
        {{0}, "00"},
        {{10}, "0a"},
        {{255}, "ff"},
        {{0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef}, "0123456789abcdef"},
        {{0xf0, 0x0f}, "f00f"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DigestText(c.bytes.data(), c.bytes.size()), c.text);
        std::string out = "kept:";
        AppendDigestText(out, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(out, std::string("kept:") + c.text);
    }
}

TEST(DigestText, CrcIsTheValueInEightDigits) {
    const struct {
        uint32_t crc;
        const char* text;
    } cases[] = {
        {0, "00000000"},          {0xCBF43926, "cbf43926"}, {0x0000ABCD, "0000abcd"},
        {0x0FFFFFFF, "0fffffff"}, {0xFFFFFFFF, "ffffffff"}, {0x12345678, "12345678"},
    };
    for (const auto& c : cases) EXPECT_EQ(CrcDigestText(c.crc), c.text);
}
