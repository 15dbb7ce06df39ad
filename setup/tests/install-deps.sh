#!/usr/bin/env bash
# Installs what the installer's Wine verification needs (Debian); does nothing when all is there.
set -euo pipefail

packages=(xvfb xauth imagemagick python3)
commands=(xvfb-run xauth import python3)
missing=()
for i in "${!commands[@]}"; do
  command -v "${commands[$i]}" >/dev/null 2>&1 || missing+=("${packages[$i]}")
done
if ! command -v wine >/dev/null 2>&1 || [ ! -x /usr/lib/wine/wine64 ]; then
  echo "wine (with wine32 and wine64) is missing: see the platform notes for its installation" >&2
  exit 1
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "installing: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  echo "the locale ru_RU.UTF-8 is missing: see the platform notes" >&2
  exit 1
fi
echo "installer test dependencies are present"
