// CRC-32 (reflected, polynomial 0xEDB88320, preset and final XOR 0xFFFFFFFF: IEEE 802.3).
#pragma once

#include <cstddef>
#include <cstdint>

// How CrcOfFile's reading ended, for callers that must not show a failed read as a CRC.
enum class CrcFileOutcome {
    Complete,    // opened and read to end of file
    NotOpened,   // no byte was read
    ReadFailed,  // a read failed part-way or an exception interrupted it
    Stopped,     // the caller's portion callback asked to stop
};

class CCrc32Static {
public:
    virtual ~CCrc32Static();

    static constexpr uint32_t kPreset = 0xFFFFFFFF;

    // CRC of a zero-terminated text, stopping at its terminator. Always returns 0.
    static int CrcOfText(const char* text, uint32_t& crc);
    // CRC of a file read in 4096-byte portions. Returns 0, or 23 when an exception interrupted
    // the reading. A file that cannot be opened gives crc 0 with status 0.
    static int CrcOfFile(const char* path, uint32_t& crc);

    // As above, and says how the reading ended. `onPortion` (may be null) sees each portion's
    // byte count and stops the reading by returning false.
    static int CrcOfFile(const char* path, uint32_t& crc, CrcFileOutcome& outcome,
                         bool (*onPortion)(void* user, uint32_t bytes) = nullptr,
                         void* user = nullptr);

    // CRC of exactly `length` bytes, zero bytes included. Always returns 0.
    static int CrcOfBytes(const uint8_t* data, std::size_t length, uint32_t& crc);
    // Folds bytes into a running register (preset kPreset; complement it for the CRC), so a
    // message may arrive in pieces of any size.
    static void CrcFold(uint32_t& reg, const uint8_t* data, std::size_t length);
};
