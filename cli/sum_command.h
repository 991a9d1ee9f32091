// Printing digests: "DIGEST  NAME" lines as sha256sum prints them, or BSD "TAG (NAME) = DIGEST".
#pragma once

#include "options.h"
#include "program.h"

// Hashes the texts and files of `options`; returns the exit status (0, or 1 if any input failed).
int RunSum(const Options& options, const Console& console);
