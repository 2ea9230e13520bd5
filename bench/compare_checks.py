"""The scale checks that compare.py runs after the workloads: how the cost of
one operation grows with its data (small against big), 1,000,000 appends,
the memory of 1,000,000 numbers, and PRINT in the window against the console
runner. Vell is timed alone; each program's Python twin checks its output."""

import sys
from dataclasses import dataclass, field
from typing import Callable, Optional

from compare_runs import LIMIT, RUNS, Failure, median, median_cpu, ratio, seconds, spread


@dataclass
class PairCheck:
    """One operation timed per call on small data and on big data: the
    program's parameters after the count and the mode, each with the label
    the table shows. sizes_big lists big sizes to try in turn, for data whose
    making alone takes longer than LIMIT today."""

    name: str
    title: str
    program: str
    small: tuple
    sizes_big: list
    first: int
    goal: str


@dataclass
class SingleCheck:
    """measure prints the check's line; check only checks the outputs."""

    name: str
    measure: Callable
    check: Callable


def microseconds(x):
    return "-" if x is None else seconds(x * 1e6)


def checked_twins(bench, program, extra, first):
    """The Python twin prints what Vell prints, for both modes."""
    for mode in ("op", "base"):
        for count in (0, first):
            bench.run("python", program, [count, mode, *extra], LIMIT * 10)
            bench.run("vell", program, [count, mode, *extra], LIMIT * 10)


def check_pair(bench, check):
    """The twins agree on the small data and on the smallest big data."""
    for extra in (check.small[1], check.sizes_big[-1][1]):
        checked_twins(bench, check.program, extra, check.first)


def big_size(bench, check):
    """The first big size whose data is made within LIMIT seconds, and a note
    when that is not the first one."""
    for size in check.sizes_big[:-1]:
        try:
            bench.run("vell", check.program, [0, "op", *size[1]], LIMIT)
            return size, None
        except Failure as failure:
            if not failure.timed_out:
                raise
    size = check.sizes_big[-1]
    if len(check.sizes_big) == 1:
        return size, None
    return size, "%s: %s in place of %s, whose making alone takes over %.0f s a run" % (
        check.name, size[0], check.sizes_big[0][0], LIMIT)


@dataclass
class PairFigures:
    """Seconds per call, small and big, net of start-up (call) and net of the
    loop (alone), with the runs' spreads."""

    big_label: str
    note: Optional[str]
    call: dict = field(default_factory=dict)
    alone: dict = field(default_factory=dict)
    spread: dict = field(default_factory=dict)


def measure_pair(bench, check):
    """PairFigures of check, from runs on its small and big data interleaved."""
    big, note = big_size(bench, check)
    sizes = {"small": check.small[1], "big": big[1]}
    counts = {}
    for key, extra in sizes.items():
        checked_twins(bench, check.program, extra, check.first)
        counts[key] = bench.calibrate("vell", check.program, check.first, extra, LIMIT * 10)
    jobs = []
    for mode in ("op", "base", "zero"):
        for key, extra in sizes.items():
            args = [0, "op"] if mode == "zero" else [counts[key], mode]
            jobs.append(((key, mode), "vell", check.program, args + extra))
    results = bench.interleave(jobs, LIMIT * 10)
    figures = PairFigures(big[0], note)
    for key in sizes:
        op = median_cpu(results[(key, "op")])
        net = op - median_cpu(results[(key, "zero")])
        figures.call[key] = net / counts[key]
        figures.alone[key] = (op - median_cpu(results[(key, "base")])) / counts[key]
        figures.spread[key] = spread([r.cpu for r in results[(key, "op")]], net)
    return figures


def print_pairs(rows):
    print("%-52s %10s %4s %10s %4s %9s | %10s %10s %9s %5s" % (
        "scale check (vell alone), time per call", "small", "±", "big", "±", "big/small",
        "op small", "op big", "big/small", "goal"))
    notes = []
    for check, f in rows:
        if f is None:
            print("%-52s failed (see above)" % check.name)
            continue
        print("%-52s %10s %4s %10s %4s %9s | %10s %10s %9s %5s" % (
            check.title % f.big_label, microseconds(f.call["small"]), f.spread["small"],
            microseconds(f.call["big"]), f.spread["big"], ratio(f.call["big"], f.call["small"]),
            microseconds(f.alone["small"]), microseconds(f.alone["big"]),
            ratio(f.alone["big"], f.alone["small"]), check.goal))
        if f.note:
            notes.append(f.note)
    print("  (times in microseconds; op is the call alone, without its loop)")
    for note in notes:
        print("  " + note)
    print()


def check_appends(bench):
    checked_twins(bench, "appends", [], 1000)


def measure_appends(bench):
    """1,000,000 appends, net of start-up. Their time is predicted from
    100,000 as if it grew with the square of the count: they are timed RUNS
    times when that predicts at most LIMIT seconds, once when it predicts at
    most ten times that, else only the prediction is shown."""
    big, middle = 1000000, 100000
    check_appends(bench)
    jobs = [(n, "vell", "appends", [n, "op"]) for n in (0, middle)]
    jobs += [(("python", n), "python", "appends", [n, "op"]) for n in (0, big)]
    cpu = {label: median_cpu(runs) for label, runs in bench.interleave(jobs, LIMIT * 10).items()}
    predicted = (cpu[middle] - cpu[0]) * (big / middle) ** 2
    python = cpu[("python", big)] - cpu[("python", 0)]
    if predicted > LIMIT * 10:
        vell = "not run, %s s predicted (100,000 took %s s)" % (seconds(predicted), seconds(cpu[middle] - cpu[0]))
    else:
        runs = RUNS if predicted <= LIMIT else 1
        result = bench.interleave([(big, "vell", "appends", [big, "op"])], LIMIT * 100, runs)
        vell = "%s s%s" % (seconds(median_cpu(result[big]) - cpu[0]), "" if runs > 1 else " (one run)")
    print('1,000,000 appends S = S + "x": vell %s; python %s s. Goal: under 1 s.' % (vell, seconds(python)))


def check_memory(bench):
    checked_twins(bench, "numbers", [], 1000)


def measure_memory(bench):
    """Peak memory of 1,000,000 numbers in an array above that of none."""
    count = 1000000
    check_memory(bench)
    results = bench.interleave([(l + str(n), l, "numbers", [n, "op"]) for l in ("vell", "python") for n in (0, count)],
                               LIMIT * 10)
    mib = {l: (median([r.rss_kib for r in results[l + str(count)]])
               - median([r.rss_kib for r in results[l + "0"]])) / 1024 for l in ("vell", "python")}
    print("1,000,000 numbers in an array: vell %.1f MiB above start-up; python %.1f MiB. Goal: at most 64 MiB."
          % (mib["vell"], mib["python"]))


WINDOW_CHECK_LINES = 1000


def check_window(bench):
    """The console runner prints what the twin prints, and the window's
    output area holds every line printed."""
    checked_twins(bench, "print", [], WINDOW_CHECK_LINES)
    if not bench.window:
        return
    bench.run("window", "print", [WINDOW_CHECK_LINES, "check"], LIMIT * 10)
    with open(bench.work + "/record.txt", "rb") as f:
        lines = f.read()
    if lines != b"%d\r\n" % WINDOW_CHECK_LINES:
        raise Failure("the window's output area holds %r lines, not %d" % (lines, WINDOW_CHECK_LINES))


def measure_window(bench):
    """100,000 PRINT lines in the window (offscreen) against the console
    runner, each net of its start-up."""
    if not bench.window:
        print("100,000 PRINT lines in the window: not measured, the build has no window (host/vell).")
        return
    check_window(bench)
    counts = {l: bench.calibrate(l, "print", WINDOW_CHECK_LINES, (), LIMIT * 10) for l in ("window", "vell")}
    results = bench.interleave([(l + m, l, "print", [counts[l] if m == "n" else 0, "op"])
                                for l in ("window", "vell") for m in ("n", "0")], timeout=LIMIT * 10)
    net = {l: (median_cpu(results[l + "n"]) - median_cpu(results[l + "0"]))
           / counts[l] * 100000 for l in ("window", "vell")}
    print("100,000 PRINT lines, net of start-up: window %s s, console runner %s s, window/console %s. Goal: at most 2."
          % (seconds(net["window"]), seconds(net["vell"]), ratio(net["window"], net["vell"])))


KIB, MIB = 1024, 1048576
CHECKS = [
    PairCheck("scale_mid", "MID(T, I, 1): T of 1,024 against %s chars", "scale_text",
              ("1,024", ["MID", KIB]), [("1,048,576", ["MID", MIB])], 20, "1.5"),
    PairCheck("scale_len", "LEN(T): T of 1,024 against %s chars", "scale_text",
              ("1,024", ["LEN", KIB]), [("1,048,576", ["LEN", MIB])], 20, "1.5"),
    PairCheck("scale_instr", "INSTR(T, \"f\", P): 1,024 against %s chars", "scale_text",
              ("1,024", ["INSTR", KIB]), [("1,048,576", ["INSTR", MIB])], 20, "1.5"),
    PairCheck("scale_getlist", "GETLIST(L, I): 128 against %s items", "scale_text",
              ("128", ["GETLIST", KIB]), [("131,072", ["GETLIST", MIB])], 20, "1.5"),
    PairCheck("scale_backward", "65,536-element array: forwards against %s", "scale_array",
              ("forwards", ["FORWARD"]), [("backwards", ["BACKWARD"])], 1000, "1.5"),
    PairCheck("scale_random", "65,536-element array: forwards against %s", "scale_array",
              ("forwards", ["FORWARD"]), [("at random", ["RANDOM"])], 1000, "1.5"),
    PairCheck("scale_keys", "lookup by key: among 10 against among %s keys", "scale_keys",
              ("10", [10]), [("100,000", [100000]), ("10,000", [10000])], 1000, "1.5"),
    SingleCheck("appends", measure_appends, check_appends),
    SingleCheck("memory", measure_memory, check_memory),
    SingleCheck("window", measure_window, check_window),
]


def run_checks(bench, names):
    """Runs the chosen checks, printing their tables and lines (or, with
    bench.check_only, only checking their outputs); 1 when one failed."""
    status = 0
    chosen = [c for c in CHECKS if c.name in names or "scale" in names]
    pairs = []
    for check in chosen:
        print("%s %s ..." % ("checking" if bench.check_only else "timing", check.name), file=sys.stderr, flush=True)
        pair = isinstance(check, PairCheck)
        try:
            if bench.check_only and pair:
                check_pair(bench, check)
            elif bench.check_only:
                check.check(bench)
            elif pair:
                pairs.append((check, measure_pair(bench, check)))
            else:
                if pairs:
                    print_pairs(pairs)
                    pairs = []
                check.measure(bench)
        except Failure as failure:
            print("%s: %s" % (check.name, failure), file=sys.stderr)
            if pair and not bench.check_only:
                pairs.append((check, None))
            status = 1
    if pairs:
        print_pairs(pairs)
    return status
