// corvane-sum: print or check digests of files and texts, in the manner of the coreutils *sum
// tools, with the engines of the dialog.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "check_command.h"
#include "help.h"
#include "options.h"
#include "program.h"
#include "sum_command.h"

namespace {

constexpr int kUsageError = 2;

// A digest that never reached its reader is a failure, not a success.
int FinishOutput(const Console& console, int status) {
    if (std::fflush(console.out) != 0 || std::ferror(console.out)) {
        ReportMessage(console, std::string("write error: ") + std::strerror(errno));
        return status == 0 ? 1 : status;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const Console console;
    const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
    if (!parsed.options) {
        if (!parsed.error.empty()) ReportMessage(console, parsed.error);
        PrintTryHelp(console.err);
        return kUsageError;
    }
    const Options& options = *parsed.options;
    switch (options.mode) {
        case Mode::Help:
            PrintHelp(console.out);
            return FinishOutput(console, 0);
        case Mode::Version:
            PrintVersion(console.out);
            return FinishOutput(console, 0);
        case Mode::Check:
            return FinishOutput(console, RunCheck(options, console));
        case Mode::Sum:
            break;
    }
    return FinishOutput(console, RunSum(options, console));
}
