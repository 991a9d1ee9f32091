// Command-line parsing for corvane-sum, with GNU getopt_long so options and messages behave as in
// the coreutils *sum tools.
#include "options.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <thread>

#include "program.h"

namespace {

enum LongOnly : int {
    kAll = 256,
    kTag,
    kQuiet,
    kStatus,
    kIgnoreMissing,
    kStrict,
    kVersion,
};

const option kLongOptions[] = {
    {"algorithm", required_argument, nullptr, 'a'},
    {"all", no_argument, nullptr, kAll},
    {"string", required_argument, nullptr, 's'},
    {"tag", no_argument, nullptr, kTag},
    {"check", no_argument, nullptr, 'c'},
    {"quiet", no_argument, nullptr, kQuiet},
    {"status", no_argument, nullptr, kStatus},
    {"ignore-missing", no_argument, nullptr, kIgnoreMissing},
    {"strict", no_argument, nullptr, kStrict},
    {"warn", no_argument, nullptr, 'w'},
    {"jobs", required_argument, nullptr, 'j'},
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

}  // namespace

unsigned DefaultJobs() {
    return std::max(1u, std::thread::hardware_concurrency());
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

ParsedCommandLine ParseCommandLine(int argc, char* const* argv) {
    // getopt names the program by argv[0] in its messages; give it ours whatever the path.
    std::vector<char*> args(argv, argv + argc);
    std::string programName(kProgramName);
    if (args.empty()) args.push_back(nullptr);
    args[0] = programName.data();
    args.push_back(nullptr);

    Options options;
    options.jobs = DefaultJobs();
    bool all = false;
    optind = 0;  // full re-initialisation, so the parser can run more than once
    opterr = 1;
    int c;
    while ((c = getopt_long(argc, args.data(), "a:s:cwj:h", kLongOptions, nullptr)) != -1) {
        switch (c) {
            case 'a': {
                std::string bad;
                const auto list = ParseAlgorithmList(optarg, bad);
                if (!list) {
                    std::string reason = "invalid argument '" + bad + "' for '--algorithm'\n";
                    reason += "Valid arguments are:";
                    for (Algorithm a : kAllAlgorithms)
                        reason += std::string("\n  - '") + std::string(AlgorithmName(a)) + "'";
                    return Fail(std::move(reason));
                }
                for (Algorithm a : *list) AddUnique(options.algorithms, a);
                options.algorithmsChosen = true;
                break;
            }
            case kAll:
                all = true;
                options.algorithmsChosen = true;
                break;
            case 's':
                options.strings.emplace_back(optarg);
                break;
            case kTag:
                options.tag = true;
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
            case kIgnoreMissing:
                options.ignoreMissing = true;
                break;
            case kStrict:
                options.strict = true;
                break;
            case 'w':
                options.warn = true;
                options.quiet = options.status = false;
                break;
            case 'j':
                if (!ParseJobs(optarg, options.jobs))
                    return Fail(std::string("invalid number of jobs: '") + optarg + "'");
                break;
            case 'h': {
                ParsedCommandLine result;
                result.options = Options{};
                result.options->mode = Mode::Help;
                return result;
            }
            case kVersion: {
                ParsedCommandLine result;
                result.options = Options{};
                result.options->mode = Mode::Version;
                return result;
            }
            default:  // getopt has printed what was wrong
                return {};
        }
    }
    // getopt moved the operands to the end of its own copy of argv.
    for (int i = optind; i < argc; ++i)
        options.files.emplace_back(args[static_cast<std::size_t>(i)]);

    if (all) options.algorithms.assign(kAllAlgorithms.begin(), kAllAlgorithms.end());
    if (options.algorithms.empty()) options.algorithms.push_back(Algorithm::Sha1);

    if (options.mode == Mode::Check) {
        if (options.tag) return Fail("the --tag option is meaningless when verifying checksums");
        if (!options.strings.empty())
            return Fail("the --string option is meaningless when verifying checksums");
    } else {
        const std::pair<bool, const char*> checkOnly[] = {
            {options.quiet, "--quiet"},
            {options.status, "--status"},
            {options.strict, "--strict"},
            {options.warn, "--warn"},
            {options.ignoreMissing, "--ignore-missing"},
        };
        for (const auto& [given, name] : checkOnly)
            if (given)
                return Fail(std::string("the ") + name +
                            " option is meaningful only when verifying checksums");
    }
    ParsedCommandLine result;
    result.options = std::move(options);
    return result;
}
