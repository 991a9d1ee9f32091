// Finding the expected digest of a file in a sum file: one the user names, or one in the file's
// own folder, where releases put them. Reading is bounded: regular files only, at most
// kSumFileReadLimit bytes of each, and a bounded number of folder entries looked at. Names are
// bytes: a file's name is matched against the lines byte for byte, never decoded.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "expected_digest.h"

// The sum files looked for beside a file named `fileName`, in the order they are tried: the
// file's own ("NAME.sha256", "NAME.sha256sum", ...), those named after it without its extension
// ("STEM.sfv", "STEM.md5", ...), then the folder's well-known ones ("SHA256SUMS", ...). The
// search adds the folder's other names ending in CHECKSUM, CHECKSUMS or SUMS after these.
std::vector<std::string> SumFileNamesFor(std::string_view fileName);
// Whether `name` ends in CHECKSUM, CHECKSUMS or SUMS, in any case.
bool LooksLikeSumList(std::string_view name);
// Of a folder's names, at most this many that look like sum lists are read.
inline constexpr std::size_t kMaxListedCandidates = 16;
// And at most this many of its entries are looked at to find them.
inline constexpr std::size_t kMaxFolderEntries = 4096;

// Why a sum file beside the file gave no digest for it.
enum class SumFileSkip {
    Unreadable,  // it could not be opened or read: `error`
    NotRegular,  // a folder, a FIFO, a device
    PastBound,   // it is longer than kSumFileReadLimit and its start does not list the file
};
struct SkippedSumFile {
    std::string name;  // without its folder
    SumFileSkip reason = SumFileSkip::Unreadable;
    int error = 0;
};

struct SumFileResult {
    bool readable = false;
    bool cut = false;                        // only its first kSumFileReadLimit bytes were read
    int error = 0;                           // not readable: errno, or 0 for not a regular file
    std::optional<ExpectedDigest> expected;  // the line for the file, when the sum file lists it
};
// The line for `fileName` in the sum file at `sumPath`, its source set to that sum file. With
// `ownFile` (the sum file is named after the file) a digest alone counts too.
SumFileResult ReadSumFile(const std::string& sumPath, std::string_view fileName,
                          bool ownFile = false);

struct BesideSearch {
    std::optional<ExpectedDigest> expected;  // from the first sum file that lists the file
    // Sum files tried before it (or all, when none lists it) that could not be read through.
    std::vector<SkippedSumFile> skipped;
};
// Searches the folder of `filePath` (and only that folder).
BesideSearch SearchBeside(const std::string& filePath);
inline std::optional<ExpectedDigest> FindSumFileBeside(const std::string& filePath) {
    return SearchBeside(filePath).expected;
}
