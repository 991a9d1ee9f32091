// Check mode. Each sums file is read one line at a time and each listed file hashed as its line
// comes, through the job window, so memory stays the same whatever the list's length, and each
// result is out as soon as it is decided. An untagged line whose digest length fits several
// algorithms, when -a did not pick one, is hashed first with the likeliest of them alone (which
// lets a list of MD5 sums run at MD5's speed, in lanes, rather than MD2's), and with the others,
// a read each, only while none matches. What cannot be read twice (a pipe, standard input) is
// hashed with all of them in one read.
#include "check_command.h"

#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "escape.h"
#include "ordered_jobs.h"
#include "pipeline.h"
#include "sum_file.h"

namespace {

struct Record {
    unsigned long lineNumber = 0;
    SumLine line;
    std::optional<Algorithm> guess;  // the one candidate of several hashed first
};

// Which of several candidates to try first: the one that last matched a digest of that length,
// else the first listed (the commonest and cheapest: MD5, SHA-256).
class Guesses {
public:
    struct Guess {
        Algorithm algorithm;
        bool matchedBefore;
    };
    Guess For(std::span<const Algorithm> candidates) const {
        for (const Algorithm algorithm : matched)
            if (std::find(candidates.begin(), candidates.end(), algorithm) != candidates.end())
                return {algorithm, true};
        return {candidates.front(), false};
    }
    void Matched(Algorithm algorithm) {
        std::erase_if(matched, [&](Algorithm a) {
            return DigestTextLength(a) == DigestTextLength(algorithm);
        });
        matched.push_back(algorithm);
    }

private:
    std::vector<Algorithm> matched;  // at most one per digest length
};

bool SameDigest(const std::string& computed, const std::string& listed) {
    return strcasecmp(computed.c_str(), listed.c_str()) == 0;
}

bool RegularFile(const std::string& path) {
    return path != "-" && RegularFileSize(path).has_value();
}

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

void PrintStatus(Console& console, const std::string& name, const char* status) {
    const bool escape = CheckNameNeedsEscape(name);
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

bool CheckOneFile(const Options& options, Console& console, OrderedJobs& jobs,
                  const std::string& sumsName, SumLineParser& lines) {
    const bool isStdin = sumsName == "-";
    int openError = 0;
    const std::unique_ptr<ByteSource> file =
        isStdin ? DescriptorSource(kStandardInput) : OpenFileSource(sumsName, openError);
    if (!file) {
        console.ReportFile(sumsName, openError);
        return false;
    }
    // Named in messages as the coreutils tools name it.
    const std::string shownName = QuoteForMessage(isStdin ? "standard input" : sumsName);
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
    Guesses guesses;
    SumFileRules fileRules;
    fileRules.sfvAllowed = Selected(options, Algorithm::Crc32);
    // As the coreutils tools read them, their armor lines are malformed.
    fileRules.signedWrapper = !options.coreutilsName;
    SumFileReader reader(*file, lines, fileRules);
    const auto next = [&]() -> std::optional<std::pair<Record, FileJob>> {
        std::optional<NumberedSumLine> read = reader.Next();
        if (!read) return std::nullopt;
        std::optional<Record> record = Record{read->number, std::move(read->line), {}};
        // With the sums on standard input, "-" cannot also be a file to check.
        if (record->line.kind == SumLine::Kind::Entry && isStdin && record->line.entry.name == "-")
            record->line.kind = SumLine::Kind::Malformed;
        FileJob job;
        if (record->line.kind == SumLine::Kind::Entry) {
            const SumEntry& entry = record->line.entry;
            job = {entry.name, entry.candidates};
            if (entry.candidates.size() > 1 && RegularFile(entry.name)) {
                const Guesses::Guess guess = guesses.For(entry.candidates);
                record->guess = guess.algorithm;
                job.algorithms = {guess.algorithm};
                // Read again for the other candidates: it must stay what it was looked up as.
                job.kinds = FileKinds::RegularOnly;
                // Until a guess has matched, a few files on their own let it be learnt before a
                // whole batch of lanes goes by a wrong one and each file waits for a second read.
                job.mayShareLanes = guess.matchedBefore;
            }
        }
        return std::pair{std::move(*record), std::move(job)};
    };
    const auto emit = [&](const Record& record, HashOutcome&& outcome) {
        const std::string where = shownName + ": " + std::to_string(record.lineNumber) + ": ";
        if (record.line.kind != SumLine::Kind::Entry) {
            ++tally.malformed;
            if (options.warn)
                console.Report(where + "improperly formatted " + TypeName(options, record.line) +
                               "checksum line");
            return;
        }
        tally.anyWellFormed = true;
        const SumEntry& entry = record.line.entry;
        std::vector<Algorithm> computed = entry.candidates;
        if (record.guess) {
            // Not the likeliest: the others one at a time, cheapest first, so that a list of
            // MD4 sums never waits for MD2.
            computed = {*record.guess};
            for (const Algorithm other : entry.candidates) {
                if (!outcome.ok() || SameDigest(outcome.digests[0], entry.digest)) break;
                if (other == *record.guess) continue;
                computed = {other};
                outcome =
                    ComputeDigests(HashInput::Path(entry.name, FileKinds::RegularOnly), computed);
            }
        }
        if (!outcome.ok()) {
            if (options.ignoreMissing && outcome.status == HashStatus::NotFound) return;
            console.ReportFile(entry.name, outcome.error);
            ++tally.unreadable;
            if (!options.status) PrintStatus(console, entry.name, "FAILED open or read");
            return;
        }
        std::size_t matched = 0;
        while (matched < outcome.digests.size() &&
               !SameDigest(outcome.digests[matched], entry.digest))
            ++matched;
        const bool match = matched < outcome.digests.size();
        if (match)
            tally.anyMatched = true;
        else
            ++tally.mismatched;
        if (match && entry.candidates.size() > 1) {
            guesses.Matched(computed[matched]);
            if (options.warn)
                console.Report(where + "untagged digest matched as " +
                               std::string(AlgorithmTag(computed[matched])));
        } else if (entry.candidates.size() > 1 && options.warn) {
            std::string tried;
            for (const Algorithm candidate : entry.candidates)
                tried += (tried.empty() ? "" : ", ") + std::string(AlgorithmTag(candidate));
            console.Report(where + "untagged digest matched none of " + tried);
        }
        if (options.status) return;
        if (!match)
            PrintStatus(console, entry.name, "FAILED");
        else if (!options.quiet)
            PrintStatus(console, entry.name, "OK");
    };
    RunInOrder(jobs, next, emit);
    // As the coreutils tools say it, whatever the failure (a folder named as the list among them).
    if (reader.error() != 0) {
        console.Report(shownName + ": read error");
        return false;
    }
    if (!tally.anyWellFormed) {
        console.Report(shownName + ": no properly formatted checksum lines found");
        return false;
    }
    if (!options.status) {
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
    return tally.anyMatched && tally.mismatched == 0 && tally.unreadable == 0 &&
           (!options.strict || tally.malformed == 0);
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
    // One parser for every file: as in the coreutils tools, the first untagged line decides
    // between the usual and the old one-space form for the rest of the run.
    SumLineParser lines(std::move(rules));
    const auto progress = ProgressFor(options.progress, console, options.status);
    OrderedJobs jobs(options.jobs, progress.get());
    bool allGood = true;
    for (const std::string& name : sumsFiles)
        allGood = CheckOneFile(options, console, jobs, name, lines) && allGood;
    return allGood ? 0 : 1;
}
