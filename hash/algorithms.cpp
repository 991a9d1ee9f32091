// Questions answered from the algorithm table: parsing names and tags, the candidates of a digest
// length, the algorithm a sum file's name implies.
#include "algorithms.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

std::string Folded(std::string_view name) {
    std::string folded;
    for (char c : name)
        if (c != '-')
            folded.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return folded;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Every algorithm grouped by digest length, the commonest first within a length.
const std::array<Algorithm, kAlgorithmCount>& ByLength() {
    static const std::array<Algorithm, kAlgorithmCount> sorted = [] {
        std::array<Algorithm, kAlgorithmCount> all = kAllAlgorithms;
        std::stable_sort(all.begin(), all.end(), [](Algorithm a, Algorithm b) {
            if (DigestLength(a) != DigestLength(b)) return DigestLength(a) < DigestLength(b);
            return Facts(a).commonness > Facts(b).commonness;
        });
        return all;
    }();
    return sorted;
}

// Families none of the algorithms computes, whose digests have the lengths of ours.
constexpr std::string_view kForeignHints[] = {"whirlpool", "ripemd", "tiger",  "edonr",
                                              "edon-r",    "snefru", "has160", "has-160",
                                              "ed2k",      "aich",   "shake",  "k12"};

}  // namespace

std::optional<Algorithm> ParseAlgorithm(std::string_view name) {
    const std::string folded = Folded(name);
    if (folded.empty()) return std::nullopt;
    for (const AlgorithmFacts& row : kAlgorithmTable) {
        const auto same = [&](std::string_view word) { return Folded(word) == folded; };
        if (same(row.name) || same(row.listText) || AnyWordOf(row.aliases, same))
            return row.algorithm;
    }
    return std::nullopt;
}

std::optional<TagMatch> MatchTag(std::string_view text) {
    // Longest first: "GOST94" must not be read as "GOST" and "94".
    std::optional<TagMatch> best;
    for (const AlgorithmFacts& row : kAlgorithmTable) {
        const auto fits = [&](std::string_view tag) {
            if (text.starts_with(tag) && (!best || tag.size() > best->length))
                best = TagMatch{row.algorithm, tag.size()};
            return false;
        };
        fits(row.tag);
        AnyWordOf(row.readTags, fits);
    }
    return best;
}

std::span<const Algorithm> AlgorithmsOfTextLength(std::size_t length) {
    const std::span<const Algorithm> all(ByLength());
    std::size_t first = 0;
    while (first < all.size() && DigestTextLength(all[first]) != length) ++first;
    std::size_t end = first;
    while (end < all.size() && DigestTextLength(all[end]) == length) ++end;
    return all.subspan(first, end - first);
}

std::optional<Algorithm> AlgorithmOfSumFileName(std::string_view sumFileName) {
    const std::string name = Lower(sumFileName);
    std::optional<Algorithm> best;
    std::size_t bestLength = 0;
    for (const AlgorithmFacts& row : kAlgorithmTable)
        AnyWordOf(row.fileNameHints, [&](std::string_view hint) {
            if (hint.size() > bestLength && name.find(hint) != std::string::npos) {
                best = row.algorithm;
                bestLength = hint.size();
            }
            return false;
        });
    return best;
}

bool NamesForeignAlgorithm(std::string_view sumFileName) {
    if (AlgorithmOfSumFileName(sumFileName)) return false;
    const std::string name = Lower(sumFileName);
    return std::any_of(
        std::begin(kForeignHints), std::end(kForeignHints),
        [&](std::string_view foreign) { return name.find(foreign) != std::string::npos; });
}

std::optional<Algorithm> AlgorithmOfRequest(int32_t hashAlgorithm, int32_t sha2Width) {
    for (const AlgorithmListEntry& entry : kAlgorithmList)
        if (entry.hashAlgorithm == hashAlgorithm &&
            (entry.sha2Width == 0 || entry.sha2Width == sha2Width))
            return entry.algorithm;
    return std::nullopt;
}

std::optional<Algorithm> FamilyMember(std::string_view family, std::size_t bytes) {
    if (family.empty()) return std::nullopt;  // the rows of no family
    for (const AlgorithmFacts& row : kAlgorithmTable)
        if (row.family == family && row.digestBytes == bytes) return row.algorithm;
    return std::nullopt;
}
