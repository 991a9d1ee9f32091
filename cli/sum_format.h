// Digest lines as corvane-sum writes them: GNU "DIGEST  NAME" (or "DIGEST *NAME" in binary
// mode), BSD "TAG (NAME) = DIGEST", and SFV "NAME DIGEST", the common CRC-32 list.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options.h"

struct LineStyle {
    LineFormat format = LineFormat::Gnu;  // never Auto
    bool binary = false;                  // GNU lines carry '*'
    bool zero = false;                    // lines end with NUL, and names are never escaped
};

LineStyle StyleOf(const Options& options);

// Whether a line of this style can carry the name: an SFV line has no escapes, so no line breaks.
bool CanWriteName(const LineStyle& style, std::string_view name);

// The lines of one input: one per algorithm, or in SFV one line with every digest. A name with a
// backslash or line break is escaped as the coreutils tools escape it (not with `zero`). The name
// must be one CanWriteName accepts.
std::string SumLines(const LineStyle& style, std::span<const Algorithm> algorithms,
                     const std::vector<std::string>& digests, std::string_view name);
