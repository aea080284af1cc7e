#!/usr/bin/env bash
# atrybuty-tool from the outside: exit codes, output and whole-file effects.
#   tool_test.sh TOOL MAKE_SAMPLE   (each may be "wine prog.exe")
set -uo pipefail
tool=$1
make_sample=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# run EXPECTED_EXIT ARGS...: runs the tool, keeps its output in $out.
run() {
  local expected=$1; shift
  out=$($tool "$@" 2>&1 | tr -d '\r'); local rc=${PIPESTATUS[0]}
  [[ $rc -eq $expected ]] || fail "atrybuty-tool $* exited $rc, expected $expected: $out"
}
contains() { [[ "$out" == *"$1"* ]] || fail "output lacks \"$1\": $out"; }

$make_sample "$work/pkg" >/dev/null || { echo "cannot make the sample package" >&2; exit 1; }
data="$work/pkg/data"
cfg="$work/pkg/config/polska.cfg"

# Usage, help and version; numbers only in the ranges the dialog writes.
run 0 --help; contains "Usage: atrybuty-tool"; contains "Exit codes: 0 done"
run 0 show --help; contains "DATAFILE"
run 0 --version; contains "atrybuty-tool 1."
run 2
run 2 frobnicate; contains 'unknown command "frobnicate"'
run 2 show
run 2 set "$data/DROGI.DAT"
for bad in "--thickness 8" "--thickness 99" "--style 78" "--style 200" "--thickness x" "--color #12345" "--color 16777216"; do
  # shellcheck disable=SC2086
  run 2 set "$data/DROGI.DAT" $bad
done
run 2 undo 1x
run 2 undo 0

# Scrambling both ways gives back the original bytes.
run 0 unscramble "$cfg" "$work/clear.ini"
cmp -s "$work/clear.ini" "$work/pkg/config/polska.ini" || fail "unscramble does not give the clear configuration"
run 0 scramble "$work/clear.ini" "$work/again.cfg"
cmp -s "$work/again.cfg" "$cfg" || fail "scramble does not give the scrambled configuration"
run 1 unscramble "$work/missing.cfg" "$work/x.ini"

# Layers, from either form, with Polish names shown in UTF-8; as JSON for scripts.
run 0 layers "$cfg"
contains "7 layers"; contains "Granice województw"; contains "Żegluga śródlądowa"; contains "GRANICE.DAT"
run 0 layers "$work/pkg/config/polska.ini" --data-dir "$data"
contains "thickness 3, style 2, colour #FF8000"; contains "no record"; contains "too short"
printf '[Global]\r\nMapCount=abc\r\n' >"$work/bad.ini"
run 1 layers "$work/bad.ini" --clear; contains 'MapCount "abc" is not a number'
run 0 layers "$cfg" --data-dir "$data" --json
contains '"name": "Granice województw"'; contains '"colour": "#FF8000"'; contains '"status": "no-record"'

# Show.
run 0 show "$data/DROGI.DAT"
contains "Record base:   0x500"; contains "thickness 50E, style 50F, red 511, green 512, blue 513"
contains "#FF8000 (web), 33023 (decimal), 0080FF (KolorHex)"
run 0 show "$data/RZEKI.DAT"; contains "thickness 800E"
run 3 show "$data/ROWERY.DAT"; contains "no record"
run 1 show "$data/GAZ.DAT"; contains "too short"
run 1 show "$data/NONE.DAT"
run 0 show "$data/DROGI.DAT" --json; contains '"thickness": 3'; contains '"kolorHex": "0080FF"'

# Set changes exactly the named bytes and never the length.
journal="$work/zmiany.txt"
cp "$data/GRANICE.DAT" "$work/before.dat"
run 0 set "$data/GRANICE.DAT" --thickness 4 --style 2 --color "#123456" --journal "$journal"
contains "thickness 4, style 2, colour #123456"
diffs=$(cmp -l "$work/before.dat" "$data/GRANICE.DAT" | while read -r at _ new; do printf '%X:%d ' $((at - 1)) $((8#$new)); done)
[[ "$diffs" == "1000D:4 1000E:2 10010:18 10011:52 10012:86 " ]] || fail "set changed other bytes: $diffs"
[[ $(stat -c %s "$work/before.dat") -eq $(stat -c %s "$data/GRANICE.DAT") ]] || fail "set changed the length"
run 0 set "$data/GRANICE.DAT" --color 255 --journal "$journal"
run 0 show "$data/GRANICE.DAT"; contains "#FF0000 (web), 255 (decimal), 0000FF (KolorHex)"

# The journal: all five record bytes of each change, and undo in any order
# the file allows, only inside the data folder unless the file is named.
run 0 history --journal "$journal"
contains "2 change(s)"; contains "1000E:05>04 1000F:1E>02 10011:80>12 10012:00>34 10013:80>56"
contains "1000E:04>04 1000F:02>02 10011:12>FF 10012:34>00 10013:56>00"
run 0 history --journal "$journal" --json; contains '"position": "1000E"'; contains '"number": 2'
if [[ "$tool" == wine* ]]; then
  # Windows knows its map data folder, and this file is not in it.
  run 4 undo 1 --journal "$journal"; contains "outside the map data folder"
else
  run 2 undo 1 --journal "$journal"; contains "--data-dir"
fi
run 4 undo 1 --journal "$journal" --data-dir "$work/pkg/config"; contains "outside the map data folder"
run 4 undo 1 --journal "$journal" --data-dir "$data"; contains "no longer holds what change 1 wrote"
run 0 undo 2 --journal "$journal" --data-dir "$data"
run 0 undo 1 --journal "$journal" --file "$data/GRANICE.DAT"
cmp -s "$work/before.dat" "$data/GRANICE.DAT" || fail "undoing both changes does not restore the file"
run 0 history --journal "$journal"; contains "4 change(s)"
run 2 undo 9 --journal "$journal"
run 1 undo 1 --journal "$work/none.txt"

# A forged journal line cannot make undo write anything but a record.
printf 'unrelated text, a few bytes long, that must stay as it is\r\n' >"$work/notes.txt"
cp "$work/notes.txt" "$work/notes.before"
printf '2026-12-08T10:11:12Z\t-\t-\t%s\t1:75>42 2:6E>42 3:72>42 4:65>42 5:6C>42\r\n' "$work/notes.txt" >"$work/forged.txt"
printf '2026-12-08T10:11:12Z\t-\t-\t%s\t1:75>42 2:6E>42 3:72>42 4:65>42 5:6C>42 6:61>42\r\n' "$work/notes.txt" >>"$work/forged.txt"
run 0 history --journal "$work/forged.txt"; contains "1 change(s)"
run 4 undo 1 --journal "$work/forged.txt" --file "$work/notes.txt"; contains "no line-style record"
cmp -s "$work/notes.txt" "$work/notes.before" || fail "undo wrote into an unrelated file"
# A journal in a folder with Polish letters. Wine runs here with the Polish
# ANSI code page, in which it reads the command line and Linux file names.
polish=Łódź
[[ "$tool" == wine* ]] && polish=$(printf '%s' "$polish" | iconv -f UTF-8 -t CP1250)
mkdir -p "$work/$polish"
run 0 set "$data/DROGI.DAT" --thickness 2 --journal "$work/$polish/zmiany.txt"
run 0 history --journal "$work/$polish/zmiany.txt"; contains "1 change(s)"; contains "Łódź"
run 0 undo 1 --journal "$work/$polish/zmiany.txt" --file "$data/DROGI.DAT"

for f in ROWERY.DAT GAZ.DAT; do
  cp "$data/$f" "$work/before.dat"
  run "$([[ $f == ROWERY.DAT ]] && echo 3 || echo 1)" set "$data/$f" --thickness 1 --journal "$journal"
  cmp -s "$work/before.dat" "$data/$f" || fail "set changed $f, which has no usable record"
done

# Export and import: the package's styles restored exactly; a broken file
# writes nothing.
styles="$work/polska-style.txt"
run 0 export "$styles" --package Polska --config "$cfg" --data-dir "$data"
grep -q $'^Granice województw\tGRANICE.DAT\t' "$styles" || fail "the export lists Granice województw"
for f in "$data"/*.DAT; do cp "$f" "$work/$(basename "$f").orig"; done
run 0 set "$data/GRANICE.DAT" --thickness 7 --color "#010203" --journal "$journal"
run 0 set "$data/DROGI.DAT" --style 9 --journal "$journal"
printf 'Atrybuty: style linii, wersja 1\r\nPakiet\tPolska\r\nzepsuty\r\n' >"$work/broken.txt"
cp "$data/GRANICE.DAT" "$work/granice.changed"
run 1 import "$work/broken.txt" --config "$cfg" --data-dir "$data" --journal "$journal"; contains "line 3"
cmp -s "$data/GRANICE.DAT" "$work/granice.changed" || fail "a broken import wrote"
granice="Granice województw"
[[ "$tool" == wine* ]] && granice=$(printf '%s' "$granice" | iconv -f UTF-8 -t CP1250)
run 0 import "$styles" --layer "$granice" --config "$cfg" --data-dir "$data" --journal "$journal" --json
contains '"result": "changed"'
cmp -s "$data/GRANICE.DAT" "$work/GRANICE.DAT.orig" || fail "import does not restore GRANICE.DAT"
cmp -s "$data/DROGI.DAT" "$work/DROGI.DAT.orig" && fail "import wrote a layer it was not given"
run 4 import "$styles" --config "$cfg" --data-dir "$data" --journal "$journal"
contains "Drogi krajowe: changed"; contains "Gazociągi: refused"
for f in "$data"/*.DAT; do cmp -s "$f" "$work/$(basename "$f").orig" || fail "import does not restore $(basename "$f")"; done

# Package registration (the Windows build; run under Wine).
if [[ "$tool" != wine* ]]; then
  run 5 install-package Polska "$cfg"; contains "Windows only"
fi
if [[ "$tool" == wine* ]]; then
  winpath() { echo "Z:${1//\//\\}"; }
  run 0 install-package Polska "$(winpath "$cfg")"; contains "7 layers"
  run 0 install-package " Europa " "$(winpath "$cfg")"
  run 0 install-package Polska "$(winpath "$cfg")"  # again: listed once
  # Where a 32-bit installer writes on 64-bit Windows: the 32-bit view only.
  mru=$(wine reg query 'HKLM\Software\KELMO\Atrybuty' /v MRUList /reg:32 | tr -d '\r' | awk '/MRUList/ {print $3}')
  wine reg query 'HKLM\Software\KELMO' /reg:64 >/dev/null 2>&1 && fail "install-package wrote the 64-bit view"
  [[ "$mru" == "Polska;Europa" ]] || fail "MRUList after installing: $mru"
  run 1 install-package Zla "$(winpath "$work/bad.ini")"; contains "no scrambled package configuration"
  run 2 install-package "a;b" "$(winpath "$cfg")"
  run 2 install-package "  " "$(winpath "$cfg")"
  run 2 remove-package ""
  run 0 install-package POLSKA "$(winpath "$cfg")"  # a name matches without regard to case
  mru=$(wine reg query 'HKLM\Software\KELMO\Atrybuty' /v MRUList /reg:32 | tr -d '\r' | awk '/MRUList/ {print $3}')
  [[ "$mru" == "Polska;Europa" ]] || fail "MRUList after installing POLSKA: $mru"
  run 0 remove-package polska
  mru=$(wine reg query 'HKLM\Software\KELMO\Atrybuty' /v MRUList /reg:32 | tr -d '\r' | awk '/MRUList/ {print $3}')
  [[ "$mru" == "Europa" ]] || fail "MRUList after removing: $mru"
  run 0 remove-package Europa
  wine reg query 'HKLM\Software\KELMO' /reg:32 >/dev/null 2>&1 && fail "keys left behind after the last package"
  run 1 remove-package Europa
fi

[[ $failures -eq 0 ]] && echo "tool tests passed" || { echo "$failures tool test(s) failed" >&2; exit 1; }
