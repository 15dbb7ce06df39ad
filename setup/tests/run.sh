#!/usr/bin/env bash
# Verifies the installer SetupKelvorVBA under Wine, in a fresh prefix on a virtual X display:
#   - silent install from a folder with the libraries and two stand-in workbook files: the files
#     land in the system folders (32- and 64-bit) and in XLSTART, `reg query` shows exactly the
#     class entries in both registry views and the user's value, the registry gains nothing else;
#   - clients of both bitnesses create the class from its identifier and call a method (needs the
#     real Armocalc.dll of that bitness; skipped with a message when it is not built);
#   - silent remove deletes all of it and leaves the registry and the files as they were before;
#   - install refuses while a window titled with "Excel" is open (lower case does not count),
#     a missing source file fails with its reason, a malformed command line is refused;
#   - the dialog: its controls and captions, a screenshot showing them, install and remove by
#     pressing its buttons, and the Excel warnings.
#
# Usage: setup/tests/run.sh [BUILD_I686 [BUILD_X86_64]]
#   BUILD_I686    build folder of the i686 toolchain with SetupKelvorVBA.exe, setup_probe.exe,
#                 setup_com_client.exe and Armocalc.dll (default: build/mingw-i686)
#   BUILD_X86_64  build folder of the x86_64 toolchain with Armocalc.dll and setup_com_client.exe
#                 (default: build/mingw-x86_64)
# Needs wine (32 and 64 bit), xvfb-run, ImageMagick's import and python3 (install-deps.sh).
# The installer is a 32-bit program: on a kernel that cannot execute 32-bit programs
# (scripts/wine32-probe.sh) the suite says so on a SKIP line and runs nothing.
# Ends with the line "N passed, M failed"; the exit status is non-zero when a check failed.
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build32="$(realpath -m "${1:-$root/build/mingw-i686}")"
build64="$(realpath -m "${2:-$root/build/mingw-x86_64}")"

if [ -z "${ARMOCALC_SETUP_XVFB:-}" ]; then
  export ARMOCALC_SETUP_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build32" "$build64"
fi

passed=0
failed=0
pass() { echo "PASS: $1"; passed=$((passed + 1)); }
fail() { echo "FAIL: $1"; failed=$((failed + 1)); }
skip() { echo "SKIP: $1"; }
check() {  # check DESCRIPTION COMMAND...
  local description="$1"
  shift
  if "$@"; then pass "$description"; else fail "$description"; fi
}

# --- texts and identifiers, from the sources ---
text_of() { sed -n "s/^inline constexpr std::string_view $1 = \"\(.*\)\";\$/\1/p" "$root/setup/texts.hpp"; }
id_of() { sed -n "s/^inline constexpr std::string_view $1 = \"\(.*\)\";\$/\1/p" "$root/runtime/identifiers.hpp"; }
TITLE="$(text_of kWindowTitle)"
FRAME="$(text_of kFrameCaption)"
LABEL="$(text_of kFolderLabel)"
INSTALL_CAPTION="$(text_of kInstallCaption)"
REMOVE_CAPTION="$(text_of kRemoveCaption)"
CLOSE_EXCEL="$(text_of kCloseExcel)"
INSTALLED="$(text_of kInstalled)"
CLSID="$(id_of kClsid)"
TYPELIB="$(id_of kTypeLibraryId)"
MESSAGE_TITLE="SetupKelvorVBA"

for program in SetupKelvorVBA.exe setup_probe.exe setup_com_client.exe; do
  if [ ! -f "$build32/$program" ]; then
    echo "FAIL: $build32/$program is not built"
    echo "0 passed, 1 failed"
    exit 1
  fi
done
# The installer is a 32-bit program: a kernel without 32-bit emulation cannot run it.
reason=$(bash "$root/scripts/wine32-probe.sh")
case $? in
  0) ;;
  1) skip "the installer is built but not run: $reason"
     echo "0 passed, 0 failed"
     exit 0 ;;
  *) fail "$reason"
     echo "0 passed, 1 failed"
     exit 1 ;;
esac
check "the installer's unwind tables hold no entry of length 0 (scripts/unwind-entries.py)" \
  python3 "$root/scripts/unwind-entries.py" "$build32/SetupKelvorVBA.exe"
if [ -z "$TITLE" ] || [ -z "$CLSID" ] || [ -z "$TYPELIB" ]; then
  echo "FAIL: texts or identifiers not found in the sources"
  echo "0 passed, 1 failed"
  exit 1
fi

# --- a fresh Wine prefix ---
scratch="$(mktemp -d /tmp/armocalc-setup.XXXXXX)"
export WINEPREFIX="$scratch/wine" WINEDEBUG=-all LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT
echo "Wine prefix $WINEPREFIX"
wineboot -i >/dev/null 2>&1
# Let Wine draw the window frames (there is no window manager on the virtual display).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w

drive_c="$WINEPREFIX/drive_c"
work="$scratch/work"
mkdir -p "$work"
winpath() { printf 'Z:%s' "${1//\//\\}"; }  # a Linux path as Wine sees it
wine32() { wine "$@"; }
wine64() { /usr/lib/wine/wine64 "$@"; }
probe() { wine32 "$drive_c/tools/setup_probe.exe" "$@"; }
setup() { wine32 'C:\kit\SetupKelvorVBA.exe' "$@"; }
sys64="$drive_c/windows/system32"
sys32="$drive_c/windows/syswow64"

# The installer folder: the libraries (real ones when built, else stand-ins) and the workbooks.
kit="$drive_c/kit"
mkdir -p "$kit/x64" "$drive_c/tools"
cp "$build32/SetupKelvorVBA.exe" "$kit/"
cp "$build32/setup_probe.exe" "$build32/setup_com_client.exe" "$drive_c/tools/"
have32=0
have64=0
if [ -f "$build32/Armocalc.dll" ]; then
  cp "$build32/Armocalc.dll" "$kit/Armocalc.dll"
  have32=1
else
  echo "stand-in 32-bit library" >"$kit/Armocalc.dll"
fi
if [ -f "$build64/Armocalc.dll" ] && [ -f "$build64/setup_com_client.exe" ]; then
  cp "$build64/Armocalc.dll" "$kit/x64/Armocalc.dll"
  cp "$build64/setup_com_client.exe" "$drive_c/tools/setup_com_client64.exe"
  have64=1
else
  echo "stand-in 64-bit library" >"$kit/x64/Armocalc.dll"
fi
printf 'stand-in workbook\r\n' >"$kit/xls.xls"
printf 'stand-in description\r\n' >"$kit/xls.txt"

# Excel's start-up folder of the tests (a Cyrillic path: the installer works in Unicode).
XLSTART_WIN='C:\Пользователь\Excel\XLSTART'
xlstart="$drive_c/Пользователь/Excel/XLSTART"
mkdir -p "$xlstart"

# --- helpers for the checks ---
snapshot_registry() {  # snapshot_registry DIR: the registry files once Wine has saved them
  wineserver -w
  mkdir -p "$1"
  cp "$WINEPREFIX"/*.reg "$1/"
}
snapshot_files() {  # the files of the prefix with their checksums, except Wine's own scratch
  (cd "$drive_c" && find . \( -path ./users -o -path ./windows/temp -o -path ./windows/logs \
    -o -path ./tools -o -path ./windows/Installer \) -prune -o -type f -print0 |
    sort -z | xargs -0 md5sum) >"$1"
}
# `reg query` prints in the console's code page and names the default value in the user's
# language: that name becomes "(Default)". (Wine must keep running in one locale: it rewrites the
# user's regional settings when a program starts in another.)
reg_query() {  # reg_query KEY VIEW: the key's tree as `reg query` shows it, blank lines dropped
  wine32 reg query "$1" /s "/reg:$2" 2>/dev/null | tr -d '\r' |
    LC_ALL=C sed -E '/^$/d; s/^    \([^)]*\)    REG_/    (Default)    REG_/'
}
key_exists() { wine32 reg query "$1" "/reg:$2" >/dev/null 2>&1; }
expected_class_tree() {
  local key="HKEY_CLASSES_ROOT\\CLSID\\$CLSID"
  printf '%s\n' \
    "$key" \
    "    (Default)    REG_SZ    KelvorVBA.ClassBrige" \
    "    AppID    REG_SZ    $CLSID" \
    "$key\\Implemented Categories" \
    "$key\\Implemented Categories\\{40FC6ED5-2438-11CF-A3DB-080036F12502}" \
    "$key\\InprocServer32" \
    "    (Default)    REG_SZ    C:\\windows\\system32\\Armocalc.dll" \
    "    ThreadingModel    REG_SZ    Apartment" \
    "$key\\ProgID" \
    "    (Default)    REG_SZ    KelvorVBA.ClassQorn" \
    "$key\\TypeLib" \
    "    (Default)    REG_SZ    $TYPELIB" \
    "$key\\VERSION" \
    "    (Default)    REG_SZ    1.0"
}
expected_registry_gain() {  # what an installation adds to the registry files, sorted
  local base
  for base in 'Software\\Classes\\CLSID' 'Software\\Classes\\Wow6432Node\\CLSID'; do
    local key="system.reg [$base\\\\$CLSID"
    printf '%s\n' \
      "+ $key]" \
      "+ $key] \"AppID\"=\"$CLSID\"" \
      "+ $key] @=\"KelvorVBA.ClassBrige\"" \
      "+ $key\\\\Implemented Categories\\\\{40FC6ED5-2438-11CF-A3DB-080036F12502}]" \
      "+ $key\\\\InprocServer32]" \
      "+ $key\\\\InprocServer32] \"ThreadingModel\"=\"Apartment\"" \
      "+ $key\\\\InprocServer32] @=\"C:\\\\windows\\\\system32\\\\Armocalc.dll\"" \
      "+ $key\\\\ProgID]" \
      "+ $key\\\\ProgID] @=\"KelvorVBA.ClassQorn\"" \
      "+ $key\\\\TypeLib]" \
      "+ $key\\\\TypeLib] @=\"$TYPELIB\"" \
      "+ $key\\\\VERSION]" \
      "+ $key\\\\VERSION] @=\"1.0\""
  done
  printf '%s\n' "+ user.reg [Software\\\\Qorn\\\\Armocalc] \"AppID\"=\"$CLSID\""
}
same_file() { cmp -s "$1" "$2"; }
no_file() {
  local path
  for path in "$@"; do [ ! -e "$path" ] || return 1; done
}
no_class_key() { ! key_exists "HKCR\\CLSID\\$CLSID" 32 && ! key_exists "HKCR\\CLSID\\$CLSID" 64; }
no_other_keys() {
  local key view
  for key in 'HKCR\KelvorVBA.ClassBrige' 'HKCR\KelvorVBA.ClassQorn' "HKCR\\TypeLib\\$TYPELIB"; do
    for view in 32 64; do
      if key_exists "$key" "$view"; then return 1; fi
    done
  done
}
last_line_is() { [ "$(tr -d '\r' <"$1" | tail -n 1)" = "$2" ]; }
log_has() { tr -d '\r' <"$1" | grep -qF -- "$2"; }
run_status() {  # run_status VAR COMMAND...: the exit status into VAR
  local -n status_var="$1"
  shift
  "$@"
  status_var=$?
}

# A stand-in for another program's top-level window, open until close_window.
window_pid=""
open_window() {
  rm -f "$work/ready" "$work/stop"
  probe window "$1" 120 "$(winpath "$work/ready")" "$(winpath "$work/stop")" &
  window_pid=$!
  local i
  for i in $(seq 1 150); do
    [ -f "$work/ready" ] && return 0
    sleep 0.2
  done
  return 1
}
close_window() {
  touch "$work/stop"
  [ -n "$window_pid" ] && wait "$window_pid"
  window_pid=""
}

# Decoys that no action may touch.
mkdir -p "$xlstart"
echo "the user's own workbook" >"$xlstart/Personal.xls"
wine32 reg add 'HKCU\Software\Qorn\Armocalc' /v Keep /d yes /f >/dev/null 2>&1
wine32 reg add 'HKCR\CLSID\{0A0B0C0D-1111-2222-3333-444455556666}' /ve /d decoy /f >/dev/null 2>&1

echo "== silent install"
snapshot_registry "$work/reg-before"
snapshot_files "$work/files-before"
check "the file snapshot sees the prefix" grep -q ' \./kit/xls\.xls$' "$work/files-before"
run_status status setup /install /xlstart "$XLSTART_WIN" /log "$(winpath "$work/install.log")"
check "install exits with 0" [ "$status" -eq 0 ]
check "install log ends with the result" last_line_is "$work/install.log" "result: 0 (success)"
check "install log holds the success message" log_has "$work/install.log" "message: $INSTALLED"
check "32-bit library in the 32-bit system folder" same_file "$kit/Armocalc.dll" "$sys32/Armocalc.dll"
check "64-bit library in the 64-bit system folder" same_file "$kit/x64/Armocalc.dll" "$sys64/Armocalc.dll"
check "workbook in XLSTART" same_file "$kit/xls.xls" "$xlstart/KelvorVBA.xls"
check "description in XLSTART\\Description" same_file "$kit/xls.txt" "$xlstart/Description/KelvorVBA.txt"
check "reg query: the class entries in the 32-bit view" \
  diff <(expected_class_tree) <(reg_query "HKCR\\CLSID\\$CLSID" 32)
check "reg query: the class entries in the 64-bit view" \
  diff <(expected_class_tree) <(reg_query "HKCR\\CLSID\\$CLSID" 64)
check "reg query: the user's value" diff <(printf '%s\n' 'HKEY_CURRENT_USER\Software\Qorn\Armocalc' \
  "    AppID    REG_SZ    $CLSID" '    Keep    REG_SZ    yes') <(reg_query 'HKCU\Software\Qorn\Armocalc' 64)
check "no ProgID key and no type-library key" no_other_keys
snapshot_registry "$work/reg-installed"
python3 "$here/regdiff.py" "$work/reg-before" "$work/reg-installed" >"$work/gain.txt" ||
  echo "regdiff.py failed" >>"$work/gain.txt"
check "the registry gains exactly the table's entries in both views" \
  diff <(expected_registry_gain | sort) <(sort "$work/gain.txt")

echo "== clients"
if [ "$have32" -eq 1 ]; then
  run_status status wine32 'C:\tools\setup_com_client.exe' "$(winpath "$work/client32.txt")"
  check "a 32-bit client creates the class from its CLSID and calls it" \
    grep -q "result 13\$" "$work/client32.txt"
  [ "$status" -eq 0 ] || cat "$work/client32.txt" 2>/dev/null
else
  skip "no 32-bit Armocalc.dll in $build32: the 32-bit client check needs the built library"
fi
if [ "$have64" -eq 1 ]; then
  run_status status wine64 'C:\tools\setup_com_client64.exe' "$(winpath "$work/client64.txt")"
  check "a 64-bit client creates the class from its CLSID and calls it" \
    grep -q "result 13\$" "$work/client64.txt"
  [ "$status" -eq 0 ] || cat "$work/client64.txt" 2>/dev/null
else
  skip "no 64-bit Armocalc.dll and client in $build64: the 64-bit client check needs them"
fi

echo "== silent remove"
run_status status setup /remove /xlstart "$XLSTART_WIN" /log "$(winpath "$work/remove.log")"
check "remove exits with 0" [ "$status" -eq 0 ]
check "remove log ends with the result" last_line_is "$work/remove.log" "result: 0 (success)"
check "libraries deleted" no_file "$sys32/Armocalc.dll" "$sys64/Armocalc.dll"
check "workbook, description and its folder deleted" no_file "$xlstart/Description"
check "the class key is gone from both views" no_class_key
snapshot_registry "$work/reg-removed"
python3 "$here/regdiff.py" "$work/reg-before" "$work/reg-removed" >"$work/removed-diff.txt" ||
  echo "regdiff.py failed" >>"$work/removed-diff.txt"
check "the registry is as before the installation" diff /dev/null "$work/removed-diff.txt"
snapshot_files "$work/files-removed"
check "the files are as before the installation" diff "$work/files-before" "$work/files-removed"

echo "== Excel running"
check "a window titled with \"Excel\" opens" open_window "Microsoft Excel - Книга1.xls"
run_status status setup /install /xlstart "$XLSTART_WIN" /log "$(winpath "$work/excel.log")"
close_window
check "install refuses while Excel runs (exit code 1)" [ "$status" -eq 1 ]
check "the refusal names its reason" log_has "$work/excel.log" "error: $CLOSE_EXCEL"
check "the refused install changed nothing" no_file "$sys32/Armocalc.dll"
check "a window titled \"excel\" in lower case opens" open_window "microsoft excel - book1"
run_status status setup /install /xlstart "$XLSTART_WIN" /log "$(winpath "$work/lower.log")"
close_window
check "a lower-case \"excel\" title does not count" [ "$status" -eq 0 ]
setup /remove /xlstart "$XLSTART_WIN"

echo "== failures"
mv "$kit/xls.txt" "$kit/xls.txt.away"
run_status status setup /install /xlstart "$XLSTART_WIN" /log "$(winpath "$work/missing.log")"
mv "$kit/xls.txt.away" "$kit/xls.txt"
check "a missing source file fails the install (exit code 2)" [ "$status" -eq 2 ]
check "the failure names the runtime error and the file" \
  log_has "$work/missing.log" "error: Run-time error '53': File not found (C:\\kit\\xls.txt"
check "what was copied before the failure stays" same_file "$kit/xls.xls" "$xlstart/KelvorVBA.xls"
check "no registration after the failure" no_class_key
setup /remove /xlstart "$XLSTART_WIN"
run_status status setup /instal /log "$(winpath "$work/bad.log")"
check "a malformed command line is refused (exit code 4)" [ "$status" -eq 4 ]
check "the log tells why" log_has "$work/bad.log" 'error: unknown switch "/instal"'

echo "== dialog"
wine_user="$(wine32 cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')"
default_xlstart="C:\\Documents and Settings\\$wine_user\\Application Data\\Microsoft\\Excel\\XLSTART"
setup &
gui=$!
check "the dialog opens" probe wait "$TITLE" 60
sleep 1
probe dump "$TITLE" "$(winpath "$work/controls.txt")"
check "the dialog shows its controls with their captions" diff \
  <(printf '%s\n' "Button	$FRAME" "Static	$LABEL" "Edit	$default_xlstart" \
    "Button	$INSTALL_CAPTION" "Button	$REMOVE_CAPTION") \
  <(tail -n +2 "$work/controls.txt" | cut -f 1,2)
check "the window title" [ "$(head -n 1 "$work/controls.txt" | cut -f 2)" = "$TITLE" ]
import -window root -depth 8 "$work/dialog.ppm"
cp "$work/dialog.ppm" "${ARMOCALC_SETUP_SHOT:-/dev/null}" 2>/dev/null
check "the screenshot shows the dialog and its controls" \
  python3 "$here/shot_check.py" "$work/dialog.ppm" "$work/controls.txt"
probe settext "$TITLE" "$XLSTART_WIN"
probe click "$TITLE" "$INSTALL_CAPTION"
probe answer "$MESSAGE_TITLE" 60 "$(winpath "$work/answer.txt")"
check "installing from the dialog reports success" grep -qF -- "$INSTALLED" "$work/answer.txt"
run_status status wait "$gui"
check "the dialog closes after the installation" [ "$status" -eq 0 ]
check "the dialog installed into the edited folder" same_file "$kit/xls.xls" "$xlstart/KelvorVBA.xls"
check "and registered the class" key_exists "HKCR\\CLSID\\$CLSID" 32

check "a window titled with \"Excel\" opens again" open_window "Microsoft Excel"
setup &
gui=$!
probe answer "$MESSAGE_TITLE" 60 "$(winpath "$work/warning.txt")"
check "the dialog warns at start while Excel runs" grep -qF -- "$CLOSE_EXCEL" "$work/warning.txt"
check "and opens anyway" probe wait "$TITLE" 30
probe settext "$TITLE" "$XLSTART_WIN"
probe click "$TITLE" "$INSTALL_CAPTION"
probe answer "$MESSAGE_TITLE" 60 "$(winpath "$work/refusal.txt")"
check "installing from the dialog is refused while Excel runs" \
  grep -qF -- "$CLOSE_EXCEL" "$work/refusal.txt"
sleep 1
check "the dialog stays open after the refusal" probe wait "$TITLE" 5
close_window
probe click "$TITLE" "$REMOVE_CAPTION"
check "removing from the dialog closes it" probe gone "$TITLE" 60
wait "$gui"
check "removing from the dialog deleted the files" \
  no_file "$xlstart/KelvorVBA.xls" "$sys32/Armocalc.dll" "$sys64/Armocalc.dll"
check "and the class key" no_class_key
check "the user's own workbook is still there" [ -f "$xlstart/Personal.xls" ]

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
