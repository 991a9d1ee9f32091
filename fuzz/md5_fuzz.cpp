// Fuzz harness: MD5 over fuzzer-chosen pieces, with zero-length updates, equals MD5 of the
// whole message fed at once.
#include <cstddef>
#include <cstdint>

#include "md5.h"
#include "split_input.h"

namespace {
struct Engine {
    static constexpr std::size_t kDigestLength = 16;
    Md5Context context;
    void Init() { Md5Init(&context); }
    void Update(const uint8_t* p, uint32_t n) { Md5Update(&context, p, n); }
    void Final(uint8_t* digest) {
        Md5Final(&context);
        for (std::size_t i = 0; i < kDigestLength; ++i) digest[i] = context.digest[i];
    }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return RunSplitHarness<Engine>(data, size, "md5");
}
