#!/usr/bin/env bash
# The main job on the bundled sample package:
#  1. the package's layers and their current line styles, through the tool;
#  2. the real dialog opened under Wine (on a virtual display), with
#     screenshots saved in BUILD/demo.
set -euo pipefail
build=${1:-build}
root=$(pwd)
out="$build/sample"
rm -rf "$out"
"$build/native/samples/make-sample-package" "$out" >/dev/null
echo "== Sample package \"Polska\" ($out/config/polska.cfg, scrambled) =="
"$build/native/tool/atrybuty-tool" layers "$out/config/polska.cfg" --data-dir "$out/data"

echo
echo "== The dialog under Wine =="
demo=$(realpath -m "$build/demo")
rm -rf "$demo"
mkdir -p "$demo"
win="$(realpath "$build/win")"
ATRYBUTY_WINE_DIR="$win/wine" "$root/scripts/wine-run.sh" --timeout 300 -- sh -c \
  "wine '$win/win32/atrybuty.exe' /RegServer /s && wine '$win/demo/demo_host.exe' 'Z:${demo//\//\\}'"
