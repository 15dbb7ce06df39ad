#!/usr/bin/env bash
# Builds everything and runs every test: the Linux unit tests (CTest), then the automation
# server and the installer, cross-compiled with MinGW-w64, under Wine. Does all set-up on a
# fresh Debian 12 machine (as root).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh windows browser

cmake --preset default
cmake --build --preset default
ctest --preset default

export ARMOCALC_CLI="$root/build/default/armocalc"
status=0

echo "== Armocalc.dll under Wine"
bash interface/windows/tests/run.sh "$ARMOCALC_CLI" || status=1

echo "== SetupKelvorVBA under Wine"
# The server run above configured both MinGW build folders and built the DLLs in them.
if cmake --build build/mingw-i686 --target SetupKelvorVBA setup_probe setup_com_client -j 2 &&
   cmake --build build/mingw-x86_64 --target setup_com_client -j 2; then
  bash setup/tests/run.sh build/mingw-i686 build/mingw-x86_64 || status=1
else
  echo "the installer failed to build"
  status=1
fi
exit $status
