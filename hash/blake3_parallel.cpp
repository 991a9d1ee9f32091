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

}  // namespace

Blake3Parallel Blake3UpdateParallel(Blake3Context* context, uint64_t length, unsigned extraThreads,
                                    const Blake3PieceFetch& fetch, const Blake3Advance& advance,
                                    int& error) {
    // The chunk of the last byte is fed by Blake3Update: it or a parent above it is the root.
    const uint64_t covered = length == 0 ? 0 : (length - 1) / kBlake3ChunkSize;
    std::vector<uint8_t> buffers((std::size_t{extraThreads} + 1) * kBlake3PieceBytes);
    std::array<Piece, kRoundPieces> pieces;
    for (uint64_t counter = 0; counter < covered;) {
        std::size_t count = 0;
        for (; count < kRoundPieces && counter < covered; ++count) {
            uint64_t chunks = std::min(kBlake3PieceChunks, std::bit_floor(covered - counter));
            if (counter != 0) chunks = std::min(chunks, counter & (~counter + 1));
            pieces[count].counter = counter;
            pieces[count].chunks = chunks;
            counter += chunks;
        }
        std::atomic<std::size_t> next{0};
        std::atomic<int> failure{0};
        const auto work = [&](uint8_t* buffer) {
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
            threads.emplace_back(work, buffers.data() + t * kBlake3PieceBytes);
        work(buffers.data());
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
    const auto tail = static_cast<std::size_t>(length - covered * kBlake3ChunkSize);
    if (tail > 0) {
        const uint8_t* bytes = fetch(covered * kBlake3ChunkSize, tail, buffers.data(), error);
        if (bytes == nullptr) {
            if (error == 0) error = EIO;
            return Blake3Parallel::Failed;
        }
        Blake3Update(context, bytes, tail);
        if (!advance(tail)) return Blake3Parallel::Stopped;
    }
    return Blake3Parallel::Complete;
}

Blake3Parallel Blake3UpdateFromSource(Blake3Context* context, ByteSource& source, uint64_t size,
                                      unsigned extraThreads, const Blake3Advance& advance,
                                      int& error) {
    const auto fetch = [&source](uint64_t offset, std::size_t length, uint8_t* buffer,
                                 int& e) -> const uint8_t* {
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
    return Blake3UpdateParallel(context, size, extraThreads, fetch, advance, error);
}
