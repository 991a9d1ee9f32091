// corvane-sum -r: every regular file below the named folders, in byte order within each folder,
// names as given; links passed over unless -L; special files skipped with a warning; problems
// reported while the rest is still hashed. The digests come from md5sum over the same names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "process.h"
#include "temp_file.h"

namespace {

// top/ B  a/{z, deep/f}  a.txt  empty/  fifo  link-file -> a.txt  link-dir -> a  loop -> .
//      dangling -> nowhere
void MakeTree(const TempDir& dir) {
    namespace fs = std::filesystem;
    fs::create_directories(dir.PathOf("top/a/deep"));
    fs::create_directories(dir.PathOf("top/empty"));
    dir.WriteFile("top/B", "upper case sorts first");
    dir.WriteFile("top/a/z", "z");
    dir.WriteFile("top/a/deep/f", "deep");
    dir.WriteFile("top/a.txt", "after the folder a");
    ASSERT_EQ(mkfifo(dir.PathOf("top/fifo").c_str(), 0600), 0);
    fs::create_symlink("a.txt", dir.PathOf("top/link-file"));
    fs::create_directory_symlink("a", dir.PathOf("top/link-dir"));
    fs::create_directory_symlink(".", dir.PathOf("top/loop"));
    fs::create_symlink("nowhere", dir.PathOf("top/dangling"));
}

std::string Md5Lines(const std::vector<std::string>& names, const std::string& cwd) {
    std::vector<std::string> args = {"md5sum", "--"};
    args.insert(args.end(), names.begin(), names.end());
    return RunProcess(args, "stdin", cwd).out;
}

TEST(WalkE2e, TreesListInByteOrderWithLinksAndSpecialFilesAsAsked) {
    TempDir dir;
    MakeTree(dir);
    const std::string fifoSkipped = "corvane-sum: top/fifo: not a regular file; skipped\n";
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> files;  // what md5sum gives the same lines for
        std::string err;
        int status;
    } cases[] = {
        {{"-r", "top"}, {"top/B", "top/a/deep/f", "top/a/z", "top/a.txt"}, fifoSkipped, 0},
        {{"--recursive", "top/", "-j", "1"},
         {"top/B", "top/a/deep/f", "top/a/z", "top/a.txt"},
         fifoSkipped,
         0},
        // Operands: a file as it is, standard input, a link to a folder followed.
        {{"-r", "top/a.txt", "-", "top/link-dir"},
         {"top/a.txt", "-", "top/link-dir/deep/f", "top/link-dir/z"},
         "",
         0},
        {{"-r", "-L", "top"},
         {"top/B", "top/a/deep/f", "top/a/z", "top/a.txt", "top/link-dir/deep/f", "top/link-dir/z",
          "top/link-file"},
         "corvane-sum: top/dangling: No such file or directory\n" + fifoSkipped +
             "corvane-sum: top/loop: Too many levels of symbolic links\n",
         1},
        // Without -r a folder is an error, as in the coreutils tools.
        {{"top/a.txt", "top"}, {"top/a.txt"}, "corvane-sum: top: Is a directory\n", 1},
    };
    for (const auto& c : cases) {
        for (const char* jobs : {"1", "3"}) {
            std::vector<std::string> args = {"-a", "md5", "-j", jobs};
            args.insert(args.end(), c.args.begin(), c.args.end());
            const ProcessResult r = RunSum(args, "stdin", dir.path());
            std::string label;
            for (const std::string& arg : args) label += " " + arg;
            EXPECT_EQ(r.status, c.status) << label;
            EXPECT_EQ(r.out, Md5Lines(c.files, dir.path())) << label;
            EXPECT_EQ(r.err, c.err) << label;
        }
    }
    // "." lists as "./NAME", as find does.
    const ProcessResult here = RunSum({"-a", "md5", "-r", "."}, "", dir.PathOf("top/a"));
    EXPECT_EQ(here.out, Md5Lines({"./deep/f", "./z"}, dir.PathOf("top/a")));
}

}  // namespace
