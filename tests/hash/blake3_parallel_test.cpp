// The parallel BLAKE3 hasher against plain streaming, at lengths around its pieces (512 chunks)
// and rounds (64 pieces), from memory and from a file read at offsets; a failing read and a stop.
#include "blake3_parallel.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "file_source.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

constexpr uint64_t kPiece = kBlake3PieceBytes, kRound = 64 * kPiece;

std::string Serial(const std::string& message) {
    Blake3Context c;
    Blake3InitKeyed(&c, Bytes(std::string(32, 'k')));
    Blake3Update(&c, Bytes(message), message.size());
    uint8_t out[32];
    Blake3Final(&c, out, sizeof out);
    return ToHex(out, sizeof out);
}

// From memory (copied into the thread's buffer on odd lengths, so both kinds of fetch run).
std::string Parallel(const std::string& message, unsigned extraThreads) {
    Blake3Context c;
    Blake3InitKeyed(&c, Bytes(std::string(32, 'k')));
    uint64_t advanced = 0;
    int error = 0;
    const auto fetch = [&](uint64_t offset, std::size_t length, uint8_t* buffer, int&) {
        if (message.size() % 2 == 0) return Bytes(message) + offset;
        std::memcpy(buffer, message.data() + offset, length);
        return static_cast<const uint8_t*>(buffer);
    };
    const auto outcome = Blake3UpdateParallel(
        &c, message.size(), extraThreads, fetch,
        [&](uint64_t bytes) { return (advanced += bytes) > 0; }, error);
    EXPECT_EQ(outcome, Blake3Parallel::Complete);
    EXPECT_EQ(advanced, message.size());
    uint8_t out[32];
    Blake3Final(&c, out, sizeof out);
    return ToHex(out, sizeof out);
}

TEST(Blake3ParallelTest, MatchesStreamingAroundPiecesAndRounds) {
    for (uint64_t length : {uint64_t{0}, uint64_t{1}, uint64_t{1024}, uint64_t{1025}, kPiece - 1,
                            kPiece, kPiece + 1, kPiece + 1024, kPiece + 1025, 3 * kPiece + 7,
                            kRound - 1, kRound, kRound + 1, kRound + kPiece + 1025}) {
        const std::string message = RampMessage(length);
        const std::string expected = Serial(message);
        for (unsigned extra : {0u, 1u, 3u})
            EXPECT_EQ(Parallel(message, extra), expected) << length << " bytes, " << extra;
    }
}

TEST(Blake3ParallelTest, FileReadAtOffsetsAndItsFailures) {
    TempDir dir;
    // Read, and mapped and read across windows.
    for (uint64_t length : {3 * kPiece + 5, ByteSource::kMapFrom + kPiece + 1025}) {
        const std::string whole = RampMessage(static_cast<std::size_t>(length));
        int error = 0;
        auto source = OpenFileSource(dir.WriteFile("f", whole), error);
        ASSERT_TRUE(source);
        Blake3Context c;
        Blake3InitKeyed(&c, Bytes(std::string(32, 'k')));
        ASSERT_EQ(Blake3UpdateFromSource(
                      &c, *source, whole.size(), 1, [](uint64_t) { return true; }, error),
                  Blake3Parallel::Complete);
        uint8_t out[32];
        Blake3Final(&c, out, sizeof out);
        EXPECT_EQ(ToHex(out, sizeof out), Serial(whole)) << length;
    }
    const std::string message = RampMessage(3 * kPiece + 5);
    int error = 0;
    auto source = OpenFileSource(dir.WriteFile("f", message), error);
    ASSERT_TRUE(source);
    Blake3Context c;

    // A file that is shorter than it was said to be, and a stop after the first round.
    Blake3Init(&c);
    EXPECT_EQ(Blake3UpdateFromSource(
                  &c, *source, message.size() + kPiece, 1, [](uint64_t) { return true; }, error),
              Blake3Parallel::Failed);
    EXPECT_EQ(error, EIO);
    Blake3Init(&c);
    EXPECT_EQ(Blake3UpdateFromSource(
                  &c, *source, message.size(), 1, [](uint64_t) { return false; }, error),
              Blake3Parallel::Stopped);
}

}  // namespace
