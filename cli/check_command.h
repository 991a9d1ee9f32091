// Verifying sums files (-c), with the reports and summary warnings of the coreutils *sum tools.
#pragma once

#include "options.h"
#include "program.h"

// Checks every sums file of `options` ("-" or none: standard input); returns the exit status
// (0 when every file verified, 1 otherwise).
int RunCheck(const Options& options, const Console& console);
