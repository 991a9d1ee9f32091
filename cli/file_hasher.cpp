// One-pass hashing of files and texts. Files are read with large reads (the kernel's page-cache
// copy is cheaper per byte in 128 KiB than in a few KiB) and the kernel is told the access is
// sequential, so it reads ahead.
#include "file_hasher.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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

FileHasher::FileHasher() : buffer_(new uint8_t[kChunkSize]) {}

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

    DigestSet set(algorithms);
    HashOutcome outcome;
    while (true) {
        const ssize_t got = read(fd, buffer_.get(), kChunkSize);
        if (got < 0) {
            if (errno == EINTR) continue;
            outcome.error = errno;  // no digest for a file not read to its end
            return outcome;
        }
        if (got == 0) break;
        set.Update(buffer_.get(), static_cast<std::size_t>(got));
    }
    outcome.digests = set.Finish();
    return outcome;
}

std::vector<std::string> HashText(std::string_view text, std::span<const Algorithm> algorithms) {
    DigestSet set(algorithms);
    set.Update(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return set.Finish();
}
