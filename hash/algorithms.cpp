// Names, tags and digest-length candidates of the nine algorithms.
#include "algorithms.h"

#include <cctype>
#include <string>

namespace {

struct Names {
    std::string_view name;
    std::string_view tag;
};

// In the order of Algorithm.
constexpr Names kNames[] = {
    {"crc32", "CRC32"},   {"gost", "GOST"},     {"md2", "MD2"},
    {"md4", "MD4"},       {"md5", "MD5"},       {"sha1", "SHA1"},
    {"sha256", "SHA256"}, {"sha384", "SHA384"}, {"sha512", "SHA512"},
};
static_assert(std::size(kNames) == kAllAlgorithms.size());

const Names& NamesOf(Algorithm algorithm) {
    return kNames[static_cast<std::size_t>(algorithm)];
}

// Spellings other peers write: read, never written.
struct OtherTag {
    std::string_view tag;
    Algorithm algorithm;
};
constexpr OtherTag kOtherTags[] = {{"GOST94", Algorithm::Gost}};

// Grouped by digest length, the most common first within a length.
constexpr Algorithm kByLength[] = {Algorithm::Crc32, Algorithm::Md5,    Algorithm::Md4,
                                   Algorithm::Md2,   Algorithm::Sha1,   Algorithm::Sha256,
                                   Algorithm::Gost,  Algorithm::Sha384, Algorithm::Sha512};

}  // namespace

std::string_view AlgorithmName(Algorithm algorithm) {
    return NamesOf(algorithm).name;
}

std::string_view AlgorithmTag(Algorithm algorithm) {
    return NamesOf(algorithm).tag;
}

std::optional<Algorithm> ParseAlgorithm(std::string_view name) {
    std::string folded;
    for (char c : name)
        if (c != '-')
            folded.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (folded == "gosthash") return Algorithm::Gost;
    for (Algorithm algorithm : kAllAlgorithms)
        if (folded == AlgorithmName(algorithm)) return algorithm;
    return std::nullopt;
}

std::optional<TagMatch> MatchTag(std::string_view text) {
    // The other spellings are the longer ones: "GOST94" must not be read as "GOST" and "94".
    for (const OtherTag& other : kOtherTags)
        if (text.starts_with(other.tag)) return TagMatch{other.algorithm, other.tag.size()};
    // No tag is a prefix of another, so the first fit is the only one.
    for (Algorithm algorithm : kAllAlgorithms) {
        const std::string_view tag = AlgorithmTag(algorithm);
        if (text.starts_with(tag)) return TagMatch{algorithm, tag.size()};
    }
    return std::nullopt;
}

std::span<const Algorithm> AlgorithmsOfTextLength(std::size_t length) {
    const std::span<const Algorithm> all(kByLength);
    std::size_t first = 0;
    while (first < all.size() && DigestTextLength(all[first]) != length) ++first;
    std::size_t end = first;
    while (end < all.size() && DigestTextLength(all[end]) == length) ++end;
    return all.subspan(first, end - first);
}

std::optional<Algorithm> AlgorithmOfRequest(int32_t hashAlgorithm, int32_t sha2Width) {
    for (const AlgorithmListEntry& entry : kAlgorithmList)
        if (entry.hashAlgorithm == hashAlgorithm &&
            (entry.sha2Width == 0 || entry.sha2Width == sha2Width))
            return entry.algorithm;
    return std::nullopt;
}
