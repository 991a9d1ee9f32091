// Fuzz harness: SHA-256 over fuzzer-chosen pieces, with zero-length updates, equals SHA-256 of the
// whole message fed at once, on every block function this CPU has.
#include <cstddef>
#include <cstdint>

#include "sha256.h"
#include "split_input.h"

namespace {
struct Engine {
    static constexpr std::size_t kDigestLength = 32;
    Sha256Context context;
    void Init() { Sha256Init(&context); }
    void Update(const uint8_t* p, uint32_t n) { Sha256Update(p, n, &context); }
    void Final(uint8_t* digest) { Sha256Final(digest, &context); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return RunAcceleratedSplitHarness<Engine>(data, size, "sha256");
}
