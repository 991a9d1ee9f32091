// The read loops: on the calling thread, or with a reader thread filling a ring of blocks that
// every engine group hashes in turn.
#include "read_loops.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "blake3_parallel.h"
#include "bytes.h"
#include "classic_sums.h"
#include "core_budget.h"
#include "digest_text.h"
#include "digester.h"
#include "schedule.h"

bool SliceWatch::Advance(uint64_t bytes) {
    done += bytes;
    if (progress != nullptr && *progress) (*progress)(done, total);
    return !Cancelled();
}

namespace {

template <typename Feed>
bool FeedSlicesTo(Feed&& feed, const uint8_t* data, std::size_t length, SliceWatch& watch) {
    for (std::size_t at = 0; at < length; at += kSliceSize) {
        const std::size_t slice = std::min(kSliceSize, length - at);
        feed(data + at, slice);
        if (!watch.Advance(slice)) return false;
    }
    return true;
}

// Reads through `buffer` until a read gives nothing, every slice to `feed`: the outcome, no
// digests yet. `read(buffer, capacity, error)` reads as ByteSource::Read does.
template <typename Read, typename Feed>
HashOutcome ReadToTheEnd(Read&& read, std::vector<uint8_t>& buffer, SliceWatch& watch,
                         Feed&& feed) {
    for (;;) {
        if (watch.Cancelled()) return HashOutcome::Failure(HashStatus::Cancelled, 0, watch.Done());
        int error = 0;
        const std::ptrdiff_t got = read(buffer.data(), buffer.size(), error);
        // Only a read that delivers nothing is the end; a short one is not.
        if (got == 0) break;
        if (got < 0 || static_cast<std::size_t>(got) > buffer.size())
            return HashOutcome::Failure(HashStatus::ReadFailed, error != 0 ? error : EIO,
                                        watch.Done());
        if (!FeedSlicesTo(feed, buffer.data(), static_cast<std::size_t>(got), watch))
            return HashOutcome::Failure(HashStatus::Cancelled, 0, watch.Done());
    }
    HashOutcome outcome;
    outcome.bytesHashed = watch.Done();
    return outcome;
}

// `source` read on from where it stands.
auto ReadsOf(ByteSource& source) {
    return [&source](uint8_t* buffer, std::size_t capacity, int& error) {
        return source.Read(buffer, capacity, error);
    };
}

auto UpdatesOf(DigestSet& set) {
    return [&set](const uint8_t* data, std::size_t length) { set.Update(data, length); };
}

}  // namespace

bool FeedSlices(DigestSet& set, const uint8_t* data, std::size_t length, SliceWatch& watch) {
    return FeedSlicesTo(UpdatesOf(set), data, length, watch);
}

HashOutcome HashBlake3Tree(ByteSource& source, uint64_t size, const DigestForm& form,
                           unsigned extraThreads, SliceWatch& watch) {
    Blake3Context context;
    Blake3Start(&context, form.blake3);
    int error = 0;
    const Blake3Parallel result = Blake3UpdateFromSource(
        &context, source, size, extraThreads,
        [&watch](uint64_t bytes) { return watch.Advance(bytes); }, error);
    if (result == Blake3Parallel::Stopped)
        return HashOutcome::Failure(HashStatus::Cancelled, 0, watch.Done());
    if (result == Blake3Parallel::Failed)
        return HashOutcome::Failure(HashStatus::ReadFailed, error, watch.Done());
    std::vector<uint8_t> digest(form.digestBytes != 0 ? form.digestBytes : kBlake3OutSize);
    Blake3Final(&context, digest.data(), digest.size());
    HashOutcome outcome;
    outcome.bytesHashed = size;
    outcome.digests = {DigestText(digest.data(), digest.size())};
    return outcome;
}

HashOutcome HashOnThisThread(ByteSource& source, std::span<const Algorithm> algorithms,
                             const DigestForm& form, std::size_t bufferSize, SliceWatch& watch) {
    std::vector<uint8_t> buffer(bufferSize);
    DigestSet set(algorithms, form);
    HashOutcome outcome = ReadToTheEnd(ReadsOf(source), buffer, watch, UpdatesOf(set));
    if (outcome.ok()) outcome.digests = set.Finish();
    return outcome;
}

HashOutcome HashClassicSum(ByteSource& source, ClassicSum kind, SliceWatch& watch) {
    PosixCrcContext crc;
    BsdSumContext bsd;
    SysvSumContext sysv;
    std::vector<uint8_t> buffer(kReadSize);
    HashOutcome outcome =
        ReadToTheEnd(ReadsOf(source), buffer, watch, [&](const uint8_t* data, std::size_t length) {
            if (kind == ClassicSum::Crc) PosixCrcUpdate(&crc, data, length);
            if (kind == ClassicSum::Bsd) BsdSumUpdate(&bsd, data, length);
            if (kind == ClassicSum::Sysv) SysvSumUpdate(&sysv, data, length);
        });
    if (!outcome.ok()) return outcome;
    uint8_t value[4];
    StoreBe32(value, kind == ClassicSum::Crc   ? PosixCrcFinal(&crc)
                     : kind == ClassicSum::Bsd ? bsd.sum
                                               : SysvSumFinal(&sysv));
    const std::size_t bytes = kind == ClassicSum::Crc ? 4 : 2;
    outcome.digests = {DigestText(value + 4 - bytes, bytes)};
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
                          const DigestForm& form, std::size_t groups, SliceWatch& watch) {
    const auto split = SplitByCost(algorithms, groups);
    std::vector<DigestSet> sets;
    sets.reserve(split.size());
    for (const auto& group : split) {
        std::vector<Algorithm> chosen;
        for (std::size_t index : group) chosen.push_back(algorithms[index]);
        sets.emplace_back(chosen, form);
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
            return HashOnThisThread(source, algorithms, form, kReadSize, watch);
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

namespace {

// Reads on at `offset` until a read gives nothing: the rest of a file, or whatever it grew by
// since its size was taken; then the digests.
HashOutcome ReadOnToTheEnd(ByteSource& source, DigestSet& set, uint64_t offset,
                           std::vector<uint8_t>& buffer, SliceWatch& watch) {
    const auto readOn = [&](uint8_t* into, std::size_t capacity, int& error) {
        const std::ptrdiff_t got = source.ReadAt(into, capacity, offset, error);
        if (got > 0) offset += static_cast<uint64_t>(got);
        return got;
    };
    HashOutcome outcome = ReadToTheEnd(readOn, buffer, watch, UpdatesOf(set));
    if (outcome.ok()) outcome.digests = set.Finish();
    return outcome;
}

// The blocks of the split reads (kReadSize each, counted from where they start): either thread
// takes the lowest block nobody has taken and reads it into slot n % kSlots, once the calling
// thread has hashed the block kSlots before it. Whoever is free reads, so the helper takes more
// of the copy while the calling thread hashes. A helper the scheduler holds back mid-read (the
// machine is shared) does not hold the calling thread: after a short wait it reads that block
// again into a buffer of its own and goes on.
class SharedBlocks {
public:
    static constexpr std::size_t kSlots = 4;

    SharedBlocks(ByteSource& from, uint64_t start, uint64_t size)
        : source(from), base(start), fileSize(size), memory((kSlots + 1) * kReadSize) {}

    // The helper: takes and reads blocks until none is left, a read fails or comes short, or
    // Abandon. It sleeps until half the ring is free, so that it is woken seldom.
    void Help() {
        std::unique_lock lock(mutex);
        for (;;) {
            helperWaits = true;
            freed.wait(lock, [&] { return abandoned || !Left() || HalfFree(); });
            helperWaits = false;
            if (abandoned || !Left()) return;
            while (!abandoned && Left() && CanTake()) ReadNext(lock, true);
        }
    }

    // Block n's bytes: the read's count (-1 with `error` set).
    std::ptrdiff_t Take(uint64_t n, const uint8_t*& data, int& error) {
        std::unique_lock lock(mutex);
        for (;;) {
            if (const std::ptrdiff_t got = Published(n, data, error); got != kNone) return got;
            if (!Left() || !CanTake()) break;
            ReadNext(lock, false);
        }
        // The helper has it (or a short read stopped the taking): a moment for it to come.
        if (helperBlock == n) {
            lock.unlock();
            const auto until = std::chrono::steady_clock::now() + kPatience;
            while (published.load(std::memory_order_acquire) <= n &&
                   std::chrono::steady_clock::now() < until)
                std::this_thread::yield();
            lock.lock();
            if (const std::ptrdiff_t got = Published(n, data, error); got != kNone) return got;
        }
        if (taken == n) taken = n + 1;  // blocks before n are hashed: n is the next to take
        lock.unlock();
        uint8_t* own = memory.data() + kSlots * kReadSize;
        data = own;
        const auto want =
            static_cast<std::size_t>(std::min<uint64_t>(kReadSize, fileSize - Offset(n)));
        return source.ReadAt(own, want, Offset(n), error);
    }

    void Release(uint64_t n) {
        bool wake = false;
        {
            std::lock_guard lock(mutex);
            released = n + 1;
            wake = helperWaits && HalfFree();
        }
        if (wake) freed.notify_one();
    }

    void Abandon() {
        {
            std::lock_guard lock(mutex);
            abandoned = true;
        }
        freed.notify_one();
    }

private:
    static constexpr std::ptrdiff_t kNone = -2;
    // About as long as a block's read takes: a helper that is running has it by then.
    static constexpr auto kPatience = std::chrono::microseconds(50);

    uint64_t Offset(uint64_t n) const { return base + n * uint64_t{kReadSize}; }
    // Whether a block is left to take: none past the known size or a failed or short read.
    bool Left() const { return !stopped && Offset(taken) < fileSize; }
    // Whether the next block's slot is free: its block before hashed, and not being read into
    // by a helper that was waited for in vain.
    bool CanTake() const {
        return taken < released + kSlots &&
               (helperBlock == kNoBlock || helperBlock % kSlots != taken % kSlots);
    }
    bool HalfFree() const { return taken <= released + kSlots / 2; }
    uint8_t* Slot(uint64_t n) { return memory.data() + (n % kSlots) * kReadSize; }
    std::ptrdiff_t Published(uint64_t n, const uint8_t*& data, int& error) {
        if (readUpTo[n % kSlots] != n + 1) return kNone;
        data = Slot(n);
        error = errors[n % kSlots];
        return lengths[n % kSlots];
    }

    // Takes the next block and reads it with the lock let go.
    void ReadNext(std::unique_lock<std::mutex>& lock, bool helping) {
        const uint64_t n = taken++;
        const auto want =
            static_cast<std::size_t>(std::min<uint64_t>(kReadSize, fileSize - Offset(n)));
        if (helping) helperBlock = n;
        lock.unlock();
        int error = 0;
        const std::ptrdiff_t got = source.ReadAt(Slot(n), want, Offset(n), error);
        lock.lock();
        if (helping) helperBlock = kNoBlock;
        lengths[n % kSlots] = got;
        errors[n % kSlots] = error;
        readUpTo[n % kSlots] = n + 1;
        if (got != static_cast<std::ptrdiff_t>(want)) stopped = true;
        if (helping) published.store(n + 1, std::memory_order_release);
    }

    static constexpr uint64_t kNoBlock = UINT64_MAX;
    ByteSource& source;
    const uint64_t base;
    const uint64_t fileSize;
    std::vector<uint8_t> memory;  // the ring, then the calling thread's own block
    std::ptrdiff_t lengths[kSlots] = {};
    int errors[kSlots] = {};
    uint64_t readUpTo[kSlots] = {};  // 1 + the block a slot holds, 0 while it holds none
    std::mutex mutex;
    std::condition_variable freed;
    uint64_t taken = 0, released = 0;
    uint64_t helperBlock = kNoBlock;     // the block the helper is reading
    std::atomic<uint64_t> published{0};  // 1 + the last block the helper read
    bool stopped = false, abandoned = false, helperWaits = false;
};

}  // namespace

namespace {

// The split reads of HashWithSplitReads from `offset` on, into `set`; none when the helper
// cannot be started (nothing has been read then).
std::optional<HashOutcome> SplitReadsFrom(ByteSource& source, DigestSet& set, uint64_t offset,
                                          uint64_t size, SliceWatch& watch) {
    SharedBlocks blocks(source, offset, size);
    std::jthread helper;
    try {
        helper = std::jthread([&blocks] { blocks.Help(); });
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    // Whichever way this returns, the helper stops before `blocks` goes.
    struct StopHelper {
        SharedBlocks& shared;
        std::jthread& thread;
        ~StopHelper() {
            shared.Abandon();
            thread.join();
        }
    } stop{blocks, helper};

    const auto fail = [&](HashStatus status, int error) {
        return HashOutcome::Failure(status, error, watch.Done());
    };
    for (uint64_t n = 0; offset < size; ++n) {
        if (watch.Cancelled()) return fail(HashStatus::Cancelled, 0);
        const auto want = static_cast<std::size_t>(std::min<uint64_t>(kReadSize, size - offset));
        const uint8_t* data = nullptr;
        int error = 0;
        const std::ptrdiff_t got = blocks.Take(n, data, error);
        if (got < 0 || static_cast<std::size_t>(got) > want)
            return fail(HashStatus::ReadFailed, error != 0 ? error : EIO);
        if (!FeedSlices(set, data, static_cast<std::size_t>(got), watch))
            return fail(HashStatus::Cancelled, 0);
        blocks.Release(n);
        offset += static_cast<uint64_t>(got);
        if (static_cast<std::size_t>(got) < want) break;  // the file shrank
    }
    std::vector<uint8_t> buffer(kReadSize);
    return ReadOnToTheEnd(source, set, offset, buffer, watch);
}

}  // namespace

HashOutcome HashWithSplitReads(ByteSource& source, std::span<const Algorithm> algorithms,
                               const DigestForm& form, uint64_t size, SliceWatch& watch) {
    {
        DigestSet set(algorithms, form);
        if (auto outcome = SplitReadsFrom(source, set, 0, size, watch)) return *std::move(outcome);
    }
    return HashOnThisThread(source, algorithms, form, kReadSize, watch);
}

std::optional<HashOutcome> HashMapped(ByteSource& source, std::span<const Algorithm> algorithms,
                                      const DigestForm& form, uint64_t size, CoreBudget& cores,
                                      SliceWatch& watch) {
    if (size < ByteSource::kMapFrom) return std::nullopt;
    DigestSet set(algorithms, form);
    std::vector<uint8_t> buffer(kReadSize);
    const auto fail = [&](HashStatus status, int error) {
        return HashOutcome::Failure(status, error, watch.Done());
    };
    // What a byte costs this thread, mapped and read.
    MapTrials trials;
    uint64_t offset = 0;
    for (int window = 0; offset < size; ++window) {
        if (!trials.MapsOn(window)) break;
        if (watch.Cancelled()) return fail(HashStatus::Cancelled, 0);
        const auto length =
            static_cast<std::size_t>(std::min<uint64_t>(ByteSource::kMapWindow, size - offset));
        const uint64_t start = ThreadCpuNanoseconds();
        const auto cost = [&] {
            return static_cast<double>(ThreadCpuNanoseconds() - start) /
                   static_cast<double>(length);
        };
        if (MapTrials::Reads(window)) {
            for (const uint64_t end = offset + length; offset < end;) {
                int error = 0;
                const auto want =
                    static_cast<std::size_t>(std::min<uint64_t>(buffer.size(), end - offset));
                const std::ptrdiff_t got = source.ReadAt(buffer.data(), want, offset, error);
                if (got < 0 || static_cast<std::size_t>(got) > want)
                    return fail(HashStatus::ReadFailed, error != 0 ? error : EIO);
                if (!FeedSlices(set, buffer.data(), static_cast<std::size_t>(got), watch))
                    return fail(HashStatus::Cancelled, 0);
                offset += static_cast<uint64_t>(got);
                if (static_cast<std::size_t>(got) < want)  // the file shrank
                    return ReadOnToTheEnd(source, set, offset, buffer, watch);
            }
            trials.Note(window, cost());
            continue;
        }
        int error = 0;
        const auto mapped = source.UseMapped(
            offset, length,
            [&](const uint8_t* bytes, std::size_t count) {
                return FeedSlices(set, bytes, count, watch);
            },
            error);
        if (mapped == ByteSource::Mapped::Stopped) return fail(HashStatus::Cancelled, 0);
        if (mapped == ByteSource::Mapped::CutShort) return fail(HashStatus::ReadFailed, error);
        if (mapped == ByteSource::Mapped::Unmappable) {
            if (offset == 0) return std::nullopt;
            break;
        }
        if (MapTrials::Timed(window)) trials.Note(window, cost());
        offset += length;
    }
    if (offset < size) {
        CoreLease lease(cores, 0, 1);
        if (lease.Extra() > 0)
            if (auto outcome = SplitReadsFrom(source, set, offset, size, watch))
                return *std::move(outcome);
    }
    return ReadOnToTheEnd(source, set, offset, buffer, watch);
}
