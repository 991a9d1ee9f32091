// The default mode of corvane-sum: hash each text and file and print its digest lines.
#include "sum_command.h"

#include "ordered_jobs.h"
#include "pipeline.h"
#include "sum_file.h"

namespace {

void PrintLines(const Options& options, const Console& console,
                const std::vector<std::string>& digests, std::string_view name) {
    SumLineStyle style;
    if (options.tag || options.algorithms.size() > 1) style.format = SumFormat::Bsd;
    for (std::size_t i = 0; i < digests.size(); ++i) {
        const std::string line = FormatSumLine(options.algorithms[i], digests[i], name, style);
        std::fwrite(line.data(), 1, line.size(), console.out);
    }
}

}  // namespace

int RunSum(const Options& options, const Console& console) {
    // Texts show as "TEXT" in quotes, so they cannot pass for file names.
    for (const std::string& text : options.strings)
        PrintLines(options, console,
                   ComputeDigests(HashInput::Text(text), options.algorithms).digests,
                   "\"" + text + "\"");

    std::vector<std::string> files = options.files;
    if (files.empty() && options.strings.empty()) files.emplace_back("-");

    bool failed = false;
    OrderedJobs jobs;
    jobs.count = files.size();
    jobs.runsInline = [&](std::size_t i) { return files[i] == "-"; };
    jobs.work = [&](std::size_t i) {
        return ComputeDigests(HashInput::Operand(files[i]), options.algorithms);
    };
    jobs.file = [&](std::size_t i) -> std::optional<FileJob> {
        if (files[i] == "-" || options.algorithms.size() != 1) return std::nullopt;
        return FileJob{files[i], options.algorithms[0]};
    };
    jobs.emit = [&](std::size_t i, HashOutcome&& outcome) {
        if (!outcome.ok()) {
            ReportFileError(console, files[i], outcome.error);
            failed = true;
            return;
        }
        PrintLines(options, console, outcome.digests, files[i]);
    };
    RunInOrder(jobs, options.jobs);
    return failed ? 1 : 0;
}
