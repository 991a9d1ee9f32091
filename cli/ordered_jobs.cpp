// The job window of corvane-sum. Workers take the oldest waiting job; the calling thread waits
// for the oldest outcome, so output never depends on which file finished first. Jobs reading
// standard input are left to the calling thread, which reaches them in order.
#include "ordered_jobs.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// Enough jobs ahead to keep every worker busy while the oldest one is slow.
constexpr std::size_t kJobsPerThread = 4;

bool RunsInline(const FileJob& job) {
    return job.path == "-";
}

}  // namespace

HashOutcome HashFileJob(const FileJob& job, FileHasher& hasher) {
    return hasher.Hash(job.path, job.algorithms);
}

struct OrderedJobs::Shared {
    struct Slot {
        FileJob job;
        bool started = false;
        std::optional<HashOutcome> outcome;
    };
    std::mutex mutex;
    std::condition_variable jobWaiting;
    std::condition_variable outcomeReady;
    std::deque<Slot> slots;  // oldest first
    bool stopping = false;
};

OrderedJobs::OrderedJobs(unsigned threads, JobWork work)
    : work_(std::move(work)),
      window_(threads <= 1 ? 1 : kJobsPerThread * threads),
      shared_(std::make_unique<Shared>()) {
    if (threads <= 1) return;
    workers_.reserve(threads);
    for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

OrderedJobs::~OrderedJobs() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    shared_->jobWaiting.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

bool OrderedJobs::HasRoom() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->slots.size() < window_;
}

bool OrderedJobs::Empty() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->slots.empty();
}

void OrderedJobs::Submit(FileJob job) {
    {
        std::lock_guard lock(shared_->mutex);
        Shared::Slot& slot = shared_->slots.emplace_back();
        if (job.algorithms.empty()) {
            slot.started = true;
            slot.outcome.emplace();
        }
        slot.started = slot.started || RunsInline(job) || workers_.empty();
        slot.job = std::move(job);
    }
    shared_->jobWaiting.notify_one();
}

HashOutcome OrderedJobs::TakeNext() {
    std::unique_lock lock(shared_->mutex);
    Shared::Slot& head = shared_->slots.front();
    if (!head.outcome && (RunsInline(head.job) || workers_.empty())) {
        // Left to this thread; slots keep their place while others are added behind them.
        const FileJob& job = head.job;
        lock.unlock();
        HashOutcome outcome = work_(job, own_);
        lock.lock();
        head.outcome = std::move(outcome);
    }
    shared_->outcomeReady.wait(lock, [&] { return head.outcome.has_value(); });
    HashOutcome outcome = std::move(*head.outcome);
    shared_->slots.pop_front();
    return outcome;
}

void OrderedJobs::Work() {
    FileHasher hasher;
    std::unique_lock lock(shared_->mutex);
    for (;;) {
        auto slot = shared_->slots.end();
        shared_->jobWaiting.wait(lock, [&] {
            slot = std::find_if(shared_->slots.begin(), shared_->slots.end(),
                                [](const Shared::Slot& s) { return !s.started; });
            return shared_->stopping || slot != shared_->slots.end();
        });
        if (shared_->stopping) return;
        slot->started = true;
        Shared::Slot& mine = *slot;  // a deque keeps references through pushes and front pops
        lock.unlock();
        HashOutcome outcome = work_(mine.job, hasher);
        lock.lock();
        mine.outcome = std::move(outcome);
        shared_->outcomeReady.notify_all();
    }
}
