// The algorithms: one table with every fact about each of them, and the questions the rest of the
// program asks of it (names, tags, digest lengths, the candidates of a digest's length, costs, the
// dialog list's entries with the HashAlgorithm number and SHA-2 width each one selects).
//
// Adding an algorithm:
//   1. its value at the end of `Algorithm`;
//   2. its row at the end of kAlgorithmTable (rows in the order of `Algorithm`; the static_assert
//      below checks it);
//   3. its engine in engines/ and its adapter plus its case in `WithEngine`
//      (hash/engine_adapters.h), and in the Digester's context variant (hash/digester.cpp);
//      with a multi-lane block function, its case in hash/lane_engine.cpp's factory and `lanes`
//      set in the row.
// Nothing else switches on the algorithm: the command line's names, the tags written and read,
// candidate sets, sum-file names, costs, verdict caveats and the dialog's list follow the row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

enum class Algorithm { Crc32, Gost, Md2, Md4, Md5, Sha1, Sha256, Sha384, Sha512 };

// HashAlgorithm values: what a request is told to compute (SHA-2 with a width of its own).
enum : int32_t {
    kAlgorithmCrc32 = 1,
    kAlgorithmGost = 2,
    kAlgorithmMd2 = 3,
    kAlgorithmMd4 = 4,
    kAlgorithmMd5 = 5,
    kAlgorithmSha1 = 6,
    kAlgorithmSha2 = 7,
    // Algorithms beyond the first nine select themselves by this base plus their Algorithm value,
    // apart from the numbers the request gives meanings of their own.
    kAlgorithmExtendedBase = 100,
};

// One row per algorithm, written with designated initializers; a field left out keeps the
// default given here.
struct AlgorithmFacts {
    Algorithm algorithm;
    std::string_view name;           // the -a name and its digests.tsv column: "sha256"
    std::string_view aliases = "";   // other -a names, blank-separated: "gosthash gost94"
    std::string_view tag;            // the BSD tag written: "SHA256"
    std::string_view readTags = "";  // other tags read (peers' spellings), blank-separated
    std::string_view listText;       // the dialog list's entry: "SHA-2 256"
    int32_t hashAlgorithm;           // the HashAlgorithm its list entry selects
    int32_t sha2Width = 0;           // the SHA-2 width its entry selects; 0 leaves the width alone
    uint16_t digestBytes;            // its digest's size; CRC-32's four bytes are its value
    bool variableLength = false;     // other lengths may be asked for
    // Relative cost per byte, about nanoseconds per KiB in memory on its portable path; only the
    // proportions matter (bench/engines_bench.cpp shows them).
    uint32_t cost;
    bool lanes = false;          // has a multi-lane block function (hash/lane_engine.cpp)
    bool integrityOnly = false;  // a match shows the file undamaged, not untampered
    // Of several lines for one file, the strongest algorithm's is checked.
    uint8_t strength;
    // Among digests of one length, the commonest (highest) is tried first.
    uint8_t commonness = 1;
    // Lower-case pieces of a sum file's name that imply this algorithm ("sha256" in
    // "SHA256SUMS" or "x.iso.sha256"), blank-separated; the longest piece found wins.
    std::string_view fileNameHints = "";
    // Names a sum file beside a file may have, searched strongest algorithm first: endings
    // after the file's name, then whole names in the folder; blank-separated.
    std::string_view sumFileEndings = "";
    std::string_view sumFileNames = "";
};

inline constexpr AlgorithmFacts kAlgorithmTable[] = {
    {.algorithm = Algorithm::Crc32,
     .name = "crc32",
     .tag = "CRC32",
     .listText = "CRC32",
     .hashAlgorithm = kAlgorithmCrc32,
     .digestBytes = 4,
     .cost = 40,
     .integrityOnly = true,
     .strength = 0,
     .fileNameHints = "crc32 .sfv",
     .sumFileEndings = ".sfv"},
    {.algorithm = Algorithm::Gost,
     .name = "gost",
     .aliases = "gosthash gost94",
     .tag = "GOST94",  // as rhash writes and reads it
     .readTags = "GOST",
     .listText = "GOSTHash",
     .hashAlgorithm = kAlgorithmGost,
     .digestBytes = 32,
     .cost = 7500,
     .strength = 5,
     .fileNameHints = "gost"},
    {.algorithm = Algorithm::Md2,
     .name = "md2",
     .tag = "MD2",
     .listText = "MD2",
     .hashAlgorithm = kAlgorithmMd2,
     .digestBytes = 16,
     .cost = 100000,
     .lanes = true,
     .integrityOnly = true,
     .strength = 1,
     .fileNameHints = "md2"},
    {.algorithm = Algorithm::Md4,
     .name = "md4",
     .tag = "MD4",
     .listText = "MD4",
     .hashAlgorithm = kAlgorithmMd4,
     .digestBytes = 16,
     .cost = 800,
     .lanes = true,
     .integrityOnly = true,
     .strength = 2,
     .commonness = 2,
     .fileNameHints = "md4"},
    {.algorithm = Algorithm::Md5,
     .name = "md5",
     .tag = "MD5",
     .listText = "MD5",
     .hashAlgorithm = kAlgorithmMd5,
     .digestBytes = 16,
     .cost = 1400,
     .lanes = true,
     .integrityOnly = true,
     .strength = 3,
     .commonness = 3,
     .fileNameHints = "md5",
     .sumFileEndings = ".md5 .md5sum",
     .sumFileNames = "MD5SUMS"},
    {.algorithm = Algorithm::Sha1,
     .name = "sha1",
     .tag = "SHA1",
     .listText = "SHA-1",
     .hashAlgorithm = kAlgorithmSha1,
     .digestBytes = 20,
     .cost = 620,
     .lanes = true,
     .integrityOnly = true,
     .strength = 4,
     .fileNameHints = "sha1",
     .sumFileEndings = ".sha1 .sha1sum",
     .sumFileNames = "SHA1SUMS"},
    {.algorithm = Algorithm::Sha256,
     .name = "sha256",
     .tag = "SHA256",
     .listText = "SHA-2 256",
     .hashAlgorithm = kAlgorithmSha2,
     .sha2Width = 256,
     .digestBytes = 32,
     .cost = 640,
     .lanes = true,
     .strength = 6,
     .commonness = 2,
     .fileNameHints = "sha256",
     .sumFileEndings = ".sha256 .sha256sum",
     .sumFileNames = "SHA256SUMS CHECKSUM.SHA256 sha256sums.txt sha256sum.txt"},
    {.algorithm = Algorithm::Sha384,
     .name = "sha384",
     .tag = "SHA384",
     .listText = "SHA-2 384",
     .hashAlgorithm = kAlgorithmSha2,
     .sha2Width = 384,
     .digestBytes = 48,
     .cost = 1550,
     .lanes = true,
     .strength = 7,
     .fileNameHints = "sha384"},
    {.algorithm = Algorithm::Sha512,
     .name = "sha512",
     .tag = "SHA512",
     .listText = "SHA-2 512",
     .hashAlgorithm = kAlgorithmSha2,
     .sha2Width = 512,
     .digestBytes = 64,
     .cost = 1550,
     .lanes = true,
     .strength = 8,
     .fileNameHints = "sha512",
     .sumFileEndings = ".sha512 .sha512sum",
     .sumFileNames = "SHA512SUMS CHECKSUM.SHA512"},
};

inline constexpr std::size_t kAlgorithmCount = std::size(kAlgorithmTable);

namespace algorithms_detail {
constexpr bool RowsInOrder() {
    for (std::size_t i = 0; i < kAlgorithmCount; ++i)
        if (static_cast<std::size_t>(kAlgorithmTable[i].algorithm) != i) return false;
    return true;
}
constexpr std::array<Algorithm, kAlgorithmCount> AllAlgorithms() {
    std::array<Algorithm, kAlgorithmCount> all{};
    for (std::size_t i = 0; i < kAlgorithmCount; ++i) all[i] = kAlgorithmTable[i].algorithm;
    return all;
}
}  // namespace algorithms_detail
static_assert(algorithms_detail::RowsInOrder(), "kAlgorithmTable rows follow enum Algorithm");

// Every algorithm, in table order.
inline constexpr std::array<Algorithm, kAlgorithmCount> kAllAlgorithms =
    algorithms_detail::AllAlgorithms();
// The nine the program began with: what --all computes and the dialog list's first group.
inline constexpr std::array<Algorithm, 9> kAllOptionAlgorithms = {
    Algorithm::Crc32, Algorithm::Gost,   Algorithm::Md2,    Algorithm::Md4,   Algorithm::Md5,
    Algorithm::Sha1,  Algorithm::Sha256, Algorithm::Sha384, Algorithm::Sha512};

constexpr const AlgorithmFacts& Facts(Algorithm algorithm) {
    return kAlgorithmTable[static_cast<std::size_t>(algorithm)];
}

// Digest size in bytes (the default one, where other lengths may be asked for).
constexpr std::size_t DigestLength(Algorithm algorithm) {
    return Facts(algorithm).digestBytes;
}
// Characters of its DigestText: two per byte.
constexpr std::size_t DigestTextLength(Algorithm algorithm) {
    return 2 * DigestLength(algorithm);
}
constexpr std::string_view AlgorithmName(Algorithm algorithm) {
    return Facts(algorithm).name;
}
constexpr std::string_view AlgorithmTag(Algorithm algorithm) {
    return Facts(algorithm).tag;
}
constexpr bool ProvesIntegrityOnly(Algorithm algorithm) {
    return Facts(algorithm).integrityOnly;
}

// A name or alias in any case, hyphens ignored ("SHA-256", "Crc-32"); the list's entry text too
// ("GOSTHash").
std::optional<Algorithm> ParseAlgorithm(std::string_view name);

// The tag `text` starts with, the longest that fits, and how long it is; tags are read as
// written and in the peers' other spellings.
struct TagMatch {
    Algorithm algorithm;
    std::size_t length;
};
std::optional<TagMatch> MatchTag(std::string_view text);

// The algorithms whose digest text has `length` characters, the commonest first:
// 32 gives MD5, MD4, MD2; 64 gives SHA-256, GOST. Empty for any other length.
std::span<const Algorithm> AlgorithmsOfTextLength(std::size_t length);

// The algorithm a sum file's name implies ("SHA256SUMS", "x.iso.md5", "x.sfv"), if any.
std::optional<Algorithm> AlgorithmOfSumFileName(std::string_view sumFileName);
// Whether a sum file's name names a family none of the algorithms computes ("b2sums.txt"),
// whose digests may have the lengths of ours.
bool NamesForeignAlgorithm(std::string_view sumFileName);

// One entry of the dialog's algorithm list, in list order: the nine first, then the others.
struct AlgorithmListEntry {
    std::string_view text;
    Algorithm algorithm;
    int32_t hashAlgorithm;  // the HashAlgorithm it selects
    int32_t sha2Width;      // the SHA-2 width it selects; 0 leaves the request's width alone
};
inline constexpr std::array<AlgorithmListEntry, kAlgorithmCount> kAlgorithmList = [] {
    std::array<AlgorithmListEntry, kAlgorithmCount> list{};
    for (std::size_t i = 0; i < kAlgorithmCount; ++i) {
        const AlgorithmFacts& row = kAlgorithmTable[i];
        list[i] = {row.listText, row.algorithm, row.hashAlgorithm, row.sha2Width};
    }
    return list;
}();
// How many of the list's entries are the first group (the nine).
inline constexpr std::size_t kFirstListGroup = kAllOptionAlgorithms.size();

// What a request with this HashAlgorithm and SHA-2 width computes; none for an unknown number.
std::optional<Algorithm> AlgorithmOfRequest(int32_t hashAlgorithm, int32_t sha2Width);
