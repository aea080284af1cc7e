#!/usr/bin/env bash
# The Excel sample module (samples/excel/Atrybuty.bas) under Wine's script
# host. Runs inside scripts/wine-run.sh:
#   vba_module_test.sh ATRYBUTY_EXE SAMPLES_PROBE_EXE
# The module is turned into VBScript by vba_to_vbscript.sh (module
# attributes and "As <Type>" clauses removed), must compile as such, and runs
# with vba_module_driver.vbs appended: the driver replaces MsgBox and Excel's
# Application, calls the macros against the real server, and samples_probe
# plays the user at the dialog meanwhile.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
server=$1
probe=$2
bas="$here/../../samples/excel/Atrybuty.bas"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
win() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
fail() { echo "FAIL: $*"; exit 1; }
# The 32-bit script host, as VBA runs in 32-bit Office.
cscript() { wine 'C:\windows\syswow64\cscript.exe' //nologo "$@" 2>&1 | tr -d '\r'; }

# The file as the VBA editor imports it: Windows-1250 text, CRLF line ends,
# the module's name first.
[[ $(head -n 1 "$bas") == 'Attribute VB_Name = "AtrybutyLinii"'$'\r' ]] || fail "Atrybuty.bas starts with its Attribute VB_Name line"
! grep -q -v $'\r$' "$bas" || fail "every line of Atrybuty.bas ends with CR LF"
iconv -f CP1250 -t UTF-8 "$bas" | grep -q 'Nie udało się otworzyć' || fail "Atrybuty.bas is Windows-1250 text"
! iconv -f UTF-8 -t UTF-8 "$bas" >/dev/null 2>&1 || fail "Atrybuty.bas is not UTF-8 (the VBA editor would garble it)"

"$here/vba_to_vbscript.sh" "$bas" >"$work/module.vbs"
! grep -q '^[[:space:]]*Attribute[[:space:]]' "$work/module.vbs" || fail "the transformation drops Attribute lines"
! grep -E -q "^[^']*[[:space:]]As[[:space:]]" "$work/module.vbs" || fail "the transformation drops As clauses"
grep -q "^Private mAtrybuty"$'\r'"$" "$work/module.vbs" || fail "the module keeps its object in a module-level variable"
grep -q '^Option Explicit' "$work/module.vbs" || fail "the module has Option Explicit"

wine "$server" /RegServer /s

# It compiles as VBScript: a script that does not compile never prints the
# marker (Wine's cscript reports compile errors nowhere, and exits with 0).
# The untransformed module shows that such an error is noticed.
{ cat "$work/module.vbs"; printf 'WScript.Echo "MODULE-COMPILES"\r\n'; } >"$work/compile.vbs"
{ cat "$bas"; printf 'WScript.Echo "MODULE-COMPILES"\r\n'; } >"$work/raw.vbs"
out=$(cscript "$(win "$work/compile.vbs")")
echo "$out"
[[ "$out" == "MODULE-COMPILES" ]] || fail "the transformed module compiles and runs quietly as VBScript"
out=$(cscript "$(win "$work/raw.vbs")")
echo "untransformed: $out"
[[ "$out" != *MODULE-COMPILES* ]] || fail "cscript rejects the untransformed module (the compile check can see errors)"

run_driver() {  # SCENARIO
  local flags="$work/flags-$1"
  { cat "$work/module.vbs"; iconv -f UTF-8 -t CP1250 "$here/vba_module_driver.vbs"; } >"$work/$1.vbs"
  cscript "$(win "$work/$1.vbs")" "$1" "$(win "$flags")"
}

# A broken package: each macro shows the component's description.
wine "$probe" install Zla=broken
mkdir -p "$work/flags-broken"
out=$(run_driver broken)
echo "$out"
[[ "$out" == *"VBA-MODULE-OK broken"* ]] || fail "broken package scenario"
wine "$probe" clean


# The ordinary start and the start from the launcher, the probe at the dialog.
for scenario in ordinary fromexec; do
  wine "$probe" install Polska=sample
  mkdir -p "$work/flags-$scenario"
  mode=$([[ $scenario == ordinary ]] && echo excel-ordinary || echo excel-from-exec)
  wine "$probe" "$mode" "$(win "$work/flags-$scenario")" >"$work/probe.log" 2>&1 &
  probe_pid=$!
  out=$(run_driver "$scenario")
  echo "$out"
  probe_rc=0
  wait "$probe_pid" || probe_rc=$?
  tr -d '\r' <"$work/probe.log"
  [[ "$out" == *"VBA-MODULE-OK $scenario"* ]] || fail "$scenario scenario: the driver's checks"
  [[ $probe_rc -eq 0 ]] || fail "$scenario scenario: the probe's checks"
done
wine "$probe" clean

# The LineStyles module, converted the same way, over the sample package.
styles_bas="$here/../../samples/excel/StyleLinii.bas"
[[ $(head -n 1 "$styles_bas") == 'Attribute VB_Name = "StyleLinii"'$'\r' ]] || fail "StyleLinii.bas starts with its Attribute VB_Name line"
! grep -q -v $'\r$' "$styles_bas" || fail "every line of StyleLinii.bas ends with CR LF"
"$here/vba_to_vbscript.sh" "$styles_bas" >"$work/styles.vbs"
for scenario in restyle export-import; do
  wine "$probe" install Polska=sample
  { cat "$work/styles.vbs"; iconv -f UTF-8 -t CP1250 "$here/style_module_driver.vbs"; } >"$work/$scenario.vbs"
  out=$(cscript "$(win "$work/$scenario.vbs")" "$scenario" "$(win "$work")")
  echo "$out"
  [[ "$out" == *"STYLE-MODULE-OK $scenario"* ]] || fail "StyleLinii $scenario scenario"
done
wine "$probe" clean
echo "VBA modules: all scenarios passed"
