"""The workloads that compare.py times: one program per workload in
bench/programs, NAME.vell with its twin NAME.py and, where yabasic has what
the workload needs, NAME.yab."""

import subprocess
import sys
from dataclasses import dataclass
from typing import Callable, Optional

from compare_runs import LIMIT, PYTHON, Failure, median_cpu, ratio, seconds, spread


@dataclass
class Group:
    key: str
    heading: str


@dataclass
class Workload:
    """name: the programs' name; group: the table it goes into; unit: what
    one unit of work is; first: the count that the calibration starts from,
    small enough to take seconds today; steps_per_unit: how many of the
    program's counted steps make a unit, step naming them when they are not
    whole units; base: the programs take "base" for the loop alone; yabasic:
    there is a yabasic twin; setup: run once in the scratch folder first."""

    name: str
    group: str
    unit: str
    first: int = 1
    steps_per_unit: int = 1
    step: str = "units"
    base: bool = False
    yabasic: bool = False
    setup: Optional[Callable] = None


def make_browse_data(bench):
    """browse.db for the browse workload, made once."""
    if "browse.db" not in bench.prepared:
        subprocess.run([PYTHON, "make_browse_data.py", "browse.db"], cwd=bench.work, check=True)
        bench.prepared.add("browse.db")


GROUPS = [
    Group("core", "The core language: loops, SUB calls and branches"),
    Group("data", "Texts, arrays, keys and lists at scale; files and SQLite"),
    Group("database", "Databases through record sets"),
]

WORKLOADS = [
    Workload("for", "core", "FOR I = 0, I < 5000000, I = I + 1 { S = S + I }", yabasic=True),
    Workload("while", "core", "the same as a WHILE loop of two statements", yabasic=True),
    Workload("fib", "core", "recursive FIB(27)", yabasic=True),
    Workload("array", "core", "a new 1,000,000-element array filled by index and summed", yabasic=True),
    Workload("sub", "core", "100,000 calls of a SUB with 8 DIM locals", yabasic=True),
    Workload("ifchain", "core", "1,000 x 1,000 passes through IF / 3 ELSEIF / ELSE", yabasic=True),
    Workload("mid", "data", "every character of a 114,688-character text read with MID(T, I, 1)",
             first=200, steps_per_unit=114688, step="characters", base=True),
    Workload("backward", "data", "a 20,000-element array read backwards, 5 times", base=True),
    Workload("keys", "data", "1,000 text keys inserted, 100,000 lookups D[K[I]]", base=True),
    Workload("lists", "data", "a 5,000-word list: SORTLIST, COUNTLIST, every item by GETLIST, FINDLIST",
             base=True),
    Workload("append", "data", "20 texts x 10,000 appends S = S + \"x\"", base=True),
    Workload("instr", "data", "16,384 INSTR from the last match in a 114,688-character text", base=True),
    Workload("replace", "data", "50 x REPLACE and LEN on a 114,688-character text", base=True),
    Workload("file", "data", "a 10 MB UTF-16 text file (65,536 lines) written and read", base=True),
    Workload("sqlite", "data", "100,000 rows inserted through a record set and selected in SQLite", base=True),
    Workload("browse", "database", "every field of a 100,000-row, 5-column table read with the EOF loop",
             setup=make_browse_data),
    Workload("insert", "database", "10,000 new records posted inside one transaction"),
]


@dataclass
class Figures:
    """One language's figures for a workload: the count it ran, CPU seconds
    per unit net of start-up, the runs' spread, and the operation alone
    (seconds per unit net of the loop), when the workload has a base."""

    count: int
    unit: float
    spread: str
    alone: Optional[float]


def modes(w):
    return ("op", "base") if w.base else ("op",)


def check_workload(bench, w, languages):
    """The twins print the same with count 0 and with the first count, in
    every mode."""
    for language in languages:
        for count in (0, w.first):
            for mode in modes(w):
                bench.run(language, w.name, [count, mode], LIMIT * 10)


def measure_workload(bench, w, languages):
    """language -> Figures, from runs interleaved across the languages."""
    timeout = LIMIT * 10
    check_workload(bench, w, languages)
    counts = {l: bench.calibrate(l, w.name, w.first, (), timeout) for l in languages}
    jobs = [((l, mode), l, w.name, [counts[l], mode]) for mode in modes(w) for l in languages]
    jobs += [((l, "zero"), l, w.name, [0, "op"]) for l in languages]
    results = bench.interleave(jobs, timeout)
    figures = {}
    for l in languages:
        op = median_cpu(results[(l, "op")])
        net = op - median_cpu(results[(l, "zero")])
        per_step = w.steps_per_unit / counts[l]
        alone = (op - median_cpu(results[(l, "base")])) * per_step if w.base else None
        figures[l] = Figures(counts[l], net * per_step, spread([r.cpu for r in results[(l, "op")]], net), alone)
    return figures


def print_group(group, rows, languages):
    """A table of the group's workloads, then what a unit of each is."""
    has_base = any(w.base for w, _ in rows)
    print(group.heading)
    columns = "%-9s" % "workload"
    for language in languages:
        columns += " %10s %4s" % (language, "±")
    columns += " %8s" % "vell/py" + (" %8s" % "vell/yab" if "yabasic" in languages else "")
    if has_base:
        columns += " | %10s %10s %8s" % ("vell op", "python op", "vell/py")
    print(columns)
    notes = []
    for w, figures in rows:
        if figures is None:
            print("%-9s failed (see above)" % w.name)
            continue
        line = "%-9s" % w.name
        for language in languages:
            f = figures.get(language)
            line += " %10s %4s" % (seconds(f.unit), f.spread) if f else " %10s %4s" % ("-", "")
        vell = figures["vell"]
        line += " %8s" % ratio(vell.unit, figures["python"].unit)
        if "yabasic" in languages:
            yabasic = figures.get("yabasic")
            line += " %8s" % ratio(vell.unit, yabasic.unit if yabasic else None)
        if w.base:
            python = figures["python"]
            line += " | %10s %10s %8s" % (seconds(vell.alone), seconds(python.alone), ratio(vell.alone, python.alone))
        print(line)
        if vell.count < w.steps_per_unit:
            notes.append("%s: vell ran %s of the unit's %s %s a run; a whole unit would take %.0f s."
                         % (w.name, "{:,}".format(vell.count), "{:,}".format(w.steps_per_unit), w.step, vell.unit))
    for w, _ in rows:
        print("  %-8s one unit: %s" % (w.name, w.unit))
    for note in notes:
        print("  " + note)
    print()


def run_groups(bench, names):
    """Times the chosen workloads group by group and prints each group's
    table (or, with bench.check_only, only checks that their twins agree);
    1 when a workload failed, else 0."""
    status = 0
    for group in GROUPS:
        chosen = [w for w in WORKLOADS if w.group == group.key and (w.name in names or group.key in names)]
        if not chosen:
            continue
        languages = ["vell", "python"]
        if bench.yabasic and any(w.yabasic for w in chosen):
            languages.append("yabasic")
        rows = []
        for w in chosen:
            print("%s %s ..." % ("checking" if bench.check_only else "timing", w.name), file=sys.stderr, flush=True)
            own = [l for l in languages if l != "yabasic" or w.yabasic]
            try:
                if w.setup:
                    w.setup(bench)
                if bench.check_only:
                    check_workload(bench, w, own)
                else:
                    rows.append((w, measure_workload(bench, w, own)))
            except Failure as failure:
                print("%s: %s" % (w.name, failure), file=sys.stderr)
                rows.append((w, None))
                status = 1
        if not bench.check_only:
            print_group(group, rows, languages)
    return status
