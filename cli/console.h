// Where corvane-sum's results and complaints go. Every line leaves in a single write, so lines of
// processes that share a pipe never mix mid-line, and a result is out the moment it is known (a
// check that is stopped has shown all it verified). A transient status line (progress) on the
// error stream is erased before anything else is written there or on a terminal's output.
#pragma once

#include <unistd.h>

#include <mutex>
#include <string>
#include <string_view>

#include "progress.h"

class Console final : public StatusLine {
public:
    // `program` starts every message: "md5sum: NAME: reason".
    explicit Console(std::string program, int outputFd = STDOUT_FILENO,
                     int errorFd = STDERR_FILENO);

    // One or more whole lines to the output. After a failed write nothing more is written there.
    void Write(std::string_view lines);
    // "PROGRAM: MESSAGE" on the error stream.
    void Report(std::string_view message);
    // "PROGRAM: NAME: reason", the name quoted for the shell where it needs to be.
    void ReportFile(std::string_view name, int errnum);
    // errno of the first failed output write; 0 while every write has succeeded.
    int outputError() const;

    // The status line: replaced by each Show, gone after Clear or any other write.
    void ShowStatus(std::string_view text) override;
    void ClearStatus() override;
    // From now on SIGINT and SIGTERM erase the status line before they end the process, as they
    // would have. For the one console of the process.
    void EraseStatusOnSignals();
    // Columns of the terminal the error stream is on (80 when it cannot tell).
    unsigned StatusWidth() const override;
    bool OnTerminal() const override;

private:
    void ClearStatusLocked();

    std::string programName;
    int outFd, errFd;
    mutable std::mutex mutex;
    int writeError = 0;
    std::size_t statusShown = 0;  // columns the status line covers now
};

// Writes all of `data` to `fd`, going on after partial writes and interruptions; errno on
// failure, 0 on success.
int WriteAll(int fd, std::string_view data);
