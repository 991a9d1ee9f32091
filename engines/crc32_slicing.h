// Reflected CRC-32s over a byte run, sixteen bytes per step: IEEE 802.3 (polynomial 0xEDB88320)
// and CRC-32C (Castagnoli, 0x82F63B78).
#pragma once

#include <cstddef>
#include <cstdint>

// Advances the running register (no pre/post inversion) over `length` bytes.
uint32_t Crc32Slicing16(uint32_t reg, const uint8_t* data, std::size_t length);
uint32_t Crc32cSlicing16(uint32_t reg, const uint8_t* data, std::size_t length);
