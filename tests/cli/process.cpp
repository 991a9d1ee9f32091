// Child processes for end-to-end tests: fork, exec, and a poll loop that feeds standard input
// while draining both outputs, so no pipe can fill up and stall either side.
#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace {

void MakePipe(int fds[2]) {
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& args, const std::string& input,
                         const std::string& cwd) {
    signal(SIGPIPE, SIG_IGN);
    int in[2], out[2], err[2];
    MakePipe(in);
    MakePipe(out);
    MakePipe(err);

    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);

    ProcessResult result;
    std::size_t written = 0;
    int inFd = in[1];
    if (input.empty()) {
        close(inFd);
        inFd = -1;
    }
    int outFd = out[0], errFd = err[0];
    char buffer[65536];
    while (inFd >= 0 || outFd >= 0 || errFd >= 0) {
        pollfd fds[3] = {{inFd, POLLOUT, 0}, {outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error("poll failed");
        }
        if (inFd >= 0 && fds[0].revents != 0) {
            const ssize_t n = write(inFd, input.data() + written, input.size() - written);
            if (n > 0) written += static_cast<std::size_t>(n);
            if (n < 0 || written == input.size()) {
                close(inFd);
                inFd = -1;
            }
        }
        struct Output {
            int index;
            int* fd;
            std::string* text;
        };
        for (const Output& o : {Output{1, &outFd, &result.out}, Output{2, &errFd, &result.err}}) {
            if (*o.fd < 0 || fds[o.index].revents == 0) continue;
            const ssize_t n = read(*o.fd, buffer, sizeof buffer);
            if (n > 0) {
                o.text->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(*o.fd);
                *o.fd = -1;
            }
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

RunningProcess StartProcess(const std::vector<std::string>& args, const std::string& cwd) {
    int out[2];
    MakePipe(out);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    RunningProcess running;
    running.pid = fork();
    if (running.pid < 0) throw std::runtime_error("fork failed");
    if (running.pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        alarm(60);  // never outlives the test run
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    running.out = out[0];
    return running;
}

std::string ReadUntil(const RunningProcess& process, const std::string& text, int seconds) {
    std::string got;
    char buffer[4096];
    for (int waited = 0; got.find(text) == std::string::npos && waited < seconds * 10; ++waited) {
        pollfd fd = {process.out, POLLIN, 0};
        if (poll(&fd, 1, 100) <= 0) continue;
        const ssize_t n = read(process.out, buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

int WaitProcess(RunningProcess& process, std::string& rest) {
    char buffer[4096];
    for (ssize_t n; (n = read(process.out, buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            rest.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR)
            break;
    }
    close(process.out);
    int status = 0;
    while (waitpid(process.pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ProcessResult RunSum(std::vector<std::string> args, const std::string& input,
                     const std::string& cwd) {
    args.insert(args.begin(), CORVANE_SUM_PATH);
    return RunProcess(args, input, cwd);
}
