// The --help and --version texts of corvane-sum. Every option has a line of its own in the
// usual "  -x, --long=ARG  what it does" layout, which manual-page generators read.
#include "help.h"

#include "algorithms.h"
#include "cpu.h"
#include "lane_engine.h"

#ifndef CORVANE_VERSION
#define CORVANE_VERSION "unknown"
#endif

namespace {

// "Algorithms (any case): crc32 gost ...", wrapped to the help's width.
std::string AlgorithmNamesText() {
    constexpr std::size_t kWidth = 79;
    std::string text = "Algorithms (any case):";
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < kAlgorithmCount; ++i) {
        const std::string word =
            std::string(AlgorithmName(kAllAlgorithms[i])) + (i + 1 == kAlgorithmCount ? "." : "");
        if (text.size() - lineStart + 1 + word.size() > kWidth) {
            text += "\n ";
            lineStart = text.size() - 1;
        }
        text += " " + word;
    }
    return text + "\n";
}

}  // namespace

std::string HelpText(const Invocation& invocation) {
    const std::string& name = invocation.programName;
    std::string text = "Usage: " + name + " [OPTION]... [FILE]...\n";
    if (invocation.algorithm)
        text += "Print or check " + std::string(AlgorithmTag(*invocation.algorithm)) +
                " checksums (message digests) of files.\n";
    else
        text += "Print or check checksums and message digests of files (SHA1 by default).\n";
    text +=
        "With no FILE, or when FILE is -, read standard input.\n"
        "\n"
        "  -a, --algorithm=NAME  use NAME; repeat it or list several: -a md5,sha256\n"
        "      --all             use the first nine algorithms below, reading each file once\n"
        "  -s, --string=TEXT     hash TEXT itself (its bytes exactly) before any FILE\n"
        "  -b, --binary          mark digest lines '*' (binary); the bytes read are alike\n"
        "  -t, --text            mark digest lines ' ' (text), the default\n"
        "      --tag             write BSD lines, ALGORITHM (FILE) = DIGEST\n"
        "      --untagged        write DIGEST  FILE lines, even for several algorithms\n"
        "      --sfv             write SFV lines, FILE CRC32 (with no other algorithm)\n"
        "  -z, --zero            end output lines with NUL, not newline; names as they are\n"
        "  -r, --recursive       hash the regular files below each directory FILE\n"
        "  -L, --follow          when recursing, follow symbolic links\n"
        "  -j, --jobs=N          hash N files at once (default 1 per core, at most 4)\n"
        "      --progress        show progress on standard error even off a terminal\n"
        "      --no-progress     never show progress\n"
        "  -c, --check           check the digests listed in the FILEs\n"
        "      --ignore-missing  with -c: skip listed files that do not exist\n"
        "      --quiet           with -c: print only failures, not each OK\n"
        "      --status          with -c: print nothing; the exit status tells\n"
        "      --strict          with -c: fail on lines that are not digest lines\n"
        "  -w, --warn            with -c: warn of bad lines, say what untagged digests are\n"
        "  -h, --help            display this help and exit\n"
        "      --version         output version information and exit\n"
        "\n";
    text += AlgorithmNamesText();
    text +=
        "Started as ALGORITHMsum (md5sum, sha256sum, gost94sum...), that is the default.\n"
        "Several algorithms give BSD lines unless --untagged is given.\n"
        "With -c, lines may be DIGEST  FILE, ALGORITHM (FILE) = DIGEST or SFV; without\n"
        "-a, a DIGEST whose length fits several algorithms (MD5, MD4, MD2) is checked\n"
        "with the one that last matched (first MD5, SHA-256), then with the others.\n"
        "Progress shows on a terminal for files that take more than a second.\n"
        "\n"
        "Exit status: 0 if all went well; 1 if a file could not be read, a check\n"
        "failed, or the command line was wrong.\n";
    return text;
}

std::string VersionText(const Invocation& invocation) {
    return invocation.programName +
           " (Ostrel Corvane) " CORVANE_VERSION "\npaths: " + ActiveCpuPaths() +
           "\nlanes: " + LaneChoicesText() + "\n";
}

std::string TryHelpText(const Invocation& invocation) {
    return "Try '" + invocation.programName + " --help' for more information.\n";
}
