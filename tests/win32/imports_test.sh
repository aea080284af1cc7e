#!/usr/bin/env bash
# The shipped programs import only functions that Windows 7 SP1 has.
#   imports_test.sh OBJDUMP ALLOWLIST PROGRAM.exe...
# ALLOWLIST holds "DLL Function" lines, each checked against Windows 7's
# DLLs before it was added. A new import fails here until it is checked and
# added; functions newer than Windows 7 are resolved at run time instead
# (GetProcAddress, with a fallback).
set -euo pipefail
objdump=$1
allowlist=$2
shift 2
fail=0
for exe in "$@"; do
  imports=$("$objdump" -p "$exe" | awk '
    /^[ \t]*DLL Name:/ { dll = toupper($3); next }
    dll && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, $3 }
    /^$/ { }')
  [[ -n "$imports" ]] || { echo "FAIL: no imports read from $exe"; exit 1; }
  unknown=$(comm -23 <(sort -u <<<"$imports") <(grep -v '^#' "$allowlist" | sed '/^$/d' | sort -u))
  if [[ -n "$unknown" ]]; then
    echo "FAIL: $(basename "$exe") imports functions not checked against Windows 7:"
    sed 's/^/  /' <<<"$unknown"
    fail=1
  else
    echo "$(basename "$exe"): $(wc -l <<<"$imports") imports, all on the Windows 7 list"
  fi
done
exit $fail
