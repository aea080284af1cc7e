#!/usr/bin/env bash
# Every benchmark, each against its baseline, printed in one run.
set -euo pipefail
build=${1:-build}
root=$(pwd)
echo "== Layer-table load (core, native; linear in the number of layers) =="
"$build/native/bench/core_bench" --benchmark_counters_tabular=true
echo
echo "== The server under Wine =="
win="$(realpath "$build/win")"
ATRYBUTY_WINE_DIR="$win/wine" "$root/scripts/wine-run.sh" --timeout 900 -- sh -c \
  "wine '$win/win32/atrybuty.exe' /RegServer /s && wine '$win/bench/server_bench.exe'"
