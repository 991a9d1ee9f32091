// CRC-32 of IEEE 802.3 (reflected form of polynomial 0x04C11DB7), one table lookup per byte.
#include "crc32.h"

#include <cstring>
#include <fstream>

#include "cpu.h"
#include "crc32_table.h"

namespace {

constexpr std::size_t kPortion = 4096;

}  // namespace

CCrc32Static::~CCrc32Static() = default;

void CCrc32Static::CrcFold(uint32_t& reg, const uint8_t* data, std::size_t length) {
    uint32_t r = reg;
    // Whole 16-byte runs go to the fastest bulk function this CPU has (carry-less folding or
    // slicing-by-16, same register); the tail goes byte by byte.
    const std::size_t bulk = length & ~std::size_t{15};
    if (bulk != 0) r = ActiveCpuDispatch().crc32Bulk(r, data, bulk);
    for (std::size_t i = bulk; i < length; ++i) r = Crc32Step(r, data[i]);
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
