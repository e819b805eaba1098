#!/usr/bin/env python3
"""Writes a made-up program as Motorola S-records, for the samples and the benchmark.

usage: make_srec.py OUT.mot --base ADDR --size BYTES [--seed N] [--record BYTES] [--gap-every N]
"""
import argparse
import random


def record(kind, address, data):
    alen = {"1": 2, "2": 3, "3": 4, "9": 2, "8": 3, "7": 4, "0": 2}[kind]
    body = address.to_bytes(alen, "big") + bytes(data)
    count = len(body) + 1
    checksum = (~(count + sum(body))) & 0xFF
    return "S%s%02X%s%02X" % (kind, count, body.hex().upper(), checksum)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("out")
    p.add_argument("--base", type=lambda s: int(s, 0), default=0)
    p.add_argument("--size", type=lambda s: int(s, 0), required=True)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--record", type=int, default=32)
    p.add_argument("--gap-every", type=int, default=0, help="leave a 200-byte hole every N bytes")
    a = p.parse_args()
    rnd = random.Random(a.seed)
    end = a.base + a.size
    kind = "1" if end <= 0x10000 else ("2" if end <= 0x1000000 else "3")
    lines = [record("0", 0, b"vantrel sample")]
    address = a.base
    while address < end:
        n = min(a.record, end - address)
        if a.gap_every and (address - a.base) % a.gap_every == 0 and address != a.base:
            address += 200
            continue
        lines.append(record(kind, address, [rnd.randrange(256) for _ in range(n)]))
        address += n
    lines.append(record({"1": "9", "2": "8", "3": "7"}[kind], a.base, b""))
    with open(a.out, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
