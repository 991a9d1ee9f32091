// Verifying sums files (-c), with the reports and summary warnings of the coreutils *sum tools.
#pragma once

#include "console.h"
#include "options.h"

// Checks every sums file of `options` ("-" or none: standard input); returns the exit status
// (0 when every file verified, 1 otherwise).
int RunCheck(const Options& options, Console& console);
