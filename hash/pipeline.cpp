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
#include "sum_file.h"

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
        return Opened(input, control, [&](ByteSource& source) {
            return ComputeDigests(source, algorithms, control);
        });
    }

    static HashOutcome Classic(ClassicSum kind, const HashInput& input,
                               const HashControl& control) {
        const auto sum = [&](ByteSource& source) {
            SliceWatch watch(&control.progress, control.cancel, source.Size().value_or(0));
            return HashClassicSum(source, kind, watch);
        };
        if (input.kind != HashInput::Kind::Text) return Opened(input, control, sum);
        TextSource text(input.text);
        return sum(text);
    }

    // A path or descriptor input's source, opened, to `hash`; why it could not be opened else.
    template <typename Hash>
    static HashOutcome Opened(const HashInput& input, const HashControl& control, Hash&& hash) {
        if (input.kind == HashInput::Kind::Descriptor) return hash(*DescriptorSource(input.fd));
        int error = 0;
        const auto source = control.opener ? control.opener(input.path, error)
                                           : OpenFileSource(input.path, error, input.kinds);
        if (!source) {
            if (error == 0) error = ENOENT;  // an opener that gave no reason
            return HashOutcome::Failure(
                error == ENOENT ? HashStatus::NotFound : HashStatus::OpenFailed, error, 0);
        }
        return hash(*source);
    }

    // A text goes to each engine in one update.
    static HashOutcome OfText(std::string_view text, std::span<const Algorithm> algorithms,
                              const HashControl& control) {
        SliceWatch watch(&control.progress, control.cancel, text.size());
        if (watch.Cancelled()) return HashOutcome::Failure(HashStatus::Cancelled, 0, 0);
        DigestSet set(algorithms, control.form);
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

HashOutcome ComputeClassicSum(ClassicSum kind, const HashInput& input, const HashControl& control) {
    return InputAccess::Classic(kind, input, control);
}

HashOutcome ComputeDigests(ByteSource& source, std::span<const Algorithm> algorithms,
                           const HashControl& control) {
    const std::optional<uint64_t> size = source.Size();
    const DigestForm& form = control.form;
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
        return HashBlake3Tree(source, *size, form, lease.Extra(), watch);
    }
    // Engines faster than the kernel's copy gain from a second thread only by halving the copy.
    // One slower engine reads the same way: when the host holds the helper back, the hashing
    // thread reads the next block itself instead of waiting for it.
    const bool cheap = !ReaderThreadPays(algorithms);
    const bool splitReads =
        !small && size && source.ReadsAtOffsets() && (cheap || algorithms.size() == 1);
    if (splitReads && cheap) {
        // With a second core, two threads copying beat mapping however the page cache holds the
        // file (just written, in single pages, or read back from disk, in large folios): the
        // page-table work of a mapping stays on the thread that hashes. Time a 512 MiB file of
        // each kind against a build that maps first. Alone, map where that costs less than a
        // copy; the helper still joins if reading takes over.
        CoreLease lease(cores, 1, 1);
        if (lease.Extra() > 0) return HashWithSplitReads(source, algorithms, form, *size, watch);
        if (auto outcome = HashMapped(source, algorithms, form, *size, cores, watch))
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
        return HashOnThisThread(source, algorithms, form, buffer, watch);
    }
    if (splitReads) return HashWithSplitReads(source, algorithms, form, *size, watch);
    const std::size_t groups = algorithms.size() > 1 ? std::size_t{1} + lease.Extra() : 1;
    return HashOnThreads(source, algorithms, form, groups, watch);
}
