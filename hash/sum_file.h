// Checksum lines, as the coreutils *sum tools write and read them, and SFV lines:
//   DIGEST  NAME          GNU; "DIGEST *NAME" marks binary mode, which changes nothing here
//   TAG (NAME) = DIGEST   BSD, the tag naming the algorithm
//   NAME CRC              SFV: CRC-32 only; a line starting with ';' is a comment
// A GNU or BSD line starts with a backslash when its NAME is escaped. Lines are read one at a
// time, so a sum file can be streamed whatever its length.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "algorithms.h"
#include "file_source.h"

// A name that holds a backslash, newline or carriage return is written escaped, with those three
// as "\\", "\n" and "\r", and its line starts with a backslash.
bool NameNeedsEscape(std::string_view name);
std::string EscapeName(std::string_view name);
// The reverse of EscapeName; none for any other backslash sequence, a trailing backslash, or a
// zero byte.
std::optional<std::string> UnescapeName(std::string_view escaped);

enum class SumFormat { Gnu, Bsd, Sfv };

struct SumLineStyle {
    SumFormat format = SumFormat::Gnu;
    bool binary = false;          // GNU: "DIGEST *NAME"
    bool zeroTerminated = false;  // ends with a zero byte instead of a newline; never escaped
};

// One line, its end included.
std::string FormatSumLine(Algorithm algorithm, std::string_view digest, std::string_view name,
                          const SumLineStyle& style = {});

struct SumEntry {
    SumFormat format = SumFormat::Gnu;
    // The algorithms the line may be from, the most common first: the tag's for a BSD line,
    // CRC-32 for SFV, those of the digest's length for a GNU line.
    std::vector<Algorithm> candidates;
    std::string digest;  // hex as written, either case
    std::string name;    // unescaped
    Algorithm algorithm() const { return candidates.front(); }
};

struct SumLine {
    enum class Kind { Ignored, Malformed, Entry };
    Kind kind = Kind::Ignored;
    // For Kind::Entry. A malformed line that starts with a known tag keeps the tag's algorithm
    // as its one candidate, so that a warning can name it.
    SumEntry entry;
};

struct SumLineRules {
    // The algorithms a GNU line may be in, told apart by their digest length.
    std::vector<Algorithm> algorithms{kAllAlgorithms.begin(), kAllAlgorithms.end()};
    // BSD lines with any tag; otherwise only the tags of `algorithms`.
    bool anyTag = true;
    // A GNU digest whose length fits two of `algorithms` makes the line malformed, as the
    // coreutils tools have it; otherwise the entry lists them all.
    bool refuseAmbiguous = true;
    // The lines are SFV lines, not GNU or BSD ones.
    bool sfv = false;
    // At most one blank between a BSD tag and '(', as the coreutils tools write it; otherwise
    // padded tags ("MD5   (a) = …") are read too.
    bool exactTags = false;
};

class SumLineParser {
public:
    explicit SumLineParser(SumLineRules rules = {});

    // One line as read, with or without its line end (CRLF too). Empty lines and comments ('#'
    // first, or ';' in SFV) are ignored.
    SumLine Parse(std::string_view line);

private:
    std::optional<SumEntry> ParseBsd(Algorithm algorithm, std::string_view rest, bool escaped);
    std::optional<SumEntry> ParseGnu(std::string_view line, std::size_t at, bool escaped);
    std::optional<SumEntry> ParseSfv(std::string_view line) const;
    bool AcceptsTag(Algorithm algorithm) const;

    SumLineRules rules;
    // Whether earlier lines were in the old "DIGEST NAME" form (one space, no mode marker):
    // unknown until the first GNU line, then the two forms never mix.
    enum class Reversed { Unknown, No, Yes } reversed = Reversed::Unknown;
};

bool IsHexDigest(std::string_view text);

// The lines of a source one at a time, each with its '\n' when it has one, in memory for the
// longest line only: a list of any length streams.
class LineReader {
public:
    explicit LineReader(ByteSource& source) : bytes(source) {}
    // The next line, valid until the next call; none at the end or after a failed read.
    std::optional<std::string_view> Next();
    int error() const { return readError; }  // errno of the failed read, else 0

private:
    ByteSource& bytes;
    std::string buffer;
    std::size_t begin = 0;    // of the next line in `buffer`
    std::size_t scanned = 0;  // bytes after `begin` known to hold no '\n'
    bool atEnd = false;
    int readError = 0;
};
