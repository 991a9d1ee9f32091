// The job pool hands outcomes back in job order whatever order they finish in.
#include "ordered_jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

HashOutcome Tagged(std::size_t index) {
    HashOutcome outcome;
    outcome.digests.push_back(std::to_string(index));
    return outcome;
}

TEST(OrderedJobs, EmitsInOrderWhenLaterJobsFinishFirst) {
    for (unsigned threads : {1u, 2u, 4u, 16u}) {
        constexpr std::size_t kCount = 40;
        std::atomic<std::size_t> finished{0};
        std::vector<std::size_t> emitted;
        OrderedJobs jobs;
        jobs.count = kCount;
        jobs.work = [&](std::size_t i) {
            // With more than one thread, job 0 waits until every other job is done.
            if (i == 0 && threads > 1)
                while (finished.load() < kCount - 1) std::this_thread::yield();
            ++finished;
            return Tagged(i);
        };
        jobs.emit = [&](std::size_t i, HashOutcome&& outcome) {
            EXPECT_EQ(outcome.digests.at(0), std::to_string(i));
            emitted.push_back(i);
        };
        RunInOrder(jobs, threads);
        ASSERT_EQ(emitted.size(), kCount) << threads;
        for (std::size_t i = 0; i < kCount; ++i) EXPECT_EQ(emitted[i], i);
    }
}

TEST(OrderedJobs, InlineJobsRunOnTheCallingThreadInOrder) {
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::size_t> inlineRuns;
    OrderedJobs jobs;
    jobs.count = 30;
    jobs.runsInline = [](std::size_t i) { return i % 7 == 3; };
    jobs.work = [&](std::size_t i) {
        if (i % 7 == 3) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            inlineRuns.push_back(i);
        }
        return Tagged(i);
    };
    std::size_t next = 0;
    jobs.emit = [&](std::size_t i, HashOutcome&&) { EXPECT_EQ(i, next++); };
    RunInOrder(jobs, 4);
    EXPECT_EQ(next, 30u);
    EXPECT_EQ(inlineRuns, (std::vector<std::size_t>{3, 10, 17, 24}));
}

}  // namespace
