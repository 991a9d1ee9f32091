// The shared file read loop of the runners. The default reader asks the kernel for sixteen chunks
// at a time (page-cached files copy faster in large reads), and by default a second thread reads
// the next block while the engine hashes the current one, so the copy costs no time on a machine
// with a core to spare.
#include "chunk_loop.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

class StdioChunkReader final : public ChunkReader {
public:
    explicit StdioChunkReader(std::FILE* file) : file_(file) {
        // The reads are large already; a stream buffer would only add a copy.
        std::setvbuf(file_, nullptr, _IONBF, 0);
    }
    ~StdioChunkReader() override { std::fclose(file_); }
    StdioChunkReader(const StdioChunkReader&) = delete;
    StdioChunkReader& operator=(const StdioChunkReader&) = delete;

    std::size_t Read(uint8_t* buffer, std::size_t capacity, bool& failed) override {
        const std::size_t count = std::fread(buffer, 1, capacity, file_);
        // fread comes back short both at end of file and on an error; only ferror tells them
        // apart (a directory opens on Linux and fails here).
        failed = std::ferror(file_) != 0;
        return count;
    }
    std::size_t ReadSize() const override { return 16 * kFileChunkSize; }

private:
    std::FILE* file_;
};

std::size_t ReadSizeOf(const ChunkReader& reader) {
    const std::size_t size = reader.ReadSize();
    return std::clamp<std::size_t>(size - size % kFileChunkSize, kFileChunkSize,
                                   64 * kFileChunkSize);
}

// Hands one read's bytes to the sink in kFileChunkSize slices; false when the watch says stop.
bool FeedSlices(const uint8_t* data, std::size_t count, const ChunkSink& sink, ReadWatch& watch) {
    for (std::size_t at = 0; at < count; at += kFileChunkSize) {
        const std::size_t slice = std::min(kFileChunkSize, count - at);
        sink(data + at, static_cast<uint32_t>(slice));
        if (!watch.Advance(slice)) return false;
    }
    return true;
}

ReadOutcome ReadInline(ChunkReader& reader, const ChunkSink& sink, ReadWatch& watch) {
    const std::size_t size = ReadSizeOf(reader);
    std::vector<uint8_t> block(size);  // one block per computation, whatever the file's size
    for (;;) {
        if (watch.Cancelled()) return ReadOutcome::Cancelled;
        bool failed = false;
        const std::size_t count = reader.Read(block.data(), size, failed);
        if (failed || count > size) return ReadOutcome::Failed;
        // A short read is not the end by itself: the loop asks again until it gets nothing, so
        // end of file is the only normal way out.
        if (count == 0) return ReadOutcome::Complete;
        if (!FeedSlices(block.data(), count, sink, watch)) return ReadOutcome::Cancelled;
    }
}

// Blocks n go to slot n % kSlots; the reader refills a slot only once the sink is done with it,
// and stops at the end, at an error, or when the hashing side gives up.
class ReadAheadRing {
public:
    static constexpr std::size_t kSlots = 4;

    ReadAheadRing(ChunkReader& reader, std::size_t size)
        : reader_(reader), size_(size), memory_(kSlots * size) {}

    void Fill() {
        for (uint64_t n = 0;; ++n) {
            const std::size_t slot = n % kSlots;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stopped_ || consumed_ + kSlots > n; });
                if (stopped_) return;
            }
            bool failed = false;
            const std::size_t count = reader_.Read(&memory_[slot * size_], size_, failed);
            const bool end = failed || count > size_ || count == 0;
            {
                std::lock_guard lock(mutex_);
                if (failed || count > size_) outcome_ = ReadOutcome::Failed;
                if (end) {
                    ended_ = true;
                } else {
                    count_[slot] = count;
                    published_ = n + 1;
                }
            }
            changed_.notify_all();
            if (end) return;
        }
    }

    ReadOutcome Drain(const ChunkSink& sink, ReadWatch& watch) {
        for (uint64_t n = 0;; ++n) {
            const std::size_t slot = n % kSlots;
            std::size_t count = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return published_ > n || ended_; });
                // Every block read before the end or the error goes to the sink first, as the
                // inline loop would have fed it.
                if (published_ <= n) return outcome_;
                count = count_[slot];
            }
            if (watch.Cancelled() || !FeedSlices(&memory_[slot * size_], count, sink, watch))
                return ReadOutcome::Cancelled;
            {
                std::lock_guard lock(mutex_);
                consumed_ = n + 1;
            }
            changed_.notify_all();
        }
    }

    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }

private:
    ChunkReader& reader_;
    const std::size_t size_;
    std::vector<uint8_t> memory_;
    std::size_t count_[kSlots] = {};
    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t published_ = 0, consumed_ = 0;
    bool ended_ = false, stopped_ = false;
    ReadOutcome outcome_ = ReadOutcome::Complete;
};

ReadOutcome ReadAhead(ChunkReader& reader, const ChunkSink& sink, ReadWatch& watch) {
    if (watch.Cancelled()) return ReadOutcome::Cancelled;
    ReadAheadRing ring(reader, ReadSizeOf(reader));
    std::thread filler;
    try {
        filler = std::thread([&ring] { ring.Fill(); });
    } catch (const std::system_error&) {
        return ReadInline(reader, sink, watch);  // no thread to spare: nothing is read yet
    }
    const ReadOutcome outcome = ring.Drain(sink, watch);
    ring.Stop();  // a cancelled computation leaves the rest of the file unread
    filler.join();
    return outcome;
}

}  // namespace

std::unique_ptr<ChunkReader> OpenFileChunks(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return nullptr;
    return std::make_unique<StdioChunkReader>(file);
}

bool ReadWatch::Advance(uint64_t bytes) {
    done += bytes;
    if (progress != nullptr && *progress) (*progress)(done, total);
    return !Cancelled();
}

uint64_t ExpectedFileSize(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return 0;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<uint64_t>(size);
}

ReadOutcome ReadChunks(ChunkReader& reader, const ChunkSink& sink, ReadWatch& watch,
                       ReadMode mode) {
    return mode == ReadMode::ReadAhead ? ReadAhead(reader, sink, watch)
                                       : ReadInline(reader, sink, watch);
}

ReadOutcome ReadFileChunks(const FileOpener& opener, const std::string& path, const ChunkSink& sink,
                           ReadWatch& watch, ReadMode mode) {
    auto reader = opener ? opener(path) : OpenFileChunks(path);
    if (!reader) return ReadOutcome::NotOpened;
    return ReadChunks(*reader, sink, watch, mode);
}
