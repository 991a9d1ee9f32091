// A hash command on its own thread: stop, bounded wait, abandon.
#include "hash_job.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

namespace {

std::atomic<int> abandonedRunning{0};

// The controls as the job's input gives them; the output box's new text is kept.
class ControlsSnapshot : public DialogControls {
public:
    explicit ControlsSnapshot(const CHashJob::Input& from) : input(from) {}
    std::string GetControlText(int id) const override {
        if (id == kFilePathBoxId) return input.filePath;
        if (id == kStringBoxId) return input.text;
        if (id == kOutputBoxId) return output;
        return std::string();
    }
    void SetControlText(int id, const std::string& value) override {
        if (id == kOutputBoxId) output = value;
    }
    int GetSelectedIndex() const override { return input.selectedIndex; }

    std::string output;

private:
    const CHashJob::Input& input;
};

}  // namespace

// Shared by the job object and its thread, so an abandoned thread still has everything it uses.
struct CHashJob::State {
    Input input;
    std::atomic<bool> cancel{false};
    std::atomic<uint64_t> done{0};
    std::atomic<uint64_t> total{0};
    Result result;

    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    bool abandoned = false;
    std::function<void()> notify;  // dropped when the job is abandoned
    std::optional<Retry> retry;    // under the mutex

    void Run() {
        ControlsSnapshot controls(input);
        ExpectedSources sources = input.sources;
        sources.onRetry = [this](Algorithm failed, std::span<const Algorithm> next) {
            const std::lock_guard<std::mutex> lock(mutex);
            retry = Retry{failed, std::vector<Algorithm>(next.begin(), next.end())};
        };
        result.verified = input.file ? OnHashFileVerifying(controls, result.request, sources)
                                     : OnHashStringVerifying(controls, result.request, sources);
        result.output = std::move(controls.output);
        // The request goes back to the dialog; it must not point into this state.
        result.request.SetProgressObserver(ProgressObserver());
        result.request.SetCancelFlag(nullptr);

        const std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        if (abandoned) {
            abandonedRunning.fetch_sub(1);
        } else if (notify) {
            notify();  // under the lock: Abandon cannot slip in between the check and the call
        }
        ended.notify_all();
    }
};

CHashJob::CHashJob(const Input& input, const HashRequest& request, std::function<void()> finished)
    : state(std::make_shared<State>()) {
    state->input = input;
    state->notify = std::move(finished);
    state->result.request = request;
    State* shared = state.get();
    state->result.request.SetCancelFlag(&shared->cancel);
    state->result.request.SetProgressObserver([shared](uint64_t done, uint64_t total) {
        shared->done.store(done, std::memory_order_relaxed);
        shared->total.store(total, std::memory_order_relaxed);
    });
    try {
        thread = std::thread([keep = state] { keep->Run(); });
    } catch (const std::system_error&) {
        state->Run();  // no thread to be had: hash here, as the dialog once always did
    }
}

CHashJob::~CHashJob() {
    if (!thread.joinable()) return;
    if (Finished()) {
        thread.join();
    } else {
        Abandon();
    }
}

void CHashJob::Cancel() {
    state->cancel.store(true);
}

bool CHashJob::WaitFinished(std::chrono::milliseconds limit) {
    {
        std::unique_lock<std::mutex> lock(state->mutex);
        if (!state->ended.wait_for(lock, limit, [this] { return state->finished; })) return false;
    }
    if (thread.joinable()) thread.join();
    return true;
}

bool CHashJob::Finished() const {
    const std::lock_guard<std::mutex> lock(state->mutex);
    return state->finished;
}

const CHashJob::Input& CHashJob::GetInput() const {
    return state->input;
}

const CHashJob::Result& CHashJob::GetResult() const {
    return state->result;
}

uint64_t CHashJob::BytesDone() const {
    return state->done.load(std::memory_order_relaxed);
}

uint64_t CHashJob::BytesTotal() const {
    return state->total.load(std::memory_order_relaxed);
}

std::optional<CHashJob::Retry> CHashJob::Retrying() const {
    const std::lock_guard<std::mutex> lock(state->mutex);
    return state->retry;
}

int CHashJob::AbandonedRunning() {
    return abandonedRunning.load();
}

void CHashJob::Abandon() {
    {
        const std::lock_guard<std::mutex> lock(state->mutex);
        if (!state->finished) {
            state->abandoned = true;
            state->notify = nullptr;
            abandonedRunning.fetch_add(1);
            thread.detach();
            return;
        }
    }
    thread.join();  // it ended while we looked
}
