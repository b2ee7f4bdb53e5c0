#!/usr/bin/env python3
"""Runs nls_peer_bench once, with repetitions, and prints this library against glibc's dgettext
and Boost.Locale as ratios of medians from that one run.

usage: bench/peer_ratios.py build/bench/nls_peer_bench [--repetitions N] [benchmark options]
"""
import sys

from ratios import medians

CATALOGUES = ["real", "generated"]

# (what, measure, peer library, target); each ratio is the peer's time over this library's.
SPEED = [
    ("present lookup: dgettext / nls", "present", "glibc", ">= 3"),
    ("present lookup: Boost.Locale / nls", "present", "boost", ">= 3"),
    ("present lookup: Boost gettext() / nls", "present", "boost_string", ""),
    ("absent lookup: dgettext / nls", "absent", "glibc", ">= 3"),
    ("absent lookup: Boost.Locale / nls", "absent", "boost", ">= 3"),
    ("absent lookup: Boost gettext() / nls", "absent", "boost_string", ""),
    ("load: Boost.Locale / nls", "load", "boost", ">= 10 (real)"),
    ("load: glibc / nls", "load", "glibc", ""),
]

MEMORY = [
    ("memory / file: nls", "nls", "held_per_file_byte"),
    ("memory / file: Boost.Locale", "boost", "held_per_file_byte"),
    ("memory / file: glibc (mapped file)", "glibc", "held_per_file_byte"),
    ("memory / file: glibc after lookups", "glibc", "held_after_lookups_per_file_byte"),
]


def cell(value, form):
    return f"{'n/a':>10}" if value is None else f"{value:{form}}"


def main():
    args = sys.argv[1:]
    repetitions = 5
    if len(args) >= 2 and args[0] == "--repetitions":
        repetitions, args = int(args[1]), args[2:]
    records, errors = medians(args[0], args[1:], repetitions)

    def time(measure, library, catalogue):
        r = records.get(f"{measure}/{library}/{catalogue}")
        return r["cpu_ns"] if r else None

    def ratio(measure, peer, catalogue):
        ours, theirs = time(measure, "nls", catalogue), time(measure, peer, catalogue)
        return theirs / ours if ours and theirs else None

    def counter(library, catalogue, name):
        r = records.get(f"load/{library}/{catalogue}")
        return r.get(name) if r else None

    head = "".join(f"{c:>10}" for c in CATALOGUES)
    print(f"medians of {repetitions} repetitions, CPU time (glibc loads: in child processes)\n")
    print(f"{'ratio (higher: nls faster)':42}{head}  target")
    for what, measure, peer, target in SPEED:
        cells = "".join(cell(ratio(measure, peer, c), "10.2f") for c in CATALOGUES)
        print(f"{what:42}{cells}  {target}")
    print(f"\n{'memory held per catalogue':42}{head}  target")
    for what, library, name in MEMORY:
        cells = "".join(cell(counter(library, c, name), "10.4f") for c in CATALOGUES)
        print(f"{what:42}{cells}  {'<= 1 + small' if library == 'nls' else ''}")
    excess = [None if counter("nls", c, "heap_bytes") is None else
              counter("nls", c, "heap_bytes") - counter("nls", c, "file_bytes")
              for c in CATALOGUES]
    print(f"{'nls bytes beyond the file':42}" + "".join(cell(e, "10.0f") for e in excess))
    print(f"{'file bytes':42}" + "".join(
        cell(counter("nls", c, "file_bytes"), "10.0f") for c in CATALOGUES))

    print(f"\n{'median time, ns':42}{head}")
    for measure in ["present", "absent", "load"]:
        for library in ["nls", "glibc", "boost", "boost_string"]:
            cells = [time(measure, library, c) for c in CATALOGUES]
            if any(v is not None for v in cells):
                name = f"{measure}/{library}"
                print(f"{name:42}" + "".join(cell(v, "10.0f") for v in cells))
    for error in errors:
        print("skipped:", error)


if __name__ == "__main__":
    main()
