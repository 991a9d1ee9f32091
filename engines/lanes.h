// Moving a message between its one-message context and a lane of a multi-lane block function
// (layout in x86/x86_lanes.h: word w of lane l at state[w * lanes + l]). A lane starts from a
// freshly initialised context and hashes whole blocks only; its message is finished by moving it
// back into a context, whose Update and Final then buffer the tail and pad as for any message.
#pragma once

#include <cstddef>
#include <cstdint>

#include "md2.h"
#include "md4.h"
#include "md5.h"
#include "sha1.h"
#include "sha256.h"
#include "sha512.h"

// The context's chaining value into lane `lane`; the byte count stays with the caller.
template <class Context, class Word>
void ChainToLane(const Context& context, Word* state, std::size_t lanes, std::size_t lane) {
    constexpr std::size_t kWords = sizeof context.state / sizeof context.state[0];
    for (std::size_t w = 0; w < kWords; ++w) state[w * lanes + lane] = context.state[w];
}

// Lane `lane`'s chaining value into the context; SetFedBytes completes the move.
template <class Context, class Word>
void ChainFromLane(Context& context, const Word* state, std::size_t lanes, std::size_t lane) {
    constexpr std::size_t kWords = sizeof context.state / sizeof context.state[0];
    for (std::size_t w = 0; w < kWords; ++w) context.state[w] = state[w * lanes + lane];
}

// An MD2 lane carries the whole state between blocks: X (48 bytes), then the checksum (16).
inline void ChainToLane(const CMD2& context, uint8_t* state, std::size_t lanes, std::size_t lane) {
    for (std::size_t w = 0; w < 48; ++w) state[w * lanes + lane] = context.state[w];
    for (std::size_t w = 0; w < 16; ++w) state[(48 + w) * lanes + lane] = context.checksum[w];
}
inline void ChainFromLane(CMD2& context, const uint8_t* state, std::size_t lanes,
                          std::size_t lane) {
    for (std::size_t w = 0; w < 48; ++w) context.state[w] = state[w * lanes + lane];
    for (std::size_t w = 0; w < 16; ++w) context.checksum[w] = state[(48 + w) * lanes + lane];
}

// The context's count, in its own form, as if `bytes` bytes (a whole number of blocks) had been
// fed: nothing pending, ready for Update and Final.
inline void SetFedBytes(Md4Context& context, uint64_t bytes) {
    context.bitCount[0] = static_cast<uint32_t>(bytes << 3);
    context.bitCount[1] = static_cast<uint32_t>(bytes >> 29);
}
inline void SetFedBytes(Md5Context& context, uint64_t bytes) {
    context.bitCount[0] = static_cast<uint32_t>(bytes << 3);
    context.bitCount[1] = static_cast<uint32_t>(bytes >> 29);
}
inline void SetFedBytes(Sha1Context& context, uint64_t bytes) {
    context.byteCount[0] = static_cast<uint32_t>(bytes);
    context.byteCount[1] = static_cast<uint32_t>(bytes >> 32);
}
inline void SetFedBytes(Sha256Context& context, uint64_t bytes) {
    context.byteCount[0] = static_cast<uint32_t>(bytes);
    context.byteCount[1] = static_cast<uint32_t>(bytes >> 32);
}
// MD2 counts no bytes: only the pending block goes.
inline void SetFedBytes(CMD2& context, uint64_t) {
    context.pendingBytes = 0;
}
inline void SetFedBytes(Sha512Context& context, uint64_t bytes) {
    context.byteCount[0] = bytes;
    context.byteCount[1] = 0;
}
