#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12 (run as root; idempotent).
#   install-deps.sh          native build, tests, benchmarks and the CLI
#   install-deps.sh windows  also the MinGW-w64 cross compilers, Wine and Xvfb
#   install-deps.sh browser  also headless Chromium and fonts (the browser test of the pictures)
# (both words may be given)
set -euo pipefail

native=(build-essential cmake libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
        libsimdjson-dev python3)
windows=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools wine wine64 wine32:i386
         locales xvfb xauth imagemagick python3)
browser=(chromium fonts-dejavu-core)

wants() {
  local word
  for word in "${requested[@]}"; do [ "$word" = "$1" ] && return 0; done
  return 1
}
requested=("$@")

missing() {
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || echo "$pkg"
  done
}

apt_install() {
  local todo
  todo=$(missing "$@")
  [ -z "$todo" ] && return 0
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $todo
}

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps.sh: run as root (apt-get)" >&2
  exit 1
fi

apt_install "${native[@]}"

if wants browser; then
  apt_install "${browser[@]}"
fi

if wants windows; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    apt-get update -qq
  fi
  apt_install "${windows[@]}"
  if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf8$'; then
    sed -i 's/^# *ru_RU.UTF-8/ru_RU.UTF-8/' /etc/locale.gen
    locale-gen >/dev/null
  fi
fi
