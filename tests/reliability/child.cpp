// Forked children with a time limit, for tests of inputs that could hang or crash a reader.
#include "child.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

ChildResult RunInChild(const std::function<int()>& body, int seconds) {
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(static_cast<unsigned>(seconds) + 5);  // in case the parent's kill never comes
        _exit(body());
    }
    ChildResult result;
    if (pid < 0) return result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.timedOut = true;
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

bool RunningAsRoot() {
    return geteuid() == 0;
}

bool DropRootPrivileges() {
    const gid_t nogroup = 65534;
    const uid_t nobody = 65534;
    return setgid(nogroup) == 0 && setuid(nobody) == 0 && geteuid() == nobody;
}

int OpenWriterNonBlocking(const std::string& path) {
    return open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
}
