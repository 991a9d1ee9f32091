// Hashing one input (a file, standard input or a text) with any set of algorithms in one pass:
// every engine is fed the same chunks, and memory stays the same whatever the input's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "digester.h"

// The digests of one input, one per algorithm in the order asked, or why there are none.
struct HashOutcome {
    std::vector<std::string> digests;
    int error = 0;         // errno of the failed open or read; 0 on success
    bool missing = false;  // the open failed because the file does not exist
    bool ok() const { return error == 0; }
};

// Several digesters fed as one.
class DigestSet {
public:
    explicit DigestSet(std::span<const Algorithm> algorithms);
    void Update(const uint8_t* data, std::size_t length);
    std::vector<std::string> Finish();

private:
    std::vector<Digester> digesters_;
};

class ChunkRing;
class CoreBudget;

// Reads inputs in large chunks into buffers it owns; one per thread. A large input is read on a
// thread of its own while the engines hash, when the budget has a core free for it.
class FileHasher {
public:
    static constexpr std::size_t kChunkSize = 256 * 1024;
    static constexpr std::size_t kRingSlots = 4;
    // Smaller regular files are read on the hashing thread: starting threads would cost more
    // than the overlap saves.
    static constexpr uint64_t kPipelineFrom = 1024 * 1024;

    FileHasher();
    ~FileHasher();
    // `name` "-" is standard input, which is read but never closed.
    HashOutcome Hash(const std::string& name, std::span<const Algorithm> algorithms);

private:
    HashOutcome HashDescriptor(int fd, std::span<const Algorithm> algorithms);
    CoreBudget& cores_;
    std::unique_ptr<uint8_t[]> buffer_;
    std::unique_ptr<ChunkRing> ring_;  // made on first use
};

std::vector<std::string> HashText(std::string_view text, std::span<const Algorithm> algorithms);
