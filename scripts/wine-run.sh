#!/usr/bin/env bash
# Runs one shell command against Windows programs under Wine, in a fresh,
# throwaway Wine prefix inside the build folder and a private virtual display.
#
#   wine-run.sh [--timeout SECS] [--arch win64|win32] [--keep] -- COMMAND [ARGS...]
#
# --arch win64 (the default) is a 64-bit Windows that runs 32-bit programs
# too (WoW64: "Program Files (x86)", the 32-bit registry view), as the field
# has it; win32 is a 32-bit Windows.
#
# COMMAND runs with WINEPREFIX, DISPLAY and WINEDEBUG=-all set, so it can call
# `wine prog.exe` as often as it needs (register a server, then start a test
# host). A booted template prefix is made once per build folder and copied for
# every run, which makes per-test isolation cheap. When the command ends, or
# the time runs out, the prefix's wineserver and everything it started are
# killed, Xvfb ends with xvfb-run, and the prefix is removed (unless --keep).
#
# Environment: ATRYBUTY_WINE_DIR (default: ./wine under the current folder)
# holds the template and the per-run prefixes.
set -euo pipefail

timeout_s=300
arch=win64
keep=0
while [[ $# -gt 0 ]]; do
  case "$1" in
    --timeout) timeout_s=$2; shift 2 ;;
    --arch) arch=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    --) shift; break ;;
    *) echo "wine-run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[[ $# -gt 0 ]] || { echo "usage: wine-run.sh [--timeout S] [--keep] -- COMMAND..." >&2; exit 2; }

root=$(realpath -m "${ATRYBUTY_WINE_DIR:-$PWD/wine}")
mkdir -p "$root"
export WINEDEBUG=-all
# No Mono or Gecko installers, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
[[ $arch == win64 || $arch == win32 ]] || { echo "wine-run.sh: --arch is win64 or win32" >&2; exit 2; }
export WINEARCH=$arch

# A prefix booted by another Wine (say before the 32-bit Wine was installed)
# no longer starts programs: templates are made again when Wine changes.
wine_id=$(dpkg-query -W -f='${Package}:${Architecture}=${Version} ' wine wine64 wine32:i386 2>/dev/null || true)
template="$root/template-$arch"

boot_template() {
  local tmp="$root/template.tmp.$$"
  rm -rf "$tmp"
  mkdir -p "$tmp"
  # Wine's long-lived helpers keep the first command's output open: boot with
  # output sent to a file. `wineserver -w` after wineboot avoids a race of two
  # service managers that can hang the first COM activation.
  WINEPREFIX="$tmp" timeout 300 xvfb-run -a sh -c '
      wineboot -i >"$WINEPREFIX/boot.log" 2>&1
      wineserver -w
      # Without a window manager every hidden or destroyed top-level window
      # waits out a timeout; unmanaged windows do not.
      wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >>"$WINEPREFIX/boot.log" 2>&1
      wine reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$WINEPREFIX/boot.log" 2>&1
      wineserver -w' || { WINEPREFIX="$tmp" wineserver -k 2>/dev/null || true; rm -rf "$tmp"; return 1; }
  # Debian's Wine does not find the fonts of fonts-wine (Tahoma, MS Sans
  # Serif, Marlett) where they are installed; in the prefix it does.
  if [[ -d /usr/share/wine/fonts ]]; then
    cp -n /usr/share/wine/fonts/* "$tmp/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  echo "$wine_id" >"$tmp/wine-id"
  mv "$tmp" "$template"
}

(
  flock 9
  if [[ -f "$template/system.reg" && "$(cat "$template/wine-id" 2>/dev/null)" != "$wine_id" ]]; then
    rm -rf "$template"
  fi
  [[ -f "$template/system.reg" ]] || boot_template
) 9>"$root/template.lock"

prefix=$(mktemp -d "$root/run.XXXXXX")
cleanup() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  if [[ $keep -eq 0 ]]; then rm -rf "$prefix"; else echo "wine-run.sh: kept $prefix" >&2; fi
}
trap cleanup EXIT
cp -a "$template/." "$prefix/"
export WINEPREFIX="$prefix"

# Every `wine` of the command runs as on a Polish Windows: ANSI code page 1250,
# so layer and package names with diacritics come through as package makers
# write them. Only Wine gets the locale; Linux tools would warn about it.
mkdir -p "$prefix/bin"
cat >"$prefix/bin/wine" <<'WRAP'
#!/bin/sh
LC_ALL=pl_PL.CP1250 exec /usr/bin/wine "$@"
WRAP
chmod +x "$prefix/bin/wine"
export PATH="$prefix/bin:$PATH"

set +e
# The inner shell ends the prefix's wineserver itself so that no Wine process
# outlives the display it was using.
timeout --kill-after=10 "$timeout_s" xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -c '"$@"; rc=$?; wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; exit $rc' wine-run "$@"
rc=$?
set -e
[[ $rc -eq 124 ]] && echo "wine-run.sh: timed out after ${timeout_s}s: $*" >&2
exit $rc
