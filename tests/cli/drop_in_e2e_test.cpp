// corvane-sum linked as md5sum, sha1sum, sha224sum, sha256sum, sha384sum, sha512sum, b2sum and
// cksum against the coreutils tools themselves: the same command lines give the same output,
// messages and exit status, byte for byte, and the output of processes sharing a pipe keeps whole
// lines. Linked as b3sum and the xxhsum tools, the same lines and statuses as those (their
// messages are their own).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "process.h"
#include "sum_file.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

const char* const kTools[] = {"md5sum", "sha1sum", "sha256sum", "sha384sum", "sha512sum"};
const char* const kNewTools[] = {"sha224sum", "b2sum",    "cksum",    "b3sum",
                                 "xxhsum",    "xxh32sum", "xxh64sum", "xxh128sum"};

// Runs `program` with `argv0` as its argv[0] (how a tool names itself in its messages).
std::vector<std::string> ExecAs(const std::string& argv0, const std::string& program) {
    return {"/bin/bash", "-c", "exec -a \"$0\" \"$@\"", argv0, program};
}

// corvane-sum under each tool's name, in a folder of its own.
class LinkedTools {
public:
    LinkedTools() {
        for (const char* tool : kTools) EXPECT_EQ(symlink(CORVANE_SUM_PATH, Path(tool).c_str()), 0);
        for (const char* tool : kNewTools)
            EXPECT_EQ(symlink(CORVANE_SUM_PATH, Path(tool).c_str()), 0);
    }
    std::string Path(const std::string& tool) const { return bin.PathOf(tool); }
    // Ours as the tool, called by its bare name as a PATH lookup calls it (or by `argv0`).
    std::vector<std::string> Command(const std::string& tool, const std::string& argv0 = "") const {
        return ExecAs(argv0.empty() ? tool : argv0, Path(tool));
    }

private:
    TempDir bin;
};

void ExpectSame(const ProcessResult& ours, const ProcessResult& theirs, const std::string& label) {
    EXPECT_EQ(ours.status, theirs.status) << label;
    EXPECT_EQ(ours.out, theirs.out) << label;
    EXPECT_EQ(ours.err, theirs.err) << label;
}

std::string Label(const std::string& tool, const std::vector<std::string>& args) {
    std::string label = tool;
    for (const std::string& arg : args) label += " " + arg;
    return label;
}

// Whether the oracle is installed (b3sum and xxhsum come from packages of their own).
bool Installed(const std::string& tool) {
    return RunProcess({"/bin/sh", "-c", "command -v " + tool}).status == 0;
}

std::vector<std::string> Join(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// Ours under the tool's name and the tool itself, on the same arguments and input.
void ExpectSameAsTool(const LinkedTools& tools, const std::string& tool,
                      const std::vector<std::string>& args, const std::string& input,
                      const std::string& folder, const std::string& label) {
    ExpectSame(RunProcess(Join(tools.Command(tool), args), input, folder),
               RunProcess(Join({tool}, args), input, folder), label);
}

TEST(DropInE2e, SameLinesMessagesAndStatusAsTheCoreutilsTools) {
    const LinkedTools tools;
    TempDir dir;
    const std::vector<std::string> names = {"plain",    "with space", "a\nnewline", "back\\slash",
                                            "cr\rname", "-dash",      "empty"};
    for (std::size_t i = 0; i < names.size(); ++i)
        dir.WriteFile(names[i], i + 1 == names.size() ? "" : RampMessage(1000 * i + 7));

    // Every way of writing lines, and every usage error the two have in common.
    const std::vector<std::vector<std::string>> optionSets = {
        {},
        {"-b"},
        {"--binary"},
        {"-t"},
        {"-b", "-t"},
        {"-t", "-b"},
        {"--tag"},
        {"--tag", "-b"},
        {"-t", "--tag"},
        {"--tag", "-t", "-b"},
        {"-z"},
        {"-b", "-z"},
        {"--tag", "-z"},
        {"--zero", "--text"},
        {"--bin", "--ta"},
        {"--tag", "-t"},
        {"--tag", "-b", "-t"},
        {"-c", "-z"},
        {"-c", "--tag"},
        {"-c", "-b", "--tag"},
        {"-c", "-t"},
        {"-c", "--binary", "--warn"},
        {"--quiet"},
        {"--status", "--quiet"},
        {"--quiet", "--warn"},
        {"-w", "--strict"},
        {"--strict", "--ignore-missing"},
        {"--tag", "-t", "--quiet"},
        {"-x"},
        {"--frobnicate"},
        {"--sta"},
        // Abbreviations mean the tool's own options, ours aside.
        {"--stri"},
        {"--s"},
        {"--t"},
        {"-c", "--stri", "--w"},
    };
    for (const char* tool : kTools) {
        for (const std::vector<std::string>& options : optionSets) {
            std::vector<std::string> tail = options;
            tail.push_back("--");
            tail.insert(tail.end(), names.begin(), names.end());
            // Missing: named in messages as the tools quote names (bytes of no character too).
            tail.insert(tail.end(), {"missing", "caf\xe9", "a'b\n", "x\n'y"});
            ExpectSameAsTool(tools, tool, tail, "", dir.path(), Label(tool, options));
        }
        // Standard input, named or not.
        for (const std::vector<std::string>& args :
             std::vector<std::vector<std::string>>{{}, {"-b", "-"}, {"--tag", "-", "plain"}}) {
            ExpectSameAsTool(tools, tool, args, "abc", dir.path(), Label(tool, args) + " <abc");
        }
        // Called by a path, as scripts call /usr/bin/md5sum: the tools name themselves so.
        const std::string path = std::string("./bin/") + tool;
        for (const std::vector<std::string>& args :
             std::vector<std::vector<std::string>>{{"missing"}, {"--frobnicate"}, {"-c", "plain"}}) {
            ExpectSame(RunProcess(Join(tools.Command(tool, path), args), "", dir.path()),
                       RunProcess(Join(ExecAs(path, tool), args), "", dir.path()),
                       Label(path, args));
        }
    }
}

// The newer drop-ins, each row run by the tool and by us on the same files and input: output and
// status always, messages too where the row says (the coreutils ones', b3sum's usage errors and
// key complaints). Rows of the coreutils 9.1 behaviour only (--base64, --raw and -a sha2/sha3 are
// later releases').
TEST(DropInE2e, NewerDropInsAsTheirTools) {
    const LinkedTools tools;
    TempDir dir;
    const std::vector<std::string> names = {"plain", "with space", "back\\slash", "empty", "big"};
    for (std::size_t i = 0; i < names.size(); ++i)
        dir.WriteFile(names[i], names[i] == "empty" ? ""
                                : names[i] == "big" ? RampMessage(70001)
                                                    : RampMessage(1000 * i + 7));
    dir.WriteFile("a\nnewline", "x");
    ASSERT_EQ(mkdir(dir.PathOf("sub").c_str(), 0700), 0);
    const struct {
        const char* tool;
        std::vector<std::string> args;
        bool messages;                        // compare standard error as well
        std::string input;                    // standard input (b3sum --keyed: the key)
        std::vector<std::string> after = {};  // arguments after the files
    } rows[] = {
        {"cksum", {}, true, ""},
        {"cksum", {"-a", "sysv"}, true, ""},
        {"cksum", {"-a", "bsd", "-z"}, true, ""},
        {"cksum", {"-a", "crc", "--untagged"}, true, ""},
        {"cksum", {"-a", "md5"}, true, ""},
        {"cksum", {"-a", "sha1", "-z"}, true, ""},
        {"cksum", {"-a", "sha224"}, true, ""},
        {"cksum", {"-a", "sha256", "--untagged"}, true, ""},
        {"cksum", {"-a", "sha384"}, true, ""},
        {"cksum", {"-a", "sha512", "--tag"}, true, ""},
        {"cksum", {"-a", "blake2b"}, true, ""},
        {"cksum", {"-a", "blake2b", "-l", "256"}, true, ""},
        {"cksum", {"-a", "blake2b", "--le=128", "--untagged"}, true, ""},
        {"cksum", {"-a", "sm3"}, true, ""},
        {"cksum", {"-l", "7"}, true, ""},
        {"cksum", {"-a", "blake2b", "-l", "520"}, true, ""},
        {"cksum", {"-a", "md5", "-l", "128"}, true, ""},
        {"cksum", {"-a", "sha4"}, true, ""},
        {"cksum", {"-a", "crc", "-c"}, true, ""},
        {"cksum", {"-a", "bsd"}, true, "", {"sub"}},  // a folder
        {"cksum", {"-a", "md5"}, true, "", {"sub"}},
        {"cksum", {"-b"}, true, ""},
        {"cksum", {"--frobnicate"}, true, ""},
        {"sha224sum", {}, true, ""},
        {"sha224sum", {"--tag", "-z"}, true, ""},
        {"b2sum", {}, true, ""},
        {"b2sum", {"-l", "256", "-b"}, true, ""},
        {"b2sum", {"--tag", "-l", "8"}, true, ""},
        {"b2sum", {"-l", "512", "--tag"}, true, ""},
        {"b2sum", {"-l", "abc"}, true, ""},
        {"b2sum", {"-l", "1024"}, true, ""},
        {"b3sum", {}, false, ""},
        {"b3sum", {"--no-names"}, false, ""},
        {"b3sum", {"-l", "8"}, false, ""},
        {"b3sum", {"-l", "131", "--num-threads", "1"}, false, ""},
        {"b3sum", {"--derive-key", "corvane drop-in test context"}, false, ""},
        {"b3sum", {"--keyed", "-l", "40"}, false, std::string(32, '\x5a')},
        {"b3sum", {"--keyed"}, true, "short key"},
        {"b3sum", {"--keyed"}, true, std::string(33, 'k')},
        {"b3sum", {"-l", "0"}, true, ""},
        {"b3sum", {"-l", "0", "--no-names"}, true, ""},
        {"b3sum", {"-l", "+7"}, true, ""},
        {"b3sum", {"-l", "x"}, true, ""},
        {"b3sum", {"--length=-3"}, true, ""},
        {"b3sum", {"-l", "-3"}, true, ""},
        {"b3sum", {"--tag"}, true, ""},
        {"b3sum", {"-c", "-x"}, true, ""},
        {"b3sum", {"--ke"}, true, ""},
        {"b3sum", {"--no-names=1"}, true, ""},
        {"b3sum", {"--keyed", "--derive-key", "c", "-l", "4"}, true, ""},
        {"b3sum", {"--quiet"}, true, ""},
        {"b3sum", {"--no-names", "-c"}, true, ""},
        {"b3sum", {"-c", "--derive-key", "c"}, true, ""},
        {"b3sum", {"-l", "5", "--length", "6"}, true, ""},
        {"b3sum", {"--num-threads", "x1"}, true, ""},
        {"b3sum", {"--num-threads", "99999999999999999999"}, true, ""},
        {"b3sum", {"--keyed"}, true, "", {"-l"}},
        {"b3sum", {"--no-names"}, true, "", {"--derive-key"}},
        {"b3sum", {"-l", "1"}, true, "", {"--", "-x"}},
        {"xxhsum", {"--ta"}, false, ""},
        {"xxhsum", {"-x"}, false, ""},
        {"xxhsum", {"--check=1"}, false, ""},
        {"xxhsum", {"-H"}, false, ""},
        {"xxhsum", {"-H", "1"}, false, ""},
        {"xxhsum", {}, false, ""},
        {"xxhsum", {"-H0"}, false, ""},
        {"xxhsum", {"-H3"}, false, ""},
        {"xxhsum", {"-H2", "--tag"}, false, ""},
        {"xxh32sum", {"--tag"}, false, ""},
        {"xxh64sum", {}, false, ""},
        {"xxh128sum", {}, false, ""},
    };
    for (const auto& row : rows) {
        if (!Installed(row.tool)) continue;
        // b3sum and xxhsum have no escapes of their own to compare here: names that need none.
        std::vector<std::string> files = names;
        if (row.messages && std::string(row.tool) != "b3sum") files.push_back("a\nnewline");
        const std::vector<std::string> args = Join(Join(row.args, files), row.after);
        const ProcessResult theirs = RunProcess(Join({row.tool}, args), row.input, dir.path());
        const ProcessResult ours =
            RunProcess(Join(tools.Command(row.tool), args), row.input, dir.path());
        const std::string label = Label(row.tool, row.args);
        EXPECT_EQ(ours.out, theirs.out) << label;
        EXPECT_EQ(ours.status, theirs.status) << label;
        if (row.messages) {
            EXPECT_EQ(ours.err, theirs.err) << label;
        }
        // Standard input, as the tool names it (or not).
        if (!row.input.empty() || theirs.status != 0) continue;
        const std::string input = RampMessage(5000);
        EXPECT_EQ(RunProcess(Join(tools.Command(row.tool), row.args), input, dir.path()).out,
                  RunProcess(Join({row.tool}, row.args), input, dir.path()).out)
            << label << " <input";
    }
}

// Lists the tools write, checked by them and by us: the same report and status.
TEST(DropInE2e, NewerDropInsCheckTheirToolsLists) {
    const LinkedTools tools;
    TempDir dir;
    for (const char* name : {"one", "two", "three"})
        dir.WriteFile(name, RampMessage(2000 + static_cast<std::size_t>(name[1])));
    const struct {
        const char* tool;
        std::vector<std::string> write, check;
    } rows[] = {
        {"cksum", {"-a", "sha256"}, {}},
        {"cksum", {"-a", "blake2b", "-l", "128"}, {}},
        {"cksum", {"-a", "sm3", "--untagged"}, {"-a", "sm3"}},
        {"cksum", {"-a", "md5", "--untagged"}, {}},  // untagged lines need -a: none found
        {"cksum", {"-a", "sha1"}, {"-w"}},
        {"b2sum", {"--tag", "-l", "64"}, {"-w"}},
        {"b2sum", {"-l", "256"}, {}},
        {"b2sum", {"--tag", "-l", "64"}, {}},
        {"sha224sum", {}, {"--quiet"}},
        {"b3sum", {}, {}},
        {"b3sum", {}, {"--quiet"}},
        {"xxh64sum", {}, {}},
        {"xxhsum", {"-H3"}, {}},
        {"xxh128sum", {"--tag"}, {}},
    };
    for (const auto& row : rows) {
        if (!Installed(row.tool)) continue;
        const std::string list =
            RunProcess(Join(Join({row.tool}, row.write), {"one", "two", "three"}), "", dir.path())
                .out;
        // A changed file among them, bad lines and a missing file. The coreutils tools' messages
        // are compared as well.
        const std::string tool = row.tool;
        const bool coreutils = tool == "cksum" || tool == "b2sum" || tool == "sha224sum";
        const std::string missing =
            list.substr(0, list.find('\n') + 1).replace(list.find("one"), 3, "gone");
        dir.WriteFile("list", "junk\n" + list + "MD5 (x) = zz\njunk\n" + missing);
        dir.WriteFile("two", "changed");
        const std::vector<std::string> check = Join(Join({"-c"}, row.check), {"list"});
        const ProcessResult theirs = RunProcess(Join({row.tool}, check), "", dir.path());
        const ProcessResult ours = RunProcess(Join(tools.Command(row.tool), check), "", dir.path());
        const std::string label = Label(row.tool, row.write) + " | -c";
        EXPECT_EQ(ours.out, theirs.out) << label;
        EXPECT_EQ(ours.status, theirs.status) << label;
        if (coreutils) {
            EXPECT_EQ(ours.err, theirs.err) << label;
        }
        dir.WriteFile("two", RampMessage(2000 + static_cast<std::size_t>('w')));
    }
}

// A folder named to cksum: coreutils 9.1 reports it under every algorithm (the rows above) but
// its default, where it prints the CRC of no bytes and succeeds; we report it there too.
TEST(DropInE2e, CksumReportsAFolderUnderItsDefaultToo) {
    const LinkedTools tools;
    TempDir dir;
    ASSERT_EQ(mkdir(dir.PathOf("sub").c_str(), 0700), 0);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"sub"}, {"-a", "crc", "sub"}}) {
        const ProcessResult ours = RunProcess(Join(tools.Command("cksum"), args), "", dir.path());
        EXPECT_EQ(ours.status, 1) << Label("cksum", args);
        EXPECT_EQ(ours.out, "") << Label("cksum", args);
        EXPECT_EQ(ours.err, "cksum: sub: Is a directory\n") << Label("cksum", args);
    }
}

// Later cksum releases' --base64 and --raw: base64 lines read back by -c whatever the algorithm,
// raw output the digest's bytes.
TEST(DropInE2e, CksumBase64AndRaw) {
    const LinkedTools tools;
    TempDir dir;
    dir.WriteFile("f", RampMessage(3000));
    const std::string hex =
        Lines(RunSum({"-a", "sha512", "f"}, "", dir.path()).out)[0].substr(0, 128);
    EXPECT_EQ(
        RunProcess(Join(tools.Command("cksum"), {"-a", "sha512", "--raw", "f"}), "", dir.path())
            .out,
        HexToBytes(hex));
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"-a", "md5"},
                                               {"-a", "sha224", "--untagged"},
                                               {"-a", "blake2b", "-l", "200"},
                                               {"-a", "sha3", "-l", "384"},
                                               {"-a", "sha2", "-l", "224"}}) {
        const std::string list =
            RunProcess(Join(Join(Join(tools.Command("cksum"), {"--base64"}), args), {"f"}), "",
                       dir.path())
                .out;
        dir.WriteFile("list", list);
        const std::vector<std::string> check =
            args.back() == "--untagged" ? std::vector<std::string>{"-a", args[1], "-c", "list"}
                                        : std::vector<std::string>{"-c", "list"};
        const ProcessResult r = RunSum(check, "", dir.path());
        EXPECT_EQ(r.out, "f: OK\n") << Label("cksum --base64", args) << ": " << list << r.err;
    }
}

// Lists written in binary mode, with escapes and as BSD lines, checked by both with the check
// options; also a list on standard input.
TEST(DropInE2e, ChecksListsInEveryFormatAsTheCoreutilsToolsDo) {
    const LinkedTools tools;
    TempDir dir;
    const std::vector<std::string> names = {"plain", "a\nnewline", "back\\slash", "paren (1)"};
    for (std::size_t i = 0; i < names.size(); ++i)
        dir.WriteFile(names[i], RampMessage(300 * i + 1));
    for (const char* tool : {"md5sum", "sha384sum"}) {
        std::map<std::string, std::string> lists;
        for (const char* mode : {"-b", "-t", "--tag"}) {
            std::vector<std::string> args = {tool, mode};
            args.insert(args.end(), names.begin(), names.end());
            lists[mode] = RunProcess(args, "", dir.path()).out;
            dir.WriteFile(std::string("list") + mode, lists[mode]);
        }
        // A changed file, a missing one and a line of junk; zero bytes in lines; a folder.
        dir.WriteFile("mixed", lists["-b"] + "junk\n" + lists["--tag"].substr(0, 20) + "\n" +
                                   lists["-t"].substr(0, lists["-t"].find(' ')) + "  gone\n");
        const std::string digest = lists["-t"].substr(0, lists["-t"].find(' '));
        const std::string zero(1, '\0');
        dir.WriteFile("zeros", digest + "  plain" + zero + "x\n" + digest + "  " + zero + "a\n" +
                                   zero + digest + "  plain\n" + "\\" + digest + "  a" + zero +
                                   "\n" + lists["--tag"].substr(0, 5) + zero + "\n");
        std::filesystem::create_directories(dir.PathOf("folder"));
        // Clear-signed: the coreutils tools find the armor lines malformed, and so do we as them.
        const std::string armored =
            "-----BEGIN PGP SIGNED MESSAGE-----\nHash: SHA256\n\n" + lists["-t"] +
            "-----BEGIN PGP SIGNATURE-----\nx\n-----END PGP SIGNATURE-----\n";
        dir.WriteFile("signed", armored);
        for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{
                 {}, {"--quiet"}, {"--status"}, {"-w"}, {"--strict"}, {"--ignore-missing"}}) {
            for (const char* list :
                 {"list-b", "list-t", "list--tag", "mixed", "zeros", "folder", "signed"}) {
                std::vector<std::string> tail = {"-c"};
                tail.insert(tail.end(), options.begin(), options.end());
                tail.push_back(list);
                ExpectSameAsTool(tools, tool, tail, "", dir.path(), Label(tool, tail));
            }
        }
        for (const char* input : {"", "junk\n"}) {
            const std::string list = input + lists["--tag"];
            ExpectSameAsTool(tools, tool, {"-c", "-w"}, list, dir.path(),
                             std::string(tool) + " -c -w <list");
        }
    }
}

// The old one-space "DIGEST NAME" form: one-character names, a space or '*' as the name, and
// the choice between the two forms made by the first such line of the run, across lists.
TEST(DropInE2e, OneSpaceFormAsTheCoreutilsToolsReadIt) {
    const LinkedTools tools;
    TempDir dir;
    dir.WriteFile("a", "abc");
    const std::string d = "900150983cd24fb0d6963f7d28e17f72";
    dir.WriteFile("one", d + " a\n");
    dir.WriteFile("mix1", d + " a\n" + d + "  a\n");
    dir.WriteFile("mix2", d + "  a\n" + d + " a\n");
    dir.WriteFile("odd", d + "  \n" + d + " *\n" + d + " \n" + d + "\t a\n");
    for (const std::vector<std::string>& lists : std::vector<std::vector<std::string>>{
             {"one"}, {"mix1"}, {"mix2"}, {"odd"}, {"one", "mix2", "mix1"}, {"mix2", "one"}}) {
        ExpectSameAsTool(tools, "md5sum", Join({"-c", "-w"}, lists), "", dir.path(),
                         Label("md5sum -c -w", lists));
    }
}

// Two processes hashing at once into one pipe, as `xargs -P2` runs them: every line arrives
// whole. Lines are long enough that a block-buffered writer would split some.
TEST(DropInE2e, ParallelProcessesNeverSplitALine) {
    const LinkedTools tools;
    TempDir dir;
    std::string expected;
    for (int i = 0; i < 400; ++i) {
        const std::string name = "file-" + std::to_string(i) + "-" + std::string(120, 'x');
        dir.WriteFile(name, std::to_string(i));
        expected += RunProcess({"sha512sum", "--tag", name}, "", dir.path()).out;
    }
    const ProcessResult r = RunProcess(
        {"/bin/sh", "-c", "ls | xargs -P2 -n 25 '" + tools.Path("sha512sum") + "' --tag"}, "",
        dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> got = Lines(r.out), want = Lines(expected);
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
}

}  // namespace
