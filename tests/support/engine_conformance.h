// One conformance suite for every byte-digest engine: the shared vectors one-shot, byte by byte
// and in 16000-byte chunks, every two-point split of a three-block message, random splits with
// zero-length updates, and a junk-filled context before init.
//
// An engine joins by its adapter of hash/engine_adapters.h (the algorithm's name is its column of
// digests.tsv, or the adapter's kColumn where it names one), with a FillJunk(Context&, uint8_t junk) added where the Context is not trivially
// copyable, in its test file:
//   INSTANTIATE_TYPED_TEST_SUITE_P(Md5, EngineConformance, Md5Engine);
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "algorithms.h"
#include "vectors.h"

template <class E>
std::string Column() {
    if constexpr (requires { E::kColumn; })
        return std::string(E::kColumn);
    else
        return std::string(AlgorithmName(E::kAlgorithm));
}

template <class E>
std::string HashPieces(const std::string& message, const std::vector<std::size_t>& cuts,
                       bool zeroLengthBetween = false, uint8_t junk = 0) {
    typename E::Context context;
    if constexpr (std::is_trivially_copyable_v<typename E::Context>)
        std::memset(static_cast<void*>(&context), junk, sizeof context);
    else if constexpr (requires { E::FillJunk(context, junk); })
        E::FillJunk(context, junk);
    E::Init(context);
    const auto* data = reinterpret_cast<const uint8_t*>(message.data());
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        E::Update(context, data + from, static_cast<uint32_t>(cut - from));
        if (zeroLengthBetween) E::Update(context, data + cut, 0);
        from = cut;
    }
    E::Update(context, data + from, static_cast<uint32_t>(message.size() - from));
    uint8_t digest[E::kDigestSize + 8];
    std::memset(digest, 0xA5, sizeof digest);
    E::Final(context, digest);
    for (std::size_t i = E::kDigestSize; i < sizeof digest; ++i)
        EXPECT_EQ(digest[i], 0xA5) << "wrote past the digest";
    return ToHex(digest, E::kDigestSize);
}

template <class E>
std::string HashOneShot(const std::string& message) {
    return HashPieces<E>(message, {});
}

template <class E>
std::string HashInChunks(const std::string& message, std::size_t chunk) {
    std::vector<std::size_t> cuts;
    for (std::size_t at = chunk; at < message.size(); at += chunk) cuts.push_back(at);
    return HashPieces<E>(message, cuts);
}

template <class E>
class EngineConformance : public ::testing::Test {};
TYPED_TEST_SUITE_P(EngineConformance);

TYPED_TEST_P(EngineConformance, SharedVectorsOneShot) {
    for (const auto& v : SharedVectors())
        EXPECT_EQ(HashOneShot<TypeParam>(v.message), v.digest.at(Column<TypeParam>())) << v.name;
}

TYPED_TEST_P(EngineConformance, SharedVectorsByteByByte) {
    for (const auto& v : SharedVectors()) {
        if (v.message.size() > 100000) continue;  // million-a is covered one-shot and in chunks
        EXPECT_EQ(HashInChunks<TypeParam>(v.message, 1), v.digest.at(Column<TypeParam>()))
            << v.name;
    }
}

TYPED_TEST_P(EngineConformance, SharedVectorsIn16000ByteChunks) {
    for (const auto& v : SharedVectors())
        EXPECT_EQ(HashInChunks<TypeParam>(v.message, 16000), v.digest.at(Column<TypeParam>()))
            << v.name;
}

TYPED_TEST_P(EngineConformance, EveryTwoPointSplitOfThreeBlocks) {
    const std::string message = RampMessage(3 * TypeParam::kBlockSize);
    const std::string expected = HashOneShot<TypeParam>(message);
    for (std::size_t a = 0; a <= message.size(); ++a)
        for (std::size_t b = a; b <= message.size(); ++b)
            ASSERT_EQ(HashPieces<TypeParam>(message, {a, b}, true), expected)
                << "split at " << a << " and " << b;
}

TYPED_TEST_P(EngineConformance, RandomSplitsWithZeroLengthUpdates) {
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int round = 0; round < 50; ++round) {
        std::string message(random() % (20 * TypeParam::kBlockSize), '\0');
        for (auto& c : message) c = static_cast<char>(random());
        const std::string expected = HashOneShot<TypeParam>(message);
        std::vector<std::size_t> cuts;
        for (std::size_t at = 0; at < message.size(); at += random() % (3 * TypeParam::kBlockSize))
            cuts.push_back(at);
        ASSERT_EQ(HashPieces<TypeParam>(message, cuts, true), expected)
            << "length " << message.size();
    }
}

TYPED_TEST_P(EngineConformance, JunkFilledContextBeforeInit) {
    for (const char* name : {"empty", "abc", "ramp-55", "ramp-127", "ramp-4096"}) {
        const auto& v = SharedVector(name);
        for (uint8_t junk : {uint8_t{0x00}, uint8_t{0x5a}, uint8_t{0xff}})
            EXPECT_EQ(HashPieces<TypeParam>(v.message, {}, false, junk),
                      v.digest.at(Column<TypeParam>()))
                << name << " junk " << int{junk};
    }
}

REGISTER_TYPED_TEST_SUITE_P(EngineConformance, SharedVectorsOneShot, SharedVectorsByteByByte,
                            SharedVectorsIn16000ByteChunks, EveryTwoPointSplitOfThreeBlocks,
                            RandomSplitsWithZeroLengthUpdates, JunkFilledContextBeforeInit);
