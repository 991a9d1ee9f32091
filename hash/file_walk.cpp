// Walking the operands of a command hashing files.
#include "file_walk.h"

#include <algorithm>
#include <cerrno>

#include "file_source.h"

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
        FileFacts facts;
        if (!recursive || operand == "-" || LookUpFile(operand, true, facts) != 0 ||
            facts.type != FileFacts::Type::Folder)
            return WalkEntry{WalkEntry::Kind::File, std::move(operand), 0};
        if (std::optional<WalkEntry> failed = Enter(operand, facts.device, facts.inode))
            return failed;
    }
}

std::optional<WalkEntry> FileWalk::Visit(const std::string& path) {
    FileFacts facts;
    if (const int error = LookUpFile(path, follow, facts); error != 0) return Failure(path, error);
    switch (facts.type) {
        case FileFacts::Type::Regular:
            return WalkEntry{WalkEntry::Kind::File, path, 0, true};
        case FileFacts::Type::Link:
            return std::nullopt;  // not followed: passed over
        case FileFacts::Type::Other:
            return WalkEntry{WalkEntry::Kind::Special, path, 0, true};
        case FileFacts::Type::Folder:
            break;
    }
    // Only followed links can lead back into a directory being walked.
    for (const Directory& outer : openDirectories)
        if (outer.device == facts.device && outer.inode == facts.inode) return Failure(path, ELOOP);
    return Enter(path, facts.device, facts.inode);
}

std::optional<WalkEntry> FileWalk::Enter(const std::string& path, uint64_t device, uint64_t inode) {
    Directory directory{path, {}, 0, device, inode};
    if (const int error = ListFolder(path, directory.names); error != 0)
        return Failure(path, error);
    // Byte order, whatever the locale: the same tree always gives the same list.
    std::sort(directory.names.begin(), directory.names.end());
    openDirectories.push_back(std::move(directory));
    return std::nullopt;
}
