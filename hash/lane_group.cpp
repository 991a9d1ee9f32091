// The lane scheduler's board and a lane group's loop: open, read in chunks, hash whole blocks of
// every busy lane at once, finish each message's tail on its one-message engine, refill.
#include "lane_group.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

// Bytes already read from a source, then the rest of it: how a message that has not entered the
// lane function goes to the ordinary pipeline.
class PrefixedSource final : public ByteSource {
public:
    PrefixedSource(const uint8_t* prefix, std::size_t length, ByteSource& rest)
        : prefix_(prefix), left_(length), rest_(rest) {}
    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) override {
        if (left_ == 0) return rest_.Read(buffer, capacity, error);
        const std::size_t n = std::min(left_, capacity);
        std::memcpy(buffer, prefix_, n);
        prefix_ += n;
        left_ -= n;
        return static_cast<std::ptrdiff_t>(n);
    }
    std::optional<uint64_t> Size() const override { return rest_.Size(); }

private:
    const uint8_t* prefix_;
    std::size_t left_;
    ByteSource& rest_;
};

HashOutcome Digest(std::string digest, uint64_t bytes) {
    HashOutcome outcome;
    outcome.bytesHashed = bytes;
    outcome.digests.push_back(std::move(digest));
    return outcome;
}

}  // namespace

LaneBoard::LaneBoard(std::span<const std::string> paths, std::vector<std::size_t> order,
                     const HashControl& control)
    : paths_(paths), order_(std::move(order)), control_(control), outcomes_(paths.size()) {}

bool LaneBoard::Take(std::size_t& index) {
    const std::size_t at = next_.fetch_add(1, std::memory_order_relaxed);
    if (at >= order_.size()) return false;
    index = order_[at];
    return true;
}

void LaneBoard::Post(std::size_t index, HashOutcome&& outcome) {
    {
        std::lock_guard lock(mutex_);
        outcomes_[index] = std::move(outcome);
    }
    posted_.fetch_add(1, std::memory_order_release);
    arrived_.notify_all();
}

void LaneBoard::Emit(const OutcomeSink& emit, bool all) {
    while (emitted_ < outcomes_.size()) {
        if (!all && posted_.load(std::memory_order_acquire) == seen_) return;
        std::vector<std::pair<std::size_t, HashOutcome>> due;
        {
            std::unique_lock lock(mutex_);
            if (all) arrived_.wait(lock, [&] { return outcomes_[emitted_].has_value(); });
            seen_ = posted_.load(std::memory_order_acquire);
            for (; emitted_ < outcomes_.size() && outcomes_[emitted_]; ++emitted_) {
                due.emplace_back(emitted_, std::move(*outcomes_[emitted_]));
                outcomes_[emitted_].reset();
            }
        }
        for (auto& [index, outcome] : due) emit(index, std::move(outcome));
        if (!all) return;
    }
}

LaneGroup::LaneGroup(LaneBoard& board, std::unique_ptr<LaneEngine> engine, std::size_t cap,
                     Algorithm algorithm, CoreBudget& cores)
    : board_(board),
      cores_(cores),
      engine_(std::move(engine)),
      cap_(std::min(cap, engine_->Lanes())),
      block_(engine_->BlockSize()),
      read_(LaneRead(engine_->Lanes())),
      algorithm_(algorithm),
      lanes_(engine_->Lanes()),
      buffers_(new uint8_t[engine_->Lanes() * (read_ + block_)]),
      data_(engine_->Lanes()) {
    for (std::size_t l = 0; l < lanes_.size(); ++l)
        lanes_[l].buffer = buffers_.get() + l * (read_ + block_);
}

void LaneGroup::Run(const std::function<void()>& between) {
    RunLanes(between);
    cores_.Give(1);
}

void LaneGroup::RunLanes(const std::function<void()>& between) {
    for (;;) {
        if (board_.Cancelled()) return CancelAll();
        for (std::size_t l = 0; l < lanes_.size(); ++l) Prepare(l);
        if (busy_ == 0) return;
        if (board_.Exhausted() && busy_ <= engine_->OneMessageWorth()) return FinishAlone(between);
        // As many blocks as every busy lane has; idle lanes read a busy lane's.
        std::size_t run = SIZE_MAX;
        const uint8_t* spare = nullptr;
        for (const Lane& lane : lanes_) {
            if (lane.input == kIdle) continue;
            run = std::min(run, (lane.end - lane.begin) / block_);
            spare = lane.buffer + lane.begin;
        }
        for (std::size_t l = 0; l < lanes_.size(); ++l)
            data_[l] = lanes_[l].input == kIdle ? spare : lanes_[l].buffer + lanes_[l].begin;
        engine_->Blocks(data_.data(), run);
        for (Lane& lane : lanes_) {
            if (lane.input == kIdle) continue;
            lane.begin += run * block_;
            lane.fed += run * block_;
        }
        if (between) between();
    }
}

void LaneGroup::Prepare(std::size_t l) {
    Lane& lane = lanes_[l];
    for (;;) {
        if (lane.input == kIdle) {
            std::size_t input = 0;
            if (busy_ >= cap_ || !board_.Take(input)) return;
            if (!Open(l, input)) continue;
        }
        if (lane.end - lane.begin >= block_) return;
        if (!lane.atEnd) {
            // Less than a block is left: it moves to the front, and the next chunk follows it.
            std::memmove(lane.buffer, lane.buffer + lane.begin, lane.end - lane.begin);
            lane.end -= lane.begin;
            lane.begin = 0;
            int error = 0;
            const std::ptrdiff_t got = lane.source->Read(lane.buffer + lane.end, read_, error);
            if (got < 0) {
                Finish(lane, HashOutcome::Failure(HashStatus::ReadFailed, error, lane.fed));
            } else if (got == 0) {
                lane.atEnd = true;
            } else {
                lane.end += static_cast<std::size_t>(got);
            }
            continue;
        }
        const auto tail = engine_->TakeOut(l, lane.fed);
        tail->Update(lane.buffer + lane.begin, lane.end - lane.begin);
        Finish(lane, Digest(tail->Final(), lane.fed + (lane.end - lane.begin)));
    }
}

bool LaneGroup::Open(std::size_t l, std::size_t input) {
    const HashControl& control = board_.Control();
    int error = 0;
    auto source = control.opener ? control.opener(board_.Path(input), error)
                                 : OpenFileSource(board_.Path(input), error);
    if (!source) {
        if (error == 0) error = ENOENT;  // an opener that gave no reason
        board_.Post(input,
                    HashOutcome::Failure(
                        error == ENOENT ? HashStatus::NotFound : HashStatus::OpenFailed, error, 0));
        return false;
    }
    Lane& lane = lanes_[l];
    lane.input = input;
    lane.source = std::move(source);
    lane.fed = 0;
    lane.begin = lane.end = 0;
    lane.atEnd = false;
    engine_->Start(l);
    ++busy_;
    return true;
}

void LaneGroup::Finish(Lane& lane, HashOutcome&& outcome) {
    board_.Post(lane.input, std::move(outcome));
    lane.input = kIdle;
    lane.source.reset();
    --busy_;
}

void LaneGroup::FinishAlone(const std::function<void()>& between) {
    const Algorithm algorithms[] = {algorithm_};
    HashControl control = board_.Control();
    control.progress = nullptr;
    for (std::size_t l = 0; l < lanes_.size(); ++l) {
        Lane& lane = lanes_[l];
        if (lane.input == kIdle) continue;
        if (lane.fed == 0) {
            // Not begun: the pipeline reads it, with its reader thread when a core is free. It
            // takes its own core from the budget, so this group's goes back meanwhile.
            PrefixedSource whole(lane.buffer + lane.begin, lane.end - lane.begin, *lane.source);
            cores_.Give(1);
            HashOutcome outcome = ComputeDigests(whole, algorithms, control);
            cores_.Take(1, 0);
            Finish(lane, std::move(outcome));
        } else {
            HashOutcome outcome = ContinueAlone(lane);
            Finish(lane, std::move(outcome));
        }
        if (between) between();
    }
}

HashOutcome LaneGroup::ContinueAlone(Lane& lane) {
    const auto tail = engine_->TakeOut(static_cast<std::size_t>(&lane - lanes_.data()), lane.fed);
    uint64_t bytes = lane.fed + (lane.end - lane.begin);
    tail->Update(lane.buffer + lane.begin, lane.end - lane.begin);
    for (;;) {
        if (board_.Cancelled()) return HashOutcome::Failure(HashStatus::Cancelled, 0, bytes);
        int error = 0;
        const std::ptrdiff_t got = lane.source->Read(lane.buffer, read_, error);
        if (got < 0) return HashOutcome::Failure(HashStatus::ReadFailed, error, bytes);
        if (got == 0) return Digest(tail->Final(), bytes);
        tail->Update(lane.buffer, static_cast<std::size_t>(got));
        bytes += static_cast<uint64_t>(got);
    }
}

void LaneGroup::CancelAll() {
    for (Lane& lane : lanes_)
        if (lane.input != kIdle)
            Finish(lane, HashOutcome::Failure(HashStatus::Cancelled, 0, lane.fed));
    for (std::size_t input = 0; board_.Take(input);)
        board_.Post(input, HashOutcome::Failure(HashStatus::Cancelled, 0, 0));
}
