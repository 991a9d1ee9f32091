// SM3, GB/T 32905-2016 section 5: SHA-256's padding and 512-bit blocks, a 68-word expansion and
// 64 rounds whose eight variables are renamed from round to round instead of moved.
#include "sm3.h"

#include <cstring>

#include "block_feed.h"
#include "bytes.h"
#include "cpu.h"
#include "sm3_round.h"

namespace {

constexpr uint32_t kInitial[8] = {0x7380166f, 0x4914b2b9, 0x172442d7, 0xda8a0600,
                                  0xa96f30bc, 0x163138aa, 0xe38dee4d, 0xb0fb0e4e};

// The portable schedule: round j expands the word that round j + 4 is the first to need. The
// rounds' chain leaves the processor idle units that take the expansion in its shadow: faster than
// expanding all 68 words first (corvane_bench, sm3 rows).
struct InlineSchedule {
    uint32_t w[68];
    void Before(int j) {
        if (j >= 12)
            w[j + 4] = sm3::P1(w[j - 12] ^ w[j - 5] ^ Rotl32(w[j + 1], 15)) ^ Rotl32(w[j - 9], 7) ^
                       w[j - 2];
    }
    uint32_t W(int j) const { return w[j]; }
    uint32_t Wp(int j) const { return w[j] ^ w[j + 4]; }
};

}  // namespace

void Sm3Blocks(uint32_t* state, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        InlineSchedule schedule;
        for (int j = 0; j < 16; ++j) schedule.w[j] = LoadBe32(data + 4 * j);
        sm3::Rounds(state, schedule);
    }
}

void Sm3Init(Sm3Context* context) {
    context->byteCount[0] = 0;
    context->byteCount[1] = 0;
    std::memcpy(context->state, kInitial, sizeof kInitial);
}

void Sm3Update(const uint8_t* data, uint32_t length, Sm3Context* context) {
    const uint32_t pos = context->byteCount[0] & 63;
    context->byteCount[0] += length;
    if (context->byteCount[0] < length) ++context->byteCount[1];
    FeedBlocks<64>(ActiveCpuDispatch().sm3Blocks, context->state, context->block, pos, data,
                   length);
}

void Sm3Final(uint8_t* digest, Sm3Context* context) {
    // Padding of section 5.2: a one bit, zeros, the bit length as a 64-bit big-endian number.
    const uint32_t pos = context->byteCount[0] & 63;
    context->block[pos] = 0x80;
    std::memset(context->block + pos + 1, 0, 63 - pos);
    if (pos >= 56) {
        ActiveCpuDispatch().sm3Blocks(context->state, context->block, 1);
        std::memset(context->block, 0, 56);
    }
    StoreBe32(context->block + 56, (context->byteCount[1] << 3) | (context->byteCount[0] >> 29));
    StoreBe32(context->block + 60, context->byteCount[0] << 3);
    ActiveCpuDispatch().sm3Blocks(context->state, context->block, 1);
    for (int k = 0; k < 8; ++k) StoreBe32(digest + 4 * k, context->state[k]);
}
