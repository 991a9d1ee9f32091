// Whole-process timing of the dialog's path: HashRequest::Compute over a file, as the "Hash file"
// button runs it, so it can be timed against `corvane-sum -a ALGO FILE` on the same file.
// Usage: corvane_request_time ALGO FILE   (ALGO as corvane-sum names it: crc32, md5, sha256...)
// Prints the digest text, so the two tools can be compared for output as well.
//        corvane_request_time --verify EXPECTED FILE
// runs "Hash file" verifying against EXPECTED as typed into the Expected hash field (a bare
// digest, or a tagged line), with SHA-1 selected as the dialog starts; prints the verdict and
// the algorithms tried. A bare 32-digit digest against its tagged line:
//   `--verify DIGEST FILE` against `--verify "MD5 (FILE) = DIGEST" FILE`, whole processes timed
//   in alternation.
#include <cstdio>
#include <optional>
#include <string>

#include "algorithms.h"
#include "hash_request.h"
#include "verify_command.h"

namespace {

class Controls : public DialogControls {
public:
    std::string GetControlText(int id) const override {
        return id == kFilePathBoxId ? path : id == kOutputBoxId ? output : std::string();
    }
    void SetControlText(int id, const std::string& text) override {
        if (id == kOutputBoxId) output = text;
    }
    int GetSelectedIndex() const override { return 5; }  // SHA-1, as the dialog starts
    std::string path, output;
};

int Verify(const char* expectedText, const char* path) {
    Controls controls;
    controls.path = path;
    std::string name = path;
    name = name.substr(name.rfind('/') == std::string::npos ? 0 : name.rfind('/') + 1);
    ExpectedSources sources;
    sources.field = ParseExpectedText(expectedText, name);
    if (!sources.field) {
        std::fprintf(stderr, "not an expected digest: %s\n", expectedText);
        return 2;
    }
    HashRequest request;
    const VerifiedRun run = OnHashFileVerifying(controls, request, sources);
    if (!run.verdict) return 1;
    std::printf("%s %s, tried", run.verdict->matches ? "matches" : "differs",
                std::string(AlgorithmName(run.verdict->algorithm)).c_str());
    for (Algorithm tried : run.tried) std::printf(" %s", std::string(AlgorithmName(tried)).c_str());
    std::printf("\n");
    return run.verdict->matches ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--verify") return Verify(argv[2], argv[3]);
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
