#!/usr/bin/env bash
# Builds the Windows installer packages of Atrybuty with wixl (msitools) from
# the Windows build's programs, in both flavours:
#
#   build-msi.sh [BUILD_DIR] [--win WIN_BUILD_DIR] [--out OUT_DIR] [--version X.Y.Z]
#
#   BUILD_DIR  the build folder (default: build); the programs come from
#              BUILD_DIR/win, the packages go to BUILD_DIR/msi:
#                atrybuty-<version>-machine.msi   for every user (administrator)
#                atrybuty-<version>-user.msi      for the current user only
#   --win      another Windows build folder (as ctest's tests use)
#   --out      another output folder
#   --version  another product version than the project's (tests build a
#              newer package to check upgrades)
#
# The programs are stripped copies; the Polish handbook docs/podrecznik.md
# goes in as Podrecznik.txt (UTF-8 with a byte order mark, which Notepad
# needs, and Windows line ends). wixl's packages are then finished with what
# it cannot express: the summary's title and language (installer/set_summary.c,
# built here with libmsi) and a same-version upgrade (msibuild). Prints the
# paths of the packages it built.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=build
win=
out=
version=
while [[ $# -gt 0 ]]; do
  case "$1" in
    --win) win=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    -*) echo "build-msi.sh: unknown option $1" >&2; exit 2 ;;
    *) build=$1; shift ;;
  esac
done
win=$(realpath -m "${win:-$build/win}")
out=$(realpath -m "${out:-$build/msi}")

for command in wixl msibuild pkg-config; do
  if ! command -v $command >/dev/null; then
    echo "build-msi.sh: $command is missing (scripts/deps.sh installs it)" >&2
    exit 1
  fi
done
if ! pkg-config --exists libmsi-1.0; then
  echo "build-msi.sh: libmsi is missing (Debian package libmsi-dev; scripts/deps.sh installs it)" >&2
  exit 1
fi
strip=i686-w64-mingw32-strip
server="$win/win32/atrybuty.exe"
tool="$win/tool/atrybuty-tool.exe"
for f in "$server" "$tool"; do
  [[ -f "$f" ]] || { echo "build-msi.sh: $f is missing: build the Windows programs first (make win)" >&2; exit 1; }
done

if [[ -z "$version" ]]; then
  # The CMake project's version: from the build's cache, else from the source.
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt" 2>/dev/null || true)
  [[ -n "$version" ]] || version=$(sed -n 's/^project(Atrybuty VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
fi
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "build-msi.sh: bad version \"$version\"" >&2; exit 1; }

mkdir -p "$out"
stage=$(mktemp -d "$out/.stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
# strip stamps the time into the PE header; the programs' own time keeps the
# packages of one build alike.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(stat -c %Y "$server")} "$strip" -o "$stage/atrybuty.exe" "$server"
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(stat -c %Y "$tool")} "$strip" -o "$stage/atrybuty-tool.exe" "$tool"
{ printf '\xEF\xBB\xBF'; sed 's/\r*$/\r/' "$root/docs/podrecznik.md"; } >"$stage/Podrecznik.txt"
cp "$root/win32/resources/atrybuty.ico" "$stage/atrybuty.ico"
cc -O2 -o "$stage/set_summary" "$root/installer/set_summary.c" $(pkg-config --cflags --libs libmsi-1.0)

for flavour in machine user; do
  case $flavour in
    machine) scope=perMachine; audience="dla wszystkich uzytkownikow" ;;
    user) scope=perUser; audience="dla biezacego uzytkownika" ;;
  esac
  msi="$out/atrybuty-$version-$flavour.msi"
  rm -f "$msi"
  # wixl finds the files (Source="atrybuty.exe", ...) in the folder it runs in.
  (cd "$stage" && wixl -a x86 -D Scope="$scope" -D Version="$version" -o "$msi" "$root/installer/atrybuty.wxs")
  # The upgrade row with its highest version inclusive (msidbUpgradeAttributes
  # VersionMaxInclusive, 0x200, beside MigrateFeatures, 1): a package of the
  # installed version replaces it. Its key columns cannot be updated in place.
  upgrade_code=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "UpgradeCode" { print $2 }')
  msibuild "$msi" \
    -q "DELETE FROM \`Upgrade\` WHERE \`ActionProperty\` = 'WIX_UPGRADE_DETECTED'" \
    -q "INSERT INTO \`Upgrade\` (\`UpgradeCode\`, \`VersionMax\`, \`Attributes\`, \`ActionProperty\`) VALUES ('$upgrade_code', '$version', 513, 'WIX_UPGRADE_DETECTED')"
  "$stage/set_summary" "$msi" "Atrybuty $version ($audience)" "Atrybuty: zmiana wygladu linii warstw map" "Intel;1045"
  echo "$msi"
done
