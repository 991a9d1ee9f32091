// The reader and engine threads of one pipelined computation, and how the engines are grouped.
#include "chunk_pipeline.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <system_error>
#include <thread>

ChunkRing::ChunkRing(std::size_t slots, std::size_t slotSize)
    : slots_(slots), slotSize_(slotSize), memory_(new uint8_t[slots * slotSize]) {}

namespace {

// Rough time per byte of each engine (nanoseconds per KiB at its in-memory speed on a current
// x86-64, accelerated paths where there are any); only the proportions matter. MD2 outweighs the
// other eight together. The kernel's page-cache copy costs about 85 on the same scale.
unsigned Cost(Algorithm algorithm) {
    switch (algorithm) {
        case Algorithm::Crc32:
            return 40;
        case Algorithm::Gost:
            return 7500;
        case Algorithm::Md2:
            return 100000;
        case Algorithm::Md4:
            return 800;
        case Algorithm::Md5:
            return 1400;
        case Algorithm::Sha1:
            return 620;
        case Algorithm::Sha256:
            return 640;
        case Algorithm::Sha384:
        case Algorithm::Sha512:
            return 1550;
    }
    return 1000;
}

// The hand-over between the reader and the groups. Chunk n sits in slot n % slots; `pending`
// counts the groups still hashing a slot, and the reader waits for 0 before refilling it.
class Handover {
public:
    Handover(ChunkRing& ring, unsigned consumers)
        : ring_(ring), consumers_(consumers), length_(ring.slots()), pending_(ring.slots()) {}

    void Produce(ByteSource& source) {
        for (uint64_t n = 0;; ++n) {
            const std::size_t slot = n % ring_.slots();
            {
                std::unique_lock lock(mutex_);
                freed_.wait(lock, [&] { return pending_[slot] == 0 || abandoned_; });
                if (abandoned_) return;
            }
            int error = 0;
            const std::ptrdiff_t got = source.Read(ring_.slot(slot), ring_.slotSize(), error);
            {
                std::lock_guard lock(mutex_);
                if (abandoned_) return;
                if (got > 0) {
                    length_[slot] = static_cast<std::size_t>(got);
                    pending_[slot] = consumers_;
                    published_ = n + 1;
                } else {
                    error_ = got < 0 ? (error != 0 ? error : EIO) : 0;
                    ended_ = true;
                }
            }
            ready_.notify_all();
            if (got <= 0) return;
        }
    }

    void Consume(DigestSet& set) {
        for (uint64_t n = 0;; ++n) {
            const std::size_t slot = n % ring_.slots();
            std::size_t length = 0;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [&] { return published_ > n || ended_; });
                if (published_ <= n) return;  // every chunk read is hashed
                if (abandoned_) return;
                length = length_[slot];
            }
            // The reader leaves the slot alone until this group has let it go.
            set.Update(ring_.slot(slot), length);
            bool last = false;
            {
                std::lock_guard lock(mutex_);
                last = --pending_[slot] == 0;
            }
            if (last) freed_.notify_one();
        }
    }

    // Ends the computation early with an error: a thread could not be started.
    void Abandon(int error) {
        {
            std::lock_guard lock(mutex_);
            abandoned_ = ended_ = true;
            published_ = 0;
            error_ = error;
        }
        ready_.notify_all();
        freed_.notify_all();
    }

    int error() const { return error_; }  // read once every thread has been joined

private:
    ChunkRing& ring_;
    const unsigned consumers_;
    std::mutex mutex_;
    std::condition_variable ready_, freed_;
    std::vector<std::size_t> length_;
    std::vector<unsigned> pending_;
    uint64_t published_ = 0;
    bool ended_ = false, abandoned_ = false;
    int error_ = 0;
};

}  // namespace

bool ReaderThreadPays(std::span<const Algorithm> algorithms) {
    // CRC-32 runs several times faster than the kernel copies: the copy is the work, and a chunk
    // copied on another core reaches this one's cache slower than one copied here.
    return std::any_of(algorithms.begin(), algorithms.end(),
                       [](Algorithm a) { return Cost(a) >= 300; });
}

std::vector<std::vector<std::size_t>> SplitByCost(std::span<const Algorithm> algorithms,
                                                  std::size_t groups) {
    groups = std::clamp<std::size_t>(groups, 1, std::max<std::size_t>(1, algorithms.size()));
    std::vector<std::size_t> order(algorithms.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return Cost(algorithms[a]) > Cost(algorithms[b]);
    });
    // Heaviest first, each onto the lightest group so far.
    std::vector<std::vector<std::size_t>> split(groups);
    std::vector<uint64_t> load(groups, 0);
    for (std::size_t index : order) {
        const std::size_t g =
            static_cast<std::size_t>(std::min_element(load.begin(), load.end()) - load.begin());
        split[g].push_back(index);
        load[g] += Cost(algorithms[index]);
    }
    std::erase_if(split, [](const auto& group) { return group.empty(); });
    for (auto& group : split) std::sort(group.begin(), group.end());
    return split;
}

HashOutcome HashInline(ByteSource& source, std::span<const Algorithm> algorithms,
                       std::span<uint8_t> buffer) {
    DigestSet set(algorithms);
    HashOutcome outcome;
    for (;;) {
        int error = 0;
        const std::ptrdiff_t got = source.Read(buffer.data(), buffer.size(), error);
        if (got < 0) {
            outcome.error = error != 0 ? error : EIO;  // no digest for an input not read to its end
            return outcome;
        }
        if (got == 0) break;
        set.Update(buffer.data(), static_cast<std::size_t>(got));
    }
    outcome.digests = set.Finish();
    return outcome;
}

HashOutcome HashPipelined(ByteSource& source, std::span<const Algorithm> algorithms,
                          std::size_t groups, ChunkRing& ring) {
    const auto split = SplitByCost(algorithms, groups);
    std::vector<DigestSet> sets;
    sets.reserve(split.size());
    for (const auto& group : split) {
        std::vector<Algorithm> chosen;
        for (std::size_t index : group) chosen.push_back(algorithms[index]);
        sets.emplace_back(chosen);
    }

    Handover handover(ring, static_cast<unsigned>(sets.size()));
    {
        std::vector<std::jthread> threads;
        threads.reserve(sets.size());
        try {
            threads.emplace_back([&] { handover.Produce(source); });
            for (std::size_t g = 1; g < sets.size(); ++g)
                threads.emplace_back([&, g] { handover.Consume(sets[g]); });
        } catch (const std::system_error& failure) {
            // The threads already started stop; some of the input may be read, so no digest.
            handover.Abandon(failure.code().value() != 0 ? failure.code().value() : EAGAIN);
        }
        handover.Consume(sets[0]);
    }  // joined

    HashOutcome outcome;
    outcome.error = handover.error();
    if (!outcome.ok()) return outcome;
    outcome.digests.resize(algorithms.size());
    for (std::size_t g = 0; g < sets.size(); ++g) {
        std::vector<std::string> digests = sets[g].Finish();
        for (std::size_t k = 0; k < digests.size(); ++k)
            outcome.digests[split[g][k]] = std::move(digests[k]);
    }
    return outcome;
}
