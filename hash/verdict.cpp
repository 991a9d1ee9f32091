// The verdict on computed digests against an expected one.
#include "verdict.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

Verdict Judge(const ExpectedDigest& expected, std::span<const Algorithm> computed,
              std::span<const std::string> digests, std::optional<Algorithm> preferred) {
    Verdict verdict;
    verdict.source = expected.source;
    verdict.sumFileName = expected.sumFileName;
    verdict.expected = Lower(expected.digest);
    verdict.signatureUnchecked = expected.signatureUnchecked;
    verdict.digestBytes = expected.digestBytes;
    const auto digestOf = [&](Algorithm algorithm) {
        const auto at = std::find(computed.begin(), computed.end(), algorithm);
        return at == computed.end()
                   ? std::string()
                   : Lower(digests[static_cast<std::size_t>(at - computed.begin())]);
    };
    for (Algorithm candidate : expected.candidates) {
        if (digestOf(candidate) != verdict.expected) continue;
        verdict.matches = true;
        verdict.algorithm = candidate;
        verdict.actual = verdict.expected;
        verdict.integrityOnly = ProvesIntegrityOnly(candidate);
        return verdict;
    }
    const auto& candidates = expected.candidates;
    if (candidates.empty()) return verdict;
    verdict.algorithm =
        preferred && std::find(candidates.begin(), candidates.end(), *preferred) != candidates.end()
            ? *preferred
            : candidates.front();
    verdict.actual = digestOf(verdict.algorithm);
    verdict.firstDifference =
        static_cast<std::size_t>(std::mismatch(verdict.expected.begin(), verdict.expected.end(),
                                               verdict.actual.begin(), verdict.actual.end())
                                     .first -
                                 verdict.expected.begin());
    return verdict;
}
