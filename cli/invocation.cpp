// The program's own name and the algorithm it implies.
#include "invocation.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace {

constexpr std::string_view kDefaultName = "corvane-sum";
constexpr std::string_view kOwnPrefix = "corvane";
constexpr std::string_view kSuffix = "sum";

std::optional<Algorithm> AlgorithmOfToolName(std::string_view name) {
    if (name.size() <= kSuffix.size() || !name.ends_with(kSuffix)) return std::nullopt;
    name.remove_suffix(kSuffix.size());
    // The tool is named after the algorithm's tag in lower case: md5sum, sha256sum, gost94sum.
    std::string tag;
    for (char c : name) tag += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::optional<TagMatch> match = MatchTag(tag);
    if (!match || match->length != tag.size()) return std::nullopt;
    return match->algorithm;
}

}  // namespace

Invocation InvocationOf(const char* argv0) {
    std::string_view name = argv0 != nullptr ? argv0 : "";
    const std::size_t slash = name.rfind('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    if (name.empty()) name = kDefaultName;
    Invocation invocation;
    invocation.programName = std::string(name);
    invocation.algorithm = AlgorithmOfToolName(name);
    // Tools named otherwise than after a tag, and those whose options differ from ours.
    struct DropIn {
        std::string_view name;
        std::optional<Algorithm> algorithm;
        Personality personality;
    };
    constexpr DropIn kDropIns[] = {
        {"b2sum", Algorithm::Blake2b, Personality::Own},
        {"cksum", std::nullopt, Personality::Cksum},
        {"b3sum", Algorithm::Blake3, Personality::B3sum},
        {"xxhsum", Algorithm::Xxh64, Personality::Xxhsum},
        {"xxh32sum", Algorithm::Xxh32, Personality::Xxhsum},
        {"xxh64sum", Algorithm::Xxh64, Personality::Xxhsum},
        {"xxh128sum", Algorithm::Xxh128, Personality::Xxhsum},
    };
    for (const DropIn& dropIn : kDropIns) {
        if (name != dropIn.name) continue;
        invocation.algorithm = dropIn.algorithm;
        invocation.personality = dropIn.personality;
    }
    invocation.known = invocation.algorithm || name.starts_with(kOwnPrefix) ||
                       invocation.personality == Personality::Cksum;
    constexpr std::string_view kCoreutilsTools[] = {
        "md5sum", "sha1sum", "sha224sum", "sha256sum", "sha384sum", "sha512sum", "b2sum", "cksum"};
    invocation.coreutilsName = std::find(std::begin(kCoreutilsTools), std::end(kCoreutilsTools),
                                         name) != std::end(kCoreutilsTools);
    invocation.displayName = invocation.coreutilsName ? std::string(argv0) : invocation.programName;
    return invocation;
}
