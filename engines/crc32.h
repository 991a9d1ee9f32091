// CRC-32 (reflected, polynomial 0xEDB88320, preset and final XOR 0xFFFFFFFF: IEEE 802.3).
#pragma once

#include <cstddef>
#include <cstdint>

class CCrc32Static {
public:
    virtual ~CCrc32Static();

    // CRC of a zero-terminated text, stopping at its terminator. Always returns 0.
    static int CrcOfText(const char* text, uint32_t& crc);
    // CRC of a file read in 4096-byte portions. Returns 0, or 23 when an exception interrupted
    // the reading. A file that cannot be opened gives crc 0 with status 0.
    static int CrcOfFile(const char* path, uint32_t& crc);
};
