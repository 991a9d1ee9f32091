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

#include "core_budget.h"
#include "lane_scheduler.h"

namespace {

// The lane scheduler over the file jobs, when they are at least two with one algorithm that has
// lanes here; false (having run nothing) otherwise.
bool RunInLanes(const OrderedJobs& jobs, unsigned threads) {
    std::vector<std::size_t> index;  // of each file job
    std::vector<std::string> paths;
    std::optional<Algorithm> algorithm;
    for (std::size_t i = 0; i < jobs.count; ++i) {
        std::optional<FileJob> file = jobs.file(i);
        if (!file) continue;
        if (algorithm && *algorithm != file->algorithm) return false;
        algorithm = file->algorithm;
        index.push_back(i);
        paths.push_back(std::move(file->path));
    }
    if (paths.size() < 2 || !LanesAvailable(*algorithm)) return false;

    std::size_t next = 0;  // the next job to emit
    const auto emitUpTo = [&](std::size_t end) {
        for (; next < end; ++next) jobs.emit(next, jobs.work(next));
    };
    CoreBudget one(1);
    HashControl control;
    if (threads <= 1) control.cores = &one;
    ComputeDigestsInLanes(paths, *algorithm, control, [&](std::size_t k, HashOutcome&& outcome) {
        emitUpTo(index[k]);
        jobs.emit(next++, std::move(outcome));
    });
    emitUpTo(jobs.count);
    return true;
}

}  // namespace

void RunInOrder(const OrderedJobs& jobs, unsigned threads) {
    if (jobs.file && RunInLanes(jobs, threads)) return;
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
