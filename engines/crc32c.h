// CRC-32C (Castagnoli): reflected polynomial 0x82F63B78, preset and final XOR 0xFFFFFFFF, as
// iSCSI uses it (RFC 3720, appendix B.4).
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kCrc32cPreset = 0xFFFFFFFF;

// Advances a running register (start at kCrc32cPreset, complement it for the CRC) over `length`
// bytes, so a message may arrive in pieces of any size; the fastest path this CPU has.
uint32_t Crc32cFold(uint32_t reg, const uint8_t* data, std::size_t length);
