"""Times the programs of bench/programs with the console runner beside their
Python 3 twins (and yabasic twins, where yabasic is installed) and prints the
work per unit net of start-up with the ratios, then the scale checks.
Started by compare.sh, which finds or builds the runner; see README.md.

    compare.py RUNNER WINDOW PROGRAMS_FOLDER [NAME...]

NAME is a workload, a check, or a group of them (core, data, database,
scale); all of them when none is named.
"""

import os
import shutil
import subprocess
import sys
import tempfile

from compare_checks import CHECKS, run_checks
from compare_runs import PYTHON, RUNS, TARGET, Bench
from compare_workloads import GROUPS, WORKLOADS, run_groups


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def print_header(yabasic):
    python = subprocess.run([PYTHON, "--version"], capture_output=True, text=True).stdout.strip()
    print("Vell against %s (%s)%s." % (python, PYTHON, " and yabasic" if yabasic else ""))
    print("CPU seconds (user + system) per unit of work, net of start-up: medians of %d interleaved runs" % RUNS)
    print("of about %s s of work each; ± is the runs' median absolute deviation as a share of the net time;" % TARGET)
    print("op alone is the time per unit less that of the same loop with a trivial operation in its place.")
    print("Load average at the start: %s (%d processors)." % (load_average(), os.cpu_count()))
    print()


def main():
    runner, window, programs = sys.argv[1:4]
    groups = {g.key for g in GROUPS} | {"scale"}
    known = groups | {w.name for w in WORKLOADS} | {c.name for c in CHECKS}
    names = set(sys.argv[4:]) or groups
    if names - known:
        print("unknown: %s; known: %s" % (" ".join(sorted(names - known)), " ".join(sorted(known))), file=sys.stderr)
        return 2
    yabasic = shutil.which("yabasic") if os.environ.get("YABASIC", "1") != "0" else None
    work = tempfile.mkdtemp(prefix="vell-bench-")
    try:
        shutil.copytree(programs, work, dirs_exist_ok=True)
        bench = Bench(runner, window if os.access(window, os.X_OK) else None, yabasic, work)
        print_header(yabasic)
        status = run_groups(bench, names)
        status |= run_checks(bench, names)
        print("Load average at the end: %s." % load_average())
        return status
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
