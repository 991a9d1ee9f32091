// Command-line parsing for corvane-sum, with GNU getopt_long so options, their abbreviations and
// the messages about them behave as in the coreutils *sum tools.
#include "options.h"

#include <getopt.h>
#include <langinfo.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <span>
#include <thread>

#include "sum_file.h"

namespace {

enum LongOnly : int {
    kAll = 256,
    kTag,
    kUntagged,
    kSfv,
    kQuiet,
    kStatus,
    kIgnoreMissing,
    kStrict,
    kProgress,
    kNoProgress,
    kVersion,
    kBase64,
    kRaw,
};

const option kLongOptions[] = {
    {"algorithm", required_argument, nullptr, 'a'},
    {"all", no_argument, nullptr, kAll},
    {"string", required_argument, nullptr, 's'},
    {"binary", no_argument, nullptr, 'b'},
    {"text", no_argument, nullptr, 't'},
    {"tag", no_argument, nullptr, kTag},
    {"untagged", no_argument, nullptr, kUntagged},
    {"sfv", no_argument, nullptr, kSfv},
    {"zero", no_argument, nullptr, 'z'},
    {"recursive", no_argument, nullptr, 'r'},
    {"follow", no_argument, nullptr, 'L'},
    {"check", no_argument, nullptr, 'c'},
    {"quiet", no_argument, nullptr, kQuiet},
    {"status", no_argument, nullptr, kStatus},
    {"ignore-missing", no_argument, nullptr, kIgnoreMissing},
    {"strict", no_argument, nullptr, kStrict},
    {"warn", no_argument, nullptr, 'w'},
    {"jobs", required_argument, nullptr, 'j'},
    {"length", required_argument, nullptr, 'l'},
    {"base64", no_argument, nullptr, kBase64},
    {"raw", no_argument, nullptr, kRaw},
    {"progress", no_argument, nullptr, kProgress},
    {"no-progress", no_argument, nullptr, kNoProgress},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

void AddUnique(std::vector<Algorithm>& to, Algorithm algorithm) {
    if (std::find(to.begin(), to.end(), algorithm) == to.end()) to.push_back(algorithm);
}

bool ParseJobs(const char* text, unsigned& jobs) {
    const std::string_view view(text);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    if (error != std::errc() || end != view.data() + view.size() || value == 0) return false;
    jobs = value;
    return true;
}

ParsedCommandLine Fail(std::string reason) {
    ParsedCommandLine result;
    result.error = std::move(reason);
    return result;
}

// A complaint about what was asked rather than how: no pointer to --help after it.
ParsedCommandLine Refuse(std::string reason) {
    ParsedCommandLine result = Fail(std::move(reason));
    result.tryHelp = false;
    return result;
}

ParsedCommandLine Only(Mode mode) {
    ParsedCommandLine result;
    result.options = Options{};
    result.options->mode = mode;
    return result;
}

std::string InvalidAlgorithm(const std::string& bad) {
    std::string reason = "invalid argument '" + bad + "' for '--algorithm'\n";
    reason += "Valid arguments are:";
    for (Algorithm a : kAllAlgorithms)
        reason += std::string("\n  - '") + std::string(AlgorithmName(a)) + "'";
    return reason;
}

// A value in an error message, quoted as the coreutils tools quote it: curved quotes where the
// character set has them.
std::string Quoted(std::string_view text) {
    const char* codeset = nl_langinfo(CODESET);
    const bool utf8 = codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
    return (utf8 ? "\u2018" : "'") + std::string(text) + (utf8 ? "\u2019" : "'");
}

bool ParseCount(std::string_view text, std::size_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// cksum's -a names: its classic checksums, its digests, and (as later releases have them) the
// SHA-2 and SHA-3 families, whose member -l picks.
struct CksumChoice {
    std::string_view name;
    ClassicSum classic = ClassicSum::None;
    std::optional<Algorithm> algorithm;
};
constexpr CksumChoice kCksumChoices[] = {
    {"bsd", ClassicSum::Bsd, std::nullopt},
    {"sysv", ClassicSum::Sysv, std::nullopt},
    {"crc", ClassicSum::Crc, std::nullopt},
    {"md5", ClassicSum::None, Algorithm::Md5},
    {"sha1", ClassicSum::None, Algorithm::Sha1},
    {"sha224", ClassicSum::None, Algorithm::Sha224},
    {"sha256", ClassicSum::None, Algorithm::Sha256},
    {"sha384", ClassicSum::None, Algorithm::Sha384},
    {"sha512", ClassicSum::None, Algorithm::Sha512},
    {"blake2b", ClassicSum::None, Algorithm::Blake2b},
    {"sm3", ClassicSum::None, Algorithm::Sm3},
    {"sha2", ClassicSum::None, std::nullopt},
    {"sha3", ClassicSum::None, std::nullopt},
};
constexpr std::size_t kCksumListed = 11;  // the names its message lists; sha2 and sha3 are newer

std::string InvalidCksumAlgorithm(std::string_view bad) {
    std::string reason = "invalid argument " + Quoted(bad) + " for " + Quoted("--algorithm") +
                         "\nValid arguments are:";
    for (std::size_t i = 0; i < kCksumListed; ++i)
        reason += "\n  - " + Quoted(kCksumChoices[i].name);
    return reason;
}

// -l against the algorithms it was given with; for cksum's -a sha2 and sha3, the member it picks.
std::string CheckLength(Options& options, const Invocation& invocation,
                        const std::optional<CksumChoice>& choice,
                        const std::optional<std::string>& length) {
    const std::string& program = invocation.displayName;
    const bool cksum = invocation.personality == Personality::Cksum;
    if (choice && choice->classic == ClassicSum::None && !choice->algorithm) {
        if (!length || options.digestBytes == 0)
            return "--algorithm=" + std::string(choice->name) +
                   " requires specifying --length 224, 256, 384, or 512";
        const std::optional<Algorithm> member = FamilyMember(choice->name, options.digestBytes);
        if (!member)
            return "invalid length: " + Quoted(*length) + "\n" + program + ": digest length for " +
                   Quoted(choice->name == "sha2" ? "SHA2" : "SHA3") +
                   " must be 224, 256, 384, or 512";
        options.algorithms = {*member};
        options.digestBytes = 0;
        return {};
    }
    if (!length) return {};
    const bool variable = options.classic == ClassicSum::None &&
                          std::all_of(options.algorithms.begin(), options.algorithms.end(),
                                      [](Algorithm a) { return Facts(a).variableLength; });
    if (!variable)
        return cksum || invocation.coreutilsName
                   ? "--length is only supported with --algorithm=blake2b"
                   : "--length is only supported with variable-length algorithms (blake2b, "
                     "blake3)";
    for (Algorithm a : options.algorithms)
        if (options.digestBytes > MaxDigestBytes(a))
            return "invalid length: " + Quoted(*length) + "\n" + program +
                   ": maximum digest length for " + Quoted(AlgorithmTag(a)) + " is " +
                   std::to_string(8 * MaxDigestBytes(a)) + " bits";
    return {};
}

// The conflicts, checked in the order the coreutils tools check theirs, so that the same command
// line gets the same complaint.
std::string Conflict(const Options& o, bool strings) {
    if (o.mode == Mode::Check) {
        if (o.zero) return "the --zero option is not supported when verifying checksums";
        if (o.format == LineFormat::Bsd)
            return "the --tag option is meaningless when verifying checksums";
        if (o.format == LineFormat::Sfv)
            return "the --sfv option is meaningless when verifying checksums";
        if (o.fileMode != FileMode::Unset)
            return "the --binary and --text options are meaningless when verifying checksums";
        if (strings) return "the --string option is meaningless when verifying checksums";
        if (o.recursive) return "the --recursive option is meaningless when verifying checksums";
        return {};
    }
    if (o.format == LineFormat::Bsd && o.fileMode == FileMode::Text)
        return "--tag does not support --text mode";
    // An SFV line holds one CRC-32; anything else would be a list -c cannot read back.
    if (o.format == LineFormat::Sfv &&
        (o.algorithms.size() != 1 || o.algorithms[0] != Algorithm::Crc32))
        return "--sfv writes CRC-32 only; it cannot be combined with other algorithms";
    if (o.format == LineFormat::Sfv && o.encoding != DigestEncoding::Hex)
        return "--sfv writes hex CRC-32s; it cannot be combined with --base64 or --raw";
    // --quiet, --status and --warn override one another, so at most one of them is set.
    const std::pair<bool, const char*> checkOnly[] = {
        {o.ignoreMissing, "--ignore-missing"},
        {o.warn, "--warn"},
        {o.quiet, "--quiet"},
        {o.status, "--status"},
        {o.strict, "--strict"},
    };
    for (const auto& [given, name] : checkOnly)
        if (given)
            return std::string("the ") + name +
                   " option is meaningful only when verifying checksums";
    return {};
}

// The long options of the coreutils *sum tools, in the order their own ambiguity messages list
// them; b2sum adds --length, cksum has --algorithm and --untagged but no --binary or --text.
constexpr std::string_view kCoreutilsOptions[] = {
    "binary", "check", "ignore-missing", "quiet", "status", "strict",
    "tag",    "text",  "warn",           "zero",  "help",   "version",
};
constexpr std::string_view kB2sumOptions[] = {
    "binary", "check", "length", "ignore-missing", "quiet", "status",  "strict",
    "tag",    "text",  "warn",   "zero",           "help",  "version",
};
constexpr std::string_view kCksumOptions[] = {
    "algorithm", "check", "length", "ignore-missing", "quiet", "status", "strict",  "tag",
    "untagged",  "warn",  "zero",   "base64",         "raw",   "help",   "version",
};

std::span<const std::string_view> CoreutilsOptionsOf(std::string_view programName) {
    if (programName == "cksum") return kCksumOptions;
    if (programName == "b2sum") return kB2sumOptions;
    return kCoreutilsOptions;
}

bool TakesArgument(std::string_view longName) {
    for (const option& o : kLongOptions)
        if (o.name != nullptr && longName == o.name) return o.has_arg == required_argument;
    return false;
}

// Under a coreutils tool's name, an abbreviation of one of its options means that option, as
// there, though our extra options share its beginning ("--stri" is --strict, not also --string).
// What is ambiguous among the tool's own options is refused with its message.
std::vector<std::string> ExpandCoreutilsAbbreviations(const std::vector<char*>& args,
                                                      std::span<const std::string_view> known,
                                                      std::string& ambiguous) {
    std::vector<std::string> out(args.begin(), args.end());
    for (std::size_t i = 1; i < out.size(); ++i) {
        const std::string arg = out[i];
        if (arg == "--") break;
        if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-') {
            // Short options: the rest of the cluster, or else the next argument, is a value.
            const std::size_t valued = arg.find_first_of("asjl", 1);
            if (valued == arg.size() - 1) ++i;
            continue;
        }
        if (!arg.starts_with("--")) continue;
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
        if (TakesArgument(name)) {
            if (equals == std::string::npos) ++i;
            continue;
        }
        bool exact = false;
        for (const option& o : kLongOptions) exact = exact || (o.name != nullptr && name == o.name);
        if (exact) continue;
        std::vector<std::string_view> matches;
        for (std::string_view option : known)
            if (option.starts_with(name)) matches.push_back(option);
        if (matches.size() == 1) {
            out[i] = "--" + std::string(matches[0]) +
                     (equals == std::string::npos ? "" : arg.substr(equals));
        } else if (matches.size() > 1) {
            ambiguous = "option '--" + name + "' is ambiguous; possibilities:";
            for (std::string_view match : matches) ambiguous += " '--" + std::string(match) + "'";
            return out;
        }
    }
    return out;
}

ParsedCommandLine FailAsIs(std::string message) {
    ParsedCommandLine result;
    result.error = std::move(message);
    result.errorAsIs = true;
    return result;
}

// The operands getopt left at the end of its copy of argv.
void TakeOperands(Options& options, int argc, char* const* args) {
    for (int i = optind; i < argc; ++i) options.files.emplace_back(args[i]);
}

// b3sum's arguments: flags, options with a value, and how its usage lines name them.
struct B3Argument {
    std::string_view name;   // the long name
    char shortName;          // 0: none
    std::string_view value;  // the value's name; empty for a flag
};
constexpr B3Argument kB3Arguments[] = {
    {"check", 'c', ""},  {"derive-key", 0, "CONTEXT"}, {"help", 'h', ""},
    {"keyed", 0, ""},    {"length", 'l', "LEN"},       {"no-mmap", 0, ""},
    {"no-names", 0, ""}, {"num-threads", 0, "NUM"},    {"quiet", 0, ""},
    {"raw", 0, ""},      {"version", 'V', ""},
};

std::string B3Shown(const B3Argument& argument) {
    return "--" + std::string(argument.name) +
           (argument.value.empty() ? "" : " <" + std::string(argument.value) + ">");
}

// The argument of that long name; null for none.
const B3Argument* B3Named(std::string_view name) {
    for (const B3Argument& a : kB3Arguments)
        if (a.name == name) return &a;
    return nullptr;
}

// A whole number as b3sum's Rust parses it: an optional '+', then digits, within 64 bits.
bool ParseB3Count(std::string_view text, std::size_t& value) {
    if (text.starts_with('+')) text.remove_prefix(1);
    return !text.empty() && text.front() != '+' && text.front() != '-' && ParseCount(text, value);
}

// The Jaro-Winkler similarity of two words (Winkler, "String Comparator Metrics and Enhanced
// Decision Rules in the Fellegi-Sunter Model of Record Linkage", 1990): 1 for the same, 0 for
// nothing in common; a common start of up to four characters counts extra.
double JaroWinkler(std::string_view a, std::string_view b) {
    if (a.empty() && b.empty()) return 1;
    const std::size_t window = std::max(a.size(), b.size()) / 2;
    std::vector<bool> takenA(a.size()), takenB(b.size());
    std::size_t matches = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = i > window ? i - window + 1 : 0; j < std::min(b.size(), i + window);
             ++j)
            if (!takenB[j] && a[i] == b[j]) {
                takenA[i] = takenB[j] = true;
                ++matches;
                break;
            }
    if (matches == 0) return 0;
    std::size_t outOfOrder = 0;
    for (std::size_t i = 0, j = 0; i < a.size(); ++i) {
        if (!takenA[i]) continue;
        while (!takenB[j]) ++j;
        outOfOrder += a[i] != b[j++] ? 1 : 0;
    }
    const double m = static_cast<double>(matches);
    const double jaro = (m / static_cast<double>(a.size()) + m / static_cast<double>(b.size()) +
                         (m - static_cast<double>(outOfOrder / 2)) / m) /
                        3;
    std::size_t prefix = 0;
    while (prefix < 4 && prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
    return jaro + 0.1 * static_cast<double>(prefix) * (1 - jaro);
}

// b3sum's command line: lengths in bytes, its own flags, and its complaints as it words them,
// their usage line naming the arguments given so far (in name order; --keyed wants files).
ParsedCommandLine ParseB3sum(int argc, char* const* args) {
    Options options;
    options.personality = Personality::B3sum;
    options.algorithms = {Algorithm::Blake3};
    options.algorithmsChosen = true;
    options.jobs = DefaultJobs();
    std::vector<const B3Argument*> used;  // as given
    const auto usage = [&](const B3Argument* also) {
        std::vector<const B3Argument*> shown = used;
        const auto show = [&](const B3Argument* argument) {
            if (std::find(shown.begin(), shown.end(), argument) == shown.end())
                shown.push_back(argument);
        };
        if (also != nullptr) show(also);
        // --quiet wants --check.
        for (const B3Argument* argument : std::vector(shown))
            if (argument->name == "quiet") show(B3Named("check"));
        std::sort(shown.begin(), shown.end());
        std::string line = "b3sum";
        if (shown.empty()) line += " [FLAGS] [OPTIONS] [FILE]...";
        for (const B3Argument* argument : shown)
            if (argument->name == "keyed") line += " <FILE>...";
        for (const B3Argument* argument : shown) line += " " + B3Shown(*argument);
        return "\n\nUSAGE:\n    " + line + "\n\nFor more information try --help\n";
    };
    // An unknown long name like a known one is told that one's name (b3sum colours it always).
    const auto unexpected = [&](std::string_view argument) {
        const B3Argument* like = nullptr;
        double best = 0.8;
        for (const B3Argument& a : kB3Arguments) {
            const double similar =
                argument.starts_with("--") ? JaroWinkler(argument.substr(2), a.name) : 0;
            if (similar > best) {
                best = similar;
                like = &a;
            }
        }
        const std::string hint = like == nullptr ? ""
                                                 : "\n\tDid you mean \x1b[32m--\x1b[0m\x1b[32m" +
                                                       std::string(like->name) + "\x1b[0m?";
        return FailAsIs("error: Found argument '" + std::string(argument) +
                        "' which wasn't expected, or isn't valid in this context" + hint +
                        usage(like));
    };
    std::optional<std::string> length, threads;
    bool operandsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = args[i];
        if (operandsOnly || arg == "-" || !arg.starts_with('-')) {
            options.files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            operandsOnly = true;
            continue;
        }
        // The arguments this one holds: a long one, or a cluster of short ones.
        for (std::size_t at = 1; at < arg.size();) {
            const B3Argument* found = nullptr;
            std::optional<std::string_view> attached;  // a value in the same word
            if (arg[1] == '-') {
                const std::string_view name = arg.substr(2, arg.find('=') - 2);
                found = B3Named(name);
                if (found == nullptr) return unexpected(arg.substr(0, 2 + name.size()));
                if (arg.find('=') != std::string_view::npos)
                    attached = arg.substr(arg.find('=') + 1);
                at = arg.size();
            } else {
                for (const B3Argument& a : kB3Arguments)
                    if (a.shortName == arg[at]) found = &a;
                if (found == nullptr) return unexpected("-" + std::string(1, arg[at]));
                ++at;
                if (!found->value.empty() && at < arg.size()) {
                    attached = arg.substr(at + (arg[at] == '=' ? 1 : 0));
                    at = arg.size();
                }
            }
            if (std::find(used.begin(), used.end(), found) != used.end())
                return FailAsIs("error: The argument '" + B3Shown(*found) +
                                "' was provided more than once, but cannot be used multiple times" +
                                usage(nullptr));
            used.push_back(found);
            if (found->name == "help") return Only(Mode::Help);
            if (found->name == "version") return Only(Mode::Version);
            if (found->value.empty()) {
                if (found->name == "check") options.mode = Mode::Check;
                if (found->name == "keyed") options.keyed = true;
                if (found->name == "no-names") options.noNames = true;
                if (found->name == "quiet") options.quiet = true;
                if (found->name == "raw") options.encoding = DigestEncoding::Raw;
                // --no-mmap: the file is mapped only where that costs less than reading, either
                // way.
                continue;
            }
            std::string value;
            if (attached) {
                value = *attached;
            } else if (i + 1 < argc && (args[i + 1][0] != '-' || args[i + 1] == std::string("-"))) {
                value = args[++i];
            } else if (i + 1 < argc && !std::string_view(args[i + 1]).starts_with("--")) {
                return unexpected(std::string_view(args[i + 1]).substr(0, 2));
            } else {
                return FailAsIs("error: The argument '" + B3Shown(*found) +
                                "' requires a value but none was supplied" + usage(nullptr));
            }
            if (found->name == "derive-key") options.deriveKeyContext = value;
            if (found->name == "length") length = value;
            if (found->name == "num-threads") threads = value;
        }
    }
    // What only writes sums cannot go with --check. Of several, b3sum names one (not always the
    // same): here the first by name.
    const auto sumsOnly =
        std::find_if(std::begin(kB3Arguments), std::end(kB3Arguments), [&](const B3Argument& a) {
            return std::find(used.begin(), used.end(), &a) != used.end() &&
                   (a.name == "derive-key" || a.name == "keyed" || a.name == "length" ||
                    a.name == "no-names" || a.name == "raw");
        });
    if (options.mode == Mode::Check && sumsOnly != std::end(kB3Arguments))
        return FailAsIs("error: The argument '" + B3Shown(*sumsOnly) +
                        "' cannot be used with '--check'" + usage(nullptr));
    if (options.keyed && options.deriveKeyContext)
        return FailAsIs("error: The argument '--keyed' cannot be used with '" +
                        B3Shown(*B3Named("derive-key")) + "'" + usage(nullptr));
    if (options.quiet && options.mode != Mode::Check)
        return FailAsIs("error: The following required arguments were not provided:\n    --check" +
                        usage(nullptr));
    if (options.encoding == DigestEncoding::Raw && options.files.size() > 1)
        return FailAsIs("Error: Only one filename can be provided when using --raw\n");
    if (threads) {
        std::size_t count = 0;
        if (!ParseB3Count(*threads, count)) {
            // The reason as Rust's integer parsing gives it.
            const std::string_view digits =
                std::string_view(*threads).substr(threads->starts_with('+') ? 1 : 0);
            const bool allDigits =
                !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
            return FailAsIs(std::string("Error: Failed to parse num threads.\n\nCaused by:\n    ") +
                            (digits.empty() ? "cannot parse integer from empty string"
                             : allDigits    ? "number too large to fit in target type"
                                            : "invalid digit found in string") +
                            "\n");
        }
        // 0 leaves the choice to us, as it leaves it to the environment there.
        if (count != 0)
            options.jobs = static_cast<unsigned>(std::min<std::size_t>(count, MaxJobs()));
    }
    if (length) {
        if (!ParseB3Count(*length, options.digestBytes)) {
            options.lengthUnparsable = true;  // said of each file, once it is open
            options.digestBytes = 0;
        } else if (options.digestBytes > kMaxXofBytes) {
            return FailAsIs("error: Invalid value for '--length <LEN>': at most " +
                            std::to_string(kMaxXofBytes) + " bytes\n");
        } else if (options.digestBytes == 0) {
            options.noDigest = true;
        }
    }
    ParsedCommandLine result;
    result.options = std::move(options);
    return result;
}

// xxhsum's command line: -H picks the algorithm, --tag the BSD lines.
ParsedCommandLine ParseXxhsum(const Invocation& invocation, int argc, char* const* args) {
    enum : int { kXxTag = 256, kXxQuiet, kXxStatus, kXxStrict, kXxIgnore, kXxLittle };
    static const option kXxOptions[] = {
        {"check", no_argument, nullptr, 'c'},
        {"tag", no_argument, nullptr, kXxTag},
        {"quiet", no_argument, nullptr, kXxQuiet},
        {"status", no_argument, nullptr, kXxStatus},
        {"strict", no_argument, nullptr, kXxStrict},
        {"warn", no_argument, nullptr, 'w'},
        {"ignore-missing", no_argument, nullptr, kXxIgnore},
        {"little-endian", no_argument, nullptr, kXxLittle},
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'V'},
        {nullptr, 0, nullptr, 0},
    };
    Options options;
    options.personality = Personality::Xxhsum;
    options.algorithms = {*invocation.algorithm};
    options.algorithmsChosen = true;
    options.jobs = DefaultJobs();
    // xxhsum's first line; the usage after it in our words.
    const std::string tryHelp = "Wrong parameters\n\nUsage: " + invocation.programName +
                                " [OPTION]... [FILE]...\nSee " + invocation.programName +
                                " -h for the options.\n";
    // Long options only as written in full: no abbreviations there.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = args[i];
        if (arg == "--") break;
        if (!arg.starts_with("--")) continue;
        const std::string_view name = arg.substr(2, arg.find('=') - 2);
        if (std::none_of(std::begin(kXxOptions), std::end(kXxOptions),
                         [&](const option& o) { return o.name != nullptr && name == o.name; }))
            return FailAsIs(tryHelp);
    }
    optind = 0;
    opterr = 0;
    bool algorithmGiven = false;
    int c;
    // -H alone is -H0; its number is written on to it, and -B's block size too (ignored).
    while ((c = getopt_long(argc, args, "H::B::cwqhV", kXxOptions, nullptr)) != -1) {
        switch (c) {
            case 'B':
                break;
            case 'H': {
                const std::string_view value = optarg != nullptr ? optarg : "0";
                constexpr std::pair<std::string_view, Algorithm> kWidths[] = {
                    {"0", Algorithm::Xxh32},  {"32", Algorithm::Xxh32}, {"1", Algorithm::Xxh64},
                    {"64", Algorithm::Xxh64}, {"2", Algorithm::Xxh128}, {"128", Algorithm::Xxh128},
                    {"3", Algorithm::Xxh3}};
                const auto* width = std::find_if(std::begin(kWidths), std::end(kWidths),
                                                 [&](const auto& w) { return w.first == value; });
                if (width == std::end(kWidths)) return FailAsIs(tryHelp);
                options.algorithms = {width->second};
                algorithmGiven = true;
                break;
            }
            case 'c':
                options.mode = Mode::Check;
                break;
            case kXxTag:
                options.format = LineFormat::Bsd;
                break;
            case 'q':
            case kXxQuiet:
                options.quiet = true;
                break;
            case kXxStatus:
                options.status = true;
                break;
            case kXxStrict:
                options.strict = true;
                break;
            case 'w':
                options.warn = true;
                break;
            case kXxIgnore:
                options.ignoreMissing = true;
                break;
            case kXxLittle:
                return FailAsIs("Error: --little-endian is not supported by this " +
                                invocation.programName + "\n");
            case 'h':
                return Only(Mode::Help);
            case 'V':
                return Only(Mode::Version);
            default:
                return FailAsIs(tryHelp);
        }
    }
    TakeOperands(options, argc, args);
    // In check mode every xxHash width is read, as there; -H narrows it.
    if (options.mode == Mode::Check && !algorithmGiven)
        options.algorithms = {Algorithm::Xxh32, Algorithm::Xxh64, Algorithm::Xxh3,
                              Algorithm::Xxh128};
    ParsedCommandLine result;
    result.options = std::move(options);
    return result;
}

}  // namespace

std::vector<std::string> LongOptionNames() {
    std::vector<std::string> names;
    for (const option& o : kLongOptions)
        if (o.name != nullptr) names.emplace_back(o.name);
    return names;
}

unsigned DefaultJobs() {
    return std::max(1u, std::thread::hardware_concurrency());
}

unsigned MaxJobs() {
    return kJobsPerCore * DefaultJobs();
}

std::optional<std::vector<Algorithm>> ParseAlgorithmList(const std::string& list,
                                                         std::string& bad) {
    std::vector<Algorithm> algorithms;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        const std::string item = list.substr(start, comma - start);
        const std::optional<Algorithm> algorithm = ParseAlgorithm(item);
        if (!algorithm) {
            bad = item;
            return std::nullopt;
        }
        AddUnique(algorithms, *algorithm);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return algorithms;
}

ParsedCommandLine ParseCommandLine(const Invocation& invocation, int argc, char* const* argv) {
    // getopt names the program by argv[0] in its messages; give it the name we answer to.
    std::vector<char*> args(argv, argv + argc);
    std::string programName = invocation.displayName;
    if (args.empty()) args.push_back(nullptr);
    args[0] = programName.data();
    std::vector<std::string> expanded;
    if (invocation.coreutilsName) {
        std::string ambiguous;
        expanded = ExpandCoreutilsAbbreviations(args, CoreutilsOptionsOf(invocation.programName),
                                                ambiguous);
        if (!ambiguous.empty()) return Fail(std::move(ambiguous));
        for (std::size_t i = 1; i < args.size(); ++i) args[i] = expanded[i].data();
    }
    args.push_back(nullptr);
    if (invocation.personality == Personality::B3sum) return ParseB3sum(argc, args.data());
    if (invocation.personality == Personality::Xxhsum)
        return ParseXxhsum(invocation, argc, args.data());

    Options options;
    options.jobs = DefaultJobs();
    options.personality = invocation.personality;
    const bool cksum = invocation.personality == Personality::Cksum;
    std::string notice;
    bool all = false;
    std::optional<std::string> length;       // -l as given, in bits
    std::optional<CksumChoice> cksumChoice;  // cksum's -a
    optind = 0;  // full re-initialisation, so the parser can run more than once
    opterr = 1;
    int c;
    while ((c = getopt_long(argc, args.data(), "a:s:btzrLcwj:hl:", kLongOptions, nullptr)) != -1) {
        // cksum has no binary or text mode, and says nothing but where its help is.
        if (cksum && (c == 'b' || c == 't')) return {};
        switch (c) {
            case 'a': {
                if (cksum) {
                    const auto* choice =
                        std::find_if(std::begin(kCksumChoices), std::end(kCksumChoices),
                                     [&](const CksumChoice& k) { return k.name == optarg; });
                    if (choice == std::end(kCksumChoices))
                        return Fail(InvalidCksumAlgorithm(optarg));
                    cksumChoice = *choice;
                    break;
                }
                std::string bad;
                const auto list = ParseAlgorithmList(optarg, bad);
                if (!list) return Fail(InvalidAlgorithm(bad));
                for (Algorithm a : *list) AddUnique(options.algorithms, a);
                break;
            }
            case kAll:
                all = true;
                break;
            case 's':
                options.strings.emplace_back(optarg);
                break;
            case 'b':
                options.fileMode = FileMode::Binary;
                break;
            case 't':
                options.fileMode = FileMode::Text;
                break;
            case kTag:
                // As in the coreutils tools, only a --text after --tag conflicts with it.
                options.format = LineFormat::Bsd;
                if (options.fileMode == FileMode::Text) options.fileMode = FileMode::Unset;
                break;
            case kUntagged:
                options.format = LineFormat::Gnu;
                break;
            case kSfv:
                options.format = LineFormat::Sfv;
                break;
            case 'z':
                options.zero = true;
                break;
            case 'r':
                options.recursive = true;
                break;
            case 'L':
                options.follow = true;
                break;
            case 'c':
                options.mode = Mode::Check;
                break;
            // --quiet, --status and --warn override one another: the last one counts.
            case kQuiet:
                options.quiet = true;
                options.status = options.warn = false;
                break;
            case kStatus:
                options.status = true;
                options.quiet = options.warn = false;
                break;
            case 'w':
                options.warn = true;
                options.quiet = options.status = false;
                break;
            case kIgnoreMissing:
                options.ignoreMissing = true;
                break;
            case kStrict:
                options.strict = true;
                break;
            case 'j':
                if (!ParseJobs(optarg, options.jobs))
                    return Fail(std::string("invalid number of jobs: '") + optarg + "'");
                if (options.jobs > MaxJobs()) {
                    notice = "-j " + std::to_string(options.jobs) + " is more than " +
                             std::to_string(kJobsPerCore) + " per core; using " +
                             std::to_string(MaxJobs());
                    options.jobs = MaxJobs();
                } else {
                    notice.clear();
                }
                break;
            case kProgress:
                options.progress = ProgressMode::On;
                break;
            case kNoProgress:
                options.progress = ProgressMode::Off;
                break;
            case 'l': {
                std::size_t bits = 0;
                if (!ParseCount(optarg, bits)) return Refuse("invalid length: " + Quoted(optarg));
                if (bits % 8 != 0)
                    return Refuse("invalid length: " + Quoted(optarg) + "\n" +
                                  invocation.displayName + ": length is not a multiple of 8");
                length = optarg;
                options.digestBytes = bits / 8;
                break;
            }
            case kBase64:
                options.encoding = DigestEncoding::Base64;
                break;
            case kRaw:
                options.encoding = DigestEncoding::Raw;
                break;
            case 'h':
                return Only(Mode::Help);
            case kVersion:
                return Only(Mode::Version);
            default:  // getopt has printed what was wrong
                return {};
        }
    }
    // getopt moved the operands to the end of its own copy of argv.
    for (int i = optind; i < argc; ++i)
        options.files.emplace_back(args[static_cast<std::size_t>(i)]);

    if (!invocation.known && !all && options.algorithms.empty())
        return Fail("the name '" + invocation.programName +
                    "' names no algorithm this program knows; choose one with -a");
    if (cksumChoice) {
        options.classic = cksumChoice->classic;
        if (cksumChoice->algorithm) options.algorithms = {*cksumChoice->algorithm};
    } else if (cksum && options.mode == Mode::Sum) {
        options.classic = ClassicSum::Crc;
    }
    const bool family =
        cksumChoice && cksumChoice->classic == ClassicSum::None && !cksumChoice->algorithm;
    options.algorithmsChosen = all || !options.algorithms.empty() || invocation.algorithm || family;
    options.coreutilsName = invocation.coreutilsName;
    if (all)
        options.algorithms.assign(kAllOptionAlgorithms.begin(), kAllOptionAlgorithms.end());
    else if (options.algorithms.empty() && !family)
        options.algorithms.push_back(invocation.algorithm                ? *invocation.algorithm
                                     : options.format == LineFormat::Sfv ? Algorithm::Crc32
                                                                         : Algorithm::Sha1);
    if (std::string error = CheckLength(options, invocation, cksumChoice, length); !error.empty())
        return Refuse(std::move(error));
    // The classic checksums are no digest algorithms: nothing else is computed.
    if (options.classic != ClassicSum::None) options.algorithms.clear();
    if (cksumChoice && cksumChoice->classic != ClassicSum::None) {
        if (options.mode == Mode::Check)
            return Refuse("--check is not supported with --algorithm={bsd,sysv,crc}");
        if (options.encoding == DigestEncoding::Base64)
            return Refuse("--base64 is not supported with --algorithm={bsd,sysv,crc}");
    }

    if (std::string conflict = Conflict(options, !options.strings.empty()); !conflict.empty())
        return Fail(std::move(conflict));
    // cksum tags its digests unless told not to.
    if (cksum && options.mode == Mode::Sum && options.format == LineFormat::Auto)
        options.format = LineFormat::Bsd;
    ParsedCommandLine result;
    result.options = std::move(options);
    result.notice = std::move(notice);
    return result;
}
