// The program's own name and the algorithm it implies.
#include "invocation.h"

namespace {

constexpr std::string_view kDefaultName = "corvane-sum";
constexpr std::string_view kSuffix = "sum";

std::optional<Algorithm> AlgorithmOfToolName(std::string_view name) {
    if (name.size() <= kSuffix.size() || !name.ends_with(kSuffix)) return std::nullopt;
    name.remove_suffix(kSuffix.size());
    // RHash's name for GOST R 34.11-94.
    if (name == "gost94") return Algorithm::Gost;
    for (Algorithm algorithm : kAllAlgorithms)
        if (AlgorithmName(algorithm) == name) return algorithm;
    return std::nullopt;
}

}  // namespace

Invocation InvocationOf(const char* argv0) {
    std::string_view name = argv0 != nullptr ? argv0 : "";
    const std::size_t slash = name.rfind('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    if (name.empty()) name = kDefaultName;
    return {std::string(name), AlgorithmOfToolName(name)};
}
