#!/usr/bin/env bash
# Every benchmark, each against its baseline, printed in one run.
set -euo pipefail
build=${1:-build}
echo "== Layer-table load (core; linear in the number of layers) =="
"$build/native/bench/core_bench" --benchmark_counters_tabular=true
