// File names in corvane-sum's reports and messages, escaped and quoted the way the coreutils *sum
// tools do it. Names in sum-file lines are escaped by hash/sum_file.h.
#pragma once

#include <string>
#include <string_view>

// The check report ("NAME: OK") escapes, with EscapeName, only names that hold a newline.
bool CheckNameNeedsEscape(std::string_view name);

// The name as it appears in an error message: as it is when that is unambiguous, otherwise
// quoted for the shell ('a b', "it's", 'a'$'\n''b').
std::string QuoteForMessage(std::string_view name);
