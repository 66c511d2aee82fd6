#!/usr/bin/python3
"""Whole-process timing of the three-rod sweep export to .xls.

Runs `tiecalc-cli three-rod ... --export PATH` and, alternately, a python
process that writes the same 370-row table of texts with xlwt (the table is
read from our first export beforehand, outside the timing). Every run writes
a fresh file. Prints both medians and the median of the per-pair ratios
ours / xlwt.

usage: sweep_export_bench.py TIECALC_CLI [RUNS]
"""

import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

import xlrd

INPUTS = ["A=900", "B=900", "C=900", "D=900", "X1=3000", "X2=3000", "X3=1500",
          "H=5000", "R=100", "M=200", "theta=30"]

XLWT_WRITER = r"""
import json, sys, xlwt
rows = json.load(open(sys.argv[1], encoding='utf-8'))
book = xlwt.Workbook(encoding='utf-8')
sheet = book.add_sheet(rows[0][0])
for r, row in enumerate(rows[1:]):
    for c, text in enumerate(row):
        sheet.write(r, c, text)
book.save(sys.argv[2])
"""


def timed(command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    cli = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    with tempfile.TemporaryDirectory() as folder:
        first = os.path.join(folder, "first.xls")
        subprocess.run([cli, "three-rod", *INPUTS, "--export", first], check=True, stdout=subprocess.DEVNULL)
        sheet = xlrd.open_workbook(first).sheet_by_index(0)
        rows = [[sheet.name]] + [[c for c in sheet.row_values(r)] for r in range(sheet.nrows)]
        if sheet.nrows != 370:
            sys.exit("the export wrote %d rows, not 370" % sheet.nrows)
        table = os.path.join(folder, "table.json")
        with open(table, "w", encoding="utf-8") as out:
            json.dump(rows, out, ensure_ascii=False)
        writer = os.path.join(folder, "xlwt_writer.py")
        with open(writer, "w", encoding="utf-8") as out:
            out.write(XLWT_WRITER)

        ours, theirs = [], []
        for i in range(runs):
            ours.append(timed([cli, "three-rod", *INPUTS, "--export", os.path.join(folder, "ours%d.xls" % i)]))
            theirs.append(timed([sys.executable, writer, table, os.path.join(folder, "xlwt%d.xls" % i)]))
        check = xlrd.open_workbook(os.path.join(folder, "xlwt0.xls")).sheet_by_index(0)
        if check.nrows != 370:
            sys.exit("the xlwt file holds %d rows" % check.nrows)

    ratios = [a / b for a, b in zip(ours, theirs)]
    print("runs: %d" % runs)
    print("tiecalc-cli median: %.1f ms" % (1000 * statistics.median(ours)))
    print("python+xlwt median: %.1f ms" % (1000 * statistics.median(theirs)))
    print("median ratio tiecalc/xlwt: %.3f" % statistics.median(ratios))


if __name__ == "__main__":
    main()
