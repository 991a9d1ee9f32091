// The --help and --version texts of corvane-sum, under whatever name it was started.
#pragma once

#include <string>

#include "invocation.h"

std::string HelpText(const Invocation& invocation);
std::string VersionText(const Invocation& invocation);
// The hint after a usage error.
std::string TryHelpText(const Invocation& invocation);
