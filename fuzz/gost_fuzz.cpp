// Fuzz harness: GOST R 34.11-94 over fuzzer-chosen pieces, with zero-length updates, equals GOST
// R 34.11-94 of the whole message fed at once, on every step function this CPU has.
#include <cstddef>
#include <cstdint>

#include "gost.h"
#include "split_input.h"

namespace {
struct Engine {
    static constexpr std::size_t kDigestLength = 32;
    GostContext context;
    void Init() { GostInit(&context); }
    void Update(const uint8_t* p, uint32_t n) { GostUpdate(&context, p, n); }
    void Final(uint8_t* digest) { GostFinal(&context, digest); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return RunAcceleratedSplitHarness<Engine>(data, size, "gost");
}
