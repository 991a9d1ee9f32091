// The job window of corvane-sum. Workers take the oldest waiting job; the calling thread hands
// outcomes back oldest first, so output never depends on which file finished first. Jobs reading
// standard input are the calling thread's, and so are all jobs while jobs are quick: handing a job
// to another thread costs a few thread wake-ups, more than opening and hashing a small file
// (2026-12-07, 2 cores: `corvane-sum -j 2 -a md5 -c` on a million lines naming 1000 files of a
// few bytes took twice as long as with -j 1 while every job was handed over).
#include "ordered_jobs.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "core_budget.h"
#include "lane_scheduler.h"

namespace {

// Enough jobs ahead to keep every worker busy while the oldest one is slow.
constexpr std::size_t kJobsPerThread = 4;
// A job shorter than this is not worth handing over. Jobs stay on the calling thread unless most
// of the recent ones were longer: a share, so that a job now and then held up by the system does
// not send the quick ones after it away.
constexpr auto kWorthHandingOver = std::chrono::microseconds(100);
constexpr int kShareOne = 1024;

bool RunsInline(const FileJob& job) {
    return job.path == "-";
}

}  // namespace

HashOutcome HashFileJob(const FileJob& job, const HashControl& control) {
    return ComputeDigests(RunsInline(job) ? HashInput::Descriptor(kStandardInput)
                                          : HashInput::Path(job.path, job.kinds),
                          job.algorithms, control);
}

struct OrderedJobs::Shared {
    struct Slot {
        FileJob job;
        bool callers = false;  // left to the calling thread
        bool started = false;
        std::optional<HashOutcome> outcome;
    };
    std::mutex mutex;
    std::condition_variable jobWaiting;
    std::condition_variable outcomeReady;
    std::deque<Slot> slots;  // oldest first
    bool stopping = false;
    // The share of recent jobs worth handing over, of kShareOne (exponentially weighted).
    std::atomic<int> longShare{0};

    bool HandOver() const { return longShare.load(std::memory_order_relaxed) > kShareOne / 2; }

    ProgressDisplay* progress = nullptr;

    bool timed = false;  // whether hand-overs are possible, so job times matter

    HashOutcome Run(const JobWork& jobWork, const FileJob& job) {
        const auto start =
            timed ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point();
        HashControl control;
        std::unique_ptr<ProgressDisplay::Meter> meter;
        // A terminal on standard input is someone typing: no line over what they type.
        if (progress != nullptr && !(RunsInline(job) && isatty(STDIN_FILENO) == 1)) {
            meter = progress->Start(job.path);
            control.progress = [&meter](uint64_t done, uint64_t total) {
                meter->Update(done, total);
            };
        }
        HashOutcome outcome = jobWork(job, control);
        meter.reset();
        if (!timed) return outcome;
        const bool worth = std::chrono::steady_clock::now() - start > kWorthHandingOver;
        // Racy by design: an update lost between two threads changes nothing that matters.
        const int share = longShare.load(std::memory_order_relaxed);
        longShare.store(share + ((worth ? kShareOne : 0) - share) / 16, std::memory_order_relaxed);
        return outcome;
    }
};

OrderedJobs::OrderedJobs(unsigned threads, ProgressDisplay* progress, JobWork jobWork)
    : work(std::move(jobWork)),
      window(threads <= 1 ? 1 : kJobsPerThread * threads),
      shared(std::make_unique<Shared>()) {
    shared->progress = progress;
    if (threads <= 1) return;
    shared->timed = true;
    workers.reserve(threads);
    for (unsigned i = 0; i < threads; ++i) {
        try {
            workers.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break;  // the workers that did start, or the calling thread alone, take every job
        }
    }
    shared->timed = !workers.empty();
}

std::optional<Algorithm> OrderedJobs::LaneAlgorithm(const FileJob& job, uint64_t& size) const {
    using Function = HashOutcome (*)(const FileJob&, const HashControl&);
    const Function* target = work.target<Function>();
    if (target == nullptr || *target != &HashFileJob) return std::nullopt;
    if (!job.mayShareLanes || job.algorithms.size() != 1 || RunsInline(job) ||
        !LanesAvailable(job.algorithms[0]))
        return std::nullopt;
    const std::optional<uint64_t> regular = RegularFileSize(job.path);
    if (!regular) return std::nullopt;
    size = *regular;
    return job.algorithms[0];
}

void OrderedJobs::HashInLanes(std::span<const std::string> paths, std::span<const FileKinds> kinds,
                              std::span<const uint64_t> sizes, Algorithm algorithm,
                              const std::function<void(std::size_t, HashOutcome&&)>& emit) {
    CoreBudget one(1);
    HashControl control;
    if (workers.empty()) control.cores = &one;
    // One line for the whole batch: its files progress together.
    std::unique_ptr<ProgressDisplay::Meter> meter;
    if (shared->progress != nullptr) {
        meter = shared->progress->Start(std::to_string(paths.size()) + " files");
        control.progress = [&meter](uint64_t done, uint64_t total) { meter->Update(done, total); };
    }
    // Lanes open only regular files. What was one when looked up and is something else now is
    // read as its job asked, as if it had never been one.
    const Algorithm algorithms[] = {algorithm};
    HashControl alone;
    alone.cores = control.cores;
    ComputeDigestsInLanes(
        paths, algorithm, control,
        [&](std::size_t k, HashOutcome&& outcome) {
            if (outcome.error == kNotRegularFile && kinds[k] == FileKinds::Any)
                outcome = ComputeDigests(HashInput::Path(paths[k]), algorithms, alone);
            emit(k, std::move(outcome));
        },
        sizes);
}

OrderedJobs::~OrderedJobs() {
    {
        std::lock_guard lock(shared->mutex);
        shared->stopping = true;
    }
    shared->jobWaiting.notify_all();
    for (std::thread& worker : workers) worker.join();
}

bool OrderedJobs::HasRoom() const {
    std::lock_guard lock(shared->mutex);
    // While jobs stay on this thread, looking ahead only costs.
    return shared->slots.size() < (shared->HandOver() ? window : 1);
}

void OrderedJobs::Submit(FileJob job) {
    const bool callers = workers.empty() || RunsInline(job) || !shared->HandOver();
    {
        std::lock_guard lock(shared->mutex);
        Shared::Slot& slot = shared->slots.emplace_back();
        slot.callers = callers;
        if (job.algorithms.empty()) {
            slot.started = true;
            slot.outcome.emplace();
        }
        slot.job = std::move(job);
    }
    if (!callers) shared->jobWaiting.notify_one();
}

HashOutcome OrderedJobs::TakeNext() {
    std::unique_lock lock(shared->mutex);
    Shared::Slot& head = shared->slots.front();
    while (!head.outcome) {
        // While the oldest is not done, this thread does its own jobs, oldest first (so standard
        // input is read in order); slots keep their place while others are added behind them.
        const auto mine =
            std::find_if(shared->slots.begin(), shared->slots.end(),
                         [](const Shared::Slot& s) { return s.callers && !s.started; });
        if (mine == shared->slots.end()) {
            shared->outcomeReady.wait(lock);
            continue;
        }
        mine->started = true;
        Shared::Slot& slot = *mine;
        lock.unlock();
        HashOutcome outcome = shared->Run(work, slot.job);
        lock.lock();
        slot.outcome = std::move(outcome);
    }
    HashOutcome outcome = std::move(*head.outcome);
    shared->slots.pop_front();
    return outcome;
}

void OrderedJobs::Work() {
    std::unique_lock lock(shared->mutex);
    for (;;) {
        auto slot = shared->slots.end();
        shared->jobWaiting.wait(lock, [&] {
            slot = std::find_if(shared->slots.begin(), shared->slots.end(),
                                [](const Shared::Slot& s) { return !s.callers && !s.started; });
            return shared->stopping || slot != shared->slots.end();
        });
        if (shared->stopping) return;
        slot->started = true;
        Shared::Slot& mine = *slot;  // a deque keeps references through pushes and front pops
        lock.unlock();
        HashOutcome outcome = shared->Run(work, mine.job);
        lock.lock();
        mine.outcome = std::move(outcome);
        shared->outcomeReady.notify_all();
    }
}
