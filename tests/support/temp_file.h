// A private temporary directory for a test, removed with everything in it when it goes.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Writes `contents` to a file named `name` in the directory and returns its full path.
    std::string WriteFile(const std::string& name, const std::string& contents) const;
    std::string PathOf(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
