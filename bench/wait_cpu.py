#!/usr/bin/env python3
"""CPU that vantrel-cli uses while it waits on a silent target: the target takes 10 s to erase
and says nothing meanwhile; the CPU time vantrel-cli spends in 8 s of that wait is read from
/proc, for fast mode and for the 10 ms timer. Target: under 2 % of one core.

usage: bench/wait_cpu.py
Needs a build (scripts/test or scripts/demo builds one).
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BIN = os.path.join(ROOT, "build", "bin")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def measure(cadence, home, program):
    target = subprocess.Popen([os.path.join(BIN, "vantrel-target"), "--jobs", "1", "--quiet",
                               "--erase-ms", "10000", "--prog-baud", "38400"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    pty = target.stdout.readline().strip()
    cli = subprocess.Popen([os.path.join(BIN, "vantrel-cli"), "--home", home, "--port", pty,
                            "--cpu", "BENCH.mot", "--cadence", cadence, program],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.5)  # sync and transfer are over: the erase wait has begun
    before, start = cpu_seconds(cli.pid), time.monotonic()
    time.sleep(8)
    used, span = cpu_seconds(cli.pid) - before, time.monotonic() - start
    if cli.wait(timeout=30) != 0:
        sys.exit("the job failed")
    target.wait(timeout=10)
    print("%-4s: %.3f s of CPU in %.1f s of waiting = %.2f%% of one core"
          % (cadence, used, span, 100 * used / span), flush=True)


def main():
    home = tempfile.mkdtemp()
    try:
        os.makedirs(os.path.join(home, "CTRL_MOT"))
        shutil.copy(os.path.join(ROOT, "examples", "CTRL_MOT", "VTC-100.mot"),
                    os.path.join(home, "CTRL_MOT", "BENCH.mot"))
        with open(os.path.join(home, "CTRL_MOT", "Baud.ini"), "w") as f:
            f.write("[BENCH.mot]\nBaudB=9600\nBaudP=38400\nBlockSize=128\nRomBaseAddr=0\n")
        program = os.path.join(home, "program.mot")
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make_srec.py"), program,
                        "--size", "1024"], check=True)
        for cadence in ("fast", "10ms"):
            measure(cadence, home, program)
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
