// Reflected CRC-32 (IEEE 802.3, polynomial 0xEDB88320) over a byte run, sixteen bytes per step.
#pragma once

#include <cstddef>
#include <cstdint>

// Advances the running register (no pre/post inversion) over `length` bytes.
uint32_t Crc32Slicing16(uint32_t reg, const uint8_t* data, std::size_t length);
