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

enum class Algorithm {
    Crc32,
    Gost,
    Md2,
    Md4,
    Md5,
    Sha1,
    Sha256,
    Sha384,
    Sha512,
    Blake2b,
    Blake2s,
    Crc32c,
    Blake3,
    Xxh32,
    Xxh64,
    Xxh3,
    Xxh128,
    Sha224,
    Sha512_224,
    Sha512_256,
    Sha3_224,
    Sha3_256,
    Sha3_384,
    Sha3_512,
    Sm3,
    // GOST R 34.11-2012 and GOST R 34.11-94 with CryptoPro's S-boxes.
    Streebog256,
    Streebog512,
    Gost94CryptoPro,
};

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
    // The family whose member of this digest length cksum's -a FAMILY -l BITS picks.
    std::string_view family = "";
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
     .commonness = 4,
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
     .sumFileNames = "SHA256SUMS CHECKSUM.SHA256 sha256sums.txt sha256sum.txt",
     .family = "sha2"},
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
     .fileNameHints = "sha384",
     .family = "sha2"},
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
     .sumFileNames = "SHA512SUMS CHECKSUM.SHA512",
     .family = "sha2"},
    // BLAKE2b at its full 512 bits (b2sum's default), BLAKE2s-256, CRC-32C. OpenSSL writes
    // "BLAKE2B-512(f)= " and "BLAKE2S-256(f)= ", RHash's upper-case forms drop the length.
    {.algorithm = Algorithm::Blake2b,
     .name = "blake2b",
     .aliases = "blake2b512",
     .tag = "BLAKE2b",
     .readTags = "BLAKE2B-512 BLAKE2B BLAKE2b-512",
     .listText = "BLAKE2b-512",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Blake2b),
     .digestBytes = 64,
     .variableLength = true,
     .cost = 850,
     .strength = 8,
     .fileNameHints = "b2sum blake2b .b2",
     .sumFileEndings = ".b2 .b2sum",
     .sumFileNames = "B2SUMS b2sums.txt"},
    {.algorithm = Algorithm::Blake2s,
     .name = "blake2s",
     .aliases = "blake2s256",
     .tag = "BLAKE2s",
     .readTags = "BLAKE2S-256 BLAKE2S BLAKE2s-256",
     .listText = "BLAKE2s-256",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Blake2s),
     .digestBytes = 32,
     .cost = 1450,
     .strength = 6,
     .fileNameHints = "blake2s"},
    {.algorithm = Algorithm::Crc32c,
     .name = "crc32c",
     .aliases = "castagnoli",
     .tag = "CRC32C",
     .listText = "CRC-32C",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Crc32c),
     .digestBytes = 4,
     .cost = 40,
     .integrityOnly = true,
     .strength = 0,
     .fileNameHints = "crc32c"},
    // As common as SHA-256 among 64-digit digests, after it by its row: b3sum's are everywhere
    // new projects publish, GOST's rarely.
    {.algorithm = Algorithm::Blake3,
     .name = "blake3",
     .tag = "BLAKE3",
     .listText = "BLAKE3",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Blake3),
     .digestBytes = 32,
     .variableLength = true,
     .cost = 1080,
     .strength = 6,
     .commonness = 2,
     .fileNameHints = "blake3 b3sum .b3",
     .sumFileEndings = ".b3",
     .sumFileNames = "B3SUMS"},
    // The xxHash family (seed 0): fast checks for copies, no defence against tampering. An
    // untagged 16-digit line is XXH64 first (xxhsum writes XXH3 only with its tag); an untagged
    // 32-digit one is MD5, then XXH128, which backup and sync tools publish more than MD4.
    {.algorithm = Algorithm::Xxh32,
     .name = "xxh32",
     .aliases = "xxhash32",
     .tag = "XXH32",
     .listText = "XXH32",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Xxh32),
     .digestBytes = 4,
     .cost = 110,
     .integrityOnly = true,
     .strength = 0,
     .commonness = 0,
     .fileNameHints = "xxh32",
     .sumFileEndings = ".xxh32"},
    {.algorithm = Algorithm::Xxh64,
     .name = "xxh64",
     .aliases = "xxhash64",
     .tag = "XXH64",
     .listText = "XXH64",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Xxh64),
     .digestBytes = 8,
     .cost = 55,
     .integrityOnly = true,
     .strength = 0,
     .commonness = 2,
     .fileNameHints = "xxh64",
     .sumFileEndings = ".xxh64"},
    {.algorithm = Algorithm::Xxh3,
     .name = "xxh3",
     .aliases = "xxh3-64 xxhash3",
     .tag = "XXH3",
     .listText = "XXH3",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Xxh3),
     .digestBytes = 8,
     .cost = 85,
     .integrityOnly = true,
     .strength = 0,
     .fileNameHints = "xxh3",
     .sumFileEndings = ".xxh3"},
    {.algorithm = Algorithm::Xxh128,
     .name = "xxh128",
     .aliases = "xxh3-128 xxhash128",
     .tag = "XXH128",
     .listText = "XXH128",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Xxh128),
     .digestBytes = 16,
     .cost = 110,
     .integrityOnly = true,
     .strength = 0,
     .commonness = 3,
     .fileNameHints = "xxh128",
     .sumFileEndings = ".xxh128"},
    // Costs from corvane_bench on the best path; the SHA-224 and SHA-512/t rows on their wider
    // engines' paths and lanes.
    {.algorithm = Algorithm::Sha224,
     .name = "sha224",
     .tag = "SHA224",
     .readTags = "SHA2-224 SHA-224",
     .listText = "SHA-224",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Sha224),
     .digestBytes = 28,
     .cost = 640,
     .lanes = true,
     .strength = 6,
     .commonness = 3,
     .fileNameHints = "sha224",
     .sumFileEndings = ".sha224 .sha224sum",
     .sumFileNames = "SHA224SUMS",
     .family = "sha2"},
    {.algorithm = Algorithm::Sha512_224,
     .name = "sha512-224",
     .tag = "SHA512-224",
     .readTags = "SHA2-512/224 SHA512/224 SHA-512/224",
     .listText = "SHA-512/224",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Sha512_224),
     .digestBytes = 28,
     .cost = 1550,
     .lanes = true,
     .strength = 6,
     .commonness = 1,
     .fileNameHints = "sha512-224"},
    {.algorithm = Algorithm::Sha512_256,
     .name = "sha512-256",
     .tag = "SHA512-256",
     .readTags = "SHA2-512/256 SHA512/256 SHA-512/256",
     .listText = "SHA-512/256",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Sha512_256),
     .digestBytes = 32,
     .cost = 1550,
     .lanes = true,
     .strength = 7,
     .commonness = 0,
     .fileNameHints = "sha512-256"},
    {.algorithm = Algorithm::Sha3_224,
     .name = "sha3-224",
     .tag = "SHA3-224",
     .listText = "SHA3-224",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Sha3_224),
     .digestBytes = 28,
     .cost = 1900,
     .strength = 6,
     .commonness = 2,
     .fileNameHints = "sha3-224",
     .sumFileEndings = ".sha3-224",
     .sumFileNames = "SHA3-224SUMS",
     .family = "sha3"},
    {.algorithm = Algorithm::Sha3_256,
     .name = "sha3-256",
     .tag = "SHA3-256",
     .listText = "SHA3-256",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Sha3_256),
     .digestBytes = 32,
     .cost = 2000,
     .strength = 7,
     .commonness = 1,
     .fileNameHints = "sha3-256 sha3",
     .sumFileEndings = ".sha3-256 .sha3",
     .sumFileNames = "SHA3-256SUMS",
     .family = "sha3"},
    {.algorithm = Algorithm::Sha3_384,
     .name = "sha3-384",
     .tag = "SHA3-384",
     .listText = "SHA3-384",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Sha3_384),
     .digestBytes = 48,
     .cost = 2600,
     .strength = 8,
     .commonness = 0,
     .fileNameHints = "sha3-384",
     .sumFileEndings = ".sha3-384",
     .sumFileNames = "SHA3-384SUMS",
     .family = "sha3"},
    {.algorithm = Algorithm::Sha3_512,
     .name = "sha3-512",
     .tag = "SHA3-512",
     .listText = "SHA3-512",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Sha3_512),
     .digestBytes = 64,
     .cost = 3700,
     .strength = 9,
     .commonness = 0,
     .fileNameHints = "sha3-512",
     .sumFileEndings = ".sha3-512",
     .sumFileNames = "SHA3-512SUMS",
     .family = "sha3"},
    {.algorithm = Algorithm::Sm3,
     .name = "sm3",
     .tag = "SM3",
     .listText = "SM3",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Sm3),
     .digestBytes = 32,
     .cost = 2500,
     .strength = 7,
     .commonness = 0,
     .fileNameHints = "sm3",
     .sumFileEndings = ".sm3",
     .sumFileNames = "SM3SUMS"},
    // Names, aliases and tags as RHash spells them (gost12-256, GOST12-256, GOST94-CRYPTOPRO).
    {.algorithm = Algorithm::Streebog256,
     .name = "streebog256",
     .aliases = "gost12-256",
     .tag = "GOST12-256",
     .listText = "Streebog 256",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Streebog256),
     .digestBytes = 32,
     .cost = 6200,
     .strength = 6,
     // Today's Russian standard: likelier than either GOST R 34.11-94 digest.
     .commonness = 2,
     .fileNameHints = "streebog256 gost12-256"},
    {.algorithm = Algorithm::Streebog512,
     .name = "streebog512",
     .aliases = "gost12-512",
     .tag = "GOST12-512",
     .listText = "Streebog 512",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Streebog512),
     .digestBytes = 64,
     .cost = 6200,
     .strength = 8,
     .fileNameHints = "streebog512 gost12-512"},
    {.algorithm = Algorithm::Gost94CryptoPro,
     .name = "gost94-cryptopro",
     .tag = "GOST94-CRYPTOPRO",
     .listText = "GOST CryptoPro",
     .hashAlgorithm = kAlgorithmExtendedBase + static_cast<int32_t>(Algorithm::Gost94CryptoPro),
     .digestBytes = 32,
     .cost = 7500,
     .strength = 5,
     .fileNameHints = "cryptopro"},
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

// Calls `f` with each blank-separated word of a row's list (aliases, tags, hints, names) until it
// returns true; whether one did.
template <class F>
constexpr bool AnyWordOf(std::string_view words, F f) {
    while (!words.empty()) {
        const std::size_t blank = words.find(' ');
        const std::string_view word = words.substr(0, blank);
        if (!word.empty() && f(word)) return true;
        if (blank == std::string_view::npos) break;
        words.remove_prefix(blank + 1);
    }
    return false;
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
// 32 gives MD5, XXH128, MD4, MD2; 64 gives SHA-256, GOST. Empty for any other length.
std::span<const Algorithm> AlgorithmsOfTextLength(std::size_t length);

// The member of a family (AlgorithmFacts::family) whose digest has `bytes` bytes, if any.
std::optional<Algorithm> FamilyMember(std::string_view family, std::size_t bytes);

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
