// The CRC-32 lookup table of IEEE 802.3 (reflected polynomial 0xEDB88320), built by the compiler:
// entry n is n run through eight reflected shift-and-XOR steps. The byte step of every CRC-32
// path takes it from here; slicing-by-16 extends it.
#pragma once

#include <array>
#include <cstdint>

inline constexpr uint32_t kCrc32Polynomial = 0xEDB88320;

constexpr std::array<uint32_t, 256> MakeCrc32Table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t value = n;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ kCrc32Polynomial : value >> 1;
        table[n] = value;
    }
    return table;
}

inline constexpr std::array<uint32_t, 256> kCrc32Table = MakeCrc32Table();
static_assert(kCrc32Table[1] == 0x77073096 && kCrc32Table[255] == 0x2D02EF8D);

// The per-byte step: the register advanced over one byte.
constexpr uint32_t Crc32Step(uint32_t reg, uint8_t byte) {
    return (reg >> 8) ^ kCrc32Table[(reg ^ byte) & 0xFF];
}
