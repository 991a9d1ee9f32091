// "Hash file" and "Hash string" with a verdict: when an expected digest is at hand, every
// algorithm it may be from is computed in the same single read, and the output box shows the
// digest the verdict is about. Without one they are exactly the two hash commands.
#pragma once

#include <optional>

#include "expected_digest.h"
#include "hash_commands.h"
#include "verdict.h"

struct VerifiedRun {
    // None when there was nothing to compare with, or no digest (the file failed to open or read,
    // or the run was cancelled).
    std::optional<Verdict> verdict;
    // With a verdict: the list entry of the algorithm whose digest the output box now holds; the
    // list must show it, and the request is left as that entry's command would leave it.
    int shownIndex = -1;
};

// `expected` is what the Expected field or the clipboard gave; without it, and unless told not
// to, "Hash file" looks for a sum file beside the file.
VerifiedRun OnHashFileVerifying(DialogControls& dialog, HashRequest& request,
                                std::optional<ExpectedDigest> expected, bool lookBeside = true);
VerifiedRun OnHashStringVerifying(DialogControls& dialog, HashRequest& request,
                                  std::optional<ExpectedDigest> expected);

// The list entry that shows `algorithm`.
int ListIndexOf(Algorithm algorithm);
