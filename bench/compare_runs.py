"""Running and timing the benchmark programs for compare.py: one run with its
CPU time, peak memory and checked output; the calibration of a count; runs
interleaved; and the formatting of figures."""

import math
import os
import signal
import statistics
import subprocess
import tempfile
import threading

PYTHON = "/usr/bin/python3"
RUNS = int(os.environ.get("RUNS", "5"))
TARGET = float(os.environ.get("TARGET", "1"))
LIMIT = float(os.environ.get("LIMIT", "20"))
GROWTH_PER_CALIBRATION = 100  # at most this factor between two calibration runs
MAX_COUNT = 10**9


class Failure(Exception):
    """A run that failed, did not end in time, or printed something else than
    its twin."""

    def __init__(self, message, timed_out=False):
        super().__init__(message)
        self.timed_out = timed_out


class Result:
    def __init__(self, cpu, rss_kib, out):
        self.cpu = cpu  # user + system seconds
        self.rss_kib = rss_kib  # peak resident memory
        self.out = out


def median(values):
    return statistics.median(values)


def median_cpu(results):
    return median([r.cpu for r in results])


def nice_up(x):
    """The smallest of 1, 2, 5, 10, 20, 50, ... not below x."""
    step = 1
    while True:
        for m in (1, 2, 5):
            if step * m >= x:
                return step * m
        step *= 10


def seconds(x):
    """A figure with four significant digits (more before the point), never
    in exponent form."""
    if x is None:
        return "-"
    if x == 0:
        return "0"
    return "%.*f" % (min(max(0, 3 - math.floor(math.log10(abs(x)))), 9), x)


def ratio(a, b):
    """a / b, or "-" where either is missing or not above 0 (lost in noise)."""
    if a is None or b is None or a <= 0 or b <= 0:
        return "-"
    r = a / b
    return "%.0f" % r if r >= 100 else "%.1f" % r if r >= 10 else "%.2f" % r


def spread(times, net):
    """The runs' median absolute deviation as a share of the net time."""
    if net is None or net <= 0:
        return "-"
    middle = median(times)
    return "%.0f%%" % (100 * median([abs(t - middle) for t in times]) / net)


class Bench:
    """Runs programs in one scratch folder and keeps every output seen, so
    that each later run with the same program and parameters, in whatever
    language, must print the same. check_only: the outputs are checked and
    nothing is timed."""

    def __init__(self, runner, window, yabasic, work, check_only):
        self.runner = runner
        self.window = window
        self.yabasic = yabasic
        self.work = work
        self.check_only = check_only
        self.outputs = {}
        self.prepared = set()

    def argv(self, language, program, args):
        args = [str(a) for a in args]
        if language == "vell":
            return [self.runner, program + ".vell"] + args
        if language == "window":
            return [self.window, "/v", program + ".vell"] + args
        if language == "python":
            return [PYTHON, program + ".py"] + args
        return [self.yabasic, program + ".yab"] + args

    def run(self, language, program, args, timeout):
        """One run. Raises Failure on a failed run, a timeout, a message box
        or an output unlike the first one seen for the same parameters."""
        what = "%s %s %s" % (language, program, " ".join(str(a) for a in args))
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen") if language == "window" else None
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            proc = subprocess.Popen(self.argv(language, program, args), cwd=self.work, env=env,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err, start_new_session=True)
            killed = []

            def kill():
                killed.append(True)
                try:
                    os.killpg(proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass

            timer = threading.Timer(timeout, kill)
            timer.start()
            _, status, usage = os.wait4(proc.pid, 0)
            timer.cancel()
            proc.returncode = os.waitstatus_to_exitcode(status)
            out.seek(0)
            text = out.read().decode("utf-8", "replace")
            err.seek(0)
            errors = err.read().decode("utf-8", "replace").strip()
        if killed:
            raise Failure("%s: no end within %.0f s" % (what, timeout), timed_out=True)
        if proc.returncode != 0:
            raise Failure("%s: exit status %d %s" % (what, proc.returncode, errors[:300]))
        if "[MSG]" in text:
            raise Failure("%s: %s" % (what, text[text.index("[MSG]"):][:300].strip()))
        key = (language == "window", program, tuple(str(a) for a in args))
        first = self.outputs.setdefault(key, (language, text))
        if first[1] != text:
            raise Failure("%s printed %r, but %s printed %r" % (what, text[:80], first[0], first[1][:80]))
        return Result(usage.ru_utime + usage.ru_stime, usage.ru_maxrss, text)

    def calibrate(self, language, program, first, extra, timeout):
        """The count at which a run's net work takes about TARGET seconds, or
        as long as the run with count 0 when that is longer (so that the
        noise of making big data does not swamp the work), starting from
        first and growing by at most GROWTH_PER_CALIBRATION."""
        start = self.run(language, program, [0, "op", *extra], timeout).cpu
        goal = max(TARGET, start)
        count = first
        while True:
            net = self.run(language, program, [count, "op", *extra], timeout).cpu - start
            if net >= goal * 0.75 or count >= MAX_COUNT:
                return count
            grow = min(goal / max(net, 1e-9), GROWTH_PER_CALIBRATION)
            count = min(nice_up(count * grow), MAX_COUNT)

    def interleave(self, jobs, timeout, runs=RUNS):
        """jobs: (label, language, program, args). Runs every job once in
        turn, runs times over. Returns label -> its Results."""
        results = {job[0]: [] for job in jobs}
        for _ in range(runs):
            for label, language, program, args in jobs:
                results[label].append(self.run(language, program, args, timeout))
        return results
