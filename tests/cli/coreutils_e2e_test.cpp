// Agreement with the coreutils tools both ways: our lines are theirs byte for byte, their -c
// accepts ours, and ours accepts theirs.
#include <gtest/gtest.h>

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

}  // namespace
