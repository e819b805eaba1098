#!/usr/bin/env python3
"""Wall time of writing and verifying a program with vantrel-cli on vantrel-target pacing at the
line rate, beside what the line itself needs for the same bytes (10 bits a byte).

usage: bench/job_throughput.py [--size BYTES] [--baud RATE] [--block 128|256]
Needs a build (scripts/test or scripts/demo builds one).
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BIN = os.path.join(ROOT, "build", "bin")


def run(protocol, size, baud, block, home):
    program = os.path.join(home, "program.mot")
    subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make_srec.py"), program,
                    "--size", str(size), "--seed", "9"], check=True)
    target = [os.path.join(BIN, "vantrel-target"), "--pacing", "--jobs", "1", "--quiet"]
    if protocol == "classic":
        cpu = "BENCH.mot"
        target += ["--protocol", "classic", "--prog-baud", str(baud), "--block-size", str(block),
                   "--erase-ms", "200"]
    else:
        cpu = "BENCH.inf"
        device = open(os.path.join(ROOT, "examples", "target", "sample.dev")).read()
        device = device.replace("write-size 128", "write-size %d" % block)
        with open(os.path.join(home, "bench.dev"), "w") as f:
            f.write(device)
        target += ["--protocol", "inquiry", "--device", os.path.join(home, "bench.dev"),
                   "--erase-ms", "200"]
    t = subprocess.Popen(target, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    pty = t.stdout.readline().strip()
    start = time.monotonic()
    cli = subprocess.Popen([os.path.join(BIN, "vantrel-cli"), "--home", home, "--port", pty,
                            "--cpu", cpu, "--verify", program],
                           stderr=subprocess.PIPE, text=True)
    marks = {}
    for line in cli.stderr:
        now = time.monotonic() - start
        for key in ("書き込み中", "ベリファイ中", "ユーザープログラム・書き込み＆ベリファイ完了"):
            if key in line and key not in marks:
                marks[key] = now
    code = cli.wait()
    total = time.monotonic() - start
    t.wait(timeout=10)
    if code != 0:
        sys.exit("%s job failed with exit code %d" % (protocol, code))
    blocks = (size + block - 1) // block
    if protocol == "classic":
        write_bytes = blocks * (4 + block + 1)
        verify_bytes = blocks * (4 + 3 + block)
    else:
        write_bytes = blocks * (5 + block + 1 + 1) + 6 + 1
        verify_bytes = blocks * (12 + 5 + block + 1)
    line_s = (write_bytes + verify_bytes) * 10 / baud
    wv = marks["ユーザープログラム・書き込み＆ベリファイ完了"] - marks["書き込み中"]
    w = marks["ベリファイ中"] - marks["書き込み中"]
    print("%-8s %6d bytes, %d-byte blocks at %d baud: write %.1f s + verify %.1f s = %.1f s "
          "(whole job %.1f s); the line's own limit for those %d bytes: %.1f s (%.0f%% of the "
          "wall time)" % (protocol, size, block, baud, w, wv - w, wv, total,
                          write_bytes + verify_bytes, line_s, 100 * line_s / wv))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--size", type=int, default=65536)
    p.add_argument("--baud", type=int, default=115200)
    p.add_argument("--block", type=int, default=128)
    a = p.parse_args()
    home = tempfile.mkdtemp()
    try:
        os.makedirs(os.path.join(home, "CTRL_MOT"))
        shutil.copy(os.path.join(ROOT, "examples", "CTRL_MOT", "VTC-100.mot"),
                    os.path.join(home, "CTRL_MOT", "BENCH.mot"))
        with open(os.path.join(home, "CTRL_MOT", "BENCH.inf"), "w") as f:
            f.write("[BootDef]\nDeviceName=VTR-100\nUserMatRdf=1\nBaudP=%d\nClockFreq=2000\n"
                    "MatType=0\nClockMode=0\nMulRatioNo=2\nMulRatio1=4\nMulRatio2=2\n"
                    "MulRatio3=0\nMulRatio4=0\n" % a.baud)
        with open(os.path.join(home, "CTRL_MOT", "Baud.ini"), "w") as f:
            for cpu in ("BENCH.mot", "BENCH.inf"):
                f.write("[%s]\nBaudB=9600\nBaudP=%d\nBlockSize=%d\nRomBaseAddr=0\n"
                        % (cpu, a.baud, a.block))
        for protocol in ("classic", "inquiry"):
            run(protocol, a.size, a.baud, a.block, home)
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
