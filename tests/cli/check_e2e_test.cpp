// End-to-end runs of corvane-sum -c: every style it writes reads back, failures, the check
// options behaving exactly as sha256sum's on the same sums file, and the peers' lines for the
// newer algorithms.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "algorithms.h"
#include "e2e_support.h"
#include "process.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

const std::vector<std::string> kNames = {"plain",       "with space", "a\nnewline",
                                         "back\\slash", "paren (1)",  "cr\rname"};

void WriteNamedFiles(const TempDir& dir) {
    for (std::size_t i = 0; i < kNames.size(); ++i)
        dir.WriteFile(kNames[i], RampMessage(1000 * i + 7));
}

TEST(CheckE2e, BsdLinesOfEveryAlgorithmRoundTrip) {
    TempDir dir;
    WriteNamedFiles(dir);
    std::vector<std::string> args = {"--all"};
    args.insert(args.end(), kNames.begin(), kNames.end());
    const ProcessResult sums = RunSum(args, "", dir.path());
    ASSERT_EQ(sums.status, 0) << sums.err;
    dir.WriteFile("SUMS", sums.out);

    std::string expected;
    for (const std::string& name : kNames) {
        const std::string shown =
            name.find('\n') == std::string::npos
                ? name
                : "\\" + ReplaceAll(ReplaceAll(name, "\\", "\\\\"), "\n", "\\n");
        for (int i = 0; i < 9; ++i) expected += shown + ": OK\n";
    }
    for (const std::vector<std::string>& check :
         {std::vector<std::string>{"-c", "SUMS"}, {"--check", "-j", "3"}}) {
        const ProcessResult r = RunSum(check, check.size() == 2 ? "" : sums.out, dir.path());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, expected);
        EXPECT_EQ(r.err, "");
    }
    // With -a, lines of the other algorithms do not count (6 files, 8 other tags each).
    const ProcessResult only = RunSum({"-a", "md2", "-c", "--quiet", "SUMS"}, "", dir.path());
    EXPECT_EQ(only.status, 0);
    EXPECT_EQ(only.out, "");
    EXPECT_EQ(only.err, "corvane-sum: WARNING: 48 lines are improperly formatted\n");
    EXPECT_EQ(RunSum({"-a", "md2", "-c", "--strict", "SUMS"}, "", dir.path()).status, 1);
}

// Whatever corvane-sum writes, its own -c reads back: every line style, for every algorithm, with
// no -a to say which (SFV lines cannot hold a line break, so those names are left out there).
TEST(CheckE2e, EveryStyleOfEveryAlgorithmReadsBack) {
    TempDir dir;
    WriteNamedFiles(dir);
    const std::vector<std::vector<std::string>> styles = {{}, {"-b"}, {"-t"}, {"--tag"}, {"--sfv"}};
    for (const Algorithm algorithm : kAllAlgorithms) {
        for (const std::vector<std::string>& style : styles) {
            const bool sfv = style == std::vector<std::string>{"--sfv"};
            if (sfv && algorithm != Algorithm::Crc32) continue;
            std::vector<std::string> args = style;
            args.insert(args.end(), {"-a", std::string(AlgorithmName(algorithm))});
            for (const std::string& name : kNames)
                if (!sfv || name.find_first_of("\n\r") == std::string::npos) args.push_back(name);
            const ProcessResult sums = RunSum(args, "", dir.path());
            const std::string what =
                std::string(AlgorithmName(algorithm)) + (style.empty() ? "" : " " + style[0]);
            ASSERT_EQ(sums.status, 0) << what << sums.err;
            dir.WriteFile("SUMS", sums.out);
            const ProcessResult check = RunSum({"-c", "--quiet", "SUMS"}, "", dir.path());
            EXPECT_EQ(check.status, 0) << what << check.err;
            EXPECT_EQ(check.out + check.err, "") << what;
        }
    }
}

TEST(CheckE2e, MismatchFailsWithTheSummaryWarning) {
    TempDir dir;
    dir.WriteFile("f", "abc");
    const std::string good = SharedVector("abc").digest.at("md4");
    std::string bad = good;
    bad[5] = bad[5] == '0' ? '1' : '0';
    dir.WriteFile("SUMS", "MD4 (f) = " + bad + "\nMD4 (f) = " + good + "\n");
    const ProcessResult r = RunSum({"-c", "SUMS"}, "", dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "f: FAILED\nf: OK\n");
    EXPECT_EQ(r.err, "corvane-sum: WARNING: 1 computed checksum did NOT match\n");
}

TEST(CheckE2e, GnuLinesTakeTheAlgorithmFromA) {
    TempDir dir;
    dir.WriteFile("f", "abc");
    const ProcessResult sums = RunSum({"-a", "gost", "f"}, "", dir.path());
    dir.WriteFile("SUMS", sums.out);
    const ProcessResult ok = RunSum({"-a", "GOST", "-c", "SUMS"}, "", dir.path());
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "f: OK\n");
    // SHA-256 digests have the same length, and do not match.
    const ProcessResult other = RunSum({"-a", "sha256", "-c", "SUMS"}, "", dir.path());
    EXPECT_EQ(other.status, 1);
    EXPECT_EQ(other.out, "f: FAILED\n");
}

// Lists as rhash 1.4.3 writes them: SFV with its comment header and CRLF line ends, GOST94,
// GOST12 and GOST94-CRYPTOPRO tags.
// An SFV list counts wherever CRC-32 may be checked; any case of hex digits.
TEST(CheckE2e, SfvListsAndGost94Tags) {
    TempDir dir;
    dir.WriteFile("abc", "abc");
    dir.WriteFile("the fox", "The quick brown fox jumps over the lazy dog");
    dir.WriteFile("list.sfv",
                  "; Generated by RHash v1.4.3 on 2026-12-07 at 16:13.01\r\n"
                  ";           43  16:13.01 2026-12-07 the fox\r\n"
                  "abc 352441C2\r\nthe fox 414fa339\r\nabc 00000000\r\n");
    dir.WriteFile(
        "gost94",
        "GOST94 (abc) = f3134348c44fb1b2a277729e2285ebb5cb5e0f29c975bc753b70497c06a4d51d\n");
    dir.WriteFile("gost12",
                  "GOST12-256 (abc) = "
                  "4e2919cf137ed41ec4fb6270c61826cc4fffb660341e0af3688cd0626d23b481\n"
                  "GOST12-512 (abc) = "
                  "28156e28317da7c98f4fe2bed6b542d0dab85bb224445fcedaf75d46e26d7eb8d5997f3e0915dd6"
                  "b7f0aab08d9c8beb0d8c64bae2ab8b3c8c6bc53b3bf0db728\n"
                  "GOST94-CRYPTOPRO (abc) = "
                  "b285056dbf18d7392d7677369524dd14747459ed8143997e163b2986f92fd42c\n");
    dir.WriteFile("signed",
                  "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n- abc 352441C2\n"
                  "-----BEGIN PGP SIGNATURE-----\nabc 00000000\n");
    // Lists named for an algorithm: one of ours is read with it, another is no list of ours.
    dir.WriteFile("list.md2", SharedVector("abc").digest.at("md2") + "  abc\n");
    for (const char* foreign : {"WHIRLPOOLSUMS", "x.ripemd160"})
        dir.WriteFile(foreign, std::string(64, 'a') + "  abc\n");
    // rhash --bsd --md5 --sha256 pads its tags to one width.
    dir.WriteFile("padded",
                  "MD5   (abc) = 900150983cd24fb0d6963f7d28e17f72\n"
                  "SHA256 (abc) = "
                  "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    } cases[] = {
        {{"-c", "list.sfv"},
         1,
         "abc: OK\nthe fox: OK\nabc: FAILED\n",
         "corvane-sum: WARNING: 1 computed checksum did NOT match\n"},
        {{"-a", "crc32", "-c", "--quiet", "list.sfv"},
         1,
         "abc: FAILED\n",
         "corvane-sum: WARNING: 1 computed checksum did NOT match\n"},
        // With only MD5 asked for, an SFV list is lines md5sum would not read either.
        {{"-a", "md5", "-c", "list.sfv"},
         1,
         "",
         "corvane-sum: list.sfv: no properly formatted checksum lines found\n"},
        {{"-c", "gost94"}, 0, "abc: OK\n", ""},
        {{"-a", "gost", "-c", "gost94"}, 0, "abc: OK\n", ""},
        {{"-c", "gost12"}, 0, "abc: OK\nabc: OK\nabc: OK\n", ""},
        {{"-c", "padded"}, 0, "abc: OK\nabc: OK\n", ""},
        {{"-c", "-w", "list.md2"}, 0, "abc: OK\n", ""},  // no other candidate tried first
        {{"-c", "WHIRLPOOLSUMS"},
         1,
         "",
         "corvane-sum: WHIRLPOOLSUMS: named for an algorithm corvane-sum does not compute; not "
         "checked\n"},
        {{"-c", "x.ripemd160"},
         1,
         "",
         "corvane-sum: x.ripemd160: named for an algorithm corvane-sum does not compute; not "
         "checked\n"},
        // Its own name reads a clear-signed list as the dialog does (the signature unchecked).
        {{"-c", "--strict", "signed"}, 0, "abc: OK\n", ""},
        {{"-c", "--strict", "padded"},  // the coreutils tools' own form only
         1,
         "abc: OK\n",
         "corvane-sum: WARNING: 1 line is improperly formatted\n"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = RunSum(c.args, "", dir.path());
        EXPECT_EQ(r.status, c.status) << c.args[1];
        EXPECT_EQ(r.out, c.out) << c.args[1];
        EXPECT_EQ(r.err, c.err) << c.args[1];
    }
}

// A 32-digit untagged digest may be MD5, MD4 or MD2: without -a all three are computed in the
// one read (a FIFO can be read only once), the line is OK when one matches, and --warn says which.
// With -a only that one counts.
TEST(CheckE2e, UntaggedDigestOfSeveralAlgorithmsInOneRead) {
    TempDir dir;
    const std::string md4 = SharedVector("abc").digest.at("md4");
    dir.WriteFile("SUMS", md4 + "  fifo\n");
    const std::string fifo = dir.PathOf("fifo");
    for (const bool chosen : {false, true}) {
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        std::vector<std::string> args = {CORVANE_SUM_PATH, "-c", "-w", "SUMS"};
        if (chosen) args.insert(args.begin() + 1, {"-a", "md5"});
        RunningProcess running = StartProcess(args, dir.path());
        const int writer = open(fifo.c_str(), O_WRONLY);
        ASSERT_GE(writer, 0);
        EXPECT_EQ(write(writer, "abc", 3), 3);
        close(writer);
        std::string out;
        EXPECT_EQ(WaitProcess(running, out), chosen ? 1 : 0);
        EXPECT_EQ(out, chosen ? "fifo: FAILED\n" : "fifo: OK\n");
        std::filesystem::remove(fifo);
    }
    dir.WriteFile("f", "abc");
    dir.WriteFile("SUMS", md4 + "  f\nSHA256 (f) = zz\n");
    EXPECT_EQ(RunSum({"-c", "-w", "SUMS"}, "", dir.path()).err,
              "corvane-sum: SUMS: 1: untagged digest matched as MD4\n"
              "corvane-sum: SUMS: 2: improperly formatted SHA256 checksum line\n"
              "corvane-sum: WARNING: 1 line is improperly formatted\n");
}

// Regular files are hashed with the likeliest candidate first and with the others only when it
// does not match: each line still matches whichever algorithm wrote it, whatever came before.
TEST(CheckE2e, UntaggedDigestsOfMixedAlgorithmsInARegularFile) {
    TempDir dir;
    dir.WriteFile("f", "abc");
    const auto& digest = SharedVector("abc").digest;
    std::string sums;
    for (const char* algo : {"md4", "md4", "md2", "md5", "sha256", "gost", "sha256"})
        sums += digest.at(algo) + "  f\n";
    sums += std::string(32, '0') + "  f\n";
    dir.WriteFile("SUMS", sums);
    const ProcessResult r = RunSum({"-c", "-w", "SUMS"}, "", dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "f: OK\nf: OK\nf: OK\nf: OK\nf: OK\nf: OK\nf: OK\nf: FAILED\n");
    EXPECT_EQ(r.err,
              "corvane-sum: SUMS: 1: untagged digest matched as MD4\n"
              "corvane-sum: SUMS: 2: untagged digest matched as MD4\n"
              "corvane-sum: SUMS: 3: untagged digest matched as MD2\n"
              "corvane-sum: SUMS: 4: untagged digest matched as MD5\n"
              "corvane-sum: SUMS: 5: untagged digest matched as SHA256\n"
              "corvane-sum: SUMS: 6: untagged digest matched as GOST94\n"
              "corvane-sum: SUMS: 7: untagged digest matched as SHA256\n"
              "corvane-sum: SUMS: 8: untagged digest matched none of MD5, XXH128, MD4, MD2\n"
              "corvane-sum: WARNING: 1 computed checksum did NOT match\n");
}

TEST(CheckE2e, UnreadableSumsFiles) {
    TempDir dir;
    std::filesystem::create_directory(dir.PathOf("d"));
    const ProcessResult missing = RunSum({"-c", "nope"}, "", dir.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "corvane-sum: nope: No such file or directory\n");
    const ProcessResult directory = RunSum({"-c", "d"}, "", dir.path());
    EXPECT_EQ(directory.status, 1);
    EXPECT_EQ(directory.err, "corvane-sum: d: read error\n");  // as GNU 9.1 says it
}

// The same sums file and options given to sha256sum and to us: identical reports.
TEST(CheckE2e, OptionsBehaveAsSha256sum) {
    TempDir dir;
    WriteNamedFiles(dir);
    std::vector<std::string> args = {"-a", "sha256"};
    args.insert(args.end(), kNames.begin(), kNames.end());
    const std::string lines = RunSum(args, "", dir.path()).out;
    const std::string zeros(64, '0');
    dir.WriteFile("mixed", "# a comment\n" + lines + zeros + "  plain\n" + zeros +
                               "  gone\nnot a checksum line\n\n" + zeros + "  also gone\r\n");
    dir.WriteFile("clean", lines);
    dir.WriteFile("missing-only", zeros + "  gone\n");
    dir.WriteFile("junk", "junk\n");

    const std::vector<std::vector<std::string>> optionSets = {
        {},
        {"--quiet"},
        {"--status"},
        {"--ignore-missing"},
        {"--strict"},
        {"-w"},
        {"--warn", "--quiet", "--strict"},
    };
    for (const std::string sums : {"mixed", "clean", "missing-only", "junk"}) {
        for (const auto& options : optionSets) {
            std::vector<std::string> theirs = {"sha256sum", "-c"};
            theirs.insert(theirs.end(), options.begin(), options.end());
            theirs.push_back(sums);
            const ProcessResult expected = RunProcess(theirs, "", dir.path());

            for (const std::string jobs : {"1", "4"}) {
                std::vector<std::string> ours = {"-a", "sha256", "-j", jobs, "-c"};
                ours.insert(ours.end(), options.begin(), options.end());
                ours.push_back(sums);
                const ProcessResult got = RunSum(ours, "", dir.path());
                std::string label = sums;
                for (const auto& o : options) label += " " + o;
                EXPECT_EQ(got.status, expected.status) << label;
                EXPECT_EQ(got.out, expected.out) << label;
                EXPECT_EQ(got.err, ReplaceAll(expected.err, "sha256sum:", "corvane-sum:")) << label;
            }
        }
    }
}

// BLAKE2b, BLAKE2s and CRC-32C lines as b2sum (coreutils 9.1), openssl dgst 3.0 and rhash 1.4.3
// write them for a file "abc": our tagged lines are theirs byte for byte, and -c reads every
// spelling, untagged ones by their length (SHA-512 and CRC-32 are tried first, and fail).
TEST(CheckE2e, Blake2AndCrc32cLinesAsThePeersWriteThem) {
    TempDir dir;
    dir.WriteFile("abc", "abc");
    const std::string b2b =
        "ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d17d87c5392aab792dc252d5de"
        "4533cc9518d38aa8dbf1925ab92386edd4009923";
    const std::string b2s = "508c5e8c327c14e2e1a72ba34eeb452f37458b209ed63a294d999b4c86675982";
    const struct {
        const char* algorithm;
        std::string tagged;  // b2sum --tag, rhash --bsd
    } written[] = {{"blake2b", "BLAKE2b (abc) = " + b2b + "\n"},
                   {"blake2s", "BLAKE2s (abc) = " + b2s + "\n"},
                   {"crc32c", "CRC32C (abc) = 364b3fb7\n"}};
    for (const auto& w : written) {
        const ProcessResult r = RunSum({"-a", w.algorithm, "--tag", "abc"}, "", dir.path());
        EXPECT_EQ(r.out, w.tagged) << w.algorithm;
    }
    const std::string lines[] = {
        b2b + "  abc",               // b2sum
        "BLAKE2B-512(abc)= " + b2b,  // openssl dgst -blake2b512
        "BLAKE2S-256(abc)= " + b2s,  // openssl dgst -blake2s256
        "BLAKE2B (abc) = " + b2b,    // rhash's upper-case names
        "BLAKE2S (abc) = " + b2s,
        "364b3fb7  abc",  // rhash --crc32c
        "CRC32C (abc) = 364B3FB7",
    };
    for (const std::string& line : lines) {
        dir.WriteFile("SUMS", line + "\n");
        const ProcessResult r = RunSum({"-c", "SUMS"}, "", dir.path());
        EXPECT_EQ(r.status, 0) << line << r.err;
        EXPECT_EQ(r.out, "abc: OK\n") << line;
    }
}

}  // namespace
