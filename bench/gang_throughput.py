#!/usr/bin/env python3
"""Several boards at once: vantrel-cli programs and verifies the same program on 1, 4 and 16
vantrel-targets pacing at 115200 baud, and prints the wall time of each run, its ratio to the
wall time with one board (measured in the same run), and the CPU time vantrel-cli used.
Target: 16 boards take at most 1.1 times as long as one.

usage: bench/gang_throughput.py [--size BYTES] [--boards N ...] [--cadence fast|10ms]
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
BAUD = 115200


def make_home(home):
    ctrl = os.path.join(home, "CTRL_MOT")
    os.makedirs(ctrl)
    shutil.copy(os.path.join(ROOT, "examples", "CTRL_MOT", "VTC-100.mot"),
                os.path.join(ctrl, "BENCH.mot"))
    with open(os.path.join(ctrl, "Baud.ini"), "w") as f:
        f.write("[BENCH.mot]\nBaudB=9600\nBaudP=%d\nBlockSize=128\nRomBaseAddr=0\n" % BAUD)


def make_program(home, size):
    """A program of size bytes of made-up data, the same at every run."""
    program = os.path.join(home, "program.mot")
    subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make_srec.py"), program,
                    "--size", str(size), "--seed", "5"], check=True)
    return program


def run(boards, home, program, cadence):
    targets = [subprocess.Popen([os.path.join(BIN, "vantrel-target"), "--pacing", "--jobs", "1",
                                 "--quiet", "--erase-ms", "200", "--prog-baud", str(BAUD)],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
               for _ in range(boards)]
    argv = [os.path.join(BIN, "vantrel-cli"), "--home", home, "--cpu", "BENCH.mot", "--verify",
            "--cadence", cadence]
    for t in targets:
        argv += ["--port", t.stdout.readline().strip()]
    start = time.monotonic()
    cli = subprocess.Popen(argv + [program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(cli.pid, 0)
    wall = time.monotonic() - start
    for t in targets:
        t.wait(timeout=10)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("%d boards: vantrel-cli failed" % boards)
    return wall, usage.ru_utime + usage.ru_stime


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--size", type=int, default=32768)
    p.add_argument("--boards", type=int, action="append")
    p.add_argument("--cadence", default="fast", choices=("fast", "10ms"))
    a = p.parse_args()
    home = tempfile.mkdtemp()
    try:
        make_home(home)
        program = make_program(home, a.size)
        print("%d bytes written and verified at %d baud on every board (%s)"
              % (a.size, BAUD, a.cadence))
        one = None
        for boards in a.boards or [1, 4, 16]:
            wall, cpu = run(boards, home, program, a.cadence)
            one = one or wall
            print("%2d boards: %5.1f s wall, %.2f x one board; vantrel-cli CPU %.2f s "
                  "(%.1f%% of one core)" % (boards, wall, wall / one, cpu, 100 * cpu / wall),
                  flush=True)
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
