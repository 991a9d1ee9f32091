// The job window hands outcomes back in submission order whatever order they finish in, keeps
// standard input on the calling thread, and never runs far ahead of its consumer.
#include "ordered_jobs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <set>
#include <thread>

namespace {

HashOutcome Tagged(const FileJob& job) {
    HashOutcome outcome;
    outcome.digests.push_back(job.path);
    return outcome;
}

// Jobs "0", "1", ... with one algorithm each, and a few with none or on standard input.
struct Stream {
    std::size_t count;
    std::size_t pulled = 0;
    std::optional<std::pair<std::size_t, FileJob>> operator()() {
        if (pulled == count) return std::nullopt;
        const std::size_t i = pulled++;
        FileJob job{std::to_string(i), {Algorithm::Md5}};
        if (i % 7 == 3) job.path = "-";
        if (i % 11 == 5) job.algorithms.clear();
        return std::pair{i, job};
    }
};

TEST(OrderedJobs, EmitsInOrderWhenLaterJobsFinishFirst) {
    for (unsigned threads : {1u, 2u, 4u}) {
        constexpr std::size_t kCount = 40;
        const std::thread::id caller = std::this_thread::get_id();
        std::mutex mutex;
        std::set<std::thread::id> ran;
        OrderedJobs jobs(threads, nullptr, [&](const FileJob& job, const HashControl&) {
            if (job.path == "-") {
                EXPECT_EQ(std::this_thread::get_id(), caller);
            }
            EXPECT_FALSE(job.algorithms.empty());
            {
                std::lock_guard lock(mutex);
                ran.insert(std::this_thread::get_id());
            }
            // Slow enough to be worth handing over; job 20 much slower, so later ones overtake it.
            std::this_thread::sleep_for(std::chrono::microseconds(job.path == "20" ? 50000 : 300));
            return Tagged(job);
        });
        std::size_t next = 0;
        Stream stream{kCount};
        RunInOrder(jobs, stream, [&](std::size_t i, HashOutcome&& outcome) {
            EXPECT_EQ(i, next++) << threads;
            const bool none = i % 11 == 5;
            ASSERT_EQ(outcome.digests.size(), none ? 0u : 1u);
            if (!none) {
                EXPECT_EQ(outcome.digests[0], i % 7 == 3 ? "-" : std::to_string(i));
            }
        });
        EXPECT_EQ(next, kCount) << threads;
        EXPECT_EQ(ran.size() > 1, threads > 1) << threads;
    }
}

TEST(OrderedJobs, QuickJobsStayOnTheCallingThread) {
    const std::thread::id caller = std::this_thread::get_id();
    OrderedJobs jobs(4, nullptr, [&](const FileJob& job, const HashControl&) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        return Tagged(job);
    });
    std::size_t emitted = 0;
    Stream stream{500};
    RunInOrder(jobs, stream, [&](std::size_t, HashOutcome&&) { ++emitted; });
    EXPECT_EQ(emitted, 500u);
}

TEST(OrderedJobs, PullsOnlyAWindowAhead) {
    for (unsigned threads : {1u, 3u}) {
        OrderedJobs jobs(threads, nullptr,
                         [](const FileJob& job, const HashControl&) { return Tagged(job); });
        Stream stream{1000};
        std::size_t emitted = 0, furthest = 0;
        RunInOrder(jobs, stream, [&](std::size_t, HashOutcome&&) {
            furthest = std::max(furthest, stream.pulled - emitted++);
        });
        EXPECT_EQ(emitted, 1000u);
        EXPECT_LE(furthest, threads == 1 ? 1u : 4u * threads) << threads;
    }
}

}  // namespace
