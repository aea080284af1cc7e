#!/usr/bin/env bash
# The main job on the bundled sample package:
#  1. the package's layers and their current line styles, through the tool;
#  2. under Wine (a 64-bit Windows on a virtual display, the sample package
#     registered as its 32-bit installer registers it): the real 32-bit
#     server started from a 32-bit host, its dialog opened as an Excel
#     macro opens it, a layer's thickness, style and colour changed and
#     applied, the record shown before and after, and the change undone with
#     the tool from the change journal. Screenshots go to BUILD/demo.
set -euo pipefail
build=${1:-build}
root=$(pwd)
out="$build/sample"
rm -rf "$out"
"$build/native/samples/make-sample-package" "$out" >/dev/null
echo "== Sample package \"Polska\" ($out/config/polska.cfg, scrambled) =="
"$build/native/tool/atrybuty-tool" layers "$out/config/polska.cfg" --data-dir "$out/data"

demo=$(realpath -m "$build/demo")
rm -rf "$demo"
mkdir -p "$demo"
win="$(realpath "$build/win")"
winout="Z:${demo//\//\\}"
ATRYBUTY_WINE_DIR="$win/wine" "$root/scripts/wine-run.sh" --timeout 300 -- bash -c '
  set -e
  win=$1; out=$2; winout=$3
  tool() { wine "$win/tool/atrybuty-tool.exe" "$@" | tr -d "\r"; }
  wine "$win/win32/atrybuty.exe" /RegServer /s
  echo; echo "== Under Wine: the component on the sample package =="
  wine "$win/demo/demo_host.exe" install "$winout" | tr -d "\r"
  data=$(tr -d "\r" <"$out/datafile.txt")
  echo; echo "-- The layer \"Granice województw\" before the change:"
  tool show "$data"
  echo; wine "$win/demo/demo_host.exe" change "$winout" | tr -d "\r"
  echo; echo "-- After the change:"
  tool show "$data"
  echo; echo "-- The change journal:"
  tool history
  echo; echo "-- Undoing the change with the tool:"
  tool undo 1
  tool show "$data"
' demo "$win" "$demo" "$winout"
