"""Times the programs of bench/programs with the console runner beside their
Python 3 twins (and yabasic twins, where yabasic is installed) and prints the
work per unit net of start-up with the ratios, then the scale checks.
Started by compare.sh, which finds or builds the runner; see README.md.

    compare.py [--check] RUNNER WINDOW PROGRAMS_FOLDER [NAME...]

NAME is a workload, a check, or a group of them (core, data, database,
scale); all of them when none is named. --check times nothing: it runs each
program and its twins once at a small count and checks that they agree (a
test does this, so that the programs keep working as the language changes).
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
    args = sys.argv[1:]
    check_only = args[:1] == ["--check"]
    if check_only:
        args = args[1:]
    runner, window, programs = (os.path.abspath(a) for a in args[:3])
    if not os.access(runner, os.X_OK):
        print("no console runner at %s" % runner, file=sys.stderr)
        return 2
    groups = {g.key for g in GROUPS} | {"scale"}
    known = groups | {w.name for w in WORKLOADS} | {c.name for c in CHECKS}
    names = set(args[3:]) or groups
    if names - known:
        print("unknown: %s; known: %s" % (" ".join(sorted(names - known)), " ".join(sorted(known))), file=sys.stderr)
        return 2
    yabasic = shutil.which("yabasic") if os.environ.get("YABASIC", "1") != "0" else None
    work = tempfile.mkdtemp(prefix="vell-bench-")
    try:
        shutil.copytree(programs, work, dirs_exist_ok=True)
        bench = Bench(runner, window if os.access(window, os.X_OK) else None, yabasic, work, check_only)
        if not check_only:
            print_header(yabasic)
        status = run_groups(bench, names)
        status |= run_checks(bench, names)
        if check_only:
            print("the programs and their twins %s" % ("agree" if status == 0 else "disagree (see above)"))
        else:
            print("Load average at the end: %s." % load_average())
        return status
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
