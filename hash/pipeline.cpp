// ComputeDigests: opens the input, decides how many threads it gets, and hands it to a read loop.
#include "pipeline.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <thread>

#include "core_budget.h"
#include "digester.h"
#include "read_loops.h"
#include "schedule.h"

HashOutcome HashOutcome::Failure(HashStatus status, int error, uint64_t bytesHashed) {
    HashOutcome outcome;
    outcome.status = status;
    outcome.error = error;
    outcome.bytesHashed = bytesHashed;
    return outcome;
}

HashInput HashInput::Path(std::string path, FileKinds kinds) {
    HashInput input;
    input.kind = Kind::Path;
    input.path = std::move(path);
    input.kinds = kinds;
    return input;
}

HashInput HashInput::Descriptor(int fd) {
    HashInput input;
    input.kind = Kind::Descriptor;
    input.fd = fd;
    return input;
}

HashInput HashInput::Operand(const std::string& name) {
    return name == "-" ? Descriptor(kStandardInput) : Path(name);
}

HashInput HashInput::Text(std::string_view text) {
    HashInput input;
    input.text = text;
    return input;
}

struct InputAccess {
    static HashOutcome Compute(const HashInput& input, std::span<const Algorithm> algorithms,
                               const HashControl& control) {
        if (input.kind == HashInput::Kind::Text) return OfText(input.text, algorithms, control);
        if (input.kind == HashInput::Kind::Descriptor)
            return ComputeDigests(*DescriptorSource(input.fd), algorithms, control);
        int error = 0;
        const auto source = control.opener ? control.opener(input.path, error)
                                           : OpenFileSource(input.path, error, input.kinds);
        if (!source) {
            if (error == 0) error = ENOENT;  // an opener that gave no reason
            return HashOutcome::Failure(
                error == ENOENT ? HashStatus::NotFound : HashStatus::OpenFailed, error, 0);
        }
        return ComputeDigests(*source, algorithms, control);
    }

    // A text goes to each engine in one update.
    static HashOutcome OfText(std::string_view text, std::span<const Algorithm> algorithms,
                              const HashControl& control) {
        SliceWatch watch(&control.progress, control.cancel, text.size());
        if (watch.Cancelled()) return HashOutcome::Failure(HashStatus::Cancelled, 0, 0);
        DigestSet set(algorithms, control.digestBytes);
        set.Update(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        if (!watch.Advance(text.size()))
            return HashOutcome::Failure(HashStatus::Cancelled, 0, text.size());
        HashOutcome outcome;
        outcome.bytesHashed = text.size();
        outcome.digests = set.Finish();
        return outcome;
    }
};

HashOutcome ComputeDigests(const HashInput& input, std::span<const Algorithm> algorithms,
                           const HashControl& control) {
    return InputAccess::Compute(input, algorithms, control);
}

HashOutcome ComputeDigests(ByteSource& source, std::span<const Algorithm> algorithms,
                           const HashControl& control) {
    const std::optional<uint64_t> size = source.Size();
    SliceWatch watch(&control.progress, control.cancel, size.value_or(0));
    if (watch.Cancelled()) return HashOutcome::Failure(HashStatus::Cancelled, 0, 0);

    // Pipes, terminals and devices have no size to go by; they may be long.
    const bool small = size && *size < kThreadsFrom;
    CoreBudget& cores = control.cores != nullptr ? *control.cores : MachineCores();
    // BLAKE3 alone: its tree splits one file over every core granted, each thread reading its
    // own pieces.
    if (!small && size && algorithms.size() == 1 && algorithms[0] == Algorithm::Blake3 &&
        source.ReadsAtOffsets()) {
        const unsigned machine = std::max(1u, std::thread::hardware_concurrency());
        CoreLease lease(cores, 1, machine - 1);
        return HashBlake3Tree(source, *size, control.digestBytes, lease.Extra(), watch);
    }
    // Engines faster than the kernel's copy gain from a second thread only by halving the copy.
    const bool cheap = !ReaderThreadPays(algorithms);
    const bool splitReads = !small && cheap && size && source.ReadsAtOffsets();
    if (splitReads) {
        // With a second core, two threads copying beat mapping however the page cache holds the
        // file (just written, in single pages, or read back from disk, in large folios): the
        // page-table work of a mapping stays on the thread that hashes. Time a 512 MiB file of
        // each kind against a build that maps first. Alone, map where that costs less than a
        // copy; the helper still joins if reading takes over.
        CoreLease lease(cores, 1, 1);
        if (lease.Extra() > 0)
            return HashWithSplitReads(source, algorithms, control.digestBytes, *size, watch);
        if (auto outcome = HashMapped(source, algorithms, control.digestBytes, *size, cores, watch))
            return *std::move(outcome);
    }
    const unsigned wanted =
        splitReads       ? 1
        : small || cheap ? 0
                         : static_cast<unsigned>(std::max<std::size_t>(1, algorithms.size() - 1));
    // This thread counts itself; the extra cores go to the engine groups beyond the first, or to
    // the reader when there is one group. With several groups the reader rides along: it costs
    // little next to them.
    CoreLease lease(cores, 1, wanted);
    if (lease.Extra() == 0) {
        // A small file needs no more buffer than it has bytes.
        const std::size_t buffer =
            small ? std::clamp<std::size_t>(static_cast<std::size_t>(*size), kSliceSize, kReadSize)
                  : kReadSize;
        return HashOnThisThread(source, algorithms, control.digestBytes, buffer, watch);
    }
    if (splitReads)
        return HashWithSplitReads(source, algorithms, control.digestBytes, *size, watch);
    const std::size_t groups = algorithms.size() > 1 ? std::size_t{1} + lease.Extra() : 1;
    return HashOnThreads(source, algorithms, control.digestBytes, groups, watch);
}
