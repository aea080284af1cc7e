#!/usr/bin/env bash
# Runs vbscript_host.vbs with Wine's script host against a package whose
# configuration is broken (MapCount=abc). Runs inside scripts/wine-run.sh.
#   vbscript_host.sh ATRYBUTY_EXE ATRYBUTY_TOOL_EXE CSCRIPT_EXE
# CSCRIPT_EXE: the script host of one bitness (system32 or syswow64).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
server=$1
tool=$2
cscript=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '[Global]\r\nMapCount=abc\r\n' >"$work/zla.ini"
wine "$tool" scramble "$work/zla.ini" "$work/zla.cfg"
wine reg add 'HKLM\Software\KELMO\Atrybuty' /v MRUList /d Polska /f /reg:32 >/dev/null
wine reg add 'HKLM\Software\KELMO\Atrybuty\Polska' /v path /d "Z:${work//\//\\}\\zla.cfg" /f /reg:32 >/dev/null
wine "$server" /RegServer /s

out=$(wine "$cscript" //nologo "Z:${here//\//\\}\\vbscript_host.vbs" 2>&1 | tr -d '\r')
echo "$out"
[[ "$out" == *"ATRYBUTY-VBS-OK"* ]]
