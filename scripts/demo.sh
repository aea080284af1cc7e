#!/usr/bin/env bash
# The sample package's layers and their current line styles, through the tool.
set -euo pipefail
build=${1:-build}
out="$build/sample"
rm -rf "$out"
"$build/native/samples/make-sample-package" "$out" >/dev/null
echo "Sample package \"Polska\" ($out/config/polska.cfg, scrambled):"
"$build/native/tool/atrybuty-tool" layers "$out/config/polska.cfg" --data-dir "$out/data"
