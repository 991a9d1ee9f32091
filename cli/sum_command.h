// The default mode: hash each text and file and print its digest lines.
#pragma once

#include "console.h"
#include "options.h"

// Returns the exit status: 0, or 1 if any input could not be read or listed.
int RunSum(const Options& options, Console& console);
