// How corvane-sum names itself and reports problems: "corvane-sum: NAME: reason" on standard
// error, as the coreutils tools do.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

inline constexpr std::string_view kProgramName = "corvane-sum";

// Where a command writes its results and its complaints.
struct Console {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
};

// "corvane-sum: MESSAGE"
void ReportMessage(const Console& console, const std::string& message);
// "corvane-sum: NAME: reason", the name quoted for the shell where it needs to be.
void ReportFileError(const Console& console, const std::string& name, int errnum);
