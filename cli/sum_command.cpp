// The default mode of corvane-sum: texts first, then the files of the operands (walked when
// recursing), each input's lines written as soon as it and every input before it are done.
// Started as cksum with a classic checksum, the inputs go through that instead of the digest
// engines; as b3sum in its keyed or key-derivation mode, through BLAKE3 in that mode.
#include "sum_command.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "blake3_mode.h"
#include "digest_text.h"
#include "escape.h"
#include "file_walk.h"
#include "many_files.h"
#include "pipeline.h"
#include "progress.h"
#include "sum_format.h"

namespace {

// Standard input as xxhsum names it in its lines; every other tool writes "-".
std::string ShownName(const Options& options, const std::string& path) {
    return options.personality == Personality::Xxhsum && path == "-" ? "stdin" : path;
}

// An errno as b3sum words it: its text, then its number.
std::string WithErrorNumber(int error) {
    return FileErrorText(error) + " (os error " + std::to_string(error) + ")";
}

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

    void Print(std::vector<std::string> digests, const std::string& name) {
        if (options.noDigest)
            for (std::string& digest : digests) digest.clear();
        if (options.encoding == DigestEncoding::Raw) {
            std::string bytes;
            for (const std::string& digest : digests) bytes += HexToBytes(digest);
            console.Write(bytes);
            return;
        }
        console.Write(SumLines(style, options.algorithms, digests, ShownName(options, name)));
    }

    void ReportFile(const std::string& path, int error) {
        if (options.personality == Personality::B3sum && error > 0)
            console.Report(path + ": " + WithErrorNumber(error));
        else
            console.ReportFile(path, error);
    }

    void Emit(WalkEntry& entry, HashOutcome&& outcome) {
        // Swapped for a device or FIFO since the walk saw it: as if the walk had.
        if (entry.inTree && outcome.error == kNotRegularFile) entry.kind = WalkEntry::Kind::Special;
        switch (entry.kind) {
            case WalkEntry::Kind::Special:
                console.Report(QuoteForMessage(entry.path) + ": not a regular file; skipped");
                return;
            case WalkEntry::Kind::Failed:
                ReportFile(entry.path, entry.error);
                failed = true;
                return;
            case WalkEntry::Kind::File:
                break;
        }
        if (!Writable(entry.path)) return;  // not hashed
        if (!outcome.ok()) {
            ReportFile(entry.path, outcome.error);
            failed = true;
            return;
        }
        // b3sum finds its -l unreadable only once it has the file open, and has by then written
        // the backslash that starts an escaped name's line.
        if (options.lengthUnparsable) {
            if (SumLines(style, options.algorithms, {""}, entry.path).starts_with('\\'))
                console.Write("\\");
            console.Report(entry.path + ": Failed to parse length.");
            failed = true;
            return;
        }
        Print(std::move(outcome.digests), entry.path);
    }
};

// b3sum --keyed's key, all of standard input; none, with b3sum's message told, unless it is
// exactly 32 bytes.
std::optional<Blake3Mode> KeyedMode() {
    std::size_t found = 0;
    int error = 0;
    const std::optional<Blake3Mode> mode =
        ReadBlake3Key(*DescriptorSource(kStandardInput), found, error);
    if (mode) return mode;
    const std::string message =
        error != 0   ? WithErrorNumber(error)
        : found > 32 ? "read more than 32 key bytes from stdin"
                     : "expected 32 key bytes from stdin, found " + std::to_string(found);
    (void)WriteAll(STDERR_FILENO, "Error: " + message + "\n");
    return std::nullopt;
}

// cksum's classic checksums: "CRC SIZE NAME", or the BSD sum with its size in KiB blocks, or the
// System V sum in 512-byte blocks; no name for standard input unnamed, names as they are.
std::string ClassicLine(ClassicSum kind, const HashOutcome& sum, const std::string& name,
                        bool named, bool zero) {
    const auto value = static_cast<unsigned>(std::stoul(sum.digests[0], nullptr, 16));
    const uint64_t length = sum.bytesHashed;
    char text[64];
    switch (kind) {
        case ClassicSum::Bsd:
            std::snprintf(text, sizeof text, "%05u %5llu", value,
                          static_cast<unsigned long long>((length + 1023) / 1024));
            break;
        case ClassicSum::Sysv:
            std::snprintf(text, sizeof text, "%u %llu", value,
                          static_cast<unsigned long long>((length + 511) / 512));
            break;
        default:
            std::snprintf(text, sizeof text, "%u %llu", value,
                          static_cast<unsigned long long>(length));
            break;
    }
    return std::string(text) + (named ? " " + name : "") + (zero ? '\0' : '\n');
}

int RunClassic(const Options& options, Console& console) {
    std::vector<std::string> operands = options.files;
    const bool named = !operands.empty();
    if (!named) operands.emplace_back("-");
    bool failed = false;
    for (const std::string& operand : operands) {
        const HashOutcome outcome = ComputeClassicSum(options.classic, HashInput::Operand(operand));
        if (!outcome.ok()) {
            console.ReportFile(operand, outcome.error);
            failed = true;
            continue;
        }
        // Raw, as later cksum releases write it: the value's bytes, most significant first.
        console.Write(options.encoding == DigestEncoding::Raw
                          ? HexToBytes(outcome.digests[0])
                          : ClassicLine(options.classic, outcome, operand, named, options.zero));
    }
    return failed ? 1 : 0;
}

}  // namespace

int RunSum(const Options& options, Console& console) {
    if (options.classic != ClassicSum::None) return RunClassic(options, console);
    // BLAKE3 in the mode b3sum was asked for.
    Blake3Mode mode;
    if (options.keyed) {
        const std::optional<Blake3Mode> keyed = KeyedMode();
        if (!keyed) return 1;
        mode = *keyed;
    } else if (options.deriveKeyContext) {
        mode = Blake3DeriveKeyMode(*options.deriveKeyContext);
    }
    SumRun run{options, console, StyleOf(options)};
    HashControl control;
    control.form = {options.digestBytes, mode};
    // Texts show as "TEXT" in quotes, so they cannot pass for file names.
    for (const std::string& text : options.strings) {
        const std::string name = "\"" + text + "\"";
        if (run.Writable(name))
            run.Print(ComputeDigests(HashInput::Text(text), options.algorithms, control).digests,
                      name);
    }

    std::vector<std::string> operands = options.files;
    if (operands.empty() && options.strings.empty()) operands.emplace_back("-");
    // xxhsum reads standard input for a lone "-" only; among other names it is a file's name.
    if (options.personality == Personality::Xxhsum && operands.size() > 1)
        std::replace(operands.begin(), operands.end(), std::string("-"), std::string("./-"));
    FileWalk walk(std::move(operands), options.recursive, options.follow);
    const auto progress = ProgressFor(options.progress, console, false);
    // b3sum's --num-threads bounds its threads, not only the files hashed at once.
    CoreBudget threads(options.jobs);
    ManyFiles jobs(options.jobs, progress.get());
    if (options.personality == Personality::B3sum) jobs.SetCores(&threads);
    HashInOrder(
        jobs,
        [&]() -> std::optional<std::pair<WalkEntry, FileJob>> {
            std::optional<WalkEntry> entry = walk.Next();
            if (!entry) return std::nullopt;
            FileJob job;
            if (entry->kind == WalkEntry::Kind::File && CanWriteName(run.style, entry->path))
                job = {entry->path, options.algorithms, true,
                       entry->inTree ? FileKinds::RegularOnly : FileKinds::Any, control.form};
            return std::pair{std::move(*entry), std::move(job)};
        },
        [&](WalkEntry& entry, HashOutcome&& outcome) { run.Emit(entry, std::move(outcome)); });
    return run.failed ? 1 : 0;
}
