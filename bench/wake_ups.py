#!/usr/bin/env python3
"""What waiting costs the host: vantrel-cli programs and verifies the same program on 1, 16, 32
and 64 vantrel-targets pacing at 115200 baud, and prints per run the wall time, its ratio to one
board and to the data phases' own time on the line (the job's set-up included: see
job_throughput.py for the data phases alone), vantrel-cli's CPU seconds and share of a core per
board, the targets' CPU (they share the machine), and the reads and polls per job. Reads are the
kernel's count (/proc/PID/io, the files' few included); reads and polls are counted again under
strace -c -f up to --strace-max boards, in a second run, as strace slows every call.

usage: bench/wake_ups.py [--size BYTES] [--boards N ...] [--root BUILD_ROOT] [--strace-max N]
Needs a build and strace.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BAUD = 115200
BLOCK = 128
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gang_throughput import make_home, make_program  # noqa: E402


def cpu_of(pid):
    """User and system seconds of a child that has ended but not been reaped."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def read_calls(pid):
    """Read calls of all kinds (the files' few among them), counted by the kernel."""
    try:
        with open("/proc/%d/io" % pid) as f:
            return int(dict(l.split(": ") for l in f.read().splitlines())["syscr"])
    except (OSError, KeyError):
        return None


def run(bins, boards, home, program, count):
    targets = [subprocess.Popen([os.path.join(bins, "vantrel-target"), "--pacing", "--jobs", "1",
                                 "--quiet", "--erase-ms", "200", "--prog-baud", str(BAUD)],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
               for _ in range(boards)]
    argv = [os.path.join(bins, "vantrel-cli"), "--home", home, "--cpu", "BENCH.mot", "--verify"]
    for t in targets:
        argv += ["--port", t.stdout.readline().strip()]
    argv.append(program)
    summary = os.path.join(home, "strace.txt")
    if count:
        argv = ["strace", "-c", "-f", "-o", summary] + argv
    start = time.monotonic()
    log = os.path.join(home, "cli.txt")
    with open(log, "w") as out:
        cli = subprocess.Popen(argv, stdout=out, stderr=subprocess.STDOUT)
        os.waitid(os.P_PID, cli.pid, os.WEXITED | os.WNOWAIT)
        reads = read_calls(cli.pid)
        _, status, usage = os.wait4(cli.pid, 0)
    wall = time.monotonic() - start
    if os.waitstatus_to_exitcode(status) != 0:
        for t in targets:
            t.kill()
            t.wait()
        sys.exit("%d boards: vantrel-cli failed:\n%s" % (boards, open(log).read()[-3000:]))
    target_cpu = 0.0
    for t in targets:
        os.waitid(os.P_PID, t.pid, os.WEXITED | os.WNOWAIT)
        target_cpu += cpu_of(t.pid)
        t.wait(timeout=10)
    calls = {}
    if count:
        for line in open(summary):
            m = re.match(r"\s*[\d.]+\s+[\d.]+\s+\d+\s+(\d+)\s+(?:\d+\s+)?(\w+)$", line)
            if m:
                calls[m.group(2)] = int(m.group(1))
    if reads is not None and not count:
        calls["syscr"] = reads
    return wall, usage.ru_utime + usage.ru_stime, target_cpu, calls


def line_seconds(size):
    blocks = (size + BLOCK - 1) // BLOCK
    return (blocks * (4 + BLOCK + 1) + blocks * (4 + 3 + BLOCK)) * 10 / BAUD


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--size", type=int, default=65536)
    p.add_argument("--boards", type=int, action="append")
    p.add_argument("--root", default=ROOT, help="the source tree whose build/bin is measured")
    p.add_argument("--strace-max", type=int, default=16,
                   help="count polls under strace up to this many boards (strace slows every "
                        "call: with many boards the targets' time-outs run out)")
    a = p.parse_args()
    bins = os.path.join(a.root, "build", "bin")
    home = tempfile.mkdtemp()
    try:
        make_home(home)
        program = make_program(home, a.size)
        print("%d bytes written and verified at %d baud on every board; the data phases' line "
              "time %.1f s" % (a.size, BAUD, line_seconds(a.size)))
        print("boards   wall  x one  x line  cli CPU  /board  %core/board  targets CPU  reads/job  "
              "(strace)  polls/job")
        one = None
        for boards in a.boards or [1, 16, 32, 64]:
            wall, cpu, tcpu, calls = run(bins, boards, home, program, False)
            if boards <= a.strace_max:
                calls.update(run(bins, boards, home, program, True)[3])
            one = one or wall
            per = lambda name: ("%9.0f" % (calls[name] / boards)) if name in calls else "        -"
            print("%6d %6.1f %6.2f %7.2f %7.2fs %6.3fs %11.2f%% %11.2fs %s %s  %s"
                  % (boards, wall, wall / one, wall / line_seconds(a.size), cpu, cpu / boards, 100 * cpu / wall / boards, tcpu,
                     per("syscr"), per("read"), per("poll")), flush=True)
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
