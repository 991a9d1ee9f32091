// Printing digests: "DIGEST  NAME" lines as sha256sum prints them, or BSD "TAG (NAME) = DIGEST".
#pragma once

#include <string>
#include <string_view>

#include "options.h"
#include "program.h"

// One output line, newline included, with the name escaped where it needs to be.
std::string SumLine(Algorithm algorithm, std::string_view digest, std::string_view name,
                    bool tagged);

// Hashes the texts and files of `options`; returns the exit status (0, or 1 if any input failed).
int RunSum(const Options& options, const Console& console);
