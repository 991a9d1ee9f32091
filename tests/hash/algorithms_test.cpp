// The vocabulary against literal tables: names, tags, lengths, parsing, the candidates of a
// digest length, and the dialog list with the HashAlgorithm and width of each entry.
#include "algorithms.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Algorithms, NamesTagsLengthsAndParsing) {
    const struct {
        Algorithm algorithm;
        const char* name;
        const char* tag;
        std::size_t length;
        bool integrityOnly;
    } rows[] = {
        {Algorithm::Crc32, "crc32", "CRC32", 8, true},
        {Algorithm::Gost, "gost", "GOST94", 64, false},  // as rhash tags it
        {Algorithm::Md2, "md2", "MD2", 32, true},
        {Algorithm::Md4, "md4", "MD4", 32, true},
        {Algorithm::Md5, "md5", "MD5", 32, true},
        {Algorithm::Sha1, "sha1", "SHA1", 40, true},
        {Algorithm::Sha256, "sha256", "SHA256", 64, false},
        {Algorithm::Sha384, "sha384", "SHA384", 96, false},
        {Algorithm::Sha512, "sha512", "SHA512", 128, false},
    };
    ASSERT_EQ(std::size(rows), kAllAlgorithms.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& r = rows[i];
        EXPECT_EQ(kAllAlgorithms[i], r.algorithm);
        EXPECT_EQ(AlgorithmName(r.algorithm), r.name);
        EXPECT_EQ(AlgorithmTag(r.algorithm), r.tag);
        EXPECT_EQ(DigestTextLength(r.algorithm), r.length);
        EXPECT_EQ(ProvesIntegrityOnly(r.algorithm), r.integrityOnly) << r.name;
        EXPECT_EQ(ParseAlgorithm(r.name), r.algorithm);
        EXPECT_EQ(ParseAlgorithm(r.tag), r.algorithm);
        const auto tag = MatchTag(std::string(r.tag) + " (x) = 0");
        ASSERT_TRUE(tag) << r.tag;
        EXPECT_EQ(tag->algorithm, r.algorithm);
        EXPECT_EQ(tag->length, std::string_view(r.tag).size());
    }
    EXPECT_EQ(ParseAlgorithm("SHA-256"), Algorithm::Sha256);
    EXPECT_EQ(ParseAlgorithm("Crc-32"), Algorithm::Crc32);
    EXPECT_EQ(ParseAlgorithm("GOSTHash"), Algorithm::Gost);
    EXPECT_EQ(ParseAlgorithm("gost94"), Algorithm::Gost);
    for (const char* bad : {"", "sha", "sha3", "md6", "sha 256", "crc32 ", "-"})
        EXPECT_EQ(ParseAlgorithm(bad), std::nullopt) << "'" << bad << "'";
}

TEST(Algorithms, TagsAreReadInTheirOtherSpellingAndNothingElse) {
    const auto gost94 = MatchTag("GOST94 (f) = ");
    ASSERT_TRUE(gost94);
    EXPECT_EQ(gost94->algorithm, Algorithm::Gost);
    EXPECT_EQ(gost94->length, 6u);
    for (const char* other : {"", "sha256 (f)", "SHA-256 (f)", "BLAKE2b (f)", " MD5 (f)"})
        EXPECT_FALSE(MatchTag(other)) << other;
}

TEST(Algorithms, CandidatesOfADigestLengthMostCommonFirst) {
    const struct {
        std::size_t length;
        std::vector<Algorithm> candidates;
    } rows[] = {
        {8, {Algorithm::Crc32}},
        {32, {Algorithm::Md5, Algorithm::Md4, Algorithm::Md2}},
        {40, {Algorithm::Sha1}},
        {64, {Algorithm::Sha256, Algorithm::Gost}},
        {96, {Algorithm::Sha384}},
        {128, {Algorithm::Sha512}},
        {0, {}},
        {16, {}},
        {63, {}},
    };
    for (const auto& r : rows) {
        const auto found = AlgorithmsOfTextLength(r.length);
        EXPECT_EQ(std::vector<Algorithm>(found.begin(), found.end()), r.candidates) << r.length;
    }
}

TEST(Algorithms, DialogListEntriesAndWhatEachSelects) {
    const struct {
        const char* text;
        Algorithm algorithm;
        int32_t hashAlgorithm, width;
    } rows[] = {
        {"CRC32", Algorithm::Crc32, 1, 0},
        {"GOSTHash", Algorithm::Gost, 2, 0},
        {"MD2", Algorithm::Md2, 3, 0},
        {"MD4", Algorithm::Md4, 4, 0},
        {"MD5", Algorithm::Md5, 5, 0},
        {"SHA-1", Algorithm::Sha1, 6, 0},
        {"SHA-2 256", Algorithm::Sha256, 7, 256},
        {"SHA-2 384", Algorithm::Sha384, 7, 384},
        {"SHA-2 512", Algorithm::Sha512, 7, 512},
    };
    ASSERT_EQ(std::size(rows), kFirstListGroup);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& r = rows[i];
        const auto& entry = kAlgorithmList[i];
        EXPECT_EQ(entry.text, r.text);
        EXPECT_EQ(entry.algorithm, r.algorithm) << r.text;
        EXPECT_EQ(entry.hashAlgorithm, r.hashAlgorithm) << r.text;
        EXPECT_EQ(entry.sha2Width, r.width) << r.text;
        // A width left over from SHA-2 plays no part in the other algorithms.
        EXPECT_EQ(AlgorithmOfRequest(r.hashAlgorithm, r.width == 0 ? 384 : r.width), r.algorithm);
    }
    for (int32_t outside : {0, 8, -1, kAlgorithmExtendedBase - 1})
        EXPECT_EQ(AlgorithmOfRequest(outside, 256), std::nullopt) << outside;
}

TEST(Algorithms, SumFileNamesImplyTheirAlgorithm) {
    const struct {
        const char* name;
        std::optional<Algorithm> algorithm;
        bool foreign;
    } rows[] = {
        {"SHA256SUMS", Algorithm::Sha256, false},
        {"x.iso.sha512sum", Algorithm::Sha512, false},
        {"CHECKSUM.SHA384", Algorithm::Sha384, false},
        {"MD5SUMS", Algorithm::Md5, false},
        {"x.md4", Algorithm::Md4, false},
        {"release.sfv", Algorithm::Crc32, false},
        {"x.crc32", Algorithm::Crc32, false},
        {"x.sha1", Algorithm::Sha1, false},
        {"GOSTSUMS", Algorithm::Gost, false},
        {"CHECKSUMS", std::nullopt, false},
        {"b2sums.txt", std::nullopt, true},
        {"SHA3-256SUMS", std::nullopt, true},
        {"x.xxh128", std::nullopt, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(AlgorithmOfSumFileName(r.name), r.algorithm) << r.name;
        EXPECT_EQ(NamesForeignAlgorithm(r.name), r.foreign) << r.name;
    }
}

}  // namespace
