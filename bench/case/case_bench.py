#!/usr/bin/python3
"""Whole-process timing of opening and saving a case through tiecalc-cli.

A case typed on all four pages is saved once (outside the timing). Then
each round runs, as separate processes,
  open:  tiecalc-cli --open CASE rod-check
  save:  tiecalc-cli --open CASE rod-check F=210 --save NEW
  start: tiecalc-cli rod-check           (the same process without a case)
and prints the median wall time of each, and the medians of open and save
less that of the bare start (what the case itself costs).

usage: case_bench.py TIECALC_CLI [RUNS]
"""

import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

TYPED = [
    ("three-rod", ["A=900", "B=900", "C=900", "D=900", "X1=3000", "X2=3000", "X3=1500", "H=5000", "R=100",
                   "M=200", "theta=30"]),
    ("four-rod-1", ["A=800", "B=800", "C=800", "D=800", "E=800", "F=800", "X1=3000", "X2=3000", "X3=1200",
                    "X4=1200", "Y1=4000", "Y2=4000", "R=100", "M=300", "theta=30", "manualL=1", "L1=5000"]),
    ("four-rod-2", ["A=900", "B=900", "C=300", "D=1000", "E=300", "F=100", "G=300", "H=1000", "X1=3500",
                    "X2=3500", "X3=1500", "X4=1500", "Y1=4500", "Y2=4500", "R=100", "M=300", "theta=30"]),
    ("rod-check", ["form=2", "F=200", "L=8000", "G=800", "A=6000", "h=250", "Imax=150000000",
                   "Imin=150000000", "Az=1000", "I1=2000000", "Iz=500000", "L1=600", "a=400"]),
]


def timed(command):
    """Wall time and processor time (user + system) of one process."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def main():
    cli = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 51
    with tempfile.TemporaryDirectory() as folder:
        case = os.path.join(folder, "工程A.tiecalc")
        for i, (page, inputs) in enumerate(TYPED):
            opened = ["--open", case] if i else []
            subprocess.run([cli] + opened + [page] + inputs + ["--save", case], check=True,
                           stdout=subprocess.DEVNULL)
        out = os.path.join(folder, "new.tiecalc")
        times = {"open": [], "save": [], "start": []}
        for _ in range(runs):
            times["start"].append(timed([cli, "rod-check"]))
            times["open"].append(timed([cli, "--open", case, "rod-check"]))
            times["save"].append(timed([cli, "--open", case, "rod-check", "F=210", "--save", out]))
        med = {k: statistics.median(w for w, _ in v) * 1000 for k, v in times.items()}
        cpu = {k: statistics.median(c for _, c in v) * 1000 for k, v in times.items()}
        print(f"case of {os.path.getsize(case)} bytes, {runs} runs each, medians of the whole process")
        print(f"(wall time; processor time, user + system, in brackets), load {os.getloadavg()[0]:.1f}:")
        for k in ("start", "open", "save"):
            print(f"  {k:5s} {med[k]:7.2f} ms  ({cpu[k]:6.2f} ms)")
        print(f"  the case itself: open {med['open'] - med['start']:.2f} ms ({cpu['open'] - cpu['start']:.2f} ms), "
              f"open + type + save {med['save'] - med['start']:.2f} ms ({cpu['save'] - cpu['start']:.2f} ms)")


if __name__ == "__main__":
    main()
