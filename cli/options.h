// The command line of corvane-sum: what to hash, with which algorithms, and how to report it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "algorithms.h"
#include "invocation.h"
#include "pipeline.h"
#include "progress.h"

enum class Mode { Sum, Check, Help, Version };

// How digest lines are written. Auto: GNU lines for one algorithm, BSD lines for several.
enum class LineFormat { Auto, Gnu, Bsd, Sfv };
// How a digest is written: hex digits, base64 (RFC 4648), or its bytes as they are.
enum class DigestEncoding { Hex, Base64, Raw };

// The mode marker of GNU lines: '*' for binary, ' ' for text or when none was asked for.
enum class FileMode { Unset, Binary, Text };

struct Options {
    Mode mode = Mode::Sum;
    std::vector<Algorithm> algorithms;  // in the order first named, no repeats; never empty
    bool algorithmsChosen = false;      // by -a, --all or the program's name
    std::vector<std::string> strings;   // -s texts, hashed before any file
    std::vector<std::string> files;     // operands; "-" is standard input
    LineFormat format = LineFormat::Auto;
    FileMode fileMode = FileMode::Unset;  // -b, -t
    bool zero = false;
    bool recursive = false;
    bool follow = false;
    ProgressMode progress = ProgressMode::Auto;
    bool quiet = false;
    bool status = false;
    bool ignoreMissing = false;
    bool strict = false;
    bool warn = false;
    unsigned jobs = 1;
    bool coreutilsName = false;  // started as a coreutils tool: read lists exactly as it does
    Personality personality = Personality::Own;
    // -l: the digest length of variable-length algorithms, in bytes; 0 for their usual one.
    std::size_t digestBytes = 0;
    DigestEncoding encoding = DigestEncoding::Hex;
    ClassicSum classic = ClassicSum::None;  // cksum -a crc|bsd|sysv, instead of `algorithms`
    bool noNames = false;                   // b3sum --no-names: the digest alone
    // b3sum's other BLAKE3 modes: a 32-byte key read from standard input, or a context string.
    bool keyed = false;
    std::optional<std::string> deriveKeyContext;
    bool noDigest = false;          // b3sum -l 0: no digest bytes at all
    bool lengthUnparsable = false;  // b3sum -l with no number: each file opened fails
};

struct ParsedCommandLine {
    std::optional<Options> options;  // empty on a usage error
    std::string error;   // the reason, when the parser did not print it itself (getopt does)
    std::string notice;  // what was taken otherwise than asked (an -j above MaxJobs), to tell
    // `error` is the whole message, in the tool's own words, with no name before it and no
    // pointer to --help after it (b3sum's and xxhsum's manner).
    bool errorAsIs = false;
    bool tryHelp = true;  // the pointer to --help follows `error`
};

// Parses argv (argv[0] is ignored; `invocation` tells the name and default algorithm). On a usage
// error getopt may already have printed its own message to standard error; `error` then stays
// empty.
ParsedCommandLine ParseCommandLine(const Invocation& invocation, int argc, char* const* argv);

// "crc32,MD5" -> the algorithms, in order; std::nullopt names the first bad item via `bad`.
std::optional<std::vector<Algorithm>> ParseAlgorithmList(const std::string& list, std::string& bad);

unsigned DefaultJobs();
// More jobs than this only add threads that wait for the same cores and disk.
inline constexpr unsigned kJobsPerCore = 4;
unsigned MaxJobs();

// Every long option's name, for the help text's completeness.
std::vector<std::string> LongOptionNames();
