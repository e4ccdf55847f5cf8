#!/usr/bin/python3
"""Waits until a running Qt program shows a label with the given text, read over AT-SPI.

Usage: wait-for-label.py TEXT [SECONDS]

The program must run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on the same session bus. Exits 0
once a label (or any other object) of that name is on screen, 1 when the time runs out; then the
texts it did see are printed.
"""
import sys
import time

import pyatspi


def names(accessible, depth=0):
    """Every name in the tree under one accessible object."""
    if accessible is None or depth > 40:
        return
    try:
        if accessible.name:
            yield accessible.name
        children = list(accessible)
    except Exception:  # an object that went away while it was read
        return
    for child in children:
        yield from names(child, depth + 1)


def main():
    text = sys.argv[1]
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) > 2 else 30)
    seen = set()
    while time.monotonic() < deadline:
        seen = set()
        for app in pyatspi.Registry.getDesktop(0):
            seen.update(names(app))
        if text in seen:
            print(f"found: {text!r}")
            return 0
        time.sleep(0.5)
    print(f"not found: {text!r}; seen: {sorted(seen)!r}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
