// A small pool for hashing many files at once. Workers take jobs in index order; the calling
// thread waits for the next outcome due, so output never depends on which file finished first.
#include "ordered_jobs.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

void RunInOrder(const OrderedJobs& jobs, unsigned threads) {
    const auto isInline = [&](std::size_t i) { return jobs.runsInline && jobs.runsInline(i); };
    if (threads <= 1 || jobs.count <= 1) {
        for (std::size_t i = 0; i < jobs.count; ++i) jobs.emit(i, jobs.work(i));
        return;
    }

    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable done;
    std::vector<std::optional<HashOutcome>> outcomes(jobs.count);

    const std::size_t workerCount = std::min<std::size_t>(threads, jobs.count);
    std::vector<std::jthread> workers;
    workers.reserve(workerCount);
    for (std::size_t w = 0; w < workerCount; ++w) {
        workers.emplace_back([&] {
            for (std::size_t i; (i = next.fetch_add(1)) < jobs.count;) {
                if (isInline(i)) continue;
                HashOutcome outcome = jobs.work(i);
                {
                    std::lock_guard lock(mutex);
                    outcomes[i] = std::move(outcome);
                }
                done.notify_all();
            }
        });
    }

    for (std::size_t i = 0; i < jobs.count; ++i) {
        HashOutcome outcome;
        if (isInline(i)) {
            outcome = jobs.work(i);
        } else {
            std::unique_lock lock(mutex);
            done.wait(lock, [&] { return outcomes[i].has_value(); });
            outcome = std::move(*outcomes[i]);
            outcomes[i].reset();
        }
        jobs.emit(i, std::move(outcome));
    }
}
