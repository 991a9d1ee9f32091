// Whole-process timing of the dialog's path: HashRequest::Compute over a file, as the "Hash file"
// button runs it, so it can be timed against `corvane-sum -a ALGO FILE` on the same file.
// Usage: corvane_request_time ALGO FILE   (ALGO as corvane-sum names it: crc32, md5, sha256...)
// Prints the digest text, so the two tools can be compared for output as well.
#include <cstdio>
#include <optional>
#include <string>

#include "algorithms.h"
#include "hash_request.h"

int main(int argc, char** argv) {
    const std::optional<Algorithm> algorithm = argc == 3 ? ParseAlgorithm(argv[1]) : std::nullopt;
    if (!algorithm) {
        std::fprintf(stderr, "usage: corvane_request_time ALGO FILE\n");
        return 2;
    }
    // As the dialog sets it from its list entry.
    HashRequest request;
    for (const AlgorithmListEntry& entry : kAlgorithmList) {
        if (entry.algorithm != *algorithm) continue;
        request.SetAlgorithm(entry.hashAlgorithm);
        if (entry.sha2Width != 0) request.SetSha2Width(entry.sha2Width);
    }
    request.SetSource(kSourceFile);
    request.SetFilePath(argv[2]);
    const std::string text = request.Compute();
    std::printf("%s  %s\n", text.c_str(), argv[2]);
    return text.empty() ? 1 : 0;
}
