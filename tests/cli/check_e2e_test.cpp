// End-to-end runs of corvane-sum -c: BSD lines round-trip, failures, and the check options
// behaving exactly as sha256sum's on the same sums file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e_support.h"
#include "process.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

const std::vector<std::string> kNames = {"plain",       "with space", "a\nnewline",
                                         "back\\slash", "paren (1)",  "cr\rname"};

void WriteNamedFiles(const TempDir& dir) {
    for (std::size_t i = 0; i < kNames.size(); ++i)
        dir.WriteFile(kNames[i], RampMessage(1000 * i + 7));
}

TEST(CheckE2e, BsdLinesOfEveryAlgorithmRoundTrip) {
    TempDir dir;
    WriteNamedFiles(dir);
    std::vector<std::string> args = {"--all"};
    args.insert(args.end(), kNames.begin(), kNames.end());
    const ProcessResult sums = RunSum(args, "", dir.path());
    ASSERT_EQ(sums.status, 0) << sums.err;
    dir.WriteFile("SUMS", sums.out);

    std::string expected;
    for (const std::string& name : kNames) {
        const std::string shown =
            name.find('\n') == std::string::npos
                ? name
                : "\\" + ReplaceAll(ReplaceAll(name, "\\", "\\\\"), "\n", "\\n");
        for (int i = 0; i < 9; ++i) expected += shown + ": OK\n";
    }
    for (const std::vector<std::string>& check :
         {std::vector<std::string>{"-c", "SUMS"}, {"--check", "-j", "3"}}) {
        const ProcessResult r = RunSum(check, check.size() == 2 ? "" : sums.out, dir.path());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, expected);
        EXPECT_EQ(r.err, "");
    }
    // With -a, lines of the other algorithms do not count (6 files, 8 other tags each).
    const ProcessResult only = RunSum({"-a", "md2", "-c", "--quiet", "SUMS"}, "", dir.path());
    EXPECT_EQ(only.status, 0);
    EXPECT_EQ(only.out, "");
    EXPECT_EQ(only.err, "corvane-sum: WARNING: 48 lines are improperly formatted\n");
    EXPECT_EQ(RunSum({"-a", "md2", "-c", "--strict", "SUMS"}, "", dir.path()).status, 1);
}

TEST(CheckE2e, MismatchFailsWithTheSummaryWarning) {
    TempDir dir;
    dir.WriteFile("f", "abc");
    const std::string good = SharedVector("abc").digest.at("md4");
    std::string bad = good;
    bad[5] = bad[5] == '0' ? '1' : '0';
    dir.WriteFile("SUMS", "MD4 (f) = " + bad + "\nMD4 (f) = " + good + "\n");
    const ProcessResult r = RunSum({"-c", "SUMS"}, "", dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "f: FAILED\nf: OK\n");
    EXPECT_EQ(r.err, "corvane-sum: WARNING: 1 computed checksum did NOT match\n");
}

TEST(CheckE2e, GnuLinesTakeTheAlgorithmFromA) {
    TempDir dir;
    dir.WriteFile("f", "abc");
    const ProcessResult sums = RunSum({"-a", "gost", "f"}, "", dir.path());
    dir.WriteFile("SUMS", sums.out);
    const ProcessResult ok = RunSum({"-a", "GOST", "-c", "SUMS"}, "", dir.path());
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "f: OK\n");
    // SHA-256 digests have the same length, and do not match.
    const ProcessResult other = RunSum({"-a", "sha256", "-c", "SUMS"}, "", dir.path());
    EXPECT_EQ(other.status, 1);
    EXPECT_EQ(other.out, "f: FAILED\n");
    // Without -a both algorithms of that length are tried in one read; --warn names the one.
    const ProcessResult any = RunSum({"-c", "-w", "SUMS"}, "", dir.path());
    EXPECT_EQ(any.status, 0);
    EXPECT_EQ(any.out, "f: OK\n");
    EXPECT_EQ(any.err, "corvane-sum: SUMS: 1: untagged digest matched as GOST\n");
}

TEST(CheckE2e, UnreadableSumsFiles) {
    TempDir dir;
    std::filesystem::create_directory(dir.PathOf("d"));
    const ProcessResult missing = RunSum({"-c", "nope"}, "", dir.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "corvane-sum: nope: No such file or directory\n");
    const ProcessResult directory = RunSum({"-c", "d"}, "", dir.path());
    EXPECT_EQ(directory.status, 1);
    EXPECT_EQ(directory.err, "corvane-sum: d: Is a directory\n");
}

// The same sums file and options given to sha256sum and to us: identical reports.
TEST(CheckE2e, OptionsBehaveAsSha256sum) {
    TempDir dir;
    WriteNamedFiles(dir);
    std::vector<std::string> args = {"-a", "sha256"};
    args.insert(args.end(), kNames.begin(), kNames.end());
    const std::string lines = RunSum(args, "", dir.path()).out;
    const std::string zeros(64, '0');
    dir.WriteFile("mixed", "# a comment\n" + lines + zeros + "  plain\n" + zeros +
                               "  gone\nnot a checksum line\n\n" + zeros + "  also gone\r\n");
    dir.WriteFile("clean", lines);
    dir.WriteFile("missing-only", zeros + "  gone\n");
    dir.WriteFile("junk", "junk\n");

    const std::vector<std::vector<std::string>> optionSets = {
        {},
        {"--quiet"},
        {"--status"},
        {"--ignore-missing"},
        {"--strict"},
        {"-w"},
        {"--warn", "--quiet", "--strict"},
    };
    for (const std::string sums : {"mixed", "clean", "missing-only", "junk"}) {
        for (const auto& options : optionSets) {
            std::vector<std::string> theirs = {"sha256sum", "-c"};
            theirs.insert(theirs.end(), options.begin(), options.end());
            theirs.push_back(sums);
            const ProcessResult expected = RunProcess(theirs, "", dir.path());

            for (const std::string jobs : {"1", "4"}) {
                std::vector<std::string> ours = {"-a", "sha256", "-j", jobs, "-c"};
                ours.insert(ours.end(), options.begin(), options.end());
                ours.push_back(sums);
                const ProcessResult got = RunSum(ours, "", dir.path());
                std::string label = sums;
                for (const auto& o : options) label += " " + o;
                EXPECT_EQ(got.status, expected.status) << label;
                EXPECT_EQ(got.out, expected.out) << label;
                EXPECT_EQ(got.err, ReplaceAll(expected.err, "sha256sum:", "corvane-sum:")) << label;
            }
        }
    }
}

}  // namespace
