#!/usr/bin/env python3
"""Writes blake3.tsv: BLAKE3 digests of the ramp message (byte i is (7i + 3) mod 256) at lengths
around the 64-byte blocks and 1024-byte chunks, in hash, keyed and derive-key modes, at 32 and
131 output bytes, all computed by b3sum (Debian package b3sum). Run from this folder."""
import subprocess, tempfile, os

LENGTHS = [0, 1, 63, 64, 65, 1023, 1024, 1025, 2048, 2049, 3072, 3073, 4096, 4097, 5120, 5121,
           6144, 6145, 7168, 7169, 8192, 8193, 16384, 31744, 102400]
KEY = bytes(range(0x40, 0x60))  # the keyed mode's 32-byte key: 0x40, 0x41, ... 0x5f
CONTEXT = "Ostrel Corvane 2026-12-07 BLAKE3 table test context"
MODES = {"hash": [], "keyed": ["--keyed"], "derive-key": ["--derive-key", CONTEXT]}

def b3sum(args, data, out_bytes):
    with tempfile.NamedTemporaryFile(delete=False) as f:
        f.write(data)
    try:
        stdin = KEY if "--keyed" in args else b""
        out = subprocess.run(["b3sum", "--no-names", "-l", str(out_bytes)] + args + [f.name],
                             input=stdin, check=True, capture_output=True).stdout.decode()
    finally:
        os.unlink(f.name)
    return out.strip()

with open("blake3.tsv", "w") as table:
    table.write("# key=%s context=%s\n" % (KEY.hex(), CONTEXT))
    table.write("mode\tlength\tout32\tout131\n")
    for mode, args in MODES.items():
        for n in LENGTHS:
            data = bytes((7 * i + 3) % 256 for i in range(n))
            table.write("%s\t%d\t%s\t%s\n" % (mode, n, b3sum(args, data, 32), b3sum(args, data, 131)))
