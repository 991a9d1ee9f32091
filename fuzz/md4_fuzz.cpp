// Fuzz harness: MD4 over fuzzer-chosen pieces, with zero-length updates, equals MD4 of the
// whole message fed at once.
#include <cstddef>
#include <cstdint>

#include "md4.h"
#include "split_input.h"

namespace {
struct Engine {
    static constexpr std::size_t kDigestLength = 16;
    Md4Context context;
    void Init() { Md4Init(&context); }
    void Update(const uint8_t* p, uint32_t n) { Md4Update(&context, p, n); }
    void Final(uint8_t* digest) { Md4Final(digest, &context); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return RunSplitHarness<Engine>(data, size, "md4");
}
