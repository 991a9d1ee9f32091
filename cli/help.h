// The --help and --version texts of corvane-sum.
#pragma once

#include <cstdio>

void PrintHelp(std::FILE* out);
void PrintVersion(std::FILE* out);
void PrintTryHelp(std::FILE* err);
