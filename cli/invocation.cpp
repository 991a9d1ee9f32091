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
    Invocation invocation{std::string(name), AlgorithmOfToolName(name)};
    invocation.known = invocation.algorithm || name.starts_with(kOwnPrefix);
    constexpr std::string_view kCoreutilsTools[] = {"md5sum", "sha1sum", "sha256sum", "sha384sum",
                                                    "sha512sum"};
    invocation.coreutilsName = std::find(std::begin(kCoreutilsTools), std::end(kCoreutilsTools),
                                         name) != std::end(kCoreutilsTools);
    return invocation;
}
