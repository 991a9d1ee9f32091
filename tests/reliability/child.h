// Runs a piece of a test in a forked child, so that a hang becomes a timeout and a crash an exit
// status instead of taking the whole test binary down, and so a child can drop root privileges.
#pragma once

#include <functional>
#include <string>

struct ChildResult {
    bool timedOut = false;  // killed after the time limit
    int status = -1;        // exit status, or -1 when the child did not exit normally
};

// `body` returns the child's exit status. The child is killed after `seconds`.
ChildResult RunInChild(const std::function<int()>& body, int seconds);

// Whether this process is root (file permissions then do not stop it).
bool RunningAsRoot();
// In a child: becomes an unprivileged user (nobody). Returns false when that fails.
bool DropRootPrivileges();

// Opens `path` for writing without blocking, so a test can play the writer of a FIFO; -1 when
// no reader is there yet.
int OpenWriterNonBlocking(const std::string& path);
