#!/usr/bin/env python3
"""Start-up time: process start to the first paint of the start-up window,
for the program and for a bare Qt program with an empty window of the same
size, started alternately so that a noisy machine affects both alike.

Usage: startup.py PROGRAM_PROBE BARE_PROBE [RUNS]
Prints one JSON object with the figures."""

import json
import statistics
import subprocess
import sys
import time


def start_once(probe):
    before = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    out = subprocess.run([probe], capture_output=True, text=True, timeout=60, check=True).stdout
    line = [l for l in out.splitlines() if l.startswith("{")][-1]
    figures = json.loads(line)
    return (figures["painted_ns"] - before) / 1e6, figures["rss_kb"]


def main():
    program, bare = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    start_once(program)  # fill the page cache and the font cache first
    start_once(bare)
    program_ms, bare_ms, program_rss, bare_rss = [], [], [], []
    for _ in range(runs):
        ms, rss = start_once(program)
        program_ms.append(ms)
        program_rss.append(rss)
        ms, rss = start_once(bare)
        bare_ms.append(ms)
        bare_rss.append(rss)
    p, b = statistics.median(program_ms), statistics.median(bare_ms)
    print(json.dumps({
        "startup_ms": p,
        "startup_bare_ms": b,
        "startup_ratio_vs_bare": p / b,
        "startup_rss_mb": statistics.median(program_rss) / 1024,
        "rss_mb_bare": statistics.median(bare_rss) / 1024,
    }))


if __name__ == "__main__":
    main()
