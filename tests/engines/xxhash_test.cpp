// The xxHash family: the shared conformance suite, and xxhsum's digests of lengths around XXH3's
// size classes, stripes and blocks (tests/data/xxhash_lengths.tsv, made by
// make_xxhash_lengths.py) one-shot and split at every point, on every CPU level.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cpu.h"
#include "engine_adapters.h"
#include "engine_conformance.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Xxh32, EngineConformance, Xxh32Engine);
INSTANTIATE_TYPED_TEST_SUITE_P(Xxh64, EngineConformance, Xxh64Engine);
INSTANTIATE_TYPED_TEST_SUITE_P(Xxh3, EngineConformance, Xxh3Engine<8>);
INSTANTIATE_TYPED_TEST_SUITE_P(Xxh128, EngineConformance, Xxh3Engine<16>);

namespace {

struct LengthRow {
    std::size_t length;
    std::string digest[4];  // xxh32, xxh64, xxh3, xxh128
};

const std::vector<LengthRow>& LengthRows() {
    static const std::vector<LengthRow> rows = [] {
        std::ifstream in(TestDataPath("xxhash_lengths.tsv"));
        std::string line;
        std::getline(in, line);
        std::vector<LengthRow> out;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            LengthRow row;
            fields >> row.length >> row.digest[0] >> row.digest[1] >> row.digest[2] >>
                row.digest[3];
            out.push_back(row);
        }
        return out;
    }();
    return rows;
}

template <class E>
void CheckLengths(int column) {
    for (const auto& row : LengthRows()) {
        const std::string message = RampMessage(row.length);
        ASSERT_EQ(HashOneShot<E>(message), row.digest[column]) << "length " << row.length;
        if (row.length > 4000) {
            EXPECT_EQ(HashInChunks<E>(message, 1000), row.digest[column]) << row.length;
            continue;
        }
        for (std::size_t cut = 1; cut < row.length; ++cut)
            ASSERT_EQ(HashPieces<E>(message, {cut}), row.digest[column])
                << "length " << row.length << " cut at " << cut;
    }
}

class XxhashLengths : public ::testing::TestWithParam<CpuLevel> {
protected:
    void SetUp() override {
        if (!ForceCpuLevel(GetParam())) GTEST_SKIP() << "CPU lacks this level";
    }
    void TearDown() override { ResetCpuLevel(); }
};

TEST_P(XxhashLengths, MatchXxhsumWholeAndSplit) {
    ASSERT_GE(LengthRows().size(), 50u);
    CheckLengths<Xxh32Engine>(0);
    CheckLengths<Xxh64Engine>(1);
    CheckLengths<Xxh3Engine<8>>(2);
    CheckLengths<Xxh3Engine<16>>(3);
}

INSTANTIATE_TEST_SUITE_P(Levels, XxhashLengths, ::testing::ValuesIn(kCpuLevels),
                         [](const auto& p) { return std::to_string(static_cast<int>(p.param)); });

}  // namespace
