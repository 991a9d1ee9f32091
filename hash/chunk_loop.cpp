// The shared file read loop of the runners.
#include "chunk_loop.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

class StdioChunkReader final : public ChunkReader {
public:
    explicit StdioChunkReader(std::FILE* file) : file_(file) {}
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

private:
    std::FILE* file_;
};

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

ReadOutcome ReadChunks(ChunkReader& reader, const ChunkSink& sink, ReadWatch& watch) {
    // One chunk buffer per computation, whatever the file's size.
    uint8_t chunk[kFileChunkSize];
    for (;;) {
        if (watch.Cancelled()) return ReadOutcome::Cancelled;
        bool failed = false;
        const std::size_t count = reader.Read(chunk, kFileChunkSize, failed);
        if (failed || count > kFileChunkSize) return ReadOutcome::Failed;
        // A short read is not the end by itself: the loop asks again until it gets nothing, so
        // end of file is the only normal way out.
        if (count == 0) return ReadOutcome::Complete;
        sink(chunk, static_cast<uint32_t>(count));
        if (!watch.Advance(count)) return ReadOutcome::Cancelled;
    }
}

ReadOutcome ReadFileChunks(const FileOpener& opener, const std::string& path, const ChunkSink& sink,
                           ReadWatch& watch) {
    auto reader = opener ? opener(path) : OpenFileChunks(path);
    if (!reader) return ReadOutcome::NotOpened;
    return ReadChunks(*reader, sink, watch);
}
