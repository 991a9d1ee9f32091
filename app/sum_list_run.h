// One run of the check/hash-list window on its own thread: checking every entry of a sum file, or
// hashing many files, through the many-files service both front-ends use (hash/many_files.h), so
// the window decides as corvane-sum -c does and reads on every core, in lanes. The thread lists
// the rows first (a list's entries, the files a walk finds) and then decides them; the window
// takes what is new every few tens of milliseconds, so 20,000 rows cost it 20,000 table rows and
// a few hundred takes, not 40,000 signals.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "algorithms.h"

// What a row says about its file.
enum class RowState {
    Waiting,
    Working,     // being read: the row's percentage
    Ok,          // check: the digest matches; hash: the digest is there
    Failed,      // check: the digest differs
    Missing,     // no file by that name
    Unreadable,  // could not be opened or read (a folder, a device, no permission): `error`
    Improper,    // check: the line is no checksum line
    Stopped,     // the run was stopped first
};

struct ListRow {
    std::string name;  // bytes: as the list writes it, or the path as the walk built it
    std::optional<Algorithm> algorithm;  // the tag's, the list name's or the likeliest candidate
    uint64_t size = 0;                   // of a regular file, as listed; 0 otherwise
    RowState state = RowState::Waiting;
    int percent = 0;         // while Working
    std::string digest;      // hash: the computed digest
    int error = 0;           // errno for Missing and Unreadable
    bool several = false;    // check: an untagged digest, more than one algorithm fits
    unsigned long line = 0;  // check: its line in the list, from 1
};

struct RowChange {
    std::size_t row = 0;
    RowState state = RowState::Waiting;
    std::optional<Algorithm> algorithm;
    std::string digest;
    int error = 0;
};

// A file or a lane batch of files being read: rows [first, first + count).
struct RowsReading {
    std::size_t first = 0, count = 0;
    uint64_t done = 0, total = 0;
};

// What the thread made since the previous take.
struct RunNews {
    std::vector<ListRow> added;      // in row order, after the rows taken before
    std::vector<RowChange> changed;  // decided rows
    std::vector<RowsReading> reading;
    uint64_t bytesDone = 0;   // of the whole run
    uint64_t bytesTotal = 0;  // of every row listed so far
    bool listed = false;      // every row is there
    bool ended = false;
    int listError = 0;         // errno that stopped reading the list (or opening it)
    bool foreignList = false;  // the list is named for an algorithm nothing here computes
};

class CSumListRun {
public:
    struct Request {
        bool check = true;
        std::string list;                // check: the sum file
        std::vector<std::string> files;  // hash: files and folders, walked as corvane-sum -r does
        Algorithm algorithm = Algorithm::Sha256;  // hash
        unsigned threads = 0;                     // 0: one per core
        // Called on the run's thread when it ends, so the window need not wait for its next
        // look; never after the run object is gone.
        std::function<void()> ended;
    };

    explicit CSumListRun(Request request);
    // Stops the run; a thread stuck in a read is left to end on its own.
    ~CSumListRun();
    CSumListRun(const CSumListRun&) = delete;
    CSumListRun& operator=(const CSumListRun&) = delete;

    void Stop();
    RunNews Take();
    // Waits up to `ms` for the thread to end; whether it did.
    bool WaitEnded(int ms);

    struct Shared;

private:
    std::shared_ptr<Shared> shared;
};

// The folder a check resolves a list's names in, and the check's working folder while it runs:
// a list names its files relative to where it lies.
std::string FolderOfPath(const std::string& path);
