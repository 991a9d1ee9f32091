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

// A child left running, its standard output on a pipe the test reads, its errors dropped.
struct RunningProcess {
    int pid = -1;
    int out = -1;
};
RunningProcess StartProcess(const std::vector<std::string>& args, const std::string& cwd = "");
// Reads the child's output until it holds `text` or `seconds` have passed; what was read.
std::string ReadUntil(const RunningProcess& process, const std::string& text, int seconds);
// Reads the rest of the child's output into `rest` and waits for it to end; its exit status, -1
// if it did not exit normally.
int WaitProcess(RunningProcess& process, std::string& rest);
