// Hashing a stream with its reading and its engines on separate threads: one reader fills a ring
// of buffers, and each group of engines hashes every chunk on a thread of its own. A buffer is
// refilled only once every group is done with it, so memory stays fixed whatever the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "digester.h"
#include "file_hasher.h"

// Where the bytes come from: a descriptor in the program, a script in tests.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `capacity` bytes into `buffer`: the count, 0 at the end, or -1 with `error` set.
    virtual std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) = 0;
};

// The buffers a pipelined computation cycles through.
class ChunkRing {
public:
    ChunkRing(std::size_t slots, std::size_t slotSize);
    std::size_t slots() const { return slots_; }
    std::size_t slotSize() const { return slotSize_; }
    uint8_t* slot(std::size_t index) { return memory_.get() + index * slotSize_; }

private:
    std::size_t slots_, slotSize_;
    std::unique_ptr<uint8_t[]> memory_;
};

// Whether reading on a thread of its own gains anything for these algorithms: it does when
// hashing costs clearly more per byte than the kernel's page-cache copy.
bool ReaderThreadPays(std::span<const Algorithm> algorithms);

// Splits the algorithms (as indices into `algorithms`) into at most `groups` non-empty sets of
// about equal work, so the slowest engine is not held up by the others.
std::vector<std::vector<std::size_t>> SplitByCost(std::span<const Algorithm> algorithms,
                                                  std::size_t groups);

// Everything on the calling thread, one buffer reused.
HashOutcome HashInline(ByteSource& source, std::span<const Algorithm> algorithms,
                       std::span<uint8_t> buffer);

// A reader thread fills `ring`; the algorithms, split into at most `groups` groups, hash on the
// calling thread and groups - 1 more. Digests come back in the order of `algorithms`.
HashOutcome HashPipelined(ByteSource& source, std::span<const Algorithm> algorithms,
                          std::size_t groups, ChunkRing& ring);
