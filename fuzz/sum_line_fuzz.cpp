// Fuzz harness for sum-file lines. Byte 0 chooses the parser's rules, the rest is a sum file read
// line by line: every entry must be well formed (a hex digest of its algorithm's length, a name
// without a zero byte) and read back the same once written out again. The rest is also taken as
// one file name: escaping must undo exactly, and a GNU and a BSD line written for it must give
// it back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sum_file.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "sum line: %s\n", what);
        std::abort();
    }
}

SumLineRules RulesOf(uint8_t choice) {
    SumLineRules rules;
    rules.sfv = (choice & 1) != 0;
    rules.refuseAmbiguous = (choice & 2) != 0;
    rules.anyTag = (choice & 4) != 0;
    // Sometimes only a few algorithms, so that lengths and tags are refused.
    if ((choice & 8) != 0) rules.algorithms = {Algorithm::Md5, Algorithm::Sha256, Algorithm::Crc32};
    return rules;
}

void CheckEntry(const SumEntry& entry, const SumLineRules& rules) {
    Require(!entry.candidates.empty(), "no candidate");
    Require(IsHexDigest(entry.digest), "digest not hex");
    for (Algorithm a : entry.candidates)
        Require(entry.digest.size() == DigestTextLength(a), "digest length");
    Require(entry.name.find('\0') == std::string::npos, "zero byte in a name");

    SumLineStyle style;
    style.format = entry.format;
    const std::string line = FormatSumLine(entry.algorithm(), entry.digest, entry.name, style);
    SumLineParser again(rules);
    const SumLine back = again.Parse(line);
    Require(back.kind == SumLine::Kind::Entry, "written line not read back");
    Require(back.entry.name == entry.name, "name changed");
    Require(back.entry.digest == entry.digest, "digest changed");
    Require(back.entry.algorithm() == entry.algorithm(), "algorithm changed");
}

void CheckName(std::string_view name) {
    if (name.empty() || name.find('\0') != std::string_view::npos) return;
    Require(UnescapeName(EscapeName(name)) == std::string(name), "escape round trip");
    const std::string digest(32, 'a');
    for (SumFormat format : {SumFormat::Gnu, SumFormat::Bsd}) {
        SumLineStyle style;
        style.format = format;
        SumLineRules md5;
        md5.algorithms = {Algorithm::Md5};
        SumLineParser parser(md5);
        const SumLine back = parser.Parse(FormatSumLine(Algorithm::Md5, digest, name, style));
        Require(back.kind == SumLine::Kind::Entry && back.entry.name == name, "name round trip");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const SumLineRules rules = RulesOf(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    SumLineParser parser(rules);
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const SumLine line = parser.Parse(text.substr(at, end - at));
        if (line.kind == SumLine::Kind::Entry) CheckEntry(line.entry, rules);
        at = end + 1;
    }
    CheckName(text);
    return 0;
}
