// Streaming a file in fixed-size chunks: the one read loop the runners share, with the reader
// behind a small interface so a test can stand in for the file.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

inline constexpr std::size_t kFileChunkSize = 16000;

class ChunkReader {
public:
    virtual ~ChunkReader() = default;
    // Reads up to `capacity` bytes into `buffer` and returns the count, 0 at end of file. A read
    // error sets `failed`; whatever the call delivered then counts for nothing.
    virtual std::size_t Read(uint8_t* buffer, std::size_t capacity, bool& failed) = 0;
    // How much one Read should ask for: a multiple of kFileChunkSize. The loop hands the sink
    // kFileChunkSize-byte slices whatever this is, so it changes no result.
    virtual std::size_t ReadSize() const { return kFileChunkSize; }
};

// Opens the file at a path for reading; null when it cannot be opened.
using FileOpener = std::function<std::unique_ptr<ChunkReader>(const std::string& path)>;
// The default opener: fopen "rb", unbuffered fread of 16 chunks at a time, and ferror to tell an
// error from end of file.
std::unique_ptr<ChunkReader> OpenFileChunks(const std::string& path);

// Sees the bytes done so far and the expected total (0 when unknown) after each chunk.
using ProgressObserver = std::function<void(uint64_t done, uint64_t total)>;

// What a computation reports to and listens to while it reads; both parts optional.
struct ReadWatch {
    const ProgressObserver* progress = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    uint64_t total = 0;
    uint64_t done = 0;

    bool Cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
    // Counts `bytes` more and tells the observer; false when the computation is to stop.
    bool Advance(uint64_t bytes);
};

// The size of a regular file, or 0 when it has none (missing, a directory, a device).
uint64_t ExpectedFileSize(const std::string& path);

enum class ReadOutcome { Complete, NotOpened, Failed, Cancelled };

using ChunkSink = std::function<void(const uint8_t* data, uint32_t length)>;

// ReadAhead reads on a thread of its own while the sink works on what came before, a few reads
// ahead at most; worth it when the sink costs more per byte than the read. Inline reads between
// the sink's calls, on the calling thread.
enum class ReadMode { ReadAhead, Inline };

// Feeds every chunk the reader delivers to `sink` in slices of at most kFileChunkSize bytes, in
// order, until end of file; the watch sees each slice. Only Complete means the sink has seen the
// whole file. The reader is called from one thread at a time, never after it has reported the
// end or an error.
ReadOutcome ReadChunks(ChunkReader& reader, const ChunkSink& sink, ReadWatch& watch,
                       ReadMode mode = ReadMode::ReadAhead);
// Opens `path` with `opener` and reads it as above.
ReadOutcome ReadFileChunks(const FileOpener& opener, const std::string& path, const ChunkSink& sink,
                           ReadWatch& watch, ReadMode mode = ReadMode::ReadAhead);
