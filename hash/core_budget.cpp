// The process-wide core budget.
#include "core_budget.h"

#include <thread>

unsigned CoreBudget::Take(unsigned required, unsigned wanted) {
    unsigned seen = busy.load(std::memory_order_relaxed);
    for (;;) {
        const unsigned after = seen + required;
        const unsigned free = after < cores ? cores - after : 0;
        const unsigned granted = wanted < free ? wanted : free;
        if (busy.compare_exchange_weak(seen, after + granted, std::memory_order_relaxed))
            return granted;
    }
}

CoreBudget& MachineCores() {
    static CoreBudget budget(std::thread::hardware_concurrency());
    return budget;
}
