// The default mode of corvane-sum: texts first, then the files of the operands (walked when
// recursing), each input's lines written as soon as it and every input before it are done.
#include "sum_command.h"

#include "escape.h"
#include "file_walk.h"
#include "many_files.h"
#include "pipeline.h"
#include "progress.h"
#include "sum_format.h"

namespace {

struct SumRun {
    const Options& options;
    Console& console;
    SumLineStyle style;
    bool failed = false;

    bool Writable(const std::string& name) {
        if (CanWriteName(style, name)) return true;
        console.Report(QuoteForMessage(name) + ": an SFV line cannot hold this name");
        failed = true;
        return false;
    }

    void Print(const std::vector<std::string>& digests, const std::string& name) {
        console.Write(SumLines(style, options.algorithms, digests, name));
    }

    void Emit(WalkEntry& entry, HashOutcome&& outcome) {
        // Swapped for a device or FIFO since the walk saw it: as if the walk had.
        if (entry.inTree && outcome.error == kNotRegularFile) entry.kind = WalkEntry::Kind::Special;
        switch (entry.kind) {
            case WalkEntry::Kind::Special:
                console.Report(QuoteForMessage(entry.path) + ": not a regular file; skipped");
                return;
            case WalkEntry::Kind::Failed:
                console.ReportFile(entry.path, entry.error);
                failed = true;
                return;
            case WalkEntry::Kind::File:
                break;
        }
        if (!Writable(entry.path)) return;  // not hashed
        if (!outcome.ok()) {
            console.ReportFile(entry.path, outcome.error);
            failed = true;
            return;
        }
        Print(outcome.digests, entry.path);
    }
};

}  // namespace

int RunSum(const Options& options, Console& console) {
    SumRun run{options, console, StyleOf(options)};
    // Texts show as "TEXT" in quotes, so they cannot pass for file names.
    for (const std::string& text : options.strings) {
        const std::string name = "\"" + text + "\"";
        if (run.Writable(name))
            run.Print(ComputeDigests(HashInput::Text(text), options.algorithms).digests, name);
    }

    std::vector<std::string> operands = options.files;
    if (operands.empty() && options.strings.empty()) operands.emplace_back("-");
    FileWalk walk(std::move(operands), options.recursive, options.follow);
    const auto progress = ProgressFor(options.progress, console, false);
    ManyFiles jobs(options.jobs, progress.get());
    HashInOrder(
        jobs,
        [&]() -> std::optional<std::pair<WalkEntry, FileJob>> {
            std::optional<WalkEntry> entry = walk.Next();
            if (!entry) return std::nullopt;
            FileJob job;
            if (entry->kind == WalkEntry::Kind::File && CanWriteName(run.style, entry->path))
                job = {entry->path, options.algorithms, true,
                       entry->inTree ? FileKinds::RegularOnly : FileKinds::Any};
            return std::pair{std::move(*entry), std::move(job)};
        },
        [&](WalkEntry& entry, HashOutcome&& outcome) { run.Emit(entry, std::move(outcome)); });
    return run.failed ? 1 : 0;
}
