#!/usr/bin/env python3
"""Writes xxhash_lengths.tsv: XXH32, XXH64, XXH3-64 and XXH128 digests, made by xxhsum (Debian
package xxhash), of the ramp message (byte i is (7i + 3) mod 256) at lengths on both sides of
XXH3's size classes (0, 1-3, 4-8, 9-16, 17-128, 129-240, longer), its 64-byte stripes and
1024-byte blocks, and XXH32's and XXH64's 16- and 32-byte stripes. Run from this folder."""
import os, subprocess, tempfile

LENGTHS = [0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33, 48, 63, 64, 65, 96, 127, 128, 129,
           144, 160, 176, 239, 240, 241, 255, 256, 257, 319, 320, 321, 511, 512, 513, 960, 1023,
           1024, 1025, 1087, 1088, 1089, 1984, 2047, 2048, 2049, 2111, 3072, 3137, 16383, 16384,
           16385, 65536, 100003]

def digest(flag, data):
    with tempfile.NamedTemporaryFile(delete=False) as f:
        f.write(data)
    try:
        out = subprocess.run(["xxhsum", "--tag", flag, f.name], check=True,
                             capture_output=True).stdout.decode()
    finally:
        os.unlink(f.name)
    return out.split(" = ")[1].strip()

with open("xxhash_lengths.tsv", "w") as out:
    out.write("length\txxh32\txxh64\txxh3\txxh128\n")
    for n in LENGTHS:
        data = bytes((7 * i + 3) % 256 for i in range(n))
        out.write("\t".join([str(n)] + [digest(f, data) for f in ("-H0", "-H1", "-H3", "-H2")])
                  + "\n")
