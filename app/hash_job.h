// One hash command running on a thread of its own. The dialog can ask it to stop, wait a short
// while for it, or abandon it: an abandoned job keeps its own state alive and reports to nobody,
// so neither Stop nor closing ever waits on a read that does not return (a stalled network mount,
// a terminal, a FIFO that appeared after the check).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "hash_commands.h"
#include "hash_request.h"
#include "verify_command.h"

class CHashJob {
public:
    // What the job hashes: the controls as they stood at the start, and the command to run.
    struct Input {
        bool file = true;
        std::string filePath;
        std::string text;
        int selectedIndex = -1;
        // What to verify against (the job sets its own `onRetry`).
        ExpectedSources sources;
    };
    // A digest of a length that fits several algorithms did not match with `failed`; `next` are
    // being tried, one more read each.
    struct Retry {
        Algorithm failed = Algorithm::Md5;
        std::vector<Algorithm> next;
    };
    // How it ended, read on the user-interface thread once Finished() holds.
    struct Result {
        std::string output;    // what the command wrote into the output box
        HashRequest request;   // the request as the command left it
        VerifiedRun verified;  // the verdict, and the list entry the output belongs to
    };

    // Starts `input`'s command over a copy of `request`. `finished` is called on the job's thread
    // when the command has returned, unless the job was abandoned first; without a thread (none
    // could be started) the command runs here and `finished` is called before this returns.
    CHashJob(const Input& input, const HashRequest& request, std::function<void()> finished);
    // Abandons the job if it still runs; joins it otherwise.
    ~CHashJob();
    CHashJob(const CHashJob&) = delete;
    CHashJob& operator=(const CHashJob&) = delete;

    // Sets the request's cancel flag: the command ends within one slice, unless a read blocks.
    void Cancel();
    // Waits up to `limit` for the command to return; true (and the thread joined) if it did.
    bool WaitFinished(std::chrono::milliseconds limit);
    bool Finished() const;
    const Input& GetInput() const;
    // Valid once Finished().
    const Result& GetResult() const;
    // Bytes read so far and the expected total (0 when unknown), from any thread.
    uint64_t BytesDone() const;
    uint64_t BytesTotal() const;
    // The latest retry, from any thread; none before the first.
    std::optional<Retry> Retrying() const;

    // Jobs abandoned while their command was still running, and still running now: the process
    // must not wait for them when it ends.
    static int AbandonedRunning();

private:
    struct State;
    void Abandon();

    std::shared_ptr<State> state;
    std::thread thread;
};
