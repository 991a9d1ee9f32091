// A sparse file of 4 GiB + 1000 zero bytes through HashRequest: the byte and bit counts pass
// 2^32 (bytes) and 2^35 (bits), so any 32-bit length field or chunk counter that wraps shows up.
// The expected digests were computed once with python3's hashlib and zlib, and checked with
// rhash (tests/data/huge_digests.tsv).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core_budget.h"
#include "lane_scheduler.h"
#include "request_support.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

constexpr uint64_t kHugeSize = (uint64_t{4} << 30) + 1000;

std::map<std::string, std::string> HugeDigests() {
    std::ifstream in(TestDataPath("huge_digests.tsv"));
    std::map<std::string, std::string> digests;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, size, digest;
        fields >> name >> size >> digest;
        if (size == std::to_string(kHugeSize)) digests[name] = digest;
    }
    return digests;
}

// The dialog list's entries, the slowest aside.
class HugeFile : public testing::TestWithParam<AlgorithmListEntry> {};

TEST_P(HugeFile, SparseFilePast4GiB) {
    const AlgorithmListEntry& e = GetParam();
    const auto digests = HugeDigests();
    ASSERT_EQ(digests.count(Column(e)), 1u) << "no expected digest for " << Column(e);

    TempDir dir;
    const std::string path = dir.PathOf("sparse");
    { std::ofstream create(path, std::ios::binary); }
    std::error_code error;
    std::filesystem::resize_file(path, kHugeSize, error);  // a hole: no disk space used
    if (error) GTEST_SKIP() << "cannot make a sparse file here: " << error.message();

    EXPECT_EQ(OfFile(e, path), digests.at(Column(e)));
}

// MD2 and the GOST family (cost 5000 and up) are too slow for 4 GiB in a test run; their counters
// are covered in the engine tests by starting from counters just below a carry.
INSTANTIATE_TEST_SUITE_P(FastAlgorithms, HugeFile, testing::ValuesIn([] {
                             std::vector<AlgorithmListEntry> fast;
                             for (const AlgorithmListEntry& e : kAlgorithmList)
                                 if (Facts(e.algorithm).cost < 5000) fast.push_back(e);
                             return fast;
                         }()),
                         [](const testing::TestParamInfo<AlgorithmListEntry>& param) {
                             std::string name = Column(param.param);
                             for (char& c : name)
                                 if (c == '-') c = '_';  // "sha3-256": gtest takes no hyphens
                             return name;
                         });

// Zeros, `size` of them.
class Zeros final : public ByteSource {
public:
    explicit Zeros(uint64_t size) : left(size) {}
    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int&) override {
        const std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(capacity, left));
        std::memset(buffer, 0, n);
        left -= n;
        return static_cast<std::ptrdiff_t>(n);
    }

private:
    uint64_t left;
};

std::vector<std::string> DigestsInLanes(const std::vector<std::string>& paths, Algorithm algorithm,
                                        const HashControl& control) {
    std::vector<std::string> digests;
    ComputeDigestsInLanes(paths, algorithm, control, [&](std::size_t, HashOutcome&& outcome) {
        digests.push_back(outcome.ok() ? outcome.digests.at(0) : "failed");
    });
    return digests;
}

// The byte counts pass 2^32 inside the lanes: a sparse file beside a source of as many zeros in
// MD5's lanes (its bit count), five sources of zeros in SHA-1's (its byte count); one core, so all
// stay in one lane group, with more lanes busy than it takes for them to leave their lanes early.
TEST(HugeFilesInLanes, CountsPast4GiBCarryThroughTheLanes) {
    if (!LanesAvailable(Algorithm::Md5)) GTEST_SKIP() << "no lanes on this CPU";
    const auto digests = HugeDigests();
    TempDir dir;
    const std::string sparse = dir.PathOf("sparse");
    { std::ofstream create(sparse, std::ios::binary); }
    std::error_code error;
    std::filesystem::resize_file(sparse, kHugeSize, error);
    if (error) GTEST_SKIP() << "cannot make a sparse file here: " << error.message();

    CoreBudget one(1);
    HashControl control;
    control.cores = &one;
    control.opener = [](const std::string& path, int& openError) -> std::unique_ptr<ByteSource> {
        if (path == "zeros") return std::make_unique<Zeros>(kHugeSize);
        return OpenFileSource(path, openError);
    };
    EXPECT_EQ(DigestsInLanes({sparse, "zeros"}, Algorithm::Md5, control),
              std::vector<std::string>(2, digests.at("md5")));
    EXPECT_EQ(DigestsInLanes(std::vector<std::string>(5, "zeros"), Algorithm::Sha1, control),
              std::vector<std::string>(5, digests.at("sha1")));
}

}  // namespace
