// XXH32 and XXH64 as xxHash's published algorithm description defines them (seed 0): four
// accumulators over 16- or 32-byte stripes, merged, then the length and the last bytes mixed in
// and avalanched.
#include "xxhash.h"

#include <cstring>

#include "block_feed.h"
#include "bytes.h"
#include "xxhash_constants.h"

namespace {

inline uint32_t Round32(uint32_t acc, uint32_t lane) {
    return std::rotl(acc + lane * kXxPrime32_2, 13) * kXxPrime32_1;
}

// Whole 16-byte stripes; returns the bytes consumed.
std::size_t Stripes32(uint32_t* acc, const uint8_t* data, std::size_t length) {
    uint32_t a0 = acc[0], a1 = acc[1], a2 = acc[2], a3 = acc[3];
    const std::size_t whole = length & ~std::size_t{15};
    for (std::size_t at = 0; at < whole; at += 16) {
        a0 = Round32(a0, LoadLe32(data + at));
        a1 = Round32(a1, LoadLe32(data + at + 4));
        a2 = Round32(a2, LoadLe32(data + at + 8));
        a3 = Round32(a3, LoadLe32(data + at + 12));
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
        // Keeps the compiler from packing the four lanes into one SSE2 vector: without a 32-bit
        // vector multiply it emulates one, several times slower than four scalar chains
        // (corvane_bench --benchmark_filter=xxh32).
        __asm__("" : "+r"(a0), "+r"(a1), "+r"(a2), "+r"(a3));
#endif
    }
    acc[0] = a0, acc[1] = a1, acc[2] = a2, acc[3] = a3;
    return whole;
}

inline uint64_t Round64(uint64_t acc, uint64_t lane) {
    return std::rotl(acc + lane * kXxPrime64_2, 31) * kXxPrime64_1;
}

std::size_t Stripes64(uint64_t* acc, const uint8_t* data, std::size_t length) {
    uint64_t a0 = acc[0], a1 = acc[1], a2 = acc[2], a3 = acc[3];
    const std::size_t whole = length & ~std::size_t{31};
    for (std::size_t at = 0; at < whole; at += 32) {
        a0 = Round64(a0, LoadLe64(data + at));
        a1 = Round64(a1, LoadLe64(data + at + 8));
        a2 = Round64(a2, LoadLe64(data + at + 16));
        a3 = Round64(a3, LoadLe64(data + at + 24));
    }
    acc[0] = a0, acc[1] = a1, acc[2] = a2, acc[3] = a3;
    return whole;
}

inline uint64_t Merge64(uint64_t acc, uint64_t lane) {
    return (acc ^ Round64(0, lane)) * kXxPrime64_1 + kXxPrime64_4;
}

// The buffering both share, the blocks' own: stripes of XXH32/XXH64 need no look-ahead, so any
// whole stripe can be consumed at once.
template <class Context, std::size_t Stripe, class Run>
void Feed(Context* c, const uint8_t* data, std::size_t length, Run run) {
    FeedBlocksWith(
        Stripe, [&](const uint8_t* at, std::size_t count) { run(c->acc, at, count * Stripe); },
        c->buffer, c->buffered, data, length);
    c->totalLength += length;
    c->buffered = static_cast<uint32_t>((c->buffered + length) % Stripe);
}

}  // namespace

void Xxh32Init(Xxh32Context* c) {
    c->acc[0] = kXxPrime32_1 + kXxPrime32_2;
    c->acc[1] = kXxPrime32_2;
    c->acc[2] = 0;
    c->acc[3] = 0u - kXxPrime32_1;
    c->totalLength = 0;
    c->buffered = 0;
}

void Xxh32Update(Xxh32Context* c, const uint8_t* data, uint32_t length) {
    Feed<Xxh32Context, 16>(c, data, length, Stripes32);
}

void Xxh32Final(Xxh32Context* c, uint8_t* digest) {
    uint32_t acc = c->totalLength >= 16 ? std::rotl(c->acc[0], 1) + std::rotl(c->acc[1], 7) +
                                              std::rotl(c->acc[2], 12) + std::rotl(c->acc[3], 18)
                                        : kXxPrime32_5;
    acc += static_cast<uint32_t>(c->totalLength);  // the low 32 bits only
    std::size_t at = 0;
    for (; at + 4 <= c->buffered; at += 4)
        acc = std::rotl(acc + LoadLe32(c->buffer + at) * kXxPrime32_3, 17) * kXxPrime32_4;
    for (; at < c->buffered; ++at)
        acc = std::rotl(acc + uint32_t{c->buffer[at]} * kXxPrime32_5, 11) * kXxPrime32_1;
    acc ^= acc >> 15;
    acc *= kXxPrime32_2;
    acc ^= acc >> 13;
    acc *= kXxPrime32_3;
    acc ^= acc >> 16;
    StoreBe32(digest, acc);
}

void Xxh64Init(Xxh64Context* c) {
    c->acc[0] = kXxPrime64_1 + kXxPrime64_2;
    c->acc[1] = kXxPrime64_2;
    c->acc[2] = 0;
    c->acc[3] = 0u - kXxPrime64_1;
    c->totalLength = 0;
    c->buffered = 0;
}

void Xxh64Update(Xxh64Context* c, const uint8_t* data, uint32_t length) {
    Feed<Xxh64Context, 32>(c, data, length, Stripes64);
}

void Xxh64Final(Xxh64Context* c, uint8_t* digest) {
    uint64_t acc = kXxPrime64_5;
    if (c->totalLength >= 32) {
        acc = std::rotl(c->acc[0], 1) + std::rotl(c->acc[1], 7) + std::rotl(c->acc[2], 12) +
              std::rotl(c->acc[3], 18);
        for (uint64_t lane : c->acc) acc = Merge64(acc, lane);
    }
    acc += c->totalLength;
    std::size_t at = 0;
    for (; at + 8 <= c->buffered; at += 8)
        acc =
            std::rotl(acc ^ Round64(0, LoadLe64(c->buffer + at)), 27) * kXxPrime64_1 + kXxPrime64_4;
    if (at + 4 <= c->buffered) {
        acc = std::rotl(acc ^ (LoadLe32(c->buffer + at) * kXxPrime64_1), 23) * kXxPrime64_2 +
              kXxPrime64_3;
        at += 4;
    }
    for (; at < c->buffered; ++at)
        acc = std::rotl(acc ^ (uint64_t{c->buffer[at]} * kXxPrime64_5), 11) * kXxPrime64_1;
    acc ^= acc >> 33;
    acc *= kXxPrime64_2;
    acc ^= acc >> 29;
    acc *= kXxPrime64_3;
    acc ^= acc >> 32;
    StoreBe64(digest, acc);
}
