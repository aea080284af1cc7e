#!/usr/bin/env bash
# Turns a VBA standard module (.bas) into VBScript, mechanically:
#   1. every line whose first word is "Attribute" is removed (the VB_Name
#      line and any other module attribute the VBA editor writes);
#   2. "#Const" lines and "#If ... #End If" blocks are removed: conditional
#      compilation holds what only VBA can run (early binding, "New" of a
#      type library's class); a host that binds through the type library
#      exercises those calls instead;
#   3. on every line that is not a comment line (first non-blank character
#      "'"), every "As <Type>" clause is removed: blanks, the word As, blanks
#      and a type name, dotted ones included ("As Object", "As Boolean",
#      "As Atrybuty.MorvalyClsAttribute");
#   4. an error handler with a label becomes VBScript's nearest form:
#      "On Error GoTo L" (L not 0) becomes "On Error Resume Next", the
#      "Exit Sub" or "Exit Function" right before the label line becomes
#      "If Err.Number = 0 Then Exit Sub" (or Function), and the label line
#      goes. Unlike VBA, the statements after a failing one still run: the
#      modules make the call that may fail the last that matters before the
#      handler.
# Nothing else changes: the bytes stay in their code page, CRLF line ends
# stay. Modules written for this keep " As " out of string literals and out
# of comments after code, and use no "As New".
#   vba_to_vbscript.sh MODULE.bas > MODULE.vbs
set -euo pipefail
[[ $# -eq 1 ]] || { echo "usage: vba_to_vbscript.sh MODULE.bas" >&2; exit 2; }
LC_ALL=C awk '
  { line = $0; cr = sub(/\r$/, "", line) }
  line ~ /^[ \t]*Attribute[ \t]/ { next }
  line ~ /^[ \t]*#If[ \t]/ { depth++; next }
  line ~ /^[ \t]*#End If/ { depth--; next }
  depth > 0 || line ~ /^[ \t]*#Const[ \t]/ { next }
  line ~ /^[ \t]*[A-Za-z_][A-Za-z0-9_]*:[ \t]*$/ {
    # The handler starts here: the Exit before it exits only without an error.
    for (i = n; i > 0 && out[i] ~ /^[ \t]*$/; i--) {}
    if (i > 0 && match(out[i], /Exit (Sub|Function)[ \t]*$/)) {
      sub(/Exit (Sub|Function)[ \t]*$/, "If Err.Number = 0 Then &", out[i])
    }
    next
  }
  {
    if (line !~ /^[ \t]*'\''/) {
      gsub(/[ \t]+As[ \t]+[A-Za-z_][A-Za-z0-9_.]*/, "", line)
      if (line ~ /On Error GoTo [A-Za-z_]/ && line !~ /On Error GoTo 0/) sub(/On Error GoTo [A-Za-z_][A-Za-z0-9_]*/, "On Error Resume Next", line)
    }
    out[++n] = line; crs[n] = cr
  }
  END { for (i = 1; i <= n; i++) printf "%s%s\n", out[i], (crs[i] ? "\r" : "") }
' "$1"
