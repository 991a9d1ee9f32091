// Fuzz harness: CRC-32 (IEEE 802.3) folded over fuzzer-chosen pieces, with zero-length folds,
// equals the CRC of the whole message on every path this CPU has (table and carry-less multiply);
// the text form agrees up to the first zero byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "crc32.h"
#include "split_input.h"

namespace {

uint32_t CheckSplit(const SplitInput& in) {
    uint32_t whole = 0;
    CCrc32Static::CrcOfBytes(in.message, in.length, whole);

    uint32_t reg = CCrc32Static::kPreset;
    FeedPieces(in, [&](const uint8_t* p, std::size_t n) { CCrc32Static::CrcFold(reg, p, n); });
    uint32_t split = ~reg;
    RequireSame(reinterpret_cast<const uint8_t*>(&whole), reinterpret_cast<const uint8_t*>(&split),
                sizeof whole, "crc32 split");
    return whole;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    SplitInput in = ParseSplitInput(data, size);

    ForceCpuLevel(CpuLevel::kPortable);
    const uint32_t portable = CheckSplit(in);
    for (CpuLevel level : kCpuLevels) {
        if (level == CpuLevel::kPortable || level > SupportedCpuLevel()) continue;
        ForceCpuLevel(level);
        const uint32_t other = CheckSplit(in);
        RequireSame(reinterpret_cast<const uint8_t*>(&portable),
                    reinterpret_cast<const uint8_t*>(&other), sizeof other,
                    ActiveCpuPaths().c_str());
    }

    // The text operation stops at the first zero byte.
    std::string text(reinterpret_cast<const char*>(in.message), in.length);
    std::size_t textLength = std::strlen(text.c_str());
    uint32_t ofText = 0, ofPrefix = 0;
    CCrc32Static::CrcOfText(text.c_str(), ofText);
    CCrc32Static::CrcOfBytes(in.message, textLength, ofPrefix);
    RequireSame(reinterpret_cast<const uint8_t*>(&ofText),
                reinterpret_cast<const uint8_t*>(&ofPrefix), sizeof ofText, "crc32 text");
    ResetCpuLevel();
    return 0;
}
