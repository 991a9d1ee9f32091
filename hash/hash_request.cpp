// The request's setters, Compute and its CRC-32 path; the other algorithms' runners are in
// runners.cpp.
#include "hash_request.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "crc32.h"
#include "digest_text.h"

void HashRequest::SetAlgorithm(int32_t value) {
    algorithm = value;
}

void HashRequest::SetSource(int32_t value) {
    source = value == kSourceFile ? kSourceFile : kSourceText;
}

void HashRequest::SetSha2Width(int32_t value) {
    sha2Width = (value == 384 || value == 512) ? value : 256;
}

void HashRequest::SetFilePath(const std::string& path) {
    filePath = path;
}

void HashRequest::SetInputText(const std::string& text) {
    inputText.clear();
    inputText = text;
}

std::string HashRequest::GetFilePath() const {
    return filePath;
}

void HashRequest::SetProgressObserver(ProgressObserver observer) {
    progress = std::move(observer);
}

void HashRequest::SetCancelFlag(const std::atomic<bool>* flag) {
    cancelFlag = flag;
}

void HashRequest::SetFileOpener(FileOpener opener) {
    fileOpener = std::move(opener);
}

ReadWatch HashRequest::MakeWatch(uint64_t total) const {
    ReadWatch watch;
    watch.progress = progress ? &progress : nullptr;
    watch.cancel = cancelFlag;
    watch.total = total;
    return watch;
}

namespace {

// Opening a FIFO waits for a writer that may never come, and nothing could interrupt that wait;
// a FIFO has no contents of its own to digest, so it counts as a file that cannot be read.
bool IsFifo(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_fifo(path, error);
}

// The CRC of a file, read through the runners' loop in large reads on this thread: the CRC folds
// several times faster than a 4096-byte stream delivers, and faster than a block copied on
// another core reaches this one. Progress still counts 4096-byte portions, as the CRC engine's
// own file reader reports them. False when the file did not open or was not read to its end.
bool CrcOfFileInLargeReads(const std::string& path, uint32_t& crc, ReadWatch& watch) {
    constexpr uint64_t kPortion = 4096;
    uint32_t reg = CCrc32Static::kPreset;
    uint64_t unreported = 0;
    // The loop's own watch only listens for the cancel flag; the portions go to `watch`.
    ReadWatch slices;
    slices.cancel = watch.cancel;
    const ChunkSink sink = [&](const uint8_t* data, uint32_t length) {
        CCrc32Static::CrcFold(reg, data, length);
        for (unreported += length; unreported >= kPortion; unreported -= kPortion)
            if (!watch.Advance(kPortion)) return;
    };
    const auto reader = OpenFileChunks(path);
    if (!reader || ReadChunks(*reader, sink, slices, ReadMode::Inline) != ReadOutcome::Complete)
        return false;
    if (unreported > 0 && !watch.Advance(unreported)) return false;
    crc = reg ^ CCrc32Static::kPreset;
    return true;
}

}  // namespace

std::string HashRequest::Compute() {
    outputText.clear();
    if (source == kSourceFile && IsFifo(filePath)) return {};
    switch (algorithm) {
        case kAlgorithmCrc32:
            return ComputeCrc32();
        case kAlgorithmGost:
            return ComputeGost();
        case kAlgorithmMd2:
            return ComputeMd2();
        case kAlgorithmMd4:
            return ComputeMd4();
        case kAlgorithmMd5:
            return ComputeMd5();
        case kAlgorithmSha1:
            return ComputeSha1();
        case kAlgorithmSha2:
            return ComputeSha2();
        default:
            return {};
    }
}

std::string HashRequest::ComputeCrc32() {
    uint32_t crc = 0;
    if (source == kSourceText) {
        // The whole text, zero bytes included, as every other algorithm sees it.
        ReadWatch watch = MakeWatch(inputText.size());
        if (watch.Cancelled()) return {};
        CCrc32Static::CrcOfBytes(reinterpret_cast<const uint8_t*>(inputText.data()),
                                 inputText.size(), crc);
        if (!watch.Advance(inputText.size())) return {};
    } else {
        // An empty path, or one no file can have, names nothing to read.
        if (filePath.empty() || filePath.find('\0') != std::string::npos) return {};
        ReadWatch watch = MakeWatch(progress ? ExpectedFileSize(filePath) : 0);
        if (watch.Cancelled()) return {};
        if (!CrcOfFileInLargeReads(filePath, crc, watch)) return {};
    }
    outputText = CrcDigestText(crc);
    return outputText;
}
