#!/usr/bin/env python3
"""Prints the carry-less-multiplication constants of engines/x86/crc32_clmul.cpp.

Run once; its output is pasted into that file. Arithmetic is over GF(2)[x] with the IEEE 802.3
generator P(x) = x^32 + 0x04C11DB7 (coefficient of x^i is bit i of an integer here), or with
--castagnoli Castagnoli's CRC-32C generator x^32 + 0x1EDC6F41.

Layouts (reflected: the first message bit is the highest power):
  fold constant "x^e" : (x^e mod P) as a 64-bit lane whose bit j holds the coefficient of x^(63-j).
      A carry-less product of such a lane with a 64-bit data lane comes out one power short in
      the 128-bit reflected view, so folding a lane forward by d bits uses e = d - 1.
  mu  : floor(x^64 / P), 33 coefficients, bit j holds x^(32-j).
  P'  : P itself in that same 33-bit layout.
"""

import sys

POLY = (1 << 32) | (0x1EDC6F41 if "--castagnoli" in sys.argv[1:] else 0x04C11DB7)


def mod_p(value):
    while value.bit_length() > 32:
        value ^= POLY << (value.bit_length() - 33)
    return value


def x_pow_mod(e):
    r = 1
    for _ in range(e):
        r = mod_p(r << 1)
    return r


def div_p(value):
    q = 0
    while value.bit_length() >= 33:
        shift = value.bit_length() - 33
        q |= 1 << shift
        value ^= POLY << shift
    return q


def reflect(value, bits):
    return int(format(value, f"0{bits}b")[::-1], 2)


def lane(e):
    return reflect(x_pow_mod(e), 64)


# (name, e): a lane at distance d bits ahead uses x^(d+64-1) for its low half, x^(d-1) for its
# high half; the reduction uses x^95 (128 -> 96 bits) and x^63 (96 -> 64 bits).
for d in (128, 256, 384, 512, 1024, 2048):
    print(f"fold {d:5d} bits: low 0x{lane(d + 63):016x}  (x^{d + 63})  high 0x{lane(d - 1):016x}  (x^{d - 1})")
print(f"reduce 128->96: 0x{lane(95):016x}  (x^95)")
print(f"reduce 96->64:  0x{lane(63):016x}  (x^63)")
print(f"mu:  0x{reflect(div_p(1 << 64), 33):09x}")
print(f"P':  0x{reflect(POLY, 33):09x}")
