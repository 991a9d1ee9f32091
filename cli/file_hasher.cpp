// One-pass hashing of files and texts. Files are read with large reads (the kernel's page-cache
// copy is cheaper per byte in 256 KiB than in a few KiB; 256 KiB measured up to 6% ahead of
// 128 KiB with the reader thread, 1 MiB no better) and the kernel is told the access is
// sequential, so it reads ahead. A large file is read on a second thread while the engines hash
// the previous chunk, which hides the copy; with several algorithms the engines are spread over
// the free cores as well.
#include "file_hasher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "chunk_pipeline.h"
#include "core_budget.h"

DigestSet::DigestSet(std::span<const Algorithm> algorithms) {
    digesters_.reserve(algorithms.size());
    for (Algorithm algorithm : algorithms) digesters_.emplace_back(algorithm);
}

void DigestSet::Update(const uint8_t* data, std::size_t length) {
    for (Digester& digester : digesters_) digester.Update(data, length);
}

std::vector<std::string> DigestSet::Finish() {
    std::vector<std::string> digests;
    digests.reserve(digesters_.size());
    for (Digester& digester : digesters_) digests.push_back(digester.Final());
    return digests;
}

namespace {

class DescriptorSource final : public ByteSource {
public:
    explicit DescriptorSource(int fd) : fd_(fd) {}
    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) override {
        for (;;) {
            const ssize_t got = read(fd_, buffer, capacity);
            if (got >= 0) return got;
            if (errno != EINTR) {
                error = errno;
                return -1;
            }
        }
    }

private:
    int fd_;
};

}  // namespace

FileHasher::FileHasher() : cores_(MachineCores()), buffer_(new uint8_t[kChunkSize]) {}

FileHasher::~FileHasher() = default;

HashOutcome FileHasher::Hash(const std::string& name, std::span<const Algorithm> algorithms) {
    if (name == "-") return HashDescriptor(STDIN_FILENO, algorithms);

    const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        HashOutcome outcome;
        outcome.error = errno;
        outcome.missing = errno == ENOENT;
        return outcome;
    }
    HashOutcome outcome = HashDescriptor(fd, algorithms);
    // Read-only: a failing close loses nothing, but the digest is already complete.
    close(fd);
    return outcome;
}

HashOutcome FileHasher::HashDescriptor(int fd, std::span<const Algorithm> algorithms) {
    // Only advice: pipes and terminals refuse it, which changes nothing.
    (void)posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    DescriptorSource source(fd);

    // Pipes, terminals and devices have no size to go by; they may be long.
    struct stat info {};
    const bool small = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                       static_cast<uint64_t>(info.st_size) < kPipelineFrom;
    const unsigned wanted =
        small || !ReaderThreadPays(algorithms)
            ? 0
            : static_cast<unsigned>(std::max<std::size_t>(1, algorithms.size() - 1));
    // This thread counts itself; the extra cores go to the engine groups beyond the first, or
    // to the reader when there is one group. With several groups the reader rides along: it
    // costs little next to them.
    CoreLease lease(cores_, 1, wanted);
    if (lease.extra() == 0) return HashInline(source, algorithms, {buffer_.get(), kChunkSize});

    if (!ring_) ring_ = std::make_unique<ChunkRing>(kRingSlots, kChunkSize);
    const std::size_t groups = algorithms.size() > 1 ? std::size_t{1} + lease.extra() : 1;
    return HashPipelined(source, algorithms, groups, *ring_);
}

std::vector<std::string> HashText(std::string_view text, std::span<const Algorithm> algorithms) {
    DigestSet set(algorithms);
    set.Update(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return set.Finish();
}
