// Whole-process timing of the dialog's path: HashRequest::Compute over a file, as the "Hash file"
// button runs it, so it can be timed against `corvane-sum -a ALGO FILE` on the same file.
// Usage: corvane_request_time ALGO FILE   (ALGO as corvane-sum names it: crc32, md5, sha256...)
// Prints the digest text, so the two tools can be compared for output as well.
#include <cstdio>
#include <optional>
#include <string>

#include "digester.h"
#include "hash_request.h"

namespace {

struct Choice {
    int32_t algorithm;
    int32_t width;
};

std::optional<Choice> ChoiceOf(Algorithm algorithm) {
    switch (algorithm) {
        case Algorithm::Crc32:
            return Choice{kAlgorithmCrc32, 256};
        case Algorithm::Gost:
            return Choice{kAlgorithmGost, 256};
        case Algorithm::Md2:
            return Choice{kAlgorithmMd2, 256};
        case Algorithm::Md4:
            return Choice{kAlgorithmMd4, 256};
        case Algorithm::Md5:
            return Choice{kAlgorithmMd5, 256};
        case Algorithm::Sha1:
            return Choice{kAlgorithmSha1, 256};
        case Algorithm::Sha256:
            return Choice{kAlgorithmSha2, 256};
        case Algorithm::Sha384:
            return Choice{kAlgorithmSha2, 384};
        case Algorithm::Sha512:
            return Choice{kAlgorithmSha2, 512};
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Algorithm> algorithm = argc == 3 ? ParseAlgorithm(argv[1]) : std::nullopt;
    if (!algorithm) {
        std::fprintf(stderr, "usage: corvane_request_time ALGO FILE\n");
        return 2;
    }
    const Choice choice = *ChoiceOf(*algorithm);
    HashRequest request;
    request.SetAlgorithm(choice.algorithm);
    request.SetSha2Width(choice.width);
    request.SetSource(kSourceFile);
    request.SetFilePath(argv[2]);
    const std::string text = request.Compute();
    std::printf("%s  %s\n", text.c_str(), argv[2]);
    return text.empty() ? 1 : 0;
}
