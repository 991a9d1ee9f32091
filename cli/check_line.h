// The lines of a sums file, as the coreutils *sum tools write and read them:
//   DIGEST  NAME          (GNU; "DIGEST *NAME" marks binary mode, which changes nothing here)
//   TAG (NAME) = DIGEST   (BSD, the tag naming the algorithm)
// either one preceded by a backslash when NAME is escaped.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "digester.h"

struct CheckEntry {
    Algorithm algorithm;
    std::string digest;  // hex as written, either case
    std::string name;    // unescaped
};

struct CheckLine {
    enum class Kind { Ignored, Malformed, Entry };
    Kind kind = Kind::Ignored;
    CheckEntry entry;  // for Kind::Entry
};

class CheckLineParser {
public:
    // GNU lines may be in any of `algorithms` (told apart by their digest length; a length
    // that fits two of them is malformed). BSD lines may carry any tag when `anyTag`, otherwise
    // only those of `algorithms`.
    CheckLineParser(std::vector<Algorithm> algorithms, bool anyTag);

    // One line as read, with or without its line end. Comments ('#' first) and empty lines are
    // ignored.
    CheckLine Parse(std::string_view line);

private:
    std::optional<CheckEntry> ParseBsd(Algorithm algorithm, std::string_view rest, bool escaped);
    std::optional<CheckEntry> ParseGnu(std::string_view line, std::size_t at, bool escaped);
    bool AcceptsTag(Algorithm algorithm) const;

    std::vector<Algorithm> algorithms_;
    bool anyTag_;
    // Whether earlier lines were in the old "DIGEST NAME" form (one space, no mode marker):
    // unknown until the first GNU line, then the two forms never mix.
    enum class Reversed { Unknown, No, Yes } reversed_ = Reversed::Unknown;
};

bool IsHexDigest(std::string_view text);
