// What the name corvane-sum is started under says: installed or linked as md5sum, sha256sum and
// the like, it computes that algorithm by default and signs its messages with that name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "algorithms.h"

struct Invocation {
    std::string programName;  // the basename of argv[0]; "corvane-sum" when there is none
    std::optional<Algorithm> algorithm;  // from a name "ALGORITHMsum" ("md5sum", "gost94sum")
    // Our own name ("corvane-sum…"), or one naming an algorithm. Under any other name (shasum,
    // md5, b2sum…) no algorithm is taken for granted: -a must say which.
    bool known = true;
    // The name of a coreutils tool: its own options' abbreviations must mean what they mean there.
    bool coreutilsName = false;
};

Invocation InvocationOf(const char* argv0);
