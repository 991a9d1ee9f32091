// How one computation's work is spread over threads: whether reading on a thread of its own pays,
// and the engines split into groups of about equal cost.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "algorithms.h"

// True when hashing costs clearly more per byte than the kernel's page-cache copy.
bool ReaderThreadPays(std::span<const Algorithm> algorithms);

// Splits the algorithms (as indices into `algorithms`, ascending within a group) into at most
// `groups` non-empty sets of about equal work, so the slowest engine is not held up by the others.
std::vector<std::vector<std::size_t>> SplitByCost(std::span<const Algorithm> algorithms,
                                                  std::size_t groups);
