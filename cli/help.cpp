// The --help and --version texts of corvane-sum.
#include "help.h"

#include "cpu.h"
#include "program.h"

#ifndef CORVANE_VERSION
#define CORVANE_VERSION "unknown"
#endif

void PrintHelp(std::FILE* out) {
    std::fputs(
        "Usage: corvane-sum [OPTION]... [FILE]...\n"
        "Print or check checksums and message digests.\n"
        "With no FILE, or when FILE is -, read standard input.\n"
        "\n"
        "  -a, --algorithm NAME   crc32 gost md2 md4 md5 sha1 sha256 sha384 sha512\n"
        "                         (case-insensitive; repeatable or comma-separated);\n"
        "                         default sha1\n"
        "      --all              all nine algorithms\n"
        "  -s, --string TEXT      hash TEXT (its bytes exactly) instead of files\n"
        "      --tag              BSD-style lines: \"SHA256 (NAME) = DIGEST\"; always used\n"
        "                         when more than one algorithm is selected\n"
        "  -c, --check            read checksums from the FILEs and check them\n"
        "  -j, --jobs N           hash up to N files at once (default: the number of\n"
        "                         cores); output stays in argument order\n"
        "  -h, --help             display this help and exit\n"
        "      --version          output version information and exit\n"
        "\n"
        "The following five options are useful only when verifying checksums:\n"
        "      --ignore-missing   don't fail or report status for missing files\n"
        "      --quiet            don't print OK for each successfully verified file\n"
        "      --status           don't output anything, status code shows success\n"
        "      --strict           exit non-zero for improperly formatted checksum lines\n"
        "  -w, --warn             warn about improperly formatted checksum lines\n"
        "\n"
        "When checking, the input is the output of this program: \"DIGEST  NAME\" lines,\n"
        "whose algorithm comes from -a, or \"TAG (NAME) = DIGEST\" lines, whose tag names\n"
        "it (CRC32, GOST, MD2, MD4, MD5, SHA1, SHA256, SHA384, SHA512).\n"
        "\n"
        "Exit status: 0 if all went well, 1 if a file could not be read or a check\n"
        "failed, 2 for a usage error.\n",
        out);
}

void PrintVersion(std::FILE* out) {
    std::fprintf(out, "%.*s (Ostrel Corvane) %s\n", static_cast<int>(kProgramName.size()),
                 kProgramName.data(), CORVANE_VERSION);
    std::fprintf(out, "paths: %s\n", ActiveCpuPaths().c_str());
}

void PrintTryHelp(std::FILE* err) {
    std::fprintf(err, "Try '%.*s --help' for more information.\n",
                 static_cast<int>(kProgramName.size()), kProgramName.data());
}
