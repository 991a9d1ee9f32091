// The lookup tables of the reflected CRC-32s, built by the compiler: entry n is n run through
// eight reflected shift-and-XOR steps. IEEE 802.3 (polynomial 0xEDB88320) and Castagnoli's CRC-32C
// (0x82F63B78, RFC 3720). The byte step of every path takes them from here; slicing-by-16 extends
// them.
#pragma once

#include <array>
#include <cstdint>

inline constexpr uint32_t kCrc32Polynomial = 0xEDB88320;
inline constexpr uint32_t kCrc32cPolynomial = 0x82F63B78;

constexpr std::array<uint32_t, 256> MakeCrc32Table(uint32_t polynomial = kCrc32Polynomial) {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t value = n;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ polynomial : value >> 1;
        table[n] = value;
    }
    return table;
}

inline constexpr std::array<uint32_t, 256> kCrc32Table = MakeCrc32Table();
static_assert(kCrc32Table[1] == 0x77073096 && kCrc32Table[255] == 0x2D02EF8D);
inline constexpr std::array<uint32_t, 256> kCrc32cTable = MakeCrc32Table(kCrc32cPolynomial);

// The per-byte step: the register advanced over one byte.
constexpr uint32_t Crc32Step(uint32_t reg, uint8_t byte) {
    return (reg >> 8) ^ kCrc32Table[(reg ^ byte) & 0xFF];
}
constexpr uint32_t Crc32cStep(uint32_t reg, uint8_t byte) {
    return (reg >> 8) ^ kCrc32cTable[(reg ^ byte) & 0xFF];
}
