// Fuzz harness: SHA-1 over fuzzer-chosen pieces, with zero-length updates, equals SHA-1 of the
// whole message fed at once, on every block function this CPU has.
#include <cstddef>
#include <cstdint>

#include "sha1.h"
#include "split_input.h"

namespace {
struct Engine {
    static constexpr std::size_t kDigestLength = 20;
    Sha1Context context;
    void Init() { Sha1Init(&context); }
    void Update(const uint8_t* p, uint32_t n) { Sha1Update(p, n, &context); }
    void Final(uint8_t* digest) { Sha1Final(digest, &context); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return RunAcceleratedSplitHarness<Engine>(data, size, "sha1");
}
