// The job window hands outcomes back in submission order whatever order they finish in, keeps
// standard input on the calling thread, and never runs far ahead of its consumer; the list
// checker decides each line as both front-ends show it.
#include "many_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "temp_file.h"

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

TEST(ManyFiles, EmitsInOrderWhenLaterJobsFinishFirst) {
    for (unsigned threads : {1u, 2u, 4u}) {
        constexpr std::size_t kCount = 40;
        const std::thread::id caller = std::this_thread::get_id();
        std::mutex mutex;
        std::set<std::thread::id> ran;
        ManyFiles jobs(threads, nullptr, [&](const FileJob& job, const HashControl&) {
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
        HashInOrder(jobs, stream, [&](std::size_t i, HashOutcome&& outcome) {
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

TEST(ManyFiles, QuickJobsStayOnTheCallingThread) {
    const std::thread::id caller = std::this_thread::get_id();
    ManyFiles jobs(4, nullptr, [&](const FileJob& job, const HashControl&) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        return Tagged(job);
    });
    std::size_t emitted = 0;
    Stream stream{500};
    HashInOrder(jobs, stream, [&](std::size_t, HashOutcome&&) { ++emitted; });
    EXPECT_EQ(emitted, 500u);
}

TEST(ManyFiles, PullsOnlyAWindowAhead) {
    for (unsigned threads : {1u, 3u}) {
        ManyFiles jobs(threads, nullptr,
                       [](const FileJob& job, const HashControl&) { return Tagged(job); });
        Stream stream{1000};
        std::size_t emitted = 0, furthest = 0;
        HashInOrder(jobs, stream, [&](std::size_t, HashOutcome&&) {
            furthest = std::max(furthest, stream.pulled - emitted++);
        });
        EXPECT_EQ(emitted, 1000u);
        EXPECT_LE(furthest, threads == 1 ? 1u : 4u * threads) << threads;
    }
}

}  // namespace

// The list checker's verdicts, as both front-ends show them: every state, the algorithm an
// untagged digest matched as (MD4 after MD5, the likeliest, missed), and nothing checked once
// the run is cancelled.
TEST(ListChecker, DecidesEveryLineInListOrder) {
    TempDir dir;
    const std::string a = dir.WriteFile("a", "abc"), b = dir.WriteFile("b", "abc");
    const std::string list = "900150983cd24fb0d6963f7d28e17f72  " + a +  // MD5 of "abc"
                             "\nnot a line\n"
                             "00000000000000000000000000000000  " +
                             b + "\nMD5 (" + dir.PathOf("gone") +
                             ") = 900150983cd24fb0d6963f7d28e17f72" +
                             "\na448017aaf21d8525fc10ae87aa6729d  " + a + "\n";  // MD4 of "abc"
    struct Want {
        EntryState state;
        std::optional<Algorithm> algorithm;
    };
    const std::vector<Want> wanted = {{EntryState::Ok, Algorithm::Md5},
                                      {EntryState::Improper, std::nullopt},
                                      {EntryState::Failed, Algorithm::Md5},
                                      {EntryState::Missing, Algorithm::Md5},
                                      {EntryState::Ok, Algorithm::Md4}};
    for (const bool cancelled : {false, true}) {
        std::atomic<bool> cancel{cancelled};
        ManyFiles jobs(2);
        jobs.SetCancel(&cancel);
        SumLineRules rules;
        rules.refuseAmbiguous = false;
        SumLineParser lines(rules);
        TextSource source(list);
        std::vector<CheckedLine> got;
        EXPECT_EQ(ListChecker(jobs, lines)
                      .Check(source, {}, false, [&](const CheckedLine& l) { got.push_back(l); }),
                  0);
        ASSERT_EQ(got.size(), wanted.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            const bool improper = wanted[i].state == EntryState::Improper;
            EXPECT_EQ(got[i].state,
                      cancelled && !improper ? EntryState::NotChecked : wanted[i].state)
                << i;
            if (!cancelled) {
                EXPECT_EQ(got[i].algorithm, wanted[i].algorithm) << i;
            }
            EXPECT_EQ(got[i].lineNumber, i + 1);
        }
    }
}
