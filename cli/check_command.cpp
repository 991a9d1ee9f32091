// Check mode: the reports of the list checker (many_files.h), worded and counted as the
// coreutils tools do. Each result is out as soon as it is decided.
#include "check_command.h"

#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "escape.h"
#include "many_files.h"
#include "progress.h"

namespace {

struct Tally {
    unsigned long malformed = 0;
    unsigned long unreadable = 0;
    unsigned long mismatched = 0;
    bool anyWellFormed = false;
    bool anyMatched = false;
};

std::string Plural(unsigned long n, const char* one, const char* many) {
    return "WARNING: " + std::to_string(n) + " " + (n == 1 ? one : many);
}

bool Selected(const Options& options, Algorithm algorithm) {
    return !options.algorithmsChosen ||
           std::find(options.algorithms.begin(), options.algorithms.end(), algorithm) !=
               options.algorithms.end();
}

void PrintStatus(Console& console, const Options& options, const std::string& name,
                 const std::string& status) {
    // xxhsum writes names as they are.
    const bool escape = options.personality != Personality::Xxhsum && CheckNameNeedsEscape(name);
    console.Write((escape ? "\\" + EscapeName(name) : name) + ": " + status + "\n");
}

// The algorithm a malformed line's warning names: the one chosen, as the coreutils tools have it,
// or else the line's own tag when it has one.
std::string TypeName(const Options& options, const SumLine& line) {
    if (options.algorithmsChosen && options.algorithms.size() == 1)
        return std::string(AlgorithmTag(options.algorithms[0])) + " ";
    if (!line.entry.candidates.empty())
        return std::string(AlgorithmTag(line.entry.candidates[0])) + " ";
    return {};
}

// `lastTag`: cksum without -a names a malformed line after the last tag it read in the run (at
// first its default, the CRC).
bool CheckOneFile(const Options& options, Console& console, ManyFiles& jobs,
                  const std::string& sumsName, SumLineParser& lines, std::string& lastTag) {
    const bool isStdin = sumsName == "-";
    int openError = 0;
    const std::unique_ptr<ByteSource> file =
        isStdin ? DescriptorSource(kStandardInput) : OpenFileSource(sumsName, openError);
    if (!file) {
        console.ReportFile(sumsName, openError);
        return false;
    }
    // Named in messages as the coreutils tools name it, or as xxhsum does.
    const std::string shownName = QuoteForMessage(isStdin ? "standard input" : sumsName);
    const std::string xxhsumName = isStdin ? "stdin" : sumsName;
    // A list's name may say what its digests are, unless -a or the program's name has.
    const std::string baseName = sumsName.substr(sumsName.rfind('/') + 1);
    const bool byName = !isStdin && !options.algorithmsChosen;
    if (byName && NamesForeignAlgorithm(baseName)) {
        console.Report(shownName +
                       ": named for an algorithm corvane-sum does not compute; not checked");
        return false;
    }
    lines.SetNamedAlgorithm(byName ? AlgorithmOfSumFileName(baseName) : std::nullopt);
    Tally tally;
    SumFileRules fileRules;
    fileRules.sfvAllowed = Selected(options, Algorithm::Crc32);
    // As the coreutils tools read them, their armor lines are malformed.
    fileRules.signedWrapper = !options.coreutilsName;
    ListChecker checker(jobs, lines);
    const int readError = checker.Check(*file, fileRules, isStdin, [&](const CheckedLine& checked) {
        const std::string where = shownName + ": " + std::to_string(checked.lineNumber) + ": ";
        const bool cksumTypes =
            options.personality == Personality::Cksum && !options.algorithmsChosen;
        if (cksumTypes && !checked.line.entry.candidates.empty())
            lastTag = AlgorithmTag(checked.line.entry.candidates[0]);
        if (checked.state == EntryState::Improper) {
            ++tally.malformed;
            // b3sum tells of each bad line, and fails for it.
            if (options.warn || options.personality == Personality::B3sum)
                console.Report(where + "improperly formatted " +
                               (cksumTypes ? lastTag + " " : TypeName(options, checked.line)) +
                               "checksum line");
            return;
        }
        tally.anyWellFormed = true;
        const SumEntry& entry = checked.line.entry;
        switch (checked.state) {
            case EntryState::Missing:
                if (options.ignoreMissing) return;
                [[fallthrough]];
            case EntryState::Unreadable:
            case EntryState::NotChecked:
                ++tally.unreadable;
                // Each tool in its own words: b3sum on the status line, xxhsum on a line of its
                // own in the report.
                if (options.personality == Personality::B3sum) {
                    if (!options.status)
                        PrintStatus(console, options, entry.name,
                                    "FAILED (" + FileErrorText(checked.error) + " (os error " +
                                        std::to_string(checked.error) + "))");
                } else if (options.personality == Personality::Xxhsum) {
                    if (!options.status)
                        console.Write(xxhsumName + ":" + std::to_string(checked.lineNumber) +
                                      ": Could not open or read '" + entry.name +
                                      "': " + FileErrorText(checked.error) + ".\n");
                } else {
                    console.ReportFile(entry.name, checked.error);
                    if (!options.status)
                        PrintStatus(console, options, entry.name, "FAILED open or read");
                }
                return;
            case EntryState::Ok:
                tally.anyMatched = true;
                break;
            case EntryState::Failed:
                ++tally.mismatched;
                break;
            case EntryState::Improper:
                return;
        }
        const bool match = checked.state == EntryState::Ok;
        if (checked.severalCandidates() && options.warn) {
            if (match) {
                console.Report(where + "untagged digest matched as " +
                               std::string(AlgorithmTag(*checked.algorithm)));
            } else {
                std::string tried;
                for (const Algorithm candidate : entry.candidates)
                    tried += (tried.empty() ? "" : ", ") + std::string(AlgorithmTag(candidate));
                console.Report(where + "untagged digest matched none of " + tried);
            }
        }
        if (options.status) return;
        if (!match)
            PrintStatus(console, options, entry.name, "FAILED");
        else if (!options.quiet)
            PrintStatus(console, options, entry.name, "OK");
    });
    // As the coreutils tools say it, whatever the failure (a folder named as the list among them).
    if (readError != 0) {
        console.Report(shownName + ": read error");
        return false;
    }
    if (!tally.anyWellFormed) {
        if (options.personality == Personality::Xxhsum)
            (void)WriteAll(STDERR_FILENO,
                           xxhsumName + ": no properly formatted xxHash checksum lines found\n");
        else
            console.Report(shownName + ": no properly formatted checksum lines found");
        return false;
    }
    if (options.personality == Personality::B3sum) {
        // b3sum says no more than each file's line.
    } else if (options.personality == Personality::Xxhsum) {
        // xxhsum's summary goes with the report, without a warning's prefix.
        const auto summary = [&](unsigned long n, const char* one, const char* many) {
            if (n != 0 && !options.status)
                console.Write(std::to_string(n) + " " + (n == 1 ? one : many) + "\n");
        };
        summary(tally.malformed, "line is improperly formatted", "lines are improperly formatted");
        summary(tally.unreadable, "listed file could not be read",
                "listed files could not be read");
        summary(tally.mismatched, "computed checksum did NOT match",
                "computed checksums did NOT match");
    } else if (!options.status) {
        if (tally.malformed != 0)
            console.Report(Plural(tally.malformed, "line is improperly formatted",
                                  "lines are improperly formatted"));
        if (tally.unreadable != 0)
            console.Report(Plural(tally.unreadable, "listed file could not be read",
                                  "listed files could not be read"));
        if (tally.mismatched != 0)
            console.Report(Plural(tally.mismatched, "computed checksum did NOT match",
                                  "computed checksums did NOT match"));
        if (options.ignoreMissing && !tally.anyMatched)
            console.Report(shownName + ": no file was verified");
    }
    const bool strict = options.strict || options.personality == Personality::B3sum;
    return tally.anyMatched && tally.mismatched == 0 && tally.unreadable == 0 &&
           (!strict || tally.malformed == 0);
}

}  // namespace

int RunCheck(const Options& options, Console& console) {
    std::vector<std::string> sumsFiles = options.files;
    if (sumsFiles.empty()) sumsFiles.emplace_back("-");
    // Without -a every algorithm may be met, and a digest length that fits several is checked
    // with each of them; with -a only those named count.
    SumLineRules rules;
    if (options.algorithmsChosen) rules.algorithms = options.algorithms;
    rules.anyTag = !options.algorithmsChosen;
    rules.refuseAmbiguous = false;
    rules.exactTags = options.strict;
    rules.anyLength = options.algorithmsChosen;
    // cksum reads tagged lines only, unless -a says what untagged ones hold.
    if (options.personality == Personality::Cksum && !options.algorithmsChosen)
        rules.algorithms.clear();
    // One parser for every file: as in the coreutils tools, the first untagged line decides
    // between the usual and the old one-space form for the rest of the run.
    SumLineParser lines(std::move(rules));
    const auto progress = ProgressFor(options.progress, console, options.status);
    ManyFiles jobs(options.jobs, progress.get());
    bool allGood = true;
    std::string lastTag = "CRC";
    for (const std::string& name : sumsFiles)
        allGood = CheckOneFile(options, console, jobs, name, lines, lastTag) && allGood;
    return allGood ? 0 : 1;
}
