// XXH3-64 and XXH128 as xxHash's published algorithm description defines them (seed 0, default
// secret): inputs of 0-16, 17-128 and 129-240 bytes each have their own mix; longer ones run eight
// accumulators over 64-byte stripes in 1024-byte blocks, a scramble after each block but the
// last, and a final stripe made of the input's last 64 bytes.
#include <cstring>

#include "bytes.h"
#include "cpu.h"
#include "xxhash.h"
#include "xxhash_constants.h"

namespace {

using u128 = unsigned __int128;

inline uint64_t Secret64(std::size_t offset) {
    return LoadLe64(kXxh3Secret + offset);
}
inline uint32_t Secret32(std::size_t offset) {
    return LoadLe32(kXxh3Secret + offset);
}

inline uint64_t MulFold(uint64_t a, uint64_t b) {
    const u128 product = u128{a} * b;
    return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
}

inline uint64_t Avalanche(uint64_t x) {
    x ^= x >> 37;
    x *= kXxPrimeMx1;
    return x ^ (x >> 32);
}

inline uint64_t AvalancheXxh64(uint64_t x) {
    x ^= x >> 33;
    x *= kXxPrime64_2;
    x ^= x >> 29;
    x *= kXxPrime64_3;
    return x ^ (x >> 32);
}

// 16 bytes of input against 16 bytes of secret.
inline uint64_t Mix16(const uint8_t* data, std::size_t secretOffset) {
    return MulFold(LoadLe64(data) ^ Secret64(secretOffset),
                   LoadLe64(data + 8) ^ Secret64(secretOffset + 8));
}

struct Hash128 {
    uint64_t low, high;
};

// The 128-bit medium inputs mix two 16-byte chunks into two accumulators at a time.
inline void MixTwo(uint64_t* acc, const uint8_t* a, const uint8_t* b, std::size_t secretOffset) {
    acc[0] += Mix16(a, secretOffset);
    acc[1] += Mix16(b, secretOffset + 16);
    acc[0] ^= LoadLe64(b) + LoadLe64(b + 8);
    acc[1] ^= LoadLe64(a) + LoadLe64(a + 8);
}

inline uint32_t Combined1To3(const uint8_t* in, std::size_t length) {
    return uint32_t{in[length - 1]} | static_cast<uint32_t>(length) << 8 | uint32_t{in[0]} << 16 |
           uint32_t{in[length >> 1]} << 24;
}

uint64_t Short64(const uint8_t* in, std::size_t length) {
    if (length == 0) return AvalancheXxh64(Secret64(56) ^ Secret64(64));
    if (length <= 3)
        return AvalancheXxh64((Secret32(0) ^ Secret32(4)) ^ uint64_t{Combined1To3(in, length)});
    if (length <= 8) {
        const uint64_t combined = LoadLe32(in + length - 4) | uint64_t{LoadLe32(in)} << 32;
        uint64_t v = (Secret64(8) ^ Secret64(16)) ^ combined;
        v ^= std::rotl(v, 49) ^ std::rotl(v, 24);
        v *= kXxPrimeMx2;
        v ^= (v >> 35) + length;
        v *= kXxPrimeMx2;
        return v ^ (v >> 28);
    }
    if (length <= 16) {
        const uint64_t low = (Secret64(24) ^ Secret64(32)) ^ LoadLe64(in);
        const uint64_t high = (Secret64(40) ^ Secret64(48)) ^ LoadLe64(in + length - 8);
        return Avalanche(length + __builtin_bswap64(low) + high + MulFold(low, high));
    }
    uint64_t acc = length * kXxPrime64_1;
    if (length <= 128) {
        for (std::size_t i = (length - 1) / 32 + 1; i-- > 0;) {
            acc += Mix16(in + 16 * i, 32 * i);
            acc += Mix16(in + length - 16 * i - 16, 32 * i + 16);
        }
        return Avalanche(acc);
    }
    for (std::size_t i = 0; i < 8; ++i) acc += Mix16(in + 16 * i, 16 * i);
    acc = Avalanche(acc);
    for (std::size_t i = 8; i < length / 16; ++i) acc += Mix16(in + 16 * i, 16 * (i - 8) + 3);
    acc += Mix16(in + length - 16, 119);
    return Avalanche(acc);
}

Hash128 Short128(const uint8_t* in, std::size_t length) {
    if (length == 0)
        return {AvalancheXxh64(Secret64(64) ^ Secret64(72)),
                AvalancheXxh64(Secret64(80) ^ Secret64(88))};
    if (length <= 3) {
        const uint32_t combined = Combined1To3(in, length);
        return {AvalancheXxh64((Secret32(0) ^ Secret32(4)) ^ uint64_t{combined}),
                AvalancheXxh64((Secret32(8) ^ Secret32(12)) ^
                               uint64_t{std::rotl(__builtin_bswap32(combined), 13)})};
    }
    if (length <= 8) {
        const uint64_t combined = LoadLe32(in) | uint64_t{LoadLe32(in + length - 4)} << 32;
        const uint64_t v = (Secret64(16) ^ Secret64(24)) ^ combined;
        const u128 product = u128{v} * (kXxPrime64_1 + (uint64_t{length} << 2));
        uint64_t high = static_cast<uint64_t>(product >> 64), low = static_cast<uint64_t>(product);
        high += low << 1;
        low ^= high >> 3;
        low ^= low >> 35;
        low *= kXxPrimeMx2;
        low ^= low >> 28;
        return {low, Avalanche(high)};
    }
    if (length <= 16) {
        const uint64_t first = LoadLe64(in), last = LoadLe64(in + length - 8);
        const uint64_t v1 = (Secret64(32) ^ Secret64(40)) ^ first ^ last;
        const uint64_t v2 = (Secret64(48) ^ Secret64(56)) ^ last;
        const u128 product = u128{v1} * kXxPrime64_1;
        uint64_t low = static_cast<uint64_t>(product) + (uint64_t{length - 1} << 54);
        uint64_t high = static_cast<uint64_t>(product >> 64) + (v2 & 0xFFFFFFFF00000000u) +
                        (v2 & 0xFFFFFFFFu) * kXxPrime32_2;
        low ^= __builtin_bswap64(high);
        const u128 product2 = u128{low} * kXxPrime64_2;
        low = static_cast<uint64_t>(product2);
        high = static_cast<uint64_t>(product2 >> 64) + high * kXxPrime64_2;
        return {Avalanche(low), Avalanche(high)};
    }
    uint64_t acc[2] = {length * kXxPrime64_1, 0};
    if (length <= 128) {
        for (std::size_t i = (length - 1) / 32 + 1; i-- > 0;)
            MixTwo(acc, in + 16 * i, in + length - 16 * i - 16, 32 * i);
    } else {
        for (std::size_t i = 0; i < 4; ++i) MixTwo(acc, in + 32 * i, in + 32 * i + 16, 32 * i);
        acc[0] = Avalanche(acc[0]);
        acc[1] = Avalanche(acc[1]);
        for (std::size_t i = 4; i < length / 32; ++i)
            MixTwo(acc, in + 32 * i, in + 32 * i + 16, 32 * (i - 4) + 3);
        MixTwo(acc, in + length - 16, in + length - 32, 103);
    }
    const uint64_t high = acc[0] * kXxPrime64_1 + acc[1] * kXxPrime64_4 + length * kXxPrime64_2;
    return {Avalanche(acc[0] + acc[1]), 0 - Avalanche(high)};
}

inline void Accumulate(uint64_t* acc, const uint8_t* stripe, std::size_t secretOffset) {
    for (std::size_t i = 0; i < 8; ++i) {
        const uint64_t lane = LoadLe64(stripe + 8 * i);
        const uint64_t keyed = lane ^ Secret64(secretOffset + 8 * i);
        acc[i ^ 1] += lane;
        acc[i] += (keyed & 0xFFFFFFFFu) * (keyed >> 32);
    }
}

inline void Scramble(uint64_t* acc) {
    for (std::size_t i = 0; i < 8; ++i) {
        acc[i] ^= acc[i] >> 47;
        acc[i] ^= Secret64(kXxh3ScrambleOffset + 8 * i);
        acc[i] *= kXxPrime32_1;
    }
}

uint64_t MergeAccumulators(const uint64_t* acc, uint64_t start, std::size_t secretOffset) {
    uint64_t result = start;
    for (std::size_t i = 0; i < 4; ++i)
        result += MulFold(acc[2 * i] ^ Secret64(secretOffset + 16 * i),
                          acc[2 * i + 1] ^ Secret64(secretOffset + 16 * i + 8));
    return Avalanche(result);
}

void Consume(Xxh3Context* c, const uint8_t* data, std::size_t stripes) {
    ActiveCpuDispatch().xxh3Stripes(c->acc, data, stripes, c->stripeInBlock);
    c->stripeInBlock = static_cast<uint32_t>((c->stripeInBlock + stripes) % kXxh3StripesPerBlock);
}

// A long input's accumulators after its pending tail: the tail's stripes but the last, then the
// input's last 64 bytes as the final stripe.
void FinishLong(const Xxh3Context* c, uint64_t* acc) {
    std::memcpy(acc, c->acc, sizeof c->acc);
    Xxh3StripesPortable(acc, c->buffer, (c->buffered - 1) / kXxh3StripeSize, c->stripeInBlock);
    uint8_t last[kXxh3StripeSize];
    if (c->buffered >= kXxh3StripeSize) {
        std::memcpy(last, c->buffer + c->buffered - kXxh3StripeSize, kXxh3StripeSize);
    } else {
        const std::size_t back = kXxh3StripeSize - c->buffered;
        std::memcpy(last, c->previous + c->buffered, back);
        std::memcpy(last + back, c->buffer, c->buffered);
    }
    Accumulate(acc, last, kXxh3SecretSize - 64 - 7);
}

constexpr std::size_t kShortLimit = 240;

}  // namespace

void Xxh3StripesPortable(uint64_t* acc, const uint8_t* data, std::size_t stripes,
                         std::size_t stripeInBlock) {
    for (std::size_t s = 0; s < stripes; ++s) {
        Accumulate(acc, data + kXxh3StripeSize * s, 8 * stripeInBlock);
        if (++stripeInBlock == kXxh3StripesPerBlock) {
            Scramble(acc);
            stripeInBlock = 0;
        }
    }
}

void Xxh3Init(Xxh3Context* c) {
    constexpr uint64_t kStart[8] = {kXxPrime32_3, kXxPrime64_1, kXxPrime64_2, kXxPrime64_3,
                                    kXxPrime64_4, kXxPrime32_2, kXxPrime64_5, kXxPrime32_1};
    std::memcpy(c->acc, kStart, sizeof kStart);
    c->totalLength = 0;
    c->stripeInBlock = 0;
    c->buffered = 0;
}

void Xxh3Update(Xxh3Context* c, const uint8_t* data, uint32_t length) {
    if (length == 0) return;
    c->totalLength += length;
    std::size_t rest = length;
    if (c->buffered + rest <= sizeof c->buffer) {
        std::memcpy(c->buffer + c->buffered, data, rest);
        c->buffered += length;
        return;
    }
    // More input follows the buffer: complete its last stripe and consume it all.
    if (c->buffered > 0) {
        const std::size_t take =
            (kXxh3StripeSize - c->buffered % kXxh3StripeSize) % kXxh3StripeSize;
        std::memcpy(c->buffer + c->buffered, data, take);
        data += take;
        rest -= take;
        const std::size_t stripes = (c->buffered + take) / kXxh3StripeSize;
        Consume(c, c->buffer, stripes);
        std::memcpy(c->previous, c->buffer + (stripes - 1) * kXxh3StripeSize, kXxh3StripeSize);
        c->buffered = 0;
    }
    // Every stripe of the input with a byte after it, straight from the caller's memory.
    const std::size_t stripes = (rest - 1) / kXxh3StripeSize;
    if (stripes > 0) {
        Consume(c, data, stripes);
        std::memcpy(c->previous, data + (stripes - 1) * kXxh3StripeSize, kXxh3StripeSize);
    }
    c->buffered = static_cast<uint32_t>(rest - stripes * kXxh3StripeSize);
    std::memcpy(c->buffer, data + stripes * kXxh3StripeSize, c->buffered);
}

void Xxh3Final(Xxh3Context* c, uint8_t* digest) {
    if (c->totalLength <= kShortLimit) {
        StoreBe64(digest, Short64(c->buffer, c->buffered));
        return;
    }
    uint64_t acc[8];
    FinishLong(c, acc);
    StoreBe64(digest, MergeAccumulators(acc, c->totalLength * kXxPrime64_1, 11));
}

void Xxh128Final(Xxh3Context* c, uint8_t* digest) {
    Hash128 h;
    if (c->totalLength <= kShortLimit) {
        h = Short128(c->buffer, c->buffered);
    } else {
        uint64_t acc[8];
        FinishLong(c, acc);
        h.low = MergeAccumulators(acc, c->totalLength * kXxPrime64_1, 11);
        h.high =
            MergeAccumulators(acc, ~(c->totalLength * kXxPrime64_2), kXxh3SecretSize - 64 - 11);
    }
    StoreBe64(digest, h.high);
    StoreBe64(digest + 8, h.low);
}
