// How many threads of this process may be busy hashing at once, so that file jobs and the reader
// threads and engine groups inside them do not ask for more cores than the machine has.
#pragma once

#include <atomic>

class CoreBudget {
public:
    explicit CoreBudget(unsigned machineCores) : cores(machineCores == 0 ? 1 : machineCores) {}

    // Takes `required` cores whatever is free (a thread that already runs counts itself), plus
    // up to `wanted` more while they are free; returns how many of the `wanted` it got.
    unsigned Take(unsigned required, unsigned wanted);
    void Give(unsigned count) { busy.fetch_sub(count, std::memory_order_relaxed); }

private:
    const unsigned cores;
    std::atomic<unsigned> busy{0};
};

// The budget of this machine: one core per hardware thread.
CoreBudget& MachineCores();

// Cores held for one scope.
class CoreLease {
public:
    CoreLease(CoreBudget& from, unsigned required, unsigned wanted)
        : budget(from), extra(from.Take(required, wanted)), held(required + extra) {}
    ~CoreLease() { budget.Give(held); }
    CoreLease(const CoreLease&) = delete;
    CoreLease& operator=(const CoreLease&) = delete;

    unsigned Extra() const { return extra; }

private:
    CoreBudget& budget;
    unsigned extra;
    unsigned held;
};
