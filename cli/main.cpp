// corvane-sum: print or check digests of files and texts, in the manner of the coreutils *sum
// tools, with the engines of the dialog. Started as md5sum, sha256sum and the like, it is that
// tool.
#include <clocale>
#include <cstring>

#include "check_command.h"
#include "console.h"
#include "help.h"
#include "invocation.h"
#include "options.h"
#include "sum_command.h"

namespace {

// A digest that never reached its reader is a failure, not a success.
int Finish(Console& console, int status) {
    if (const int error = console.outputError(); error != 0) {
        console.Report(std::string("write error: ") + std::strerror(error));
        return 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // The character set of names in messages, as the coreutils tools judge what to escape.
    std::setlocale(LC_CTYPE, "");
    const Invocation invocation = InvocationOf(argc > 0 ? argv[0] : nullptr);
    Console console(invocation.displayName);
    console.EraseStatusOnSignals();
    const ParsedCommandLine parsed = ParseCommandLine(invocation, argc, argv);
    if (!parsed.options) {
        if (parsed.errorAsIs) {
            (void)WriteAll(STDERR_FILENO, parsed.error);
            return 1;
        }
        if (!parsed.error.empty()) console.Report(parsed.error);
        if (parsed.tryHelp) (void)WriteAll(STDERR_FILENO, TryHelpText(invocation));
        return 1;
    }
    if (!parsed.notice.empty()) console.Report(parsed.notice);
    const Options& options = *parsed.options;
    switch (options.mode) {
        case Mode::Help:
            console.Write(HelpText(invocation));
            return Finish(console, 0);
        case Mode::Version:
            console.Write(VersionText(invocation));
            return Finish(console, 0);
        case Mode::Check:
            return Finish(console, RunCheck(options, console));
        case Mode::Sum:
            break;
    }
    return Finish(console, RunSum(options, console));
}
