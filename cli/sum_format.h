// The lines corvane-sum writes for one input, in the style its options ask for: GNU or BSD lines
// (one per algorithm), or an SFV line with every digest.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options.h"
#include "sum_file.h"

SumLineStyle StyleOf(const Options& options);

// Whether a line of this style can carry the name so that it reads back the same. SFV has no
// escapes: no line breaks, no ';' or '#' first, no blank last.
bool CanWriteName(const SumLineStyle& style, std::string_view name);

// The lines of one input. The name must be one CanWriteName accepts.
std::string SumLines(const SumLineStyle& style, std::span<const Algorithm> algorithms,
                     const std::vector<std::string>& digests, std::string_view name);
