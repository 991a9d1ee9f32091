// What the name corvane-sum is started under says: installed or linked as md5sum, sha256sum and
// the like, it computes that algorithm by default and signs its messages with that name; linked
// as cksum, b2sum, b3sum or one of the xxh*sum names, it takes that tool's options and writes its
// lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "algorithms.h"

// Whose command line and lines the program takes on.
enum class Personality {
    Own,     // corvane-sum, and the coreutils *sum names
    Cksum,   // cksum: -a with its classic checksums, tagged lines by default
    B3sum,   // b3sum: lengths in bytes, --no-names, --keyed, --derive-key
    Xxhsum,  // xxhsum and xxh32sum, xxh64sum, xxh128sum: -H, no escapes
};

struct Invocation {
    std::string programName;  // the basename of argv[0]; "corvane-sum" when there is none
    std::optional<Algorithm> algorithm;  // from a name "ALGORITHMsum" ("md5sum", "gost94sum")
    // Our own name ("corvane-sum…"), or one naming an algorithm. Under any other name (shasum,
    // md5…) no algorithm is taken for granted: -a must say which.
    bool known = true;
    // The name of a coreutils tool: its own options' abbreviations must mean what they mean there.
    bool coreutilsName = false;
    Personality personality = Personality::Own;
    // The name messages and usage lines give: argv[0] as written under a coreutils tool's name,
    // as those tools print it ("/usr/bin/md5sum: f: No such file or directory"), else programName.
    std::string displayName;
};

Invocation InvocationOf(const char* argv0);
