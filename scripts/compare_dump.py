#!/usr/bin/env python3
"""Compares the simulated target's flash dump with a user program in S-record form.

usage: compare_dump.py PROGRAM.mot DUMP.bin --flash-base ADDR
The flash was erased before the job, so every byte the program does not supply must read 0xFF.
Exits 0 when they match, 1 otherwise, and says where they differ.
"""
import argparse
import sys


def load_srec(path):
    image = {}
    with open(path, "rb") as f:
        for raw in f:
            line = raw.strip().decode("ascii")
            if not line or line[0] != "S" or line[1] not in "123":
                if line[:2] in ("S7", "S8", "S9"):
                    break
                continue
            alen = {"1": 2, "2": 3, "3": 4}[line[1]]
            count = int(line[2:4], 16)
            address = int(line[4:4 + 2 * alen], 16)
            data = bytes.fromhex(line[4 + 2 * alen:4 + 2 * count - 2])
            for i, b in enumerate(data):
                image[address + i] = b
    return image


def main():
    p = argparse.ArgumentParser()
    p.add_argument("program")
    p.add_argument("dump")
    p.add_argument("--flash-base", type=lambda s: int(s, 0), default=0)
    a = p.parse_args()
    image = load_srec(a.program)
    dump = open(a.dump, "rb").read()
    expected = bytearray(b"\xff" * len(dump))
    outside = 0
    for address, value in image.items():
        offset = address - a.flash_base
        if 0 <= offset < len(dump):
            expected[offset] = value
        else:
            outside += 1
    if bytes(expected) == dump:
        print("dump matches: %d program bytes in %d bytes of flash%s" % (
            len(image) - outside, len(dump), "" if not outside else ", %d outside it" % outside))
        return 0
    first = next(i for i in range(len(dump)) if dump[i] != expected[i])
    diff = sum(1 for i in range(len(dump)) if dump[i] != expected[i])
    print("dump differs at %d bytes, first at 0x%08X: flash 0x%02X, program 0x%02X" % (
        diff, a.flash_base + first, dump[first], expected[first]), file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
