// BLAKE3: the b3sum table (tests/data/blake3.tsv, made by make_blake3_table.py) in all three
// modes at two output lengths on every CPU level, whole and in pieces; the subtree interface
// against plain streaming; each vector function against the portable one.
#include "blake3.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cpu.h"
#include "digester.h"
#include "sum_file.h"
#include "engine_adapters.h"
#include "engine_conformance.h"
#include "vectors.h"
#if defined(__x86_64__) || defined(__i386__)
#include "x86/x86_lanes.h"
#endif

namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(Blake3, EngineConformance, Blake3Engine);

struct Row {
    std::string mode;
    std::size_t length;
    std::string out32, out131;
};

struct Table {
    std::string key, context;
    std::vector<Row> rows;
};

const Table& TheTable() {
    static const Table table = [] {
        Table t;
        std::ifstream in(TestDataPath("blake3.tsv"));
        std::string line;
        std::getline(in, line);  // "# key=HEX context=TEXT"
        const auto contextAt = line.find(" context=");
        t.key = line.substr(6, contextAt - 6);
        t.context = line.substr(contextAt + 9);
        std::getline(in, line);  // column names
        for (Row r; in >> r.mode >> r.length >> r.out32 >> r.out131;) t.rows.push_back(r);
        return t;
    }();
    return table;
}

std::string Key() {
    return HexToBytes(TheTable().key);
}

void InitMode(Blake3Context* c, const std::string& mode) {
    if (mode == "keyed") {
        Blake3InitKeyed(c, Bytes(Key()));
    } else if (mode == "derive-key") {
        Blake3InitDeriveKey(c, TheTable().context.data(), TheTable().context.size());
    } else {
        Blake3Init(c);
    }
}

// The message fed in pieces of `piece` bytes (0: at once), `outBytes` of output.
std::string Digest(const std::string& mode, const std::string& message, std::size_t piece,
                   std::size_t outBytes) {
    Blake3Context c;
    InitMode(&c, mode);
    const std::size_t step = piece == 0 ? message.size() + 1 : piece;
    for (std::size_t at = 0; at < message.size(); at += step)
        Blake3Update(&c, Bytes(message) + at, std::min(step, message.size() - at));
    std::vector<uint8_t> out(outBytes + 1, 0xA5);
    Blake3Final(&c, out.data(), outBytes);
    EXPECT_EQ(out[outBytes], 0xA5) << "wrote past the output";
    return ToHex(out.data(), outBytes);
}

class Blake3AtLevel : public ::testing::TestWithParam<CpuLevel> {
protected:
    void SetUp() override {
        if (!ForceCpuLevel(GetParam())) GTEST_SKIP() << "CPU lacks this level";
    }
    void TearDown() override { ResetCpuLevel(); }
};

TEST_P(Blake3AtLevel, B3sumTableWholeAndInPieces) {
    ASSERT_EQ(TheTable().rows.size(), 75u);
    for (const Row& r : TheTable().rows) {
        const std::string message = RampMessage(r.length);
        SCOPED_TRACE(r.mode + " " + std::to_string(r.length));
        EXPECT_EQ(Digest(r.mode, message, 0, 32), r.out32);
        EXPECT_EQ(Digest(r.mode, message, 0, 131), r.out131);
        // Pieces that straddle blocks and chunks; whole chunks then a tail.
        for (std::size_t piece :
             {std::size_t{1}, std::size_t{63}, std::size_t{1000}, std::size_t{4096 + 1}})
            if (r.length <= 8193 || piece > 1) {
                EXPECT_EQ(Digest(r.mode, message, piece, 32), r.out32) << piece;
            }
    }
}

TEST_P(Blake3AtLevel, PushedSubtreesThenATailMatchStreaming) {
    // Layouts of subtrees (in chunks) then a tail (bytes), each subtree aligned as the tree wants.
    const std::vector<std::pair<std::vector<uint64_t>, std::size_t>> layouts = {
        {{1}, 1},       {{1, 1}, 1024}, {{2}, 1},          {{4, 2, 1}, 5},
        {{8, 8}, 1025}, {{64}, 1},      {{128, 64}, 3000}, {{1, 1, 2, 4, 8}, 1024},
    };
    for (const std::string mode : {"hash", "keyed", "derive-key"})
        for (const auto& [subtrees, tail] : layouts) {
            std::size_t total = tail;
            for (uint64_t chunks : subtrees) total += chunks * kBlake3ChunkSize;
            const std::string message = RampMessage(total);
            Blake3Context c;
            InitMode(&c, mode);
            uint64_t counter = 0;
            for (uint64_t chunks : subtrees) {
                uint8_t cv[32];
                Blake3SubtreeCv(&c, Bytes(message) + counter * kBlake3ChunkSize, chunks, counter,
                                cv);
                Blake3PushSubtree(&c, cv, chunks);
                counter += chunks;
            }
            Blake3Update(&c, Bytes(message) + counter * kBlake3ChunkSize, tail);
            uint8_t out[40];
            Blake3Final(&c, out, sizeof out);
            EXPECT_EQ(ToHex(out, sizeof out), Digest(mode, message, 0, sizeof out))
                << mode << " total " << total;
        }
}

INSTANTIATE_TEST_SUITE_P(Levels, Blake3AtLevel, ::testing::ValuesIn(kCpuLevels),
                         [](const auto& p) { return std::to_string(static_cast<int>(p.param)); });

// The digester's chosen length and mode reach the engine: the table's 131-byte outputs.
TEST(Blake3Test, DigesterOfAChosenLengthAndMode) {
    for (const Row& r : TheTable().rows) {
        DigestForm form{131};
        if (r.mode == "keyed") form.blake3 = Blake3KeyedMode(Bytes(Key()));
        if (r.mode == "derive-key") form.blake3 = Blake3DeriveKeyMode(TheTable().context);
        const std::string message = RampMessage(r.length);
        Digester digester(Algorithm::Blake3, form);
        digester.Update(Bytes(message), message.size());
        EXPECT_EQ(digester.Final(), r.out131) << r.mode << " " << r.length;
    }
}

TEST(Blake3Test, FinalLeavesTheContextForMoreInput) {
    const std::string message = RampMessage(5000);
    Blake3Context c;
    Blake3Init(&c);
    Blake3Update(&c, Bytes(message), 3000);
    uint8_t early[32];
    Blake3Final(&c, early, sizeof early);
    EXPECT_EQ(ToHex(early, 32), Digest("hash", message.substr(0, 3000), 0, 32));
    Blake3Update(&c, Bytes(message) + 3000, 2000);
    uint8_t late[32];
    Blake3Final(&c, late, sizeof late);
    EXPECT_EQ(ToHex(late, 32), Digest("hash", message, 0, 32));
}

#if defined(__x86_64__) || defined(__i386__)
struct ManyPath {
    const char* name;
    Blake3Many many;
    bool (*available)(const CpuFeatures&);
};

class Blake3ManyTest : public ::testing::TestWithParam<ManyPath> {};

// Random chunk and parent runs against the portable function: counts around the lane width,
// counters whose low word carries, every flag set.
TEST_P(Blake3ManyTest, MatchesPortable) {
    if (!GetParam().available(DetectCpuFeatures())) GTEST_SKIP() << "CPU lacks the extension";
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::vector<uint8_t> data(40 * kBlake3ChunkSize);
    for (auto& b : data) b = static_cast<uint8_t>(random());
    for (int round = 0; round < 200; ++round) {
        uint32_t key[8];
        for (auto& k : key) k = static_cast<uint32_t>(random());
        const std::size_t count = 1 + random() % 40, blocks = round % 2 ? 16 : 1;
        const uint64_t counter = round % 3 ? uint64_t{0xFFFFFFF0u} + random() % 32 : random();
        const auto flags = static_cast<uint8_t>(random()), start = static_cast<uint8_t>(random()),
                   end = static_cast<uint8_t>(random());
        const bool step = round % 4 != 0;
        std::vector<uint8_t> want(32 * count), got(32 * count + 1, 0xA5);
        Blake3ManyPortable(key, data.data(), count, blocks, counter, step, flags, start, end,
                           want.data());
        GetParam().many(key, data.data(), count, blocks, counter, step, flags, start, end,
                        got.data());
        ASSERT_EQ(ToHex(got.data(), 32 * count), ToHex(want.data(), 32 * count))
            << "count " << count << " blocks " << blocks << " counter " << counter;
        ASSERT_EQ(got.back(), 0xA5);
    }
}

INSTANTIATE_TEST_SUITE_P(Accel, Blake3ManyTest,
                         ::testing::Values(ManyPath{"avx2", Blake3ManyAvx2,
                                                    [](const CpuFeatures& f) { return f.avx2; }},
                                           ManyPath{"avx512", Blake3ManyAvx512,
                                                    [](const CpuFeatures& f) { return f.avx512; }}),
                         [](const auto& p) { return std::string(p.param.name); });
#endif

}  // namespace
