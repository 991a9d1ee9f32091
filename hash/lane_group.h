// The parts of the lane scheduler (lane_scheduler.h): the board the lane groups share (which file
// starts next, the outcomes, their emission in path order) and one lane group's read-and-hash loop.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core_budget.h"
#include "lane_engine.h"
#include "lane_scheduler.h"

class LaneBoard {
public:
    // `startOrder`: the indices of `inputPaths` in the order to start them; `total`: their sizes'
    // sum.
    LaneBoard(std::span<const std::string> inputPaths, std::vector<std::size_t> startOrder,
              uint64_t total, const HashControl& hashControl);

    const std::string& Path(std::size_t index) const { return paths[index]; }
    const HashControl& Control() const { return control; }
    bool Cancelled() const {
        return control.cancel != nullptr && control.cancel->load(std::memory_order_relaxed);
    }
    // The next file to start; false when every file has been taken.
    bool Take(std::size_t& index);
    bool Exhausted() const { return next.load(std::memory_order_relaxed) >= order.size(); }
    // Any thread.
    void Post(std::size_t index, HashOutcome&& outcome);
    void AddRead(uint64_t bytes) { readBytes.fetch_add(bytes, std::memory_order_relaxed); }
    // The files every group holds open, so one that runs out of descriptors knows whether
    // waiting can bring one back.
    void Opened(int change) { openFiles.fetch_add(change, std::memory_order_relaxed); }
    int OpenFiles() const { return openFiles.load(std::memory_order_relaxed); }
    // Calling thread only: control.progress with the bytes read of all the files so far.
    void Report() const;
    // Calling thread only: emits the outcomes now due; with `all`, waits for every one.
    void Emit(const OutcomeSink& emit, bool all);

private:
    std::span<const std::string> paths;
    std::vector<std::size_t> order;
    const HashControl& control;
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> posted{0};
    std::atomic<uint64_t> readBytes{0};
    std::atomic<int> openFiles{0};
    const uint64_t totalBytes;
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::optional<HashOutcome>> outcomes;  // guarded by mutex
    std::size_t emitted = 0, seen = 0;                 // calling thread only
};

class LaneGroup {
public:
    // Bytes each lane reads at a time: all the lanes' buffers together (at most kGroupRead) stay
    // in the core's second-level cache, where the lane function then finds them. 32 KiB for up to
    // 32 lanes; MD2's 128 lanes read 8 KiB each, as fast as 32 KiB (4 MiB of buffers) at half the
    // peak memory, where 4 KiB took 7% more CPU time (farm-bench over `corvane-sum -a md2` on 400
    // files of 1 MiB, 2026-12-07).
    static constexpr std::size_t kLaneRead = 32 * 1024;
    static constexpr std::size_t kGroupRead = 32 * kLaneRead;
    static constexpr std::size_t LaneRead(std::size_t lanes) {
        return std::max<std::size_t>(4096, std::min(kLaneRead, kGroupRead / lanes));
    }

    // `maxOpen`: at most this many files open at once (no more than the engine's lanes; fewer
    // from the first time the process runs out of descriptors). The
    // group runs on one core of `budget`, already taken for it, and gives it back when it is done.
    LaneGroup(LaneBoard& sharedBoard, std::unique_ptr<LaneEngine> laneEngine, std::size_t maxOpen,
              Algorithm laneAlgorithm, CoreBudget& budget);
    // Until no file is left to start and all this group's are done; `between` runs after each
    // step of the lanes.
    void Run(const std::function<void()>& between);

private:
    struct Lane {
        std::size_t input = kIdle;
        std::unique_ptr<ByteSource> source;
        uint64_t fed = 0;                // bytes through the lane function
        std::size_t begin = 0, end = 0;  // read, not yet hashed: buffer[begin, end)
        bool atEnd = false;
        uint8_t* buffer = nullptr;
    };
    static constexpr std::size_t kIdle = SIZE_MAX;

    void RunLanes(const std::function<void()>& between);
    // Leaves the lane busy with a whole block ready, or idle with nothing left to start.
    void Prepare(std::size_t lane);
    // False when the lane stays idle: the file failed (posted), or waits as `deferred`.
    bool Open(std::size_t lane, std::size_t input);
    void Finish(Lane& lane, HashOutcome&& outcome);
    // The busy lanes' messages off the lane function, each alone, on this thread and on any core
    // that comes free.
    void FinishAlone(const std::function<void()>& between);
    HashOutcome Alone(Lane& lane, const std::function<void()>& between);
    HashOutcome ContinueAlone(Lane& lane, const std::function<void()>& between);
    void CancelAll();

    LaneBoard& board;
    CoreBudget& cores;
    std::unique_ptr<LaneEngine> engine;
    std::size_t cap;
    const std::size_t block, readSize;
    // A file taken from the board that could not be opened for want of descriptors: it opens
    // when one of this group's files is done.
    std::optional<std::size_t> deferred;
    const Algorithm algorithm;
    std::vector<Lane> lanes;
    std::unique_ptr<uint8_t[]> buffers;
    std::vector<const uint8_t*> data;
    std::size_t busy = 0;
};
