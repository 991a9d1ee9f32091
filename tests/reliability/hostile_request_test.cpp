// Odd and hostile files through HashRequest, for every algorithm: names with a newline or bytes
// that are not UTF-8, an over-long path, a FIFO nobody writes to, /dev/null, a 10 MB text, and a
// file another process appends to while it is read. No crash, no hang, and never a digest for a
// file that was not read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "child.h"
#include "crc32.h"
#include "hash_request.h"
#include "request_support.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

using Entry = AlgorithmListEntry;
const auto& kEntries = kAlgorithmList;

// MD2 (a few MB/s) and GOST take a small slice of the big inputs, so the suite stays fast under
// the sanitizers too.
bool IsSlow(const Entry& e) {
    return e.algorithm == Algorithm::Md2 || e.algorithm == Algorithm::Gost;
}

TEST(HostileRequest, OddNamesAreHashedLikeAnyOther) {
    TempDir dir;
    const std::string abc = SharedVector("abc").message;
    const std::vector<std::string> names = {
        "line\nbreak",
        "trailing-newline\n",
        std::string("latin1-\xe9t\xe9"),
        "lone-continuation-\x80",
        "overlong-\xc0\xaf",
        " leading space",
        "-starts-with-dash",
        "back\\slash",
    };
    for (const std::string& name : names) {
        const std::string path = dir.WriteFile(name, abc);
        for (const Entry& e : kEntries)
            EXPECT_EQ(OfFile(e, path), SharedVector("abc").digest.at(Column(e)))
                << Column(e) << " on " << ToHex(name);
    }
}

TEST(HostileRequest, PathsNoFileCanHaveGiveNoDigest) {
    TempDir dir;
    std::string tooLong = dir.path() + "/";
    while (tooLong.size() < 5000) tooLong += "d/";
    tooLong += "file";
    std::string longComponent = dir.path() + "/" + std::string(300, 'x');
    const std::vector<std::pair<const char*, std::string>> paths = {
        {"missing", dir.PathOf("missing")},
        {"directory", dir.path()},
        {"5000-character path", tooLong},
        {"component over 255 bytes", longComponent},
        {"through a file", dir.WriteFile("plain", "abc") + "/inside"},
    };
    for (const auto& [what, path] : paths)
        for (const Entry& e : kEntries) EXPECT_EQ(OfFile(e, path), "") << Column(e) << ": " << what;
}

TEST(HostileRequest, UnreadableFileGivesNoDigestEvenForAnUnprivilegedUser) {
    TempDir dir;
    const std::string path = dir.WriteUnreadableFile("locked", "abc");
    // Root reads any file: the check runs as nobody in a child, where the permission applies.
    const ChildResult child = RunInChild(
        [&] {
            if (RunningAsRoot() && !DropRootPrivileges()) return 77;
            if (access(path.c_str(), R_OK) == 0) return 77;
            for (const Entry& e : kEntries)
                if (!OfFile(e, path).empty()) return 1;
            return 0;
        },
        30);
    ASSERT_FALSE(child.timedOut);
    if (child.status == 77) GTEST_SKIP() << "cannot give up root here, so no file is unreadable";
    EXPECT_EQ(child.status, 0) << "a digest came out for an unreadable file";
}

TEST(HostileRequest, FifoWithoutWriterGivesNoDigestAndDoesNotHang) {
    TempDir dir;
    const std::string fifo = dir.PathOf("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const ChildResult child = RunInChild(
        [&] {
            for (const Entry& e : kEntries)
                if (!OfFile(e, fifo).empty()) return 1;
            return 0;
        },
        20);
    EXPECT_FALSE(child.timedOut) << "hashing a FIFO with no writer blocked";
    EXPECT_EQ(child.status, 0);
}

TEST(HostileRequest, DevNullIsTheEmptyMessage) {
    for (const Entry& e : kEntries)
        EXPECT_EQ(OfFile(e, "/dev/null"), SharedVector("empty").digest.at(Column(e))) << Column(e);
}

TEST(HostileRequest, TenMegabyteTextFileEqualsTheSameText) {
    std::string text;
    text.reserve(10'000'000);
    for (std::size_t line = 0; text.size() < 10'000'000; ++line)
        text += "line " + std::to_string(line) + ": the quick brown fox jumps over the lazy dog\n";
    text.resize(10'000'000);
    TempDir dir;
    const std::string path = dir.WriteFile("big.txt", text);
    const std::string slice = text.substr(0, 1'000'000);
    const std::string slicePath = dir.WriteFile("slice.txt", slice);
    for (const Entry& e : kEntries) {
        const std::string digest = OfFile(e, IsSlow(e) ? slicePath : path);
        EXPECT_EQ(digest.size(), DigestTextLength(e.algorithm)) << Column(e);
        EXPECT_EQ(digest, OfText(e, IsSlow(e) ? slice : text)) << Column(e);
    }
}

// Another process keeps appending while the file is read: the result is the digest of a prefix
// of what the file finally holds, or no digest; CRC-32 is cheap enough to try every prefix.
TEST(HostileRequest, FileAppendedWhileReadGivesADigestOfWhatWasRead) {
    TempDir dir;
    const std::string path = dir.PathOf("growing");
    constexpr std::size_t kFinal = 4 << 20, kStep = 4096;
    const std::string content = RampMessage(kFinal);
    dir.WriteFile("growing", content.substr(0, kStep));

    const pid_t appender = fork();
    ASSERT_GE(appender, 0);
    if (appender == 0) {
        const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
        for (std::size_t at = kStep; fd >= 0 && at < kFinal; at += kStep)
            if (write(fd, content.data() + at, kStep) != static_cast<ssize_t>(kStep)) _exit(1);
        _exit(fd >= 0 ? 0 : 1);
    }
    std::vector<std::string> results;
    for (int round = 0; round < 3; ++round)
        for (const Entry& e : kEntries) {
            if (IsSlow(e) && round > 0) continue;
            const std::string digest = OfFile(e, path);
            EXPECT_TRUE(digest.empty() || digest.size() == DigestTextLength(e.algorithm))
                << Column(e);
            if (e.algorithm == Algorithm::Crc32) results.push_back(digest);
        }
    int status = 0;
    ASSERT_EQ(waitpid(appender, &status, 0), appender);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    results.push_back(OfFile(kEntries[0], path));

    // As numbers: four million texts made this test the slowest under the sanitizers.
    std::vector<uint32_t> prefixCrcs;
    prefixCrcs.reserve(kFinal + 1);
    uint32_t reg = CCrc32Static::kPreset;
    for (std::size_t length = 0;; ++length) {
        prefixCrcs.push_back(~reg);
        if (length == kFinal) break;
        CCrc32Static::CrcFold(reg, reinterpret_cast<const uint8_t*>(content.data()) + length, 1);
    }
    std::sort(prefixCrcs.begin(), prefixCrcs.end());
    for (const std::string& crc : results)
        EXPECT_TRUE(crc.empty() ||
                    std::binary_search(prefixCrcs.begin(), prefixCrcs.end(),
                                       static_cast<uint32_t>(std::stoul(crc, nullptr, 16))))
            << crc << " is the CRC of no prefix of the file";
    EXPECT_EQ(results.back(), OfText(kEntries[0], content)) << "the finished file";
}

}  // namespace
