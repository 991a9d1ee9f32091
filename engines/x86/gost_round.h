// The GOST 28147-89 round of the x86 step functions (GOST R 34.11-94), shared by the AVX-512 and
// the BMI paths.
#pragma once

#include <array>
#include <cstdint>

#include "gost.h"

// x ^ f(a + k) on general registers. Each byte index takes one operation from the sum (two byte
// moves, a bit-field extract, a shift); x takes the first two lookups while the last two are XORed
// together, so the chain is the addition, one operation, an indexed load and three XORs. Nine
// integer operations a round: with four rounds in flight the integer units are nearly as busy as
// the chain is long, so each operation saved counts too. Written out because the compiler chains
// all four XORs one after another and adds needless moves. The tables Tj are consecutive, 1 KiB
// apart. BEXTR is BMI1: call it only where the CPU has that.
__attribute__((always_inline)) inline uint32_t GostRound(const GostRoundTables& t, uint32_t x,
                                                         uint32_t a, const uint32_t& k) {
    uint32_t y, i0, i1, i2;
    __asm__(
        "movl %[a], %k[y]\n\t"
        "addl %[k], %k[y]\n\t"
        "movzbl %b[y], %k[i0]\n\t"
        "movzbl %h[y], %k[i1]\n\t"
        "bextrl %k[ctl], %k[y], %k[i2]\n\t"
        "shrl $24, %k[y]\n\t"
        "xorl (%[t],%q[i0],4), %[x]\n\t"
        "xorl 1024(%[t],%q[i1],4), %[x]\n\t"
        "movl 2048(%[t],%q[i2],4), %k[i2]\n\t"
        "xorl 3072(%[t],%q[y],4), %k[i2]\n\t"
        "xorl %k[i2], %[x]"
        : [x] "+r"(x), [y] "=&Q"(y), [i0] "=&r"(i0), [i1] "=&R"(i1), [i2] "=&r"(i2)
        : [a] "r"(a), [k] "m"(k), [t] "r"(t.data()), [ctl] "r"(0x0810u)
        : "cc");
    return x;
}

// The four encryptions of a step side by side (basic mode, 32 rounds, the halves' swap done by
// alternating which half is updated; key words 0-7 three times, then 7 down to 0), from H in
// `chainingValue`. `keyWord(q, j)` is key word j of encryption q, in memory. Leaves S, the four
// results, in s[8]. Separate variables, not arrays: GCC packs pairs of array words into 64-bit
// registers.
template <class KeyWord>
__attribute__((always_inline)) inline void GostEncryptFour(const GostRoundTables& tables,
                                                           const uint32_t* chainingValue,
                                                           KeyWord keyWord, uint32_t* s) {
    uint32_t a0 = chainingValue[0], b0 = chainingValue[1], a1 = chainingValue[2],
             b1 = chainingValue[3], a2 = chainingValue[4], b2 = chainingValue[5],
             a3 = chainingValue[6], b3 = chainingValue[7];
#pragma GCC unroll 32
    for (int r = 0; r < 32; ++r) {
        const int j = r < 24 ? r % 8 : 31 - r;
        if (r % 2 == 0) {
            b0 = GostRound(tables, b0, a0, keyWord(0, j));
            b1 = GostRound(tables, b1, a1, keyWord(1, j));
            b2 = GostRound(tables, b2, a2, keyWord(2, j));
            b3 = GostRound(tables, b3, a3, keyWord(3, j));
        } else {
            a0 = GostRound(tables, a0, b0, keyWord(0, j));
            a1 = GostRound(tables, a1, b1, keyWord(1, j));
            a2 = GostRound(tables, a2, b2, keyWord(2, j));
            a3 = GostRound(tables, a3, b3, keyWord(3, j));
        }
    }
    s[0] = b0, s[1] = a0, s[2] = b1, s[3] = a1, s[4] = b2, s[5] = a2, s[6] = b3, s[7] = a3;
}

// The mixing psi^61(H ^ psi(M ^ psi^12(S))) is linear over the sixteen 16-bit pieces of each
// input: output piece o is the XOR of the input pieces whose bit is set here. Derived at compile
// time by running psi on symbolic pieces (bit i: H piece i, 16 + i: M piece i, 32 + i: S piece i).
using GostSymbolic = std::array<uint64_t, 16>;
constexpr GostSymbolic GostPsi(const GostSymbolic& p) {
    GostSymbolic r{};
    for (int i = 0; i < 15; ++i) r[i] = p[i + 1];
    r[15] = p[0] ^ p[1] ^ p[2] ^ p[3] ^ p[12] ^ p[15];
    return r;
}
constexpr GostSymbolic GostMixTerms() {
    GostSymbolic x{};
    for (int i = 0; i < 16; ++i) x[i] = uint64_t{1} << (32 + i);
    for (int n = 0; n < 12; ++n) x = GostPsi(x);
    for (int i = 0; i < 16; ++i) x[i] ^= uint64_t{1} << (16 + i);
    x = GostPsi(x);
    for (int i = 0; i < 16; ++i) x[i] ^= uint64_t{1} << i;
    for (int n = 0; n < 61; ++n) x = GostPsi(x);
    return x;
}
