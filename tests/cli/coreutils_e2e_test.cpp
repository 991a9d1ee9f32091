// Agreement with the coreutils tools, and with xxhsum for the xxHash family, both ways: our lines
// are theirs byte for byte, their -c accepts ours, and ours accepts theirs.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "process.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

const struct {
    const char* tool;
    const char* algorithm;
} kTools[] = {
    {"md5sum", "md5"},       {"sha1sum", "sha1"},     {"sha256sum", "sha256"},
    {"sha384sum", "sha384"}, {"sha512sum", "sha512"},
};

const std::vector<std::string> kNames = {"empty",      "abc",         "ramp",     "with space",
                                         "a\nnewline", "back\\slash", "cr\rname", "-dash"};

TEST(CoreutilsE2e, SameLinesAndEachChecksTheOther) {
    TempDir dir;
    for (std::size_t i = 0; i < kNames.size(); ++i)
        dir.WriteFile(kNames[i], i == 0 ? "" : RampMessage(70000 * i + 3));
    for (const auto& [tool, algorithm] : kTools) {
        for (const bool tag : {false, true}) {
            std::vector<std::string> theirsArgs = {tool};
            std::vector<std::string> oursArgs = {"-a", algorithm};
            if (tag) {
                theirsArgs.push_back("--tag");
                oursArgs.push_back("--tag");
            }
            theirsArgs.push_back("--");
            oursArgs.push_back("--");
            theirsArgs.insert(theirsArgs.end(), kNames.begin(), kNames.end());
            oursArgs.insert(oursArgs.end(), kNames.begin(), kNames.end());

            const ProcessResult theirs = RunProcess(theirsArgs, "", dir.path());
            const ProcessResult ours = RunSum(oursArgs, "", dir.path());
            ASSERT_EQ(theirs.status, 0) << tool << theirs.err;
            ASSERT_EQ(ours.status, 0) << ours.err;
            EXPECT_EQ(ours.out, theirs.out) << tool << (tag ? " --tag" : "");

            dir.WriteFile("ours.sums", ours.out);
            dir.WriteFile("theirs.sums", theirs.out);
            const ProcessResult theyCheck = RunProcess({tool, "-c", "ours.sums"}, "", dir.path());
            EXPECT_EQ(theyCheck.status, 0) << tool << theyCheck.err;
            const ProcessResult weCheck =
                RunSum({"-a", algorithm, "-c", "theirs.sums"}, "", dir.path());
            EXPECT_EQ(weCheck.status, 0) << tool << weCheck.err;
            EXPECT_EQ(weCheck.out, theyCheck.out) << tool;
        }
        // Standard input as well.
        const std::string message = RampMessage(12345);
        EXPECT_EQ(RunSum({"-a", algorithm}, message).out, RunProcess({tool}, message).out) << tool;
    }
}

// Many files with one algorithm (hashed side by side in lanes where the CPU has them), failures
// among them: the same lines, messages and status as coreutils, and the same -c report after one
// file changed and another went away.
TEST(CoreutilsE2e, ManyFilesWithFailuresAmongThem) {
    TempDir dir;
    std::vector<std::string> names;
    for (int i = 0; i < 50; ++i) {
        names.push_back("f" + std::to_string(i));
        dir.WriteFile(names.back(), RampMessage(static_cast<std::size_t>(i) * 12377 % 300000));
    }
    names.insert(names.begin() + 7, "missing");
    names.insert(names.begin() + 20, ".");  // a directory
    const auto withoutToolName = [](std::string text, const std::string& tool) {
        for (std::size_t at; (at = text.find(tool + ": ")) != std::string::npos;)
            text.replace(at, tool.size(), "TOOL");
        return text;
    };
    for (const auto& [tool, algorithm] : kTools) {
        std::vector<std::string> theirsArgs = {tool}, oursArgs = {"-a", algorithm};
        theirsArgs.insert(theirsArgs.end(), names.begin(), names.end());
        oursArgs.insert(oursArgs.end(), names.begin(), names.end());
        const ProcessResult theirs = RunProcess(theirsArgs, "", dir.path());
        const ProcessResult ours = RunSum(oursArgs, "", dir.path());
        EXPECT_EQ(ours.status, theirs.status) << tool;
        EXPECT_EQ(ours.out, theirs.out) << tool;
        EXPECT_EQ(withoutToolName(ours.err, "corvane-sum"), withoutToolName(theirs.err, tool));

        dir.WriteFile("list", theirs.out);
        dir.WriteFile("f3", "changed");
        ASSERT_EQ(std::remove(dir.PathOf("f30").c_str()), 0);
        const ProcessResult theyCheck = RunProcess({tool, "-c", "list"}, "", dir.path());
        const ProcessResult weCheck = RunSum({"-a", algorithm, "-c", "list"}, "", dir.path());
        EXPECT_EQ(weCheck.status, theyCheck.status) << tool;
        EXPECT_EQ(weCheck.out, theyCheck.out) << tool;
        EXPECT_EQ(withoutToolName(weCheck.err, "corvane-sum"),
                  withoutToolName(theyCheck.err, tool));
        dir.WriteFile("f3", RampMessage(3 * 12377));
        dir.WriteFile("f30", RampMessage(30 * 12377 % 300000));
    }
}

// xxhsum, the xxHash family's own tool: our lines are its lines byte for byte (its GNU lines for
// XXH32, XXH64 and XXH128; XXH3 it writes only as tags), and each side's -c accepts the other's.
TEST(XxhsumE2e, SameLinesAndEachChecksTheOther) {
    TempDir dir;
    const std::vector<std::string> names = {"empty", "abc", "ramp", "with space"};
    for (std::size_t i = 0; i < names.size(); ++i)
        dir.WriteFile(names[i], i == 0 ? "" : RampMessage(70000 * i + 3));
    const struct {
        const char* flag;
        const char* algorithm;
        bool gnuLines;
    } kModes[] = {{"-H0", "xxh32", true},
                  {"-H1", "xxh64", true},
                  {"-H2", "xxh128", true},
                  {"-H3", "xxh3", false}};
    for (const auto& [flag, algorithm, gnuLines] : kModes) {
        for (const bool tag : {false, true}) {
            if (!tag && !gnuLines) continue;
            std::vector<std::string> theirsArgs = {"xxhsum", flag};
            std::vector<std::string> oursArgs = {"-a", algorithm};
            if (tag) {
                theirsArgs.push_back("--tag");
                oursArgs.push_back("--tag");
            }
            theirsArgs.insert(theirsArgs.end(), names.begin(), names.end());
            oursArgs.insert(oursArgs.end(), names.begin(), names.end());
            const ProcessResult theirs = RunProcess(theirsArgs, "", dir.path());
            const ProcessResult ours = RunSum(oursArgs, "", dir.path());
            ASSERT_EQ(theirs.status, 0) << flag << theirs.err;
            ASSERT_EQ(ours.status, 0) << ours.err;
            EXPECT_EQ(ours.out, theirs.out) << flag << (tag ? " --tag" : "");

            dir.WriteFile("ours.sums", ours.out);
            dir.WriteFile("theirs.sums", theirs.out);
            const ProcessResult theyCheck =
                RunProcess({"xxhsum", "-c", "ours.sums"}, "", dir.path());
            EXPECT_EQ(theyCheck.status, 0) << flag << theyCheck.err;
            const ProcessResult weCheck = RunSum({"-c", "theirs.sums"}, "", dir.path());
            EXPECT_EQ(weCheck.status, 0) << flag << weCheck.err;
            EXPECT_EQ(weCheck.out, theyCheck.out) << flag;
        }
    }
}

}  // namespace

// -l against b2sum (bits) and b3sum (bytes): the same digests; our -c reads their lists and b2sum
// ours, tagged "BLAKE2b-N" or untagged with the length in the digest.
TEST(CoreutilsE2e, DigestLengthsAsB2sumAndB3sum) {
    TempDir dir;
    for (const char* name : {"empty", "small", "chunks"})
        dir.WriteFile(name, std::string(name) == "empty"   ? ""
                            : std::string(name) == "small" ? RampMessage(65)
                                                           : RampMessage(5121));
    const std::vector<std::string> files = {"empty", "small", "chunks"};
    const auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), files.begin(), files.end());
        return args;
    };
    const struct {
        std::vector<std::string> ours, theirs, theirCheck;
    } rows[] = {
        {{"-a", "blake2b", "-l", "8"}, {"b2sum", "-l", "8"}, {"b2sum", "-c"}},
        {{"-a", "blake2b", "-l", "160", "--tag"}, {"b2sum", "-l", "160", "--tag"}, {"b2sum", "-c"}},
        {{"-a", "blake2b", "-l", "512"}, {"b2sum"}, {"b2sum", "-c"}},
        {{"-a", "blake3", "-l", "8"}, {"b3sum", "-l", "1"}, {"b3sum", "-c"}},
        {{"-a", "blake3", "-l", "1048"}, {"b3sum", "-l", "131"}, {"b3sum", "-c"}},
    };
    for (const auto& row : rows) {
        if (RunProcess({"/bin/sh", "-c", "command -v " + row.theirs[0]}).status != 0) continue;
        const ProcessResult theirs = RunProcess(with(row.theirs), "", dir.path());
        const ProcessResult ours = RunSum(with(row.ours), "", dir.path());
        EXPECT_EQ(ours.out, theirs.out) << row.theirs[0] << " " << row.ours[3];
        dir.WriteFile("theirs.sums", theirs.out);
        dir.WriteFile("ours.sums", ours.out);
        std::vector<std::string> weCheck = {"-a", row.ours[1], "-c", "theirs.sums"};
        EXPECT_EQ(RunSum(weCheck, "", dir.path()).status, 0) << row.theirs[0] << " " << row.ours[3];
        std::vector<std::string> theyCheck = row.theirCheck;
        theyCheck.push_back("ours.sums");
        // b3sum checks only its 32-byte digests.
        if (row.theirs[0] == "b2sum") {
            EXPECT_EQ(RunProcess(theyCheck, "", dir.path()).status, 0) << row.ours[3];
        }
    }
}
