// Runs hash jobs on several threads and hands their outcomes back in job order.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "pipeline.h"

// A job that hashes one file by path with one algorithm.
struct FileJob {
    std::string path;
    Algorithm algorithm;
};

struct OrderedJobs {
    std::size_t count = 0;
    // Jobs that must run one after another in order on the calling thread (those reading
    // standard input); may be empty.
    std::function<bool(std::size_t index)> runsInline;
    // Computes job `index`.
    std::function<HashOutcome(std::size_t index)> work;
    // Called on the calling thread for jobs 0, 1, 2..., each as soon as it and all before it
    // are done.
    std::function<void(std::size_t index, HashOutcome&& outcome)> emit;
    // What job `index` hashes, when it is one file with one algorithm; may be empty. When two or
    // more jobs are, all with one algorithm that this CPU runs in lanes, those jobs go to the lane
    // scheduler instead of `work`, and the others run in order on the calling thread between them.
    std::function<std::optional<FileJob>(std::size_t index)> file;
};

// With `threads` <= 1 (or a single job) everything runs on the calling thread (lanes on one core).
void RunInOrder(const OrderedJobs& jobs, unsigned threads);
