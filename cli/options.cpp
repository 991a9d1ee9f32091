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

// The member of the SHA-2 or SHA-3 family of `bits`.
std::optional<Algorithm> FamilyMember(std::string_view family, std::size_t bits) {
    constexpr std::pair<std::size_t, Algorithm> kSha2[] = {{224, Algorithm::Sha224},
                                                           {256, Algorithm::Sha256},
                                                           {384, Algorithm::Sha384},
                                                           {512, Algorithm::Sha512}};
    constexpr std::pair<std::size_t, Algorithm> kSha3[] = {{224, Algorithm::Sha3_224},
                                                           {256, Algorithm::Sha3_256},
                                                           {384, Algorithm::Sha3_384},
                                                           {512, Algorithm::Sha3_512}};
    for (const auto& [width, algorithm] : family == "sha2" ? kSha2 : kSha3)
        if (width == bits) return algorithm;
    return std::nullopt;
}

// -l against the algorithms it was given with; for cksum's -a sha2 and sha3, the member it picks.
std::string CheckLength(Options& options, const Invocation& invocation,
                        const std::optional<CksumChoice>& choice,
                        const std::optional<std::string>& length) {
    const std::string& program = invocation.programName;
    const bool cksum = invocation.personality == Personality::Cksum;
    if (choice && choice->classic == ClassicSum::None && !choice->algorithm) {
        if (!length || options.digestBytes == 0)
            return "--algorithm=" + std::string(choice->name) +
                   " requires specifying --length 224, 256, 384, or 512";
        const std::optional<Algorithm> member = FamilyMember(choice->name, 8 * options.digestBytes);
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

// b3sum's command line: lengths in bytes, its own flags, its own way of complaining.
ParsedCommandLine ParseB3sum(int argc, char* const* args) {
    enum : int { kKeyed = 256, kDeriveKey, kNoMmap, kNoNames, kB3Quiet, kB3Raw, kThreads };
    static const option kB3Options[] = {
        {"check", no_argument, nullptr, 'c'},
        {"help", no_argument, nullptr, 'h'},
        {"keyed", no_argument, nullptr, kKeyed},
        {"no-mmap", no_argument, nullptr, kNoMmap},
        {"no-names", no_argument, nullptr, kNoNames},
        {"quiet", no_argument, nullptr, kB3Quiet},
        {"raw", no_argument, nullptr, kB3Raw},
        {"version", no_argument, nullptr, 'V'},
        {"derive-key", required_argument, nullptr, kDeriveKey},
        {"length", required_argument, nullptr, 'l'},
        {"num-threads", required_argument, nullptr, kThreads},
        {nullptr, 0, nullptr, 0},
    };
    const std::string usage =
        "\n\nUSAGE:\n    b3sum [FLAGS] [OPTIONS] [FILE]...\n\n"
        "For more information try --help\n";
    Options options;
    options.personality = Personality::B3sum;
    options.algorithms = {Algorithm::Blake3};
    options.algorithmsChosen = true;
    options.jobs = DefaultJobs();
    optind = 0;
    opterr = 0;  // the messages are b3sum's, below
    int c;
    while ((c = getopt_long(argc, args, ":chVl:", kB3Options, nullptr)) != -1) {
        switch (c) {
            case 'c':
                options.mode = Mode::Check;
                break;
            case 'h':
                return Only(Mode::Help);
            case 'V':
                return Only(Mode::Version);
            case kKeyed:
                options.keyed = true;
                break;
            case kDeriveKey:
                options.deriveKeyContext = optarg;
                break;
            case kNoMmap:
                break;  // the file is read, never mapped, either way
            case kNoNames:
                options.noNames = true;
                break;
            case kB3Quiet:
                options.quiet = true;
                break;
            case kB3Raw:
                options.encoding = DigestEncoding::Raw;
                break;
            case 'l':
                if (!ParseCount(optarg, options.digestBytes) || options.digestBytes > kMaxXofBytes)
                    return FailAsIs(
                        "error: Invalid value for '--length <LEN>': invalid digit "
                        "found in string\n");
                break;
            case kThreads: {
                std::size_t threads = 0;
                if (!ParseCount(optarg, threads))
                    return FailAsIs(
                        "error: Invalid value for '--num-threads <NUM>': invalid "
                        "digit found in string\n");
                // 0 leaves the choice to us, as it leaves it to the environment there.
                if (threads != 0)
                    options.jobs = static_cast<unsigned>(std::min<std::size_t>(threads, MaxJobs()));
                break;
            }
            case ':':
                return FailAsIs("error: The argument '" + std::string(args[optind - 1]) +
                                "' requires a value but none was supplied" + usage);
            default:
                return FailAsIs("error: Found argument '" + std::string(args[optind - 1]) +
                                "' which wasn't expected, or isn't valid in this context" + usage);
        }
    }
    TakeOperands(options, argc, args);
    if (options.keyed && options.deriveKeyContext)
        return FailAsIs(
            "error: The argument '--keyed' cannot be used with "
            "'--derive-key <CONTEXT>'" +
            usage);
    if (options.quiet && options.mode != Mode::Check)
        return FailAsIs("error: The argument '--quiet' requires '--check'" + usage);
    if (options.encoding == DigestEncoding::Raw && options.files.size() > 1)
        return FailAsIs("Error: Only one filename can be provided when using --raw\n");
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
    const std::string tryHelp =
        "Error: bad usage; see " + invocation.programName + " -h for help\n";
    optind = 0;
    opterr = 0;
    bool algorithmGiven = false;
    int c;
    while ((c = getopt_long(argc, args, "H:cwqhV", kXxOptions, nullptr)) != -1) {
        switch (c) {
            case 'H': {
                const std::string_view value = optarg;
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
    std::string programName = invocation.programName;
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
                                  invocation.programName + ": length is not a multiple of 8");
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
