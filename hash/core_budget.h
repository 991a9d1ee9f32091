// How many threads of this process may be busy hashing at once, so that file jobs and the reader
// threads and engine groups inside them do not ask for more cores than the machine has.
#pragma once

#include <atomic>

class CoreBudget {
public:
    explicit CoreBudget(unsigned cores) : cores_(cores == 0 ? 1 : cores) {}

    // Takes `required` cores whatever is free (a thread that already runs counts itself), plus
    // up to `wanted` more while they are free; returns how many of the `wanted` it got.
    unsigned Take(unsigned required, unsigned wanted);
    void Give(unsigned count) { busy_.fetch_sub(count, std::memory_order_relaxed); }

private:
    const unsigned cores_;
    std::atomic<unsigned> busy_{0};
};

// The budget of this machine: one core per hardware thread.
CoreBudget& MachineCores();

// Cores held for one scope.
class CoreLease {
public:
    CoreLease(CoreBudget& budget, unsigned required, unsigned wanted)
        : budget_(budget), extra_(budget.Take(required, wanted)), held_(required + extra_) {}
    ~CoreLease() { budget_.Give(held_); }
    CoreLease(const CoreLease&) = delete;
    CoreLease& operator=(const CoreLease&) = delete;

    unsigned extra() const { return extra_; }

private:
    CoreBudget& budget_;
    unsigned extra_;
    unsigned held_;
};
