// Fuzz harness: CRC-32 (IEEE 802.3) folded over fuzzer-chosen pieces, with zero-length folds,
// equals the CRC of the whole message on every path this CPU has (table and carry-less multiply);
// the text form agrees up to the first zero byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine_adapters.h"
#include "split_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    RunSplitHarness<Crc32Engine, true>(data, size);

    // The text operation stops at the first zero byte.
    SplitInput in = ParseSplitInput(data, size);
    std::string text(reinterpret_cast<const char*>(in.message), in.length);
    uint32_t ofText = 0, ofPrefix = 0;
    CCrc32Static::CrcOfText(text.c_str(), ofText);
    CCrc32Static::CrcOfBytes(in.message, std::strlen(text.c_str()), ofPrefix);
    RequireSame(reinterpret_cast<const uint8_t*>(&ofText),
                reinterpret_cast<const uint8_t*>(&ofPrefix), sizeof ofText, "crc32 text");
    return 0;
}
