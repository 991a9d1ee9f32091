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
