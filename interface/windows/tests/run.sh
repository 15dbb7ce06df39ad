#!/usr/bin/env bash
# Builds the automation server Armocalc.dll for i686 and x86_64 with MinGW-w64 and checks it
# under Wine, in a fresh prefix with Russian regional settings (decimal comma, code page 1251):
#   - both DLLs register with the matching regsvr32 and depend on system DLLs only;
#   - the native client (armocalc_server_client.exe) checks the registry entries, the type
#     library, the class factory and DllCanUnloadNow, IDispatch, the v-table entries, the
#     decimal separator read from the registry, and unregistration;
#   - VBScript scripts (code page 1251, Cyrillic method names) run under the matching 32- and
#     64-bit cscript: behaviour.vbs, and the cases of cases.jsonl, whose results, by-reference
#     values, errors and report files are compared with the Linux CLI's for the same inputs;
#   - armocalc.exe, the command line on Windows, depends on system DLLs only and answers a few
#     calls (Cyrillic and non-ANSI arguments, a comma number, a report, JSON Lines) exactly as
#     the Linux CLI does.
# On a kernel that cannot execute 32-bit programs (scripts/wine32-probe.sh) the i686 programs
# are built and inspected but not run: their checks are reported as skipped, with the reason.
# Ends with "N passed, M failed"; the exit status is 0 only when nothing failed. With
# ARMOCALC_TEST_LOG set, every check's line is kept in that file.
#
# Usage: interface/windows/tests/run.sh [ARMOCALC_CLI]
#   ARMOCALC_CLI (argument or environment): the Linux armocalc binary.
#   ARMOCALC_JOBS (default 2), ARMOCALC_WINDOWS_BUILD_TYPE (default Release).
# Needs the packages of install-deps.sh.
set -u -o pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../../.." && pwd)
cli=${1:-${ARMOCALC_CLI:-}}
jobs=${ARMOCALC_JOBS:-2}
build_type=${ARMOCALC_WINDOWS_BUILD_TYPE:-Release}

if [ -z "$cli" ] || [ ! -x "$cli" ]; then
  echo "usage: $0 PATH/TO/armocalc   (or set ARMOCALC_CLI)" >&2
  exit 2
fi
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")

wine32=$(command -v wine || true)
wine64=$(command -v wine64 || true)
[ -n "$wine64" ] || wine64=/usr/lib/wine/wine64
if [ -z "$wine32" ] || [ ! -x "$wine64" ] || ! command -v python3 > /dev/null; then
  echo "Wine (32 and 64 bit) and python3 are needed: run $here/install-deps.sh" >&2
  exit 2
fi

work=$(mktemp -d /tmp/armocalc-windows-tests.XXXXXX)
results=$work/results.txt
: > "$results"
started=$(date +%s)

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8

cleanup() {
  wineserver -k > /dev/null 2>&1 || true
  if [ -n "${ARMOCALC_TEST_LOG:-}" ]; then cp "$results" "$ARMOCALC_TEST_LOG"; fi
  rm -rf "$work"
}
trap cleanup EXIT

record() { echo "$1" | tee -a "$results"; }
step() { echo "== $*"; }

# Keeps the PASS/FAIL/SKIP lines of a step's output, marked with `label`; prints the failures.
collect() {
  local label=$1 log=$2
  tr -d '\r' < "$log" | grep -E '^(PASS|FAIL|SKIP) ' |
    sed -E "s/^(PASS|FAIL|SKIP) /\1 $label: /" >> "$results"
  tr -d '\r' < "$log" | grep -E '^FAIL ' | sed -E "s/^FAIL /FAIL $label: /"
  local count
  count=$(tr -d '\r' < "$log" | grep -c '^PASS ')
  [ "$count" -eq 0 ] || echo "   $count passed"
}

# Runs a step whose output carries PASS/FAIL/SKIP lines; a crash, a time-out or a script that
# stops before its end ("END") is a failure of its own.
run_checks() {
  local label=$1 want_end=$2 limit=$3
  shift 3
  local log=$work/log-${label// /-}.txt
  timeout "$limit" "$@" > "$log" 2>&1
  local rc=$?
  collect "$label" "$log"
  if [ "$rc" -ne 0 ] && ! tr -d '\r' < "$log" | grep -q '^FAIL '; then
    record "FAIL $label: exit status $rc"
    tail -n 20 "$log"
  fi
  if [ "$want_end" = end ] && ! tr -d '\r' < "$log" | grep -qx 'END'; then
    record "FAIL $label: stopped before its end"
    tail -n 20 "$log"
  fi
}

# Records whether the binary imports only the DLLs that `allowed` (an extended regex) matches.
imports_system_dlls_only() {
  local arch=$1 label=$2 binary=$3 allowed=$4 imports foreign
  imports=$(LC_ALL=C "$arch-w64-mingw32-objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p' |
            tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
  foreign=$(echo "$imports" | tr ' ' '\n' | grep -vxE "$allowed" || true)
  if [ -n "$imports" ] && [ -z "$foreign" ]; then
    record "PASS $arch: $label imports system DLLs only ($imports)"
  else
    record "FAIL $arch: $label imports $foreign"
  fi
}

# --- Build -------------------------------------------------------------------------------------
declare -A built
for arch in i686 x86_64; do
  step "building Armocalc.dll for $arch ($build_type)"
  dir=$root/build/mingw-$arch
  if cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
       -DCMAKE_BUILD_TYPE="$build_type" > "$work/configure-$arch.log" 2>&1 &&
     cmake --build "$dir" --target armocalc_server armocalc_server_client armocalc_cli -j "$jobs" \
       > "$work/build-$arch.log" 2>&1; then
    record "PASS $arch: Armocalc.dll, the test client and armocalc.exe build"
    built[$arch]=1
  else
    record "FAIL $arch: the build failed"
    grep -E 'error|Error' "$work/configure-$arch.log" "$work/build-$arch.log" | head -n 30
    continue
  fi
  imports_system_dlls_only "$arch" Armocalc.dll "$dir/Armocalc.dll" \
    'KERNEL32.DLL|MSVCRT.DLL|OLEAUT32.DLL|OLE32.DLL|ADVAPI32.DLL|USER32.DLL|'
  imports_system_dlls_only "$arch" armocalc.exe "$dir/armocalc.exe" \
    'KERNEL32.DLL|MSVCRT.DLL|SHELL32.DLL|USER32.DLL|ADVAPI32.DLL|'
  exports=$(LC_ALL=C "$arch-w64-mingw32-objdump" -p "$dir/Armocalc.dll" |
            grep -cE '^\s*\[ *[0-9]+\] (DllCanUnloadNow|DllGetClassObject|DllRegisterServer|DllUnregisterServer)$')
  if [ "$exports" -eq 4 ]; then
    record "PASS $arch: the four server entry points are exported undecorated"
  else
    record "FAIL $arch: $exports of the four server entry points are exported"
  fi
  # The 32-bit binaries unwind exceptions by DWARF tables, where an entry of length 0 may hide a
  # function's real entry (see scripts/unwind-entries.py); the 64-bit ones use Windows' tables.
  if [ "$arch" = i686 ]; then
    if unwind=$(python3 "$root/scripts/unwind-entries.py" "$dir/Armocalc.dll" "$dir/armocalc.exe" \
                  "$dir/armocalc_server_client.exe"); then
      record "PASS $arch: the unwind tables hold no entry of length 0"
    else
      record "FAIL $arch: unwind tables: $(echo "$unwind" | grep -v ', none of length 0' | tr '\n' ' ')"
    fi
  fi
done

# A kernel without 32-bit emulation builds the i686 programs but cannot run them.
if [ -n "${built[i686]:-}" ]; then
  reason=$(bash "$root/scripts/wine32-probe.sh")
  case $? in
    0) ;;
    1) record "SKIP i686: not run, $reason"
       unset "built[i686]" ;;
    *) record "FAIL i686: $reason"
       unset "built[i686]" ;;
  esac
fi

# --- Wine prefix and registration ----------------------------------------------------------------
step "creating a fresh Wine prefix (ru_RU.UTF-8)"
timeout 300 "$wine64" wineboot -i > "$work/wineboot.log" 2>&1
timeout 120 "$wine64" wineserver -w > /dev/null 2>&1
tests_unix=$WINEPREFIX/drive_c/armocalc-tests
tests_win='C:\armocalc-tests'
mkdir -p "$tests_unix"

# Each platform's files and the matching Wine loader and system folder.
declare -A folder=([i686]=x86 [x86_64]=x64)
declare -A loader=([i686]=$wine32 [x86_64]=$wine64)
declare -A system=([i686]='C:\windows\syswow64' [x86_64]='C:\windows\system32')

for arch in i686 x86_64; do
  [ -n "${built[$arch]:-}" ] || continue
  mkdir -p "$tests_unix/${folder[$arch]}"
  cp "$root/build/mingw-$arch/Armocalc.dll" "$root/build/mingw-$arch/armocalc_server_client.exe" \
     "$root/build/mingw-$arch/armocalc.exe" "$tests_unix/${folder[$arch]}/"
  step "registering the $arch server with its regsvr32"
  if timeout 120 "${loader[$arch]}" "${system[$arch]}\\regsvr32.exe" /s \
       "$tests_win\\${folder[$arch]}\\Armocalc.dll" > "$work/regsvr32-$arch.log" 2>&1; then
    record "PASS $arch: regsvr32 registers Armocalc.dll"
  else
    record "FAIL $arch: regsvr32 failed"
    unset "built[$arch]"
  fi
done

# --- Expected values from the CLI; scripts in the prefix ------------------------------------------
step "asking the CLI for the expected results"
if ! python3 "$here/harness.py" generate "$here/cases.jsonl" "$cli" "$work" > "$work/generate.log" 2>&1; then
  record "FAIL the CLI's expected results: $(tail -n 1 "$work/generate.log")"
fi
cat "$here/lib.vbs" "$here/behaviour.vbs" > "$tests_unix/behaviour-run.vbs"
if [ -f "$work/cases.vbs" ]; then
  cat "$here/lib.vbs" "$work/cases.vbs" > "$tests_unix/cases-run.vbs"
fi

# --- Checks per platform --------------------------------------------------------------------------
for arch in i686 x86_64; do
  [ -n "${built[$arch]:-}" ] || continue
  win=${loader[$arch]}
  dir_win="$tests_win\\${folder[$arch]}"
  client="$dir_win\\armocalc_server_client.exe"
  dll="$dir_win\\Armocalc.dll"

  step "$arch: native client"
  run_checks "$arch client" no 600 "$win" "$client" all "$dll" "$dir_win"
  for separator in . ,; do
    run_checks "$arch separator $separator" no 120 "$win" "$client" separator "$dll" \
      "$dir_win" "$separator"
  done

  step "$arch: VBScript behaviour"
  run_checks "$arch behaviour.vbs" end 300 "$win" "${system[$arch]}\\cscript.exe" //nologo \
    "$tests_win\\behaviour-run.vbs" "$dir_win\\behaviour"

  if [ -f "$tests_unix/cases-run.vbs" ]; then
    step "$arch: cases compared with the CLI"
    run_checks "$arch cases.vbs" end 600 "$win" "${system[$arch]}\\cscript.exe" //nologo \
      "$tests_win\\cases-run.vbs" "$dir_win\\cases"
    tr -d '\r' < "$work/log-$arch-cases.vbs.txt" > "$work/cases-$arch.txt"
    if python3 "$here/harness.py" compare "$work" "$work/cases-$arch.txt" \
         "$tests_unix/${folder[$arch]}/cases" > "$work/compare-$arch.txt" 2>&1; then
      collect "$arch" "$work/compare-$arch.txt"
    else
      record "FAIL $arch: comparing with the CLI failed: $(tail -n 1 "$work/compare-$arch.txt")"
    fi
  fi
done

# --- The command line on Windows --------------------------------------------------------------------
# Runs armocalc.exe and the Linux CLI on the same arguments; their outputs must be equal. In each
# argument "@DIR@" stands for the folder of the run: the platform's own for each side.
same_as_linux() {
  local arch=$1 label=$2 input=$3
  shift 3
  local win_dir="$tests_win\\${folder[$arch]}\\cli" unix_dir="$work/linux-cli"
  local win_args=() unix_args=() arg
  for arg in "$@"; do
    win_args+=("${arg//@DIR@/$win_dir}")
    unix_args+=("${arg//@DIR@/$unix_dir}")
  done
  local win_out win_err linux_out linux_err
  win_out=$(printf '%s' "$input" | timeout 60 "${loader[$arch]}" \
            "$tests_win\\${folder[$arch]}\\armocalc.exe" "${win_args[@]}" 2> "$work/cli-err.txt"; echo "status $?")
  win_err=$(cat "$work/cli-err.txt")
  linux_out=$(printf '%s' "$input" | "$cli" "${unix_args[@]}" 2> "$work/cli-err.txt"; echo "status $?")
  linux_err=$(cat "$work/cli-err.txt")
  win_out=${win_out//"$win_dir"/@DIR@}
  linux_out=${linux_out//"$unix_dir"/@DIR@}
  if [ "$win_out" = "$linux_out" ] && [ "$win_err" = "$linux_err" ]; then
    record "PASS $arch armocalc.exe: $label"
  else
    record "FAIL $arch armocalc.exe: $label"
    printf 'Windows:\n%s\n%s\nLinux:\n%s\n%s\n' "$win_out" "$win_err" "$linux_out" "$linux_err" | head -n 30
  fi
}

mkdir -p "$work/linux-cli"
for arch in i686 x86_64; do
  [ -n "${built[$arch]:-}" ] || continue
  step "$arch: armocalc.exe"
  mkdir -p "$tests_unix/${folder[$arch]}/cli"
  same_as_linux "$arch" "--version" "" --version
  same_as_linux "$arch" "a Cyrillic call with a comma number" "" мтБетонB КлассБетона=27,5 Параметр=8
  same_as_linux "$arch" "Latin names and a verdict" "" mtProchnostB KlassArmaturnoyStali=3 \
    KlassBetona=25 N=0.5 M=0.1 Fv=10 Fn=10 av=0.05 an=0.05 h=0.5
  same_as_linux "$arch" "a misspelt method's hint" "" мтБетон КлассБетона=25
  same_as_linux "$arch" "a report under a name outside the ANSI code page" "" мтПрочностьB \
    КлассАрматурнойСтали=3 КлассБетона=25 N=0.5 M=0.1 Fв=10 Fн=10 ав=0.05 ан=0.05 h=0.5 \
    "--report=@DIR@/отчёт-α.txt"
  if cmp -s "$tests_unix/${folder[$arch]}/cli/отчёт-α.txt" "$work/linux-cli/отчёт-α.txt"; then
    record "PASS $arch armocalc.exe: the report file is the Linux CLI's"
  else
    record "FAIL $arch armocalc.exe: the report file differs from the Linux CLI's or is missing"
  fi
  same_as_linux "$arch" "JSON Lines" \
    $'{"method": "мтБетонB", "args": {"КлассБетона": "27,5"}}\n{"method": "mtBetnB"}\n' call
done

# --- Summary ---------------------------------------------------------------------------------------
echo
grep -E '^(FAIL|SKIP) ' "$results" || true
passed=$(grep -c '^PASS ' "$results")
failed=$(grep -c '^FAIL ' "$results")
skipped=$(grep -c '^SKIP ' "$results")
echo "Windows server checks under Wine took $(( $(date +%s) - started )) s; $skipped skipped."
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
