// SHA-512 block function (FIPS 180-2) with the message schedule on AVX2 vectors and the rounds in
// scalar registers with BMI2 rotations.
//
// The schedule runs two blocks at once: each 256-bit vector holds two consecutive words of one
// block in its low 128-bit lane and the same two words of the next block in its high lane. With
// two words per lane, W[t] and W[t+1] need sigma1 of W[t-2] and W[t-1] only, which is the whole
// previous vector, and the W[t-15] and W[t-7] pairs are in-lane byte alignments of neighbours, so
// no step crosses lanes. W+K for both blocks (1280 bytes) is written out first; the rounds of the
// first block then read the low lanes and the rounds of the second the high lanes. The vector
// work runs on other execution units than the scalar rounds, and it is half the work of the
// block, which is where the gain over the all-scalar function comes from.
#include <immintrin.h>

#include <cstring>

#include "../bytes.h"
#include "../sha2_constants.h"
#include "../sha512_round.h"
#include "x86_blocks.h"

namespace {

#define CORVANE_AVX2_BMI2 __attribute__((target("avx2,bmi2")))

template <int N>
CORVANE_AVX2_BMI2 inline __m256i Rotr(__m256i x) {
    return _mm256_or_si256(_mm256_srli_epi64(x, N), _mm256_slli_epi64(x, 64 - N));
}

// sigma0 = ROTR1 ^ ROTR8 ^ SHR7; the rotation by a whole byte is one byte shuffle.
CORVANE_AVX2_BMI2 inline __m256i SmallSigma0(__m256i x, __m256i rotr8) {
    return _mm256_xor_si256(_mm256_xor_si256(Rotr<1>(x), _mm256_shuffle_epi8(x, rotr8)),
                            _mm256_srli_epi64(x, 7));
}

// sigma1 = ROTR19 ^ ROTR61 ^ SHR6.
CORVANE_AVX2_BMI2 inline __m256i SmallSigma1(__m256i x) {
    return _mm256_xor_si256(_mm256_xor_si256(Rotr<19>(x), Rotr<61>(x)), _mm256_srli_epi64(x, 6));
}

// Two 128-bit halves, one from each block.
CORVANE_AVX2_BMI2 inline __m256i LoadPair(const uint8_t* first, const uint8_t* second) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

#define CORVANE_INLINE __attribute__((always_inline)) inline

// The schedule of one pair of blocks, step by step: step s fills wk[4 s + 0..1] with W+K words
// 2s, 2s+1 of block `first` and wk[4 s + 2..3] with those of `second`, for s = 0..39. Steps can
// be spread between the rounds of the previous pair, so the vector work overlaps them.
struct PairSchedule {
    __m256i x[8];  // x[s % 8]: the words of step s, for the last eight steps
    __m256i swap, rotr8;
    const uint8_t* first;
    const uint8_t* second;
    uint64_t* wk;
    const uint64_t* k;  // the round constants

    CORVANE_AVX2_BMI2 CORVANE_INLINE void Start(uint64_t* out, const uint8_t* a, const uint8_t* b,
                                                const uint64_t* constants) {
        // Big-endian words: reverse the bytes of each 64-bit lane.
        swap = _mm256_set_epi8(8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11,
                               12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7);
        // Rotation right by 8 bits: byte i of a word takes byte i+1.
        rotr8 = _mm256_set_epi8(8, 15, 14, 13, 12, 11, 10, 9, 0, 7, 6, 5, 4, 3, 2, 1, 8, 15, 14, 13,
                                12, 11, 10, 9, 0, 7, 6, 5, 4, 3, 2, 1);
        wk = out, first = a, second = b, k = constants;
    }

    // Step s; s must be a constant after unrolling, so x stays in registers.
    CORVANE_AVX2_BMI2 CORVANE_INLINE void Step(int s) {
        const int j = s % 8;
        if (s < 8) {
            x[j] = _mm256_shuffle_epi8(LoadPair(first + 16 * s, second + 16 * s), swap);
        } else {
            const __m256i w16 = x[j];                                         // W[t-16], W[t-15]
            const __m256i w15 = _mm256_alignr_epi8(x[(j + 1) % 8], x[j], 8);  // W[t-15], W[t-14]
            const __m256i w7 = _mm256_alignr_epi8(x[(j + 5) % 8], x[(j + 4) % 8], 8);  // W[t-7..]
            const __m256i w2 = x[(j + 7) % 8];  // W[t-2], W[t-1]
            x[j] = _mm256_add_epi64(_mm256_add_epi64(w16, SmallSigma0(w15, rotr8)),
                                    _mm256_add_epi64(w7, SmallSigma1(w2)));
        }
        const __m256i ks = _mm256_broadcastsi128_si256(
            _mm_load_si128(reinterpret_cast<const __m128i*>(k + 2 * s)));
        _mm256_store_si256(reinterpret_cast<__m256i*>(wk + 4 * s), _mm256_add_epi64(x[j], ks));
    }
};

// The eighty rounds of one block from its W+K words (word t at wk[4 (t / 2) + t % 2]); after
// each group of eight rounds `between(group)` runs, which is where the next schedule goes.
// No schedule between the rounds (the last pair).
struct NoSteps {
    CORVANE_AVX2_BMI2 CORVANE_INLINE void operator()(int) const {}
};

// Two steps of the next pair after every eight rounds; a block's rounds take 20 of the 40 steps.
struct TwoSteps {
    PairSchedule& next;
    int base;
    CORVANE_AVX2_BMI2 CORVANE_INLINE void operator()(int group) const {
        next.Step(base + 2 * group);
        next.Step(base + 2 * group + 1);
    }
};

template <class Between>
CORVANE_AVX2_BMI2 CORVANE_INLINE void Rounds(uint64_t* state, const uint64_t* wk, Between between) {
    uint64_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4], f = state[5],
             g = state[6], h = state[7];
    uint64_t bc = b ^ c;
    // Maj(a,b,c) = b ^ ((a ^ b) & (b ^ c)), and this round's a ^ b is the next round's b ^ c.
#define SHA512_ROUND(a, b, c, d, e, f, g, h, t) \
    CORVANE_SHA512_ROUND(a, b, c, d, e, f, g, h, wk[4 * ((t) / 2) + (t) % 2])
#pragma GCC unroll 10
    for (int t = 0; t < 80; t += 8) {
        SHA512_ROUND(a, b, c, d, e, f, g, h, t + 0);
        SHA512_ROUND(h, a, b, c, d, e, f, g, t + 1);
        SHA512_ROUND(g, h, a, b, c, d, e, f, t + 2);
        SHA512_ROUND(f, g, h, a, b, c, d, e, t + 3);
        SHA512_ROUND(e, f, g, h, a, b, c, d, t + 4);
        SHA512_ROUND(d, e, f, g, h, a, b, c, t + 5);
        SHA512_ROUND(c, d, e, f, g, h, a, b, t + 6);
        SHA512_ROUND(b, c, d, e, f, g, h, a, t + 7);
        between(t / 8);
    }
#undef SHA512_ROUND
    state[0] += a, state[1] += b, state[2] += c, state[3] += d;
    state[4] += e, state[5] += f, state[6] += g, state[7] += h;
}

}  // namespace

namespace {

// 640 + 2560 + 64 bytes: within 4 KiB, so no two parts share an address modulo 4 KiB.
struct alignas(64) Frame {
    uint64_t k[80];
    uint64_t wk[2][160];
    uint64_t state[8];
};

CORVANE_AVX2_BMI2 void BlocksInFrame(Frame& frame, const uint8_t* data, std::size_t blocks);

}  // namespace

CORVANE_AVX2_BMI2 void Sha512BlocksAvx2(uint64_t* state, const uint8_t* data, std::size_t blocks) {
    // A lone block (the buffered one of an update) gains nothing from a schedule that cannot
    // overlap other rounds: the scalar function does it faster.
    if (blocks <= 1) return Sha512BlocksBmi2(state, data, blocks);
    // Everything the rounds store and reload lies in one frame, apart from the message itself:
    // the schedule buffer, the chaining value and a copy of the round constants. Otherwise where
    // the stack happens to lie (it moves with the size of the environment) could make the
    // schedule's stores and the constants' loads share addresses modulo 4 KiB, and the loads
    // would then wait on the stores.
    Frame frame;
    std::memcpy(frame.k, kSha512Round, sizeof frame.k);
    std::memcpy(frame.state, state, sizeof frame.state);
    BlocksInFrame(frame, data, blocks);
    std::memcpy(state, frame.state, sizeof frame.state);
}

namespace {

CORVANE_AVX2_BMI2 void BlocksInFrame(Frame& frame, const uint8_t* data, std::size_t blocks) {
    uint64_t* state = frame.state;
    auto& wk = frame.wk;
    const uint64_t* k = frame.k;
    PairSchedule next;
    // The schedule of the first pair (or lone block, which fills both lanes) runs alone.
    next.Start(wk[0], data, blocks >= 2 ? data + 128 : data, k);
#pragma GCC unroll 40
    for (int s = 0; s < 40; ++s) next.Step(s);
    for (int cur = 0;; cur ^= 1) {
        if (blocks == 1) {
            Rounds(state, wk[cur], NoSteps{});
            return;
        }
        data += 256;
        blocks -= 2;
        if (blocks == 0) {
            Rounds(state, wk[cur], NoSteps{});
            Rounds(state, wk[cur] + 2, NoSteps{});
            return;
        }
        next.Start(wk[cur ^ 1], data, blocks >= 2 ? data + 128 : data, k);
        Rounds(state, wk[cur], TwoSteps{next, 0});
        Rounds(state, wk[cur] + 2, TwoSteps{next, 20});
    }
}

}  // namespace
