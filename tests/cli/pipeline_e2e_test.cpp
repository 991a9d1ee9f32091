// End-to-end runs of corvane-sum over inputs large enough for its reader thread and engine
// groups: files around the read size and the size where the reader thread starts, standard input
// through a pipe, a file that fails to read, and many files with -j in argument order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "digester.h"
#include "e2e_support.h"
#include "pipeline.h"
#include "process.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

std::string DigestOf(Algorithm algorithm, const std::string& message) {
    Digester digester(algorithm);
    digester.Update(reinterpret_cast<const uint8_t*>(message.data()), message.size());
    return digester.Final();
}

std::string AllLines(const std::string& message, const std::string& name) {
    std::string lines;
    for (Algorithm a : kAllOptionAlgorithms)
        lines += std::string(AlgorithmTag(a)) + " (" + name + ") = " + DigestOf(a, message) + "\n";
    return lines;
}

constexpr std::size_t kRead = kReadSize;
constexpr std::size_t kThreaded = kThreadsFrom;

TEST(PipelineE2e, EveryAlgorithmOnFilesAroundTheReadSizes) {
    TempDir dir;
    const std::size_t lengths[] = {kRead - 1, kRead,         kRead + 1,
                                   kThreaded, kThreaded + 1, 3 * kThreaded + 12345};
    std::vector<std::string> names;
    std::vector<std::string> messages;
    for (std::size_t length : lengths) {
        names.push_back("ramp-" + std::to_string(length));
        messages.push_back(RampMessage(length));
        dir.WriteFile(names.back(), messages.back());
    }
    for (Algorithm algorithm : kAllAlgorithms) {
        if (algorithm == Algorithm::Md2) continue;  // slow; it runs in the --all case below
        std::vector<std::string> args = {"-a", std::string(AlgorithmName(algorithm))};
        args.insert(args.end(), names.begin(), names.end());
        const ProcessResult r = RunSum(args, "", dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        std::string expected;
        for (std::size_t i = 0; i < names.size(); ++i)
            expected += DigestOf(algorithm, messages[i]) + "  " + names[i] + "\n";
        EXPECT_EQ(r.out, expected) << AlgorithmName(algorithm);
    }
}

TEST(PipelineE2e, AllOnAThreadedFileAndFromAPipe) {
    TempDir dir;
    const std::string message = RampMessage(kThreaded + kRead + 7);
    dir.WriteFile("big", message);
    const ProcessResult file = RunSum({"--all", "big"}, "", dir.path());
    ASSERT_EQ(file.status, 0) << file.err;
    EXPECT_EQ(file.out, AllLines(message, "big"));

    const ProcessResult piped = RunSum({"--all"}, message);
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, AllLines(message, "-"));

    const ProcessResult one = RunSum({"-a", "sha256", "-"}, message);
    EXPECT_EQ(one.out, DigestOf(Algorithm::Sha256, message) + "  -\n");
}

TEST(PipelineE2e, AFileThatFailsToReadHasNoDigestAndExitsOne) {
    TempDir dir;
    const std::string message = RampMessage(kThreaded + 1);
    dir.WriteFile("big", message);
    for (const char* algorithms : {"sha1", "crc32,md5,sha512"}) {
        // A directory opens, then fails on its first read.
        const ProcessResult r = RunSum({"-a", algorithms, "big", ".", "big"}, "", dir.path());
        EXPECT_EQ(r.status, 1) << algorithms;
        EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
        const std::vector<std::string> lines = Lines(r.out);
        const std::size_t perFile = std::string(algorithms).find(',') == std::string::npos ? 1 : 3;
        ASSERT_EQ(lines.size(), 2 * perFile) << r.out;
        for (const std::string& line : lines) EXPECT_NE(line.find("big"), std::string::npos);
    }
}

TEST(PipelineE2e, ManyFilesWithJobsKeepArgumentOrder) {
    TempDir dir;
    std::vector<std::string> args = {"-j", "4", "-a", "sha1,crc32"};
    std::string expected;
    for (std::size_t i = 0; i < 16; ++i) {
        // Large and small mixed, so later files often finish first.
        const std::size_t length = i % 3 == 0 ? kThreaded + 1000 * i : 100 * i;
        const std::string message = RampMessage(length) + std::to_string(i);
        const std::string name = "f" + std::to_string(i);
        dir.WriteFile(name, message);
        args.push_back(name);
        expected += "SHA1 (" + name + ") = " + DigestOf(Algorithm::Sha1, message) + "\n";
        expected += "CRC32 (" + name + ") = " + DigestOf(Algorithm::Crc32, message) + "\n";
    }
    const ProcessResult r = RunSum(args, "", dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected);
}

}  // namespace
