#!/usr/bin/env python3
"""The station view must never slow the line: a station of boards after boards on two ports, run
with --view, once with no client and once with a client that asks for the event stream and never
reads it. Prints the boards per hour of each run and their ratio (target: 1.00, within noise).

usage: bench/view_stall.py [--boards-per-port N] [--size BYTES]
Needs a build (scripts/test or scripts/demo builds one).
"""
import argparse
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BIN = os.path.join(ROOT, "build", "bin")
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gang_throughput import make_home, make_program  # noqa: E402


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def stalled_client(port):
    """Connects, asks for the stream with a tiny receive buffer, and never reads."""
    for _ in range(100):
        s = socket.socket()
        s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1024)
        try:
            s.connect(("127.0.0.1", port))
            s.sendall(b"GET /events HTTP/1.1\r\nHost: bench\r\n\r\n")
            return s
        except OSError:
            s.close()
            time.sleep(0.05)
    sys.exit("view_stall: the view never listened")


def run(home, program, per_port, stall):
    links = [os.path.join(home, "board%d" % i) for i in range(2)]
    targets = [subprocess.Popen([os.path.join(BIN, "vantrel-target"), "--pacing", "--quiet",
                                 "--erase-ms", "200", "--prog-baud", "115200", "--link", link,
                                 "--replug", "300", "--jobs", str(per_port)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
               for link in links]
    while not all(os.path.exists(link) for link in links):
        time.sleep(0.05)
    port = free_port()
    argv = [os.path.join(BIN, "vantrel-cli"), "--home", home, "--cpu", "BENCH.mot", "--verify",
            "--repeat", "--view", str(port)]
    for link in links:
        argv += ["--port", link]
    start = time.monotonic()
    cli = subprocess.Popen(argv + [program], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, text=True)
    client = stalled_client(port) if stall else None
    boards = 0
    while boards < 2 * per_port:
        line = cli.stdout.readline()
        if not line:
            break
        boards += ": board " in line
    elapsed = time.monotonic() - start
    cli.send_signal(signal.SIGINT)
    cli.wait(timeout=30)
    for t in targets:
        t.wait(timeout=30)
    if client:
        client.close()
    return boards, elapsed


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--boards-per-port", type=int, default=5)
    p.add_argument("--size", type=int, default=8192)
    a = p.parse_args()
    work = tempfile.mkdtemp()
    try:
        make_home(work)
        program = make_program(work, a.size)
        rates = {}
        for stall in (False, True, False, True):
            boards, elapsed = run(work, program, a.boards_per_port, stall)
            rate = boards * 3600 / elapsed
            rates.setdefault(stall, []).append(rate)
            print("%-22s %d boards in %5.1f s: %5.0f boards per hour"
                  % ("a client that stalls:" if stall else "no client:", boards, elapsed, rate))
        ratio = (sum(rates[True]) / len(rates[True])) / (sum(rates[False]) / len(rates[False]))
        print("boards per hour with the stalled client / without: %.2f" % ratio)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
