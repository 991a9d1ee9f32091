// The read loops: on the calling thread, or with a reader thread filling a ring of blocks that
// every engine group hashes in turn.
#include "read_loops.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "digester.h"
#include "schedule.h"

bool SliceWatch::Advance(uint64_t bytes) {
    done += bytes;
    if (progress != nullptr && *progress) (*progress)(done, total);
    return !Cancelled();
}

bool FeedSlices(DigestSet& set, const uint8_t* data, std::size_t length, SliceWatch& watch) {
    for (std::size_t at = 0; at < length; at += kSliceSize) {
        const std::size_t slice = std::min(kSliceSize, length - at);
        set.Update(data + at, slice);
        if (!watch.Advance(slice)) return false;
    }
    return true;
}

HashOutcome HashOnThisThread(ByteSource& source, std::span<const Algorithm> algorithms,
                             std::size_t digestBytes, std::size_t bufferSize, SliceWatch& watch) {
    std::vector<uint8_t> buffer(bufferSize);
    DigestSet set(algorithms, digestBytes);
    for (;;) {
        if (watch.Cancelled()) return HashOutcome::Failure(HashStatus::Cancelled, 0, watch.Done());
        int error = 0;
        const std::ptrdiff_t got = source.Read(buffer.data(), buffer.size(), error);
        // Only a read that delivers nothing is the end; a short one is not.
        if (got == 0) break;
        if (got < 0 || static_cast<std::size_t>(got) > buffer.size())
            return HashOutcome::Failure(HashStatus::ReadFailed, error != 0 ? error : EIO,
                                        watch.Done());
        if (!FeedSlices(set, buffer.data(), static_cast<std::size_t>(got), watch))
            return HashOutcome::Failure(HashStatus::Cancelled, 0, watch.Done());
    }
    HashOutcome outcome;
    outcome.bytesHashed = watch.Done();
    outcome.digests = set.Finish();
    return outcome;
}

namespace {

// The hand-over between the reader and the groups. Block n sits in slot n % kSlots; `pending`
// counts the groups still hashing a slot, and the reader waits for 0 before refilling it.
class Ring {
public:
    static constexpr std::size_t kSlots = 4;

    explicit Ring(unsigned groups) : groupCount(groups), memory(kSlots * kReadSize) {}

    void Produce(ByteSource& source) {
        for (uint64_t n = 0;; ++n) {
            const std::size_t slot = n % kSlots;
            {
                std::unique_lock lock(mutex);
                freed.wait(lock, [&] { return pending[slot] == 0 || abandoned; });
                if (abandoned) return;
            }
            int error = 0;
            const std::ptrdiff_t got = source.Read(Slot(slot), kReadSize, error);
            const bool more = got > 0 && static_cast<std::size_t>(got) <= kReadSize;
            {
                std::lock_guard lock(mutex);
                if (more) {
                    blockLength[slot] = static_cast<std::size_t>(got);
                    pending[slot] = groupCount;
                    published = n + 1;
                } else {
                    readError = got == 0 ? 0 : (error != 0 ? error : EIO);
                    ended = true;
                }
            }
            ready.notify_all();
            if (!more) return;
        }
    }

    // Hashes every block read before the end or an error; false when the watch or an abandon
    // stopped it first.
    bool Consume(DigestSet& set, SliceWatch& watch) {
        for (uint64_t n = 0;; ++n) {
            const std::size_t slot = n % kSlots;
            std::size_t length = 0;
            {
                std::unique_lock lock(mutex);
                ready.wait(lock, [&] { return published > n || ended || abandoned; });
                if (abandoned) return false;
                if (published <= n) return true;
                length = blockLength[slot];
            }
            // The reader leaves the slot alone until this group has let it go.
            if (!FeedSlices(set, Slot(slot), length, watch)) return false;
            bool last = false;
            {
                std::lock_guard lock(mutex);
                last = --pending[slot] == 0;
            }
            if (last) freed.notify_one();
        }
    }

    // Stops every thread at its next step: the input is not wanted any more.
    void Abandon() {
        {
            std::lock_guard lock(mutex);
            abandoned.store(true, std::memory_order_relaxed);
        }
        ready.notify_all();
        freed.notify_all();
    }
    // For the groups beyond the first, between their slices.
    const std::atomic<bool>* StopFlag() const { return &abandoned; }
    int ReadError() const { return readError; }  // read once every thread has been joined

private:
    uint8_t* Slot(std::size_t slot) { return memory.data() + slot * kReadSize; }

    const unsigned groupCount;
    std::vector<uint8_t> memory;
    std::size_t blockLength[kSlots] = {};
    unsigned pending[kSlots] = {};
    std::mutex mutex;
    std::condition_variable ready, freed;
    uint64_t published = 0;
    bool ended = false;
    std::atomic<bool> abandoned{false};  // written under the mutex
    int readError = 0;
};

}  // namespace

HashOutcome HashOnThreads(ByteSource& source, std::span<const Algorithm> algorithms,
                          std::size_t digestBytes, std::size_t groups, SliceWatch& watch) {
    const auto split = SplitByCost(algorithms, groups);
    std::vector<DigestSet> sets;
    sets.reserve(split.size());
    for (const auto& group : split) {
        std::vector<Algorithm> chosen;
        for (std::size_t index : group) chosen.push_back(algorithms[index]);
        sets.emplace_back(chosen, digestBytes);
    }

    Ring ring(static_cast<unsigned>(sets.size()));
    bool completed = false;
    {
        std::vector<std::jthread> threads;
        threads.reserve(sets.size());
        try {
            // The reader last: until it runs nothing is read, so a failure to start any of
            // these leaves the whole input to the calling thread.
            for (std::size_t g = 1; g < sets.size(); ++g)
                threads.emplace_back([&ring, &set = sets[g], stop = ring.StopFlag()] {
                    SliceWatch quiet(nullptr, stop, 0);
                    ring.Consume(set, quiet);
                });
            threads.emplace_back([&] { ring.Produce(source); });
        } catch (const std::system_error&) {
            ring.Abandon();
            threads.clear();  // joined
            return HashOnThisThread(source, algorithms, digestBytes, kReadSize, watch);
        }
        completed = ring.Consume(sets[0], watch);
        if (!completed) ring.Abandon();
    }  // joined

    if (!completed) return HashOutcome::Failure(HashStatus::Cancelled, 0, watch.Done());
    if (ring.ReadError() != 0)
        return HashOutcome::Failure(HashStatus::ReadFailed, ring.ReadError(), watch.Done());
    HashOutcome outcome;
    outcome.bytesHashed = watch.Done();
    outcome.digests.resize(algorithms.size());
    for (std::size_t g = 0; g < sets.size(); ++g) {
        std::vector<std::string> digests = sets[g].Finish();
        for (std::size_t k = 0; k < digests.size(); ++k)
            outcome.digests[split[g][k]] = std::move(digests[k]);
    }
    return outcome;
}
