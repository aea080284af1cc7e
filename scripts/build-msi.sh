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
# The programs are stripped copies; README.md goes in as README.txt with
# Windows line ends. Prints the paths of the packages it built.
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

if ! command -v wixl >/dev/null; then
  echo "build-msi.sh: wixl is missing (Debian package wixl; scripts/deps.sh installs it)" >&2
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
sed 's/\r*$/\r/' "$root/README.md" >"$stage/README.txt"

for flavour in machine user; do
  case $flavour in
    machine) scope=perMachine ;;
    user) scope=perUser ;;
  esac
  msi="$out/atrybuty-$version-$flavour.msi"
  rm -f "$msi"
  # wixl finds the files (Source="atrybuty.exe", ...) in the folder it runs in.
  (cd "$stage" && wixl -a x86 -D Scope="$scope" -D Version="$version" -o "$msi" "$root/installer/atrybuty.wxs")
  echo "$msi"
done
