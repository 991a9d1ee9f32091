// The two read loops under ComputeDigests (pipeline.cpp): one on the calling thread, and one with
// a reader thread and engine groups on threads of their own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "algorithms.h"
#include "file_source.h"
#include "pipeline.h"

class CoreBudget;
class DigestSet;
struct DigestForm;

// What one thread of engines reports to and listens to, slice by slice.
class SliceWatch {
public:
    SliceWatch(const ProgressObserver* observer, const std::atomic<bool>* flag, uint64_t expected)
        : progress(observer), cancel(flag), total(expected) {}

    bool Cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
    // Counts `bytes` more and tells the observer; false when the computation is to stop.
    bool Advance(uint64_t bytes);
    uint64_t Done() const { return done; }

private:
    const ProgressObserver* progress;
    const std::atomic<bool>* cancel;
    uint64_t total;
    uint64_t done = 0;
};

// Feeds `length` bytes to `set` in kSliceSize slices, each counted by `watch`; false when the
// watch says stop.
bool FeedSlices(DigestSet& set, const uint8_t* data, std::size_t length, SliceWatch& watch);

// Each loop computes the digests as `form` asks for them (hash/digester.h).
// Reads into one buffer of `bufferSize` bytes and hashes on the calling thread.
HashOutcome HashOnThisThread(ByteSource& source, std::span<const Algorithm> algorithms,
                             const DigestForm& form, std::size_t bufferSize, SliceWatch& watch);

// cksum's classic sum of `kind` (not None) as HashOnThisThread reads: its one digest the value's
// bytes, most significant first (four for the CRC, two for the others).
HashOutcome HashClassicSum(ByteSource& source, ClassicSum kind, SliceWatch& watch);

// BLAKE3 alone over a regular file that reads at offsets (ByteSource::ReadsAtOffsets): the
// subtrees of its tree on the calling thread and `extraThreads` more (hash/blake3_parallel.h);
// the watch hears of each round of pieces. In the mode `form` asks for.
HashOutcome HashBlake3Tree(ByteSource& source, uint64_t size, const DigestForm& form,
                           unsigned extraThreads, SliceWatch& watch);

// A reader thread fills a ring of kReadSize blocks while the algorithms, split into at most
// `groups` groups, hash on the calling thread and groups - 1 more; the watch sees the calling
// thread's slices. A block is refilled only once every group is done with it. When a thread
// cannot be started, everything runs on the calling thread instead.
HashOutcome HashOnThreads(ByteSource& source, std::span<const Algorithm> algorithms,
                          const DigestForm& form, std::size_t groups, SliceWatch& watch);

// For engines that hash faster than the kernel copies (ReaderThreadPays false): the copy is the
// work, so two threads share it. For one slower engine: the helper reads ahead, and the hashing
// thread reads a block itself rather than wait for a helper the host holds back. Both read
// kReadSize blocks at their offsets into a small ring, each taking the next block nobody has
// taken, and the calling thread hashes them in order.
// `source` must read at offsets (ReadsAtOffsets); `size` is its size when the computation starts (a
// file that shrinks ends early, one that grows is read on to its end). When the helper cannot be
// started, everything runs as HashOnThisThread.
HashOutcome HashWithSplitReads(ByteSource& source, std::span<const Algorithm> algorithms,
                               const DigestForm& form, uint64_t size, SliceWatch& watch);

// For the same engines without a second core, where the source maps (ByteSource::UseMapped) and
// the file has at least ByteSource::kMapFrom bytes: no copy, the file's pages hashed where the
// page cache holds them, a window at a time on the calling thread, for as long as that costs this
// thread less than reading (the trial windows); then read on at offsets, split with a helper
// thread when `cores` grants one by then, to the end and whatever the file grew by. A file cut
// short while mapped is a read failure (EIO). None when the file is shorter or its first window
// cannot be mapped: nothing has been hashed then.
std::optional<HashOutcome> HashMapped(ByteSource& source, std::span<const Algorithm> algorithms,
                                      const DigestForm& form, uint64_t size, CoreBudget& cores,
                                      SliceWatch& watch);
