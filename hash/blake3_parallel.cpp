// Blake3UpdateParallel: rounds of pieces, taken by the threads from a shared index.
#include "blake3_parallel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cerrno>
#include <thread>
#include <vector>

namespace {

// Pieces per round: enough that the threads' last pieces end close together, few enough that
// progress and cancelling come often.
constexpr std::size_t kRoundPieces = 64;

struct Piece {
    uint64_t counter;  // index of its first chunk
    uint64_t chunks;
    uint8_t cv[32];
};

// Pushes chunks [counter, end) into `context` as whole subtrees, a round of pieces at a time,
// hashed on this thread and `extraThreads` more, each with its kBlake3PieceBytes of `buffers`.
// `end` is a multiple of kBlake3PieceChunks or the input's last whole chunk, so that the pieces
// come out as they would for the whole input at once.
// When `spent` is given, the extra threads add the CPU time they took to it, in nanoseconds.
Blake3Parallel PushSubtrees(Blake3Context* context, uint64_t& counter, uint64_t end,
                            unsigned extraThreads, std::vector<uint8_t>& buffers,
                            const Blake3PieceFetch& fetch, const Blake3Advance& advance, int& error,
                            std::atomic<uint64_t>* spent = nullptr) {
    std::array<Piece, kRoundPieces> pieces;
    while (counter < end) {
        std::size_t count = 0;
        for (; count < kRoundPieces && counter < end; ++count) {
            uint64_t chunks = std::min(kBlake3PieceChunks, std::bit_floor(end - counter));
            if (counter != 0) chunks = std::min(chunks, counter & (~counter + 1));
            pieces[count].counter = counter;
            pieces[count].chunks = chunks;
            counter += chunks;
        }
        std::atomic<std::size_t> next{0};
        std::atomic<int> failure{0};
        const auto work = [&](uint8_t* buffer, std::atomic<uint64_t>* timing) {
            struct Count {
                std::atomic<uint64_t>* to;
                uint64_t start = to != nullptr ? ThreadCpuNanoseconds() : 0;
                ~Count() {
                    if (to != nullptr) to->fetch_add(ThreadCpuNanoseconds() - start);
                }
            } counted{timing};
            for (std::size_t i; (i = next.fetch_add(1)) < count;) {
                if (failure.load(std::memory_order_relaxed) != 0) return;
                Piece& p = pieces[i];
                int e = 0;
                const uint8_t* bytes =
                    fetch(p.counter * kBlake3ChunkSize,
                          static_cast<std::size_t>(p.chunks) * kBlake3ChunkSize, buffer, e);
                if (bytes == nullptr) {
                    failure.store(e != 0 ? e : EIO);
                    return;
                }
                Blake3SubtreeCv(context, bytes, p.chunks, p.counter, p.cv);
            }
        };
        std::vector<std::thread> threads;
        for (unsigned t = 1; t <= extraThreads && t < count; ++t)
            threads.emplace_back(work, buffers.data() + t * kBlake3PieceBytes, spent);
        work(buffers.data(), nullptr);
        for (auto& thread : threads) thread.join();
        if (failure.load() != 0) {
            error = failure.load();
            return Blake3Parallel::Failed;
        }
        for (std::size_t i = 0; i < count; ++i)
            Blake3PushSubtree(context, pieces[i].cv, pieces[i].chunks);
        if (!advance((counter - pieces[0].counter) * kBlake3ChunkSize))
            return Blake3Parallel::Stopped;
    }
    return Blake3Parallel::Complete;
}

// The chunk of the last byte is fed by Blake3Update: it or a parent above it is the root.
uint64_t ChunksBeforeTheLast(uint64_t length) {
    return length == 0 ? 0 : (length - 1) / kBlake3ChunkSize;
}

Blake3Parallel FeedTheLastChunk(Blake3Context* context, uint64_t length,
                                const Blake3PieceFetch& fetch, uint8_t* buffer,
                                const Blake3Advance& advance, int& error) {
    const uint64_t offset = ChunksBeforeTheLast(length) * kBlake3ChunkSize;
    const auto tail = static_cast<std::size_t>(length - offset);
    if (tail == 0) return Blake3Parallel::Complete;
    const uint8_t* bytes = fetch(offset, tail, buffer, error);
    if (bytes == nullptr) {
        if (error == 0) error = EIO;
        return Blake3Parallel::Failed;
    }
    Blake3Update(context, bytes, tail);
    return advance(tail) ? Blake3Parallel::Complete : Blake3Parallel::Stopped;
}

// Reads into the thread's buffer.
Blake3PieceFetch ReadFetch(ByteSource& source) {
    return
        [&source](uint64_t offset, std::size_t length, uint8_t* buffer, int& e) -> const uint8_t* {
            for (std::size_t done = 0; done < length;) {
                const std::ptrdiff_t got =
                    source.ReadAt(buffer + done, length - done, offset + done, e);
                if (got <= 0) {
                    if (got == 0) e = EIO;  // the file shrank under us
                    return nullptr;
                }
                done += static_cast<std::size_t>(got);
            }
            return buffer;
        };
}

}  // namespace

Blake3Parallel Blake3UpdateParallel(Blake3Context* context, uint64_t length, unsigned extraThreads,
                                    const Blake3PieceFetch& fetch, const Blake3Advance& advance,
                                    int& error) {
    std::vector<uint8_t> buffers((std::size_t{extraThreads} + 1) * kBlake3PieceBytes);
    uint64_t counter = 0;
    const Blake3Parallel pushed = PushSubtrees(context, counter, ChunksBeforeTheLast(length),
                                               extraThreads, buffers, fetch, advance, error);
    if (pushed != Blake3Parallel::Complete) return pushed;
    return FeedTheLastChunk(context, length, fetch, buffers.data(), advance, error);
}

Blake3Parallel Blake3UpdateFromSource(Blake3Context* context, ByteSource& source, uint64_t size,
                                      unsigned extraThreads, const Blake3Advance& advance,
                                      int& error) {
    const Blake3PieceFetch read = ReadFetch(source);
    const uint64_t covered = ChunksBeforeTheLast(size);
    std::vector<uint8_t> buffers((std::size_t{extraThreads} + 1) * kBlake3PieceBytes);
    // Window by window, each a whole number of pieces, mapped or read into the threads' buffers
    // (ByteSource::kMapWindow); reads take over where a window cannot be mapped. What a byte
    // costs the threads, mapped and read.
    MapTrials trials;
    uint64_t counter = 0;
    for (int window = 0; size >= ByteSource::kMapFrom && counter < covered; ++window) {
        if (!trials.MapsOn(window)) break;
        const uint64_t end = std::min(covered, counter + kBlake3MapWindowChunks);
        const uint64_t offset = counter * kBlake3ChunkSize;
        const auto bytes = static_cast<double>((end - counter) * kBlake3ChunkSize);
        std::atomic<uint64_t> spent{0};
        std::atomic<uint64_t>* const timing = MapTrials::Timed(window) ? &spent : nullptr;
        // This thread's time, and the extra threads' in `spent`.
        const uint64_t start = timing != nullptr ? ThreadCpuNanoseconds() : 0;
        const auto cost = [&] {
            return static_cast<double>(spent.load() + ThreadCpuNanoseconds() - start) / bytes;
        };
        Blake3Parallel pushed = Blake3Parallel::Complete;
        if (MapTrials::Reads(window)) {
            pushed = PushSubtrees(context, counter, end, extraThreads, buffers, read, advance,
                                  error, timing);
            if (pushed != Blake3Parallel::Complete) return pushed;
            trials.Note(window, cost());
            continue;
        }
        const auto mapped = source.UseMapped(
            offset, static_cast<std::size_t>((end - counter) * kBlake3ChunkSize),
            [&](const uint8_t* view, std::size_t) {
                const Blake3PieceFetch fetch = [view, offset](uint64_t at, std::size_t, uint8_t*,
                                                              int&) {
                    return view + (at - offset);
                };
                pushed = PushSubtrees(context, counter, end, extraThreads, buffers, fetch, advance,
                                      error, timing);
                return pushed == Blake3Parallel::Complete;
            },
            error);
        if (mapped == ByteSource::Mapped::Unmappable) break;
        if (mapped == ByteSource::Mapped::CutShort) return Blake3Parallel::Failed;
        if (pushed != Blake3Parallel::Complete) return pushed;
        if (timing != nullptr) trials.Note(window, cost());
    }
    const Blake3Parallel pushed =
        PushSubtrees(context, counter, covered, extraThreads, buffers, read, advance, error);
    if (pushed != Blake3Parallel::Complete) return pushed;
    return FeedTheLastChunk(context, size, read, buffers.data(), advance, error);
}
