// The runners through HashRequest::Compute: text and file agree with the shared table for every
// algorithm, the 16000-byte chunk boundaries, files that cannot be read, a read that fails
// part-way (through an injected reader), the SHA-2 widths, progress and cancellation.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "chunk_loop.h"
#include "digester.h"
#include "hash_request.h"
#include "temp_file.h"
#include "unprivileged.h"
#include "vectors.h"

namespace {

struct Entry {
    const char* column;  // of the shared table
    int32_t algorithm;
    int32_t width;
    Algorithm digester;
};

constexpr Entry kEntries[] = {
    {"crc32", kAlgorithmCrc32, 256, Algorithm::Crc32},
    {"gost", kAlgorithmGost, 256, Algorithm::Gost},
    {"md2", kAlgorithmMd2, 256, Algorithm::Md2},
    {"md4", kAlgorithmMd4, 256, Algorithm::Md4},
    {"md5", kAlgorithmMd5, 256, Algorithm::Md5},
    {"sha1", kAlgorithmSha1, 256, Algorithm::Sha1},
    {"sha256", kAlgorithmSha2, 256, Algorithm::Sha256},
    {"sha384", kAlgorithmSha2, 384, Algorithm::Sha384},
    {"sha512", kAlgorithmSha2, 512, Algorithm::Sha512},
};

HashRequest Request(const Entry& e) {
    HashRequest request;
    request.SetAlgorithm(e.algorithm);
    request.SetSha2Width(e.width);
    return request;
}

std::string OfText(const Entry& e, const std::string& text) {
    HashRequest request = Request(e);
    request.SetSource(kSourceText);
    request.SetInputText(text);
    return request.Compute();
}

std::string OfFile(const Entry& e, const std::string& path) {
    HashRequest request = Request(e);
    request.SetSource(kSourceFile);
    request.SetFilePath(path);
    return request.Compute();
}

// Hands out a message in pieces of the given sizes, then fails or ends; records each request.
class ScriptedReader final : public ChunkReader {
public:
    ScriptedReader(std::string message, std::vector<std::size_t> pieces, bool failAtEnd,
                   std::vector<std::size_t>* log)
        : message_(std::move(message)),
          pieces_(std::move(pieces)),
          failAtEnd_(failAtEnd),
          log_(log) {}

    std::size_t Read(uint8_t* buffer, std::size_t capacity, bool& failed) override {
        if (log_ != nullptr) log_->push_back(capacity);
        if (next_ == pieces_.size()) {
            failed = failAtEnd_;
            return 0;
        }
        const std::size_t count = std::min({pieces_[next_++], capacity, message_.size() - at_});
        std::memcpy(buffer, message_.data() + at_, count);
        at_ += count;
        return count;
    }

private:
    std::string message_;
    std::vector<std::size_t> pieces_;
    bool failAtEnd_;
    std::vector<std::size_t>* log_;
    std::size_t next_ = 0, at_ = 0;
};

// A reader over a message that can be made to fail on its n-th read, with some bytes delivered.
class FailingReader final : public ChunkReader {
public:
    FailingReader(std::size_t failOnRead, std::size_t deliveredThen)
        : failOnRead_(failOnRead), deliveredThen_(deliveredThen) {}
    std::size_t Read(uint8_t* buffer, std::size_t capacity, bool& failed) override {
        std::memset(buffer, 'x', capacity);
        if (++reads_ == failOnRead_) {
            failed = true;
            return deliveredThen_;
        }
        return capacity;
    }

private:
    std::size_t failOnRead_, deliveredThen_, reads_ = 0;
};

}  // namespace

TEST(Runners, TextAndFileAgreeOnEverySharedVector) {
    TempDir dir;
    for (const auto& v : SharedVectors()) {
        const std::string path = dir.WriteFile(v.name, v.message);
        for (const auto& e : kEntries) {
            const std::string& expected = v.digest.at(e.column);
            ASSERT_EQ(expected.size(), DigestTextLength(e.digester)) << e.column;
            EXPECT_EQ(OfText(e, v.message), expected) << v.name << " " << e.column << " text";
            EXPECT_EQ(OfFile(e, path), expected) << v.name << " " << e.column << " file";
        }
    }
}

TEST(Runners, ZeroByteFileIsTheEmptyMessageForEveryAlgorithm) {
    TempDir dir;
    const std::string path = dir.WriteFile("empty", "");
    for (const auto& e : kEntries) {
        const std::string text = OfFile(e, path);
        EXPECT_EQ(text, SharedVector("empty").digest.at(e.column)) << e.column;
        EXPECT_EQ(text.size(), DigestTextLength(e.digester)) << e.column;
    }
}

TEST(Runners, FilesAroundThe16000ByteChunk) {
    TempDir dir;
    for (std::size_t length : {15999u, 16000u, 16001u, 32000u}) {
        const std::string message = RampMessage(length);
        const std::string path = dir.WriteFile("ramp-" + std::to_string(length), message);
        const std::string row = "ramp-" + std::to_string(length);
        for (const auto& e : kEntries) {
            // 15999 has no row of its own; the byte-at-a-time digester stands in for it.
            std::string expected;
            if (length == 15999) {
                Digester d(e.digester);
                for (char c : message) d.Update(reinterpret_cast<const uint8_t*>(&c), 1);
                expected = d.Final();
            } else {
                expected = SharedVector(row).digest.at(e.column);
            }
            EXPECT_EQ(OfFile(e, path), expected) << length << " " << e.column;
        }
    }
}

TEST(Runners, FilesThatCannotBeReadGiveNoDigest) {
    TempDir dir;
    const std::string locked = dir.WriteFile("locked", "secret");
    chmod(dir.path().c_str(), 0711);
    chmod(locked.c_str(), 0);
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"empty path", ""},
        {"missing file", dir.PathOf("missing")},
        {"directory (opens, then fails to read)", dir.path()},
        {"missing directory", dir.PathOf("no/such/file")},
    };
    for (const auto& c : cases)
        for (const auto& e : kEntries)
            EXPECT_EQ(OfFile(e, c.path), "") << c.name << " " << e.column;

    Unprivileged guard;
    if (!guard.PermissionsApply()) GTEST_SKIP() << "cannot give up root";
    for (const auto& e : kEntries) EXPECT_EQ(OfFile(e, locked), "") << "unreadable " << e.column;
}

TEST(Runners, EmptyPathTouchesNeitherTheFileNorTheOutput) {
    for (const auto& e : kEntries) {
        HashRequest request = Request(e);
        request.SetInputText("abc");
        ASSERT_FALSE(request.Compute().empty());
        int opened = 0;
        request.SetFileOpener([&](const std::string&) {
            ++opened;
            return std::unique_ptr<ChunkReader>();
        });
        request.SetSource(kSourceFile);
        request.SetFilePath("");
        EXPECT_EQ(request.Compute(), "") << e.column;
        EXPECT_EQ(request.GetOutputText(), "") << e.column;
        EXPECT_EQ(opened, 0) << e.column;
    }
}

TEST(Runners, ReadErrorAfterGoodChunksGivesNoDigest) {
    // Fails on the third read, after two full chunks, with and without bytes in the failed read;
    // and on the very first read.
    const struct { std::size_t failOnRead, deliveredThen; } cases[] = {{3, 0}, {3, 500}, {1, 0}};
    for (const auto& c : cases) {
        for (const auto& e : kEntries) {
            if (e.algorithm == kAlgorithmCrc32 || e.algorithm == kAlgorithmMd5)
                continue;  // they read through their engines' own file readers
            HashRequest request = Request(e);
            request.SetSource(kSourceFile);
            request.SetFilePath("injected");
            request.SetFileOpener([&](const std::string&) {
                return std::make_unique<FailingReader>(c.failOnRead, c.deliveredThen);
            });
            EXPECT_EQ(request.Compute(), "") << e.column << " failing on read " << c.failOnRead;
        }
    }
}

TEST(Runners, ShortReadsAreNotTheEnd) {
    // Only a read that delivers nothing ends the file; short chunks on the way are fed on.
    const auto& v = SharedVector("ramp-32000");
    for (const auto& e : kEntries) {
        if (e.algorithm == kAlgorithmCrc32 || e.algorithm == kAlgorithmMd5) continue;
        HashRequest request = Request(e);
        request.SetSource(kSourceFile);
        request.SetFilePath("injected");
        std::vector<std::size_t> log;
        request.SetFileOpener([&](const std::string& path) {
            EXPECT_EQ(path, "injected");
            return std::make_unique<ScriptedReader>(
                v.message, std::vector<std::size_t>{1, 15999, 7, 9000, 6993}, false, &log);
        });
        EXPECT_EQ(request.Compute(), v.digest.at(e.column)) << e.column;
        EXPECT_EQ(log.size(), 6u) << e.column;  // five pieces, then the read that gets nothing
        EXPECT_TRUE(
            std::all_of(log.begin(), log.end(), [](std::size_t n) { return n == kFileChunkSize; }));
    }
}

TEST(ChunkLoop, ReadsUntilNothingComesAndStopsAtAnError) {
    const std::string message = RampMessage(16001);
    const struct {
        std::vector<std::size_t> pieces;
        bool failAtEnd;
        ReadOutcome outcome;
        std::size_t fed;
    } cases[] = {
        {{}, false, ReadOutcome::Complete, 0},
        {{16000}, false, ReadOutcome::Complete, 16000},
        {{16000, 1}, false, ReadOutcome::Complete, 16001},
        {{16000, 1}, true, ReadOutcome::Failed, 16001},
    };
    for (const auto& c : cases) {
        ScriptedReader reader(message, c.pieces, c.failAtEnd, nullptr);
        std::size_t fed = 0;
        std::vector<uint32_t> chunks;
        ReadWatch watch;
        const auto outcome = ReadChunks(
            reader, [&](const uint8_t*, uint32_t n) { fed += n, chunks.push_back(n); }, watch);
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(fed, c.fed);
        EXPECT_EQ(watch.done, c.fed);
        EXPECT_EQ(std::count(chunks.begin(), chunks.end(), 0u), 0) << "empty chunks are not fed";
    }
    EXPECT_EQ(ReadFileChunks(
                  nullptr, "/no/such/file", [](const uint8_t*, uint32_t) {},
                  *std::make_unique<ReadWatch>()),
              ReadOutcome::NotOpened);
}

TEST(Runners, Sha2WidthsAndTheRememberedWidth) {
    const auto& abc = SharedVector("abc");
    HashRequest request;
    request.SetInputText("abc");
    request.SetAlgorithm(kAlgorithmSha2);
    const struct {
        int32_t width;
        const char* column;
    } widths[] = {
        {384, "sha384"}, {512, "sha512"}, {256, "sha256"}, {100, "sha256"}, {0, "sha256"}};
    for (const auto& w : widths) {
        request.SetSha2Width(w.width);
        EXPECT_EQ(request.Compute(), abc.digest.at(w.column)) << w.width;
    }
    // A width left at 512 plays no part in the other algorithms.
    request.SetSha2Width(512);
    for (const auto& e : kEntries) {
        if (e.algorithm == kAlgorithmSha2) continue;
        request.SetAlgorithm(e.algorithm);
        EXPECT_EQ(request.Compute(), abc.digest.at(e.column)) << e.column;
    }
}

TEST(Runners, ComputationsNeverAccumulate) {
    HashRequest request;  // SHA-1 by default
    request.SetInputText("a");
    EXPECT_EQ(request.Compute(), SharedVector("a").digest.at("sha1"));
    request.SetInputText("abc");
    EXPECT_EQ(request.Compute(), SharedVector("abc").digest.at("sha1"));
    EXPECT_EQ(request.GetOutputText(), SharedVector("abc").digest.at("sha1"));
}

TEST(Runners, ProgressAfterEachChunk) {
    TempDir dir;
    const std::string path = dir.WriteFile("ramp", RampMessage(40000));
    for (const auto& e : kEntries) {
        HashRequest request = Request(e);
        request.SetSource(kSourceFile);
        request.SetFilePath(path);
        std::vector<uint64_t> done;
        request.SetProgressObserver([&](uint64_t d, uint64_t total) {
            EXPECT_EQ(total, 40000u);
            done.push_back(d);
        });
        EXPECT_EQ(request.Compute(), OfText(e, RampMessage(40000))) << e.column;
        ASSERT_FALSE(done.empty()) << e.column;
        EXPECT_TRUE(std::is_sorted(done.begin(), done.end())) << e.column;
        EXPECT_EQ(done.back(), 40000u) << e.column;
        if (e.algorithm != kAlgorithmCrc32 && e.algorithm != kAlgorithmMd5) {
            EXPECT_EQ(done, (std::vector<uint64_t>{16000, 32000, 40000})) << e.column;
        }
    }
}

TEST(Runners, CancelGivesNoDigestEvenOnAFileThatNeverEnds) {
    for (const auto& e : kEntries) {
        std::atomic<bool> cancel{false};
        HashRequest request = Request(e);
        request.SetSource(kSourceFile);
        request.SetFilePath("/dev/zero");
        request.SetCancelFlag(&cancel);
        request.SetProgressObserver([&](uint64_t done, uint64_t) {
            if (done >= 100000) cancel = true;
        });
        EXPECT_EQ(request.Compute(), "") << e.column;
        EXPECT_EQ(request.GetOutputText(), "") << e.column;
        // Already cancelled: the text is not hashed either.
        request.SetSource(kSourceText);
        EXPECT_EQ(request.Compute(), "") << e.column;
    }
}
