// The default mode of corvane-sum: texts first, then the files of the operands (walked when
// recursing), each input's lines written as soon as it and every input before it are done.
// Started as cksum with a classic checksum, or as b3sum in its keyed or key-derivation mode, the
// inputs go through those instead of the digest engines.
#include "sum_command.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "blake3.h"
#include "blake3_parallel.h"
#include "classic_sums.h"
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
        if (options.encoding == DigestEncoding::Raw) {
            std::string bytes;
            for (const std::string& digest : digests) bytes += HexToBytes(digest);
            console.Write(bytes);
            return;
        }
        console.Write(SumLines(style, options.algorithms, digests, ShownName(options, name)));
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

std::unique_ptr<ByteSource> OpenInput(const FileJob& job, int& error) {
    if (job.path == "-") return DescriptorSource(kStandardInput);
    return OpenFileSource(job.path, error, job.kinds);
}

// Feeds all of `source` to `feed`; the outcome without digests, or why it failed.
template <typename Feed>
HashOutcome ReadAll(ByteSource& source, Feed&& feed) {
    std::vector<uint8_t> buffer(kReadSize);
    HashOutcome outcome;
    for (;;) {
        int error = 0;
        const std::ptrdiff_t got = source.Read(buffer.data(), buffer.size(), error);
        if (got < 0)
            return HashOutcome::Failure(HashStatus::ReadFailed, error, outcome.bytesHashed);
        if (got == 0) return outcome;
        feed(buffer.data(), static_cast<std::size_t>(got));
        outcome.bytesHashed += static_cast<uint64_t>(got);
    }
}

// One input in b3sum's keyed or key-derivation mode, `mode` holding the key or the context: a
// regular file through the tree on the cores -j allows, anything else as it streams.
HashOutcome HashBlake3Mode(const Blake3Context& mode, std::size_t digestBytes, unsigned threads,
                           const FileJob& job) {
    int error = 0;
    const std::unique_ptr<ByteSource> source = OpenInput(job, error);
    if (!source)
        return HashOutcome::Failure(error == ENOENT ? HashStatus::NotFound : HashStatus::OpenFailed,
                                    error, 0);
    Blake3Context context = mode;
    HashOutcome outcome;
    if (const std::optional<uint64_t> size = source->Size(); size && source->ReadsAtOffsets()) {
        const auto result = Blake3UpdateFromSource(
            &context, *source, *size, threads - 1, [](uint64_t) { return true; }, error);
        if (result != Blake3Parallel::Complete)
            return HashOutcome::Failure(HashStatus::ReadFailed, error, 0);
        outcome.bytesHashed = *size;
    } else {
        outcome = ReadAll(*source, [&](const uint8_t* data, std::size_t length) {
            Blake3Update(&context, data, length);
        });
        if (!outcome.ok()) return outcome;
    }
    std::vector<uint8_t> digest(digestBytes != 0 ? digestBytes : kBlake3OutSize);
    Blake3Final(&context, digest.data(), digest.size());
    outcome.digests = {DigestText(digest.data(), digest.size())};
    return outcome;
}

// The 32 raw bytes of b3sum --keyed's key, all of standard input; none, with b3sum's message
// told, when there are not exactly 32.
std::optional<Blake3Context> KeyedMode() {
    std::string key;
    char buffer[64];
    ssize_t got;
    while ((got = read(kStandardInput, buffer, sizeof buffer)) > 0 && key.size() <= kBlake3KeySize)
        key.append(buffer, static_cast<std::size_t>(got));
    if (key.size() != kBlake3KeySize) {
        const std::string found = key.size() > kBlake3KeySize ? "more" : std::to_string(key.size());
        (void)WriteAll(STDERR_FILENO,
                       "Error: expected 32 key bytes from stdin, found " + found + "\n");
        return std::nullopt;
    }
    Blake3Context mode;
    Blake3InitKeyed(&mode, reinterpret_cast<const uint8_t*>(key.data()));
    return mode;
}

// cksum's classic checksums: "CRC SIZE NAME", or the BSD sum with its size in KiB blocks, or the
// System V sum in 512-byte blocks; no name for standard input unnamed, names as they are.
struct ClassicOutcome {
    uint32_t value = 0;
    uint64_t length = 0;
};

std::string ClassicLine(ClassicSum kind, const ClassicOutcome& sum, const std::string& name,
                        bool named, bool zero) {
    char text[64];
    switch (kind) {
        case ClassicSum::Bsd:
            std::snprintf(text, sizeof text, "%05u %5llu", static_cast<unsigned>(sum.value),
                          static_cast<unsigned long long>((sum.length + 1023) / 1024));
            break;
        case ClassicSum::Sysv:
            std::snprintf(text, sizeof text, "%u %llu", static_cast<unsigned>(sum.value),
                          static_cast<unsigned long long>((sum.length + 511) / 512));
            break;
        default:
            std::snprintf(text, sizeof text, "%u %llu", static_cast<unsigned>(sum.value),
                          static_cast<unsigned long long>(sum.length));
            break;
    }
    return std::string(text) + (named ? " " + name : "") + (zero ? '\0' : '\n');
}

// Raw, as later cksum releases write it: the value's bytes, most significant first.
std::string ClassicRaw(ClassicSum kind, uint32_t value) {
    std::string bytes;
    for (int shift = kind == ClassicSum::Crc ? 24 : 8; shift >= 0; shift -= 8)
        bytes += static_cast<char>(value >> shift);
    return bytes;
}

HashOutcome HashClassic(ClassicSum kind, const FileJob& job, ClassicOutcome& sum) {
    int error = 0;
    const std::unique_ptr<ByteSource> source = OpenInput(job, error);
    if (!source)
        return HashOutcome::Failure(error == ENOENT ? HashStatus::NotFound : HashStatus::OpenFailed,
                                    error, 0);
    PosixCrcContext crc;
    BsdSumContext bsd;
    SysvSumContext sysv;
    HashOutcome outcome = ReadAll(*source, [&](const uint8_t* data, std::size_t length) {
        if (kind == ClassicSum::Crc) PosixCrcUpdate(&crc, data, length);
        if (kind == ClassicSum::Bsd) BsdSumUpdate(&bsd, data, length);
        if (kind == ClassicSum::Sysv) SysvSumUpdate(&sysv, data, length);
    });
    sum.length = outcome.bytesHashed;
    sum.value = kind == ClassicSum::Crc   ? PosixCrcFinal(&crc)
                : kind == ClassicSum::Bsd ? bsd.sum
                                          : SysvSumFinal(&sysv);
    return outcome;
}

int RunClassic(const Options& options, Console& console) {
    std::vector<std::string> operands = options.files;
    const bool named = !operands.empty();
    if (!named) operands.emplace_back("-");
    bool failed = false;
    for (const std::string& operand : operands) {
        ClassicOutcome sum;
        const HashOutcome outcome = HashClassic(options.classic, {operand, {}}, sum);
        if (!outcome.ok()) {
            console.ReportFile(operand, outcome.error);
            failed = true;
            continue;
        }
        console.Write(options.encoding == DigestEncoding::Raw
                          ? ClassicRaw(options.classic, sum.value)
                          : ClassicLine(options.classic, sum, operand, named, options.zero));
    }
    return failed ? 1 : 0;
}

}  // namespace

int RunSum(const Options& options, Console& console) {
    if (options.classic != ClassicSum::None) return RunClassic(options, console);
    SumRun run{options, console, StyleOf(options)};
    HashControl control;
    control.digestBytes = options.digestBytes;
    // Texts show as "TEXT" in quotes, so they cannot pass for file names.
    for (const std::string& text : options.strings) {
        const std::string name = "\"" + text + "\"";
        if (run.Writable(name))
            run.Print(ComputeDigests(HashInput::Text(text), options.algorithms, control).digests,
                      name);
    }

    // What hashes each file: the engines, or BLAKE3 in the mode b3sum was asked for.
    JobWork work = HashFileJob;
    std::optional<Blake3Context> mode;
    if (options.keyed) {
        mode = KeyedMode();
        if (!mode) return 1;
    } else if (options.deriveKeyContext) {
        mode.emplace();
        Blake3InitDeriveKey(&*mode, options.deriveKeyContext->data(),
                            options.deriveKeyContext->size());
    }
    if (mode) {
        const unsigned threads = std::max(1u, options.jobs);
        work = [&mode, &options, threads](const FileJob& job, const HashControl&) {
            return HashBlake3Mode(*mode, options.digestBytes, threads, job);
        };
    }

    std::vector<std::string> operands = options.files;
    if (operands.empty() && options.strings.empty()) operands.emplace_back("-");
    // xxhsum reads standard input for a lone "-" only; among other names it is a file's name.
    if (options.personality == Personality::Xxhsum && operands.size() > 1)
        std::replace(operands.begin(), operands.end(), std::string("-"), std::string("./-"));
    FileWalk walk(std::move(operands), options.recursive, options.follow);
    const auto progress = ProgressFor(options.progress, console, false);
    // The keyed modes hash one file at a time, each on every core it may have.
    ManyFiles jobs(mode ? 1 : options.jobs, progress.get(), std::move(work));
    HashInOrder(
        jobs,
        [&]() -> std::optional<std::pair<WalkEntry, FileJob>> {
            std::optional<WalkEntry> entry = walk.Next();
            if (!entry) return std::nullopt;
            FileJob job;
            if (entry->kind == WalkEntry::Kind::File && CanWriteName(run.style, entry->path))
                job = {entry->path, options.algorithms, true,
                       entry->inTree ? FileKinds::RegularOnly : FileKinds::Any,
                       options.digestBytes};
            return std::pair{std::move(*entry), std::move(job)};
        },
        [&](WalkEntry& entry, HashOutcome&& outcome) { run.Emit(entry, std::move(outcome)); });
    return run.failed ? 1 : 0;
}
