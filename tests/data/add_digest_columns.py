#!/usr/bin/env python3
"""Adds digest columns to digests.tsv from independent implementations: Python's hashlib,
rhash, b3sum and xxhsum (Debian packages rhash, b3sum, xxhash). Run from this folder; columns
already present are recomputed. Usage: add_digest_columns.py [COLUMN...] (default: all below)."""
import hashlib, subprocess, sys, tempfile, os

def message(spec):
    kind, _, arg = spec.partition(":")
    if kind == "text":
        return arg.encode()
    if kind == "ramp":
        return bytes((7 * i + 3) % 256 for i in range(int(arg)))
    if kind == "ramp-bytes":
        lo, hi = (int(x) for x in arg.split(".."))
        return bytes(range(lo, hi + 1))
    if kind == "repeat":
        hexbyte, count = arg.split(":")
        return bytes.fromhex(hexbyte) * int(count)
    raise ValueError(spec)

def tool(argv, data, field=0):
    with tempfile.NamedTemporaryFile(delete=False) as f:
        f.write(data)
    try:
        out = subprocess.run(argv + [f.name], check=True, capture_output=True).stdout.decode()
    finally:
        os.unlink(f.name)
    return out.split()[field].lower()

def h(name):
    return lambda m: hashlib.new(name, m).hexdigest()

COLUMNS = {
    "sha224": h("sha224"),
    "sha512-224": h("sha512_224"),
    "sha512-256": h("sha512_256"),
    "sha3-224": h("sha3_224"),
    "sha3-256": h("sha3_256"),
    "sha3-384": h("sha3_384"),
    "sha3-512": h("sha3_512"),
    "blake2b": h("blake2b"),
    "blake2s": h("blake2s"),
    "sm3": h("sm3"),
    "crc32c": lambda m: tool(["rhash", "--crc32c", "--printf=%{crc32c}"], m),
    "blake3": lambda m: tool(["b3sum", "--no-names"], m),
    "xxh32": lambda m: tool(["xxhsum", "-H0"], m),
    "xxh64": lambda m: tool(["xxhsum", "-H1"], m),
    "xxh128": lambda m: tool(["xxhsum", "-H2"], m),
    "xxh3": lambda m: tool(["xxhsum", "-H3"], m, field=3),
    "streebog256": lambda m: tool(["rhash", "--gost12-256", "--printf=%{gost12-256}"], m),
    "streebog512": lambda m: tool(["rhash", "--gost12-512", "--printf=%{gost12-512}"], m),
    "gost94-cryptopro": lambda m: tool(["rhash", "--gost94-cryptopro", "--printf=%{gost94-cryptopro}"], m),
}

def main():
    wanted = sys.argv[1:] or list(COLUMNS)
    with open("digests.tsv") as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    header, body = rows[0], rows[1:]
    for column in wanted:
        if column not in header:
            header.append(column)
            for row in body:
                row.append("")
        at = header.index(column)
        for row in body:
            row[at] = COLUMNS[column](message(row[1]))
    with open("digests.tsv", "w") as f:
        for row in [header] + body:
            f.write("\t".join(row) + "\n")

main()
