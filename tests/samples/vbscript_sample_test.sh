#!/usr/bin/env bash
# The VBScript sample (samples/vbscript/zmien_atrybuty.vbs) with Wine's
# cscript against the real server. Runs inside scripts/wine-run.sh:
#   vbscript_sample_test.sh ATRYBUTY_EXE SAMPLES_PROBE_EXE
# samples_probe starts the script where it plays the user at the dialogs
# and checks the script's exit code and output itself.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
server=$1
probe=$2
vbs="$here/../../samples/vbscript/zmien_atrybuty.vbs"
win() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
fail() { echo "FAIL: $*"; exit 1; }
script=$(win "$vbs")

# Windows Script Host reads a script without a byte order mark in the ANSI
# code page: the file is Windows-1250 with CRLF line ends.
! grep -q -v $'\r$' "$vbs" || fail "every line of zmien_atrybuty.vbs ends with CR LF"
iconv -f CP1250 -t UTF-8 "$vbs" | grep -q 'Zmiana atrybutów linii” jest otwarte' || fail "zmien_atrybuty.vbs is Windows-1250 text"

wine "$server" /RegServer /s

echo "== no package installed: the component says so, the script ends by itself"
wine "$probe" install
wine "$probe" vbs-no-package "$script"

echo "== one package: the dialog, the script's wait box, cancel"
wine "$probe" install Polska=sample
wine "$probe" vbs-cancel "$script"

echo "== two packages: the choice, a change applied, the frame closed"
wine "$probe" install Polska=sample Europa=sample
wine "$probe" vbs-choose-apply-close "$script"

echo "== a broken package: the number and description printed, exit code 1"
wine "$probe" install Zla=broken
rc=0
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
raw=$(wine 'C:\windows\syswow64\cscript.exe' //nologo "$script" 2>"$errors") || rc=$?
out=$(tr -d '\r' <<<"$raw")
err=$(tr -d '\r' <"$errors" | iconv -f CP1250 -t UTF-8)
echo "$out"
echo "$err"
# Wine's cscript has no WScript.StdErr (error 445), so there the script's
# fallback prints with WScript.Echo; Windows' cscript takes the StdErr line.
grep -q '^        WScript.StdErr.WriteLine tekst'$'\r''$' "$vbs" || fail "the script reports errors on WScript.StdErr"
[[ "$out$err" == *'MapCount=abc'* && "$out$err" == *'"Zla"'* && "$out$err" == *'&H80040204'* ]] ||
  fail "the script prints Err.Number and Err.Description"
[[ $rc -eq 1 ]] || fail "the script exits with 1 after an error, not $rc"
wine "$probe" clean
echo "VBScript sample: all scenarios passed"
