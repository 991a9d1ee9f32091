// The vocabulary against literal tables: names, tags, lengths, parsing, the candidates of a
// digest length, and the dialog list with the HashAlgorithm and width of each entry.
#include "algorithms.h"

#include <gtest/gtest.h>

#include <utility>
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
        {Algorithm::Blake2b, "blake2b", "BLAKE2b", 128, false},
        {Algorithm::Blake2s, "blake2s", "BLAKE2s", 64, false},
        {Algorithm::Crc32c, "crc32c", "CRC32C", 8, true},
        {Algorithm::Blake3, "blake3", "BLAKE3", 64, false},
        {Algorithm::Xxh32, "xxh32", "XXH32", 8, true},
        {Algorithm::Xxh64, "xxh64", "XXH64", 16, true},
        {Algorithm::Xxh3, "xxh3", "XXH3", 16, true},
        {Algorithm::Xxh128, "xxh128", "XXH128", 32, true},
        {Algorithm::Sha224, "sha224", "SHA224", 56, false},
        {Algorithm::Sha512_224, "sha512-224", "SHA512-224", 56, false},
        {Algorithm::Sha512_256, "sha512-256", "SHA512-256", 64, false},
        {Algorithm::Sha3_224, "sha3-224", "SHA3-224", 56, false},
        {Algorithm::Sha3_256, "sha3-256", "SHA3-256", 64, false},
        {Algorithm::Sha3_384, "sha3-384", "SHA3-384", 96, false},
        {Algorithm::Sha3_512, "sha3-512", "SHA3-512", 128, false},
        {Algorithm::Sm3, "sm3", "SM3", 64, false},
        {Algorithm::Streebog256, "streebog256", "GOST12-256", 64, false},
        {Algorithm::Streebog512, "streebog512", "GOST12-512", 128, false},
        {Algorithm::Gost94CryptoPro, "gost94-cryptopro", "GOST94-CRYPTOPRO", 64, false},
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
    EXPECT_EQ(ParseAlgorithm("gost12-256"), Algorithm::Streebog256);
    EXPECT_EQ(ParseAlgorithm("GOST12-512"), Algorithm::Streebog512);
    for (const char* bad : {"", "sha", "sha3", "md6", "sha 256", "crc32 ", "-"})
        EXPECT_EQ(ParseAlgorithm(bad), std::nullopt) << "'" << bad << "'";
}

TEST(Algorithms, TagsAreReadInTheirOtherSpellingAndNothingElse) {
    // RHash's and OpenSSL's spellings; the longest tag that fits wins.
    const struct {
        const char* line;
        Algorithm algorithm;
        std::size_t length;
    } rows[] = {
        {"GOST94 (f) = ", Algorithm::Gost, 6},
        {"SHA2-224(f)= ", Algorithm::Sha224, 8},
        {"SHA-224 (f) = ", Algorithm::Sha224, 7},
        {"SHA2-512/224(f)= ", Algorithm::Sha512_224, 12},
        {"SHA2-512/256(f)= ", Algorithm::Sha512_256, 12},
        {"SHA512-256 (f) = ", Algorithm::Sha512_256, 10},
        {"SHA512 (f) = ", Algorithm::Sha512, 6},
        {"SHA3-384(f)= ", Algorithm::Sha3_384, 8},
        {"SM3(f)= ", Algorithm::Sm3, 3},
        {"BLAKE2B-512(f)= ", Algorithm::Blake2b, 11},
        {"BLAKE2S-256(f)= ", Algorithm::Blake2s, 11},
        {"BLAKE2B (f) = ", Algorithm::Blake2b, 7},
        {"BLAKE2S (f) = ", Algorithm::Blake2s, 7},
        {"CRC32C (f) = ", Algorithm::Crc32c, 6},
    };
    for (const auto& r : rows) {
        const auto tag = MatchTag(r.line);
        ASSERT_TRUE(tag) << r.line;
        EXPECT_EQ(tag->algorithm, r.algorithm) << r.line;
        EXPECT_EQ(tag->length, r.length) << r.line;
    }
    for (const char* other : {"", "sha256 (f)", "SHA-256 (f)", "WHIRLPOOL (f)", " MD5 (f)"})
        EXPECT_FALSE(MatchTag(other)) << other;
}

TEST(Algorithms, CandidatesOfADigestLengthMostCommonFirst) {
    const struct {
        std::size_t length;
        std::vector<Algorithm> candidates;
    } rows[] = {
        {8, {Algorithm::Crc32, Algorithm::Crc32c, Algorithm::Xxh32}},
        {16, {Algorithm::Xxh64, Algorithm::Xxh3}},
        {32, {Algorithm::Md5, Algorithm::Xxh128, Algorithm::Md4, Algorithm::Md2}},
        {40, {Algorithm::Sha1}},
        {56, {Algorithm::Sha224, Algorithm::Sha3_224, Algorithm::Sha512_224}},
        {64,
         {Algorithm::Sha256, Algorithm::Blake3, Algorithm::Streebog256, Algorithm::Gost,
          Algorithm::Blake2s, Algorithm::Sha3_256, Algorithm::Gost94CryptoPro,
          Algorithm::Sha512_256, Algorithm::Sm3}},
        {96, {Algorithm::Sha384, Algorithm::Sha3_384}},
        {128, {Algorithm::Sha512, Algorithm::Blake2b, Algorithm::Streebog512, Algorithm::Sha3_512}},
        {0, {}},
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
    // The second group: the names users know, each selecting itself.
    const std::pair<const char*, Algorithm> more[] = {
        {"SHA-224", Algorithm::Sha224},         {"SHA-512/224", Algorithm::Sha512_224},
        {"SHA-512/256", Algorithm::Sha512_256}, {"SHA3-224", Algorithm::Sha3_224},
        {"SHA3-256", Algorithm::Sha3_256},      {"SHA3-384", Algorithm::Sha3_384},
        {"SHA3-512", Algorithm::Sha3_512},      {"SM3", Algorithm::Sm3},
    };
    for (const auto& [text, algorithm] : more) {
        const auto& entry = kAlgorithmList[static_cast<std::size_t>(algorithm)];
        EXPECT_EQ(entry.text, text);
        EXPECT_EQ(AlgorithmOfRequest(entry.hashAlgorithm, 256), algorithm) << text;
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
        {"WHIRLPOOLSUMS", std::nullopt, true},
        {"x.ripemd160", std::nullopt, true},
        {"x.iso.sha512sum", Algorithm::Sha512, false},
        {"CHECKSUM.SHA384", Algorithm::Sha384, false},
        {"MD5SUMS", Algorithm::Md5, false},
        {"x.md4", Algorithm::Md4, false},
        {"release.sfv", Algorithm::Crc32, false},
        {"x.crc32", Algorithm::Crc32, false},
        {"x.sha1", Algorithm::Sha1, false},
        {"GOSTSUMS", Algorithm::Gost, false},
        {"B3SUMS", Algorithm::Blake3, false},
        {"x.iso.b3", Algorithm::Blake3, false},
        {"x.streebog256", Algorithm::Streebog256, false},
        {"GOST12-512SUMS", Algorithm::Streebog512, false},
        {"x.gost94-cryptopro", Algorithm::Gost94CryptoPro, false},
        {"CHECKSUMS", std::nullopt, false},
        {"b2sums.txt", Algorithm::Blake2b, false},
        {"B2SUMS", Algorithm::Blake2b, false},
        {"x.iso.b2", Algorithm::Blake2b, false},
        {"x.crc32c", Algorithm::Crc32c, false},
        {"BLAKE3SUMS", Algorithm::Blake3, false},
        {"x.xxh128", Algorithm::Xxh128, false},
        {"SUMS.xxh32", Algorithm::Xxh32, false},
        {"x.xxh3", Algorithm::Xxh3, false},
        {"SHA3-256SUMS", Algorithm::Sha3_256, false},
        {"x.iso.sha3", Algorithm::Sha3_256, false},
        {"SHA3-512SUMS", Algorithm::Sha3_512, false},
        {"x.sha384", Algorithm::Sha384, false},
        {"SHA224SUMS", Algorithm::Sha224, false},
        {"SHA512-256SUMS", Algorithm::Sha512_256, false},
        {"x.sm3", Algorithm::Sm3, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(AlgorithmOfSumFileName(r.name), r.algorithm) << r.name;
        EXPECT_EQ(NamesForeignAlgorithm(r.name), r.foreign) << r.name;
    }
}

}  // namespace
