#!/usr/bin/env python3
"""Write and verify time of a job in the window, as a ratio to the line's own time for the same
bytes (10 bits a byte): `vantrel -GO` with AutoStart and AutoExit, a classic CPU type, against
vantrel-target pacing at the line rate. The Qt window runs on a virtual display (Xvfb), the
Windows window (vantrel.exe of the windows preset's build) under Wine on the same display, both
in one run, with the window process's CPU seconds for the whole job. The data phases are timed from the target's side: from the first byte at the
programming rate to the end of the job. Target: 1.15 or less in fast mode; `--cadence 10ms`
([Timer] Cadence=10ms in vantrel.ini) brings back the original 10 ms timer.

usage: bench/window_throughput.py [--size BYTES] [--baud RATE] [--cadence fast|10ms ...]
                                  [--window qt|wine ...] [--bin DIR] [--windows-bin DIR]
Needs the default build and, for wine, the windows build (scripts/test builds both); --bin and
--windows-bin take the windows from elsewhere (another build, to compare).
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BIN = os.path.join(ROOT, "build", "bin")
WINDOWS_BIN = os.path.join(ROOT, "build-windows", "bin")
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")
PREFIX = os.environ.setdefault("WINEPREFIX", os.path.join(ROOT, "build-windows", "wineprefix"))
COM = 97  # the prefix's COM port this benchmark maps onto the target


def start_display():
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24",
                             "-nolisten", "tcp"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            text=True)
    os.environ["DISPLAY"] = ":" + xvfb.stdout.readline().strip()
    return xvfb


def make_home(home, exe, baud, block, port, cadence, program):
    ctrl = os.path.join(home, "CTRL_MOT")
    os.makedirs(os.path.join(home, "@AUTO_PGM"))
    os.makedirs(ctrl)
    shutil.copy(exe, home)
    shutil.copy(os.path.join(ROOT, "examples", "CTRL_MOT", "VTC-100.mot"),
                os.path.join(ctrl, "BENCH.mot"))
    with open(os.path.join(ctrl, "Baud.ini"), "w") as f:
        f.write("[BENCH.mot]\nBaudB=9600\nBaudP=%d\nBlockSize=%d\nRomBaseAddr=0\n" % (baud, block))
    with open(os.path.join(home, "vantrel.ini"), "w") as f:
        f.write("[CommPort]\nPortNo=%s\n[Timer]\nCadence=%s\n" % (port, cadence))
    with open(os.path.join(home, "@AUTO_PGM", "AutoPgm.ini"), "w") as f:
        f.write("[AutoPgm]\nAutoStart=1\nAutoExit=1\nVerify=1\nCtrlProgam=BENCH.mot\n"
                "UserMotPath=%s\n" % program)


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def run(window, cadence, size, baud, block, program, bins):
    target = subprocess.Popen([os.path.join(BIN, "vantrel-target"), "--pacing", "--jobs", "1",
                               "--verbose", "--erase-ms", "200", "--protocol", "classic",
                               "--prog-baud", str(baud), "--block-size", str(block)],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    pty = target.stdout.readline().strip()
    marks = {}

    def watch():
        # Stamped as they come: the target traces each run of bytes as it takes it off the line.
        for line in target.stderr:
            now = time.monotonic()
            if "host %d>" % baud in line:
                marks.setdefault("data", now)
            elif "job ended" in line:
                marks.setdefault("end", now)

    watcher = threading.Thread(target=watch)
    watcher.start()
    home = tempfile.mkdtemp()
    link = os.path.join(PREFIX, "dosdevices", "com%d" % COM)
    try:
        if window == "qt":
            make_home(home, os.path.join(bins[0], "vantrel"), baud, block, pty, cadence, program)
            env = dict(os.environ, XDG_RUNTIME_DIR=home)
            app = subprocess.Popen([os.path.join(home, "vantrel"), "-GO"], env=env,
                                   stderr=subprocess.PIPE, text=True)
        else:
            if os.path.lexists(link):
                os.unlink(link)
            os.symlink(pty, link)
            make_home(home, os.path.join(bins[1], "vantrel.exe"), baud, block, "COM%d" % COM,
                      cadence, windows_path(program))
            app = subprocess.Popen([WINE_RUN, os.path.join(home, "vantrel.exe"), "-GO"], cwd=home,
                                   stderr=subprocess.PIPE, text=True)
        err = app.stderr.read()
        # The window's own CPU (with the children it waited for; not a wine server's).
        _, status, usage = os.wait4(app.pid, 0)
        app.returncode = os.waitstatus_to_exitcode(status)
        target.wait(timeout=10)
        watcher.join()
    finally:
        if os.path.lexists(link):
            os.unlink(link)
        shutil.rmtree(home, ignore_errors=True)
    if app.returncode != 0 or "data" not in marks or "end" not in marks:
        sys.exit("%s window: the job failed (exit code %d) %s" % (window, app.returncode, err))
    blocks = (size + block - 1) // block
    line_s = (blocks * (4 + block + 1) + blocks * (4 + 3 + block)) * 10 / baud
    data_s = marks["end"] - marks["data"]
    cpu = usage.ru_utime + usage.ru_stime
    print("%-4s %-4s %6d baud: write and verify %5.1f s; the line's own time %5.1f s; ratio %.2f;"
          " window CPU %.2f s" % (window, cadence, baud, data_s, line_s, data_s / line_s, cpu),
          flush=True)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--size", type=int, default=65536)
    p.add_argument("--block", type=int, default=128)
    p.add_argument("--baud", type=int, default=115200)
    p.add_argument("--cadence", action="append", choices=("fast", "10ms"))
    p.add_argument("--window", action="append", choices=("qt", "wine"))
    p.add_argument("--bin", default=BIN)
    p.add_argument("--windows-bin", default=WINDOWS_BIN)
    a = p.parse_args()
    print("%d bytes in %d-byte blocks, written and verified by the window; vantrel-target paces "
          "at the line rate" % (a.size, a.block))
    xvfb = start_display()
    work = tempfile.mkdtemp()
    windows = a.window or ["qt", "wine"]
    try:
        if "wine" in windows:
            # The wine server starts here, on this display and detached from our pipes.
            subprocess.run([WINE_RUN, "cmd", "/c", "exit"], stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        program = os.path.join(work, "program.mot")
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "make_srec.py"), program,
                        "--size", str(a.size), "--seed", "9"], check=True)
        for cadence in a.cadence or ["fast", "10ms"]:
            for window in windows:
                run(window, cadence, a.size, a.baud, a.block, program, (a.bin, a.windows_bin))
    finally:
        if "wine" in windows:
            subprocess.run(["wineserver", "-k"], stderr=subprocess.DEVNULL)
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
