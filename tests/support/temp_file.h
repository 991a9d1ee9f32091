// A private temporary directory for a test, removed with everything in it when it goes.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return root; }
    // Writes `contents` to a file named `name` in the directory and returns its full path.
    std::string WriteFile(const std::string& name, const std::string& contents) const;
    std::string PathOf(const std::string& name) const { return root + "/" + name; }
    // Writes a file nobody but root may read (mode 0) in this directory, which anyone may enter,
    // and returns its path. Tests that need the permission to bind give up root first
    // (Unprivileged, or a child that drops it).
    std::string WriteUnreadableFile(const std::string& name, const std::string& contents) const;

private:
    std::string root;
};
