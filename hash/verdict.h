// Comparing computed digests with an expected one: which candidate algorithm matched, or, when
// none did, which digest to show against the expected one and where the two first differ.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "algorithms.h"
#include "expected_digest.h"

struct Verdict {
    bool matches = false;
    Algorithm algorithm = Algorithm::Sha1;  // the one that matched, or the one shown on a mismatch
    ExpectedSource source = ExpectedSource::Field;
    std::string sumFileName;  // SumFile: the sum file's name
    std::string expected;     // lower-case hex, as `actual`
    std::string actual;
    std::size_t firstDifference = 0;  // a mismatch: the first differing character, from 0
    // A match of a digest that anyone can forge a colliding input for: it shows the data was not
    // damaged, not that no one changed it.
    bool integrityOnly = false;
    bool signatureUnchecked = false;  // the expected digest sat inside a signature not checked
    std::size_t digestBytes = 0;      // as the expected digest's: a length of its own, or 0
};

// `digests[i]` is the digest of `computed[i]`; every candidate of `expected` must be among
// `computed`. On a mismatch the digest shown is `preferred`'s when that is a candidate (what the
// user chose), otherwise the first candidate's.
Verdict Judge(const ExpectedDigest& expected, std::span<const Algorithm> computed,
              std::span<const std::string> digests, std::optional<Algorithm> preferred);
