// The request's setters and Compute; the runners are in runners.cpp.
#include "hash_request.h"

#include <utility>

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

std::string HashRequest::Compute() {
    outputText.clear();
    lastOutcome = HashOutcome();
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
            // The algorithms beyond the first nine, through the same runner family.
            if (algorithm < kAlgorithmExtendedBase) return {};
            if (const auto extended = AlgorithmOfRequest(algorithm, sha2Width))
                return RunEngine(*extended);
            return {};
    }
}

// CRC-32 runs the same family as the byte digests: its text, four bytes most significant first,
// is the "%08x" text of its value.
std::string HashRequest::ComputeCrc32() {
    return RunEngine(Algorithm::Crc32);
}
