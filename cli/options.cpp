// Command-line parsing for corvane-sum, with GNU getopt_long so options, their abbreviations and
// the messages about them behave as in the coreutils *sum tools.
#include "options.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <thread>

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
// them.
constexpr std::string_view kCoreutilsOptions[] = {
    "binary", "check", "ignore-missing", "quiet", "status", "strict",
    "tag",    "text",  "warn",           "zero",  "help",   "version",
};

bool TakesArgument(std::string_view longName) {
    for (const option& o : kLongOptions)
        if (o.name != nullptr && longName == o.name) return o.has_arg == required_argument;
    return false;
}

// Under a coreutils tool's name, an abbreviation of one of its options means that option, as
// there, though our extra options share its beginning ("--stri" is --strict, not also --string).
// What is ambiguous among the tool's own options is refused with its message.
std::vector<std::string> ExpandCoreutilsAbbreviations(const std::vector<char*>& args,
                                                      std::string& ambiguous) {
    std::vector<std::string> out(args.begin(), args.end());
    for (std::size_t i = 1; i < out.size(); ++i) {
        const std::string arg = out[i];
        if (arg == "--") break;
        if (arg.size() > 1 && arg[0] == '-' && arg[1] != '-') {
            // Short options: the rest of the cluster, or else the next argument, is a value.
            const std::size_t valued = arg.find_first_of("asj", 1);
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
        for (std::string_view known : kCoreutilsOptions)
            if (known.starts_with(name)) matches.push_back(known);
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
        expanded = ExpandCoreutilsAbbreviations(args, ambiguous);
        if (!ambiguous.empty()) return Fail(std::move(ambiguous));
        for (std::size_t i = 1; i < args.size(); ++i) args[i] = expanded[i].data();
    }
    args.push_back(nullptr);

    Options options;
    options.jobs = DefaultJobs();
    std::string notice;
    bool all = false;
    optind = 0;  // full re-initialisation, so the parser can run more than once
    opterr = 1;
    int c;
    while ((c = getopt_long(argc, args.data(), "a:s:btzrLcwj:h", kLongOptions, nullptr)) != -1) {
        switch (c) {
            case 'a': {
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
    options.algorithmsChosen = all || !options.algorithms.empty() || invocation.algorithm;
    options.coreutilsName = invocation.coreutilsName;
    if (all)
        options.algorithms.assign(kAllOptionAlgorithms.begin(), kAllOptionAlgorithms.end());
    else if (options.algorithms.empty())
        options.algorithms.push_back(invocation.algorithm                ? *invocation.algorithm
                                     : options.format == LineFormat::Sfv ? Algorithm::Crc32
                                                                         : Algorithm::Sha1);

    if (std::string conflict = Conflict(options, !options.strings.empty()); !conflict.empty())
        return Fail(std::move(conflict));
    ParsedCommandLine result;
    result.options = std::move(options);
    result.notice = std::move(notice);
    return result;
}
