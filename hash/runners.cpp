// The runners: one family over every engine. A text goes to the engine in one update, a file
// through the shared pipeline in 16000-byte slices, and the digest becomes DigestText. A file
// that does not open or is not read to its end has no digest: the result is then the empty text,
// never the digest of a prefix, and GetLastOutcome says why.
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "hash_request.h"

namespace {

// Opening a FIFO waits for a writer that may never come, and nothing could interrupt that wait;
// a FIFO has no contents of its own to digest, so it counts as a file that cannot be opened.
bool IsFifo(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_fifo(path, error);
}

}  // namespace

const HashOutcome& HashRequest::ComputeEach(std::span<const Algorithm> algorithms) {
    const HashControl control{progress, cancelFlag, fileOpener, nullptr};
    if (source == kSourceText) {
        lastOutcome = ComputeDigests(HashInput::Text(inputText), algorithms, control);
    } else if (filePath.empty() || filePath.find('\0') != std::string::npos) {
        // Names no file: nothing is opened and no engine runs.
        lastOutcome = HashOutcome::Failure(HashStatus::NotFound, ENOENT, 0);
    } else if (IsFifo(filePath)) {
        lastOutcome = HashOutcome::Failure(HashStatus::OpenFailed, ENXIO, 0);
    } else {
        lastOutcome = ComputeDigests(HashInput::Path(filePath), algorithms, control);
    }
    return lastOutcome;
}

std::string HashRequest::RunEngine(Algorithm engine) {
    const Algorithm algorithms[] = {engine};
    if (!ComputeEach(algorithms).ok()) return {};
    outputText += lastOutcome.digests.front();
    return outputText;
}

std::string HashRequest::ComputeGost() {
    return RunEngine(Algorithm::Gost);
}
std::string HashRequest::ComputeMd2() {
    return RunEngine(Algorithm::Md2);
}
std::string HashRequest::ComputeMd4() {
    return RunEngine(Algorithm::Md4);
}
std::string HashRequest::ComputeMd5() {
    return RunEngine(Algorithm::Md5);
}
std::string HashRequest::ComputeSha1() {
    return RunEngine(Algorithm::Sha1);
}
std::string HashRequest::ComputeSha2() {
    return RunEngine(*AlgorithmOfRequest(kAlgorithmSha2, sha2Width));
}
