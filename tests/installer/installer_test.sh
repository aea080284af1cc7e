#!/usr/bin/env bash
# The installer packages end to end, one flavour a run, in the fresh Wine
# prefix of scripts/wine-run.sh:
#
#   installer_test.sh machine|user WIN_BUILD_DIR INSTALLER_PROBE_EXE MAKE_SAMPLE_PACKAGE_EXE
#
#  1. builds the packages with scripts/build-msi.sh from the build's programs:
#     the project's version (twice) and a newer one; checks their summary,
#     list-of-apps properties and files;
#  2. snapshots the registry (installer_probe snapshot) and the folders the
#     package writes to;
#  3. registers atrybuty.exe by hand from the install folder (/RegServer or
#     /RegServerUser) to learn the keys and values it writes, then
#     unregisters it and checks that all is as before;
#  4. with the other flavour's registration present, the package refuses to
#     install, by its launch condition;
#  5. installs the package (msiexec /i /qn): the files are there, byte for
#     byte as packed and stripped, and the registry holds exactly the keys and
#     values the server's own registration writes, beside Windows Installer's
#     records of the product;
#  6. installs a sample map package with the installed atrybuty-tool.exe and,
#     for the machine flavour, creates the object from a VBScript host: the
#     installed server shows the dialog "Zmiana atrybutów linii - Polska",
#     which the probe closes, and the server leaves. Wine's COM does not read
#     HKCU\Software\Classes, so the per-user flavour checks its keys only: its
#     object cannot be created under Wine;
#  7. installs a rebuilt package of the same version over it, then the newer
#     package: each replaces the one installed (one product left, same files
#     and keys), and the older package refuses to install over the newer one;
#  8. removes the map package, uninstalls (msiexec /x /qn) and checks that
#     the registry and the folders are as they were before.
#
# Every Windows program runs under `timeout`, inside the harness's own bound.
set -euo pipefail

flavour=$1
win=$(realpath "$2")
probe=$3
sample=$4
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
case $flavour in
  machine) regserver=/RegServer; unregserver=/UnregServer; other=/RegServerUser; unother=/UnregServerUser ;;
  user) regserver=/RegServerUser; unregserver=/UnregServerUser; other=/RegServer; unother=/UnregServer ;;
  *) echo "usage: installer_test.sh machine|user WIN_BUILD_DIR PROBE SAMPLE" >&2; exit 2 ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'echo "FAIL ($flavour): line $LINENO: $BASH_COMMAND" >&2' ERR
start=$SECONDS

step() { echo "== [$((SECONDS - start))s] $*"; }
fail() { echo "FAIL ($flavour): $*" >&2; exit 1; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# A Windows program, bounded; its output without carriage returns. The output
# goes through a file: a server the program starts (COM activation) inherits
# its output and would hold a pipe open until it ends.
run() {
  local rc=0
  timeout -k 5 120 wine "$@" >"$work/output" 2>&1 || rc=$?
  tr -d '\r' <"$work/output"
  return $rc
}
probe() { run "$probe" "$@"; }
snapshot() { probe snapshot "$(winpath "$1")" >/dev/null || fail "registry snapshot"; }
# A C:\ path of the prefix as a Linux path.
unixpath() { local p=${1#[Cc]:\\}; printf '%s/drive_c/%s' "$WINEPREFIX" "${p//\\//}"; }
# The folders that installing may create or fill, and the packages Windows
# Installer keeps (in its own folder, which it makes on first use).
list_files() {
  local top=() d
  for d in "Program Files" "Program Files (x86)" "$userlocal" windows/Installer; do
    [[ -e "$WINEPREFIX/drive_c/$d" ]] && top+=("$d")
  done
  (cd "$WINEPREFIX/drive_c" && find "${top[@]}" -mindepth 1 -path "$userlocal/Temp" -prune -o -print | LC_ALL=C sort)
}
# What one snapshot has that another lacks.
added() { LC_ALL=C comm -13 "$1" "$2"; }
removed() { LC_ALL=C comm -23 "$1" "$2"; }
# Windows Installer's records of installed products, as against ours.
bookkeeping='^HK(LM|CU)(64|32) Software\\(Classes\\Installer|Microsoft\\Windows\\CurrentVersion\\(Uninstall|Installer)|Microsoft\\Installer)(\\| |$)'
ours() { grep -Ev "$bookkeeping" || true; }
theirs() { grep -E "$bookkeeping" || true; }
expect_same() {  # LABEL EXPECTED ACTUAL
  if ! diff -u "$2" "$3" >"$work/diff"; then
    cat "$work/diff" >&2
    fail "$1"
  fi
}

step "building the packages"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt")
newer=${version%.*}.$((${version##*.} + 1))
"$root/scripts/build-msi.sh" --win "$win" --out "$work/msi" >/dev/null
"$root/scripts/build-msi.sh" --win "$win" --out "$work/msi" --version "$newer" >/dev/null
"$root/scripts/build-msi.sh" --win "$win" --out "$work/rebuilt" >/dev/null
msi="$work/msi/atrybuty-$version-$flavour.msi"
rebuilt="$work/rebuilt/atrybuty-$version-$flavour.msi"
newmsi="$work/msi/atrybuty-$newer-$flavour.msi"
[[ -f "$msi" && -f "$newmsi" ]] || fail "build-msi.sh did not write $msi and $newmsi"
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v p="$2" '$1 == p { print $2 }'; }
upgrade_code=$(property "$msi" UpgradeCode)
[[ "$upgrade_code" =~ ^\{[0-9A-F-]{36}\}$ ]] || fail "no UpgradeCode in $msi"
[[ "$(property "$newmsi" UpgradeCode)" == "$upgrade_code" ]] || fail "the newer package has another UpgradeCode"
[[ "$(property "$newmsi" ProductCode)" != "$(property "$msi" ProductCode)" ]] || fail "both versions have one ProductCode"
[[ "$(property "$msi" ProductVersion)" == "$version" ]] || fail "ProductVersion is not $version"
[[ "$(property "$rebuilt" ProductCode)" != "$(property "$msi" ProductCode)" ]] || fail "a rebuilt package has the same ProductCode"
msiinfo suminfo "$msi" | grep -qx 'Template: Intel;1045' || fail "not a 32-bit (Intel) Polish package: $(msiinfo suminfo "$msi" | grep Template)"
msiinfo suminfo "$msi" | grep -qx "Title: Atrybuty $version (.*)" || fail "summary $(msiinfo suminfo "$msi" | grep Title)"
# The list of apps: the programs' icon, a contact, no "Modify".
[[ "$(property "$msi" ARPPRODUCTICON)" == atrybuty.ico && "$(property "$msi" ARPNOMODIFY)" == 1 &&
   -n "$(property "$msi" ARPCONTACT)" ]] || fail "list-of-apps properties: $(msiinfo export "$msi" Property | grep ARP)"
msiinfo extract "$msi" Icon.atrybuty.ico | cmp -s - "$root/win32/resources/atrybuty.ico" || fail "the package's icon is not atrybuty.ico"
for v in "$version" "$newer"; do
  msiextract -C "$work/packed-$v" "$work/msi/atrybuty-$v-$flavour.msi" >/dev/null
  [[ $(find "$work/packed-$v" -type f | wc -l) -eq 3 ]] || fail "the $v package holds other than 3 files"
  for f in atrybuty.exe atrybuty-tool.exe; do
    packed=$(find "$work/packed-$v" -name "$f")
    [[ -n "$packed" ]] || fail "the $v package holds no $f"
    ! i686-w64-mingw32-objdump -h "$packed" | grep -q '\.debug_' || fail "$f in the $v package is not stripped"
    # The field's programs: 32-bit, for 32-bit and 64-bit Windows.
    file "$packed" | grep -q 'PE32 executable .*Intel 80386' || fail "$f in the $v package: $(file -b "$packed")"
  done
  cmp -s "$(find "$work/packed-$v" -name Podrecznik.txt)" <(printf '\xEF\xBB\xBF'; sed 's/\r*$/\r/' "$root/docs/podrecznik.md") ||
    fail "Podrecznik.txt in the $v package is not docs/podrecznik.md in UTF-8 with a BOM and Windows line ends"
done

folder=$(probe install-folder "$flavour")
ufolder=$(unixpath "$folder")
localappdata=$(probe install-folder user)
userlocal=$(unixpath "${localappdata%\\Programs\\Atrybuty}")
userlocal=${userlocal#"$WINEPREFIX/drive_c/"}
echo "install folder: $folder"

if [[ $flavour == machine ]]; then
  # Wine's script host registers its own type library whenever it runs,
  # rewriting some interfaces' keys: once before the snapshot, so that the
  # host run below finds them as they are and changes nothing.
  echo 'WScript.Echo "ready"' >"$work/ready.vbs"
  out=$(run cscript //nologo "$(winpath "$work/ready.vbs")") || true
  [[ "$out" == *ready* ]] || fail "Wine's cscript does not run: $out"
fi

step "snapshot before"
snapshot "$work/before.txt"
list_files >"$work/files-before.txt"
[[ ! -e "$ufolder" ]] || fail "$folder exists before installing"
grep -q '^HKLM64 Software\\Classes\\CLSID ' "$work/before.txt" || fail "the snapshot misses HKLM\\Software\\Classes"

step "the server's own registration, $regserver, from $folder"
made=()
d=$ufolder
while [[ ! -d "$d" ]]; do made+=("$d"); d=$(dirname "$d"); done
mkdir -p "$ufolder"
cp "$win/win32/atrybuty.exe" "$ufolder/atrybuty.exe"
run "$folder\\atrybuty.exe" "$regserver" /s || fail "atrybuty.exe $regserver"
snapshot "$work/reference.txt"
run "$folder\\atrybuty.exe" "$unregserver" /s || fail "atrybuty.exe $unregserver"
rm "$ufolder/atrybuty.exe"
for d in "${made[@]}"; do rmdir "$d"; done
snapshot "$work/unregistered.txt"
expect_same "$unregserver leaves the registry as it was" "$work/before.txt" "$work/unregistered.txt"
added "$work/before.txt" "$work/reference.txt" >"$work/expected.txt"
[[ -z "$(removed "$work/before.txt" "$work/reference.txt")" ]] || fail "$regserver removed keys"
# The registration seen from a host: the class's server in both views.
hive=$([[ $flavour == machine ]] && echo HKLM || echo HKCU)
for view in 64 32; do
  grep -qxF "$hive$view Software\\Classes\\CLSID\\{3A555EAA-9C52-47AE-A5C8-7AD95406AE9D}\\LocalServer32 |  = sz:\"$folder\\atrybuty.exe\"" \
    "$work/expected.txt" || fail "$regserver wrote no LocalServer32 in the $view-bit view of $hive"
done
[[ -z "$(theirs <"$work/expected.txt")" ]] || fail "$regserver wrote Windows Installer keys"

# msiexec /i PACKAGE refused by the rule whose property the log shows set
# (a line that begins with the text given). Wine's msiexec writes its log through two handles, which
# now and then overwrite each other's lines: a refusal, which changes
# nothing, is tried again until the log is whole.
refused() {  # MSI LABEL LOG-LINE-START
  local rc attempt
  for attempt in 1 2 3; do
    rc=0
    run msiexec /i "$(winpath "$1")" /qn /l*v "$(winpath "$work/$2.log")" || rc=$?
    # ERROR_INSTALL_FAILURE (1603), of which a Linux exit status keeps the low byte.
    [[ $rc -eq $((1603 & 255)) ]] || fail "msiexec ($2): exit code $rc, not 1603's $((1603 & 255))"
    tr -d '\r' <"$work/$2.log" | start=$3 awk 'index($0, ENVIRON["start"]) == 1 { found = 1 } END { exit !found }' && return 0
  done
  fail "the refusal is not the $2 rule's: no \"$3\" in the log"
}

step "refused beside the other flavour's registration ($other)"
mkdir -p "$work/other"
cp "$win/win32/atrybuty.exe" "$work/other/atrybuty.exe"
run "$(winpath "$work/other/atrybuty.exe")" "$other" /s || fail "atrybuty.exe $other"
refused "$msi" other-flavour "Property(S): OTHERFLAVOUR = \"$(winpath "$work/other/atrybuty.exe")"
run "$(winpath "$work/other/atrybuty.exe")" "$unother" /s || fail "atrybuty.exe $unother"
# Wine does not log the condition's message: the package must carry it.
msiinfo export "$msi" LaunchCondition | grep -q "^Installed OR NOT OTHERFLAVOUR"$'\t'"Atrybuty sa juz zainstalowane" ||
  fail "no launch condition with a message for the other flavour"
probe related "$upgrade_code" >"$work/related.txt" || fail "installer_probe related"
[[ ! -s "$work/related.txt" ]] || fail "installed beside the other flavour: $(cat "$work/related.txt")"
snapshot "$work/other-gone.txt"
expect_same "the other flavour's registration is gone" "$work/before.txt" "$work/other-gone.txt"

install() {  # MSI LABEL
  local rc=0
  run msiexec /i "$(winpath "$1")" /qn || rc=$?
  [[ $rc -eq 0 ]] || fail "msiexec /i $2: exit code $rc"
}

check_installed() {  # VERSION SNAPSHOT
  for f in atrybuty.exe atrybuty-tool.exe Podrecznik.txt; do
    [[ -f "$ufolder/$f" ]] || fail "$folder\\$f is not installed"
    cmp -s "$ufolder/$f" "$(find "$work/packed-$1" -name "$f")" || fail "$f differs from the file packed in $1"
  done
  snapshot "$2"
  [[ -z "$(removed "$work/before.txt" "$2" | ours)" ]] || { removed "$work/before.txt" "$2" | ours >&2; fail "installing removed keys"; }
  added "$work/before.txt" "$2" | ours >"$work/actual.txt"
  expect_same "the package writes the registration of atrybuty.exe $regserver" "$work/expected.txt" "$work/actual.txt"
  added "$work/before.txt" "$2" | theirs >"$work/records.txt"
  [[ -s "$work/records.txt" ]] || fail "no record of the installed product"
  # The list of apps' entry (Wine's Windows Installer writes no DisplayIcon
  # for ARPPRODUCTICON; the package's Icon table is checked above).
  for value in "Publisher = sz:KELMO" "Contact = sz:KELMO" "NoModify = dword:1" "DisplayVersion = sz:$1"; do
    awk -F' [|] ' -v v="$value" '$1 ~ /Uninstall.[{][0-9A-F-]+[}]$/ && $2 == v { found = 1 } END { exit !found }' \
      "$work/records.txt" || fail "the list of apps lacks $value"
  done
  probe related "$upgrade_code" >"$work/related.txt" || fail "installer_probe related"
  [[ $(wc -l <"$work/related.txt") -eq 1 ]] || { cat "$work/related.txt" >&2; fail "not exactly one product installed"; }
  [[ "$(cut -d' ' -f2 "$work/related.txt")" == "$1" ]] || fail "installed version $(cat "$work/related.txt"), not $1"
}

step "msiexec /i $(basename "$msi") /qn"
install "$msi" "$version"
check_installed "$version" "$work/installed.txt"

step "a sample map package, installed with the installed tool"
run "$sample" "$(winpath "$work/sample")" >/dev/null || fail "make-sample-package"
# Where the 32-bit map component of a 64-bit Windows keeps its data.
data="$WINEPREFIX/drive_c/Program Files (x86)/Common Files/Microsoft Shared/Datamap/Data"
made=()
d=$data
while [[ ! -d "$d" ]]; do made+=("$d"); d=$(dirname "$d"); done
mkdir -p "$data"
datafiles=()
for f in "$work/sample/data/"*; do
  cp "$f" "$data/"
  datafiles+=("$data/$(basename "$f")")
done
out=$(run "$folder\\atrybuty-tool.exe" install-package Polska "$(winpath "$work/sample/config/polska.cfg")") ||
  fail "atrybuty-tool install-package: $out"
echo "$out"
[[ "$out" == *'Package "Polska" installed'* ]] || fail "install-package said: $out"

if [[ $flavour == machine ]]; then
  step "the object from a VBScript host, and its dialog"
  out=$(run cscript //nologo "$(winpath "$here/create_object.vbs")") || true
  echo "$out"
  [[ "$out" == *ATRYBUTY-INSTALLED-OK* ]] || fail "the VBScript host did not finish"
  probe close-dialog Polska "$folder\\atrybuty.exe" || fail "the installed server's dialog (see above)"
fi

step "the map package removed with the installed tool"
out=$(run "$folder\\atrybuty-tool.exe" remove-package Polska) || fail "atrybuty-tool remove-package: $out"
rm -f "${datafiles[@]}"
for d in "${made[@]}"; do rmdir "$d"; done
# remove-package deletes the package's key, the package list and, with the
# last package, the keys that only held them: all that follows compares with
# the first snapshot exactly.
snapshot "$work/package-removed.txt"
added "$work/installed.txt" "$work/package-removed.txt" >"$work/left.txt"
removed "$work/installed.txt" "$work/package-removed.txt" >>"$work/left.txt"
[[ ! -s "$work/left.txt" ]] || { cat "$work/left.txt"; fail "remove-package left keys behind (above)"; }

step "the same version rebuilt: msiexec /i $(basename "$rebuilt") /qn"
firstcode=$(cut -d' ' -f1 "$work/related.txt")
install "$rebuilt" "$version (rebuilt)"
check_installed "$version" "$work/reinstalled.txt"
[[ "$(cut -d' ' -f1 "$work/related.txt")" == "$(property "$rebuilt" ProductCode)" ]] ||
  fail "the rebuilt package did not replace $firstcode: $(cat "$work/related.txt")"

step "upgrade: msiexec /i $(basename "$newmsi") /qn"
install "$newmsi" "$newer"
check_installed "$newer" "$work/upgraded.txt"

step "downgrade refused: msiexec /i $(basename "$msi") /qn"
newcode=$(cut -d' ' -f1 "$work/related.txt")
refused "$msi" downgrade "Property(S): WIX_DOWNGRADE_DETECTED = $newcode"
probe related "$upgrade_code" >"$work/related.txt" || fail "installer_probe related"
[[ "$(cat "$work/related.txt")" == "$newcode $newer" ]] ||
  fail "after the refused downgrade: $(cat "$work/related.txt")"

step "msiexec /x $(basename "$newmsi") /qn"
rc=0
run msiexec /x "$(winpath "$newmsi")" /qn || rc=$?
[[ $rc -eq 0 ]] || fail "msiexec /x: exit code $rc"
[[ ! -e "$ufolder" ]] || fail "$folder is left: $(ls -A "$ufolder")"
list_files >"$work/files-after.txt"
expect_same "the folders are as before installing" "$work/files-before.txt" "$work/files-after.txt"
snapshot "$work/after.txt"
# Windows Installer's own containers stay once made (as on any Windows,
# where they always exist); no product, feature, component or upgrade code
# of ours may be left in them.
containers='^HK(LM|CU)(64|32) Software\\(Classes\\Installer|Microsoft\\Installer|Microsoft\\Windows\\CurrentVersion\\Installer)(\\(Features|Products|UpgradeCodes|Components|Patches|UserData(\\S-1-5-[0-9-]+(\\(Components|Products|Patches))?)?))?$'
added "$work/before.txt" "$work/after.txt" | grep -Ev "$containers" >"$work/left.txt" || true
# Wine's Windows Installer deletes each key that uninstalling leaves empty,
# up the path, so an empty system key that held only our keys goes too (the
# 32-bit view's CLSID key of a fresh prefix; never empty on Windows): such
# keys, empty before, may be missing.
removed "$work/before.txt" "$work/after.txt" >"$work/gone.txt"
while IFS= read -r line; do
  if [[ "$line" == *" | "* ]] || grep -qF -e "$line\\" -e "$line | " "$work/before.txt"; then
    echo "-$line" >>"$work/left.txt"
  else
    echo "(an empty key, deleted by Wine's Windows Installer: $line)"
  fi
done <"$work/gone.txt"
: >"$work/nothing.txt"
expect_same "the registry is as before installing" "$work/nothing.txt" "$work/left.txt"
probe related "$upgrade_code" >"$work/related.txt" || fail "installer_probe related"
[[ ! -s "$work/related.txt" ]] || fail "still installed: $(cat "$work/related.txt")"

step "passed"
