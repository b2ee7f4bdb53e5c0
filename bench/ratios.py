#!/usr/bin/env python3
"""Runs a benchmark program once and prints the ratios that matter, from that one run.

usage: bench/ratios.py build/bench/nls_catalog_bench [benchmark options]
"""
import json
import re
import subprocess
import sys

PAIRS = [
    # (what, slower, faster, target)
    ("dgettext / hash lookup, 10,000", "BM_Dgettext/10000", "BM_HashLookup/10000", ">= 3"),
    ("dgettext / hash lookup, 100,000", "BM_Dgettext/100000", "BM_HashLookup/100000", ">= 3"),
    ("dgettext / binary search, 10,000", "BM_Dgettext/10000", "BM_BinaryChop/10000", ""),
    ("dgettext / binary search, 100,000", "BM_Dgettext/100000", "BM_BinaryChop/100000", ""),
    ("load / plain read, 1 MB", "BM_Load", "BM_PlainRead", "<= 1.5"),
    ("real hit: nls / bare inline probe", "BM_RealHit", "BM_RealBareProbe", "<= 1.3"),
    ("real hit, charset checked / bare probe", "BM_RealCheckedHit", "BM_RealBareProbe", "<= 1.3"),
    ("real hit, converted / plain", "BM_RealConvertedHit", "BM_RealHit", "<= 1.5"),
    ("real, short messages: dgettext / nls", "BM_ShortDgettext", "BM_ShortHit", ">= 3"),
    ("real miss: non-ASCII / ASCII", "BM_MissNonAscii", "BM_MissAscii", "<= 2"),
    ("ngettext hit / gettext hit", "BM_FormsNgettextHit", "BM_FormsGettextHit", "<= 1.5"),
    ("pgettext hit / gettext hit", "BM_FormsPgettextHit", "BM_FormsGettextHit", "<= 1.3"),
    ("system-dependent hit / plain hit", "BM_SystemDependentHit", "BM_SystemPlainHit", ""),
    ("manager gettext hit / bare inline probe", "BM_ManagerHit", "BM_RealBareProbe", "<= 1.3"),
    ("database hit / bare inline probe", "BM_DatabaseHit", "BM_RealBareProbe", "<= 1.3"),
    ("hit in a chain's third catalogue / first", "BM_ChainThirdHit", "BM_DatabaseHit", "<= 3"),
    ("miss through a chain of three / one catalogue", "BM_ChainThirdMiss", "BM_MissAscii", "<= 3"),
    ("C hit on a handle / database gettext hit", "BM_CDatabaseHit", "BM_DatabaseHit", "<= 1.2"),
    ("C hit, current domain / manager gettext", "BM_CManagerHit", "BM_ManagerHit", "<= 1.2"),
]

SCALING = [
    # (what, more threads, fewer threads, target): lookups per second, all threads together
    ("manager hits: 2 threads / 1 thread", "BM_ManagerHitThreads/real_time/threads:2",
     "BM_ManagerHitThreads/real_time/threads:1", ">= 1.7"),
]

TIME_UNITS_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def medians(program, options, repetitions=3):
    """Runs `program` once and returns ({name: median record}, [error texts]).

    A record holds cpu_ns, the median CPU time in nanoseconds (for a benchmark that times itself,
    its manual time), beside the benchmark's own fields and counters. Names lose the suffixes of
    a fixed iteration count and of manual time ("/iterations:50/manual_time").
    """
    out = subprocess.run([program, "--benchmark_format=json",
                          f"--benchmark_repetitions={repetitions}",
                          "--benchmark_report_aggregates_only=true"] + options,
                         check=True, capture_output=True, text=True).stdout
    records, errors = {}, []
    for b in json.loads(out)["benchmarks"]:
        manual = b["run_name"].endswith("/manual_time")
        name = re.sub(r"(/iterations:\d+)?(/manual_time)?$", "", b["run_name"])
        if b.get("error_occurred"):
            errors.append(f"{name}: {b.get('error_message', 'error')}")
        elif b.get("aggregate_name") == "median":
            time = b["real_time"] if manual else b["cpu_time"]
            b["cpu_ns"] = time * TIME_UNITS_NS[b.get("time_unit", "ns")]
            records[name] = b
    return records, sorted(set(errors))


def main():
    records, errors = medians(sys.argv[1], sys.argv[2:])
    print(f"{'ratio':40} {'value':>8}  target")
    for what, a, b, target in PAIRS:
        if a in records and b in records:
            print(f"{what:40} {records[a]['cpu_ns'] / records[b]['cpu_ns']:8.2f}  {target}")
        else:
            print(f"{what:40} {'n/a':>8}  {target}")
    # Throughput, higher is better: lookups per second of all threads together.
    for what, a, b, target in SCALING:
        if a in records and b in records:
            value = records[a]["items_per_second"] / records[b]["items_per_second"]
            print(f"{what:40} {value:8.2f}  {target}")
        else:
            print(f"{what:40} {'n/a':>8}  {target}")
    for error in errors:
        print("skipped:", error)


if __name__ == "__main__":
    main()
