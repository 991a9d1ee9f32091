// The pipelined hashing of corvane-sum against one-thread hashing: the same digests for lengths
// around the buffer size, for every algorithm and for all nine split over several groups; a
// failed read part-way gives no digest; the engines are grouped by cost; the core budget.
#include "chunk_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "core_budget.h"
#include "vectors.h"

namespace {

constexpr std::size_t kSlot = 4096;  // small buffers, so every boundary is cheap to reach

// Hands out a message in reads of at most `piece` bytes; fails with EIO on read `failOn` (from
// 1), after delivering nothing more.
class MessageSource final : public ByteSource {
public:
    MessageSource(std::string message, std::size_t piece, std::size_t failOn = 0)
        : message_(std::move(message)), piece_(piece), failOn_(failOn) {}

    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) override {
        if (++reads_ == failOn_) {
            error = EIO;
            return -1;
        }
        const std::size_t count = std::min({capacity, piece_, message_.size() - at_});
        std::memcpy(buffer, message_.data() + at_, count);
        at_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }
    std::size_t reads() const { return reads_; }

private:
    std::string message_;
    std::size_t piece_, failOn_, reads_ = 0, at_ = 0;
};

std::vector<std::string> OneUpdate(const std::string& message, std::span<const Algorithm> set) {
    DigestSet digests(set);
    digests.Update(reinterpret_cast<const uint8_t*>(message.data()), message.size());
    return digests.Finish();
}

const std::size_t kLengths[] = {0, 1, kSlot - 1, kSlot, kSlot + 1, 5 * kSlot + 77};

TEST(ChunkPipeline, SameDigestsAsOneUpdateForEveryAlgorithmAroundTheBuffer) {
    ChunkRing ring(3, kSlot);
    std::vector<uint8_t> buffer(kSlot);
    for (std::size_t length : kLengths) {
        const std::string message = RampMessage(length);
        for (Algorithm algorithm : kAllAlgorithms) {
            const std::vector<Algorithm> one = {algorithm};
            const auto expected = OneUpdate(message, one);
            // Whole buffers, and short reads that leave the slots part-filled.
            for (std::size_t piece : {kSlot, std::size_t{1000}}) {
                MessageSource piped(message, piece), direct(message, piece);
                const HashOutcome p = HashPipelined(piped, one, 1, ring);
                const HashOutcome d = HashInline(direct, one, buffer);
                ASSERT_TRUE(p.ok() && d.ok());
                EXPECT_EQ(p.digests, expected) << AlgorithmName(algorithm) << " " << length;
                EXPECT_EQ(d.digests, expected) << AlgorithmName(algorithm) << " " << length;
            }
        }
    }
}

TEST(ChunkPipeline, AllNineSplitOverGroupsKeepTheirOrder) {
    ChunkRing ring(4, kSlot);
    // Out of the usual order, so a mix-up of the groups' results shows.
    const std::vector<Algorithm> set = {Algorithm::Sha512, Algorithm::Md2,    Algorithm::Crc32,
                                        Algorithm::Gost,   Algorithm::Md5,    Algorithm::Sha1,
                                        Algorithm::Md4,    Algorithm::Sha384, Algorithm::Sha256};
    for (std::size_t length : kLengths) {
        const std::string message = RampMessage(length);
        const auto expected = OneUpdate(message, set);
        for (std::size_t groups : {1u, 2u, 3u, 9u, 20u}) {
            MessageSource source(message, 3000);
            const HashOutcome outcome = HashPipelined(source, set, groups, ring);
            ASSERT_TRUE(outcome.ok());
            EXPECT_EQ(outcome.digests, expected) << groups << " groups, " << length << " bytes";
        }
    }
}

TEST(ChunkPipeline, AFailedReadPartWayGivesNoDigest) {
    ChunkRing ring(2, kSlot);
    std::vector<uint8_t> buffer(kSlot);
    const std::string message = RampMessage(20 * kSlot);
    const std::vector<Algorithm> set(kAllAlgorithms.begin(), kAllAlgorithms.end());
    for (std::size_t failOn : {1u, 2u, 7u}) {
        for (std::size_t groups : {1u, 2u, 4u}) {
            MessageSource source(message, kSlot, failOn);
            const HashOutcome outcome = HashPipelined(source, set, groups, ring);
            EXPECT_EQ(outcome.error, EIO) << failOn;
            EXPECT_TRUE(outcome.digests.empty()) << failOn;
            EXPECT_EQ(source.reads(), failOn) << "no read after the failure";
        }
        MessageSource source(message, kSlot, failOn);
        const HashOutcome outcome = HashInline(source, set, buffer);
        EXPECT_EQ(outcome.error, EIO);
        EXPECT_TRUE(outcome.digests.empty());
    }
}

TEST(ChunkPipeline, SplitByCostGivesMd2ACoreOfItsOwn) {
    const std::vector<Algorithm> all(kAllAlgorithms.begin(), kAllAlgorithms.end());
    const auto two = SplitByCost(all, 2);
    ASSERT_EQ(two.size(), 2u);
    const std::size_t md2 = 2;  // its index in kAllAlgorithms
    const auto& alone = two[0].size() == 1 ? two[0] : two[1];
    EXPECT_EQ(alone, std::vector<std::size_t>{md2});

    for (std::size_t groups : {0u, 1u, 2u, 3u, 9u, 50u}) {
        const auto split = SplitByCost(all, groups);
        EXPECT_EQ(split.size(), std::clamp<std::size_t>(groups, 1, 9));
        std::vector<std::size_t> seen;
        for (const auto& group : split) {
            EXPECT_FALSE(group.empty());
            EXPECT_TRUE(std::is_sorted(group.begin(), group.end()));
            seen.insert(seen.end(), group.begin(), group.end());
        }
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8})) << groups;
    }
}

TEST(ChunkPipeline, ReaderThreadOnlyWhereHashingOutweighsTheCopy) {
    const std::vector<Algorithm> crc = {Algorithm::Crc32};
    const std::vector<Algorithm> withSha1 = {Algorithm::Crc32, Algorithm::Sha1};
    EXPECT_FALSE(ReaderThreadPays(crc));
    EXPECT_TRUE(ReaderThreadPays(withSha1));
}

TEST(CoreBudget, ExtrasOnlyWhileCoresAreFree) {
    CoreBudget budget(2);
    {
        CoreLease first(budget, 1, 4);
        EXPECT_EQ(first.extra(), 1u);  // two cores: this thread and one more
        CoreLease second(budget, 1, 1);
        EXPECT_EQ(second.extra(), 0u);  // runs anyway, on no extra core
    }
    CoreLease again(budget, 1, 1);
    EXPECT_EQ(again.extra(), 1u) << "released with the leases";
    EXPECT_EQ(CoreBudget(0).Take(1, 3), 0u) << "a budget has at least one core";
}

}  // namespace
