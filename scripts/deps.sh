#!/usr/bin/env bash
# Makes sure the Debian packages the build and the tests need are present.
# As root it installs what is missing; otherwise it prints the one apt-get
# line to run and fails.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-x86-64-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  mingw-w64-i686-dev mingw-w64-tools
  wine wine64 wine32:i386 libwine-dev fonts-wine
  libcli11-dev nlohmann-json3-dev
  xvfb xauth
  clang libclang-rt-14-dev llvm
  msitools wixl file libmsi-dev libglib2.0-dev
  locales
)

# Wine runs the Windows programs as on a Polish Windows (scripts/wine-run.sh):
# its Linux locale must exist for command lines and file names to carry
# Polish letters.
polish_locale_missing() { ! locale -a 2>/dev/null | grep -qix 'pl_PL.cp1250'; }

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if [[ ${#missing[@]} -eq 0 ]] && ! polish_locale_missing; then exit 0; fi

if [[ $(id -u) -ne 0 ]]; then
  echo "Missing Debian packages or the Polish locale. As root, run:" >&2
  [[ ${#missing[@]} -eq 0 ]] || echo "  dpkg --add-architecture i386 && apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  echo "  localedef -i pl_PL -f CP1250 pl_PL.CP1250" >&2
  exit 1
fi

if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  # 32-bit Wine runs the 32-bit programs and hosts the field uses.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if polish_locale_missing; then
  localedef -i pl_PL -f CP1250 pl_PL.CP1250 2>/dev/null || localedef -i pl_PL -f CP1250 pl_PL.CP1250
fi
