#!/usr/bin/env python3
"""Start-up of vintrel against a minimal Qt WebEngine program, interleaved in one run.

For each program and run: the time from exec to the start page's load event, and the total
proportional set size (PSS) of the program's whole process tree at that moment. Both programs
load the same page, the example's request.html, from a working directory of their own, and both
run with the engine's DevTools protocol on: the load event's time is the page's own record of it
(navigation timing on the wall clock), read over the protocol, and the memory is read as soon as
the load shows there. (A file:// page may not reach an http:// address in Qt WebEngine, so the
page cannot report its load to this script by itself.)

    startup_bench.py --vintrel build/vintrel --baseline build/bench/startup/startup_baseline
"""

import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
import harness  # noqa: E402  (the display, process and DevTools helpers of the end-to-end tests)

LOAD_TIMEOUT = 60.0
POLL_INTERVAL = 0.01
TARGET_RATIO = 1.10
START_PAGE = "/request.html"
# Wall-clock time of the start page's load event in ms, or 0 while it has not fired.
LOAD_EVENT_TIME = """(() => {
  const navigation = performance.getEntriesByType('navigation')[0];
  return location.href.endsWith('%s') && navigation && navigation.loadEventStart > 0
      ? performance.timeOrigin + navigation.loadEventStart : 0;
})()""" % START_PAGE


def tree_pss_kib(pid):
    """Sum of Pss over pid and all its descendants, from smaps_rollup."""
    total = 0
    for member in [pid, *harness.descendants(pid)]:
        try:
            with open(f"/proc/{member}/smaps_rollup") as rollup:
                total += next(int(line.split()[1]) for line in rollup if line.startswith("Pss:"))
        except (OSError, StopIteration):
            pass  # gone in the meantime
    return total


def prepare_workdir(root, name):
    workdir = os.path.join(root, name)
    shutil.copytree(os.path.join(REPO, "example"), workdir,
                    ignore=shutil.ignore_patterns("cache", "debug"))
    return workdir


def wait_for_load_event(devtools):
    target = harness.wait_for("the start page", lambda: devtools.page_with_url(START_PAGE),
                              LOAD_TIMEOUT, POLL_INTERVAL)
    with harness.DevToolsPage(target["webSocketDebuggerUrl"]) as page:
        return harness.wait_for("the load event", lambda: page.evaluate(LOAD_EVENT_TIME),
                                LOAD_TIMEOUT, POLL_INTERVAL)


def measure_once(executable, workdir, env):
    """(milliseconds from exec to the load event, PSS then in MiB) of one start."""
    port = harness.free_loopback_port()
    env = dict(env, QTWEBENGINE_REMOTE_DEBUGGING=f"127.0.0.1:{port}")
    started_ms = time.time() * 1000.0
    process = subprocess.Popen([executable], cwd=workdir, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        loaded_ms = wait_for_load_event(harness.DevTools(port))
        pss_kib = tree_pss_kib(process.pid)
    finally:
        tree = harness.descendants(process.pid)
        harness.stop_process(process)
        for pid in tree:  # a sub-process left behind would skew the next run
            if harness.alive(pid):
                os.kill(pid, signal.SIGKILL)
    return loaded_ms - started_ms, pss_kib / 1024.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--vintrel", required=True)
    parser.add_argument("--baseline", required=True)
    parser.add_argument("--runs", type=int, default=10)
    args = parser.parse_args()
    programs = {"vintrel": os.path.abspath(args.vintrel),
                "baseline": os.path.abspath(args.baseline)}

    root = tempfile.mkdtemp(prefix="vintrel-startup-")
    display = harness.VirtualDisplay()
    try:
        display.start()
        runtime_dir = os.path.join(root, "runtime")
        os.makedirs(runtime_dir, mode=0o700)
        env = {key: value for key, value in os.environ.items()
               if not key.startswith(("QTWEBENGINE_", "QT_"))}
        env.update(HOME=root, XDG_RUNTIME_DIR=runtime_dir, QT_QUICK_BACKEND="software",
                   QTWEBENGINE_DISABLE_SANDBOX="1")  # the baseline needs it as root
        workdirs = {name: prepare_workdir(root, name) for name in programs}
        samples = {name: [] for name in programs}
        for name in programs:  # warm-up: file caches, fonts, the engine's own cache folders
            measure_once(programs[name], workdirs[name], env)
        for run in range(args.runs):
            order = list(programs) if run % 2 == 0 else list(reversed(programs))
            for name in order:
                samples[name].append(measure_once(programs[name], workdirs[name], env))
        report(samples, args.runs)
    finally:
        display.stop()
        shutil.rmtree(root, ignore_errors=True)


def report(samples, runs):
    medians = {name: (statistics.median(ms for ms, _ in runs_of_program),
                      statistics.median(mib for _, mib in runs_of_program))
               for name, runs_of_program in samples.items()}
    print(f"start-up to load event, {runs} interleaved runs each after one warm-up (medians)")
    for name, (ms, mib) in medians.items():
        times = ", ".join(f"{ms:.0f}" for ms, _ in samples[name])
        print(f"  {name:9s} {ms:7.0f} ms  {mib:7.1f} MiB PSS   (times: {times})")
    for label, index in (("time", 0), ("PSS", 1)):
        ratio = medians["vintrel"][index] / medians["baseline"][index]
        verdict = "within" if ratio <= TARGET_RATIO else "OVER"
        print(f"  {label} ratio vintrel/baseline {ratio:.3f} ({verdict} {TARGET_RATIO:.2f}x)")

if __name__ == "__main__":
    main()
