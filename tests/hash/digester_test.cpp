// The Digester: every algorithm on every shared vector in one piece and in many; a spent
// digester.
#include "digester.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "vectors.h"

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

// Digests of a chosen length, as b2sum -l writes them; lengths an algorithm does not vary give
// its usual digest.
TEST(Digester, ChosenLengths) {
    const struct {
        Algorithm algorithm;
        std::size_t bytes;
        const char* digest;
    } rows[] = {
        {Algorithm::Blake2b, 32,
         "bddd813c634239723171ef3fee98579b94964e3bb1cb3e427262c8c068d52319"},
        {Algorithm::Blake2b, 1, "6b"},
        {Algorithm::Blake2b, 0, nullptr},
        {Algorithm::Sha256, 20, nullptr},
    };
    for (const auto& r : rows) {
        Digester d(r.algorithm, r.bytes);
        d.Update(Bytes("abc"), 3);
        EXPECT_EQ(d.Final(),
                  r.digest ? r.digest
                           : SharedVector("abc").digest.at(std::string(AlgorithmName(r.algorithm))))
            << AlgorithmName(r.algorithm) << " " << r.bytes;
    }
}

TEST(Digester, SpentAndMovedFromDigestersGiveNothing) {
    for (Algorithm a : kAllAlgorithms) {
        Digester first(a);
        first.Update(Bytes("abc"), 3);
        Digester second = std::move(first);
        EXPECT_EQ(second.GetAlgorithm(), a);
        EXPECT_EQ(second.Final(), SharedVector("abc").digest.at(std::string(AlgorithmName(a))));
        EXPECT_EQ(second.Final(), "") << "spent";
        second.Update(Bytes("abc"), 3);
        EXPECT_EQ(second.Final(), "");
    }
}
