// Keccak-f[1600], the permutation of FIPS 202 (section 3.3), written once for every block function:
// the portable engine and the x86 BMI path compile it for their own targets (an always-inline
// function takes the target of the function it is inlined into). Each round fuses the step
// mappings: theta's column parities first, then, plane by plane of the output, pi and rho as one
// gather-and-rotate of five lanes, chi over them, and iota.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "bytes.h"

namespace keccak {

// Lane (x, y) is index x + 5y; byte k of a lane is its bits 8k to 8k+7.
inline constexpr std::size_t kLanes = 25;
inline constexpr std::size_t kRounds = 24;

// rc(t) of Algorithm 5, the LFSR x^8 + x^6 + x^5 + x^4 + 1 (bit k of `r` is R[k]).
constexpr bool Rc(unsigned t) {
    unsigned r = 1;
    for (unsigned i = 0; i < t % 255; ++i) {
        r <<= 1;
        if (r & 0x100) r ^= 0x171;  // R[0], R[4], R[5], R[6] ^= R[8]; R[8] dropped
    }
    return (r & 1) != 0;
}
// Iota's round constants (Algorithm 6): bit 2^j - 1 of round i's is rc(j + 7i).
inline constexpr std::array<uint64_t, kRounds> kRoundConstant = [] {
    std::array<uint64_t, kRounds> rc{};
    for (unsigned i = 0; i < kRounds; ++i)
        for (unsigned j = 0; j < 7; ++j)
            if (Rc(j + 7 * i)) rc[i] |= uint64_t{1} << ((1u << j) - 1);
    return rc;
}();

// Pi (Algorithm 3): lane (x, y) of the result is lane ((x + 3y) mod 5, x) of its input.
inline constexpr std::array<std::size_t, kLanes> kPiSource = [] {
    std::array<std::size_t, kLanes> s{};
    for (std::size_t x = 0; x < 5; ++x)
        for (std::size_t y = 0; y < 5; ++y) s[x + 5 * y] = (x + 3 * y) % 5 + 5 * x;
    return s;
}();
// Rho's left rotation of each lane (Algorithm 2), by the lane's index before pi.
inline constexpr std::array<int, kLanes> kRho = [] {
    std::array<int, kLanes> r{};
    std::size_t x = 1, y = 0;
    for (int t = 0; t < 24; ++t) {
        r[x + 5 * y] = ((t + 1) * (t + 2) / 2) % 64;
        const std::size_t next = (2 * x + 3 * y) % 5;
        x = y;
        y = next;
    }
    return r;
}();

// Output plane Y: its five lanes gathered through pi, theta's D added, rotated by rho, then chi.
template <std::size_t Y, std::size_t... X>
__attribute__((always_inline)) inline void Plane(const uint64_t* a, const uint64_t* d, uint64_t* e,
                                                 std::index_sequence<X...>) {
    uint64_t b[5];
    ((b[X] = std::rotl(a[kPiSource[X + 5 * Y]] ^ d[kPiSource[X + 5 * Y] % 5],
                       kRho[kPiSource[X + 5 * Y]])),
     ...);
    ((e[X + 5 * Y] = b[X] ^ (~b[(X + 1) % 5] & b[(X + 2) % 5])), ...);
}

// One round from the lanes `a` into `e`.
__attribute__((always_inline)) inline void Round(const uint64_t* a, uint64_t* e, uint64_t rc) {
    uint64_t c[5], d[5];
#pragma GCC unroll 5
    for (std::size_t x = 0; x < 5; ++x) c[x] = a[x] ^ a[x + 5] ^ a[x + 10] ^ a[x + 15] ^ a[x + 20];
#pragma GCC unroll 5
    for (std::size_t x = 0; x < 5; ++x) d[x] = c[(x + 4) % 5] ^ std::rotl(c[(x + 1) % 5], 1);
    constexpr auto kX = std::make_index_sequence<5>{};
    Plane<0>(a, d, e, kX);
    Plane<1>(a, d, e, kX);
    Plane<2>(a, d, e, kX);
    Plane<3>(a, d, e, kX);
    Plane<4>(a, d, e, kX);
    e[0] ^= rc;
}

// XORs `blocks` blocks of `rateLanes` lanes (9 to 18) from `data` into the state and permutes
// after each. InRegisters: the lanes in locals, two rounds a loop (a fully unrolled form ran no
// faster), which pays where the compiler has three-operand rotations and and-not (BMI); otherwise
// the rounds loop over two lane arrays in memory, each round needing few registers.
// corvane_bench's sha3 rows at the portable and avx2 levels show the choice.
template <bool InRegisters>
__attribute__((always_inline)) inline void Absorb(uint64_t* state, const uint8_t* data,
                                                  std::size_t blocks, std::size_t rateLanes) {
    uint64_t a[kLanes], e[kLanes];
#pragma GCC unroll 25
    for (std::size_t i = 0; i < kLanes; ++i) a[i] = state[i];
    for (; blocks > 0; --blocks, data += 8 * rateLanes) {
        // Constant indices only, so the lanes can stay in registers.
#pragma GCC unroll 18
        for (std::size_t i = 0; i < 18; ++i)
            if (i < 9 || i < rateLanes) a[i] ^= LoadLe64(data + 8 * i);
        if constexpr (InRegisters) {
            for (std::size_t r = 0; r < kRounds; r += 2) {
                Round(a, e, kRoundConstant[r]);
                Round(e, a, kRoundConstant[r + 1]);
            }
        } else {
            // Through pointers, which keeps the compiler from holding the lanes in registers.
            uint64_t* p = a;
            uint64_t* q = e;
            for (std::size_t r = 0; r < kRounds; ++r) {
                Round(p, q, kRoundConstant[r]);
                std::swap(p, q);
            }
        }
    }
#pragma GCC unroll 25
    for (std::size_t i = 0; i < kLanes; ++i) state[i] = a[i];
}

}  // namespace keccak
