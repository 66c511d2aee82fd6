#!/bin/sh
# Four exports at once into one workbook, five rounds: every export reports
# success and every row it reported is in the workbook, each round's backup
# sheet is the one of the first export.
# Usage: export_stress.sh [EMULATOR] CLI   (the emulator of a cross build: wine)
set -eu
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
args="A=900 B=900 C=900 D=900 X1=3000 X2=3000 X3=1500 H=5000 R=100 M=200 theta=30"
for round in 1 2 3 4 5; do
  for k in 1 2 3 4; do
    # shellcheck disable=SC2086
    "$@" three-rod $args --export "$dir/c.xls" >"$dir/out$k" 2>&1 &
  done
  wait
  for k in 1 2 3 4; do
    grep -q '"messages": \["文件输出成功!"\]' "$dir/out$k" || { echo "round $round export $k:"; cat "$dir/out$k"; exit 1; }
  done
done
/usr/bin/python3 - "$dir/c.xls" <<'PY'
import sys, xlrd
book = xlrd.open_workbook(sys.argv[1])
sheet = book.sheet_by_name('塔机三杆附着')
rows = sheet.nrows
expected = 1 + 20 * 369
if rows != expected:
    sys.exit('%d rows, expected %d' % (rows, expected))
thetas = [int(v) for v in sheet.col_values(0, 1) if v.isdigit()]
if sorted(thetas) != sorted(list(range(360)) * 20):
    sys.exit('the sweep rows of some export are missing')
PY
[ "$(ls -A "$dir" | grep -c '^\.tiecalc-' || true)" = 0 ] || { echo "left behind:"; ls -A "$dir"; exit 1; }
