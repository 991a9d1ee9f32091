// The lane scheduler against the pipeline, file by file: sizes around the block and the lanes'
// read size, empty files, a missing path and a directory (refused as no regular file), at every
// dispatch level and with one or two lane groups, with the progress of the whole run; sources that
// read in short pieces, fail part-way or cannot be opened; a cancelled run; outcomes always handed
// on once each, in path order.
#include "lane_scheduler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core_budget.h"
#include "digester.h"
#include "lane_engine.h"
#include "lane_group.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

constexpr Algorithm kLaneAlgorithms[] = {Algorithm::Md2,   Algorithm::Md4,    Algorithm::Md5,
                                         Algorithm::Sha1,  Algorithm::Sha256, Algorithm::Sha384,
                                         Algorithm::Sha512};

std::vector<HashOutcome> InLanes(const std::vector<std::string>& paths, Algorithm algorithm,
                                 const HashControl& control) {
    std::vector<HashOutcome> outcomes;
    ComputeDigestsInLanes(paths, algorithm, control, [&](std::size_t index, HashOutcome&& o) {
        EXPECT_EQ(index, outcomes.size()) << "out of order";
        outcomes.push_back(std::move(o));
    });
    EXPECT_EQ(outcomes.size(), paths.size());
    return outcomes;
}

void ExpectSame(const HashOutcome& got, const HashOutcome& expected, const std::string& what) {
    EXPECT_EQ(got.status, expected.status) << what;
    EXPECT_EQ(got.error, expected.error) << what;
    EXPECT_EQ(got.digests, expected.digests) << what;
    if (expected.ok()) {
        EXPECT_EQ(got.bytesHashed, expected.bytesHashed) << what;
    }
}

TEST(LaneScheduler, SameOutcomesAsThePipelineAtEveryLevel) {
    TempDir dir;
    std::vector<std::string> paths;
    constexpr std::size_t kRead = LaneGroup::kLaneRead;
    constexpr std::size_t kWideRead = LaneGroup::LaneRead(128);  // MD2's lanes
    const std::size_t sizes[] = {0,
                                 1,
                                 16,
                                 17,
                                 55,
                                 63,
                                 64,
                                 65,
                                 111,
                                 112,
                                 127,
                                 128,
                                 129,
                                 1000,
                                 kRead - 1,
                                 kRead,
                                 kRead + 1,
                                 kRead + 64,
                                 3 * kRead + 77,
                                 kWideRead - 1,
                                 kWideRead + 1,
                                 2 * kWideRead,
                                 200000};
    std::mt19937 random(18);
    for (std::size_t i = 0; i < 40; ++i) {
        const std::size_t size = i < std::size(sizes) ? sizes[i] : random() % 100000;
        paths.push_back(dir.WriteFile("f" + std::to_string(i), RampMessage(size)));
    }
    uint64_t totalBytes = 0;
    for (const auto& path : paths) totalBytes += std::filesystem::file_size(path);
    paths.insert(paths.begin() + 5, dir.PathOf("missing"));
    paths.insert(paths.begin() + 9, dir.path());  // no regular file: lanes never wait on one
    for (CpuLevel level : kCpuLevels) {
        if (level > SupportedCpuLevel()) continue;
        ForceCpuLevel(level);
        for (Algorithm algorithm : kLaneAlgorithms) {
            std::vector<HashOutcome> expected;
            for (const auto& path : paths)
                expected.push_back(
                    ComputeDigests(HashInput::Path(path, FileKinds::RegularOnly), {&algorithm, 1}));
            for (unsigned cores : {1u, 2u}) {
                CoreBudget budget(cores);
                HashControl control;
                control.cores = &budget;
                // Progress is of all the files together, never backwards, and ends complete.
                uint64_t lastDone = 0, lastTotal = 0;
                control.progress = [&](uint64_t done, uint64_t total) {
                    EXPECT_GE(done, lastDone);
                    lastDone = done;
                    lastTotal = total;
                };
                const auto got = InLanes(paths, algorithm, control);
                EXPECT_EQ(lastDone, totalBytes);
                EXPECT_EQ(lastTotal, totalBytes);
                for (std::size_t i = 0; i < got.size(); ++i)
                    ExpectSame(got[i], expected[i],
                               std::string(AlgorithmName(algorithm)) + " " + ActiveCpuPaths() +
                                   " cores " + std::to_string(cores) + " file " + paths[i]);
            }
        }
    }
    ResetCpuLevel();
}

// Many files of about one size: where the CPU's wider lanes pay, the run takes them (no file is
// long next to the whole), and the outcomes are still the pipeline's.
TEST(LaneScheduler, ManyEvenFilesInTheWiderLanes) {
    LaneChoice wide;
    wide.wideUsed = true;
    wide.wideLanes = 32;
    EXPECT_TRUE(WideLanesPay(wide, 100, 6400, 2));
    EXPECT_FALSE(WideLanesPay(wide, 101, 6400, 2));
    EXPECT_FALSE(WideLanesPay(wide, 201, 6400, 1));
    wide.wideUsed = false;
    EXPECT_FALSE(WideLanesPay(wide, 1, 6400, 2));
    TempDir dir;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < 80; ++i)
        paths.push_back(dir.WriteFile("f" + std::to_string(i), RampMessage(4000 + 13 * i)));
    for (Algorithm algorithm :
         {Algorithm::Md4, Algorithm::Md5, Algorithm::Sha1, Algorithm::Sha256}) {
        CoreBudget budget(2);
        HashControl control;
        control.cores = &budget;
        const auto got = InLanes(paths, algorithm, control);
        for (std::size_t i = 0; i < got.size(); ++i)
            ExpectSame(
                got[i],
                ComputeDigests(HashInput::Path(paths[i], FileKinds::RegularOnly), {&algorithm, 1}),
                std::string(AlgorithmName(algorithm)) + " " + LaneChoicesText());
    }
}

// A message in reads of 1 to 300 bytes, failing with EIO on read `failOn` (from 1) if set;
// `open` counts the sources alive.
class ShortReads final : public ByteSource {
public:
    ShortReads(std::string text, uint32_t seed, std::size_t failingRead, std::atomic<int>& open)
        : message(std::move(text)), random(seed), failOn(failingRead), alive(open) {
        ++alive;
    }
    ~ShortReads() override { --alive; }
    ShortReads(const ShortReads&) = delete;
    ShortReads& operator=(const ShortReads&) = delete;
    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) override {
        if (++reads == failOn) {
            error = EIO;
            return -1;
        }
        const std::size_t count = std::min({capacity, 1 + random() % 300, message.size() - at});
        std::memcpy(buffer, message.data() + at, count);
        at += count;
        return static_cast<std::ptrdiff_t>(count);
    }

private:
    std::string message;
    std::mt19937 random;
    std::size_t failOn, reads = 0, at = 0;
    std::atomic<int>& alive;
};

TEST(LaneScheduler, ShortReadsFailuresAndRefusedOpens) {
    // Path "N": N bytes in short reads; "fail N": the same, failing on its fifth read; "absent"
    // and "denied": refused opens. Beyond five open at once, opens fail as when the process is out
    // of descriptors: no file may fail for that, whatever the lane count and groups.
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < 60; ++i) {
        const std::string size = std::to_string(i * 397 % 5000);
        paths.push_back(i % 7 == 3 ? "fail " + size
                        : i == 11  ? "absent"
                        : i == 12  ? "denied"
                                   : size);
    }
    std::atomic<int> open{0};
    CoreBudget two(2);
    HashControl control;
    control.cores = &two;
    control.opener = [&open](const std::string& path, int& error) -> std::unique_ptr<ByteSource> {
        if (path == "absent" || path == "denied" || open >= 5) {
            error = path == "absent" ? ENOENT : path == "denied" ? EACCES : EMFILE;
            return nullptr;
        }
        const bool fails = path.starts_with("fail ");
        const std::size_t size = std::stoul(fails ? path.substr(5) : path);
        return std::make_unique<ShortReads>(RampMessage(size), static_cast<uint32_t>(size),
                                            fails ? 5 : 0, open);
    };
    for (Algorithm algorithm : kLaneAlgorithms) {
        const auto got = InLanes(paths, algorithm, control);
        for (std::size_t i = 0; i < got.size(); ++i) {
            const std::string& path = paths[i];
            SCOPED_TRACE(std::string(AlgorithmName(algorithm)) + " " + path);
            if (path == "absent" || path == "denied") {
                EXPECT_EQ(got[i].status,
                          path == "absent" ? HashStatus::NotFound : HashStatus::OpenFailed);
                EXPECT_EQ(got[i].error, path == "absent" ? ENOENT : EACCES);
            } else if (path.starts_with("fail ") && std::stoul(path.substr(5)) >= 4 * 300) {
                EXPECT_EQ(got[i].status, HashStatus::ReadFailed);
                EXPECT_EQ(got[i].error, EIO);
                EXPECT_TRUE(got[i].digests.empty());
            } else if (!path.starts_with("fail ")) {
                ASSERT_EQ(got[i].status, HashStatus::Complete);
                Digester one(algorithm);
                const std::string message = RampMessage(std::stoul(path));
                one.Update(reinterpret_cast<const uint8_t*>(message.data()), message.size());
                EXPECT_EQ(got[i].digests, std::vector<std::string>{one.Final()});
            }
        }
    }
}

TEST(LaneScheduler, CancelledRunHandsOnEveryOutcomeAsCancelled) {
    TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i) paths.push_back(dir.WriteFile(std::to_string(i), "x"));
    std::atomic<bool> cancel{true};
    HashControl control;
    control.cancel = &cancel;
    for (const auto& outcome : InLanes(paths, Algorithm::Md5, control))
        EXPECT_EQ(outcome.status, HashStatus::Cancelled);
    EXPECT_TRUE(InLanes({}, Algorithm::Md5, control).empty());
}

}  // namespace
