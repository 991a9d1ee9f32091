// The lane scheduler's board and a lane group's loop: open, read in chunks, hash whole blocks of
// every busy lane at once, finish each message's tail on its one-message engine, refill.
#include "lane_group.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {

// Times a group with no file open waits a millisecond for descriptors others free, when no file
// of the run is open either: the process is out of them for good.
constexpr int kIdleTries = 1000;

// Bytes already read from a source, then the rest of it: how a message that has not entered the
// lane function goes to the ordinary pipeline.
class PrefixedSource final : public ByteSource {
public:
    PrefixedSource(const uint8_t* bytes, std::size_t length, ByteSource& remainder)
        : prefix(bytes), left(length), rest(remainder) {}
    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) override {
        if (left == 0) return rest.Read(buffer, capacity, error);
        const std::size_t n = std::min(left, capacity);
        std::memcpy(buffer, prefix, n);
        prefix += n;
        left -= n;
        return static_cast<std::ptrdiff_t>(n);
    }
    std::optional<uint64_t> Size() const override { return rest.Size(); }

private:
    const uint8_t* prefix;
    std::size_t left;
    ByteSource& rest;
};

HashOutcome Digest(std::string digest, uint64_t bytes) {
    HashOutcome outcome;
    outcome.bytesHashed = bytes;
    outcome.digests.push_back(std::move(digest));
    return outcome;
}

}  // namespace

LaneBoard::LaneBoard(std::span<const std::string> inputPaths, std::vector<std::size_t> startOrder,
                     uint64_t total, const HashControl& hashControl)
    : paths(inputPaths),
      order(std::move(startOrder)),
      control(hashControl),
      totalBytes(total),
      outcomes(inputPaths.size()) {}

void LaneBoard::Report() const {
    if (!control.progress) return;
    const uint64_t read = readBytes.load(std::memory_order_relaxed);
    control.progress(read, std::max(read, totalBytes));  // files may have grown since
}

bool LaneBoard::Take(std::size_t& index) {
    const std::size_t at = next.fetch_add(1, std::memory_order_relaxed);
    if (at >= order.size()) return false;
    index = order[at];
    return true;
}

void LaneBoard::Post(std::size_t index, HashOutcome&& outcome) {
    {
        std::lock_guard lock(mutex);
        outcomes[index] = std::move(outcome);
    }
    posted.fetch_add(1, std::memory_order_release);
    arrived.notify_all();
}

void LaneBoard::Emit(const OutcomeSink& emit, bool all) {
    while (emitted < outcomes.size()) {
        if (!all && posted.load(std::memory_order_acquire) == seen) return;
        std::vector<std::pair<std::size_t, HashOutcome>> due;
        {
            std::unique_lock lock(mutex);
            if (all) arrived.wait(lock, [&] { return outcomes[emitted].has_value(); });
            seen = posted.load(std::memory_order_acquire);
            for (; emitted < outcomes.size() && outcomes[emitted]; ++emitted) {
                due.emplace_back(emitted, std::move(*outcomes[emitted]));
                outcomes[emitted].reset();
            }
        }
        for (auto& [index, outcome] : due) emit(index, std::move(outcome));
        if (!all) return;
    }
}

LaneGroup::LaneGroup(LaneBoard& sharedBoard, std::unique_ptr<LaneEngine> laneEngine,
                     std::size_t maxOpen, Algorithm laneAlgorithm, CoreBudget& budget)
    : board(sharedBoard),
      cores(budget),
      engine(std::move(laneEngine)),
      cap(std::min(maxOpen, engine->Lanes())),
      block(engine->BlockSize()),
      readSize(LaneRead(engine->Lanes())),
      algorithm(laneAlgorithm),
      lanes(engine->Lanes()),
      buffers(new uint8_t[engine->Lanes() * (readSize + block)]),
      data(engine->Lanes()) {
    for (std::size_t l = 0; l < lanes.size(); ++l)
        lanes[l].buffer = buffers.get() + l * (readSize + block);
}

void LaneGroup::Run(const std::function<void()>& between) {
    RunLanes(between);
    cores.Give(1);
}

void LaneGroup::RunLanes(const std::function<void()>& between) {
    for (;;) {
        if (board.Cancelled()) return CancelAll();
        for (std::size_t l = 0; l < lanes.size(); ++l) Prepare(l);
        if (busy == 0) return;
        if (board.Exhausted() && !deferred && busy <= engine->OneMessageWorth())
            return FinishAlone(between);
        // As many blocks as every busy lane has; idle lanes read a busy lane's.
        std::size_t run = SIZE_MAX;
        const uint8_t* spare = nullptr;
        for (const Lane& lane : lanes) {
            if (lane.input == kIdle) continue;
            run = std::min(run, (lane.end - lane.begin) / block);
            spare = lane.buffer + lane.begin;
        }
        for (std::size_t l = 0; l < lanes.size(); ++l)
            data[l] = lanes[l].input == kIdle ? spare : lanes[l].buffer + lanes[l].begin;
        engine->Blocks(data.data(), run);
        for (Lane& lane : lanes) {
            if (lane.input == kIdle) continue;
            lane.begin += run * block;
            lane.fed += run * block;
        }
        if (between) between();
    }
}

void LaneGroup::Prepare(std::size_t l) {
    Lane& lane = lanes[l];
    for (;;) {
        if (lane.input == kIdle) {
            std::size_t input = 0;
            if (busy >= cap) return;
            if (deferred)
                input = *std::exchange(deferred, std::nullopt);
            else if (!board.Take(input))
                return;
            if (!Open(l, input)) {
                if (deferred) return;
                continue;
            }
        }
        if (lane.end - lane.begin >= block) return;
        if (!lane.atEnd) {
            // Less than a block is left: it moves to the front, and the next chunk follows it.
            std::memmove(lane.buffer, lane.buffer + lane.begin, lane.end - lane.begin);
            lane.end -= lane.begin;
            lane.begin = 0;
            int error = 0;
            const std::ptrdiff_t got = lane.source->Read(lane.buffer + lane.end, readSize, error);
            if (got < 0) {
                Finish(lane, HashOutcome::Failure(HashStatus::ReadFailed, error, lane.fed));
            } else if (got == 0) {
                lane.atEnd = true;
            } else {
                lane.end += static_cast<std::size_t>(got);
                board.AddRead(static_cast<uint64_t>(got));
            }
            continue;
        }
        const auto tail = engine->TakeOut(l, lane.fed);
        tail->Update(lane.buffer + lane.begin, lane.end - lane.begin);
        Finish(lane, Digest(tail->Final(), lane.fed + (lane.end - lane.begin)));
    }
}

bool LaneGroup::Open(std::size_t l, std::size_t input) {
    const HashControl& control = board.Control();
    int error = 0;
    std::unique_ptr<ByteSource> source;
    // Out of descriptors is nothing about the file: it waits for one of this group's to close,
    // else for another group's, and only when no file of the run is open does it fail.
    for (int idleTries = 0;; ++idleTries) {
        error = 0;
        source = control.opener ? control.opener(board.Path(input), error)
                                : OpenFileSource(board.Path(input), error, FileKinds::RegularOnly);
        if (source || !OutOfDescriptors(error) || board.Cancelled()) break;
        if (busy > 0) {
            deferred = input;
            cap = busy;
            return false;
        }
        if (board.OpenFiles() == 0 && idleTries >= kIdleTries) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!source) {
        if (error == 0) error = ENOENT;  // an opener that gave no reason
        board.Post(input,
                   HashOutcome::Failure(
                       error == ENOENT ? HashStatus::NotFound : HashStatus::OpenFailed, error, 0));
        return false;
    }
    Lane& lane = lanes[l];
    lane.input = input;
    lane.source = std::move(source);
    lane.fed = 0;
    lane.begin = lane.end = 0;
    lane.atEnd = false;
    engine->Start(l);
    ++busy;
    board.Opened(1);
    return true;
}

void LaneGroup::Finish(Lane& lane, HashOutcome&& outcome) {
    board.Post(lane.input, std::move(outcome));
    lane.input = kIdle;
    lane.source.reset();
    board.Opened(-1);
    --busy;
}

void LaneGroup::FinishAlone(const std::function<void()>& between) {
    std::vector<std::size_t> left;
    for (std::size_t l = 0; l < lanes.size(); ++l)
        if (lanes[l].input != kIdle) left.push_back(l);
    std::atomic<std::size_t> taken{0};
    std::mutex finishing;  // Finish counts this group's busy lanes
    const auto work = [&](const std::function<void()>& report) {
        for (std::size_t i; (i = taken.fetch_add(1)) < left.size();) {
            Lane& lane = lanes[left[i]];
            HashOutcome outcome = Alone(lane, report);
            std::lock_guard lock(finishing);
            Finish(lane, std::move(outcome));
        }
    };
    // The messages go one at a time on this thread, and on each core another group gives back
    // meanwhile: the run's last large files do not leave a core idle.
    std::vector<std::jthread> helpers;
    const auto enlist = [&] {
        const std::size_t next = taken.load(std::memory_order_relaxed);
        if (next >= left.size()) return;
        const unsigned got = cores.Take(0, static_cast<unsigned>(left.size() - next));
        for (unsigned k = 0; k < got; ++k) {
            try {
                helpers.emplace_back([&] {
                    work(nullptr);
                    cores.Give(1);
                });
            } catch (const std::system_error&) {
                cores.Give(got - k);
                return;
            }
        }
    };
    work([&] {
        enlist();
        if (between) between();
    });
    helpers.clear();  // joined
}

HashOutcome LaneGroup::Alone(Lane& lane, const std::function<void()>& between) {
    if (lane.fed != 0) return ContinueAlone(lane, between);
    // Not begun: the pipeline reads it, with its reader thread when a core is free. It takes its
    // own core from the budget, so this thread's goes back meanwhile.
    const Algorithm algorithms[] = {algorithm};
    HashControl control = board.Control();
    PrefixedSource whole(lane.buffer + lane.begin, lane.end - lane.begin, *lane.source);
    uint64_t counted = lane.end - lane.begin;  // read already
    control.progress = [&](uint64_t done, uint64_t) {
        board.AddRead(done - std::min(done, counted));
        counted = std::max(done, counted);
        if (between) between();
    };
    cores.Give(1);
    HashOutcome outcome = ComputeDigests(whole, algorithms, control);
    cores.Take(1, 0);
    return outcome;
}

HashOutcome LaneGroup::ContinueAlone(Lane& lane, const std::function<void()>& between) {
    const auto tail = engine->TakeOut(static_cast<std::size_t>(&lane - lanes.data()), lane.fed);
    uint64_t bytes = lane.fed + (lane.end - lane.begin);
    tail->Update(lane.buffer + lane.begin, lane.end - lane.begin);
    for (;;) {
        if (board.Cancelled()) return HashOutcome::Failure(HashStatus::Cancelled, 0, bytes);
        int error = 0;
        const std::ptrdiff_t got = lane.source->Read(lane.buffer, readSize, error);
        if (got < 0) return HashOutcome::Failure(HashStatus::ReadFailed, error, bytes);
        if (got == 0) return Digest(tail->Final(), bytes);
        tail->Update(lane.buffer, static_cast<std::size_t>(got));
        bytes += static_cast<uint64_t>(got);
        board.AddRead(static_cast<uint64_t>(got));
        if (between) between();
    }
}

void LaneGroup::CancelAll() {
    for (Lane& lane : lanes)
        if (lane.input != kIdle)
            Finish(lane, HashOutcome::Failure(HashStatus::Cancelled, 0, lane.fed));
    if (deferred)
        board.Post(*std::exchange(deferred, std::nullopt),
                   HashOutcome::Failure(HashStatus::Cancelled, 0, 0));
    for (std::size_t input = 0; board.Take(input);)
        board.Post(input, HashOutcome::Failure(HashStatus::Cancelled, 0, 0));
}
