// Check mode: each listed file is hashed with the algorithm of its line and compared.
#include "check_command.h"

#include <strings.h>

#include <cerrno>
#include <cstdlib>

#include "check_line.h"
#include "escape.h"
#include "file_hasher.h"
#include "ordered_jobs.h"

namespace {

struct Record {
    unsigned long lineNumber = 0;
    CheckLine line;
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

// The lines of one sums file, read one at a time; comments and empty lines are passed over.
class SumsReader {
public:
    SumsReader(std::FILE* file, bool isStdin, CheckLineParser& parser)
        : file_(file), isStdin_(isStdin), parser_(parser) {}
    ~SumsReader() { std::free(buffer_); }
    SumsReader(const SumsReader&) = delete;
    SumsReader& operator=(const SumsReader&) = delete;

    std::optional<Record> Next() {
        for (;;) {
            errno = 0;
            const ssize_t length = getline(&buffer_, &capacity_, file_);
            if (length < 0) {
                if (std::ferror(file_)) error_ = errno != 0 ? errno : EIO;
                return std::nullopt;
            }
            Record record;
            record.lineNumber = ++lineNumber_;
            record.line =
                parser_.Parse(std::string_view(buffer_, static_cast<std::size_t>(length)));
            // With the sums on standard input, "-" cannot also be a file to check.
            if (record.line.kind == CheckLine::Kind::Entry && isStdin_ &&
                record.line.entry.name == "-")
                record.line.kind = CheckLine::Kind::Malformed;
            if (record.line.kind != CheckLine::Kind::Ignored) return record;
        }
    }
    int error() const { return error_; }  // errno when reading stopped early

private:
    std::FILE* file_;
    bool isStdin_;
    CheckLineParser& parser_;
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
    unsigned long lineNumber_ = 0;
    int error_ = 0;
};

void PrintStatus(Console& console, const std::string& name, const char* status) {
    const bool escape = CheckNameNeedsEscape(name);
    console.Write((escape ? "\\" + EscapeName(name) : name) + ": " + status + "\n");
}

bool CheckOneFile(const Options& options, Console& console, OrderedJobs& jobs,
                  const std::string& sumsName, CheckLineParser& parser) {
    const bool isStdin = sumsName == "-";
    std::FILE* file = isStdin ? stdin : std::fopen(sumsName.c_str(), "r");
    if (file == nullptr) {
        console.ReportFile(sumsName, errno);
        return false;
    }
    // Named in messages as the coreutils tools name it.
    const std::string shownName = isStdin ? "standard input" : sumsName;
    const std::string typeName = options.algorithms.size() == 1
                                     ? std::string(AlgorithmTag(options.algorithms[0])) + " "
                                     : std::string();
    Tally tally;
    SumsReader reader(file, isStdin, parser);
    const auto next = [&]() -> std::optional<std::pair<Record, FileJob>> {
        std::optional<Record> record = reader.Next();
        if (!record) return std::nullopt;
        FileJob job;
        if (record->line.kind == CheckLine::Kind::Entry)
            job = {record->line.entry.name, {record->line.entry.algorithm}};
        return std::pair{std::move(*record), std::move(job)};
    };
    const auto emit = [&](const Record& record, HashOutcome&& outcome) {
        if (record.line.kind != CheckLine::Kind::Entry) {
            ++tally.malformed;
            if (options.warn)
                console.Report(QuoteForMessage(shownName) + ": " +
                               std::to_string(record.lineNumber) + ": improperly formatted " +
                               typeName + "checksum line");
            return;
        }
        tally.anyWellFormed = true;
        const CheckEntry& entry = record.line.entry;
        if (!outcome.ok()) {
            if (options.ignoreMissing && outcome.missing) return;
            console.ReportFile(entry.name, outcome.error);
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
    RunInOrder(jobs, next, emit);
    const int readError = reader.error();
    if (isStdin)
        std::clearerr(file);
    else
        std::fclose(file);

    if (readError != 0) {
        console.ReportFile(shownName, readError);
        return false;
    }
    if (!tally.anyWellFormed) {
        console.Report(QuoteForMessage(shownName) + ": no properly formatted checksum lines found");
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
            console.Report(QuoteForMessage(shownName) + ": no file was verified");
    }
    return tally.anyMatched && tally.mismatched == 0 && tally.unreadable == 0 &&
           (!options.strict || tally.malformed == 0);
}

}  // namespace

int RunCheck(const Options& options, Console& console) {
    std::vector<std::string> sumsFiles = options.files;
    if (sumsFiles.empty()) sumsFiles.emplace_back("-");
    CheckLineParser parser(options.algorithms, !options.algorithmsChosen);
    OrderedJobs jobs(options.jobs);
    bool allGood = true;
    for (const std::string& name : sumsFiles)
        allGood = CheckOneFile(options, console, jobs, name, parser) && allGood;
    return allGood ? 0 : 1;
}
