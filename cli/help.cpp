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

// Under b3sum's and the xxh*sum names: the options those tools take, in our words.
std::string B3sumHelp() {
    return "Usage: b3sum [OPTION]... [FILE]...\n"
           "Print or check BLAKE3 digests, as HEX  NAME lines.\n"
           "With no FILE, or when FILE is -, read standard input.\n"
           "\n"
           "  -l, --length=BYTES      output BYTES bytes of digest (default 32)\n"
           "      --no-names          write the digests alone\n"
           "      --raw               write the digest's bytes (one FILE only)\n"
           "      --keyed             keyed mode: the 32-byte key is all of standard input\n"
           "      --derive-key=CONTEXT  key derivation mode with the context string CONTEXT\n"
           "      --num-threads=N     use at most N threads\n"
           "      --no-mmap           accepted; files are read, never mapped\n"
           "  -c, --check             check the digests listed in the FILEs\n"
           "      --quiet             with -c: print only failures\n"
           "  -h, --help              display this help and exit\n"
           "  -V, --version           output version information and exit\n";
}

std::string XxhsumHelp(const Invocation& invocation) {
    return "Usage: " + invocation.programName +
           " [OPTION]... [FILE]...\n"
           "Print or check xxHash digests (seed 0).\n"
           "With no FILE, or when FILE is -, read standard input.\n"
           "\n"
           "  -H0, -H1, -H2, -H3  XXH32, XXH64, XXH128 or XXH3 (also -H32, -H64, -H128)\n"
           "      --tag           write BSD lines, ALGORITHM (FILE) = DIGEST\n"
           "  -c, --check         check the digests listed in the FILEs\n"
           "  -q, --quiet         with -c: print only failures\n"
           "      --status        with -c: print nothing; the exit status tells\n"
           "      --strict        with -c: fail on lines that are not digest lines\n"
           "  -w, --warn          with -c: warn of bad lines\n"
           "      --ignore-missing  with -c: skip listed files that do not exist\n"
           "  -h, --help          display this help and exit\n"
           "  -V, --version       output version information and exit\n";
}

std::string CksumHelp(const Invocation& invocation) {
    return "Usage: " + invocation.displayName +
           " [OPTION]... [FILE]...\n"
           "Print or check checksums (the POSIX CRC with each input's size by default).\n"
           "With no FILE, or when FILE is -, read standard input.\n"
           "\n"
           "  -a, --algorithm=TYPE  sysv, bsd, crc, md5, sha1, sha224, sha256, sha384, sha512,\n"
           "                        blake2b, sm3; sha2 or sha3 with -l 224, 256, 384 or 512\n"
           "  -l, --length=BITS     blake2b's digest length, a multiple of 8 up to 512\n"
           "      --tag             write BSD lines, ALGORITHM (FILE) = DIGEST (the default)\n"
           "      --untagged        write DIGEST  FILE lines\n"
           "      --base64          write digests in base64\n"
           "      --raw             write the digests' bytes alone\n"
           "  -z, --zero            end output lines with NUL, not newline\n"
           "  -c, --check           check the digests listed in the FILEs\n"
           "      --ignore-missing  with -c: skip listed files that do not exist\n"
           "      --quiet           with -c: print only failures, not each OK\n"
           "      --status          with -c: print nothing; the exit status tells\n"
           "      --strict          with -c: fail on lines that are not digest lines\n"
           "  -w, --warn            with -c: warn of bad lines\n"
           "      --help            display this help and exit\n"
           "      --version         output version information and exit\n";
}

}  // namespace

std::string HelpText(const Invocation& invocation) {
    switch (invocation.personality) {
        case Personality::B3sum:
            return B3sumHelp();
        case Personality::Xxhsum:
            return XxhsumHelp(invocation);
        case Personality::Cksum:
            return CksumHelp(invocation);
        case Personality::Own:
            break;
    }
    const std::string& name = invocation.displayName;
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
        "  -l, --length=BITS     digest length of blake2b (8 to 512) or blake3 (any), in\n"
        "                        bits, a multiple of 8; tags then say it: BLAKE2b-256\n"
        "      --base64          write digests in base64 (-c reads either form)\n"
        "      --raw             write the digests' bytes alone, no names or line ends\n"
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
        "Started as ALGORITHMsum (md5sum, sha224sum, gost94sum...), that is the default.\n"
        "Started as cksum, b2sum, b3sum, xxhsum, xxh32sum, xxh64sum or xxh128sum, it\n"
        "takes that tool's options and writes its lines; see --help under that name.\n"
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
    return "Try '" + invocation.displayName + " --help' for more information.\n";
}
