#!/usr/bin/env bash
# Turns a VBA standard module (.bas) into VBScript, mechanically:
#   1. every line whose first word is "Attribute" is removed (the VB_Name
#      line and any other module attribute the VBA editor writes);
#   2. on every line that is not a comment line (first non-blank character
#      "'"), every "As <Type>" clause is removed: blanks, the word As, blanks
#      and a type name, dotted ones included ("As Object", "As Boolean",
#      "As Atrybuty.MorvalyClsAttribute").
# Nothing else changes: the bytes stay in their code page, CRLF line ends
# stay. Modules written for this keep " As " out of string literals and out
# of comments after code, and use no "As New".
#   vba_to_vbscript.sh MODULE.bas > MODULE.vbs
set -euo pipefail
[[ $# -eq 1 ]] || { echo "usage: vba_to_vbscript.sh MODULE.bas" >&2; exit 2; }
LC_ALL=C sed -E \
  -e '/^[[:space:]]*Attribute[[:space:]]/d' \
  -e "/^[[:space:]]*'/!s/[[:space:]]+As[[:space:]]+[A-Za-z_][A-Za-z0-9_.]*//g" \
  "$1"
