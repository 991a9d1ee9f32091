// Check mode: each listed file is hashed with the algorithm of its line and compared.
#include "check_command.h"

#include <strings.h>

#include <cerrno>
#include <cstdlib>

#include "escape.h"
#include "ordered_jobs.h"
#include "pipeline.h"
#include "sum_file.h"

namespace {

struct Record {
    unsigned long lineNumber = 0;
    SumLine line;
};

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

// Reads every line of the sums file; `readError` is errno when reading stopped early.
std::vector<Record> ReadSumsFile(std::FILE* file, bool isStdin, SumLineParser& parser,
                                 int& readError) {
    std::vector<Record> records;
    char* buffer = nullptr;
    std::size_t capacity = 0;
    unsigned long number = 0;
    readError = 0;
    while (true) {
        errno = 0;
        const ssize_t length = getline(&buffer, &capacity, file);
        if (length < 0) {
            if (std::ferror(file)) readError = errno ? errno : EIO;
            break;
        }
        Record record;
        record.lineNumber = ++number;
        record.line = parser.Parse(std::string_view(buffer, static_cast<std::size_t>(length)));
        // With the sums on standard input, "-" cannot also be a file to check.
        if (record.line.kind == SumLine::Kind::Entry && isStdin && record.line.entry.name == "-")
            record.line.kind = SumLine::Kind::Malformed;
        if (record.line.kind != SumLine::Kind::Ignored) records.push_back(std::move(record));
    }
    std::free(buffer);
    return records;
}

void PrintStatus(const Console& console, const std::string& name, const char* status) {
    const bool escape = CheckNameNeedsEscape(name);
    std::fprintf(console.out, "%s%s: %s\n", escape ? "\\" : "",
                 (escape ? EscapeName(name) : name).c_str(), status);
}

bool CheckOneFile(const Options& options, const Console& console, const std::string& sumsName,
                  SumLineParser& parser) {
    const bool isStdin = sumsName == "-";
    std::FILE* file = isStdin ? stdin : std::fopen(sumsName.c_str(), "r");
    if (file == nullptr) {
        ReportFileError(console, sumsName, errno);
        return false;
    }
    int readError = 0;
    const std::vector<Record> records = ReadSumsFile(file, isStdin, parser, readError);
    if (isStdin)
        std::clearerr(file);
    else
        std::fclose(file);

    const std::string typeName = options.algorithms.size() == 1
                                     ? std::string(AlgorithmTag(options.algorithms[0])) + " "
                                     : std::string();
    Tally tally;
    OrderedJobs jobs;
    jobs.count = records.size();
    jobs.runsInline = [&](std::size_t i) {
        return records[i].line.kind != SumLine::Kind::Entry || records[i].line.entry.name == "-";
    };
    jobs.work = [&](std::size_t i) {
        const SumLine& line = records[i].line;
        if (line.kind != SumLine::Kind::Entry) return HashOutcome{};
        const Algorithm algorithm[] = {line.entry.algorithm()};
        return ComputeDigests(HashInput::Operand(line.entry.name), algorithm);
    };
    jobs.file = [&](std::size_t i) -> std::optional<FileJob> {
        const SumLine& line = records[i].line;
        if (line.kind != SumLine::Kind::Entry || line.entry.name == "-") return std::nullopt;
        return FileJob{line.entry.name, line.entry.algorithm()};
    };
    jobs.emit = [&](std::size_t i, HashOutcome&& outcome) {
        const Record& record = records[i];
        if (record.line.kind != SumLine::Kind::Entry) {
            ++tally.malformed;
            if (options.warn)
                ReportMessage(console, QuoteForMessage(sumsName) + ": " +
                                           std::to_string(record.lineNumber) +
                                           ": improperly formatted " + typeName + "checksum line");
            return;
        }
        tally.anyWellFormed = true;
        const SumEntry& entry = record.line.entry;
        if (!outcome.ok()) {
            if (options.ignoreMissing && outcome.status == HashStatus::NotFound) return;
            ReportFileError(console, entry.name, outcome.error);
            ++tally.unreadable;
            if (!options.status) PrintStatus(console, entry.name, "FAILED open or read");
            return;
        }
        const bool match = strcasecmp(outcome.digests[0].c_str(), entry.digest.c_str()) == 0;
        if (match)
            tally.anyMatched = true;
        else
            ++tally.mismatched;
        if (options.status) return;
        if (!match)
            PrintStatus(console, entry.name, "FAILED");
        else if (!options.quiet)
            PrintStatus(console, entry.name, "OK");
    };
    RunInOrder(jobs, options.jobs);

    if (readError != 0) {
        ReportFileError(console, sumsName, readError);
        return false;
    }
    if (!tally.anyWellFormed) {
        ReportMessage(console,
                      QuoteForMessage(sumsName) + ": no properly formatted checksum lines found");
        return false;
    }
    if (!options.status) {
        if (tally.malformed != 0)
            ReportMessage(console, Plural(tally.malformed, "line is improperly formatted",
                                          "lines are improperly formatted"));
        if (tally.unreadable != 0)
            ReportMessage(console, Plural(tally.unreadable, "listed file could not be read",
                                          "listed files could not be read"));
        if (tally.mismatched != 0)
            ReportMessage(console, Plural(tally.mismatched, "computed checksum did NOT match",
                                          "computed checksums did NOT match"));
        if (options.ignoreMissing && !tally.anyMatched)
            ReportMessage(console, QuoteForMessage(sumsName) + ": no file was verified");
    }
    return tally.anyMatched && tally.mismatched == 0 && tally.unreadable == 0 &&
           (!options.strict || tally.malformed == 0);
}

}  // namespace

int RunCheck(const Options& options, const Console& console) {
    std::vector<std::string> sumsFiles = options.files;
    if (sumsFiles.empty()) sumsFiles.emplace_back("-");
    SumLineRules rules;
    rules.algorithms = options.algorithms;
    rules.anyTag = !options.algorithmsChosen;
    SumLineParser parser(std::move(rules));
    bool allGood = true;
    for (const std::string& name : sumsFiles)
        allGood = CheckOneFile(options, console, name, parser) && allGood;
    return allGood ? 0 : 1;
}
