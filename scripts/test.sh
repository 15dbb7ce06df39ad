#!/usr/bin/env bash
# Builds everything and runs every test: the Linux unit tests (CTest), then the Windows server
# and the installer under Wine. Does all set-up on a fresh Debian 12 machine (as root).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/install-deps.sh windows

cmake --preset default
cmake --build --preset default
ctest --preset default

export ARMOCALC_CLI="$root/build/default/armocalc"
status=0
for suite in interface/windows/tests/run.sh setup/tests/run.sh; do
  if [ -f "$suite" ]; then
    echo "== $suite"
    bash "$suite" || status=1
  fi
done
exit $status
