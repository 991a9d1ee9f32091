// File names in sums lines and messages, escaped the way the coreutils *sum tools escape them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A digest line whose name holds a backslash, newline or carriage return starts with a backslash,
// and the name is written with those three as "\\", "\n" and "\r".
bool NameNeedsEscape(std::string_view name);
// The check report ("NAME: OK") escapes only names that hold a newline.
bool CheckNameNeedsEscape(std::string_view name);
std::string EscapeName(std::string_view name);
// The reverse of EscapeName; std::nullopt for any other backslash sequence, a trailing
// backslash, or a NUL byte.
std::optional<std::string> UnescapeName(std::string_view escaped);

// The name as it appears in an error message: as it is when that is unambiguous, otherwise
// quoted for the shell ('a b', "it's", 'a'$'\n''b').
std::string QuoteForMessage(std::string_view name);
