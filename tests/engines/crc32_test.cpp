// CRC-32: shared vectors as text and as files, the check value, high bytes, the 4096-byte
// portion boundary, and files that cannot be read; cksum's classic checksums beside it.
#include "crc32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "classic_sums.h"
#include "temp_file.h"
#include "unprivileged.h"
#include "vectors.h"

namespace {

std::string Hex(uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(crc));
    return text;
}

// Bit at a time, straight from the reflected polynomial: a second opinion on the table.
uint32_t BitwiseCrc(const std::string& message) {
    uint32_t reg = 0xFFFFFFFF;
    for (unsigned char byte : message) {
        reg ^= byte;
        for (int bit = 0; bit < 8; ++bit) reg = (reg & 1) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
    }
    return ~reg;
}

struct FileCrc {
    int status;
    uint32_t crc;
    CrcFileOutcome outcome;
};

FileCrc CrcOf(const std::string& path) {
    FileCrc r{-1, 0x12345678, CrcFileOutcome::Stopped};
    r.status = CCrc32Static::CrcOfFile(path.c_str(), r.crc, r.outcome);
    return r;
}

}  // namespace

TEST(Crc32, SharedVectorsAsBytesAndAsFiles) {
    TempDir dir;
    for (const auto& v : SharedVectors()) {
        const std::string& expected = v.digest.at("crc32");
        uint32_t crc = 0;
        EXPECT_EQ(CCrc32Static::CrcOfBytes(Bytes(v.message), v.message.size(), crc), 0);
        EXPECT_EQ(Hex(crc), expected) << v.name;
        if (v.message.find('\0') == std::string::npos) {
            EXPECT_EQ(CCrc32Static::CrcOfText(v.message.c_str(), crc), 0);
            EXPECT_EQ(Hex(crc), expected) << v.name << " as text";
        }
        const auto file = CrcOf(dir.WriteFile(v.name, v.message));
        EXPECT_EQ(file.status, 0) << v.name;
        EXPECT_EQ(file.outcome, CrcFileOutcome::Complete) << v.name;
        EXPECT_EQ(Hex(file.crc), expected) << v.name << " as file";
    }
}

TEST(Crc32, CheckValueAndEmptyText) {
    uint32_t crc = 1;
    CCrc32Static::CrcOfText("123456789", crc);
    EXPECT_EQ(crc, 0xCBF43926u);
    CCrc32Static::CrcOfText("", crc);
    EXPECT_EQ(crc, 0u);
}

TEST(Crc32, BytesAbove127AreUnsignedIndices) {
    const struct {
        const char* text;
        uint32_t crc;
    } cases[] = {{"\x80", 0x3FBA6CAD}, {"\xff\xfe\x80", 0x265EA2EC}};
    for (const auto& c : cases) {
        uint32_t crc = 0;
        CCrc32Static::CrcOfText(c.text, crc);
        EXPECT_EQ(crc, c.crc) << ToHex(c.text);
    }
}

TEST(Crc32, TextStopsAtZeroByteWhileBytesCoverIt) {
    const std::string message("ab\0cd", 5);
    uint32_t text = 0, bytes = 0, prefix = 0;
    CCrc32Static::CrcOfText(message.c_str(), text);
    CCrc32Static::CrcOfText("ab", prefix);
    CCrc32Static::CrcOfBytes(Bytes(message), message.size(), bytes);
    EXPECT_EQ(text, prefix);
    EXPECT_EQ(bytes, 0xF7500B4Du);
}

TEST(Crc32, AgreesWithBitwiseReferenceAndFoldsInPieces) {
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int round = 0; round < 100; ++round) {
        std::string message(random() % 600, '\0');
        for (auto& c : message) c = static_cast<char>(random());
        uint32_t whole = 0;
        CCrc32Static::CrcOfBytes(Bytes(message), message.size(), whole);
        ASSERT_EQ(whole, BitwiseCrc(message)) << "length " << message.size();

        uint32_t reg = CCrc32Static::kPreset;
        for (std::size_t at = 0; at < message.size();) {
            const std::size_t piece = std::min<std::size_t>(random() % 70, message.size() - at);
            CCrc32Static::CrcFold(reg, Bytes(message) + at, piece);
            at += piece;
        }
        ASSERT_EQ(reg ^ CCrc32Static::kPreset, whole) << "length " << message.size();
    }
}

TEST(Crc32, FilesAroundThe4096BytePortion) {
    TempDir dir;
    const struct {
        std::size_t length;
        uint32_t crc;
        std::vector<uint32_t> portions;
    } cases[] = {
        {0, 0x00000000, {}},
        {4095, 0x9F8AEBA2, {4095}},
        {4096, 0x5E4E1995, {4096}},
        {4097, 0xCB3097E5, {4096, 1}},
    };
    for (const auto& c : cases) {
        const auto path = dir.WriteFile("ramp-" + std::to_string(c.length), RampMessage(c.length));
        uint32_t crc = 0;
        CrcFileOutcome outcome;
        std::vector<uint32_t> portions;
        const int status = CCrc32Static::CrcOfFile(
            path.c_str(), crc, outcome,
            [](void* user, uint32_t bytes) {
                static_cast<std::vector<uint32_t>*>(user)->push_back(bytes);
                return true;
            },
            &portions);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(outcome, CrcFileOutcome::Complete);
        EXPECT_EQ(crc, c.crc) << c.length;
        EXPECT_EQ(portions, c.portions) << c.length;
    }
}

TEST(Crc32, PortionCallbackStopsTheReading) {
    TempDir dir;
    const auto path = dir.WriteFile("big", RampMessage(3 * 4096));
    uint32_t crc = 0;
    CrcFileOutcome outcome;
    int calls = 0;
    CCrc32Static::CrcOfFile(
        path.c_str(), crc, outcome,
        [](void* user, uint32_t) { return ++*static_cast<int*>(user) < 2; }, &calls);
    EXPECT_EQ(outcome, CrcFileOutcome::Stopped);
    EXPECT_EQ(calls, 2);
}

TEST(Crc32, FilesThatCannotBeRead) {
    TempDir dir;
    const std::string locked = dir.WriteUnreadableFile("locked", "secret");
    const struct {
        const char* name;
        std::string path;
        CrcFileOutcome outcome;
    } cases[] = {
        {"missing", dir.PathOf("missing"), CrcFileOutcome::NotOpened},
        {"empty path", "", CrcFileOutcome::NotOpened},
        {"directory", dir.path(), CrcFileOutcome::ReadFailed},
    };
    for (const auto& c : cases) {
        // The plain operation keeps its documented result: CRC 0, status 0.
        uint32_t plain = 1;
        EXPECT_EQ(CCrc32Static::CrcOfFile(c.path.c_str(), plain), 0) << c.name;
        EXPECT_EQ(plain, 0u) << c.name;
        EXPECT_EQ(CrcOf(c.path).outcome, c.outcome) << c.name;
    }
    Unprivileged guard;
    if (!guard.PermissionsApply()) GTEST_SKIP() << "cannot give up root";
    const auto r = CrcOf(locked);
    EXPECT_EQ(r.outcome, CrcFileOutcome::NotOpened);
    EXPECT_EQ(r.crc, 0u);
}

// cksum's classic checksums: the POSIX CRC, the BSD and the System V sums. Expected values from
// cksum -a crc, -a bsd and -a sysv (coreutils 9.1) on the same bytes; every split of the input
// gives the same.
TEST(ClassicSums, KnownAnswersFromCksumInAnyPieces) {
    const struct {
        std::string message;
        uint32_t crc;
        uint16_t bsd, sysv;
    } cases[] = {
        {"", 4294967295u, 0, 0},
        {"abc", 1219131554u, 16556, 294},
        {"123456789", 930766865u, 53615, 477},
        {RampMessage(1), 2312486299u, 3, 3},
        {RampMessage(8), 1002360118u, 5722, 220},
        {RampMessage(9), 2425606739u, 2920, 279},
        {RampMessage(4096), 3788569423u, 24659, 63495},
        {RampMessage(70000), 396058721u, 41507, 12112},
    };
    std::mt19937 random(7);
    for (const auto& c : cases) {
        const auto* data = reinterpret_cast<const uint8_t*>(c.message.data());
        for (int split = 0; split < 4; ++split) {
            PosixCrcContext crc;
            BsdSumContext bsd;
            SysvSumContext sysv;
            for (std::size_t at = 0; at < c.message.size();) {
                const std::size_t piece =
                    split == 0 ? c.message.size()
                               : std::min<std::size_t>(c.message.size() - at, random() % 300 + 1);
                PosixCrcUpdate(&crc, data + at, piece);
                BsdSumUpdate(&bsd, data + at, piece);
                SysvSumUpdate(&sysv, data + at, piece);
                at += piece;
            }
            EXPECT_EQ(PosixCrcFinal(&crc), c.crc) << c.message.size();
            EXPECT_EQ(bsd.sum, c.bsd) << c.message.size();
            EXPECT_EQ(SysvSumFinal(&sysv), c.sysv) << c.message.size();
        }
    }
}
