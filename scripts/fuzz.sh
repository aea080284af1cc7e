#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, address and undefined-behaviour
# sanitizers) and runs each for a bounded time over a working copy of its
# corpus. Fails when a target crashes, leaks, breaks an invariant or hangs.
#   scripts/fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET]     (build/fuzz, 20)
# A crashing input is kept in BUILD_DIR/artifacts/TARGET/; rerun it with
#   BUILD_DIR/fuzz/TARGET FILE
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/fuzz}
seconds=${2:-20}
targets=(profile_fuzz layer_table_fuzz record_fuzz unscramble_fuzz journal_fuzz position_fuzz colour_argument_fuzz)

CC=clang CXX=clang++ cmake -S . -B "$build" -DATRYBUTY_FUZZ=ON -DATRYBUTY_TESTS=OFF \
  -DATRYBUTY_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target "${targets[@]}" >/dev/null

# The working corpus keeps what earlier runs found; seeds are added each time.
mkdir -p "$build/corpus" "$build/logs"
cp -r fuzz/corpus/. "$build/corpus/"
fuzz/make_seeds.sh "$build/corpus"

# The targets' scratch files go here, so that a crashed run leaves none in /tmp.
TMPDIR=$(realpath "$build")/tmp
export TMPDIR
rm -rf "$TMPDIR" && mkdir -p "$TMPDIR"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
failed=()
for t in "${targets[@]}"; do
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$build/artifacts/$t/")
  case $t in
    profile_fuzz | layer_table_fuzz) args+=(-max_len=4096 -dict=fuzz/profile.dict) ;;
    record_fuzz) args+=(-max_len=4096) ;;
    unscramble_fuzz) args+=(-max_len=2048) ;;
    journal_fuzz) args+=(-max_len=512) ;;
    position_fuzz | colour_argument_fuzz) args+=(-max_len=32) ;;
  esac
  mkdir -p "$build/artifacts/$t"
  log=$build/logs/$t.log
  if "$build/fuzz/$t" "${args[@]}" "$build/corpus/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $t passed, ${runs:-?} inputs in ${seconds}s"
  else
    echo "fuzz: $t FAILED; log $log" >&2
    grep -E 'ERROR|runtime error|invariant broken|Test unit written' "$log" | head -5 >&2 || true
    failed+=("$t")
  fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzz: ${#failed[@]} of ${#targets[@]} targets failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${#targets[@]} passed, 0 failed"
