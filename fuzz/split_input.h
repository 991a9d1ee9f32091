// Shared by the fuzz harnesses: the input's first bytes choose where the message is cut, the rest
// is the message. Each piece is fed with zero-length updates around it, and the result must equal
// the digest of the whole message fed at once; accelerated paths must equal the portable one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "algorithms.h"
#include "cpu.h"

struct SplitInput {
    const uint8_t* message = nullptr;
    std::size_t length = 0;
    std::vector<std::size_t> pieces;  // lengths, summing to `length`
};

// Byte 0 gives the number of cuts (0 to 15); each cut takes two more bytes, a little-endian piece
// length taken modulo what is left plus one, so pieces of any size up to 64 KiB (several blocks
// and both sides of every block boundary) are reachable.
inline SplitInput ParseSplitInput(const uint8_t* data, std::size_t size) {
    SplitInput in;
    std::size_t pos = 0;
    std::size_t cuts = size > 0 ? data[0] % 16u : 0;
    pos = size > 0 ? 1 : 0;
    std::vector<std::size_t> wanted;
    for (std::size_t i = 0; i < cuts && pos + 2 <= size; ++i, pos += 2)
        wanted.push_back(std::size_t{data[pos]} | std::size_t{data[pos + 1]} << 8);
    in.message = data + pos;
    in.length = size - pos;
    std::size_t left = in.length;
    for (std::size_t w : wanted) {
        std::size_t piece = w % (left + 1);
        in.pieces.push_back(piece);
        left -= piece;
    }
    in.pieces.push_back(left);
    return in;
}

// Calls feed(pointer, length) for each piece, with a zero-length call before the first and after
// every piece, always at a valid pointer into (or just past) the message.
template <class Feed>
void FeedPieces(const SplitInput& in, Feed&& feed) {
    static const uint8_t kNothing = 0;
    const uint8_t* p = in.length > 0 ? in.message : &kNothing;
    feed(p, std::size_t{0});
    for (std::size_t piece : in.pieces) {
        feed(p, piece);
        p += piece;
        feed(p, std::size_t{0});
    }
}

// A mismatch is a finding: stop with a message the fuzzer keeps alongside the crashing input.
inline void RequireSame(const uint8_t* a, const uint8_t* b, std::size_t n, const char* what) {
    if (std::memcmp(a, b, n) != 0) {
        __builtin_printf("digest mismatch: %s\n", what);
        std::abort();
    }
}

// Checks the split feed of an engine adapter (hash/engine_adapters.h) against its one-shot digest,
// which goes to `whole`.
template <class E>
void CheckSplit(const SplitInput& in, uint8_t* whole, const char* name) {
    uint8_t split[E::kDigestSize];
    typename E::Context context;
    E::Init(context);
    E::Update(context, in.message, static_cast<uint32_t>(in.length));
    E::Final(context, whole);

    E::Init(context);
    FeedPieces(in, [&](const uint8_t* p, std::size_t n) {
        E::Update(context, p, static_cast<uint32_t>(n));
    });
    E::Final(context, split);
    RequireSame(whole, split, E::kDigestSize, name);
}

// The split check on the portable path, and for engines with accelerated block functions on
// every other path this CPU has, each of which must give the portable digest.
template <class E, bool Accelerated>
int RunSplitHarness(const uint8_t* data, std::size_t size) {
    const std::string name(AlgorithmName(E::kAlgorithm));
    SplitInput in = ParseSplitInput(data, size);
    if (in.length > UINT32_MAX) return 0;
    uint8_t portable[E::kDigestSize];
    uint8_t other[E::kDigestSize];
    if (Accelerated) ForceCpuLevel(CpuLevel::kPortable);
    CheckSplit<E>(in, portable, name.c_str());
    if (!Accelerated) return 0;
    for (CpuLevel level : kCpuLevels) {
        if (level == CpuLevel::kPortable || level > SupportedCpuLevel()) continue;
        ForceCpuLevel(level);
        CheckSplit<E>(in, other, name.c_str());
        RequireSame(portable, other, E::kDigestSize, ActiveCpuPaths().c_str());
    }
    ResetCpuLevel();
    return 0;
}
