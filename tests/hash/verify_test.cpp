// Verifying against an expected digest: reading it from typed or copied text and from sum files
// beside the file, and the verdict of the verifying hash commands on the shared vectors of "abc".
#include <gtest/gtest.h>
#include <sys/stat.h>

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
using Candidates = std::vector<Algorithm>;

std::string Abc(Algorithm algorithm) {
    return SharedVector("abc").digest.at(std::string(AlgorithmName(algorithm)));
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
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
    const std::vector<A> k64 = {A::Sha256, A::Streebog256, A::Gost, A::Gost94CryptoPro};
    const struct {
        std::string text;
        std::string digest;
        Candidates candidates;
        std::string name;
    } cases[] = {
        {Abc(A::Crc32), Abc(A::Crc32), {A::Crc32}, ""},
        {md5, md5, {A::Md5, A::Md4, A::Md2}, ""},
        {sha1, sha1, {A::Sha1}, ""},
        {sha256, sha256, k64, ""},
        {Abc(A::Sha384), Abc(A::Sha384), {A::Sha384}, ""},
        {Abc(A::Sha512), Abc(A::Sha512), {A::Sha512, A::Streebog512}, ""},
        {" " + grouped + "\r\n", sha256, k64, ""},
        {colons, sha256, k64, ""},
        {"SHA256: " + sha256, sha256, {A::Sha256}, ""},
        {"md4=" + md5, md5, {A::Md4}, ""},
        {"sha-1 " + Upper(sha1), sha1, {A::Sha1}, ""},
        {md5 + "  x.iso", md5, {A::Md5, A::Md4, A::Md2}, "x.iso"},
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
          "a\n" + sha1 + "  other.iso\n", sha1 + std::string(kSumFileReadLimit, ' ')})
        EXPECT_FALSE(ParseExpectedText(text, "x.iso")) << text.substr(0, 80);
    // A copied sentence ending in eight hex digits is not an SFV line, unless it names the file.
    EXPECT_FALSE(ParseExpectedText("build 1234abcd", "x.iso", ExpectedSource::Clipboard));
    EXPECT_TRUE(ParseExpectedText("x.iso 1234abcd", "x.iso", ExpectedSource::Clipboard));
    EXPECT_TRUE(ParseExpectedText("build 1234abcd", "x.iso", ExpectedSource::Field));
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
                dialog, request, ParseExpectedText(Upper(text), "", ExpectedSource::Clipboard));
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
            OnHashStringVerifying(dialog, request, ParseExpectedText(c.expected, ""));
        ASSERT_TRUE(run.verdict) << c.expected;
        EXPECT_EQ(run.shownIndex, ListIndexOf(c.shown)) << c.expected;
        EXPECT_EQ(dialog.texts[kOutputBoxId], Abc(c.shown)) << c.expected;
        // The request is left as that entry's command would leave it.
        EXPECT_EQ(request.Compute(), Abc(c.shown));
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
        {{{"CHECKSUMS", md5 + "  x.iso\n" + sha256 + "  x.iso\n"}},
         "CHECKSUMS",
         {A::Sha256, A::Streebog256, A::Gost, A::Gost94CryptoPro}},
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
    const auto found = FindSumFileBeside(file);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->sumFileName, "SHA256SUMS");
}

TEST(SumFileSearch, EscapedNamesAndOtherFamilies) {
    TempDir dir;
    const std::string file = dir.WriteFile("back\\slash.iso", "abc");
    dir.WriteFile("SHA1SUMS", "\\" + Abc(A::Sha1) + "  back\\\\slash.iso\n");
    const auto found = FindSumFileBeside(file);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->listedName, "back\\slash.iso");
    // BLAKE2b digests are as long as SHA-512's; a tag still counts wherever it is.
    const std::string b2 = Abc(A::Sha512) + "  x.iso\n";
    EXPECT_FALSE(ExpectedFromSumText(b2, "x.iso", "b2sums.txt"));
    EXPECT_TRUE(ExpectedFromSumText("SHA512 (x.iso) = " + Abc(A::Sha512), "x.iso", "b2sums.txt"));
    EXPECT_TRUE(ExpectedFromSumText(b2, "x.iso", "SHA512SUMS"));
}

TEST(VerifyCommand, HashFileTakesTheSumFileBesideIt) {
    TempDir dir;
    FakeDialog dialog;
    dialog.texts[kFilePathBoxId] = dir.WriteFile("x.iso", "abc");
    HashRequest request;
    // Nothing to compare with: exactly "Hash file" with the chosen SHA-1.
    EXPECT_FALSE(OnHashFileVerifying(dialog, request, std::nullopt).verdict);
    EXPECT_EQ(dialog.texts[kOutputBoxId], Abc(A::Sha1));

    dir.WriteFile("SHA256SUMS", kSigned);
    EXPECT_FALSE(OnHashFileVerifying(dialog, request, std::nullopt, false).verdict);
    const VerifiedRun run = OnHashFileVerifying(dialog, request, std::nullopt);
    ASSERT_TRUE(run.verdict);
    EXPECT_TRUE(run.verdict->matches);
    EXPECT_EQ(run.verdict->sumFileName, "SHA256SUMS");
    EXPECT_EQ(dialog.texts[kOutputBoxId], Abc(A::Sha256));
    // The field's digest wins over the sum file; a failed read gives no verdict and no digest.
    EXPECT_EQ(
        OnHashFileVerifying(dialog, request, ParseExpectedText(Abc(A::Md5), "")).verdict->algorithm,
        A::Md5);
    dialog.texts[kFilePathBoxId] = dir.PathOf("missing.iso");
    EXPECT_FALSE(OnHashFileVerifying(dialog, request, ParseExpectedText(Abc(A::Md5), "")).verdict);
    EXPECT_EQ(dialog.texts[kOutputBoxId], "");
}

}  // namespace
