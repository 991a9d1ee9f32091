// Odd and hostile inputs through corvane-sum: every failure is a message on standard error, no
// digest line, and exit status 1; odd but readable inputs are hashed as the coreutils tools do.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "child.h"
#include "core_budget.h"
#include "digester.h"
#include "many_files.h"
#include "pipeline.h"
#include "process.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

TEST(HostileCli, InputsThatCannotBeReadAreClearErrors) {
    TempDir dir;
    std::string tooLong = dir.path() + "/";
    while (tooLong.size() < 5000) tooLong += "d/";
    tooLong += "file";
    const struct {
        const char* what;
        std::string path;
        const char* message;
    } cases[] = {
        {"missing", dir.PathOf("missing"), "No such file or directory"},
        {"directory", dir.path(), "Is a directory"},
        {"5000-character path", tooLong, "File name too long"},
        {"through a file", dir.WriteFile("plain", "abc") + "/inside", "Not a directory"},
    };
    for (const auto& c : cases) {
        const ProcessResult result = RunSum({"--all", "--", c.path});
        EXPECT_EQ(result.status, 1) << c.what;
        EXPECT_EQ(result.out, "") << c.what;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << ": " << result.err;
        EXPECT_EQ(result.err.find("\n"), result.err.size() - 1) << c.what << ": one line";
    }
}

TEST(HostileCli, OneBadFileDoesNotHideTheGoodOnes) {
    TempDir dir;
    const std::string good = dir.WriteFile("good", "abc");
    const ProcessResult result = RunSum({"-a", "sha256", good, dir.PathOf("missing"), good});
    EXPECT_EQ(result.status, 1);
    const std::string line = SharedVector("abc").digest.at("sha256") + "  " + good + "\n";
    EXPECT_EQ(result.out, line + line);
    EXPECT_NE(result.err.find("missing"), std::string::npos);
}

TEST(HostileCli, UnreadableFileIsAClearErrorForAnUnprivilegedUser) {
    TempDir dir;
    const std::string path = dir.WriteUnreadableFile("locked", "abc");
    const ChildResult child = RunInChild(
        [&] {
            if (RunningAsRoot() && !DropRootPrivileges()) return 77;
            if (access(path.c_str(), R_OK) == 0) return 77;
            const ProcessResult result = RunSum({"--all", path});
            const bool clear = result.status == 1 && result.out.empty() &&
                               result.err.find("Permission denied") != std::string::npos;
            return clear ? 0 : 1;
        },
        30);
    ASSERT_FALSE(child.timedOut);
    if (child.status == 77) GTEST_SKIP() << "cannot give up root here, so no file is unreadable";
    EXPECT_EQ(child.status, 0);
}

TEST(HostileCli, RecursionReportsAnUnreadableFolderAndHashesTheRest) {
    TempDir dir;
    const std::string locked = dir.PathOf("locked");
    ASSERT_EQ(mkdir(locked.c_str(), 0700), 0);
    dir.WriteFile("locked/secret", "x");
    dir.WriteFile("open", "abc");
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    const ChildResult child = RunInChild(
        [&] {
            if (RunningAsRoot() && !DropRootPrivileges()) return 77;
            if (access(locked.c_str(), R_OK) == 0) return 77;
            const ProcessResult result = RunSum({"-a", "md5", "-r", dir.path()});
            const bool clear = result.status == 1 &&
                               result.out == SharedVector("abc").digest.at("md5") + "  " +
                                                 dir.PathOf("open") + "\n" &&
                               result.err == "corvane-sum: " + locked + ": Permission denied\n";
            return clear ? 0 : 1;
        },
        30);
    ASSERT_FALSE(child.timedOut);
    if (child.status == 77) GTEST_SKIP() << "cannot give up root here, so no folder is unreadable";
    EXPECT_EQ(child.status, 0);
}

TEST(HostileCli, OddNamesAreHashedAsCoreutilsDoes) {
    TempDir dir;
    const std::vector<std::string> names = {std::string("latin1-\xe9t\xe9"), "lone-\x80",
                                            "new\nline", std::string(250, 'n')};
    std::vector<std::string> ours = {"-a", "sha256", "--"}, theirs = {"sha256sum", "--"};
    for (const std::string& name : names) {
        dir.WriteFile(name, RampMessage(1000));
        ours.push_back(name);
        theirs.push_back(name);
    }
    const ProcessResult expected = RunProcess(theirs, "", dir.path());
    const ProcessResult result = RunSum(ours, "", dir.path());
    ASSERT_EQ(expected.status, 0) << expected.err;
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, expected.out);
}

TEST(HostileCli, DevNullAndATenMegabyteText) {
    EXPECT_EQ(RunSum({"-a", "md5", "/dev/null"}).out,
              SharedVector("empty").digest.at("md5") + "  /dev/null\n");
    std::string text;
    for (std::size_t line = 0; text.size() < 10'000'000; ++line)
        text += "line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog\n";
    TempDir dir;
    dir.WriteFile("big.txt", text);
    for (const char* tool : {"sha256sum", "md5sum"}) {
        const ProcessResult expected = RunProcess({tool, "big.txt"}, "", dir.path());
        const ProcessResult result =
            RunSum({"-a", std::string(tool).substr(0, std::string(tool).size() - 3), "big.txt"}, "",
                   dir.path());
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, expected.out) << tool;
    }
}

// corvane-sum started in the background, its standard output on a pipe.
RunningProcess StartSum(const std::vector<std::string>& args) {
    std::vector<std::string> full = {CORVANE_SUM_PATH};
    full.insert(full.end(), args.begin(), args.end());
    return StartProcess(full);
}

// Waits up to `seconds` for it to end; kills it when it does not. Returns the wait status, -1 on
// a timeout.
int Finish(RunningProcess& running, int seconds, std::string& out) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (waitpid(running.pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(running.pid, SIGKILL);
            waitpid(running.pid, &status, 0);
            status = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    char buffer[4096];
    for (ssize_t got; (got = read(running.out, buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(got));
    close(running.out);
    return status;
}

// A FIFO has no contents until a writer comes; like the coreutils tools, corvane-sum waits for
// one (it may be started first on purpose), prints nothing meanwhile and stays interruptible.
TEST(HostileCli, FifoWaitsForItsWriterAndStaysInterruptible) {
    TempDir dir;
    const std::string fifo = dir.PathOf("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    RunningProcess waiting = StartSum({"-a", "sha1", fifo});
    ASSERT_GT(waiting.pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int status = 0;
    EXPECT_EQ(waitpid(waiting.pid, &status, WNOHANG), 0) << "gave up on the FIFO at once";
    kill(waiting.pid, SIGTERM);
    std::string out;
    status = Finish(waiting, 10, out);
    EXPECT_TRUE(status != -1 && WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(out, "");

    RunningProcess hashing = StartSum({"-a", "sha1", fifo});
    ASSERT_GT(hashing.pid, 0);
    int fd = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((fd = OpenWriterNonBlocking(fifo)) < 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_GE(fd, 0) << "corvane-sum never opened the FIFO";
    EXPECT_EQ(write(fd, "abc", 3), 3);
    close(fd);
    out.clear();
    status = Finish(hashing, 10, out);
    ASSERT_NE(status, -1) << "did not end after the writer closed";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(out, SharedVector("abc").digest.at("sha1") + "  " + fifo + "\n");
}

TEST(HostileCli, FileAppendedWhileReadEndsCleanly) {
    TempDir dir;
    const std::string path = dir.WriteFile("growing", RampMessage(4096));
    const pid_t appender = fork();
    ASSERT_GE(appender, 0);
    if (appender == 0) {
        const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
        const std::string block = RampMessage(4096);
        for (int i = 0; fd >= 0 && i < 768; ++i)
            if (write(fd, block.data(), block.size()) < 0) _exit(1);
        _exit(0);
    }
    for (int round = 0; round < 3; ++round) {
        const ProcessResult result = RunSum({"-a", "crc32,md5,sha1,sha256,sha512", path});
        EXPECT_TRUE(result.status == 0 || result.status == 1) << result.err;
        if (result.status == 0) {
            EXPECT_NE(result.out.find("SHA512 ("), std::string::npos);
        }
    }
    int status = 0;
    waitpid(appender, &status, 0);
}

// Files hashed side by side stay within the descriptors the process may open: under a limit of
// 24, a hundred files hash and check with every algorithm, in one lane group and in two.
TEST(HostileCli, FewDescriptorsStillHashAndCheckAHundredFiles) {
    TempDir dir;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < 100; ++i)
        files.push_back(dir.WriteFile("f" + std::to_string(i), RampMessage(i * 37)));
    const ChildResult child = RunInChild(
        [&] {
            const rlimit few{24, 24};
            if (setrlimit(RLIMIT_NOFILE, &few) != 0) return 77;
            int failure = 1;
            for (const Algorithm algorithm : kAllAlgorithms) {
                for (const char* jobs : {"1", "2"}) {
                    std::vector<std::string> args = {"-j", jobs, "-a",
                                                     std::string(AlgorithmName(algorithm))};
                    args.insert(args.end(), files.begin(), files.end());
                    const ProcessResult sums = RunSum(args);
                    if (sums.status != 0 || !sums.err.empty() ||
                        std::count(sums.out.begin(), sums.out.end(), '\n') != 100)
                        return failure;
                    const std::string list = dir.WriteFile("sums", sums.out);
                    const ProcessResult check = RunSum({"-j", jobs, "--quiet", "-c", list});
                    if (check.status != 0 || !check.out.empty() || !check.err.empty())
                        return failure + 1;
                    failure += 2;
                }
            }
            return 0;
        },
        120);
    ASSERT_FALSE(child.timedOut);
    if (child.status == 77) GTEST_SKIP() << "cannot lower the descriptor limit";
    EXPECT_EQ(child.status, 0) << "odd: a hashing run failed, even: a check; by algorithm, -j";
}

TEST(HostileCli, NoThreadToSpareStillHashesEverythingInOrder) {
    TempDir dir;
    const std::string message = RampMessage(3 * kThreadsFrom + 5);
    const std::string path = dir.WriteFile("big", message);
    // Readable for the unprivileged child.
    std::filesystem::permissions(dir.path(), std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add);
    const std::vector<Algorithm> set(kAllAlgorithms.begin(), kAllAlgorithms.end());
    DigestSet oneUpdate(set);
    oneUpdate.Update(reinterpret_cast<const uint8_t*>(message.data()), message.size());
    const std::vector<std::string> expected = oneUpdate.Finish();
    const ChildResult child = RunInChild(
        [&] {
            // No thread can be started: as nobody, with nobody's one task as the limit.
            if (RunningAsRoot() && !DropRootPrivileges()) return 77;
            const rlimit one{1, 1};
            if (setrlimit(RLIMIT_NPROC, &one) != 0) return 77;
            try {
                std::thread([] {}).join();
                return 77;
            } catch (const std::system_error&) {
            }
            // A budget of four cores: the pipeline wants a reader and engine groups.
            CoreBudget four(4);
            HashControl control;
            control.cores = &four;
            const HashOutcome outcome = ComputeDigests(HashInput::Path(path), set, control);
            if (!outcome.ok()) return 3;
            if (outcome.digests != expected) return 1;
            // Four job threads wanted, none to be had.
            std::vector<std::size_t> emitted;
            ManyFiles jobs(4, nullptr,
                           [](const FileJob&, const HashControl&) { return HashOutcome(); });
            std::size_t submitted = 0;
            HashInOrder(
                jobs,
                [&]() -> std::optional<std::pair<std::size_t, FileJob>> {
                    if (submitted == 5) return std::nullopt;
                    return std::pair{submitted++, FileJob{}};
                },
                [&](std::size_t i, HashOutcome&&) { emitted.push_back(i); });
            return emitted == std::vector<std::size_t>{0, 1, 2, 3, 4} ? 0 : 2;
        },
        60);
    ASSERT_FALSE(child.timedOut);
    if (child.status == 77) GTEST_SKIP() << "cannot keep this process from starting threads";
    EXPECT_EQ(child.status, 0) << "1: wrong digests, 2: jobs lost or out of order, 3: no digests";
}

}  // namespace
