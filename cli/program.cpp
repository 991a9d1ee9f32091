// Error reporting for corvane-sum.
#include "program.h"

#include <cstring>

#include "escape.h"

void ReportMessage(const Console& console, const std::string& message) {
    // Results already printed come first, so that a terminal shows both in the order they arose.
    std::fflush(console.out);
    std::fprintf(console.err, "%.*s: %s\n", static_cast<int>(kProgramName.size()),
                 kProgramName.data(), message.c_str());
}

void ReportFileError(const Console& console, const std::string& name, int errnum) {
    ReportMessage(console, QuoteForMessage(name) + ": " + std::strerror(errnum));
}
