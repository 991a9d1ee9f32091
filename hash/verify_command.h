// "Hash file" and "Hash string" with a verdict. What a run verifies against is taken in an order
// that cannot mislead: what the user typed, then a sum file beside the file that lists it, then
// the clipboard (which may hold anything copied long ago). A digest whose length fits several
// algorithms is computed with the likeliest first; the others, one more read each, only after a
// mismatch. Without an expected digest they are exactly the two hash commands.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "expected_digest.h"
#include "hash_commands.h"
#include "sum_file_search.h"
#include "verdict.h"

struct ExpectedSources {
    std::optional<ExpectedDigest> field;      // the Expected hash field's, as the user typed it
    std::optional<ExpectedDigest> clipboard;  // a digest alone, or a line naming this file
    bool lookBeside = true;                   // search the file's folder for a sum file
    // Algorithms that matched lately, the latest first.
    std::vector<Algorithm> recentMatches;
    // Called on the computing thread when `failed` did not match and `next` are tried, one more
    // read each.
    std::function<void(Algorithm failed, std::span<const Algorithm> next)> onRetry;
};

struct VerifiedRun {
    // None when there was nothing to compare with, or no digest (the file failed to open or read,
    // or the run was cancelled).
    std::optional<Verdict> verdict;
    // With a verdict: the list entry of the algorithm whose digest the output box now holds; the
    // list must show it, and the request is left as that entry's command would leave it.
    int shownIndex = -1;
    // The algorithms computed, in the order tried.
    std::vector<Algorithm> tried;
    // The file's folder was searched: whether a sum file there listed the file, and the sum files
    // passed over that could not be read through.
    bool searchedBeside = false;
    bool listedBeside = false;
    std::vector<SkippedSumFile> skipped;
    // The clipboard held a digest other than the sum file's; the sum file decided.
    bool clipboardDisagrees = false;
    // The field's line names a file, so it was not compared with the string.
    bool fieldNamesFile = false;
};

VerifiedRun OnHashFileVerifying(DialogControls& dialog, HashRequest& request,
                                const ExpectedSources& sources);
VerifiedRun OnHashStringVerifying(DialogControls& dialog, HashRequest& request,
                                  const ExpectedSources& sources);

// The order in which `candidates` are tried: `selected` when it is one of them, else the latest
// of `recentMatches` that is, else the commonest (the first candidate).
std::vector<Algorithm> LikeliestFirst(std::span<const Algorithm> candidates,
                                      std::optional<Algorithm> selected,
                                      std::span<const Algorithm> recentMatches);

// The list entry that shows `algorithm`.
int ListIndexOf(Algorithm algorithm);
