// Parsing of sums-file lines, following the rules of the coreutils *sum tools.
#include "check_line.h"

#include <algorithm>

#include "escape.h"

namespace {

bool IsWhite(char c) {
    return c == ' ' || c == '\t';
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

bool IsHexDigest(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsHex);
}

CheckLineParser::CheckLineParser(std::vector<Algorithm> algorithms, bool anyTag)
    : algorithms_(std::move(algorithms)), anyTag_(anyTag) {}

bool CheckLineParser::AcceptsTag(Algorithm algorithm) const {
    return anyTag_ ||
           std::find(algorithms_.begin(), algorithms_.end(), algorithm) != algorithms_.end();
}

CheckLine CheckLineParser::Parse(std::string_view line) {
    CheckLine result;
    if (line.empty() || line.front() == '#') return result;
    if (line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return result;

    std::size_t at = 0;
    while (at < line.size() && IsWhite(line[at])) ++at;
    const bool escaped = at < line.size() && line[at] == '\\';
    if (escaped) ++at;

    std::optional<CheckEntry> entry;
    bool tagged = false;
    for (Algorithm algorithm : kAllAlgorithms) {
        const std::string_view tag = AlgorithmTag(algorithm);
        if (line.substr(at, tag.size()) != tag) continue;
        // A known tag makes this a BSD line, well formed or not.
        tagged = true;
        std::size_t i = at + tag.size();
        if (i < line.size() && line[i] == ' ') ++i;
        if (i < line.size() && line[i] == '(' && AcceptsTag(algorithm))
            entry = ParseBsd(algorithm, line.substr(i + 1), escaped);
        break;
    }
    if (!tagged) entry = ParseGnu(line, at, escaped);

    if (entry) {
        result.kind = CheckLine::Kind::Entry;
        result.entry = std::move(*entry);
    } else {
        result.kind = CheckLine::Kind::Malformed;
    }
    return result;
}

std::optional<CheckEntry> CheckLineParser::ParseBsd(Algorithm algorithm, std::string_view rest,
                                                    bool escaped) {
    // The name ends at the last ')', so names may hold parentheses themselves.
    const std::size_t close = rest.rfind(')');
    if (close == std::string_view::npos) return std::nullopt;
    std::string name(rest.substr(0, close));
    if (escaped) {
        auto unescaped = UnescapeName(name);
        if (!unescaped) return std::nullopt;
        name = std::move(*unescaped);
    } else if (name.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    std::size_t i = close + 1;
    while (i < rest.size() && IsWhite(rest[i])) ++i;
    if (i == rest.size() || rest[i] != '=') return std::nullopt;
    ++i;
    while (i < rest.size() && IsWhite(rest[i])) ++i;
    const std::string_view digest = rest.substr(i);
    if (!IsHexDigest(digest) || digest.size() != DigestTextLength(algorithm)) return std::nullopt;
    return CheckEntry{algorithm, std::string(digest), std::move(name)};
}

std::optional<CheckEntry> CheckLineParser::ParseGnu(std::string_view line, std::size_t at,
                                                    bool escaped) {
    std::size_t end = at;
    while (end < line.size() && IsHex(line[end])) ++end;
    const std::size_t length = end - at;

    std::optional<Algorithm> algorithm;
    for (Algorithm candidate : algorithms_) {
        if (DigestTextLength(candidate) != length) continue;
        if (algorithm) return std::nullopt;  // two algorithms fit: refuse to guess
        algorithm = candidate;
    }
    // The digest, a separator and at least one more character.
    if (!algorithm || line.size() - at < length + 3) return std::nullopt;
    if (!IsWhite(line[end])) return std::nullopt;
    std::size_t i = end + 1;

    if (line.size() - i == 1 || (line[i] != ' ' && line[i] != '*')) {
        // Old "DIGEST NAME" form. Not mixed with the usual one, so that a file renamed to start
        // with a space or '*' cannot pass for another.
        if (reversed_ == Reversed::No) return std::nullopt;
        reversed_ = Reversed::Yes;
    } else if (reversed_ != Reversed::Yes) {
        reversed_ = Reversed::No;
        ++i;  // the mode marker
    }

    std::string name(line.substr(i));
    if (escaped) {
        auto unescaped = UnescapeName(name);
        if (!unescaped) return std::nullopt;
        name = std::move(*unescaped);
    } else if (name.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return CheckEntry{*algorithm, std::string(line.substr(at, length)), std::move(name)};
}
