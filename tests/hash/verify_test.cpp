// Verifying against an expected digest: reading it from typed or copied text and from sum files
// beside the file, and the verdict of the verifying hash commands on the shared vectors of "abc".
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "sum_file_search.h"
#include "temp_file.h"
#include "unprivileged.h"
#include "vectors.h"
#include "verify_command.h"

namespace {

using A = Algorithm;
// The candidates of a 64-digit digest, commonest first.
const std::vector<A> k64 = {A::Sha256,   A::Blake3,          A::Streebog256, A::Gost, A::Blake2s,
                            A::Sha3_256, A::Gost94CryptoPro, A::Sha512_256,  A::Sm3};
using Candidates = std::vector<Algorithm>;

std::string Abc(Algorithm algorithm) {
    return SharedVector("abc").digest.at(std::string(AlgorithmName(algorithm)));
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

ExpectedSources Typed(std::optional<ExpectedDigest> field) {
    ExpectedSources sources;
    sources.field = std::move(field);
    return sources;
}

ExpectedSources Copied(std::optional<ExpectedDigest> clipboard) {
    ExpectedSources sources;
    sources.clipboard = std::move(clipboard);
    return sources;
}

class FakeDialog : public DialogControls {
public:
    std::string GetControlText(int id) const override {
        return texts.count(id) ? texts.at(id) : "";
    }
    void SetControlText(int id, const std::string& text) override { texts[id] = text; }
    int GetSelectedIndex() const override { return selected; }
    std::map<int, std::string> texts;
    int selected = 5;  // SHA-1, as the dialog opens
};

TEST(ExpectedText, FormsLengthsAndTags) {
    const std::string md5 = Abc(A::Md5), sha1 = Abc(A::Sha1), sha256 = Abc(A::Sha256);
    std::string grouped, colons;  // "BA78 16BF ..." and "ba:78:16:..."
    for (std::size_t i = 0; i < sha256.size(); i += 2) {
        grouped += Upper(sha256.substr(i, 2)) + (i % 4 == 2 ? " \t" : "");
        colons += (i ? ":" : "") + sha256.substr(i, 2);
    }
    // Every algorithm of 64-digit digests, the likeliest first.
    const struct {
        std::string text;
        std::string digest;
        Candidates candidates;
        std::string name;
    } cases[] = {
        {Abc(A::Crc32), Abc(A::Crc32), {A::Crc32, A::Crc32c, A::Xxh32}, ""},
        {md5, md5, {A::Md5, A::Xxh128, A::Md4, A::Md2}, ""},
        {sha1, sha1, {A::Sha1}, ""},
        {sha256, sha256, k64, ""},
        {Abc(A::Sha384), Abc(A::Sha384), {A::Sha384, A::Sha3_384}, ""},
        {Abc(A::Sha512), Abc(A::Sha512), {A::Sha512, A::Blake2b, A::Streebog512, A::Sha3_512}, ""},
        {" " + grouped + "\r\n", sha256, k64, ""},
        {colons, sha256, k64, ""},
        {"SHA256: " + sha256, sha256, {A::Sha256}, ""},
        {"md4=" + md5, md5, {A::Md4}, ""},
        {"sha-1 " + Upper(sha1), sha1, {A::Sha1}, ""},
        {md5 + "  x.iso", md5, {A::Md5, A::Xxh128, A::Md4, A::Md2}, "x.iso"},
        {sha1 + " *x y.iso", sha1, {A::Sha1}, "x y.iso"},
        {"\\" + sha1 + "  a\\nb\\\\c", sha1, {A::Sha1}, "a\nb\\c"},
        {"SHA256 (x.iso) = " + sha256, sha256, {A::Sha256}, "x.iso"},
        {"GOST94 (x.iso) = " + sha256, sha256, {A::Gost}, "x.iso"},
        {"x.iso 352441C2", "352441c2", {A::Crc32}, "x.iso"},
        {"other  z\n" + md5 + "  y.iso\n" + sha1 + "  x.iso\r\n", sha1, {A::Sha1}, "x.iso"},
    };
    for (const auto& c : cases) {
        const auto expected = ParseExpectedText(c.text, "x.iso");
        ASSERT_TRUE(expected) << c.text;
        EXPECT_EQ(expected->digest, c.digest) << c.text;
        EXPECT_EQ(expected->candidates, c.candidates) << c.text;
        EXPECT_EQ(expected->listedName, c.name) << c.text;
    }
}

TEST(ExpectedText, RefusesWhatIsNoDigest) {
    const std::string sha1 = Abc(A::Sha1);
    for (const std::string& text :
         {std::string(), std::string("hello"), sha1.substr(1), std::string(40, 'g'),
          "SHA1: " + Abc(A::Md5), "SHA256 (x) = " + sha1, sha1 + std::string(1, '\0'),
          "BLAKE2b-256 (x.iso) = " + Abc(A::Sha512), "a\n" + sha1 + "  other.iso\n",
          sha1 + std::string(kSumFileReadLimit, ' ')})
        EXPECT_FALSE(ParseExpectedText(text, "x.iso")) << text.substr(0, 80);
    // A copied sentence ending in eight hex digits is not an SFV line, unless it names the file.
    EXPECT_FALSE(ParseExpectedText("build 1234abcd", "x.iso", ExpectedSource::Clipboard));
    EXPECT_TRUE(ParseExpectedText("x.iso 1234abcd", "x.iso", ExpectedSource::Clipboard));
    EXPECT_TRUE(ParseExpectedText("build 1234abcd", "x.iso", ExpectedSource::Field));
    // Nor is a copied line for another file, or a list when no file is hashed.
    EXPECT_FALSE(ParseExpectedText(sha1 + "  y.iso", "x.iso", ExpectedSource::Clipboard));
    EXPECT_FALSE(ParseExpectedText(sha1 + "  y.iso\n", "", ExpectedSource::Clipboard));
    EXPECT_TRUE(ParseExpectedText(sha1 + "  x.iso", "x.iso", ExpectedSource::Clipboard));
}

// Every algorithm's vector matches as itself, the ambiguous lengths included; one changed digit
// is a mismatch at that place, shown against the chosen algorithm when it is a candidate.
TEST(VerifyCommand, VerdictOnEachAlgorithm) {
    for (Algorithm algorithm : kAllAlgorithms) {
        for (std::size_t flip : {std::string::npos, std::size_t{0}, std::size_t{5}}) {
            std::string text = Abc(algorithm);
            if (flip != std::string::npos) text[flip] = text[flip] == '0' ? '1' : '0';
            FakeDialog dialog;
            dialog.texts[kStringBoxId] = "abc";
            dialog.selected = ListIndexOf(algorithm);
            HashRequest request;
            const VerifiedRun run = OnHashStringVerifying(
                dialog, request,
                Copied(ParseExpectedText(Upper(text), "", ExpectedSource::Clipboard)));
            ASSERT_TRUE(run.verdict) << text;
            const Verdict& v = *run.verdict;
            EXPECT_EQ(v.matches, flip == std::string::npos) << text;
            EXPECT_EQ(v.algorithm, algorithm) << text;
            EXPECT_EQ(run.shownIndex, ListIndexOf(algorithm));
            EXPECT_EQ(dialog.texts[kOutputBoxId], Abc(algorithm));
            EXPECT_EQ(v.source, ExpectedSource::Clipboard);
            if (!v.matches) {
                EXPECT_EQ(v.firstDifference, flip);
            }
            EXPECT_EQ(v.integrityOnly, v.matches && DigestTextLength(algorithm) <= 40) << text;
        }
    }
}

TEST(VerifyCommand, ListFollowsTheDigestShown) {
    const struct {
        std::string expected;
        int selected;
        Algorithm shown;
    } cases[] = {
        {Abc(A::Md2), 5, A::Md2},                    // matched among three, SHA-1 chosen
        {Abc(A::Gost), 6, A::Gost},                  // matched the second of two
        {std::string(64, '0'), 5, A::Sha256},        // no match, chosen one no candidate
        {std::string(64, '0'), 1, A::Gost},          // no match, chosen one a candidate
        {"md4:" + std::string(32, '0'), 4, A::Md4},  // the name decides
    };
    for (const auto& c : cases) {
        FakeDialog dialog;
        dialog.texts[kStringBoxId] = "abc";
        dialog.selected = c.selected;
        HashRequest request;
        const VerifiedRun run =
            OnHashStringVerifying(dialog, request, Typed(ParseExpectedText(c.expected, "")));
        ASSERT_TRUE(run.verdict) << c.expected;
        EXPECT_EQ(run.shownIndex, ListIndexOf(c.shown)) << c.expected;
        EXPECT_EQ(dialog.texts[kOutputBoxId], Abc(c.shown)) << c.expected;
        // The request is left as that entry's command would leave it.
        EXPECT_EQ(request.Compute(), Abc(c.shown));
    }
}

// BLAKE2b of "abc" at 256 bits (hashlib.blake2b(b"abc", digest_size=32)).
const std::string kBlake2b256 = "bddd813c634239723171ef3fee98579b94964e3bb1cb3e427262c8c068d52319";

// A line whose tag gives a length of its own ("BLAKE2b-256", as b2sum -l 256 --tag writes) is
// verified at that length, never against the usual one.
TEST(VerifyCommand, LengthOfItsOwn) {
    TempDir dir;
    for (const bool good : {true, false}) {
        std::string digest = kBlake2b256;
        if (!good) digest[9] = digest[9] == '0' ? '1' : '0';
        FakeDialog dialog;
        dialog.texts[kFilePathBoxId] = dir.WriteFile("x", "abc");
        HashRequest request;
        const auto expected = ParseExpectedText("BLAKE2b-256 (x) = " + digest, "x");
        ASSERT_TRUE(expected);
        EXPECT_EQ(expected->digestBytes, 32u);
        const VerifiedRun run = OnHashFileVerifying(dialog, request, Typed(expected));
        ASSERT_TRUE(run.verdict);
        EXPECT_EQ(run.verdict->matches, good);
        EXPECT_EQ(run.verdict->algorithm, A::Blake2b);
        EXPECT_EQ(run.verdict->digestBytes, 32u);
        EXPECT_EQ(dialog.texts[kOutputBoxId], kBlake2b256);
    }
}

const std::string kSigned =
    "-----BEGIN PGP SIGNED MESSAGE-----\r\nHash: SHA256\r\n\r\n"
    "# made by hand\r\n" +
    Abc(A::Sha256) +
    " *x.iso\r\n- -----dashed line\r\n-----BEGIN PGP SIGNATURE-----\r\n\r\n"
    "iQEzBAEBCAAdFiEE\r\n-----END PGP SIGNATURE-----\r\n" +
    "SHA512 (x.iso) = " + std::string(128, '0') + "\n";  // outside what was signed

// Sum files beside x.iso ("abc"); each row is one folder.
TEST(SumFileSearch, FindsTheLineForTheFile) {
    const std::string sha256 = Abc(A::Sha256), md5 = Abc(A::Md5);
    const std::string bound(kSumFileReadLimit, '#');
    const struct {
        std::map<std::string, std::string> files;
        std::string from;  // the sum file that gives the digest; empty: none does
        Candidates candidates;
    } cases[] = {
        {{{"x.iso.sha256", sha256 + "  x.iso\n"}}, "x.iso.sha256", {A::Sha256}},
        {{{"SHA256SUMS", kSigned}}, "SHA256SUMS", {A::Sha256}},
        {{{"CHECKSUMS", "; c\r\nx.iso 352441C2\r\n"}}, "CHECKSUMS", {A::Crc32}},
        {{{"x.iso.sfv", "x.iso 352441C2\n"}}, "x.iso.sfv", {A::Crc32}},
        {{{"MD5SUMS", "MD5 (./x.iso) = " + md5 + "\n"}}, "MD5SUMS", {A::Md5}},
        {{{"B2SUMS", "BLAKE2b-256 (x.iso) = " + kBlake2b256 + "\n"}}, "B2SUMS", {A::Blake2b}},
        {{{"CHECKSUMS", md5 + "  x.iso\n" + sha256 + "  x.iso\n"}}, "CHECKSUMS", k64},
        // Per-file names come first; a sum file without the name, or malformed, is passed over.
        {{{"x.iso.md5", md5 + "  x.iso\n"}, {"SHA256SUMS", sha256 + "  x.iso\n"}},
         "x.iso.md5",
         {A::Md5}},
        {{{"x.iso.sha1", "garbage\n\x01\x02\n"}, {"SHA1SUMS", "x  y\n" + sha256 + "  y.iso\n"}},
         "",
         {}},
        {{{"x.iso.sha256", std::string("\0\0\xff", 3)}, {"MD5SUMS", md5 + "  x.iso"}},
         "MD5SUMS",
         {A::Md5}},
        // The line past the bound is never read, the one before it is.
        {{{"SHA256SUMS", bound + "\n" + sha256 + "  x.iso\n"}}, "", {}},
        {{{"SHA256SUMS", sha256 + "  x.iso\n" + bound}}, "SHA256SUMS", {A::Sha256}},
        // Where releases put them: a list with a suffix of its own, a digest alone in a file
        // named after this one, a sum file named after it without its extension.
        {{{"Fedora-39-x86_64-CHECKSUM", kSigned}}, "Fedora-39-x86_64-CHECKSUM", k64},
        {{{"x.iso.sha256", sha256 + "\n"}, {"MD5SUMS", md5 + "  x.iso\n"}},
         "x.iso.sha256",
         {A::Sha256}},
        {{{"x.md5", Upper(md5)}}, "x.md5", {A::Md5}},
        {{{"x.sfv", "x.iso 352441C2\n"}}, "x.sfv", {A::Crc32}},
        {{{"release.sha256sums", sha256 + "  x.iso\n"}}, "release.sha256sums", {A::Sha256}},
        {{{"SHA256SUMS", sha256 + "\n"}}, "", {}},  // a digest alone names no file
        // The bound cuts "x.iso2" to "x.iso": a cut line is no line.
        {{{"sha256sums.txt",
           bound.substr(0, kSumFileReadLimit - 72) + "\n" + sha256 + "  x.iso2\n"}},
         "",
         {}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string file = dir.WriteFile("x.iso", "abc");
        for (const auto& [name, text] : c.files) dir.WriteFile(name, text);
        const auto found = FindSumFileBeside(file);
        ASSERT_EQ(found.has_value(), !c.from.empty()) << c.files.begin()->first;
        if (!found) continue;
        EXPECT_EQ(found->sumFileName, c.from);
        EXPECT_EQ(found->source, ExpectedSource::SumFile);
        EXPECT_EQ(found->candidates, c.candidates) << c.from;
        EXPECT_EQ(found->signatureUnchecked, c.files.begin()->second == kSigned);
    }
}

TEST(SumFileSearch, PassesOverWhatCannotBeRead) {
    TempDir dir;
    const std::string file = dir.WriteFile("x.iso", "abc");
    ASSERT_EQ(mkdir(dir.PathOf("x.iso.sha256").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(dir.PathOf("x.iso.sha1").c_str(), 0644), 0);  // would block a read
    dir.WriteFile("x.iso.md5", Abc(A::Md5) + "  x.iso\n");
    chmod(dir.PathOf("x.iso.md5").c_str(), 0);
    dir.WriteFile("SHA256SUMS", Abc(A::Sha256) + "  x.iso\n");
    chmod(dir.path().c_str(), 0755);
    Unprivileged guard;
    if (!guard.PermissionsApply()) GTEST_SKIP() << "cannot drop root";
    const BesideSearch found = SearchBeside(file);
    ASSERT_TRUE(found.expected);
    EXPECT_EQ(found.expected->sumFileName, "SHA256SUMS");
    // Each passed over, and why, in the order tried.
    ASSERT_EQ(found.skipped.size(), 3u);
    EXPECT_EQ(found.skipped[0].name, "x.iso.sha256");
    EXPECT_EQ(found.skipped[0].reason, SumFileSkip::NotRegular);
    EXPECT_EQ(found.skipped[1].name, "x.iso.sha1");
    EXPECT_EQ(found.skipped[1].reason, SumFileSkip::NotRegular);
    EXPECT_EQ(found.skipped[2].reason, SumFileSkip::Unreadable);
    EXPECT_EQ(found.skipped[2].error, EACCES);
}

TEST(SumFileSearch, SaysWhenTheEntryIsPastTheBound) {
    TempDir dir;
    const std::string file = dir.WriteFile("x.iso", "abc");
    dir.WriteFile("SHA256SUMS",
                  std::string(kSumFileReadLimit, '#') + "\n" + Abc(A::Sha256) + "  x.iso\n");
    const BesideSearch found = SearchBeside(file);
    EXPECT_FALSE(found.expected);
    ASSERT_EQ(found.skipped.size(), 1u);
    EXPECT_EQ(found.skipped[0].reason, SumFileSkip::PastBound);
}

TEST(SumFileSearch, EscapedNamesAndOtherFamilies) {
    TempDir dir;
    const std::string file = dir.WriteFile("back\\slash.iso", "abc");
    dir.WriteFile("SHA1SUMS", "\\" + Abc(A::Sha1) + "  back\\\\slash.iso\n");
    const auto found = FindSumFileBeside(file);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->listedName, "back\\slash.iso");
    // RIPEMD-160 digests are as long as SHA-1's; a tag still counts wherever it is.
    const std::string ripemd = Abc(A::Sha1) + "  x.iso\n";
    EXPECT_FALSE(ExpectedFromSumText(ripemd, "x.iso", "ripemd160sums.txt"));
    EXPECT_TRUE(
        ExpectedFromSumText("SHA1 (x.iso) = " + Abc(A::Sha1), "x.iso", "ripemd160sums.txt"));
    EXPECT_TRUE(ExpectedFromSumText(ripemd, "x.iso", "SHA1SUMS"));
    // A b2sum list names BLAKE2b, whose digests are as long as SHA-512's.
    const auto b2 = ExpectedFromSumText(Abc(A::Blake2b) + "  x.iso\n", "x.iso", "b2sums.txt");
    ASSERT_TRUE(b2);
    EXPECT_EQ(b2->candidates, Candidates{A::Blake2b});
}

// Which source decides: the field, then a sum file beside the file that lists it, then the
// clipboard (a digest alone or a line naming this file); a clipboard that disagrees with the sum
// file is outvoted and said so. x.iso holds "abc"; "bad" is SHA-1's digest with one digit changed.
TEST(VerifyCommand, SourcePrecedence) {
    std::string bad = Abc(A::Sha1);
    bad[3] = bad[3] == '0' ? '1' : '0';
    const std::string sums = Abc(A::Sha256) + "  x.iso\n";
    const struct {
        std::string field, sumFile, clipboard;
        ExpectedSource from;  // Field with no `algorithm`: no verdict
        Algorithm algorithm;
        bool matches, disagrees;
    } cases[] = {
        {"", "", "", ExpectedSource::Field, A::Sha1, false, false},  // plain "Hash file"
        {bad, sums, Abc(A::Md5), ExpectedSource::Field, A::Sha1, false, false},
        {Abc(A::Md5), sums, "", ExpectedSource::Field, A::Md5, true, false},
        {"", sums, bad, ExpectedSource::SumFile, A::Sha256, true, true},  // a stale clipboard
        {"", sums, "SHA256 (x.iso) = " + Abc(A::Sha256), ExpectedSource::SumFile, A::Sha256, true,
         false},
        {"", "", bad, ExpectedSource::Clipboard, A::Sha1, false, false},
        {"", "", Abc(A::Md4) + "  x.iso", ExpectedSource::Clipboard, A::Md4, true, false},
        {"", "", Abc(A::Md4) + "  other.iso", ExpectedSource::Field, A::Sha1, false, false},
        {"", Abc(A::Sha256) + "  other.iso\n", Abc(A::Sha1), ExpectedSource::Clipboard, A::Sha1,
         true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field + "|" + c.sumFile + "|" + c.clipboard);
        TempDir dir;
        FakeDialog dialog;
        dialog.texts[kFilePathBoxId] = dir.WriteFile("x.iso", "abc");
        if (!c.sumFile.empty()) dir.WriteFile("SHA256SUMS", c.sumFile);
        ExpectedSources sources;
        if (!c.field.empty()) sources.field = ParseExpectedText(c.field, "x.iso");
        sources.clipboard = ParseExpectedText(c.clipboard, "x.iso", ExpectedSource::Clipboard);
        HashRequest request;
        const VerifiedRun run = OnHashFileVerifying(dialog, request, sources);
        EXPECT_EQ(dialog.texts[kOutputBoxId], Abc(c.algorithm));
        EXPECT_EQ(run.clipboardDisagrees, c.disagrees);
        EXPECT_EQ(run.searchedBeside, c.field.empty());
        ASSERT_EQ(run.verdict.has_value(), c.from != ExpectedSource::Field || !c.field.empty());
        if (!run.verdict) continue;
        EXPECT_EQ(run.verdict->source, c.from);
        EXPECT_EQ(run.verdict->algorithm, c.algorithm);
        EXPECT_EQ(run.verdict->matches, c.matches);
    }
    // A failed read gives no verdict and no digest.
    FakeDialog dialog;
    dialog.texts[kFilePathBoxId] = "/nonexistent/x.iso";
    HashRequest request;
    EXPECT_FALSE(
        OnHashFileVerifying(dialog, request, Typed(ParseExpectedText(Abc(A::Md5), ""))).verdict);
    EXPECT_EQ(dialog.texts[kOutputBoxId], "");
    // A line for a file left in the field is not compared with the string.
    dialog.texts[kStringBoxId] = "abc";
    const VerifiedRun string = OnHashStringVerifying(
        dialog, request, Typed(ParseExpectedText(Abc(A::Sha1) + "  x.iso", "x.iso")));
    EXPECT_FALSE(string.verdict);
    EXPECT_TRUE(string.fieldNamesFile);
}

// A digest whose length fits several algorithms: the selected one if it fits, else the one that
// matched last, else the commonest; the others only after a mismatch, one read each.
TEST(VerifyCommand, LikeliestFirst) {
    const struct {
        std::string digest;
        int selected;
        Candidates recent;
        Candidates tried;
    } cases[] = {
        {Abc(A::Md5), 5, {}, {A::Md5}},
        {Abc(A::Md4), 5, {}, {A::Md5, A::Xxh128, A::Md4}},
        {Abc(A::Md2), 5, {A::Sha1, A::Md2}, {A::Md2}},
        {Abc(A::Md2), ListIndexOf(A::Md4), {A::Md2}, {A::Md4, A::Md2}},
        {std::string(32, '0'), 5, {}, {A::Md5, A::Xxh128, A::Md4, A::Md2}},
        {Abc(A::Gost), 5, {}, {A::Sha256, A::Blake3, A::Streebog256, A::Gost}},
        {Abc(A::Gost), ListIndexOf(A::Gost), {}, {A::Gost}},
        {Abc(A::Sha256), ListIndexOf(A::Gost), {A::Sha256}, {A::Gost, A::Sha256}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digest);
        TempDir dir;
        FakeDialog dialog;
        dialog.texts[kFilePathBoxId] = dir.WriteFile("x.iso", "abc");
        dialog.selected = c.selected;
        std::vector<Algorithm> retried;
        ExpectedSources sources = Typed(ParseExpectedText(c.digest, ""));
        sources.recentMatches = c.recent;
        sources.onRetry = [&](Algorithm failed, std::span<const Algorithm> next) {
            retried.push_back(failed);
            EXPECT_EQ(next.front(), c.tried[retried.size()]);
        };
        HashRequest request;
        const VerifiedRun run = OnHashFileVerifying(dialog, request, sources);
        EXPECT_EQ(run.tried, c.tried);
        EXPECT_EQ(retried.size(), c.tried.size() - 1);
        ASSERT_TRUE(run.verdict);
        EXPECT_EQ(run.verdict->matches, c.digest != std::string(32, '0'));
    }
}

// Names are bytes: a name that is not UTF-8 is matched as it is, never as its lossy decoding,
// even beside a file whose name is that decoding.
TEST(SumFileSearch, NamesAreBytes) {
    TempDir dir;
    const std::string raw = dir.WriteFile(
        "\xff"
        "x.iso",
        "abc");
    dir.WriteFile(
        "\xef\xbf\xbd"
        "x.iso",
        "abd");
    dir.WriteFile("SHA256SUMS", std::string(64, '0') + "  \xef\xbf\xbdx.iso\n" + Abc(A::Sha256) +
                                    "  \xffx.iso\n");
    FakeDialog dialog;
    dialog.texts[kFilePathBoxId] = raw;
    HashRequest request;
    const VerifiedRun run = OnHashFileVerifying(dialog, request, {});
    ASSERT_TRUE(run.verdict);
    EXPECT_TRUE(run.verdict->matches);
    EXPECT_EQ(dialog.texts[kOutputBoxId], Abc(A::Sha256));
}

}  // namespace
