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
    // The length asked of variable-length algorithms, in bytes (0: their usual one); a BSD tag
    // then says it in bits, "BLAKE2b-256", as the coreutils tools write it.
    std::size_t digestBytes = 0;
    bool base64 = false;      // the digest in base64 (RFC 4648) rather than hex
    bool escapeNames = true;  // false: names as they are, whatever they hold (xxhsum's lines)
    bool nameless = false;    // the digest alone (b3sum --no-names)
};

// One line, its end included. `digest` is hex, as the engines give it.
std::string FormatSumLine(Algorithm algorithm, std::string_view digest, std::string_view name,
                          const SumLineStyle& style = {});
// The tag of a BSD line for a digest of `digestBytes` (0: the usual length).
std::string TagFor(Algorithm algorithm, std::size_t digestBytes);

// Hex digests and their base64 form (RFC 4648, padded): what --base64 writes, and what -c
// reads back. Base64ToHex gives none for text that is not canonical base64.
std::string HexToBase64(std::string_view hex);
std::optional<std::string> Base64ToHex(std::string_view base64);
// The bytes of a hex digest, for --raw.
std::string HexToBytes(std::string_view hex);

struct SumEntry {
    SumFormat format = SumFormat::Gnu;
    // The algorithms the line may be from, the most common first: the tag's for a BSD line,
    // CRC-32 for SFV, those of the digest's length for a GNU line.
    std::vector<Algorithm> candidates;
    std::string digest;  // hex as written, either case (base64 ones are read into hex)
    std::string name;    // unescaped
    // A variable-length algorithm's length, from its tag ("BLAKE2b-256") or its digest's; 0 for
    // the usual one.
    std::size_t digestBytes = 0;
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
    // An untagged digest of this algorithm's length is taken for this algorithm's alone (a list
    // whose name says what it holds, "SHA256SUMS").
    std::optional<Algorithm> named;
    // At most one blank between a BSD tag and '(', as the coreutils tools write it; otherwise
    // padded tags ("MD5   (a) = …") are read too.
    bool exactTags = false;
    // An untagged digest of a length none of `algorithms` has is taken for the one
    // variable-length algorithm among them at that length (b2sum -c, b3sum -c).
    bool anyLength = false;
};

class SumLineParser {
public:
    explicit SumLineParser(SumLineRules rules = {});

    // One line as read, with or without its line end (CRLF too). Empty lines and comments ('#'
    // first, or ';' in SFV) are ignored.
    SumLine Parse(std::string_view line);
    const SumLineRules& Rules() const { return rules; }
    // For the lines of another file; what earlier lines decided stays.
    void SetNamedAlgorithm(std::optional<Algorithm> algorithm) { rules.named = algorithm; }

private:
    std::optional<SumEntry> ParseBsd(Algorithm algorithm, std::size_t tagBytes,
                                     std::string_view rest, bool escaped);
    // The algorithms of `algorithms` a digest of this many hex digits may be from; `digestBytes`
    // gets the length asked of a variable-length one (0: the usual length).
    std::vector<Algorithm> CandidatesOf(std::size_t hexLength, std::size_t& digestBytes) const;
    std::optional<SumEntry> ParseGnu(std::string_view line, std::size_t at, bool escaped);
    std::optional<SumEntry> ParseSfv(std::string_view line) const;
    bool AcceptsTag(Algorithm algorithm) const;

    SumLineRules rules;
    // Whether earlier lines were in the old "DIGEST NAME" form (one space, no mode marker):
    // unknown until the first GNU line, then the two forms never mix.
    enum class Reversed { Unknown, No, Yes } reversed = Reversed::Unknown;
};

bool IsHexDigest(std::string_view text);
// The longest output asked of BLAKE3: far beyond any use, short of an unbounded allocation.
inline constexpr std::size_t kMaxXofBytes = std::size_t{1} << 20;
// The longest digest a variable-length algorithm gives (-l), in bytes.
std::size_t MaxDigestBytes(Algorithm algorithm);

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

// What a sum file as a whole may hold, beyond the lines' own rules.
struct SumFileRules {
    bool sfvAllowed = true;  // SFV lines may be met (GNU and BSD lines always may)
    bool preferSfv = false;  // SFV is tried first (a file named *.sfv)
    // A PGP clear-signed wrapper is passed over: its armor is no line, dash-escaped lines are
    // read unescaped and nothing after the signature's start is read. The signature is not
    // checked. Otherwise (as the coreutils tools read them) the armor lines are malformed.
    bool signedWrapper = true;
};

struct NumberedSumLine {
    unsigned long number = 0;  // from 1, counting every line of the file
    SumLine line;              // never Kind::Ignored
};

// A sum file, one line at a time in fixed memory: GNU and BSD lines or SFV ones, the first line
// that reads as either deciding for the whole file; CRLF line ends, comments and empty lines;
// escaped and byte-exact names (sum_file.h's line rules). Both -c and the dialog's search for an
// expected digest read sum files through it, so a file reads the same in both.
class SumFileReader {
public:
    // `lines` reads the GNU and BSD lines; it may be shared by several files (the coreutils tools
    // decide the one-space form once per run).
    SumFileReader(ByteSource& source, SumLineParser& lines, SumFileRules rules = {});
    // The next line that is not ignored; none at the end or after a failed read.
    std::optional<NumberedSumLine> Next();
    int error() const { return text.error(); }                // errno of a failed read, else 0
    bool Signed() const { return wrapper != Wrapper::None; }  // a clear-signed wrapper was met

private:
    SumLine Parse(std::string_view line);
    // False when `line` is part of the wrapper rather than of what it wraps.
    bool Unwrap(std::string_view& line);

    LineReader text;
    SumLineParser& lines;
    SumLineParser sfv;
    SumFileRules rules;
    enum class Format { Undecided, GnuBsd, Sfv } format = Format::Undecided;
    enum class Wrapper { Undecided, None, Headers, Body, Ended } wrapper = Wrapper::Undecided;
    unsigned long number = 0;
};

// The bytes of a text in memory, for reading a sum file already read.
class TextSource final : public ByteSource {
public:
    explicit TextSource(std::string_view bytes) : left(bytes) {}
    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) override;

private:
    std::string_view left;
};
