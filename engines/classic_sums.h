// The checksums older than message digests that cksum still offers: the POSIX cksum CRC (a
// 32-bit CRC, polynomial 0x04C11DB7 fed most significant bit first, over the data and then the
// data's length, complemented), and the 16-bit sums of the BSD and System V `sum` commands.
// Each is a running context, so the input may come in pieces of any size.
#pragma once

#include <cstddef>
#include <cstdint>

struct PosixCrcContext {
    uint32_t reg = 0;
    uint64_t length = 0;
};
void PosixCrcUpdate(PosixCrcContext* context, const uint8_t* data, std::size_t length);
// The CRC of everything fed so far, the length appended; the context is left as it was.
uint32_t PosixCrcFinal(const PosixCrcContext* context);

// BSD: each byte added to the sum rotated right by one bit, modulo 2^16.
struct BsdSumContext {
    uint16_t sum = 0;
    uint64_t length = 0;
};
void BsdSumUpdate(BsdSumContext* context, const uint8_t* data, std::size_t length);

// System V: the bytes added up, the 32-bit total folded into 16 bits.
struct SysvSumContext {
    uint32_t total = 0;  // modulo 2^32, as the classic command kept it
    uint64_t length = 0;
};
void SysvSumUpdate(SysvSumContext* context, const uint8_t* data, std::size_t length);
uint16_t SysvSumFinal(const SysvSumContext* context);
