// One SHA-512 round (FIPS 180-2) as both x86 block functions write it: Ch and Maj in their short
// forms, with this round's a ^ b kept in `bc` as the next round's b ^ c. `wk` is the round's
// W[t] + K[t]; Rotr64 comes from bytes.h.
#pragma once

#define CORVANE_SHA512_ROUND(a, b, c, d, e, f, g, h, wk)                                   \
    do {                                                                                   \
        h += (wk) + (g ^ (e & (f ^ g))) + (Rotr64(e, 14) ^ Rotr64(e, 18) ^ Rotr64(e, 41)); \
        d += h;                                                                            \
        const uint64_t ab = a ^ b;                                                         \
        h += (Rotr64(a, 28) ^ Rotr64(a, 34) ^ Rotr64(a, 39)) + (b ^ (ab & bc));            \
        bc = ab;                                                                           \
    } while (0)
