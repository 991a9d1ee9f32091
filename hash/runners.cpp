// The runners: one family over every engine. A text goes to the engine in one update, a file
// through the shared pipeline in 16000-byte slices, and the digest becomes DigestText. A file
// that does not open or is not read to its end has no digest: the result is then the empty text,
// never the digest of a prefix, and GetLastOutcome says why.
#include <cerrno>
#include <string>

#include "hash_request.h"

const HashOutcome& HashRequest::ComputeEach(std::span<const Algorithm> algorithms,
                                            std::size_t digestBytes) {
    const HashControl control{progress, cancelFlag, fileOpener, nullptr, {digestBytes}};
    if (source == kSourceText) {
        lastOutcome = ComputeDigests(HashInput::Text(inputText), algorithms, control);
    } else if (filePath.empty() || filePath.find('\0') != std::string::npos) {
        // Names no file: nothing is opened and no engine runs.
        lastOutcome = HashOutcome::Failure(HashStatus::NotFound, ENOENT, 0);
    } else {
        // A FIFO has no contents of its own to digest: it counts as a file that cannot be opened.
        lastOutcome =
            ComputeDigests(HashInput::Path(filePath, FileKinds::NoFifo), algorithms, control);
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
