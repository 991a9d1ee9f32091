// Finding the expected digest of a file in a sum file: one the user names, or one of a few
// well-known names in the file's own folder. Reading is bounded: regular files only, at most
// kSumFileReadLimit bytes of each, and a file that cannot be read or holds no line for the name
// is passed over.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "expected_digest.h"

// The sum files looked for beside a file named `fileName`, in the order they are tried: the
// file's own ("NAME.sha256", "NAME.sha256sum", ...), then the folder's ("SHA256SUMS", ...).
std::vector<std::string> SumFileNamesFor(std::string_view fileName);

struct SumFileResult {
    bool readable = false;
    std::optional<ExpectedDigest> expected;  // the line for the file, when the sum file lists it
};
// The line for `fileName` in the sum file at `sumPath`, its source set to that sum file.
SumFileResult ReadSumFile(const std::string& sumPath, std::string_view fileName);

// The first sum file beside `filePath` that lists it; only that folder is looked in.
std::optional<ExpectedDigest> FindSumFileBeside(const std::string& filePath);
