#!/usr/bin/env python3
"""Write and verify time of vantrel-cli against vantrel-target pacing at the line rate, as a
ratio to the line's own time for the same bytes (10 bits a byte), for both protocols at
115200 and 38400 baud. The ratio is measured within one run, so a busy machine shows as a
larger ratio, never as a faster line. Target: 1.15 or less in fast mode.

usage: bench/job_throughput.py [--size BYTES] [--block 128|256] [--baud RATE ...]
                               [--cadence fast|10ms ...]
--cadence 10ms measures the window's original 10 ms timer (the figures before fast mode).
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
WRITING, VERIFYING, DONE = "書き込み中", "ベリファイ中", "ユーザープログラム・書き込み＆ベリファイ完了"


def make_home(home, baud, block):
    ctrl = os.path.join(home, "CTRL_MOT")
    os.makedirs(ctrl, exist_ok=True)
    shutil.copy(os.path.join(ROOT, "examples", "CTRL_MOT", "VTC-100.mot"),
                os.path.join(ctrl, "BENCH.mot"))
    with open(os.path.join(ctrl, "BENCH.inf"), "w") as f:
        f.write("[BootDef]\nDeviceName=VTR-100\nUserMatRdf=1\nBaudP=%d\nClockFreq=2000\n"
                "MatType=0\nClockMode=0\nMulRatioNo=2\nMulRatio1=4\nMulRatio2=2\n"
                "MulRatio3=0\nMulRatio4=0\n" % baud)
    with open(os.path.join(ctrl, "Baud.ini"), "w") as f:
        for cpu in ("BENCH.mot", "BENCH.inf"):
            f.write("[%s]\nBaudB=9600\nBaudP=%d\nBlockSize=%d\nRomBaseAddr=0\n"
                    % (cpu, baud, block))
    device = open(os.path.join(ROOT, "examples", "target", "sample.dev")).read()
    with open(os.path.join(home, "bench.dev"), "w") as f:
        f.write(device.replace("write-size 128", "write-size %d" % block))


def line_bytes(protocol, size, block):
    """Bytes both ways of the data phases: writing (with the inquiry end frame) and verifying."""
    blocks = (size + block - 1) // block
    if protocol == "classic":
        return blocks * (4 + block + 1) + blocks * (4 + 3 + block)
    return blocks * (5 + block + 1 + 1) + 6 + 1 + blocks * (12 + 5 + block + 1)


def run(protocol, cadence, size, baud, block, home, program):
    target = [os.path.join(BIN, "vantrel-target"), "--pacing", "--jobs", "1", "--quiet",
              "--erase-ms", "200"]
    if protocol == "classic":
        cpu = "BENCH.mot"
        target += ["--protocol", "classic", "--prog-baud", str(baud), "--block-size", str(block)]
    else:
        cpu = "BENCH.inf"
        target += ["--protocol", "inquiry", "--device", os.path.join(home, "bench.dev")]
    t = subprocess.Popen(target, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    pty = t.stdout.readline().strip()
    start = time.monotonic()
    cli = subprocess.Popen([os.path.join(BIN, "vantrel-cli"), "--home", home, "--port", pty,
                            "--cpu", cpu, "--verify", "--cadence", cadence, program],
                           stderr=subprocess.PIPE, text=True)
    marks = {}
    for line in cli.stderr:
        now = time.monotonic() - start
        for key in (WRITING, VERIFYING, DONE):
            if key in line and key not in marks:
                marks[key] = now
    code = cli.wait()
    t.wait(timeout=10)
    if code != 0:
        sys.exit("%s job failed with exit code %d" % (protocol, code))
    data_s = marks[DONE] - marks[WRITING]
    line_s = line_bytes(protocol, size, block) * 10 / baud
    print("%-7s %-4s %6d baud: write %5.1f s + verify %5.1f s = %5.1f s; the line's own time "
          "%5.1f s; ratio %.2f" % (protocol, cadence, baud, marks[VERIFYING] - marks[WRITING],
                                   marks[DONE] - marks[VERIFYING], data_s, line_s,
                                   data_s / line_s), flush=True)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--size", type=int, default=65536)
    p.add_argument("--block", type=int, default=128)
    p.add_argument("--baud", type=int, action="append")
    p.add_argument("--cadence", action="append", choices=("fast", "10ms"))
    a = p.parse_args()
    print("%d bytes in %d-byte blocks, written and verified; vantrel-target paces at the line "
          "rate" % (a.size, a.block))
    home = tempfile.mkdtemp()
    try:
        program = os.path.join(home, "program.mot")
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make_srec.py"), program,
                        "--size", str(a.size), "--seed", "9"], check=True)
        for baud in a.baud or [115200, 38400]:
            make_home(home, baud, a.block)
            for cadence in a.cadence or ["fast"]:
                for protocol in ("classic", "inquiry"):
                    run(protocol, cadence, a.size, baud, a.block, home, program)
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
