#!/usr/bin/env python3
"""Runs a benchmark program once and prints the ratios that matter, from that one run.

usage: bench/ratios.py build/bench/nls_catalog_bench
"""
import json
import subprocess
import sys

PAIRS = [
    # (what, slower, faster, target)
    ("dgettext / hash lookup, 10,000", "BM_Dgettext/10000", "BM_HashLookup/10000", ">= 3"),
    ("dgettext / hash lookup, 100,000", "BM_Dgettext/100000", "BM_HashLookup/100000", ">= 3"),
    ("dgettext / binary search, 10,000", "BM_Dgettext/10000", "BM_BinaryChop/10000", ""),
    ("dgettext / binary search, 100,000", "BM_Dgettext/100000", "BM_BinaryChop/100000", ""),
    ("load / plain read, 1 MB", "BM_Load", "BM_PlainRead", "<= 1.5"),
]


def main():
    program = sys.argv[1]
    out = subprocess.run([program, "--benchmark_format=json", "--benchmark_repetitions=3",
                          "--benchmark_report_aggregates_only=true"] + sys.argv[2:],
                         check=True, capture_output=True, text=True).stdout
    times = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            times[b["run_name"]] = b["cpu_time"]
    print(f"{'ratio':40} {'value':>8}  target")
    for what, a, b, target in PAIRS:
        if a in times and b in times:
            print(f"{what:40} {times[a] / times[b]:8.2f}  {target}")
        else:
            print(f"{what:40} {'n/a':>8}  {target}")


if __name__ == "__main__":
    main()
