// The runners through HashRequest::Compute, every algorithm alike: text and file agree with the
// shared table, the 16000-byte slice boundaries, files that cannot be read, a read that fails
// part-way (through an injected source), the SHA-2 widths, progress and cancellation, and the
// outcome that says why there is no digest.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "digester.h"
#include "hash_request.h"
#include "request_support.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

const auto& kEntries = kAlgorithmList;

// What an injected source did: bytes delivered and reads made.
struct Tally {
    std::size_t delivered = 0, reads = 0;
};

// Hands out a message in pieces of the given sizes, then ends, or fails with EIO on read
// `failOn` (from 1).
class ScriptedSource final : public ByteSource {
public:
    ScriptedSource(std::string text, std::vector<std::size_t> sizes, std::size_t failingRead,
                   Tally& counts)
        : message(std::move(text)), pieces(std::move(sizes)), failOn(failingRead), tally(counts) {}

    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) override {
        if (++tally.reads == failOn) {
            error = EIO;
            return -1;
        }
        if (next == pieces.size()) return 0;
        const std::size_t count =
            std::min({pieces[next++], capacity, message.size() - tally.delivered});
        std::memcpy(buffer, message.data() + tally.delivered, count);
        tally.delivered += count;
        return static_cast<std::ptrdiff_t>(count);
    }

private:
    std::string message;
    std::vector<std::size_t> pieces;
    std::size_t failOn, next = 0;
    Tally& tally;
};

// Makes the request read the scripted source whatever its path says.
void Inject(HashRequest& request, const std::string& message, std::vector<std::size_t> pieces,
            std::size_t failOn, Tally& tally) {
    request.SetSource(kSourceFile);
    request.SetFilePath("injected");
    request.SetFileOpener([=, &tally](const std::string& path, int&) {
        EXPECT_EQ(path, "injected");
        return std::unique_ptr<ByteSource>(
            std::make_unique<ScriptedSource>(message, pieces, failOn, tally));
    });
}

}  // namespace

TEST(Runners, TextAndFileAgreeOnEverySharedVector) {
    TempDir dir;
    for (const auto& v : SharedVectors()) {
        const std::string path = dir.WriteFile(v.name, v.message);
        for (const auto& e : kEntries) {
            const std::string& expected = v.digest.at(Column(e));
            ASSERT_EQ(expected.size(), DigestTextLength(e.algorithm)) << Column(e);
            EXPECT_EQ(OfText(e, v.message), expected) << v.name << " " << Column(e) << " text";
            EXPECT_EQ(OfFile(e, path), expected) << v.name << " " << Column(e) << " file";
        }
    }
}

TEST(Runners, ZeroByteFileIsTheEmptyMessageForEveryAlgorithm) {
    TempDir dir;
    const std::string path = dir.WriteFile("empty", "");
    for (const auto& e : kEntries) {
        const std::string text = OfFile(e, path);
        EXPECT_EQ(text, SharedVector("empty").digest.at(Column(e))) << Column(e);
        EXPECT_EQ(text.size(), DigestTextLength(e.algorithm)) << Column(e);
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
                Digester d(e.algorithm);
                for (char c : message) d.Update(reinterpret_cast<const uint8_t*>(&c), 1);
                expected = d.Final();
            } else {
                expected = SharedVector(row).digest.at(Column(e));
            }
            EXPECT_EQ(OfFile(e, path), expected) << length << " " << Column(e);
        }
    }
}

TEST(Runners, FilesThatCannotBeReadGiveNoDigest) {
    TempDir dir;
    const struct {
        const char* name;
        std::string path;
        HashStatus status;
    } cases[] = {
        {"empty path", "", HashStatus::NotFound},
        {"missing file", dir.PathOf("missing"), HashStatus::NotFound},
        {"directory (opens, then fails to read)", dir.path(), HashStatus::ReadFailed},
        {"missing directory", dir.PathOf("no/such/file"), HashStatus::NotFound},
    };
    for (const auto& c : cases) {
        for (const auto& e : kEntries) {
            HashRequest request = RequestFor(e);
            request.SetSource(kSourceFile);
            request.SetFilePath(c.path);
            EXPECT_EQ(request.Compute(), "") << c.name << " " << Column(e);
            EXPECT_EQ(request.GetLastOutcome().status, c.status) << c.name << " " << Column(e);
        }
    }
}

TEST(Runners, EmptyPathTouchesNeitherTheFileNorTheOutput) {
    for (const auto& e : kEntries) {
        HashRequest request = RequestFor(e);
        request.SetInputText("abc");
        ASSERT_FALSE(request.Compute().empty());
        int opened = 0;
        request.SetFileOpener([&](const std::string&, int&) {
            ++opened;
            return std::unique_ptr<ByteSource>();
        });
        request.SetSource(kSourceFile);
        request.SetFilePath("");
        EXPECT_EQ(request.Compute(), "") << Column(e);
        EXPECT_EQ(request.GetOutputText(), "") << Column(e);
        EXPECT_EQ(opened, 0) << Column(e);
    }
}

TEST(Runners, ReadErrorAfterGoodChunksGivesNoDigestAndSaysHowFarItGot) {
    // Fails on the third read, after two full slices, and on the very first read.
    const std::string message = RampMessage(5 * kSliceSize);
    for (std::size_t failOn : {3u, 1u}) {
        for (const auto& e : kEntries) {
            HashRequest request = RequestFor(e);
            Tally tally;
            Inject(request, message, {kSliceSize, kSliceSize, 7}, failOn, tally);
            EXPECT_EQ(request.Compute(), "") << Column(e) << " failing on read " << failOn;
            const HashOutcome& outcome = request.GetLastOutcome();
            EXPECT_EQ(outcome.status, HashStatus::ReadFailed) << Column(e);
            EXPECT_EQ(outcome.error, EIO) << Column(e);
            EXPECT_EQ(outcome.bytesHashed, tally.delivered) << Column(e);
        }
    }
}

TEST(Runners, ShortReadsAreNotTheEnd) {
    // Only a read that delivers nothing ends the file; short reads on the way are fed on.
    const auto& v = SharedVector("ramp-32000");
    for (const auto& e : kEntries) {
        HashRequest request = RequestFor(e);
        Tally tally;
        Inject(request, v.message, {1, 15999, 7, 9000, 6993}, 0, tally);
        EXPECT_EQ(request.Compute(), v.digest.at(Column(e))) << Column(e);
        EXPECT_EQ(tally.reads, 6u) << Column(e);  // five pieces, then the read that gets nothing
    }
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
        if (e.hashAlgorithm == kAlgorithmSha2) continue;
        request.SetAlgorithm(e.hashAlgorithm);
        EXPECT_EQ(request.Compute(), abc.digest.at(Column(e))) << Column(e);
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
        HashRequest request = RequestFor(e);
        request.SetSource(kSourceFile);
        request.SetFilePath(path);
        std::vector<uint64_t> done;
        request.SetProgressObserver([&](uint64_t d, uint64_t total) {
            EXPECT_EQ(total, 40000u);
            done.push_back(d);
        });
        EXPECT_EQ(request.Compute(), OfText(e, RampMessage(40000))) << Column(e);
        EXPECT_EQ(done, (std::vector<uint64_t>{16000, 32000, 40000})) << Column(e);
    }
}

TEST(Runners, CancelGivesNoDigestEvenOnAFileThatNeverEnds) {
    for (const auto& e : kEntries) {
        std::atomic<bool> cancel{false};
        HashRequest request = RequestFor(e);
        request.SetSource(kSourceFile);
        request.SetFilePath("/dev/zero");
        request.SetCancelFlag(&cancel);
        request.SetProgressObserver([&](uint64_t done, uint64_t) {
            if (done >= 100000) cancel = true;
        });
        EXPECT_EQ(request.Compute(), "") << Column(e);
        EXPECT_EQ(request.GetOutputText(), "") << Column(e);
        EXPECT_EQ(request.GetLastOutcome().status, HashStatus::Cancelled) << Column(e);
        EXPECT_GE(request.GetLastOutcome().bytesHashed, 100000u) << Column(e);
        // Already cancelled: the text is not hashed either.
        request.SetSource(kSourceText);
        EXPECT_EQ(request.Compute(), "") << Column(e);
    }
}
