// One BLAKE3 input on several threads: the input is cut into whole subtrees of the tree (pieces
// of up to kBlake3PieceChunks chunks, aligned as the tree wants), the threads take pieces as they
// finish the last, and this thread pushes the pieces' chaining values in order, a round at a time,
// so memory stays the same whatever the input's length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "blake3.h"
#include "file_source.h"

// Half a MiB: long enough that a piece's fetch and its parents cost little, short enough that
// the threads finish a round close together.
inline constexpr uint64_t kBlake3PieceChunks = 512;
inline constexpr std::size_t kBlake3PieceBytes = kBlake3PieceChunks * kBlake3ChunkSize;

// Where the bytes at `offset` come from: a view of a mapping, or `buffer` (kBlake3PieceBytes)
// after reading them into it. Null, with `error` set, when they cannot be had. Called from several
// threads at once.
using Blake3PieceFetch =
    std::function<const uint8_t*(uint64_t offset, std::size_t length, uint8_t* buffer, int& error)>;

// Hears of the bytes hashed since the last call, on the calling thread; false stops the work.
using Blake3Advance = std::function<bool(uint64_t bytes)>;

enum class Blake3Parallel { Complete, Failed, Stopped };

// Feeds the `length` bytes that `fetch` gives into `context`, which must have had no input yet, on
// this thread and `extraThreads` more. On failure `error` holds the fetch's error.
Blake3Parallel Blake3UpdateParallel(Blake3Context* context, uint64_t length, unsigned extraThreads,
                                    const Blake3PieceFetch& fetch, const Blake3Advance& advance,
                                    int& error);

// How many chunks one mapping covers in Blake3UpdateFromSource: a whole number of pieces.
inline constexpr uint64_t kBlake3MapWindowChunks = ByteSource::kMapWindow / kBlake3ChunkSize;
static_assert(kBlake3MapWindowChunks % kBlake3PieceChunks == 0);

// The first `size` bytes of `source` (a regular file) through Blake3UpdateParallel, a window of
// pieces at a time: from ByteSource::kMapFrom bytes on, hashed where the file is mapped
// (ByteSource::UseMapped) with no copy, or each thread reading its pieces at their offsets into
// its own buffer, whichever costs the threads less in the trial windows; shorter files are read.
// A file cut short meanwhile fails with EIO.
Blake3Parallel Blake3UpdateFromSource(Blake3Context* context, ByteSource& source, uint64_t size,
                                      unsigned extraThreads, const Blake3Advance& advance,
                                      int& error);
