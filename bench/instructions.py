#!/usr/bin/env python3
"""Instructions per lookup, counted by callgrind, and the ratios that matter.

Instructions do not depend on what else the machine does: on a shared, noisy machine they tell a
real change from noise where times cannot (they do not see memory stalls, which the timed ratios
of bench/ratios.py do). Each kind of lookup runs twice, for two counts: the difference in
instructions over the difference in count is the cost of one lookup, without the set-up.

usage: bench/instructions.py build/bench/nls_lookup_cost
"""
import re
import subprocess
import sys

RATIOS = [
    # (what, numerator, denominator, target)
    ("database hit / catalogue hit", "database", "catalogue", ""),
    ("manager hit / catalogue hit", "manager", "catalogue", ""),
    ("charset-checked hit / catalogue hit", "checked", "catalogue", ""),
    ("converted hit / unconverted hit", "converted", "checked", "<= 1.5"),
    ("hit in a chain's third catalogue / database hit", "chain-third", "database", "<= 3"),
    ("miss through a chain of three / catalogue miss", "miss-chain-third", "miss-catalogue",
     "<= 3"),
    ("C hit on a handle / database hit", "c-handle", "database", "<= 1.2"),
    ("C hit, current domain / manager hit", "c-manager", "manager", "<= 1.2"),
]


def instructions(program, kind, count):
    run = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                          program, kind, str(count)], capture_output=True, text=True, check=True)
    return int(re.search(r"Collected : (\d+)", run.stderr).group(1))


def main():
    program = sys.argv[1]
    kinds = sorted({k for _, a, b, _ in RATIOS for k in (a, b)})
    cost = {k: (instructions(program, k, 40000) - instructions(program, k, 20000)) / 20000
            for k in kinds}
    print(f"{'ratio (instructions)':50} {'value':>7}  target")
    for what, a, b, target in RATIOS:
        print(f"{what:50} {cost[a] / cost[b]:7.2f}  {target}")
    print()
    for kind in kinds:
        print(f"{kind:20} {cost[kind]:8.0f} instructions per lookup")


if __name__ == "__main__":
    main()
