// Runs a program with given arguments and standard input, collecting its output and status.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    int status = -1;  // exit status, or -1 if the program did not exit normally
    std::string out;
    std::string err;
};

// `args[0]` is the program (looked up in PATH when it has no slash); `cwd` empty keeps ours.
ProcessResult RunProcess(const std::vector<std::string>& args, const std::string& input = "",
                         const std::string& cwd = "");

// The corvane-sum under test.
ProcessResult RunSum(std::vector<std::string> args, const std::string& input = "",
                     const std::string& cwd = "");
