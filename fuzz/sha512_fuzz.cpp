// Fuzz harness: SHA-512 over fuzzer-chosen pieces, with zero-length updates, equals SHA-512 of the
// whole message fed at once, on every block function this CPU has.
#include <cstddef>
#include <cstdint>

#include "sha2.h"
#include "split_input.h"

namespace {
struct Engine {
    static constexpr std::size_t kDigestLength = 64;
    Sha2Context context;
    void Init() { Sha2Init(512, &context); }
    void Update(const uint8_t* p, uint32_t n) { Sha2Update(p, n, &context); }
    void Final(uint8_t* digest) { Sha2Final(digest, &context); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return RunAcceleratedSplitHarness<Engine>(data, size, "sha512");
}
