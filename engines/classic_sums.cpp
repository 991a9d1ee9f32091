// The POSIX CRC has the polynomial of CRC-32 fed the other way round: its register, mirrored, is
// the reflected CRC-32's register over the same bytes each mirrored. So long inputs go, mirrored
// a piece at a time, through CRC-32's fastest path on this CPU (carry-less multiplication where
// there is one); short ones by slicing, eight bytes per step through eight tables, each table the
// one before it advanced by a zero byte.
#include "classic_sums.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "bytes.h"
#include "crc32.h"

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

uint32_t Step(uint32_t reg, uint8_t byte) {
    return (reg << 8) ^ kTables[0][(reg >> 24) ^ byte];
}

uint32_t Mirror32(uint32_t x) {
    x = ((x >> 1) & 0x55555555u) | ((x & 0x55555555u) << 1);
    x = ((x >> 2) & 0x33333333u) | ((x & 0x33333333u) << 2);
    x = ((x >> 4) & 0x0F0F0F0Fu) | ((x & 0x0F0F0F0Fu) << 4);
    x = ((x >> 8) & 0x00FF00FFu) | ((x & 0x00FF00FFu) << 8);
    return (x >> 16) | (x << 16);
}

// Each byte's bits in the opposite order; eight bytes per step, which compilers vectorise.
void MirrorBytes(const uint8_t* in, uint8_t* out, std::size_t length) {
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t x;
        std::memcpy(&x, in + i, 8);
        x = ((x >> 1) & 0x5555555555555555u) | ((x & 0x5555555555555555u) << 1);
        x = ((x >> 2) & 0x3333333333333333u) | ((x & 0x3333333333333333u) << 2);
        x = ((x >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((x & 0x0F0F0F0F0F0F0F0Fu) << 4);
        std::memcpy(out + i, &x, 8);
    }
    for (; i < length; ++i) out[i] = static_cast<uint8_t>(Mirror32(in[i]) >> 24);
}

// Below this, mirroring costs more than the faster fold saves.
constexpr std::size_t kMirroredFrom = 256;
constexpr std::size_t kMirrorPiece = 16384;

}  // namespace

void PosixCrcUpdate(PosixCrcContext* context, const uint8_t* data, std::size_t length) {
    context->length += length;
    if (length >= kMirroredFrom) {
        uint32_t mirrored = Mirror32(context->reg);
        alignas(64) uint8_t piece[kMirrorPiece];
        while (length != 0) {
            const std::size_t n = std::min(length, kMirrorPiece);
            MirrorBytes(data, piece, n);
            CCrc32Static::CrcFold(mirrored, piece, n);
            data += n;
            length -= n;
        }
        context->reg = Mirror32(mirrored);
        return;
    }
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
