// Walking the operands of a sum command.
#include "file_walk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

std::string Join(const std::string& directory, const char* name) {
    return directory.ends_with('/') ? directory + name : directory + "/" + name;
}

WalkEntry Failure(std::string path, int error) {
    return {WalkEntry::Kind::Failed, std::move(path), error};
}

}  // namespace

FileWalk::FileWalk(std::vector<std::string> given, bool intoDirectories, bool followLinks)
    : operands(std::move(given)), recursive(intoDirectories), follow(followLinks) {}

std::optional<WalkEntry> FileWalk::Next() {
    for (;;) {
        if (!openDirectories.empty()) {
            Directory& top = openDirectories.back();
            if (top.next == top.names.size()) {
                openDirectories.pop_back();
                continue;
            }
            const std::string path = Join(top.path, top.names[top.next++].c_str());
            if (std::optional<WalkEntry> entry = Visit(path)) return entry;
            continue;
        }
        if (nextOperand == operands.size()) return std::nullopt;
        std::string operand = std::move(operands[nextOperand++]);
        struct stat info {};
        if (!recursive || operand == "-" || stat(operand.c_str(), &info) != 0 ||
            !S_ISDIR(info.st_mode))
            return WalkEntry{WalkEntry::Kind::File, std::move(operand), 0};
        if (std::optional<WalkEntry> failed = Enter(operand, info.st_dev, info.st_ino))
            return failed;
    }
}

std::optional<WalkEntry> FileWalk::Visit(const std::string& path) {
    struct stat info {};
    if ((follow ? stat(path.c_str(), &info) : lstat(path.c_str(), &info)) != 0)
        return Failure(path, errno);
    if (S_ISREG(info.st_mode)) return WalkEntry{WalkEntry::Kind::File, path, 0, true};
    if (S_ISLNK(info.st_mode)) return std::nullopt;  // not followed: passed over
    if (!S_ISDIR(info.st_mode)) return WalkEntry{WalkEntry::Kind::Special, path, 0, true};
    // Only followed links can lead back into a directory being walked.
    for (const Directory& outer : openDirectories)
        if (outer.device == info.st_dev && outer.inode == info.st_ino) return Failure(path, ELOOP);
    return Enter(path, info.st_dev, info.st_ino);
}

std::optional<WalkEntry> FileWalk::Enter(const std::string& path, dev_t device, ino_t inode) {
    DIR* stream = opendir(path.c_str());
    if (stream == nullptr) return Failure(path, errno);
    Directory directory{path, {}, 0, device, inode};
    int error = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(stream);
        if (entry == nullptr) {
            error = errno;
            break;
        }
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            directory.names.emplace_back(entry->d_name);
    }
    closedir(stream);
    if (error != 0) return Failure(path, error);
    // Byte order, whatever the locale: the same tree always gives the same list.
    std::sort(directory.names.begin(), directory.names.end());
    openDirectories.push_back(std::move(directory));
    return std::nullopt;
}
