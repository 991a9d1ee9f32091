// Writes the shared-mime-info package that names checksum lists, from the algorithm table's own
// sum-file names and endings and the endings the sum-file search takes for lists: a file manager
// then knows a list the way the dialog and corvane-sum do, and offers the dialog to open it.
// Usage: make_mime_info OUTPUT.xml
#include <cstdio>
#include <set>
#include <string>
#include <string_view>

#include "algorithms.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_mime_info OUTPUT.xml\n");
        return 2;
    }
    // Sorted and once each, so the file is the same on every build.
    std::set<std::string> globs = {"*SUMS", "*CHECKSUM", "*CHECKSUMS"};  // LooksLikeSumList's
    for (const AlgorithmFacts& row : kAlgorithmTable) {
        AnyWordOf(row.sumFileEndings, [&](std::string_view ending) {
            globs.insert("*" + std::string(ending));
            return false;
        });
        AnyWordOf(row.sumFileNames, [&](std::string_view name) {
            globs.emplace(name);
            return false;
        });
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fputs(R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="text/x-checksum-list">
    <comment>Checksum list</comment>
    <comment xml:lang="de">Prüfsummenliste</comment>
    <comment xml:lang="ru">Список контрольных сумм</comment>
    <sub-class-of type="text/plain"/>
    <generic-icon name="text-x-generic"/>
)",
               out);
    // Globs match in any case unless told otherwise: "sha256sums" and "x.MD5" are lists too.
    for (const std::string& glob : globs)
        std::fprintf(out, "    <glob pattern=\"%s\"/>\n", glob.c_str());
    std::fputs("  </mime-type>\n</mime-info>\n", out);
    return std::fclose(out) == 0 ? 0 : 1;
}
