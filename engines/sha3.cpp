// SHA-3, FIPS 202 sections 4 to 6.1: message bytes gather in a block buffer and whole blocks go
// through the dispatched absorb function (portable or x86 BMI), straight from the caller's memory
// where they can.
#include "sha3.h"

#include <cstring>

#include "block_feed.h"
#include "bytes.h"
#include "cpu.h"
#include "keccak_round.h"

void Sha3AbsorbPortable(uint64_t* state, const uint8_t* data, std::size_t blocks,
                        std::size_t rateLanes) {
    keccak::Absorb<false>(state, data, blocks, rateLanes);
}

namespace {

using AbsorbFunction = void (*)(uint64_t*, const uint8_t*, std::size_t, std::size_t);

AbsorbFunction ActiveAbsorb() {
    const auto absorb = ActiveCpuDispatch().sha3Absorb;
    return absorb != nullptr ? absorb : Sha3AbsorbPortable;
}

}  // namespace

int Sha3Init(uint32_t width, Sha3Context* context) {
    uint32_t bytes = 0;
    for (uint32_t size : {28u, 32u, 48u, 64u})
        if (width == size || width == 8 * size) bytes = size;
    if (bytes == 0) return 1;
    std::memset(context->state, 0, sizeof context->state);
    context->rate = 200 - 2 * bytes;
    context->pending = 0;
    context->digestLength = bytes;
    return 0;
}

void Sha3Update(const uint8_t* data, uint32_t length, Sha3Context* context) {
    const AbsorbFunction absorb = ActiveAbsorb();
    const uint32_t rate = context->rate;
    FeedBlocksWith(
        rate,
        [&](const uint8_t* at, std::size_t count) { absorb(context->state, at, count, rate / 8); },
        context->block, context->pending, data, length);
    context->pending = static_cast<uint32_t>((uint64_t{context->pending} + length) % rate);
}

void Sha3Final(uint8_t* digest, Sha3Context* context) {
    // The domain bits 01 and pad10*1, in the byte order of section B.2.
    const uint32_t rate = context->rate;
    std::memset(context->block + context->pending, 0, rate - context->pending);
    context->block[context->pending] = 0x06;
    context->block[rate - 1] |= 0x80;
    ActiveAbsorb()(context->state, context->block, 1, rate / 8);
    uint8_t out[64];
    for (int i = 0; i < 8; ++i) StoreLe64(out + 8 * i, context->state[i]);
    std::memcpy(digest, out, context->digestLength);
}
