// Many inputs for both front-ends: hashing a stream of files, and checking the entries of sum
// files. Files are hashed on several threads, consecutive single-algorithm regular files side by
// side in lanes, and the outcomes come back in the order the files came, with only a small window
// of them in flight: memory stays the same however many files a directory tree or a list yields.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "core_budget.h"
#include "pipeline.h"
#include "sum_file.h"

// One input to hash, as every command hands it over.
struct FileJob {
    std::string path;                   // "-" is standard input, read on the calling thread
    std::vector<Algorithm> algorithms;  // none: nothing to compute; the outcome comes back empty
    bool mayShareLanes = true;          // false: never hashed side by side with other files
    FileKinds kinds = FileKinds::Any;   // RegularOnly: a file found in a tree, or one looked up
    DigestForm form = {};               // a length of variable-length algorithms; BLAKE3's mode
};

// Progress of a run: one meter per job, or per lane batch of jobs hashed side by side.
class RunProgress {
public:
    class Meter {
    public:
        virtual ~Meter() = default;
        // Bytes done of the total (0: unknown), from the thread hashing the job.
        virtual void Update(uint64_t done, uint64_t total) = 0;
    };
    virtual ~RunProgress() = default;
    // `first`: the number of the first job the meter covers (in the order jobs were handed over,
    // from 0, every job counted); `count`: how many; `label`: the path, or "N files".
    virtual std::unique_ptr<Meter> Start(std::size_t first, std::size_t count,
                                         const std::string& label) = 0;
};

// Computes one job. HashFileJob is the one place where the commands' files reach the hashing
// core; tests put a stand-in here.
using JobWork = std::function<HashOutcome(const FileJob& job, const HashControl& control)>;
HashOutcome HashFileJob(const FileJob& job, const HashControl& control);

class ManyFiles {
public:
    // With `threads` <= 1 every job runs on the calling thread, one at a time. With a display,
    // each job's progress goes there.
    explicit ManyFiles(unsigned threads, RunProgress* progress = nullptr,
                       JobWork jobWork = HashFileJob);
    ~ManyFiles();
    ManyFiles(const ManyFiles&) = delete;
    ManyFiles& operator=(const ManyFiles&) = delete;

    // Once `cancel` is set, running jobs stop (their outcomes Cancelled) and the list checker
    // starts no more.
    void SetCancel(const std::atomic<bool>* cancelFlag);
    // Where jobs take the extra cores of their reader, engine groups or tree threads from (set
    // before the first Submit): the machine's when unset.
    void SetCores(CoreBudget* budget);
    bool Cancelled() const;
    const std::atomic<bool>* CancelFlag() const;

    // Whether another job may be submitted before the oldest is taken.
    bool HasRoom() const;
    void Submit(FileJob job);
    // The outcome of the oldest job not yet taken, waiting for it (or computing it, for standard
    // input and when there are no workers).
    HashOutcome TakeNext();

    // The algorithm `job` can be hashed with side by side with others in lanes: it names a
    // regular file (nothing that could block on opening) and asks for one algorithm, which this
    // CPU runs in lanes, and the jobs go to the hashing core, not to a stand-in. `size` gets the
    // file's size, looked up with its type.
    std::optional<Algorithm> LaneAlgorithm(const FileJob& job, uint64_t& size) const;
    // Hashes the files at `paths` (of `sizes`) with `algorithm` in lanes (hash/lane_scheduler.h),
    // on one core when the window has no workers; `emit` gets each outcome in order.
    void HashInLanes(std::span<const std::string> paths, std::span<const FileKinds> kinds,
                     std::span<const uint64_t> sizes, Algorithm algorithm,
                     const std::function<void(std::size_t, HashOutcome&&)>& emit);

private:
    struct Shared;
    void Work();

    JobWork work;
    std::size_t window;
    std::size_t jobsNumbered = 0;  // jobs handed over so far, in lanes or not
    std::unique_ptr<Shared> shared;
    std::vector<std::thread> workers;
};

// Consecutive files hashed side by side in lanes at most, so memory stays bounded.
inline constexpr std::size_t kLaneBatch = 4096;

// Hashing many inputs. Pulls items from `next` (std::optional<std::pair<Item, FileJob>>,
// std::nullopt at the end) on the calling thread while the window has room, and calls `emit(Item&,
// HashOutcome&&)` for each, in order, as soon as its outcome is there. Consecutive jobs with one
// lane algorithm (up to kLaneBatch of them) are hashed side by side in lanes once every job before
// them is out.
template <typename Next, typename Emit>
void HashInOrder(ManyFiles& jobs, Next&& next, Emit&& emit) {
    using Item = typename std::invoke_result_t<Next&>::value_type::first_type;
    std::deque<Item> waiting;
    std::vector<std::pair<Item, FileJob>> batch;
    std::vector<uint64_t> sizes;  // of the batch's files
    Algorithm batchAlgorithm{};
    const auto flush = [&] {
        if (batch.size() == 1) {
            waiting.push_back(std::move(batch[0].first));
            jobs.Submit(std::move(batch[0].second));
        } else if (!batch.empty()) {
            for (; !waiting.empty(); waiting.pop_front()) emit(waiting.front(), jobs.TakeNext());
            std::vector<std::string> paths;
            std::vector<FileKinds> kinds;
            for (auto& entry : batch) {
                paths.push_back(std::move(entry.second.path));
                kinds.push_back(entry.second.kinds);
            }
            jobs.HashInLanes(paths, kinds, sizes, batchAlgorithm,
                             [&](std::size_t k, HashOutcome&& outcome) {
                                 emit(batch[k].first, std::move(outcome));
                             });
        }
        batch.clear();
        sizes.clear();
    };
    bool more = true;
    for (;;) {
        while (more && jobs.HasRoom()) {
            auto got = next();
            if (!got) {
                more = false;
                break;
            }
            uint64_t size = 0;
            const std::optional<Algorithm> lane = jobs.LaneAlgorithm(got->second, size);
            if (!lane || (!batch.empty() && *lane != batchAlgorithm)) flush();
            if (lane) {
                batchAlgorithm = *lane;
                batch.push_back(std::move(*got));
                sizes.push_back(size);
                if (batch.size() == kLaneBatch) flush();
                continue;
            }
            waiting.push_back(std::move(got->first));
            jobs.Submit(std::move(got->second));
        }
        if (!more) flush();
        if (waiting.empty()) {
            if (!more) return;
            continue;
        }
        HashOutcome outcome = jobs.TakeNext();
        emit(waiting.front(), std::move(outcome));
        waiting.pop_front();
    }
}

// Checking the entries of sum files.
enum class EntryState {
    Ok,
    Failed,      // the digest differs (from every candidate, for an untagged one)
    Missing,     // no file by that name
    Unreadable,  // could not be opened or read: CheckedLine::error
    Improper,    // not a checksum line
    NotChecked,  // the run was cancelled first
};

struct CheckedLine {
    unsigned long lineNumber = 0;  // from 1, counting every line of the list
    SumLine line;                  // as read: the name as written, the candidates, the digest
    EntryState state = EntryState::Improper;
    int error = 0;  // errno, for Missing and Unreadable
    // The algorithm the digest matched as, or the one it was checked with (the first candidate
    // when several were tried and none matched).
    std::optional<Algorithm> algorithm;
    bool severalCandidates() const { return line.entry.candidates.size() > 1; }
};

// Where a list's entry `name` is found when relative names are looked up in `folder` (empty: the
// working folder).
std::string ListedPath(const std::string& folder, const std::string& name);

// Checks lists through a window of jobs. An untagged line whose digest length fits several
// algorithms is hashed first with the likeliest alone (the one that last matched a digest of that
// length, else the commonest) so a list of MD5 sums runs at MD5's speed, in lanes, rather than
// MD2's; with the others, one read each, only while none matches. What cannot be read twice (a
// pipe, standard input) is hashed with all of them in one read.
class ListChecker {
public:
    // `lines` parses the lines of every list checked (as the coreutils tools have it, the first
    // untagged line decides the one-space form for the whole run). Relative names are looked up
    // in `folder`: the working folder when it is empty, as the coreutils tools have it; the
    // list's own folder for the dialog, whose user never chose a working folder.
    ListChecker(ManyFiles& jobs, SumLineParser& lines, std::string folder = {});

    // Reads `list` to its end and calls `emit` with each line that is not ignored, in list order,
    // as soon as it is decided. `listIsStdin`: "-" cannot also be a listed file. Returns the errno
    // that stopped reading the list, 0 when it was read to its end.
    int Check(ByteSource& list, const SumFileRules& rules, bool listIsStdin,
              const std::function<void(const CheckedLine&)>& emit);

private:
    ManyFiles& jobs;
    SumLineParser& parser;
    std::string base;
};
