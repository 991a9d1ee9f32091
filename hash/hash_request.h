// The request: what to hash (a text or a file), with which algorithm, and the digest as text.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>

#include "algorithms.h"
#include "pipeline.h"

// InputSource values.
enum : int32_t { kSourceText = 1, kSourceFile = 2 };

class HashRequest {
public:
    HashRequest() = default;

    void SetAlgorithm(int32_t value);
    void SetSource(int32_t value);     // 1 or 2; anything else stores 1
    void SetSha2Width(int32_t value);  // 256, 384 or 512; anything else stores 256
    void SetFilePath(const std::string& path);
    void SetInputText(const std::string& text);
    std::string GetFilePath() const;

    // Runs the selected engine and returns the DigestText, or the empty text when there is none:
    // no algorithm, an empty path, a file that cannot be opened or read to its end, or a
    // cancelled computation.
    std::string Compute();
    // Computes each of `algorithms` over the request's source (the text, or the file) in one
    // read, the failures as Compute has them; the algorithm and width are left as they are. The
    // outcome is also GetLastOutcome's. `digestBytes`: the length asked of variable-length
    // algorithms (a sum file's "BLAKE2b-256" line), 0 for their usual one.
    const HashOutcome& ComputeEach(std::span<const Algorithm> algorithms,
                                   std::size_t digestBytes = 0);
    // The text the latest Compute built.
    const std::string& GetOutputText() const { return outputText; }
    // How the latest Compute ended: when it gave the empty text, why (not found, the errno of the
    // failed open or read, cancelled) and how many bytes were hashed before. An empty or
    // impossible path counts as not found, a FIFO as a file that cannot be opened (ENXIO); an
    // algorithm outside 1 to 7 computes nothing and leaves the outcome Complete without digests.
    const HashOutcome& GetLastOutcome() const { return lastOutcome; }

    // Optional, for callers that run Compute off their user-interface thread: the observer is
    // called on the computing thread after each slice; a set cancel flag ends the computation
    // with the empty text. The flag must outlive the computations.
    void SetProgressObserver(ProgressObserver observer);
    void SetCancelFlag(const std::atomic<bool>* flag);
    // Where file bytes come from; the default (an empty opener) is OpenFileSource.
    void SetFileOpener(FileOpener opener);

private:
    std::string ComputeGost();
    std::string ComputeMd2();
    std::string ComputeMd4();
    std::string ComputeMd5();
    std::string ComputeSha1();
    std::string ComputeSha2();
    std::string ComputeCrc32();
    // The runner family, once for every engine (runners.cpp).
    std::string RunEngine(Algorithm engine);

    std::string inputText;
    int32_t algorithm = kAlgorithmSha1;
    std::string filePath;
    int32_t source = kSourceText;
    int32_t sha2Width = 256;
    std::string outputText;

    ProgressObserver progress;
    const std::atomic<bool>* cancelFlag = nullptr;
    FileOpener fileOpener;
    HashOutcome lastOutcome;
};
