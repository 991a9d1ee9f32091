// Slicing-by-16 reflected CRC-32s: IEEE 802.3 and Castagnoli's CRC-32C, one template.
//
// Table k maps a byte to the CRC contribution of that byte followed by k zero bytes, so sixteen
// input bytes cost sixteen independent lookups instead of a chain of sixteen dependent ones.
// This is the bulk path on processors without carry-less multiplication (or, for CRC-32C, the
// SSE 4.2 crc32 instruction).
#include "crc32_slicing.h"

#include <array>

#include "bytes.h"
#include "crc32_table.h"

namespace {

using Table = std::array<std::array<uint32_t, 256>, 16>;

constexpr Table MakeTables(const std::array<uint32_t, 256>& base) {
    Table t{};
    t[0] = base;
    for (std::size_t k = 1; k < 16; ++k)
        for (std::size_t n = 0; n < 256; ++n)
            t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    return t;
}

constexpr Table kCrc32Tables = MakeTables(kCrc32Table);
constexpr Table kCrc32cTables = MakeTables(kCrc32cTable);

template <const Table& T>
inline uint32_t Lookup4(std::size_t first, uint32_t word) {
    // Byte 0 of `word` is the earliest, so it takes the table of the most trailing zero bytes.
    return T[first][word & 0xFF] ^ T[first - 1][(word >> 8) & 0xFF] ^
           T[first - 2][(word >> 16) & 0xFF] ^ T[first - 3][word >> 24];
}

template <const Table& T>
uint32_t Slicing16(uint32_t reg, const uint8_t* data, std::size_t length) {
    while (length >= 16) {
        const uint32_t w0 = LoadLe32(data) ^ reg;
        reg = Lookup4<T>(15, w0) ^ Lookup4<T>(11, LoadLe32(data + 4)) ^
              Lookup4<T>(7, LoadLe32(data + 8)) ^ Lookup4<T>(3, LoadLe32(data + 12));
        data += 16;
        length -= 16;
    }
    while (length-- > 0) reg = (reg >> 8) ^ T[0][(reg ^ *data++) & 0xFF];
    return reg;
}

}  // namespace

uint32_t Crc32Slicing16(uint32_t reg, const uint8_t* data, std::size_t length) {
    return Slicing16<kCrc32Tables>(reg, data, length);
}

uint32_t Crc32cSlicing16(uint32_t reg, const uint8_t* data, std::size_t length) {
    return Slicing16<kCrc32cTables>(reg, data, length);
}
