// The file read loop with large reads and its read-ahead thread: the sink sees the same bytes in
// slices of at most one chunk whatever the read size, progress follows each slice, an error
// part-way fails the whole read, and a cancel stops the reader within a few reads, even on a
// file that never ends. Both modes must behave alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "chunk_loop.h"
#include "vectors.h"

namespace {

// A reader asking for `readSize` bytes a time over a message, optionally endless (a ramp that
// goes on) or failing on read `failOn`; it counts its reads.
class BlockReader final : public ChunkReader {
public:
    BlockReader(std::string message, std::size_t readSize, std::size_t failOn = 0)
        : message_(std::move(message)), readSize_(readSize), failOn_(failOn) {}

    std::size_t Read(uint8_t* buffer, std::size_t capacity, bool& failed) override {
        EXPECT_EQ(capacity, readSize_);
        const std::size_t read = ++reads_;
        if (read == failOn_) {
            failed = true;
            return capacity / 2;
        }
        if (endless_) {
            std::memset(buffer, 'z', capacity);
            return capacity;
        }
        // Every other read comes back short, which is not the end.
        const std::size_t want = read % 2 == 0 ? capacity - 999 : capacity;
        const std::size_t count = std::min(want, message_.size() - at_);
        std::memcpy(buffer, message_.data() + at_, count);
        at_ += count;
        return count;
    }
    std::size_t ReadSize() const override { return readSize_; }
    void MakeEndless() { endless_ = true; }
    std::size_t reads() const { return reads_.load(); }

private:
    std::string message_;
    std::size_t readSize_, failOn_;
    std::atomic<std::size_t> reads_{0};
    std::size_t at_ = 0;
    bool endless_ = false;
};

constexpr ReadMode kModes[] = {ReadMode::ReadAhead, ReadMode::Inline};

TEST(ReadAhead, SlicesCarryTheWholeFileInOrderForAnyReadSize) {
    for (std::size_t length : {0u, 1u, 15999u, 16000u, 16001u, 80000u, 250001u}) {
        const std::string message = RampMessage(length);
        for (std::size_t readSize : {kFileChunkSize, 5 * kFileChunkSize, 16 * kFileChunkSize}) {
            for (ReadMode mode : kModes) {
                BlockReader reader(message, readSize);
                std::string fed;
                std::vector<uint64_t> progress;
                ProgressObserver observer = [&](uint64_t done, uint64_t) {
                    progress.push_back(done);
                };
                ReadWatch watch;
                watch.progress = &observer;
                const ChunkSink sink = [&](const uint8_t* data, uint32_t n) {
                    EXPECT_GT(n, 0u);
                    EXPECT_LE(n, kFileChunkSize);
                    fed.append(reinterpret_cast<const char*>(data), n);
                };
                EXPECT_EQ(ReadChunks(reader, sink, watch, mode), ReadOutcome::Complete);
                EXPECT_EQ(fed, message) << length << " in reads of " << readSize;
                EXPECT_EQ(watch.done, length);
                EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
                EXPECT_EQ(progress.empty() ? 0 : progress.back(), length);
            }
        }
    }
}

TEST(ReadAhead, AnErrorPartWayFailsTheRead) {
    const std::string message = RampMessage(10 * 80000);
    for (ReadMode mode : kModes) {
        for (std::size_t failOn : {1u, 2u, 4u}) {
            BlockReader reader(message, 80000, failOn);
            ReadWatch watch;
            std::size_t fed = 0;
            const auto outcome = ReadChunks(
                reader, [&](const uint8_t*, uint32_t n) { fed += n; }, watch, mode);
            EXPECT_EQ(outcome, ReadOutcome::Failed) << failOn;
            EXPECT_EQ(reader.reads(), failOn) << "no read after the error";
            EXPECT_LT(fed, message.size());
        }
    }
}

TEST(ReadAhead, CancelStopsAFileThatNeverEndsWithinAFewReads) {
    for (ReadMode mode : kModes) {
        BlockReader reader("", 2 * kFileChunkSize);
        reader.MakeEndless();
        std::atomic<bool> cancel{false};
        std::size_t readsAtCancel = 0;
        ProgressObserver observer = [&](uint64_t done, uint64_t) {
            if (done >= 10 * kFileChunkSize && !cancel) {
                cancel = true;
                readsAtCancel = reader.reads();
            }
        };
        ReadWatch watch;
        watch.progress = &observer;
        watch.cancel = &cancel;
        EXPECT_EQ(ReadChunks(
                      reader, [](const uint8_t*, uint32_t) {}, watch, mode),
                  ReadOutcome::Cancelled);
        EXPECT_EQ(watch.done, 10 * kFileChunkSize) << "no slice after the cancel";
        // The read-ahead thread may fill the rest of its ring (four blocks) before it sees the
        // cancel; not more.
        EXPECT_LE(reader.reads(), readsAtCancel + 4);
    }
    // Cancelled before the start: nothing is read.
    BlockReader reader(RampMessage(100), kFileChunkSize);
    std::atomic<bool> cancel{true};
    ReadWatch watch;
    watch.cancel = &cancel;
    EXPECT_EQ(ReadChunks(
                  reader, [](const uint8_t*, uint32_t) {}, watch),
              ReadOutcome::Cancelled);
    EXPECT_EQ(reader.reads(), 0u);
}

}  // namespace
