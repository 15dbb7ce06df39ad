#!/usr/bin/env python3
"""Differences between two snapshots of a Wine prefix's registry files.

    regdiff.py BEFORE_DIR AFTER_DIR

Each folder holds copies of system.reg, user.reg and userdef.reg. Prints one line per key or
value that was added ("+") or removed ("-"), as "FILE [KEY]" or "FILE [KEY] NAME=DATA", sorted.
Keys that Wine itself rewrites on its own (devices, network cards, its own settings) are left out.
"""

import re
import sys
from pathlib import Path

FILES = ("system.reg", "user.reg", "userdef.reg")

# Keys Wine updates by itself while programs run (hardware detection, the desktop process).
NOISE = re.compile(
    r"^(System\\\\CurrentControlSet\\\\(Control\\\\(Class|DeviceClasses|Video)|Enum|Services)"
    r"|System\\\\ControlSet\d+"
    r"|Hardware\\\\"
    r"|Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\NetworkCards"
    r"|Software\\\\Wine\\\\"
    r"|Volatile Environment"
    r"|Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer)",
    re.IGNORECASE)

HEADER = re.compile(r"^\[(.*)\](?: \d+)?$")


def entries(path):
    """The keys and values of one .reg file as a set of strings."""
    result = set()
    if not path.exists():
        return result
    key = None
    pending = ""
    for raw in path.read_text(encoding="utf-8", errors="replace").splitlines():
        line = pending + raw.strip()
        pending = ""
        if line.endswith("\\") and key is not None and not line.startswith("["):
            pending = line[:-1]  # a hex value continued on the next line
            continue
        header = HEADER.match(line)
        if header:
            key = header.group(1)
            if not NOISE.match(key):
                result.add(f"{path.name} [{key}]")
            continue
        if not line or line.startswith((";", "#", "WINE REGISTRY")) or key is None:
            continue
        if not NOISE.match(key):
            result.add(f"{path.name} [{key}] {line}")
    return result


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    before_dir, after_dir = Path(sys.argv[1]), Path(sys.argv[2])
    before = set().union(*(entries(before_dir / name) for name in FILES))
    after = set().union(*(entries(after_dir / name) for name in FILES))
    for line in sorted(after - before):
        print("+ " + line)
    for line in sorted(before - after):
        print("- " + line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
