// BLAKE2b and BLAKE2s, RFC 7693 sections 2 and 3: one template over the word size, the
// rotation distances and the round count.
//
// Scalar on every processor: one message's compression is a chain of dependent steps, and with
// the state's rows in vectors (AVX2, or AVX-512 VL rotations) it ran at about half this speed
// where vector additions take two cycles. Measure a vector form with corvane_bench (blake2b and
// blake2s rows) before adding one.
#include "blake2.h"

#include <cstring>
#include <utility>

#include "bytes.h"

namespace {

template <class Word>
struct Params;
template <>
struct Params<uint64_t> {
    static constexpr int kRounds = 12, kR1 = 32, kR2 = 24, kR3 = 16, kR4 = 63;
    static constexpr std::size_t kBlock = 128, kMaxDigest = 64;
    static constexpr const uint64_t* kIv = kBlake2bIv;
    static uint64_t Load(const uint8_t* p) { return LoadLe64(p); }
    static void Store(uint8_t* p, uint64_t v) { StoreLe64(p, v); }
};
template <>
struct Params<uint32_t> {
    static constexpr int kRounds = 10, kR1 = 16, kR2 = 12, kR3 = 8, kR4 = 7;
    static constexpr std::size_t kBlock = 64, kMaxDigest = 32;
    static constexpr const uint32_t* kIv = kBlake2sIv;
    static uint32_t Load(const uint8_t* p) { return LoadLe32(p); }
    static void Store(uint8_t* p, uint32_t v) { StoreLe32(p, v); }
};

template <class Word>
struct Mixer {
    using P = Params<Word>;
    Word v[16];
    Word m[16];

    template <int A, int B, int C, int D>
    inline void G(Word x, Word y) {
        v[A] = v[A] + v[B] + x;
        v[D] = std::rotr(static_cast<Word>(v[D] ^ v[A]), P::kR1);
        v[C] = v[C] + v[D];
        v[B] = std::rotr(static_cast<Word>(v[B] ^ v[C]), P::kR2);
        v[A] = v[A] + v[B] + y;
        v[D] = std::rotr(static_cast<Word>(v[D] ^ v[A]), P::kR3);
        v[C] = v[C] + v[D];
        v[B] = std::rotr(static_cast<Word>(v[B] ^ v[C]), P::kR4);
    }

    // The schedule row is a template argument so every message index is a constant.
    template <int R>
    inline void Round() {
        constexpr const uint8_t* s = kBlake2Sigma[R % 10];
        G<0, 4, 8, 12>(m[s[0]], m[s[1]]);
        G<1, 5, 9, 13>(m[s[2]], m[s[3]]);
        G<2, 6, 10, 14>(m[s[4]], m[s[5]]);
        G<3, 7, 11, 15>(m[s[6]], m[s[7]]);
        G<0, 5, 10, 15>(m[s[8]], m[s[9]]);
        G<1, 6, 11, 12>(m[s[10]], m[s[11]]);
        G<2, 7, 8, 13>(m[s[12]], m[s[13]]);
        G<3, 4, 9, 14>(m[s[14]], m[s[15]]);
    }

    template <int... R>
    inline void Rounds(std::integer_sequence<int, R...>) {
        (Round<R>(), ...);
    }
};

template <class Word>
void Compress(Word* h, Word* t, const uint8_t* data, std::size_t blocks, uint32_t step, bool last) {
    using P = Params<Word>;
    for (; blocks > 0; --blocks, data += P::kBlock) {
        t[0] += step;
        if (t[0] < step) ++t[1];
        Mixer<Word> x;
        for (int i = 0; i < 16; ++i) x.m[i] = P::Load(data + i * sizeof(Word));
        for (int i = 0; i < 8; ++i) x.v[i] = h[i], x.v[i + 8] = P::kIv[i];
        x.v[12] ^= t[0];
        x.v[13] ^= t[1];
        if (last) x.v[14] = static_cast<Word>(~x.v[14]);
        x.Rounds(std::make_integer_sequence<int, P::kRounds>{});
        for (int i = 0; i < 8; ++i) h[i] ^= x.v[i] ^ x.v[i + 8];
    }
}

template <class Word, class Context>
bool Init(Context* c, std::size_t digestLength, const uint8_t* key, std::size_t keyLength) {
    using P = Params<Word>;
    if (digestLength == 0 || digestLength > P::kMaxDigest || keyLength > P::kMaxDigest)
        return false;
    std::memcpy(c->state, P::kIv, sizeof c->state);
    // Parameter block word 0: digest length, key length, fanout 1, depth 1 (sequential mode).
    c->state[0] ^= static_cast<Word>(0x01010000 ^ (keyLength << 8) ^ digestLength);
    c->counter[0] = c->counter[1] = 0;
    c->digestLength = static_cast<uint32_t>(digestLength);
    c->pending = 0;
    // A key is the first block, zero-padded; it is compressed like any other data block.
    std::memset(c->block, 0, sizeof c->block);
    if (keyLength != 0) {
        std::memcpy(c->block, key, keyLength);
        c->pending = static_cast<uint32_t>(P::kBlock);
    }
    return true;
}

template <class Word, class Context, class Blocks>
void Update(Context* c, Blocks blocks, const uint8_t* data, std::size_t length) {
    constexpr std::size_t kBlock = Params<Word>::kBlock;
    if (length == 0) return;
    // The pending block is compressed only once more data follows it.
    if (c->pending != 0) {
        const std::size_t space = kBlock - c->pending;
        if (length <= space) {
            std::memcpy(c->block + c->pending, data, length);
            c->pending += static_cast<uint32_t>(length);
            return;
        }
        std::memcpy(c->block + c->pending, data, space);
        blocks(c->state, c->counter, c->block, 1, kBlock, false);
        data += space;
        length -= space;
    }
    // Whole blocks straight from the caller's memory, keeping back the last (1 to kBlock bytes).
    const std::size_t whole = (length - 1) / kBlock;
    if (whole != 0) blocks(c->state, c->counter, data, whole, kBlock, false);
    data += whole * kBlock;
    length -= whole * kBlock;
    std::memcpy(c->block, data, length);
    c->pending = static_cast<uint32_t>(length);
}

template <class Word, class Context, class Blocks>
void Final(Context* c, Blocks blocks, uint8_t* digest) {
    using P = Params<Word>;
    std::memset(c->block + c->pending, 0, P::kBlock - c->pending);
    blocks(c->state, c->counter, c->block, 1, c->pending, true);
    uint8_t out[P::kMaxDigest];
    for (std::size_t i = 0; i < 8; ++i) P::Store(out + i * sizeof(Word), c->state[i]);
    std::memcpy(digest, out, c->digestLength);
}

}  // namespace

void Blake2bBlocks(uint64_t* state, uint64_t* counter, const uint8_t* data, std::size_t blocks,
                   uint32_t step, bool last) {
    Compress<uint64_t>(state, counter, data, blocks, step, last);
}

void Blake2sBlocks(uint32_t* state, uint32_t* counter, const uint8_t* data, std::size_t blocks,
                   uint32_t step, bool last) {
    Compress<uint32_t>(state, counter, data, blocks, step, last);
}

bool Blake2bInit(Blake2bContext* context, std::size_t digestLength, const uint8_t* key,
                 std::size_t keyLength) {
    return Init<uint64_t>(context, digestLength, key, keyLength);
}

void Blake2bUpdate(Blake2bContext* context, const uint8_t* data, std::size_t length) {
    Update<uint64_t>(context, Blake2bBlocks, data, length);
}

void Blake2bFinal(Blake2bContext* context, uint8_t* digest) {
    Final<uint64_t>(context, Blake2bBlocks, digest);
}

bool Blake2sInit(Blake2sContext* context, std::size_t digestLength, const uint8_t* key,
                 std::size_t keyLength) {
    return Init<uint32_t>(context, digestLength, key, keyLength);
}

void Blake2sUpdate(Blake2sContext* context, const uint8_t* data, std::size_t length) {
    Update<uint32_t>(context, Blake2sBlocks, data, length);
}

void Blake2sFinal(Blake2sContext* context, uint8_t* digest) {
    Final<uint32_t>(context, Blake2sBlocks, digest);
}
