// The job window. Workers take the oldest waiting job; the calling thread hands
// outcomes back oldest first, so output never depends on which file finished first. Jobs reading
// standard input are the calling thread's, and so are all jobs while jobs are quick: handing a job
// to another thread costs a few thread wake-ups, more than opening and hashing a small file
// (2026-12-07, 2 cores: `corvane-sum -j 2 -a md5 -c` on a million lines naming 1000 files of a
// few bytes took twice as long as with -j 1 while every job was handed over).
#include "many_files.h"

#include <strings.h>

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

struct ManyFiles::Shared {
    struct Slot {
        FileJob job;
        std::size_t number = 0;
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

    RunProgress* progress = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    CoreBudget* cores = nullptr;

    bool timed = false;  // whether hand-overs are possible, so job times matter

    HashOutcome Run(const JobWork& jobWork, const FileJob& job, std::size_t number) {
        const auto start =
            timed ? std::chrono::steady_clock::now() : std::chrono::steady_clock::time_point();
        HashControl control;
        control.cancel = cancel;
        control.cores = cores;
        control.form = job.form;
        std::unique_ptr<RunProgress::Meter> meter;
        // A terminal on standard input is someone typing: no line over what they type.
        if (progress != nullptr && !(RunsInline(job) && StandardInputIsTerminal())) {
            meter = progress->Start(number, 1, job.path);
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

ManyFiles::ManyFiles(unsigned threads, RunProgress* progress, JobWork jobWork)
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

std::optional<Algorithm> ManyFiles::LaneAlgorithm(const FileJob& job, uint64_t& size) const {
    using Function = HashOutcome (*)(const FileJob&, const HashControl&);
    const Function* target = work.target<Function>();
    if (target == nullptr || *target != &HashFileJob) return std::nullopt;
    if (!job.mayShareLanes || job.algorithms.size() != 1 || RunsInline(job) ||
        !job.form.blake3.Plain() || !LanesAvailable(job.algorithms[0]))
        return std::nullopt;
    const std::optional<uint64_t> regular = RegularFileSize(job.path);
    if (!regular) return std::nullopt;
    size = *regular;
    return job.algorithms[0];
}

void ManyFiles::HashInLanes(std::span<const std::string> paths, std::span<const FileKinds> kinds,
                            std::span<const uint64_t> sizes, Algorithm algorithm,
                            const std::function<void(std::size_t, HashOutcome&&)>& emit) {
    CoreBudget one(1);
    HashControl control;
    control.cancel = shared->cancel;
    if (workers.empty()) control.cores = &one;
    const std::size_t first = jobsNumbered;
    jobsNumbered += paths.size();
    // One meter for the whole batch: its files progress together.
    std::unique_ptr<RunProgress::Meter> meter;
    if (shared->progress != nullptr) {
        meter =
            shared->progress->Start(first, paths.size(), std::to_string(paths.size()) + " files");
        control.progress = [&meter](uint64_t done, uint64_t total) { meter->Update(done, total); };
    }
    // Lanes open only regular files. What was one when looked up and is something else now is
    // read as its job asked, as if it had never been one.
    const Algorithm algorithms[] = {algorithm};
    HashControl alone;
    alone.cores = control.cores;
    alone.cancel = control.cancel;
    ComputeDigestsInLanes(
        paths, algorithm, control,
        [&](std::size_t k, HashOutcome&& outcome) {
            if (outcome.error == kNotRegularFile && kinds[k] == FileKinds::Any)
                outcome = ComputeDigests(HashInput::Path(paths[k]), algorithms, alone);
            emit(k, std::move(outcome));
        },
        sizes);
}

ManyFiles::~ManyFiles() {
    {
        std::lock_guard lock(shared->mutex);
        shared->stopping = true;
    }
    shared->jobWaiting.notify_all();
    for (std::thread& worker : workers) worker.join();
}

void ManyFiles::SetCores(CoreBudget* budget) {
    shared->cores = budget;
}

void ManyFiles::SetCancel(const std::atomic<bool>* cancelFlag) {
    shared->cancel = cancelFlag;
}

const std::atomic<bool>* ManyFiles::CancelFlag() const {
    return shared->cancel;
}

bool ManyFiles::Cancelled() const {
    return shared->cancel != nullptr && shared->cancel->load(std::memory_order_relaxed);
}

bool ManyFiles::HasRoom() const {
    std::lock_guard lock(shared->mutex);
    // While jobs stay on this thread, looking ahead only costs.
    return shared->slots.size() < (shared->HandOver() ? window : 1);
}

void ManyFiles::Submit(FileJob job) {
    const bool callers = workers.empty() || RunsInline(job) || !shared->HandOver();
    {
        std::lock_guard lock(shared->mutex);
        Shared::Slot& slot = shared->slots.emplace_back();
        slot.callers = callers;
        slot.number = jobsNumbered++;
        if (job.algorithms.empty()) {
            slot.started = true;
            slot.outcome.emplace();
        }
        slot.job = std::move(job);
    }
    if (!callers) shared->jobWaiting.notify_one();
}

HashOutcome ManyFiles::TakeNext() {
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
        HashOutcome outcome = shared->Run(work, slot.job, slot.number);
        lock.lock();
        slot.outcome = std::move(outcome);
    }
    HashOutcome outcome = std::move(*head.outcome);
    shared->slots.pop_front();
    return outcome;
}

void ManyFiles::Work() {
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
        HashOutcome outcome = shared->Run(work, mine.job, mine.number);
        lock.lock();
        mine.outcome = std::move(outcome);
        shared->outcomeReady.notify_all();
    }
}

namespace {

struct Record {
    CheckedLine checked;
    std::optional<Algorithm> guess;  // the one candidate of several hashed first
};

// Which of several candidates to try first: the one that last matched a digest of that length,
// else the first listed (the commonest).
class Guesses {
public:
    struct Guess {
        Algorithm algorithm;
        bool matchedBefore;
    };
    Guess For(std::span<const Algorithm> candidates) const {
        for (const Algorithm algorithm : matched)
            if (std::find(candidates.begin(), candidates.end(), algorithm) != candidates.end())
                return {algorithm, true};
        return {candidates.front(), false};
    }
    void Matched(Algorithm algorithm) {
        std::erase_if(matched, [&](Algorithm a) {
            return DigestTextLength(a) == DigestTextLength(algorithm);
        });
        matched.push_back(algorithm);
    }

private:
    std::vector<Algorithm> matched;  // at most one per digest length
};

bool SameDigest(const std::string& computed, const std::string& listed) {
    return strcasecmp(computed.c_str(), listed.c_str()) == 0;
}

bool RegularFile(const std::string& path) {
    return path != "-" && RegularFileSize(path).has_value();
}

EntryState StateOf(const HashOutcome& outcome) {
    switch (outcome.status) {
        case HashStatus::Complete:
            return EntryState::Ok;
        case HashStatus::NotFound:
            return EntryState::Missing;
        case HashStatus::Cancelled:
            return EntryState::NotChecked;
        case HashStatus::OpenFailed:
        case HashStatus::ReadFailed:
            break;
    }
    return EntryState::Unreadable;
}

}  // namespace

ListChecker::ListChecker(ManyFiles& manyFiles, SumLineParser& lines, std::string folder)
    : jobs(manyFiles), parser(lines), base(std::move(folder)) {}

std::string ListedPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.starts_with('/') || name == "-") return name;
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

int ListChecker::Check(ByteSource& list, const SumFileRules& rules, bool listIsStdin,
                       const std::function<void(const CheckedLine&)>& emit) {
    Guesses guesses;
    SumFileReader reader(list, parser, rules);
    const auto next = [&]() -> std::optional<std::pair<Record, FileJob>> {
        std::optional<NumberedSumLine> read = reader.Next();
        if (!read) return std::nullopt;
        Record record;
        record.checked.lineNumber = read->number;
        record.checked.line = std::move(read->line);
        SumLine& line = record.checked.line;
        // With the list on standard input, "-" cannot also be a file to check.
        if (line.kind == SumLine::Kind::Entry && listIsStdin && line.entry.name == "-")
            line.kind = SumLine::Kind::Malformed;
        FileJob job;
        if (line.kind == SumLine::Kind::Entry && !jobs.Cancelled()) {
            const SumEntry& entry = line.entry;
            job = {ListedPath(base, entry.name), entry.candidates};
            job.form.digestBytes = entry.digestBytes;
            if (entry.candidates.size() > 1 && RegularFile(job.path)) {
                const Guesses::Guess guess = guesses.For(entry.candidates);
                record.guess = guess.algorithm;
                job.algorithms = {guess.algorithm};
                // Read again for the other candidates: it must stay what it was looked up as.
                job.kinds = FileKinds::RegularOnly;
                // Until a guess has matched, a few files on their own let it be learnt before a
                // whole batch of lanes goes by a wrong one and each file waits for a second read.
                job.mayShareLanes = guess.matchedBefore;
            }
        }
        return std::pair{std::move(record), std::move(job)};
    };
    const auto decide = [&](Record& record, HashOutcome&& outcome) {
        CheckedLine& checked = record.checked;
        if (checked.line.kind != SumLine::Kind::Entry) {
            checked.state = EntryState::Improper;
            if (!checked.line.entry.candidates.empty())
                checked.algorithm = checked.line.entry.candidates[0];
            emit(checked);
            return;
        }
        const SumEntry& entry = checked.line.entry;
        checked.algorithm = entry.candidates[0];
        if (outcome.digests.empty() && outcome.ok()) {  // never started: cancelled
            checked.state = EntryState::NotChecked;
            emit(checked);
            return;
        }
        std::vector<Algorithm> computed = entry.candidates;
        if (record.guess) {
            // Not the likeliest: the others one at a time, cheapest first, so that a list of
            // MD4 sums never waits for MD2.
            computed = {*record.guess};
            HashControl control;
            control.cancel = jobs.CancelFlag();
            for (const Algorithm other : entry.candidates) {
                if (!outcome.ok() || SameDigest(outcome.digests[0], entry.digest)) break;
                if (other == *record.guess) continue;
                if (jobs.Cancelled()) {
                    outcome = HashOutcome::Failure(HashStatus::Cancelled, 0, 0);
                    break;
                }
                computed = {other};
                outcome = ComputeDigests(
                    HashInput::Path(ListedPath(base, entry.name), FileKinds::RegularOnly), computed,
                    control);
            }
        }
        checked.state = StateOf(outcome);
        checked.error = outcome.error;
        if (outcome.ok()) {
            std::size_t matched = 0;
            while (matched < outcome.digests.size() &&
                   !SameDigest(outcome.digests[matched], entry.digest))
                ++matched;
            if (matched < outcome.digests.size()) {
                checked.algorithm = computed[matched];
                if (checked.severalCandidates()) guesses.Matched(computed[matched]);
            } else {
                checked.state = EntryState::Failed;
            }
        }
        emit(checked);
    };
    HashInOrder(jobs, next, decide);
    return reader.error();
}
