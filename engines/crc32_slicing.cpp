// Slicing-by-16 CRC-32 (IEEE 802.3, reflected polynomial 0xEDB88320).
//
// Table k maps a byte to the CRC contribution of that byte followed by k zero bytes, so sixteen
// input bytes cost sixteen independent lookups instead of a chain of sixteen dependent ones.
// This is the bulk path on processors without carry-less multiplication.
#include "crc32_slicing.h"

#include <array>

#include "bytes.h"
#include "crc32_table.h"

namespace {

using Table = std::array<std::array<uint32_t, 256>, 16>;

constexpr Table MakeTables() {
    Table t{};
    t[0] = kCrc32Table;
    for (std::size_t k = 1; k < 16; ++k)
        for (std::size_t n = 0; n < 256; ++n)
            t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    return t;
}

constexpr Table kTables = MakeTables();

inline uint32_t Lookup4(std::size_t first, uint32_t word) {
    // Byte 0 of `word` is the earliest, so it takes the table of the most trailing zero bytes.
    return kTables[first][word & 0xFF] ^ kTables[first - 1][(word >> 8) & 0xFF] ^
           kTables[first - 2][(word >> 16) & 0xFF] ^ kTables[first - 3][word >> 24];
}

}  // namespace

uint32_t Crc32Slicing16(uint32_t reg, const uint8_t* data, std::size_t length) {
    while (length >= 16) {
        const uint32_t w0 = LoadLe32(data) ^ reg;
        reg = Lookup4(15, w0) ^ Lookup4(11, LoadLe32(data + 4)) ^ Lookup4(7, LoadLe32(data + 8)) ^
              Lookup4(3, LoadLe32(data + 12));
        data += 16;
        length -= 16;
    }
    while (length-- > 0) reg = Crc32Step(reg, *data++);
    return reg;
}
