// Fuzz harness for one engine, chosen when it is built (CORVANE_FUZZ_ENGINE, an adapter of
// hash/engine_adapters.h): the message fed in fuzzer-chosen pieces, with zero-length updates,
// equals the message fed at once, and every accelerated path this CPU has equals the portable one.
#include <cstddef>
#include <cstdint>

#include "engine_adapters.h"
#include "split_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return RunSplitHarness<CORVANE_FUZZ_ENGINE, CORVANE_FUZZ_ACCELERATED>(data, size);
}
