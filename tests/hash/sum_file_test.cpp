// Sum-file lines: writing and reading the GNU, BSD and SFV forms, name escaping, and what the
// coreutils tools refuse (their expected texts were taken from sha256sum 9.1).
#include "sum_file.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const std::string kMd5(32, 'a');
const std::string kSha1(40, 'b');
const std::string kSha256(64, 'c');

SumLineRules Rules(std::vector<Algorithm> algorithms, bool anyTag = true) {
    SumLineRules rules;
    rules.algorithms = std::move(algorithms);
    rules.anyTag = anyTag;
    return rules;
}

std::optional<SumEntry> ParseOne(const std::string& line,
                                 std::vector<Algorithm> algorithms = {Algorithm::Sha1},
                                 bool anyTag = true) {
    SumLineParser parser(Rules(std::move(algorithms), anyTag));
    const SumLine parsed = parser.Parse(line);
    if (parsed.kind != SumLine::Kind::Entry) return std::nullopt;
    return parsed.entry;
}

TEST(SumLine, WellFormedLines) {
    const struct {
        std::string line;
        Algorithm algorithm;
        std::string digest, name;
    } cases[] = {
        {kSha1 + "  file\n", Algorithm::Sha1, kSha1, "file"},
        {kSha1 + " *file", Algorithm::Sha1, kSha1, "file"},
        {kSha1 + "  file\r\n", Algorithm::Sha1, kSha1, "file"},
        {kSha1 + "   lead space ", Algorithm::Sha1, kSha1, " lead space "},
        // The old one-space form, even with a one-character name (md5sum 9.1 reads these too).
        {kSha1 + " a", Algorithm::Sha1, kSha1, "a"},
        {kSha1 + "  ", Algorithm::Sha1, kSha1, " "},
        {kSha1 + " *", Algorithm::Sha1, kSha1, "*"},
        {" \t" + kSha1 + "  f", Algorithm::Sha1, kSha1, "f"},
        {kSha1 + "\t f", Algorithm::Sha1, kSha1, "f"},
        {"\\" + kSha1 + "  a\\nb\\\\c\\r", Algorithm::Sha1, kSha1, "a\nb\\c\r"},
        {std::string(40, 'B') + "  f", Algorithm::Sha1, std::string(40, 'B'), "f"},
        {"MD5 (f (1).txt) = " + kMd5, Algorithm::Md5, kMd5, "f (1).txt"},
        {"SHA256(f) =" + kSha256, Algorithm::Sha256, kSha256, "f"},
        {"\\SHA1 (a\\nb) = " + kSha1, Algorithm::Sha1, kSha1, "a\nb"},
        {"CRC32 (x) = 352441c2", Algorithm::Crc32, "352441c2", "x"},
        {"GOST (x) = " + kSha256, Algorithm::Gost, kSha256, "x"},
        {"GOST94 (x) = " + kSha256, Algorithm::Gost, kSha256, "x"},
        // Padded tags, as rhash writes them.
        {"MD5   (f) = " + kMd5, Algorithm::Md5, kMd5, "f"},
        // A zero byte ends an unescaped name, as in md5sum 9.1.
        {kSha1 + "  a" + std::string(1, '\0') + "b", Algorithm::Sha1, kSha1, "a"},
        {kSha1 + "  " + std::string(1, '\0') + "b", Algorithm::Sha1, kSha1, ""},
        {"MD5 (a" + std::string(1, '\0') + "b) = " + kMd5, Algorithm::Md5, kMd5, "a"},
    };
    for (const auto& c : cases) {
        const auto entry = ParseOne(c.line);
        ASSERT_TRUE(entry) << c.line;
        EXPECT_EQ(entry->algorithm(), c.algorithm) << c.line;
        EXPECT_EQ(entry->digest, c.digest) << c.line;
        EXPECT_EQ(entry->name, c.name) << c.line;
    }
}

// Lengths of variable-length algorithms from their tags ("BLAKE2b-256", as b2sum -l writes) or
// their digests, and base64 digests (--base64; RFC 4648's padding, canonical only) read as hex.
TEST(SumLine, LengthTagsAndBase64Digests) {
    using A = Algorithm;
    const std::string md5 = "900150983cd24fb0d6963f7d28e17f72";  // MD5("abc")
    const std::string md5Base64 = "kAFQmDzST7DWlj99KOF/cg==";
    const struct {
        std::string line;
        std::vector<Algorithm> chosen;  // empty: all, any tag
        std::string digest;             // empty: malformed
        std::size_t digestBytes;
    } cases[] = {
        {"BLAKE2b-256 (f) = " + kSha256, {}, kSha256, 32},
        {"BLAKE2b-512 (f) = " + std::string(128, 'd'), {}, std::string(128, 'd'), 0},
        {"BLAKE2b (f) = " + kSha1, {}, kSha1, 20},
        {"BLAKE3-128 (f) = " + kMd5, {}, kMd5, 16},
        {"BLAKE2b-520 (f) = " + std::string(130, 'd'), {}, "", 0},
        {"BLAKE2b-0 (f) = ", {}, "", 0},
        {"SHA256-128 (f) = " + kMd5, {}, "", 0},
        // Untagged: any length only for a variable-length algorithm chosen alone.
        {kMd5 + "  f", {A::Blake2b}, kMd5, 16},
        {kSha1 + "  f", {A::Blake3}, kSha1, 20},
        {kSha1 + "  f", {A::Blake2b, A::Blake3}, "", 0},
        {kSha1 + "  f", {}, kSha1, 0},
        {"MD5 (f) = " + md5Base64, {}, md5, 0},
        {md5Base64 + "  f", {}, md5, 0},
        {md5Base64 + "  f", {A::Sha1}, "", 0},
        {"MD5 (f) = kAFQmDzST7DWlj99KOF/cg=", {}, "", 0},   // padding cut short
        {"MD5 (f) = kAFQmDzST7DWlj99KOF/ch==", {}, "", 0},  // bits beyond the last byte
        {"MD5 (f) = kAFQmDzST7DWlj99KOF/c===", {}, "", 0},
        {"BLAKE2b-256 (f) = vd2BPGNCOXIxce8/7phXm5SWTjuxyz5CcmLIwGjVIxk=",
         {},
         "bddd813c634239723171ef3fee98579b94964e3bb1cb3e427262c8c068d52319",
         32},
    };
    for (const auto& c : cases) {
        SumLineRules rules;
        if (!c.chosen.empty()) rules = Rules(c.chosen, false);
        rules.anyLength = !c.chosen.empty();
        rules.refuseAmbiguous = false;
        const SumLine parsed = SumLineParser(rules).Parse(c.line);
        if (c.digest.empty()) {
            EXPECT_EQ(parsed.kind, SumLine::Kind::Malformed) << c.line;
            continue;
        }
        ASSERT_EQ(parsed.kind, SumLine::Kind::Entry) << c.line;
        EXPECT_EQ(parsed.entry.digest, c.digest) << c.line;
        EXPECT_EQ(parsed.entry.digestBytes, c.digestBytes) << c.line;
        EXPECT_EQ(parsed.entry.name, "f") << c.line;
    }
    // Written back: the tag with the length, the digest in base64.
    SumLineStyle style{SumFormat::Bsd};
    style.digestBytes = 32;
    style.base64 = true;
    EXPECT_EQ(FormatSumLine(A::Blake2b,
                            "bddd813c634239723171ef3fee98579b94964e3bb1cb3e427262c8c068d52319", "f",
                            style),
              "BLAKE2b-256 (f) = vd2BPGNCOXIxce8/7phXm5SWTjuxyz5CcmLIwGjVIxk=\n");
    for (const std::string& hex : {std::string(), std::string("ff"), std::string("ffee"), md5})
        EXPECT_EQ(Base64ToHex(HexToBase64(hex)).value_or("none"), hex.empty() ? "none" : hex);
}

TEST(SumLine, MalformedLines) {
    const std::string cases[] = {
        "bad line",
        kSha1 + " ",                   // no name
        kSha1 + "x  f",                // not hex
        kSha1.substr(1) + "  f",       // too short for SHA-1
        kSha256 + "  f",               // a length -a did not select
        "\\" + kSha1 + "  a\\tb",      // unknown escape
        "SHA1 f) = " + kSha1,          // tag without '('
        "SHA1 (f = " + kSha1,          // no ')'
        "SHA1 (f) " + kSha1,           // no '='
        "SHA1 (f) = " + kSha1 + " ",   // trailing blank after the digest
        "SHA1 (f) = " + kMd5,          // digest length not the tag's
        "BLAKE2b-256 (f) = " + kSha1,  // digest length not the tag's
        "BLAKE2b-7 (f) = " + kSha1,    // no whole bytes
        "\\MD5 (a\\qb) = " + kMd5,
        "\\" + kSha1 + "  a" + std::string(1, '\0') + "b",  // escaped: no zero byte
    };
    for (const std::string& line : cases) {
        SumLineParser parser(Rules({Algorithm::Sha1}));
        EXPECT_EQ(parser.Parse(line).kind, SumLine::Kind::Malformed) << line;
    }
    // Padded tags are not the coreutils tools' own: exact rules (--strict) refuse them.
    SumLineRules exact;
    exact.exactTags = true;
    EXPECT_EQ(SumLineParser(exact).Parse("MD5  (f) = " + kMd5).kind, SumLine::Kind::Malformed);
    EXPECT_EQ(SumLineParser(exact).Parse("MD5 (f) = " + kMd5).kind, SumLine::Kind::Entry);
    // A malformed line with a known tag still names its algorithm (MD5: a tag -a did not select).
    const std::pair<std::string, Algorithm> tagged[] = {
        {"SHA256 (f) = zz", Algorithm::Sha256},
        {"GOST94 f", Algorithm::Gost},
        {"MD5 (f) = " + kMd5, Algorithm::Md5},
    };
    for (const auto& [line, algorithm] : tagged) {
        const SumLine parsed = SumLineParser(Rules({Algorithm::Sha1}, false)).Parse(line);
        EXPECT_EQ(parsed.kind, SumLine::Kind::Malformed) << line;
        EXPECT_EQ(parsed.entry.candidates, std::vector<Algorithm>{algorithm}) << line;
    }
}

TEST(SumLine, IgnoredLines) {
    for (const std::string& line :
         std::vector<std::string>{"", "\n", "\r\n", "# comment", "#" + kSha1 + "  f"}) {
        SumLineParser parser(Rules({Algorithm::Sha1}));
        EXPECT_EQ(parser.Parse(line).kind, SumLine::Kind::Ignored) << line;
    }
}

TEST(SumLine, DigestLengthPicksAmongSelectedAlgorithms) {
    const std::vector<Algorithm> selected = {Algorithm::Md5, Algorithm::Sha1, Algorithm::Sha256};
    EXPECT_EQ(ParseOne(kMd5 + "  f", selected)->algorithm(), Algorithm::Md5);
    EXPECT_EQ(ParseOne(kSha256 + "  f", selected)->algorithm(), Algorithm::Sha256);
    // MD4 and MD5 digests look alike: no guessing, unless asked for every candidate.
    EXPECT_FALSE(ParseOne(kMd5 + "  f", {Algorithm::Md4, Algorithm::Md5}));
    SumLineRules all;
    all.refuseAmbiguous = false;
    SumLineParser parser(all);
    EXPECT_EQ(parser.Parse(kMd5 + "  f").entry.candidates,
              (std::vector<Algorithm>{Algorithm::Md5, Algorithm::Xxh128, Algorithm::Md4,
                                      Algorithm::Md2}));
    EXPECT_EQ(parser.Parse(kSha256 + "  f").entry.candidates,
              (std::vector<Algorithm>{Algorithm::Sha256, Algorithm::Blake3, Algorithm::Streebog256,
                                      Algorithm::Gost, Algorithm::Blake2s, Algorithm::Sha3_256,
                                      Algorithm::Gost94CryptoPro, Algorithm::Sha512_256,
                                      Algorithm::Sm3}));
}

TEST(SumLine, TagsRestrictedToChosenAlgorithms) {
    EXPECT_FALSE(ParseOne("MD5 (f) = " + kMd5, {Algorithm::Sha1}, false));
    EXPECT_TRUE(ParseOne("MD5 (f) = " + kMd5, {Algorithm::Sha1, Algorithm::Md5}, false));
}

TEST(SumLine, OldSingleSpaceFormNeverMixesWithTheUsualOne) {
    SumLineParser reversed(Rules({Algorithm::Sha1}));
    const SumLine first = reversed.Parse(kSha1 + " name");
    ASSERT_EQ(first.kind, SumLine::Kind::Entry);
    EXPECT_EQ(first.entry.name, "name");
    // Once in the old form, a second space is part of the name.
    EXPECT_EQ(reversed.Parse(kSha1 + "  x").entry.name, " x");

    SumLineParser usual(Rules({Algorithm::Sha1}));
    EXPECT_EQ(usual.Parse(kSha1 + "  x").kind, SumLine::Kind::Entry);
    EXPECT_EQ(usual.Parse(kSha1 + " name").kind, SumLine::Kind::Malformed);
}

TEST(SumLine, SfvLines) {
    SumLineRules rules;
    rules.sfv = true;
    SumLineParser parser(rules);
    const struct {
        std::string line, name, crc;
    } entries[] = {
        {"file.bin 352441C2", "file.bin", "352441C2"},
        {"a b\\c  \t352441c2\r\n", "a b\\c", "352441c2"},
        {"deadbeef 352441c2", "deadbeef", "352441c2"},
    };
    for (const auto& e : entries) {
        const SumLine line = parser.Parse(e.line);
        ASSERT_EQ(line.kind, SumLine::Kind::Entry) << e.line;
        EXPECT_EQ(line.entry.algorithm(), Algorithm::Crc32);
        EXPECT_EQ(line.entry.name, e.name);
        EXPECT_EQ(line.entry.digest, e.crc);
    }
    for (const char* ignored : {"; a comment", "", "\r\n"})
        EXPECT_EQ(parser.Parse(ignored).kind, SumLine::Kind::Ignored) << ignored;
    for (const char* bad : {"352441c2", " 352441c2", "name 352441c", "name352441c2",
                            "name 352441cg", "name 352441c2 "})
        EXPECT_EQ(parser.Parse(bad).kind, SumLine::Kind::Malformed) << bad;
}

TEST(SumLine, WrittenLinesReadBack) {
    const std::string d = "900150983cd24fb0d6963f7d28e17f72";
    const struct {
        std::string name;
        SumLineStyle style;
        std::string line;
    } cases[] = {
        {"f", {}, d + "  f\n"},
        {"f", {SumFormat::Gnu, true, false}, d + " *f\n"},
        {"f", {SumFormat::Bsd, false, false}, "MD5 (f) = " + d + "\n"},
        {"a\nb", {}, "\\" + d + "  a\\nb\n"},
        {"c\\d", {SumFormat::Bsd, false, false}, "\\MD5 (c\\\\d) = " + d + "\n"},
        {"e\rf", {SumFormat::Gnu, true, false}, "\\" + d + " *e\\rf\n"},
        {"a\nb", {SumFormat::Gnu, false, true}, d + "  a\nb" + std::string(1, '\0')},
        {"f.bin", {SumFormat::Sfv, false, false}, "f.bin " + d + "\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatSumLine(Algorithm::Md5, d, c.name, c.style), c.line) << c.name;
        if (c.style.zeroTerminated || c.style.format == SumFormat::Sfv) continue;
        const SumLine read = SumLineParser(Rules({Algorithm::Md5})).Parse(c.line);
        ASSERT_EQ(read.kind, SumLine::Kind::Entry) << c.line;
        EXPECT_EQ(read.entry.name, c.name);
        EXPECT_EQ(read.entry.digest, d);
    }
}

TEST(SumLine, NameEscaping) {
    const struct {
        std::string name, escaped;
        bool needs;
    } cases[] = {
        {"plain name", "plain name", false},
        {"a\nb", "a\\nb", true},
        {"c\\d", "c\\\\d", true},
        {"e\rf", "e\\rf", true},
        {"p\\q\nr", "p\\\\q\\nr", true},
        {"tab\there", "tab\there", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameNeedsEscape(c.name), c.needs) << c.escaped;
        EXPECT_EQ(EscapeName(c.name), c.escaped);
        EXPECT_EQ(UnescapeName(c.escaped), c.name);
    }
    for (const std::string& bad :
         std::vector<std::string>{"a\\", "a\\t", "\\x41", std::string("a\0b", 3), "\\"})
        EXPECT_FALSE(UnescapeName(bad)) << bad;
    EXPECT_EQ(UnescapeName(""), "");
}

}  // namespace
