// Hashes a stream of files on several threads and hands the outcomes back in the order the
// files came, with only a small window of them in flight: memory stays the same however many
// files a directory tree or a checksum list yields.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "pipeline.h"
#include "progress.h"

// One input to hash, as every command hands it over.
struct FileJob {
    std::string path;                   // "-" is standard input, read on the calling thread
    std::vector<Algorithm> algorithms;  // none: nothing to compute; the outcome comes back empty
};

// Computes one job. HashFileJob is the one place where the commands' files reach the hashing
// core; tests put a stand-in here.
using JobWork = std::function<HashOutcome(const FileJob& job, const HashControl& control)>;
HashOutcome HashFileJob(const FileJob& job, const HashControl& control);

class OrderedJobs {
public:
    // With `threads` <= 1 every job runs on the calling thread, one at a time. With a display,
    // each job's progress goes there.
    explicit OrderedJobs(unsigned threads, ProgressDisplay* progress = nullptr,
                         JobWork work = HashFileJob);
    ~OrderedJobs();
    OrderedJobs(const OrderedJobs&) = delete;
    OrderedJobs& operator=(const OrderedJobs&) = delete;

    // Whether another job may be submitted before the oldest is taken.
    bool HasRoom() const;
    void Submit(FileJob job);
    // The outcome of the oldest job not yet taken, waiting for it (or computing it, for standard
    // input and when there are no workers).
    HashOutcome TakeNext();

private:
    struct Shared;
    void Work();

    JobWork work_;
    std::size_t window_;
    std::unique_ptr<Shared> shared_;
    std::vector<std::thread> workers_;
};

// Pulls items from `next` (std::optional<std::pair<Item, FileJob>>, std::nullopt at the end) on
// the calling thread while the window has room, and calls `emit(Item&, HashOutcome&&)` for each,
// in order, as soon as its outcome is there.
template <typename Next, typename Emit>
void RunInOrder(OrderedJobs& jobs, Next&& next, Emit&& emit) {
    using Item = typename std::invoke_result_t<Next&>::value_type::first_type;
    std::deque<Item> waiting;
    bool more = true;
    for (;;) {
        while (more && jobs.HasRoom()) {
            auto got = next();
            if (!got) {
                more = false;
                break;
            }
            waiting.push_back(std::move(got->first));
            jobs.Submit(std::move(got->second));
        }
        if (waiting.empty()) return;
        HashOutcome outcome = jobs.TakeNext();
        emit(waiting.front(), std::move(outcome));
        waiting.pop_front();
    }
}
