// The list window's run.
#include "sum_list_run.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "file_source.h"
#include "file_walk.h"
#include "many_files.h"
#include "sum_file.h"

struct CSumListRun::Shared {
    Request request;
    std::atomic<bool> cancel{false};
    std::mutex lock;
    std::condition_variable endedSignal;
    RunNews news;                 // what is not taken yet
    std::vector<uint64_t> sizes;  // of every row listed
    uint64_t bytesDecided = 0;    // of rows decided
    struct Reading {
        RowsReading rows;
        uint64_t decided = 0;  // bytes of its rows decided while it still reads
        unsigned id = 0;
    };
    std::vector<Reading> reading;
    unsigned nextReadingId = 0;
    std::size_t rowsTaken = 0;  // by the window
    bool ended = false;

    void Add(ListRow row) {
        const std::lock_guard<std::mutex> hold(lock);
        sizes.push_back(row.size);
        news.bytesTotal += row.size;
        news.added.push_back(std::move(row));
    }
    void Decide(RowChange change) {
        const std::lock_guard<std::mutex> hold(lock);
        const uint64_t size = change.row < sizes.size() ? sizes[change.row] : 0;
        bytesDecided += size;
        for (Reading& meter : reading)
            if (change.row >= meter.rows.first && change.row < meter.rows.first + meter.rows.count)
                meter.decided += size;
        news.changed.push_back(std::move(change));
    }
};

namespace {

// Every reading file or lane batch reports here, from the thread that reads it.
class Meters final : public RunProgress {
public:
    explicit Meters(CSumListRun::Shared& run) : shared(run) {}

    class Meter final : public RunProgress::Meter {
    public:
        Meter(CSumListRun::Shared& run, unsigned meterId) : shared(run), id(meterId) {}
        ~Meter() override {
            const std::lock_guard<std::mutex> hold(shared.lock);
            std::erase_if(shared.reading, [&](const auto& r) { return r.id == id; });
        }
        void Update(uint64_t done, uint64_t total) override {
            const std::lock_guard<std::mutex> hold(shared.lock);
            for (auto& r : shared.reading)
                if (r.id == id) {
                    r.rows.done = done;
                    r.rows.total = total;
                }
        }

    private:
        CSumListRun::Shared& shared;
        unsigned id;
    };

    std::unique_ptr<RunProgress::Meter> Start(std::size_t first, std::size_t count,
                                              const std::string&) override {
        const std::lock_guard<std::mutex> hold(shared.lock);
        const unsigned id = shared.nextReadingId++;
        shared.reading.push_back({{first, count, 0, 0}, 0, id});
        return std::make_unique<Meter>(shared, id);
    }

private:
    CSumListRun::Shared& shared;
};

RowState StateOf(EntryState state) {
    switch (state) {
        case EntryState::Ok:
            return RowState::Ok;
        case EntryState::Failed:
            return RowState::Failed;
        case EntryState::Missing:
            return RowState::Missing;
        case EntryState::Unreadable:
            return RowState::Unreadable;
        case EntryState::Improper:
            return RowState::Improper;
        case EntryState::NotChecked:
            break;
    }
    return RowState::Stopped;
}

unsigned Threads(unsigned asked) {
    return asked != 0 ? asked : std::max(1u, std::thread::hardware_concurrency());
}

std::string LastPartOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// As corvane-sum -c reads a list without -a: any tag, every length, the list's name saying what
// an untagged digest is.
SumLineRules CheckRules(const std::string& listName) {
    SumLineRules rules;
    rules.refuseAmbiguous = false;
    rules.named = AlgorithmOfSumFileName(listName);
    return rules;
}

void Check(CSumListRun::Shared& run) {
    const std::string& list = run.request.list;
    const std::string name = LastPartOf(list);
    if (NamesForeignAlgorithm(name)) {
        const std::lock_guard<std::mutex> hold(run.lock);
        run.news.foreignList = true;
        run.news.listed = true;
        return;
    }
    // The list's names are relative to its folder, as for a user who went there in a terminal
    // (cd there, corvane-sum -c); the process's working folder stays what it is.
    const std::string folder = FolderOfPath(list);
    int error = 0;
    std::unique_ptr<ByteSource> source = OpenFileSource(list, error, FileKinds::NoFifo);
    if (source) {
        SumLineParser parser(CheckRules(name));
        SumFileReader reader(*source, parser);
        while (std::optional<NumberedSumLine> read = reader.Next()) {
            ListRow row;
            row.name = read->line.entry.name;
            row.line = read->number;
            const std::vector<Algorithm>& candidates = read->line.entry.candidates;
            if (!candidates.empty()) row.algorithm = candidates.front();
            if (read->line.kind == SumLine::Kind::Entry) {
                row.size = RegularFileSize(ListedPath(folder, row.name)).value_or(0);
                row.several = candidates.size() > 1;
            } else {
                row.state = RowState::Improper;
            }
            run.Add(std::move(row));
        }
        error = reader.error();
    }
    {
        const std::lock_guard<std::mutex> hold(run.lock);
        run.news.listed = true;
        run.news.listError = error;
    }
    if (source && error == 0) {
        source = OpenFileSource(list, error, FileKinds::NoFifo);
        if (source) {
            Meters meters(run);
            ManyFiles jobs(Threads(run.request.threads), &meters);
            jobs.SetCancel(&run.cancel);
            SumLineParser lines(CheckRules(name));
            ListChecker checker(jobs, lines, folder);
            std::size_t row = 0;
            error = checker.Check(*source, SumFileRules{}, false, [&](const CheckedLine& line) {
                RowChange change;
                change.row = row++;
                change.state = StateOf(line.state);
                change.algorithm = line.algorithm;
                change.error = line.error;
                run.Decide(std::move(change));
            });
        }
        if (error != 0) {
            const std::lock_guard<std::mutex> hold(run.lock);
            run.news.listError = error;
        }
    }
}

void Hash(CSumListRun::Shared& run) {
    // Listed first, so the window shows every row and the total before the first digest.
    std::vector<WalkEntry> entries;
    FileWalk walk(run.request.files, true, false);
    while (std::optional<WalkEntry> entry = walk.Next()) {
        if (run.cancel.load()) break;
        ListRow row;
        row.name = entry->path;
        row.algorithm = run.request.algorithm;
        if (entry->kind == WalkEntry::Kind::File) {
            row.size = RegularFileSize(entry->path).value_or(0);
        } else {  // decided when its turn comes, in order
            row.error = entry->kind == WalkEntry::Kind::Failed ? entry->error : kNotRegularFile;
        }
        run.Add(std::move(row));
        entries.push_back(std::move(*entry));
    }
    {
        const std::lock_guard<std::mutex> hold(run.lock);
        run.news.listed = true;
    }
    Meters meters(run);
    ManyFiles jobs(Threads(run.request.threads), &meters);
    jobs.SetCancel(&run.cancel);
    std::size_t next = 0;
    HashInOrder(
        jobs,
        [&]() -> std::optional<std::pair<std::size_t, FileJob>> {
            if (next == entries.size()) return std::nullopt;
            const WalkEntry& entry = entries[next];
            FileJob job;
            if (entry.kind == WalkEntry::Kind::File)
                job = {entry.path,
                       {run.request.algorithm},
                       true,
                       entry.inTree ? FileKinds::RegularOnly : FileKinds::NoFifo};
            return std::pair{next++, std::move(job)};
        },
        [&](std::size_t& row, HashOutcome&& outcome) {
            const WalkEntry& entry = entries[row];
            RowChange change;
            change.row = row;
            change.algorithm = run.request.algorithm;
            if (entry.kind != WalkEntry::Kind::File) {
                change.state = RowState::Unreadable;
                change.error =
                    entry.kind == WalkEntry::Kind::Failed ? entry.error : kNotRegularFile;
            } else if (outcome.ok() && !outcome.digests.empty()) {
                change.state = RowState::Ok;
                change.digest = std::move(outcome.digests.front());
            } else {
                change.error = outcome.error;
                change.state = outcome.status == HashStatus::NotFound    ? RowState::Missing
                               : outcome.status == HashStatus::Cancelled ? RowState::Stopped
                               : outcome.ok()                            ? RowState::Stopped
                                                                         : RowState::Unreadable;
            }
            run.Decide(std::move(change));
        });
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

CSumListRun::CSumListRun(Request request) : shared(std::make_shared<Shared>()) {
    shared->request = std::move(request);
    // The thread holds the shared state: a run stuck in a read outlives its window harmlessly.
    std::thread([run = shared] {
        if (run->request.check)
            Check(*run);
        else
            Hash(*run);
        const std::lock_guard<std::mutex> hold(run->lock);
        run->ended = true;
        if (run->request.ended) run->request.ended();
        run->endedSignal.notify_all();
    }).detach();
}

CSumListRun::~CSumListRun() {
    Stop();
    WaitEnded(300);
    const std::lock_guard<std::mutex> hold(shared->lock);
    shared->request.ended = nullptr;
}

void CSumListRun::Stop() {
    shared->cancel.store(true);
}

bool CSumListRun::WaitEnded(int ms) {
    std::unique_lock<std::mutex> hold(shared->lock);
    return shared->endedSignal.wait_for(hold, std::chrono::milliseconds(ms),
                                        [&] { return shared->ended; });
}

namespace {

// At most this many rows added or changed per take: one take stays well under a frame however
// fast a list of small files is decided (`bench/list_window_time` prints the longest gap).
constexpr std::size_t kMostPerTake = 4000;

// The first `count` of `from`, at most kMostPerTake.
template <class T>
std::vector<T> TakeFront(std::vector<T>& from, std::size_t count) {
    count = std::min(count, kMostPerTake);
    if (count >= from.size()) return std::exchange(from, {});
    std::vector<T> taken(
        std::make_move_iterator(from.begin()),
        std::make_move_iterator(from.begin() + static_cast<std::ptrdiff_t>(count)));
    from.erase(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(count));
    return taken;
}

}  // namespace

RunNews CSumListRun::Take() {
    const std::lock_guard<std::mutex> hold(shared->lock);
    RunNews news;
    news.bytesTotal = shared->news.bytesTotal;
    news.listed = shared->news.listed;
    news.listError = shared->news.listError;
    news.foreignList = shared->news.foreignList;
    news.added = TakeFront(shared->news.added, shared->news.added.size());
    shared->rowsTaken += news.added.size();
    // Changes come in row order; one goes only with its row already in the window.
    std::vector<RowChange>& changed = shared->news.changed;
    std::size_t ready = 0;
    while (ready < changed.size() && changed[ready].row < shared->rowsTaken) ++ready;
    news.changed = TakeFront(changed, ready);
    uint64_t done = shared->bytesDecided;
    for (const Shared::Reading& meter : shared->reading) {
        news.reading.push_back(meter.rows);
        if (meter.rows.done > meter.decided) done += meter.rows.done - meter.decided;
    }
    news.bytesDone = std::min(done, news.bytesTotal);
    news.ended = shared->ended && shared->news.added.empty() && shared->news.changed.empty();
    return news;
}
