// The digest a file or text is expected to have, read from what a user typed or copied or from a
// sum file: the digest itself, the algorithms it may be from, and where it came from. Lines are
// read by the one sum-line parser (sum_file.h) that checking a list uses too.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "algorithms.h"
#include "sum_file.h"

// Where an expected digest came from, first found wins in this order.
enum class ExpectedSource { Field, Clipboard, SumFile };

struct ExpectedDigest {
    ExpectedSource source = ExpectedSource::Field;
    std::string sumFileName;            // SumFile: the sum file's name, without its folder
    std::string digest;                 // lower-case hex
    std::vector<Algorithm> candidates;  // the algorithms it may be from, the most common first
    std::string listedName;             // the name its line gave; empty for a bare digest
    // A variable-length algorithm's length from the line's tag ("BLAKE2b-256"), in bytes; 0 for
    // the usual length.
    std::size_t digestBytes = 0;
    bool signatureUnchecked = false;  // it came from inside a PGP signed wrapper
};

// A sum file's lines are its contents up to this many bytes; what lies beyond is never read.
inline constexpr std::size_t kSumFileReadLimit = std::size_t{1} << 20;

// An expected digest typed or copied:
//  - a bare digest in either case, blanks or colons allowed between groups, optionally after an
//    algorithm's name ("SHA256: 6b86b2...", "sha1 a94a8f...");
//  - one sum line: GNU ("DIGEST  NAME", "DIGEST *NAME", escaped), BSD ("TAG (NAME) = DIGEST") or
//    SFV ("NAME CRC"); from the clipboard a line counts only when it names `fileName`, since a
//    line copied for another file (or any sentence ending in eight hex digits) is not this one's;
//  - several lines: read as a sum file, giving the line for `fileName` (from the clipboard only
//    when there is a file name).
// None for anything else, or for text longer than kSumFileReadLimit.
std::optional<ExpectedDigest> ParseExpectedText(std::string_view text, std::string_view fileName,
                                                ExpectedSource source = ExpectedSource::Field);

// The expected digest of `fileName` in the text of the sum file `sumFileName`: GNU, BSD and SFV
// lines, CRLF line ends and comments; inside a PGP clear-signed wrapper only the signed lines
// count. Of several lines for the name (or "./name") the strongest algorithm's wins; with an
// empty `fileName`, the text's only entry. The sum file's name narrows a digest's length to the
// algorithm it names ("SHA256SUMS", "x.iso.md5"), and a name of another family ("b2sums.txt",
// "SHA3-256SUMS") makes bare digests count for nothing, since their lengths may pass for ours.
// With `digestAlone` (a sum file named after the file, "x.iso.sha256") a text that is a digest
// alone counts as that file's, as many release pages publish them.
std::optional<ExpectedDigest> ExpectedFromSumText(std::string_view text, std::string_view fileName,
                                                  std::string_view sumFileName,
                                                  bool digestAlone = false);
