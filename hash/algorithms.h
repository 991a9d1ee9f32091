// The algorithms, named once: the list of nine, their names and tags, digest lengths, which
// algorithms a digest of a given length may come from, and the dialog list's entries with the
// HashAlgorithm number and SHA-2 width each one selects.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

enum class Algorithm { Crc32, Gost, Md2, Md4, Md5, Sha1, Sha256, Sha384, Sha512 };

inline constexpr std::array<Algorithm, 9> kAllAlgorithms = {
    Algorithm::Crc32, Algorithm::Gost,   Algorithm::Md2,    Algorithm::Md4,   Algorithm::Md5,
    Algorithm::Sha1,  Algorithm::Sha256, Algorithm::Sha384, Algorithm::Sha512};

// HashAlgorithm values: what a request is told to compute (SHA-2 with a width of its own).
enum : int32_t {
    kAlgorithmCrc32 = 1,
    kAlgorithmGost = 2,
    kAlgorithmMd2 = 3,
    kAlgorithmMd4 = 4,
    kAlgorithmMd5 = 5,
    kAlgorithmSha1 = 6,
    kAlgorithmSha2 = 7,
};

// Digest size in bytes; CRC-32's four bytes are its value, most significant first.
constexpr std::size_t DigestLength(Algorithm algorithm) {
    switch (algorithm) {
        case Algorithm::Crc32:
            return 4;
        case Algorithm::Md2:
        case Algorithm::Md4:
        case Algorithm::Md5:
            return 16;
        case Algorithm::Sha1:
            return 20;
        case Algorithm::Gost:
        case Algorithm::Sha256:
            return 32;
        case Algorithm::Sha384:
            return 48;
        case Algorithm::Sha512:
            break;
    }
    return 64;
}
// Characters of its DigestText: two per byte.
constexpr std::size_t DigestTextLength(Algorithm algorithm) {
    return 2 * DigestLength(algorithm);
}

std::string_view AlgorithmName(Algorithm algorithm);  // "crc32", "gost", ..., "sha512"
std::string_view AlgorithmTag(Algorithm algorithm);   // "CRC32", "GOST", ..., "SHA512"
// A name in any case, hyphens ignored ("SHA-256", "Crc-32"); the list's "GOSTHash" too.
std::optional<Algorithm> ParseAlgorithm(std::string_view name);

// The tag `text` starts with, the longest that fits, and how long it is; tags are read as
// written and in one more spelling, "GOST94".
struct TagMatch {
    Algorithm algorithm;
    std::size_t length;
};
std::optional<TagMatch> MatchTag(std::string_view text);

// The algorithms whose digest text has `length` characters, the most common first:
// 32 gives MD5, MD4, MD2; 64 gives SHA-256, GOST. Empty for any other length.
std::span<const Algorithm> AlgorithmsOfTextLength(std::size_t length);

// One entry of the dialog's algorithm list, in list order.
struct AlgorithmListEntry {
    std::string_view text;
    Algorithm algorithm;
    int32_t hashAlgorithm;  // the HashAlgorithm it selects
    int32_t sha2Width;      // the SHA-2 width it selects; 0 leaves the request's width alone
};
inline constexpr std::array<AlgorithmListEntry, 9> kAlgorithmList = {{
    {"CRC32", Algorithm::Crc32, kAlgorithmCrc32, 0},
    {"GOSTHash", Algorithm::Gost, kAlgorithmGost, 0},
    {"MD2", Algorithm::Md2, kAlgorithmMd2, 0},
    {"MD4", Algorithm::Md4, kAlgorithmMd4, 0},
    {"MD5", Algorithm::Md5, kAlgorithmMd5, 0},
    {"SHA-1", Algorithm::Sha1, kAlgorithmSha1, 0},
    {"SHA-2 256", Algorithm::Sha256, kAlgorithmSha2, 256},
    {"SHA-2 384", Algorithm::Sha384, kAlgorithmSha2, 384},
    {"SHA-2 512", Algorithm::Sha512, kAlgorithmSha2, 512},
}};

// What a request with this HashAlgorithm and SHA-2 width computes; none outside 1 to 7.
std::optional<Algorithm> AlgorithmOfRequest(int32_t hashAlgorithm, int32_t sha2Width);
