// The output and error streams of corvane-sum, written with write(2) a whole line at a time.
#include "console.h"

#include <signal.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "escape.h"
#include "file_source.h"

int WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t wrote = write(fd, data.data(), data.size());
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return 0;
}

namespace {

// What a signal handler may read: the status line's width and where it is.
std::atomic<std::size_t> signalStatusShown{0};
std::atomic<int> signalErrorFd{-1};

extern "C" void EraseStatusAndEnd(int signal) {
    const int fd = signalErrorFd.load();
    std::size_t left = signalStatusShown.load();
    if (fd >= 0 && left > 0) {
        static const char kBlanks[] =
            "\r                                                               ";
        // write(2) only: nothing else is safe in a handler.
        (void)!write(fd, "\r", 1);
        while (left > 0) {
            const std::size_t chunk = std::min(left, sizeof kBlanks - 2);
            (void)!write(fd, kBlanks + 1, chunk);
            left -= chunk;
        }
        (void)!write(fd, "\r", 1);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

void Console::EraseStatusOnSignals() {
    signalErrorFd.store(errFd);
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        action.sa_handler = EraseStatusAndEnd;
        sigemptyset(&action.sa_mask);
        (void)sigaction(signal, &action, nullptr);
    }
}

Console::Console(std::string program, int outputFd, int errorFd)
    : programName(std::move(program)), outFd(outputFd), errFd(errorFd) {}

void Console::Write(std::string_view lines) {
    std::lock_guard lock(mutex);
    if (writeError != 0) return;
    // Output and status may share one terminal.
    ClearStatusLocked();
    writeError = WriteAll(outFd, lines);
}

void Console::Report(std::string_view message) {
    std::string line = programName + ": ";
    line += message;
    line += '\n';
    std::lock_guard lock(mutex);
    ClearStatusLocked();
    // Nothing is left to tell the user if the error stream fails as well.
    (void)WriteAll(errFd, line);
}

void Console::ReportFile(std::string_view name, int errnum) {
    Report(QuoteForMessage(name) + ": " + FileErrorText(errnum));
}

int Console::outputError() const {
    std::lock_guard lock(mutex);
    return writeError;
}

void Console::ShowStatus(std::string_view text) {
    std::lock_guard lock(mutex);
    // Back to the line's start; spaces cover what a longer previous text left.
    std::string line = "\r" + std::string(text);
    if (text.size() < statusShown) {
        line.append(statusShown - text.size(), ' ');
        line += '\r';
        line += text;
    }
    statusShown = WriteAll(errFd, line) == 0 ? text.size() : 0;
    signalStatusShown.store(statusShown);
}

void Console::ClearStatus() {
    std::lock_guard lock(mutex);
    ClearStatusLocked();
}

void Console::ClearStatusLocked() {
    if (statusShown == 0) return;
    // Spaces rather than a terminal control sequence: every terminal understands them.
    (void)WriteAll(errFd, "\r" + std::string(statusShown, ' ') + "\r");
    statusShown = 0;
    signalStatusShown.store(0);
}

unsigned Console::StatusWidth() const {
    winsize size{};
    if (ioctl(errFd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

bool Console::OnTerminal() const {
    return isatty(errFd) == 1;
}
