// The process-wide core budget.
#include "core_budget.h"

#include <thread>

unsigned CoreBudget::Take(unsigned required, unsigned wanted) {
    unsigned busy = busy_.load(std::memory_order_relaxed);
    for (;;) {
        const unsigned after = busy + required;
        const unsigned free = after < cores_ ? cores_ - after : 0;
        const unsigned granted = wanted < free ? wanted : free;
        if (busy_.compare_exchange_weak(busy, after + granted, std::memory_order_relaxed))
            return granted;
    }
}

CoreBudget& MachineCores() {
    static CoreBudget budget(std::thread::hardware_concurrency());
    return budget;
}
