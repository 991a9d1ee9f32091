// End-to-end runs of corvane-sum printing digests: the shared vectors through files, standard
// input and -s, several algorithms in one pass, -j ordering, and the exit statuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "digester.h"
#include "e2e_support.h"
#include "process.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

std::string Column(Algorithm algorithm) {
    return std::string(AlgorithmName(algorithm));
}

TEST(SumE2e, EveryAlgorithmOnTheSharedVectorsAsFiles) {
    TempDir dir;
    std::vector<std::string> names;
    for (const DigestVector& v : SharedVectors()) {
        dir.WriteFile(v.name, v.message);
        names.push_back(v.name);
    }
    for (Algorithm algorithm : kAllAlgorithms) {
        std::vector<std::string> args = {"-a", Column(algorithm)};
        args.insert(args.end(), names.begin(), names.end());
        const ProcessResult r = RunSum(args, "", dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        std::string expected;
        for (const DigestVector& v : SharedVectors())
            expected += v.digest.at(Column(algorithm)) + "  " + v.name + "\n";
        EXPECT_EQ(r.out, expected) << Column(algorithm);
        EXPECT_EQ(r.err, "");
    }
}

TEST(SumE2e, AllPrintsNineTaggedLinesPerFileInOnePass) {
    TempDir dir;
    const DigestVector& abc = SharedVector("abc");
    const DigestVector& big = SharedVector("ramp-100000");
    dir.WriteFile("abc", abc.message);
    dir.WriteFile("big", big.message);
    const ProcessResult r = RunSum({"--all", "abc", "big"}, "", dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    std::string expected;
    for (const auto& [name, v] : {std::pair{"abc", &abc}, std::pair{"big", &big}})
        for (Algorithm a : kAllOptionAlgorithms)
            expected += std::string(AlgorithmTag(a)) + " (" + name +
                        ") = " + v->digest.at(Column(a)) + "\n";
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(Lines(r.out).size(), 18u);
}

TEST(SumE2e, EveryAlgorithmOnTheSharedVectorsFromStandardInput) {
    for (const DigestVector& v : SharedVectors()) {
        const ProcessResult r = RunSum({"--all"}, v.message);
        ASSERT_EQ(r.status, 0) << v.name << r.err;
        std::string expected;
        for (Algorithm a : kAllOptionAlgorithms)
            expected += std::string(AlgorithmTag(a)) + " (-) = " + v.digest.at(Column(a)) + "\n";
        EXPECT_EQ(r.out, expected) << v.name;
    }
    // "-" names standard input too, and a single algorithm gives the GNU form.
    const DigestVector& abc = SharedVector("abc");
    EXPECT_EQ(RunSum({"-a", "md5", "-"}, abc.message).out, abc.digest.at("md5") + "  -\n");
}

TEST(SumE2e, EveryAlgorithmOnTheSharedVectorsAsStrings) {
    std::size_t tested = 0;
    for (const DigestVector& v : SharedVectors()) {
        // An argument cannot hold a NUL byte, nor more than 128 KiB.
        if (v.message.find('\0') != std::string::npos || v.message.size() > 100000) continue;
        ++tested;
        const ProcessResult r = RunSum({"--all", "-s", v.message});
        ASSERT_EQ(r.status, 0) << v.name << r.err;
        const std::vector<std::string> lines = Lines(r.out);
        ASSERT_EQ(lines.size(), kAllOptionAlgorithms.size()) << v.name;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Algorithm a = kAllOptionAlgorithms[i];
            const std::string& line = lines[i];
            const std::string want = " = " + v.digest.at(Column(a));
            ASSERT_GE(line.size(), want.size());
            EXPECT_EQ(line.substr(line.size() - want.size()), want) << v.name << " " << Column(a);
        }
    }
    EXPECT_GE(tested, 20u);
    const DigestVector& abc = SharedVector("abc");
    EXPECT_EQ(RunSum({"-s", "abc"}).out, abc.digest.at("sha1") + "  \"abc\"\n");
    EXPECT_EQ(RunSum({"-a", "crc32", "--tag", "-s", "abc"}).out,
              "CRC32 (\"abc\") = " + abc.digest.at("crc32") + "\n");
}

TEST(SumE2e, ManyJobsKeepArgumentOrder) {
    TempDir dir;
    std::vector<std::string> args = {"-j", "8", "-a", "sha256,md5"};
    std::vector<std::string> names;
    // Sizes vary so that files finish out of order; the names are not in sorted order.
    for (int i = 0; i < 120; ++i) {
        const std::string name = "f" + std::to_string((i * 37) % 120);
        dir.WriteFile(name, RampMessage(static_cast<std::size_t>(((i * 7919) % 13) * 20000 + i)));
        args.push_back(name);
        names.push_back(name);
    }
    const ProcessResult parallel = RunSum(args, "", dir.path());
    ASSERT_EQ(parallel.status, 0) << parallel.err;
    args[1] = "1";
    const ProcessResult serial = RunSum(args, "", dir.path());
    EXPECT_EQ(parallel.out, serial.out);
    const std::vector<std::string> lines = Lines(parallel.out);
    ASSERT_EQ(lines.size(), 2 * names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(lines[2 * i].rfind("SHA256 (" + names[i] + ") = ", 0), 0u) << lines[2 * i];
        EXPECT_EQ(lines[2 * i + 1].rfind("MD5 (" + names[i] + ") = ", 0), 0u);
    }
}

TEST(SumE2e, FailedFilesPrintNoDigestAndExitOne) {
    TempDir dir;
    dir.WriteFile("a", "abc");
    const std::string sha1 = SharedVector("abc").digest.at("sha1");
    const struct {
        std::vector<std::string> args;
        std::string out, err;
    } cases[] = {
        {{"a", "missing", "a"},
         sha1 + "  a\n" + sha1 + "  a\n",
         "corvane-sum: missing: No such file or directory\n"},
        {{"-j", "4", "a", "sub", "a"},
         sha1 + "  a\n" + sha1 + "  a\n",
         "corvane-sum: sub: Is a directory\n"},
        {{"no such"}, "", "corvane-sum: 'no such': No such file or directory\n"},
    };
    std::filesystem::create_directory(dir.PathOf("sub"));
    for (const auto& c : cases) {
        const ProcessResult r = RunSum(c.args, "", dir.path());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(SumE2e, UsageErrorsExitOne) {
    const std::vector<std::string> cases[] = {
        {"-a", "sha3", "-s", "x"},
        {"--algorithm", "md6"},
        {"--frobnicate"},
        {"-q"},
        {"-j", "many"},
        {"-j", "0"},
        {"-c", "--tag"},
        {"--status"},
    };
    for (const auto& args : cases) {
        const ProcessResult r = RunSum(args);
        EXPECT_EQ(r.status, 1) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("corvane-sum: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("Try 'corvane-sum --help' for more information.\n"),
                  std::string::npos);
    }
    EXPECT_NE(RunSum({"-a", "sha3"}).err.find("invalid argument 'sha3' for '--algorithm'"),
              std::string::npos);
}

TEST(SumE2e, HelpAndVersion) {
    const ProcessResult help = RunSum({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: corvane-sum [OPTION]... [FILE]...\n", 0), 0u);
    const ProcessResult version = RunSum({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("corvane-sum (Ostrel Corvane) ", 0), 0u);
    EXPECT_NE(version.out.find("\npaths: crc32="), std::string::npos) << version.out;
    EXPECT_NE(version.out.find("\nlanes: md2="), std::string::npos) << version.out;
}

TEST(SumE2e, WriteErrorIsAFailure) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    const ProcessResult r =
        RunProcess({"/bin/sh", "-c", std::string("'") + CORVANE_SUM_PATH + "' -s abc > /dev/full"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("corvane-sum: write error"), std::string::npos);
}

// More files than MD2 has lanes (128 on AVX-512 VBMI), of sizes around its 16-byte block, a missing
// one among them: the same lines, messages and status as one file at a time on the portable level.
TEST(SumE2e, Md2ManyFilesAsOnThePortableLevel) {
    TempDir dir;
    std::vector<std::string> args = {"-a", "md2"};
    std::mt19937 random(1319);
    for (int i = 0; i < 300; ++i) {
        const std::size_t size = i < 40 ? static_cast<std::size_t>(i) : random() % 40000;
        args.push_back("f" + std::to_string(i));
        dir.WriteFile(args.back(), RampMessage(size + 7).substr(random() % 7));
    }
    args.insert(args.begin() + 50, "missing");
    std::vector<std::string> portable = {"env", "CORVANE_CPU=portable", CORVANE_SUM_PATH};
    portable.insert(portable.end(), args.begin(), args.end());
    const ProcessResult lanes = RunSum(args, "", dir.path());
    const ProcessResult alone = RunProcess(portable, "", dir.path());
    EXPECT_EQ(lanes.status, 1);
    EXPECT_EQ(lanes.status, alone.status);
    EXPECT_EQ(lanes.out, alone.out);
    EXPECT_EQ(lanes.err, alone.err);
}

}  // namespace
