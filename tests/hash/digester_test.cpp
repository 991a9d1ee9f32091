// The Digester: names, tags, parsing and text lengths; every algorithm on every shared vector in
// one piece and in many; a spent digester.
#include "digester.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "vectors.h"

namespace {

const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

}  // namespace

TEST(Digester, NamesTagsLengthsAndParsing) {
    const struct {
        Algorithm algorithm;
        const char* name;
        const char* tag;
        std::size_t length;
    } rows[] = {
        {Algorithm::Crc32, "crc32", "CRC32", 8},      {Algorithm::Gost, "gost", "GOST", 64},
        {Algorithm::Md2, "md2", "MD2", 32},           {Algorithm::Md4, "md4", "MD4", 32},
        {Algorithm::Md5, "md5", "MD5", 32},           {Algorithm::Sha1, "sha1", "SHA1", 40},
        {Algorithm::Sha256, "sha256", "SHA256", 64},  {Algorithm::Sha384, "sha384", "SHA384", 96},
        {Algorithm::Sha512, "sha512", "SHA512", 128},
    };
    ASSERT_EQ(std::size(rows), kAllAlgorithms.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& r = rows[i];
        EXPECT_EQ(kAllAlgorithms[i], r.algorithm);
        EXPECT_EQ(AlgorithmName(r.algorithm), r.name);
        EXPECT_EQ(AlgorithmTag(r.algorithm), r.tag);
        EXPECT_EQ(DigestTextLength(r.algorithm), r.length);
        EXPECT_EQ(ParseAlgorithm(r.name), r.algorithm);
        EXPECT_EQ(ParseAlgorithm(r.tag), r.algorithm);
    }
    EXPECT_EQ(ParseAlgorithm("SHA-256"), Algorithm::Sha256);
    EXPECT_EQ(ParseAlgorithm("Crc-32"), Algorithm::Crc32);
    EXPECT_EQ(ParseAlgorithm("GOSTHash"), Algorithm::Gost);
    for (const char* bad : {"", "sha", "sha3", "md6", "sha 256", "crc32 ", "-"})
        EXPECT_EQ(ParseAlgorithm(bad), std::nullopt) << "'" << bad << "'";
}

TEST(Digester, EverySharedVectorWholeAndInRandomPieces) {
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (const auto& v : SharedVectors()) {
        for (Algorithm a : kAllAlgorithms) {
            const std::string& expected = v.digest.at(std::string(AlgorithmName(a)));
            Digester whole(a);
            whole.Update(Bytes(v.message), v.message.size());
            EXPECT_EQ(whole.Final(), expected) << v.name << " " << AlgorithmName(a);

            Digester pieces(a);
            for (std::size_t at = 0; at < v.message.size();) {
                const std::size_t n = std::min<std::size_t>(random() % 300, v.message.size() - at);
                pieces.Update(Bytes(v.message) + at, n);  // zero-length pieces included
                at += n;
            }
            pieces.Update(nullptr, 0);
            EXPECT_EQ(pieces.Final(), expected) << v.name << " " << AlgorithmName(a) << " pieces";
        }
    }
}

TEST(Digester, SpentAndMovedFromDigestersGiveNothing) {
    for (Algorithm a : kAllAlgorithms) {
        Digester first(a);
        first.Update(Bytes("abc"), 3);
        Digester second = std::move(first);
        EXPECT_EQ(second.algorithm(), a);
        EXPECT_EQ(second.Final(), SharedVector("abc").digest.at(std::string(AlgorithmName(a))));
        EXPECT_EQ(second.Final(), "") << "spent";
        second.Update(Bytes("abc"), 3);
        EXPECT_EQ(second.Final(), "");
    }
}
