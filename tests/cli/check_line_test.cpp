// Sums-file lines: the GNU and BSD forms, escaping, and what coreutils refuses.
#include "check_line.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

const std::string kMd5(32, 'a');
const std::string kSha1(40, 'b');
const std::string kSha256(64, 'c');

std::optional<CheckEntry> ParseOne(const std::string& line,
                                   std::vector<Algorithm> algorithms = {Algorithm::Sha1},
                                   bool anyTag = true) {
    CheckLineParser parser(std::move(algorithms), anyTag);
    const CheckLine parsed = parser.Parse(line);
    if (parsed.kind != CheckLine::Kind::Entry) return std::nullopt;
    return parsed.entry;
}

TEST(CheckLine, WellFormedLines) {
    const struct {
        std::string line;
        Algorithm algorithm;
        std::string digest, name;
    } cases[] = {
        {kSha1 + "  file\n", Algorithm::Sha1, kSha1, "file"},
        {kSha1 + " *file", Algorithm::Sha1, kSha1, "file"},
        {kSha1 + "  file\r\n", Algorithm::Sha1, kSha1, "file"},
        {kSha1 + "   lead space ", Algorithm::Sha1, kSha1, " lead space "},
        {" \t" + kSha1 + "  f", Algorithm::Sha1, kSha1, "f"},
        {kSha1 + "\t f", Algorithm::Sha1, kSha1, "f"},
        {"\\" + kSha1 + "  a\\nb\\\\c\\r", Algorithm::Sha1, kSha1, "a\nb\\c\r"},
        {std::string(40, 'B') + "  f", Algorithm::Sha1, std::string(40, 'B'), "f"},
        {"MD5 (f (1).txt) = " + kMd5, Algorithm::Md5, kMd5, "f (1).txt"},
        {"SHA256(f) =" + kSha256, Algorithm::Sha256, kSha256, "f"},
        {"\\SHA1 (a\\nb) = " + kSha1, Algorithm::Sha1, kSha1, "a\nb"},
        {"CRC32 (x) = 352441c2", Algorithm::Crc32, "352441c2", "x"},
        {"GOST (x) = " + kSha256, Algorithm::Gost, kSha256, "x"},
    };
    for (const auto& c : cases) {
        const auto entry = ParseOne(c.line);
        ASSERT_TRUE(entry) << c.line;
        EXPECT_EQ(entry->algorithm, c.algorithm) << c.line;
        EXPECT_EQ(entry->digest, c.digest) << c.line;
        EXPECT_EQ(entry->name, c.name) << c.line;
    }
}

TEST(CheckLine, MalformedLines) {
    const std::string cases[] = {
        "bad line",
        kSha1 + "  ",              // no name
        kSha1 + "x  f",            // not hex
        kSha1.substr(1) + "  f",   // too short for SHA-1
        kSha256 + "  f",           // a length -a did not select
        "\\" + kSha1 + "  a\\tb",  // unknown escape
        kSha1 + "  a" + std::string(1, '\0') + "b",
        "SHA1 f) = " + kSha1,         // tag without '('
        "SHA1 (f = " + kSha1,         // no ')'
        "SHA1 (f) " + kSha1,          // no '='
        "SHA1 (f) = " + kSha1 + " ",  // trailing blank after the digest
        "SHA1 (f) = " + kMd5,         // digest length not the tag's
        "BLAKE2b (f) = " + kSha1,     // unknown tag
        "\\MD5 (a\\qb) = " + kMd5,
    };
    for (const std::string& line : cases) {
        CheckLineParser parser({Algorithm::Sha1}, true);
        EXPECT_EQ(parser.Parse(line).kind, CheckLine::Kind::Malformed) << line;
    }
}

TEST(CheckLine, IgnoredLines) {
    for (const std::string& line :
         std::vector<std::string>{"", "\n", "\r\n", "# comment", "#" + kSha1 + "  f"}) {
        CheckLineParser parser({Algorithm::Sha1}, true);
        EXPECT_EQ(parser.Parse(line).kind, CheckLine::Kind::Ignored) << line;
    }
}

TEST(CheckLine, DigestLengthPicksAmongSelectedAlgorithms) {
    const std::vector<Algorithm> selected = {Algorithm::Md5, Algorithm::Sha1, Algorithm::Sha256};
    EXPECT_EQ(ParseOne(kMd5 + "  f", selected)->algorithm, Algorithm::Md5);
    EXPECT_EQ(ParseOne(kSha256 + "  f", selected)->algorithm, Algorithm::Sha256);
    // MD4 and MD5 digests look alike: no guessing.
    EXPECT_FALSE(ParseOne(kMd5 + "  f", {Algorithm::Md4, Algorithm::Md5}));
}

TEST(CheckLine, TagsRestrictedToChosenAlgorithms) {
    EXPECT_FALSE(ParseOne("MD5 (f) = " + kMd5, {Algorithm::Sha1}, false));
    EXPECT_TRUE(ParseOne("MD5 (f) = " + kMd5, {Algorithm::Sha1, Algorithm::Md5}, false));
}

TEST(CheckLine, OldSingleSpaceFormNeverMixesWithTheUsualOne) {
    CheckLineParser reversed({Algorithm::Sha1}, true);
    const CheckLine first = reversed.Parse(kSha1 + " name");
    ASSERT_EQ(first.kind, CheckLine::Kind::Entry);
    EXPECT_EQ(first.entry.name, "name");
    // Once in the old form, a second space is part of the name.
    EXPECT_EQ(reversed.Parse(kSha1 + "  x").entry.name, " x");

    CheckLineParser usual({Algorithm::Sha1}, true);
    EXPECT_EQ(usual.Parse(kSha1 + "  x").kind, CheckLine::Kind::Entry);
    EXPECT_EQ(usual.Parse(kSha1 + " name").kind, CheckLine::Kind::Malformed);
}

}  // namespace
