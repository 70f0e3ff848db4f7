#!/usr/bin/env python3
"""Merges the benchmark programs' JSON lines into one file and prints the
table of figures against their targets.

Usage: report.py OUT.json IN.json..."""

import json
import platform
import sys
import time

TARGETS = [
    # figure, unit, target, whether lower is better than the target
    ("keystroke_p50_us", "µs", None),
    ("keystroke_p99_us", "µs", ("<", 1000)),
    ("keystroke_ratio_vs_bare", "×", ("<=", 1.5)),
    ("keystroke_growth_10000_vs_10", "×", ("<=", 1000)),  # linear: 1000× the text
    ("startup_ms", "ms", None),
    ("startup_bare_ms", "ms", None),
    ("startup_ratio_vs_bare", "×", ("<=", 1.2)),
    ("open_ms_max", "ms", None),
    ("open_ratio_vs_floor", "×", ("<=", 2)),
    ("rss_mb", "MB", None),
    ("rss_mb_bare", "MB", None),
    ("rss_growth_kb_100_cycles", "KB", ("<", 512)),
]


def meets(value, target):
    op, limit = target
    return value < limit if op == "<" else value <= limit


def main():
    out, inputs = sys.argv[1], sys.argv[2:]
    figures = {}
    for path in inputs:
        with open(path) as f:
            for line in f:
                line = line.strip()
                if line.startswith("{"):
                    figures.update(json.loads(line))
    figures["machine"] = {
        "date": time.strftime("%Y-%m-%d"),
        "cpus": __import__("os").cpu_count(),
        "system": platform.platform(),
    }
    with open(out, "w") as f:
        json.dump(figures, f, indent=2, ensure_ascii=False)

    missed = 0
    print(f"{'figure':32} {'value':>12}  target")
    for name, unit, target in TARGETS:
        value = figures.get(name)
        if value is None:
            print(f"{name:32} {'missing':>12}")
            missed += 1
            continue
        verdict = ""
        if target:
            ok = meets(value, target)
            missed += 0 if ok else 1
            verdict = f"{target[0]} {target[1]}  {'met' if ok else 'MISSED'}"
        print(f"{name:32} {value:10.2f} {unit:2}  {verdict}")
    print(f"\nwritten: {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
