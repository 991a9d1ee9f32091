// Fuzz harness: MD2 over fuzzer-chosen pieces, with zero-length updates, equals MD2 of the
// whole message fed at once.
#include <cstddef>
#include <cstdint>

#include "md2.h"
#include "split_input.h"

namespace {
struct Engine {
    static constexpr std::size_t kDigestLength = 16;
    CMD2 md2;
    void Init() { md2.Init(); }
    void Update(const uint8_t* p, uint32_t n) { md2.Update(p, n); }
    void Final(uint8_t* digest) { md2.Final(digest, kDigestLength); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return RunSplitHarness<Engine>(data, size, "md2");
}
