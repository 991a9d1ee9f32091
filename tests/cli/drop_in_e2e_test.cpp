// corvane-sum linked as md5sum, sha1sum, sha256sum, sha384sum and sha512sum against the coreutils
// tools themselves: the same command lines give the same output, messages and exit status,
// byte for byte, and the output of processes sharing a pipe keeps whole lines.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "process.h"
#include "temp_file.h"
#include "vectors.h"

namespace {

const char* const kTools[] = {"md5sum", "sha1sum", "sha256sum", "sha384sum", "sha512sum"};

// corvane-sum under each tool's name, in a folder of its own.
class LinkedTools {
public:
    LinkedTools() {
        for (const char* tool : kTools) EXPECT_EQ(symlink(CORVANE_SUM_PATH, Path(tool).c_str()), 0);
    }
    std::string Path(const std::string& tool) const { return bin.PathOf(tool); }

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
            std::vector<std::string> theirs = {tool}, ours = {tools.Path(tool)};
            theirs.insert(theirs.end(), tail.begin(), tail.end());
            ours.insert(ours.end(), tail.begin(), tail.end());
            ExpectSame(RunProcess(ours, "", dir.path()), RunProcess(theirs, "", dir.path()),
                       Label(tool, options));
        }
        // Standard input, named or not.
        for (const std::vector<std::string>& args :
             std::vector<std::vector<std::string>>{{}, {"-b", "-"}, {"--tag", "-", "plain"}}) {
            std::vector<std::string> theirs = {tool}, ours = {tools.Path(tool)};
            theirs.insert(theirs.end(), args.begin(), args.end());
            ours.insert(ours.end(), args.begin(), args.end());
            ExpectSame(RunProcess(ours, "abc", dir.path()), RunProcess(theirs, "abc", dir.path()),
                       Label(tool, args) + " <abc");
        }
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
                std::vector<std::string> theirs = {tool}, ours = {tools.Path(tool)};
                theirs.insert(theirs.end(), tail.begin(), tail.end());
                ours.insert(ours.end(), tail.begin(), tail.end());
                ExpectSame(RunProcess(ours, "", dir.path()), RunProcess(theirs, "", dir.path()),
                           Label(tool, tail));
            }
        }
        for (const char* input : {"", "junk\n"}) {
            const std::string list = input + lists["--tag"];
            ExpectSame(RunProcess({tools.Path(tool), "-c", "-w"}, list, dir.path()),
                       RunProcess({tool, "-c", "-w"}, list, dir.path()),
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
        std::vector<std::string> theirs = {"md5sum", "-c", "-w"},
                                 ours = {tools.Path("md5sum"), "-c", "-w"};
        theirs.insert(theirs.end(), lists.begin(), lists.end());
        ours.insert(ours.end(), lists.begin(), lists.end());
        ExpectSame(RunProcess(ours, "", dir.path()), RunProcess(theirs, "", dir.path()),
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
