#!/usr/bin/env bash
# Every benchmark, each against its baseline, printed in one run.
set -euo pipefail
build=${1:-build}
root=$(pwd)
echo "== Layer-table load (core, native; linear in the number of layers) =="
"$build/native/bench/core_bench" --benchmark_counters_tabular=true
echo
echo "== The server under Wine (a 64-bit Windows; the host is 32-bit) =="
win="$(realpath "$build/win")"
win64="$(realpath -m "$build/win64")"
ATRYBUTY_WINE_DIR="$win/wine" "$root/scripts/wine-run.sh" --timeout 1200 -- sh -c '
  win=$1; win64=$2
  echo "-- the shipped 32-bit server"
  wine "$win/win32/atrybuty.exe" /RegServer /s && wine "$win/bench/server_bench.exe"
  if [ -f "$win64/win32/atrybuty.exe" ]; then
    echo; echo "-- the 64-bit server, for comparison"
    wine "$win64/win32/atrybuty.exe" /RegServer /s && wine "$win/bench/server_bench.exe"
  fi' bench "$win" "$win64"
