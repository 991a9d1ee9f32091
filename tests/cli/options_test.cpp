// Command-line parsing: algorithm selection, option conflicts, -j, operands.
#include "options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "help.h"
#include "sum_format.h"

namespace {

ParsedCommandLine ParseAs(const char* argv0, std::initializer_list<const char*> args) {
    std::vector<std::string> storage{argv0};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return ParseCommandLine(InvocationOf(argv0), static_cast<int>(storage.size()), argv.data());
}

ParsedCommandLine Parse(std::initializer_list<const char*> args) {
    return ParseAs("anything/corvane-sum", args);
}

using A = Algorithm;

TEST(Options, AlgorithmSelection) {
    const struct {
        std::initializer_list<const char*> args;
        std::vector<Algorithm> expected;
    } cases[] = {
        {{}, {A::Sha1}},
        {{"-a", "md5"}, {A::Md5}},
        {{"-a", "SHA256", "--algorithm", "Crc32"}, {A::Sha256, A::Crc32}},
        {{"-a", "md2,md4,md2", "-a", "md4,gost"}, {A::Md2, A::Md4, A::Gost}},
        {{"--algorithm=sha384"}, {A::Sha384}},
        {{"-asha512"}, {A::Sha512}},
        {{"-a", "md5", "--all"},
         {A::Crc32, A::Gost, A::Md2, A::Md4, A::Md5, A::Sha1, A::Sha256, A::Sha384, A::Sha512}},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = Parse(c.args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        EXPECT_EQ(parsed.options->algorithms, c.expected);
        EXPECT_EQ(parsed.options->algorithmsChosen, c.args.size() != 0);
    }
}

// The name it runs under picks the default algorithm and names it in messages; -a still rules.
TEST(Options, ProgramNames) {
    const struct {
        const char* argv0;
        std::initializer_list<const char*> args;
        const char* name;
        std::vector<Algorithm> expected;
        bool chosen;
    } cases[] = {
        {"/usr/bin/md5sum", {}, "md5sum", {A::Md5}, true},
        {"sha512sum", {}, "sha512sum", {A::Sha512}, true},
        {"./gost94sum", {}, "gost94sum", {A::Gost}, true},
        {"gostsum", {}, "gostsum", {A::Gost}, true},
        {"crc32sum", {}, "crc32sum", {A::Crc32}, true},
        {"md5sum", {"-a", "sha1"}, "md5sum", {A::Sha1}, true},
        {"crc32sum", {"--sfv"}, "crc32sum", {A::Crc32}, true},
        {"corvane-sum", {"--sfv"}, "corvane-sum", {A::Crc32}, false},
        {"", {}, "corvane-sum", {A::Sha1}, false},
        // A name that names no algorithm needs -a.
        {"sha3sum", {"-a", "md5"}, "sha3sum", {A::Md5}, true},
        {"MD5SUM",
         {"--all"},
         "MD5SUM",
         std::vector<Algorithm>(kAllOptionAlgorithms.begin(), kAllOptionAlgorithms.end()),
         true},
    };
    for (const char* unknown : {"sha3sum", "MD5SUM", "sum", "shasum", "md5", "b3sums"}) {
        const ParsedCommandLine refused = ParseAs(unknown, {"f"});
        EXPECT_FALSE(refused.options) << unknown;
        EXPECT_NE(refused.error.find("choose one with -a"), std::string::npos) << unknown;
        EXPECT_TRUE(ParseAs(unknown, {"--help"}).options) << unknown;
    }
    // Messages name a coreutils tool as it was called, as those tools do; the others by name.
    for (const auto& [argv0, shown] : {std::pair{"/usr/bin/md5sum", "/usr/bin/md5sum"},
                                       {"../cksum", "../cksum"}, {"b2sum", "b2sum"},
                                       {"./gost94sum", "gost94sum"}, {"/opt/b3sum", "b3sum"},
                                       {"", "corvane-sum"}})
        EXPECT_EQ(InvocationOf(argv0).displayName, shown) << argv0;
    for (const auto& c : cases) {
        EXPECT_EQ(InvocationOf(c.argv0).programName, c.name);
        const ParsedCommandLine parsed = ParseAs(c.argv0, c.args);
        ASSERT_TRUE(parsed.options) << c.argv0;
        EXPECT_EQ(parsed.options->algorithms, c.expected) << c.argv0;
        EXPECT_EQ(parsed.options->algorithmsChosen, c.chosen) << c.argv0;
    }
}

TEST(Options, UsageErrors) {
    const std::initializer_list<const char*> cases[] = {
        {"-a", "sha3"},
        {"-a", "md5,"},
        {"-a", ""},
        {"-j", "0"},
        {"-j", "x"},
        {"-j", "4x"},
        {"-j", "-3"},
        {"-j", ""},
        {"--jobs"},
        {"--bogus"},
        {"-x"},
        {"-c", "--tag"},
        {"-c", "-s", "abc"},
        {"--quiet"},
        {"--status", "f"},
        {"--strict"},
        {"-w"},
        {"--ignore-missing"},
        {"--tag=yes"},
        {"-c", "--sfv"},
        {"-c", "-r"},
        {"-c", "-z"},
        {"-c", "-b"},
        {"--tag", "-t"},
        // SFV lines hold CRC-32 only.
        {"--sfv", "-a", "sha256"},
        {"--sfv", "-a", "crc32,md5"},
        {"--sfv", "--all"},
        {"--sfv", "--base64"},
        // -l: whole bytes, within the algorithm's range, variable-length algorithms only.
        {"-a", "blake2b", "-l", "7"},
        {"-a", "blake2b", "-l", "520"},
        {"-a", "blake2b", "-l", "x"},
        {"-a", "md5", "-l", "128"},
        {"-a", "blake2b,sha256", "-l", "256"},
        {"-l", "256"},
    };
    for (const auto& args : cases) {
        const ParsedCommandLine parsed = Parse(args);
        EXPECT_FALSE(parsed.options) << *args.begin();
    }
    EXPECT_NE(Parse({"-a", "sha3"}).error.find("'sha3'"), std::string::npos);
}

// Under the drop-ins' names: their algorithms, lengths (b3sum's in bytes), classic checksums and
// encodings; each tool's own refusals.
TEST(Options, DropInCommandLines) {
    const struct {
        const char* argv0;
        std::initializer_list<const char*> args;
        std::vector<Algorithm> algorithms;  // empty, with no classic checksum: refused
        std::size_t digestBytes = 0;
        ClassicSum classic = ClassicSum::None;
        DigestEncoding encoding = DigestEncoding::Hex;
    } cases[] = {
        {"corvane-sum",
         {"-a", "blake3", "-l", "512", "--base64"},
         {A::Blake3},
         64,
         {},
         DigestEncoding::Base64},
        {"corvane-sum",
         {"-a", "blake2b,blake3", "-l", "128", "--raw"},
         {A::Blake2b, A::Blake3},
         16,
         {},
         DigestEncoding::Raw},
        {"b2sum", {"-l", "256"}, {A::Blake2b}, 32},
        {"cksum", {}, {}, 0, ClassicSum::Crc},
        {"cksum", {"-a", "bsd"}, {}, 0, ClassicSum::Bsd},
        {"cksum", {"-a", "sysv", "--raw"}, {}, 0, ClassicSum::Sysv, DigestEncoding::Raw},
        {"cksum", {"-a", "sm3"}, {A::Sm3}},
        {"cksum", {"-a", "sha2", "-l", "384"}, {A::Sha384}},
        {"cksum", {"-a", "sha2", "-l", "224"}, {A::Sha224}},  // not SHA-512/224
        {"cksum", {"-a", "sha3", "--length=224"}, {A::Sha3_224}},
        {"cksum", {"-a", "sha2"}, {}},
        {"cksum", {"-a", "sha3", "-l", "160"}, {}},
        {"cksum", {"-a", "sha256", "-l", "256"}, {}},
        {"cksum", {"-a", "bsd", "-c"}, {}},
        {"cksum", {"-a", "crc", "--base64"}, {}},
        {"cksum", {"-a", "blake3"}, {}},
        {"cksum", {"-t"}, {}},
        {"b3sum", {"-l", "100", "--no-names"}, {A::Blake3}, 100},
        {"b3sum", {"--keyed", "--derive-key", "x"}, {}},
        {"b3sum", {"--raw", "a", "b"}, {}},
        {"b3sum", {"--quiet"}, {}},
        {"b3sum", {"--tag"}, {}},
        {"xxhsum", {}, {A::Xxh64}},
        {"xxhsum", {"-H3", "--tag"}, {A::Xxh3}},
        {"xxh128sum", {"-H0"}, {A::Xxh32}},
        {"xxh32sum", {"-c"}, {A::Xxh32, A::Xxh64, A::Xxh3, A::Xxh128}},
        {"xxhsum", {"-H9"}, {}},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = ParseAs(c.argv0, c.args);
        const std::string label =
            std::string(c.argv0) + " " + (c.args.size() ? *c.args.begin() : "");
        if (c.algorithms.empty() && c.classic == ClassicSum::None) {
            EXPECT_FALSE(parsed.options) << label;
            continue;
        }
        ASSERT_TRUE(parsed.options) << label << ": " << parsed.error;
        EXPECT_EQ(parsed.options->algorithms, c.algorithms) << label;
        EXPECT_EQ(parsed.options->digestBytes, c.digestBytes) << label;
        EXPECT_EQ(parsed.options->classic, c.classic) << label;
        EXPECT_EQ(parsed.options->encoding, c.encoding) << label;
    }
}

// Which lines come out (the -b, -t and --tag combinations are compared with md5sum end to end):
// the last of --tag, --untagged and --sfv counts, and several algorithms default to BSD lines.
TEST(Options, LineStyles) {
    using F = SumFormat;
    const struct {
        std::initializer_list<const char*> args;
        SumFormat format;
        bool binary, zero;
    } cases[] = {
        {{"-a", "md5,sha1"}, F::Bsd, false, false},
        {{"-a", "md5,sha1", "--untagged", "-b"}, F::Gnu, true, false},
        {{"--tag", "-b", "--untagged", "-z"}, F::Gnu, true, true},
        {{"--tag", "--sfv"}, F::Sfv, false, false},
        {{"--sfv", "--tag"}, F::Bsd, false, false},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = Parse(c.args);
        ASSERT_TRUE(parsed.options) << parsed.error;
        const SumLineStyle style = StyleOf(*parsed.options);
        EXPECT_EQ(style.format, c.format) << *c.args.begin();
        EXPECT_EQ(style.binary, c.binary);
        EXPECT_EQ(style.zeroTerminated, c.zero);
    }
}

// Manual pages and completions are made from --help: every option has a line of its own there.
TEST(Options, HelpListsEveryOption) {
    const std::string help = HelpText(InvocationOf("corvane-sum"));
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = help.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(help.substr(at, end - at));
    for (const std::string& name : LongOptionNames()) {
        const std::string option = "--" + name;
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [&](const std::string& line) {
                                    return line.starts_with("  ") &&
                                           (line.find(option + " ") != std::string::npos ||
                                            line.find(option + "=") != std::string::npos);
                                }),
                  1)
            << option;
    }
}

TEST(Options, OperandsKeepOrderAroundOptions) {
    const ParsedCommandLine parsed = Parse({"b", "-a", "md5", "a", "--", "-c", "-"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->mode, Mode::Sum);
    EXPECT_EQ(parsed.options->files, (std::vector<std::string>{"b", "a", "-c", "-"}));
}

TEST(Options, CheckModeFlagsAndJobs) {
    const ParsedCommandLine parsed = Parse({"-c", "--strict", "--ignore-missing", "-j", "3", "s"});
    ASSERT_TRUE(parsed.options);
    const Options& o = *parsed.options;
    EXPECT_EQ(o.mode, Mode::Check);
    EXPECT_TRUE(o.strict && o.ignoreMissing);
    EXPECT_FALSE(o.quiet || o.status || o.warn);
    EXPECT_EQ(o.jobs, 3u);
    EXPECT_EQ(o.files, std::vector<std::string>{"s"});
    EXPECT_EQ(parsed.notice, "");
    // Capped, and told so.
    const ParsedCommandLine many = Parse({"-j", "100000", "-j", "99999"});
    ASSERT_TRUE(many.options);
    EXPECT_EQ(many.options->jobs, MaxJobs());
    EXPECT_EQ(many.notice, "-j 99999 is more than 4 per core; using " + std::to_string(MaxJobs()));
}

TEST(Options, QuietStatusAndWarnOverrideOneAnother) {
    const struct {
        std::initializer_list<const char*> args;
        bool quiet, status, warn;
    } cases[] = {
        {{"-c", "--quiet"}, true, false, false},
        {{"-c", "--quiet", "--status"}, false, true, false},
        {{"-c", "--status", "-w"}, false, false, true},
        {{"-c", "-w", "--quiet"}, true, false, false},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = Parse(c.args);
        ASSERT_TRUE(parsed.options);
        EXPECT_EQ(parsed.options->quiet, c.quiet);
        EXPECT_EQ(parsed.options->status, c.status);
        EXPECT_EQ(parsed.options->warn, c.warn);
    }
}

TEST(Options, StringsTagHelpVersion) {
    const ParsedCommandLine strings = Parse({"-s", "", "--string", "a b", "--tag"});
    ASSERT_TRUE(strings.options);
    EXPECT_EQ(strings.options->strings, (std::vector<std::string>{"", "a b"}));
    EXPECT_EQ(strings.options->format, LineFormat::Bsd);
    EXPECT_GE(strings.options->jobs, 1u);  // defaults to the cores

    EXPECT_EQ(Parse({"--help", "--bogus-after"}).options->mode, Mode::Help);
    EXPECT_EQ(Parse({"-h"}).options->mode, Mode::Help);
    EXPECT_EQ(Parse({"--version"}).options->mode, Mode::Version);
    EXPECT_EQ(Parse({"--ver"}).options->mode, Mode::Version);  // unambiguous abbreviation
    EXPECT_FALSE(Parse({"--st"}).options);                     // status, strict or string
}

}  // namespace
