// The inputs of a command hashing files (corvane-sum, the dialog's list of files): its operands as
// given, and with -r every regular file below the directories among them. Names are built as the
// user would write them ("dir/sub/file" from "dir" or "dir/"), in byte order of names within a
// directory, depth first, so the same tree always lists the same way. Symbolic links met inside a
// tree are passed over unless followed; an operand is always followed, being what the user named.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct WalkEntry {
    enum class Kind {
        File,     // to hash (an operand may also be missing or special: hashing tells)
        Special,  // a device, FIFO or socket inside a tree: not hashed
        Failed,   // could not be examined or listed; `error` tells why
    };
    Kind kind = Kind::File;
    std::string path;
    int error = 0;
    bool inTree = false;  // found in a directory: hashed only while it stays a regular file
};

class FileWalk {
public:
    FileWalk(std::vector<std::string> given, bool intoDirectories, bool followLinks);
    // The next entry, std::nullopt at the end.
    std::optional<WalkEntry> Next();

private:
    struct Directory {
        std::string path;
        std::vector<std::string> names;  // sorted
        std::size_t next = 0;
        uint64_t device = 0;
        uint64_t inode = 0;
    };
    // Lists a directory and goes into it; an entry when that fails.
    std::optional<WalkEntry> Enter(const std::string& path, uint64_t device, uint64_t inode);
    std::optional<WalkEntry> Visit(const std::string& path);

    std::vector<std::string> operands;
    std::size_t nextOperand = 0;
    bool recursive, follow;
    std::vector<Directory> openDirectories;  // the directories being walked, outermost first
};
