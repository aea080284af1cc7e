#!/usr/bin/env bash
# Every benchmark, each against its target, printed in one run.
set -euo pipefail
build=${1:-build}
root=$(pwd)
# This virtual machine's idle CPUs take tens of microseconds to wake, and
# under Wine every call into the Wine server waits for one: the figures would
# depend on whether another core happens to be busy (on an idle machine the
# server's are two to three times slower). While the file is held open the
# CPUs stay awake (PM QoS, root only); ATRYBUTY_BENCH_IDLE=1 times without it.
if [[ ${ATRYBUTY_BENCH_IDLE:-0} != 1 ]] && { exec 3>/dev/cpu_dma_latency; } 2>/dev/null; then
  printf '0x00000000' >&3
  echo "(CPUs held awake while timing; ATRYBUTY_BENCH_IDLE=1 times them as they are)"
else
  echo "(CPUs timed as they are, idle ones waking slowly)"
fi
echo "== Layer-table load (core, native; linear in the number of layers) =="
"$build/native/bench/core_bench" --benchmark_counters_tabular=true
echo
echo "== The server under Wine (a 64-bit Windows; the host is 32-bit) =="
win="$(realpath "$build/win")"
win64="$(realpath -m "$build/win64")"
figures=$(mktemp -d)
trap 'rm -rf "$figures"' EXIT
# Each run's "@ name samples..." lines are kept for the comparison below. Each
# server runs once more, alternately, so that it does not rest on one run each.
ATRYBUTY_WINE_DIR="$win/wine" "$root/scripts/wine-run.sh" --timeout 1200 -- sh -c '
  win=$1; win64=$2; figures=$3
  bench() { wine "$1/win32/atrybuty.exe" /RegServer /s && wine "$win/bench/server_bench.exe" $2; }
  echo "-- the shipped 32-bit server"
  bench "$win" | tee "$figures/32" | grep -v "^@ "
  if [ -f "$win64/win32/atrybuty.exe" ]; then
    echo; echo "-- the 64-bit server, for comparison (what the server does; the host is the same)"
    bench "$win64" --servers | tee "$figures/64" | grep -v "^@ "
    bench "$win" --servers | grep "^@ " >>"$figures/32"
    bench "$win64" --servers | grep "^@ " >>"$figures/64"
  fi' bench "$win" "$win64" "$figures"

# The median of every sample named $2 in the runs of server $1.
median() {
  awk -v name="$2" '$1 == "@" && $2 == name { for (i = 3; i <= NF; ++i) print $i }' "$figures/$1" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR) print v[int(NR / 2) + 1] }'
}
if [ -s "$figures/64" ]; then
  echo
  echo "-- the 32-bit server against the 64-bit one, two runs of each (target: at most 10 % slower)"
  for row in "runform:RunForm to dialog ready, 32 767 layers" "cold:activation, cold (server start)" \
             "warm:activation, warm (server running)"; do
    awk -v name="${row#*:}" -v a="$(median 32 "${row%%:*}")" -v b="$(median 64 "${row%%:*}")" 'BEGIN {
      if (a == "" || b == "" || b == 0) { printf "  %-40s not measured\n", name; exit }
      d = (a - b) / b * 100
      printf "  %-40s %8.1f ms against %8.1f ms  (%+.1f %%: %s)\n", name, a, b, d, d <= 10 ? "met" : "NOT MET"
    }'
  done
fi
