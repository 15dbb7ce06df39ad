#!/usr/bin/env bash
# Installs what interface/windows/tests/run.sh needs on Debian 12: the MinGW-w64 cross compilers,
# 32- and 64-bit Wine, CMake, Python 3 and the ru_RU.UTF-8 locale. Safe to run again.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
  exec sudo "$0" "$@"
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update
apt-get install -y --no-install-recommends g++-mingw-w64-x86-64 g++-mingw-w64-i686 \
  mingw-w64-tools wine wine64 wine32:i386 locales cmake make python3

if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  sed -i 's/^# *ru_RU.UTF-8/ru_RU.UTF-8/' /etc/locale.gen
  locale-gen
fi
