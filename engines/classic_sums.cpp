// The POSIX CRC by slicing: eight bytes per step through eight tables, each table the one before
// it advanced by a zero byte, as for the reflected CRC-32 but with the bits the other way round.
#include "classic_sums.h"

#include <array>

namespace {

constexpr uint32_t kPolynomial = 0x04C11DB7;

using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
    Tables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t reg = i << 24;
        for (int bit = 0; bit < 8; ++bit)
            reg = (reg & 0x80000000u) ? (reg << 1) ^ kPolynomial : reg << 1;
        t[0][i] = reg;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (std::size_t i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] << 8) ^ t[0][t[k - 1][i] >> 24];
    return t;
}

constexpr Tables kTables = MakeTables();

uint32_t LoadBe32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

uint32_t Step(uint32_t reg, uint8_t byte) {
    return (reg << 8) ^ kTables[0][(reg >> 24) ^ byte];
}

}  // namespace

void PosixCrcUpdate(PosixCrcContext* context, const uint8_t* data, std::size_t length) {
    context->length += length;
    uint32_t reg = context->reg;
    for (; length >= 8; data += 8, length -= 8) {
        const uint32_t high = reg ^ LoadBe32(data);
        const uint32_t low = LoadBe32(data + 4);
        reg = kTables[7][high >> 24] ^ kTables[6][(high >> 16) & 0xFF] ^
              kTables[5][(high >> 8) & 0xFF] ^ kTables[4][high & 0xFF] ^ kTables[3][low >> 24] ^
              kTables[2][(low >> 16) & 0xFF] ^ kTables[1][(low >> 8) & 0xFF] ^
              kTables[0][low & 0xFF];
    }
    for (; length != 0; ++data, --length) reg = Step(reg, *data);
    context->reg = reg;
}

uint32_t PosixCrcFinal(const PosixCrcContext* context) {
    // The length, least significant byte first, in as few bytes as hold it (none for zero).
    uint32_t reg = context->reg;
    for (uint64_t n = context->length; n != 0; n >>= 8) reg = Step(reg, static_cast<uint8_t>(n));
    return ~reg;
}

void BsdSumUpdate(BsdSumContext* context, const uint8_t* data, std::size_t length) {
    context->length += length;
    uint16_t sum = context->sum;
    for (std::size_t i = 0; i < length; ++i)
        sum = static_cast<uint16_t>(((sum >> 1) | (sum << 15)) + data[i]);
    context->sum = sum;
}

void SysvSumUpdate(SysvSumContext* context, const uint8_t* data, std::size_t length) {
    context->length += length;
    uint32_t total = context->total;
    for (std::size_t i = 0; i < length; ++i) total += data[i];
    context->total = total;
}

uint16_t SysvSumFinal(const SysvSumContext* context) {
    uint32_t r = (context->total & 0xFFFF) + (context->total >> 16);
    r = (r & 0xFFFF) + (r >> 16);
    return static_cast<uint16_t>(r);
}
