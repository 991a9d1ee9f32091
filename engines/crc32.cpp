// CRC-32 of IEEE 802.3 (reflected form of polynomial 0x04C11DB7), one table lookup per byte.
#include "crc32.h"

#include <array>
#include <cstring>
#include <fstream>

#include "cpu.h"

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320;

// Entry n is n run through eight reflected shift-and-XOR steps; built by the compiler.
constexpr std::array<uint32_t, 256> MakeTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t value = n;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ kPolynomial : value >> 1;
        table[n] = value;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kTable = MakeTable();
static_assert(kTable[1] == 0x77073096 && kTable[255] == 0x2D02EF8D);

constexpr std::size_t kPortion = 4096;

}  // namespace

CCrc32Static::~CCrc32Static() = default;

void CCrc32Static::CrcFold(uint32_t& reg, const uint8_t* data, std::size_t length) {
    uint32_t r = reg;
    // Whole 16-byte runs go to the fastest bulk function this CPU has (carry-less folding or
    // slicing-by-16, same register); the tail goes byte by byte.
    const std::size_t bulk = length & ~std::size_t{15};
    if (bulk != 0) r = ActiveCpuDispatch().crc32Bulk(r, data, bulk);
    for (std::size_t i = bulk; i < length; ++i) r = (r >> 8) ^ kTable[(r ^ data[i]) & 0xFF];
    reg = r;
}

int CCrc32Static::CrcOfText(const char* text, uint32_t& crc) {
    return CrcOfBytes(reinterpret_cast<const uint8_t*>(text), std::strlen(text), crc);
}

int CCrc32Static::CrcOfBytes(const uint8_t* data, std::size_t length, uint32_t& crc) {
    crc = kPreset;
    CrcFold(crc, data, length);
    crc ^= kPreset;
    return 0;
}

int CCrc32Static::CrcOfFile(const char* path, uint32_t& crc) {
    CrcFileOutcome ignored;
    return CrcOfFile(path, crc, ignored);
}

int CCrc32Static::CrcOfFile(const char* path, uint32_t& crc, CrcFileOutcome& outcome,
                            bool (*onPortion)(void* user, uint32_t bytes), void* user) {
    crc = kPreset;
    outcome = CrcFileOutcome::NotOpened;
    int status = 0;
    try {
        std::ifstream stream(path, std::ios::in | std::ios::binary);
        if (stream.is_open()) {
            outcome = CrcFileOutcome::Complete;
            char portion[kPortion];
            for (;;) {
                stream.read(portion, kPortion);
                const auto count = static_cast<std::size_t>(stream.gcount());
                // A failed read (a directory, an I/O error) ends like end of file but sets badbit.
                if (stream.bad()) {
                    outcome = CrcFileOutcome::ReadFailed;
                    break;
                }
                if (count == 0) break;
                CrcFold(crc, reinterpret_cast<const uint8_t*>(portion), count);
                if (onPortion != nullptr && !onPortion(user, static_cast<uint32_t>(count))) {
                    outcome = CrcFileOutcome::Stopped;
                    break;
                }
            }
        }
    } catch (...) {
        status = 23;
        outcome = CrcFileOutcome::ReadFailed;
    }
    crc ^= kPreset;
    return status;
}
