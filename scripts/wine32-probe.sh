#!/usr/bin/env bash
# Exits 0 when this machine can run 32-bit Windows programs under Wine. Some kernels are built
# without 32-bit emulation: the 32-bit Wine loader is installed but cannot be executed
# ("Exec format error"). Then this prints why and exits 1, and the Wine suites skip their 32-bit
# checks (the 32-bit programs are still built). Exits 2 when the loader is not installed at all:
# that is a set-up fault, not a property of the machine.
loader=/usr/lib/wine/wine
if [ ! -e "$loader" ]; then
  echo "the 32-bit Wine loader $loader is not installed (install-deps.sh windows)"
  exit 2
fi
"$loader" --version > /dev/null 2>&1
status=$?
if [ "$status" -eq 126 ]; then
  echo "this machine's kernel cannot execute 32-bit programs ($loader: Exec format error)"
  exit 1
fi
exit 0
