// The pipeline over scripted sources, on the calling thread (a budget of one core) and with a
// reader thread and engine groups (a budget of four): the same digests as one update whatever
// the reads, slices and groups; a read error part-way; a cancel on an input that never ends;
// paths (of the kinds asked), descriptors and texts; how the engines are grouped and the core
// budget.
#include "pipeline.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "core_budget.h"
#include "digester.h"
#include "read_loops.h"
#include "schedule.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

// A message handed out in reads of at most `piece` bytes, failing with EIO on read `failOn`
// (from 1); endless when the message is empty and `endless` is set. No size: the pipeline must
// treat it as possibly long.
class ScriptedSource final : public ByteSource {
public:
    ScriptedSource(std::string text, std::size_t readLimit, std::size_t failingRead = 0,
                   bool neverEnds = false)
        : message(std::move(text)), piece(readLimit), failOn(failingRead), endless(neverEnds) {}

    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) override {
        if (++reads == failOn) {
            error = EIO;
            return -1;
        }
        if (endless) {
            std::memset(buffer, 'z', capacity);
            return static_cast<std::ptrdiff_t>(capacity);
        }
        const std::size_t count = std::min({capacity, piece, message.size() - at});
        std::memcpy(buffer, message.data() + at, count);
        at += count;
        handedOut += count;
        return static_cast<std::ptrdiff_t>(count);
    }
    std::size_t Reads() const { return reads; }

    // As a file opened by path: a size, and reads at offsets (never short before the end). A
    // `claimed` size other than the message's is a file that shrinks or grows while it is read.
    ScriptedSource& Sized(std::optional<uint64_t> claimed = std::nullopt) {
        sized = true;
        claimedSize = claimed.value_or(message.size());
        return *this;
    }
    std::optional<uint64_t> Size() const override {
        return sized ? std::optional<uint64_t>(claimedSize) : std::nullopt;
    }
    // Each byte is read once, also when two threads share the reading.
    uint64_t BytesHandedOut() const { return handedOut; }
    bool ReadsAtOffsets() const override { return sized; }
    std::ptrdiff_t ReadAt(uint8_t* buffer, std::size_t capacity, uint64_t offset,
                          int& error) override {
        if (++reads == failOn) {
            error = EIO;
            return -1;
        }
        const std::size_t from = std::min<std::size_t>(offset, message.size());
        const std::size_t count = std::min(capacity, message.size() - from);
        std::memcpy(buffer, message.data() + from, count);
        handedOut += count;
        return static_cast<std::ptrdiff_t>(count);
    }

private:
    std::string message;
    std::size_t piece, failOn;
    bool endless;
    bool sized = false;
    uint64_t claimedSize = 0;
    std::atomic<std::size_t> reads{0};
    std::atomic<uint64_t> handedOut{0};
    std::size_t at = 0;
};

// The ramp with each kReadSize block shifted by its number: the plain ramp repeats every 256
// bytes, and so every block and every mapped window, which would hide blocks hashed out of order.
std::string NumberedBlocks(std::size_t length) {
    std::string message = RampMessage(length);
    for (std::size_t i = kReadSize; i < length; ++i)
        message[i] = static_cast<char>(message[i] + static_cast<char>(i / kReadSize));
    return message;
}

std::vector<std::string> OneUpdate(const std::string& message, std::span<const Algorithm> set,
                                   const DigestForm& form = {}) {
    DigestSet digests(set, form);
    digests.Update(reinterpret_cast<const uint8_t*>(message.data()), message.size());
    return digests.Finish();
}

// Out of the usual order, so a mix-up of the groups' results shows.
const std::vector<Algorithm> kMixed = {Algorithm::Sha512, Algorithm::Md2,    Algorithm::Crc32,
                                       Algorithm::Gost,   Algorithm::Md5,    Algorithm::Sha1,
                                       Algorithm::Md4,    Algorithm::Sha384, Algorithm::Sha256};
const std::vector<Algorithm> kOne = {Algorithm::Sha1};
const std::vector<Algorithm> kCheap = {Algorithm::Crc32};  // faster than the kernel's copy
// Its files go through the tree on several threads: in keyed mode, so the mode must reach it.
const std::vector<Algorithm> kBlake3 = {Algorithm::Blake3};
const Blake3Mode kKeyed = Blake3KeyedMode(Bytes(std::string(32, 'k')));
constexpr unsigned kBudgets[] = {1, 2, 4};  // on this thread; reader and one group; four groups

TEST(Pipeline, SameDigestsAsOneUpdateWhateverTheReadsAndThreads) {
    // Past kThreadsFrom, a file of one engine or of cheap ones is read by two threads at offsets.
    for (std::size_t length :
         {std::size_t{0}, std::size_t{1}, kSliceSize - 1, kSliceSize, kSliceSize + 1, kReadSize + 1,
          2 * kReadSize + 77, 5 * kReadSize + 3}) {
        const std::string message = NumberedBlocks(length);
        for (const auto* set : {&kOne, &kMixed, &kCheap, &kBlake3}) {
            if (set == &kMixed && length > kThreadsFrom) continue;  // MD2 is slow; covered below
            const Blake3Mode mode = set == &kBlake3 ? kKeyed : Blake3Mode{};
            const auto expected = OneUpdate(message, *set, {0, mode});
            for (unsigned cores : kBudgets) {
                for (std::size_t piece : {kReadSize, std::size_t{1000}, std::size_t{0}}) {
                    const bool sized = piece == 0;  // a file: the size known, reads at offsets
                    CoreBudget budget(cores);
                    HashControl control;
                    control.cores = &budget;
                    control.form.blake3 = mode;
                    std::vector<uint64_t> progress;
                    control.progress = [&](uint64_t done, uint64_t total) {
                        EXPECT_EQ(total, sized ? length : 0u);
                        // The tree hears of a round of pieces at a time.
                        if (set != &kBlake3) {
                            EXPECT_LE(done - (progress.empty() ? 0 : progress.back()), kSliceSize);
                        }
                        progress.push_back(done);
                    };
                    ScriptedSource source(message, sized ? kReadSize : piece);
                    if (sized) source.Sized();
                    const HashOutcome outcome = ComputeDigests(source, *set, control);
                    const auto trace = std::to_string(length) + " bytes, " +
                                       std::to_string(set->size()) + " algorithms, " +
                                       std::to_string(cores) + " cores, reads of " +
                                       std::to_string(piece);
                    ASSERT_TRUE(outcome.ok()) << trace;
                    EXPECT_EQ(outcome.digests, expected) << trace;
                    EXPECT_EQ(outcome.bytesHashed, length) << trace;
                    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end())) << trace;
                    EXPECT_EQ(progress.empty() ? 0 : progress.back(), length) << trace;
                    // Two threads reading at offsets may both read a block the helper is slow
                    // to finish; otherwise each byte is read once.
                    if (cores == 1 || !sized) {
                        EXPECT_EQ(source.BytesHandedOut(), length) << trace;
                    }
                }
            }
        }
    }
}

TEST(Pipeline, AFileThatShrinksOrGrowsWhileReadIsHashedAsRead) {
    // Two threads read a cheap engine's file at offsets: the digest is of what the reads gave,
    // whether they end before the size taken at the start (inside a block or on its edge) or
    // go on past it.
    const uint64_t told = 5 * kReadSize + 3;
    for (uint64_t length : {uint64_t{kReadSize} + 9, 3 * uint64_t{kReadSize}, told + kReadSize}) {
        const std::string message = NumberedBlocks(static_cast<std::size_t>(length));
        for (unsigned cores : kBudgets) {
            CoreBudget budget(cores);
            HashControl control;
            control.cores = &budget;
            ScriptedSource source(message, kReadSize);
            const HashOutcome outcome = ComputeDigests(source.Sized(told), kCheap, control);
            ASSERT_TRUE(outcome.ok()) << length << " bytes, " << cores << " cores";
            EXPECT_EQ(outcome.digests, OneUpdate(message, kCheap)) << length;
            EXPECT_EQ(outcome.bytesHashed, length) << length;
        }
    }
}

TEST(Pipeline, AReadErrorPartWayGivesNoDigestAndSaysHowFarItGot) {
    const std::string message = RampMessage(20 * kSliceSize);
    for (const auto* set : {&kOne, &kMixed}) {
        for (unsigned cores : kBudgets) {
            for (std::size_t failOn : {1u, 2u, 7u}) {
                CoreBudget budget(cores);
                HashControl control;
                control.cores = &budget;
                ScriptedSource source(message, kSliceSize, failOn);
                const HashOutcome outcome = ComputeDigests(source, *set, control);
                EXPECT_EQ(outcome.status, HashStatus::ReadFailed) << failOn;
                EXPECT_EQ(outcome.error, EIO) << failOn;
                EXPECT_TRUE(outcome.digests.empty()) << failOn;
                EXPECT_EQ(outcome.bytesHashed, (failOn - 1) * kSliceSize) << failOn;
                EXPECT_EQ(source.Reads(), failOn) << "no read after the failure";
            }
        }
    }
    // Two threads reading at offsets: which read is the n-th is a race, the outcome is not.
    const std::string file = RampMessage(6 * kReadSize);
    for (std::size_t failOn : {1u, 2u, 5u}) {
        CoreBudget budget(2);
        HashControl control;
        control.cores = &budget;
        ScriptedSource source(file, kReadSize, failOn);
        const HashOutcome outcome = ComputeDigests(source.Sized(), kCheap, control);
        EXPECT_EQ(outcome.status, HashStatus::ReadFailed) << failOn;
        EXPECT_EQ(outcome.error, EIO) << failOn;
        EXPECT_TRUE(outcome.digests.empty()) << failOn;
        EXPECT_EQ(outcome.bytesHashed % kReadSize, 0u) << failOn;
        EXPECT_LT(outcome.bytesHashed, file.size()) << failOn;
    }
}

TEST(Pipeline, CancelStopsAnInputThatNeverEndsWithinAFewReads) {
    for (const auto* set : {&kOne, &kMixed}) {
        for (unsigned cores : kBudgets) {
            CoreBudget budget(cores);
            ScriptedSource source("", 0, 0, true);
            std::atomic<bool> cancel{false};
            std::size_t readsAtCancel = 0;
            HashControl control;
            control.cores = &budget;
            control.cancel = &cancel;
            control.progress = [&](uint64_t done, uint64_t) {
                if (done >= 20 * kSliceSize && !cancel) {
                    cancel = true;
                    readsAtCancel = source.Reads();
                }
            };
            const HashOutcome outcome = ComputeDigests(source, *set, control);
            EXPECT_EQ(outcome.status, HashStatus::Cancelled);
            EXPECT_EQ(outcome.bytesHashed, 20 * kSliceSize) << "no slice after the cancel";
            // A reader thread may fill the rest of its ring (four blocks) first; not more.
            EXPECT_LE(source.Reads(), readsAtCancel + 4);
        }
    }
    // Cancelled before the start: nothing is read, not even a text.
    ScriptedSource source(RampMessage(100), kSliceSize);
    const std::atomic<bool> cancelled{true};
    HashControl control;
    control.cancel = &cancelled;
    EXPECT_EQ(ComputeDigests(source, kOne, control).status, HashStatus::Cancelled);
    EXPECT_EQ(source.Reads(), 0u);
    EXPECT_EQ(ComputeDigests(HashInput::Text("abc"), kOne, control).status, HashStatus::Cancelled);
}

TEST(Pipeline, PathsDescriptorsAndTexts) {
    TempDir dir;
    const std::string message = RampMessage(3 * kSliceSize + 5);
    const std::string path = dir.WriteFile("ramp", message);
    EXPECT_EQ(ComputeDigests(HashInput::Path(path), kMixed).digests, OneUpdate(message, kMixed));
    EXPECT_EQ(ComputeDigests(HashInput::Text(message), kMixed).digests, OneUpdate(message, kMixed));

    // A descriptor is read from where it stands and left open.
    const int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(lseek(fd, 100, SEEK_SET), 100);
    EXPECT_EQ(ComputeDigests(HashInput::Descriptor(fd), kOne).digests,
              OneUpdate(message.substr(100), kOne));
    EXPECT_NE(fcntl(fd, F_GETFD), -1) << "still open";
    close(fd);

    // The kind is checked on the opened descriptor; a FIFO without a writer never holds the open.
    const std::string fifo = dir.PathOf("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        HashStatus status;
        int error;
        FileKinds kinds = FileKinds::Any;
    } failures[] = {
        {dir.PathOf("missing"), HashStatus::NotFound, ENOENT},
        {"", HashStatus::NotFound, ENOENT},
        {path + std::string(1, '\0'), HashStatus::NotFound, ENOENT},
        {path + "/inside", HashStatus::OpenFailed, ENOTDIR},
        {dir.path(), HashStatus::ReadFailed, EISDIR},
        {dir.path(), HashStatus::OpenFailed, kNotRegularFile, FileKinds::RegularOnly},
        {fifo, HashStatus::OpenFailed, kNotRegularFile, FileKinds::RegularOnly},
        {"/dev/null", HashStatus::OpenFailed, kNotRegularFile, FileKinds::RegularOnly},
        {fifo, HashStatus::OpenFailed, ENXIO, FileKinds::NoFifo},
    };
    for (const auto& f : failures) {
        const HashOutcome outcome = ComputeDigests(HashInput::Path(f.path, f.kinds), kOne);
        EXPECT_EQ(outcome.status, f.status) << f.path;
        EXPECT_EQ(outcome.error, f.error) << f.path;
        EXPECT_TRUE(outcome.digests.empty()) << f.path;
    }
}

// Files the engines faster than the kernel's copy hash where they are mapped, a window at a time,
// mapped and read in turns at first, on one core; on two, read by both threads (BLAKE3 through
// its tree, on every core free).
TEST(Pipeline, MappedFilesWindowByWindow) {
    TempDir dir;
    for (uint64_t length : {ByteSource::kMapFrom + ByteSource::kMapWindow + kSliceSize + 3}) {
        const std::string message = NumberedBlocks(static_cast<std::size_t>(length));
        const std::string path = dir.WriteFile("big", message);
        for (const auto* set : {&kCheap, &kBlake3}) {
            for (unsigned cores : {1u, 2u}) {
                CoreBudget budget(cores);
                HashControl control;
                control.cores = &budget;
                control.form.blake3 = Blake3DeriveKeyMode("pipeline test");  // not for CRC-32's
                const HashOutcome outcome = ComputeDigests(HashInput::Path(path), *set, control);
                EXPECT_EQ(outcome.digests, OneUpdate(message, *set, control.form))
                    << cores;
                EXPECT_EQ(outcome.bytesHashed, length) << cores;
            }
        }
    }
}

// The trials' choice: windows 0 and 2 mapped, 1 and 3 read, then mapping goes on only while its
// cheapest trial cost no more than reading's.
TEST(Pipeline, MapTrialsKeepTheCheaperWay) {
    static_assert(ByteSource::kMapTrials == 4);
    struct Case {
        double costs[4];  // per byte: mapped, read, mapped, read
        bool mapsOn;
    };
    for (const Case& c : {Case{{1, 2, 3, 4}, true}, Case{{3, 4, 1, 2}, true},
                          Case{{3, 1, 2, 4}, false}, Case{{2, 2, 5, 9}, true},
                          Case{{5, 9, 2.5, 2}, false}}) {
        MapTrials trials;
        for (int window = 0; window < 4; ++window) {
            EXPECT_TRUE(trials.MapsOn(window));
            trials.Note(window, c.costs[window]);
        }
        EXPECT_EQ(trials.MapsOn(4), c.mapsOn) << c.costs[0] << " " << c.costs[1];
        EXPECT_EQ(trials.MapsOn(9), c.mapsOn);
    }
}

// A file cut short while mapped: touching a page past its new end would end the process with
// SIGBUS; instead the pages read as zeros and the use is void. Cut inside the last page, nothing
// faults, but the bytes are gone all the same.
TEST(Pipeline, AFileCutShortWhileMappedIsAFailureNotACrash) {
    TempDir dir;
    const std::string message = RampMessage(std::size_t{1} << 20);
    for (std::size_t cutTo : {std::size_t{0}, std::size_t{8192}, message.size() - 10}) {
        const std::string path = dir.WriteFile("cut", message);
        int error = 0;
        const auto source = OpenFileSource(path, error);
        ASSERT_TRUE(source);
        uint8_t last = 0;
        const auto mapped = source->UseMapped(
            0, message.size(),
            [&](const uint8_t* bytes, std::size_t length) {
                EXPECT_EQ(std::memcmp(bytes, message.data(), length), 0);
                EXPECT_EQ(truncate(path.c_str(), static_cast<off_t>(cutTo)), 0);
                for (std::size_t i = 0; i < length; i += 64)
                    last = *static_cast<const volatile uint8_t*>(bytes + i);
                return true;
            },
            error);
        EXPECT_EQ(mapped, ByteSource::Mapped::CutShort) << cutTo;
        EXPECT_EQ(error, EIO) << cutTo;
    }
    // Uncut: every byte as written, and a use that stops says so.
    const std::string path = dir.WriteFile("whole", message);
    int error = 0;
    const auto source = OpenFileSource(path, error);
    ASSERT_TRUE(source);
    const auto same = [&](const uint8_t* bytes, std::size_t length) {
        return std::memcmp(bytes, message.data() + 5, length) == 0;
    };
    EXPECT_EQ(source->UseMapped(5, message.size() - 5, same, error), ByteSource::Mapped::Used);
    EXPECT_EQ(source->UseMapped(4, message.size() - 5, same, error), ByteSource::Mapped::Stopped);
}

TEST(Pipeline, SplitByCostGivesMd2ACoreOfItsOwn) {
    const std::vector<Algorithm> all(kAllOptionAlgorithms.begin(), kAllOptionAlgorithms.end());
    const auto two = SplitByCost(all, 2);
    ASSERT_EQ(two.size(), 2u);
    const std::size_t md2 = 2;  // its index in kAllOptionAlgorithms
    const auto& alone = two[0].size() == 1 ? two[0] : two[1];
    EXPECT_EQ(alone, std::vector<std::size_t>{md2});

    for (std::size_t groups : {0u, 1u, 2u, 3u, 9u, 50u}) {
        const auto split = SplitByCost(all, groups);
        EXPECT_EQ(split.size(), std::clamp<std::size_t>(groups, 1, all.size()));
        std::vector<std::size_t> seen;
        for (const auto& group : split) {
            EXPECT_FALSE(group.empty());
            EXPECT_TRUE(std::is_sorted(group.begin(), group.end()));
            seen.insert(seen.end(), group.begin(), group.end());
        }
        std::sort(seen.begin(), seen.end());
        std::vector<std::size_t> every(all.size());
        std::iota(every.begin(), every.end(), std::size_t{0});
        EXPECT_EQ(seen, every) << groups;
    }
    EXPECT_FALSE(ReaderThreadPays(std::vector<Algorithm>{Algorithm::Crc32}));
    EXPECT_FALSE(ReaderThreadPays(std::vector<Algorithm>{Algorithm::Xxh3, Algorithm::Xxh64}));
    EXPECT_TRUE(ReaderThreadPays(std::vector<Algorithm>{Algorithm::Crc32, Algorithm::Sha1}));
}

TEST(CoreBudget, ExtrasOnlyWhileCoresAreFree) {
    CoreBudget budget(2);
    {
        CoreLease first(budget, 1, 4);
        EXPECT_EQ(first.Extra(), 1u);  // two cores: this thread and one more
        CoreLease second(budget, 1, 1);
        EXPECT_EQ(second.Extra(), 0u);  // runs anyway, on no extra core
    }
    CoreLease again(budget, 1, 1);
    EXPECT_EQ(again.Extra(), 1u) << "released with the leases";
    EXPECT_EQ(CoreBudget(0).Take(1, 3), 0u) << "a budget has at least one core";
}

}  // namespace
