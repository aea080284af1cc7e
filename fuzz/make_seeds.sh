#!/usr/bin/env bash
# Writes the binary seed inputs of the fuzz targets below OUT_DIR (one folder
# per target), so that no binary file is kept in the repository.
#   fuzz/make_seeds.sh OUT_DIR
# Its printf formats build one byte from its two hex digits.
# shellcheck disable=SC2059
set -euo pipefail
out=${1:?usage: make_seeds.sh OUT_DIR}
mkdir -p "$out/record_fuzz" "$out/unscramble_fuzz" "$out/profile_fuzz" "$out/layer_table_fuzz" \
  "$out/journal_fuzz" "$out/position_fuzz" "$out/colour_argument_fuzz"

# zeros FILE SIZE: a file of SIZE zero bytes.
zeros() { head -c "$2" /dev/zero >"$1"; }
# put FILE OFFSET BYTE...: overwrites bytes (given in hex) from OFFSET on.
put() {
  local file=$1 offset=$2; shift 2
  local b
  for b in "$@"; do
    printf "\\x$b" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
    offset=$((offset + 1))
  done
}
# scramble IN OUT: byte i XOR ((i + 1) * 0xB5) mod 256.
scramble() {
  local i=0 b
  : >"$2"
  for b in $(od -An -v -tu1 "$1"); do
    i=$((i + 1))
    printf "\\x$(printf %02x $((b ^ ((i * 0xB5) & 0xFF))))" >>"$2"
  done
}

r=$out/record_fuzz
# A record at 0x100 (PL 01, PH 00): thickness 3, style 2, colour FF 80 00.
zeros "$r/record.dat" 400
put "$r/record.dat" $((0x139)) 01 00
put "$r/record.dat" $((0x10D)) 03 02 00 ff 80 00
# Both pointer bytes zero: no record.
zeros "$r/no_record.dat" 400
# Just long enough for the pointer, which points past the end.
zeros "$r/short_record.dat" $((0x13B))
put "$r/short_record.dat" $((0x139)) 02 00
# One byte too short for the pointer.
zeros "$r/too_short.dat" $((0x13A))
# The record's last byte is the file's last byte (base 0x300).
zeros "$r/exact_end.dat" $((0x300 + 19))
put "$r/exact_end.dat" $((0x139)) 03 00
put "$r/exact_end.dat" $((0x30D)) 01 01 00 12 34 56

# Described files (first byte FF): a record beyond 64 KiB, at 0x1_0500.
printf '\xff\x05\x01\x03\x02\x00\x12\x34\x56\x01' >"$r/described_far.dat"
printf '\xff\x00\x0f\x07\x4d\x00\xff\xff\xff\x02' >"$r/described_1mb.dat"

# Journal lines as the component writes them, and a forged one.
printf '2026-12-08T10:11:12Z\tPolska\tGranice\tC:\\\\Data\\\\GRANICE.DAT\t1000E:05>06 1000F:1E>1E 10011:80>12 10012:00>34 10013:80>56' \
  >"$out/journal_fuzz/apply.txt"
printf '2026-12-08T10:11:12Z\t-\t-\tC:\\\\x.txt\t1:41>42 2:41>42 3:41>42 4:41>42 5:41>42 6:41>42' >"$out/journal_fuzz/forged.txt"
printf '50E' >"$out/position_fuzz/record.txt"
printf '800E' >"$out/position_fuzz/high.txt"
printf '#12AB56' >"$out/colour_argument_fuzz/web.txt"
printf '16777215' >"$out/colour_argument_fuzz/decimal.txt"

u=$out/unscramble_fuzz
# A configuration with a Polish layer name in code page 1250, and its
# scrambled form as packages ship it.
printf '[Global]\r\nMapCount=1\r\n[Map 1]\r\nLayerName=\xafegluga \x9cr\xf3dl\xb9dowa\r\nMapName=ZEGLUGA.DAT\r\n' \
  >"$out/layer_table_fuzz/cp1250.ini"
cp "$out/layer_table_fuzz/cp1250.ini" "$u/cp1250.ini"
scramble "$u/cp1250.ini" "$u/cp1250.cfg"
# Past 256 bytes the key repeats.
head -c 600 /dev/zero >"$u/zeros.cfg"

# A NUL inside a value ends it.
printf '[S]\nk=ab\0cd\n' >"$out/profile_fuzz/nul.ini"
