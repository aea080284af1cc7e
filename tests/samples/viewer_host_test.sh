#!/usr/bin/env bash
# The viewer sample (samples/viewer/viewer_host.exe) against the real server.
# Runs inside scripts/wine-run.sh:
#   viewer_host_test.sh ATRYBUTY_EXE SAMPLES_PROBE_EXE VIEWER_HOST_EXE
# samples_probe starts viewer_host where it plays the user at the modal
# dialog and checks the exit code and the output itself.
set -euo pipefail
server=$1
probe=$2
viewer=$3
win() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }
fail() { echo "FAIL: $*"; exit 1; }
run_viewer() {  # ARGS...: sets rc and out
  local raw
  rc=0
  raw=$(wine "$viewer" "$@" 2>&1) || rc=$?
  out=$(tr -d '\r' <<<"$raw")
  echo "viewer_host $* -> $rc: $out"
}

# A sample to copy from: it includes no header of the component's own.
here=$(cd "$(dirname "$0")" && pwd)
! grep -n '#include "\(win32\|core\)/' "$here/../../samples/viewer/"*.cpp "$here/../../samples/viewer/"*.h ||
  fail "the viewer sample includes the component's headers"

wine "$probe" install Polska=sample Zla=broken

echo "== wrong arguments"
run_viewer
[[ $rc -eq 3 && "$out" == *PAKIET* ]] || fail "without a package viewer_host prints its usage and exits with 3"

echo "== the server not registered yet: an error with its description"
run_viewer Polska
[[ $rc -ge 2 && "$out" == *Atrybuty.MorvalyClsAttribute* ]] || fail "an object that cannot be created is an error (exit 2)"

wine "$server" /RegServer /s

for action in apply cancel close; do
  echo "== the modal dialog, $action"
  wine "$probe" viewer "$(win "$viewer")" Polska "$action"
done

echo "== a broken package: the component's description, exit code 2"
run_viewer Zla
[[ $rc -eq 2 && "$out" == *'MapCount=abc'* && "$out" == *'"Zla"'* ]] || fail "RunForm's error reaches the output"
wine "$probe" clean
echo "viewer_host: all scenarios passed"
