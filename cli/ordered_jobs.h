// Runs hash jobs on several threads and hands their outcomes back in job order.
#pragma once

#include <cstddef>
#include <functional>

#include "pipeline.h"

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
};

// With `threads` <= 1 (or a single job) everything runs on the calling thread.
void RunInOrder(const OrderedJobs& jobs, unsigned threads);
