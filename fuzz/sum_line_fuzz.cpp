// Fuzz harness for sum-file lines. Byte 0 chooses the parser's rules, the rest is a sum file read
// line by line: every entry must be well formed (a hex digest of its algorithm's length, a name
// without a zero byte) and read back the same once written out again. The rest is also taken as
// one file name: escaping must undo exactly; every line corvane-sum writes for it (GNU with
// either mode marker, BSD, SFV when an SFV line can hold it) must give it back; and its quoted
// form in messages must hold no control character.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "escape.h"
#include "sum_file.h"
#include "sum_format.h"

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
    // A variable-length algorithm's entry may carry a length of its own (a "BLAKE2b-256" tag).
    for (Algorithm a : entry.candidates)
        Require(entry.digest.size() ==
                    2 * (entry.digestBytes != 0 ? entry.digestBytes : DigestLength(a)),
                "digest length");
    Require(entry.name.find('\0') == std::string::npos, "zero byte in a name");

    SumLineStyle style;
    style.format = entry.format;
    style.digestBytes = entry.digestBytes;
    const std::string line = FormatSumLine(entry.algorithm(), entry.digest, entry.name, style);
    SumLineParser again(rules);
    const SumLine back = again.Parse(line);
    Require(back.kind == SumLine::Kind::Entry, "written line not read back");
    Require(back.entry.name == entry.name, "name changed");
    Require(back.entry.digest == entry.digest, "digest changed");
    Require(back.entry.algorithm() == entry.algorithm(), "algorithm changed");
    Require(back.entry.digestBytes == entry.digestBytes, "length changed");
}

void CheckName(std::string_view name) {
    if (name.find('\0') != std::string_view::npos) return;
    for (char c : QuoteForMessage(name))
        Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f, "control character quoted");
    if (name.empty()) return;
    Require(UnescapeName(EscapeName(name)) == std::string(name), "escape round trip");
    const std::string digest(32, 'a');
    const Algorithm md5[] = {Algorithm::Md5};
    const SumLineStyle styles[] = {
        {SumFormat::Gnu, false, false},
        {SumFormat::Gnu, true, false},
        {SumFormat::Bsd, false, false},
        {SumFormat::Sfv, false, false},
    };
    for (const SumLineStyle& style : styles) {
        if (!CanWriteName(style, name)) {
            Require(style.format == SumFormat::Sfv, "only SFV refuses names");
            continue;
        }
        SumLineRules rules;
        rules.algorithms = {Algorithm::Md5};
        rules.sfv = style.format == SumFormat::Sfv;
        // SFV lines are read as CRC-32 lines.
        const std::string written = SumLines(style, md5, {rules.sfv ? "352441c2" : digest}, name);
        const SumLine back = SumLineParser(rules).Parse(written);
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
        const std::string_view written = text.substr(at, end - at);
        const SumLine line = parser.Parse(written);
        // A zero byte ends a name as the coreutils tools read it: what follows is not written
        // back, so only lines without one must round-trip.
        if (line.kind == SumLine::Kind::Entry && written.find('\0') == std::string_view::npos)
            CheckEntry(line.entry, rules);
        at = end + 1;
    }
    CheckName(text);
    return 0;
}
