// SFV lists, GOST94, GOST12 and GOST94-CRYPTOPRO lines as rhash 1.4.3 writes them for the same
// files (its header comments aside), and results that reach the output as soon as they are decided.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "process.h"
#include "temp_file.h"

namespace {

TEST(FormatsE2e, SfvAndGost94AsRhashWritesThem) {
    TempDir dir;
    dir.WriteFile("abc", "abc");
    dir.WriteFile("the fox", "The quick brown fox jumps over the lazy dog");
    dir.WriteFile("new\nline", "abc");
    const std::string gost94sum = dir.PathOf("gost94sum");
    ASSERT_EQ(symlink(CORVANE_SUM_PATH, gost94sum.c_str()), 0);
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        // rhash --sfv
        {{"--sfv", "abc", "the fox"}, "abc 352441C2\nthe fox 414FA339\n"},
        {{"--sfv", "-"}, "- 352441C2\n"},
        {{"--sfv", "-z", "new\nline"}, std::string("new\nline 352441C2") + '\0'},
        // rhash --gost94, and its --bsd form
        {{gost94sum, "abc"},
         "f3134348c44fb1b2a277729e2285ebb5cb5e0f29c975bc753b70497c06a4d51d  abc\n"},
        {{gost94sum, "--tag", "the fox"},
         "GOST94 (the fox) = 77b7fa410c9ac58a25f49bca7d0468c9296529315eaca76bd1a10f376d1f4294\n"},
        // rhash --gost12-256 --bsd, rhash --gost12-512, rhash --gost94-cryptopro --bsd
        {{"-a", "gost12-256", "--tag", "abc"},
         "GOST12-256 (abc) = 4e2919cf137ed41ec4fb6270c61826cc4fffb660341e0af3688cd0626d23b481\n"},
        {{"-a", "streebog512", "abc"},
         "28156e28317da7c98f4fe2bed6b542d0dab85bb224445fcedaf75d46e26d7eb8d5997f3e0915dd6b7f0aab08d"
         "9c8"
         "beb0d8c64bae2ab8b3c8c6bc53b3bf0db728  abc\n"},
        {{"-a", "gost94-cryptopro", "--tag", "abc"},
         "GOST94-CRYPTOPRO (abc) = "
         "b285056dbf18d7392d7677369524dd14747459ed8143997e163b2986f92fd42c\n"},
    };
    for (const auto& c : cases) {
        const bool linked = c.args[0] == gost94sum;
        const ProcessResult r =
            linked ? RunProcess(c.args, "abc", dir.path()) : RunSum(c.args, "abc", dir.path());
        EXPECT_EQ(r.status, 0) << c.args[1] << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[1];
    }
    // An SFV line has no escapes: a name with a line break is refused, the rest listed.
    const ProcessResult refused = RunSum({"--sfv", "new\nline", "abc"}, "", dir.path());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "abc 352441C2\n");
    EXPECT_EQ(refused.err, "corvane-sum: 'new'$'\\n''line': an SFV line cannot hold this name\n");
}

// A result is out before the next input is even open: here the next input is a FIFO nobody
// writes until the earlier result has been seen.
TEST(FormatsE2e, EachResultIsOutBeforeTheNextInputIsRead) {
    TempDir dir;
    dir.WriteFile("abc", "abc");
    const std::string fifo = dir.PathOf("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    dir.WriteFile("list",
                  "MD5 (abc) = 900150983cd24fb0d6963f7d28e17f72\n"
                  "MD5 (fifo) = 900150983cd24fb0d6963f7d28e17f72\n");
    const struct {
        std::vector<std::string> args;
        std::string first, rest;
    } cases[] = {
        {{"-c", "list"}, "abc: OK\n", "fifo: OK\n"},
        {{"-a", "md5", "abc", "fifo"},
         "900150983cd24fb0d6963f7d28e17f72  abc\n",
         "900150983cd24fb0d6963f7d28e17f72  fifo\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {CORVANE_SUM_PATH, "-j", "1"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        RunningProcess running = StartProcess(args, dir.path());
        EXPECT_EQ(ReadUntil(running, c.first, 10), c.first) << c.args[1];
        const int writer = open(fifo.c_str(), O_WRONLY);
        ASSERT_GE(writer, 0);
        EXPECT_EQ(write(writer, "abc", 3), 3);
        close(writer);
        std::string rest;
        EXPECT_EQ(WaitProcess(running, rest), 0);
        EXPECT_EQ(rest, c.rest);
    }
}

// Progress of an input that takes more than a second, here a FIFO whose writer pauses: one line
// on standard error, redrawn in place and erased before the result, or when the program is
// stopped by a signal. Never unless asked when standard error is not a terminal.
TEST(FormatsE2e, ProgressLineForASlowInput) {
    TempDir dir;
    const std::string fifo = dir.PathOf("slow");
    enum Run { Asked, NotAsked, Interrupted };
    for (const Run run : {Asked, NotAsked, Interrupted}) {
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        const std::string command = std::string("exec '") + CORVANE_SUM_PATH + "' -a md5 " +
                                    (run != NotAsked ? "--progress " : "") + "slow 2>&1";
        RunningProcess running = StartProcess({"/bin/sh", "-c", command}, dir.path());
        const int writer = open(fifo.c_str(), O_WRONLY);
        ASSERT_GE(writer, 0);
        EXPECT_EQ(write(writer, "ab", 2), 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(1300));
        EXPECT_EQ(write(writer, "c", 1), 1);  // a line is shown as bytes come
        if (run == Interrupted) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            kill(running.pid, SIGTERM);
        }
        close(writer);
        std::string out;
        EXPECT_EQ(WaitProcess(running, out), run == Interrupted ? -1 : 0);
        const std::string result = "900150983cd24fb0d6963f7d28e17f72  slow\n";
        // "\rslow  0.0 MB  0.0 MB/s", then spaces over it.
        const std::string shown = "slow  0.0 MB  0.0 MB/s";
        const std::string erased = "\r" + shown + "\r" + std::string(shown.size(), ' ') + "\r";
        EXPECT_EQ(out, run == NotAsked ? result : run == Asked ? erased + result : erased) << run;
        std::filesystem::remove(fifo);
    }
}

}  // namespace
