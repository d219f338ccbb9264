#!/usr/bin/env python3
"""Memory of vintrel's whole process tree before and after long runs of repeated actions.

Each scenario runs in a fresh shell under Xvfb + openbox: a page that opens and closes popups,
resize steps of the main window, pointer moves over the caption, navigations to failing
loopback addresses. A tenth of the count runs first as a warm-up (first-use caches, fonts, the
engine's pools); then the proportional set size (PSS, smaps_rollup) of the shell and every
engine sub-process is read, the count runs in two halves, after each of which the shell is back
in the state it was in and the PSS is read again. Every read follows a garbage collection in the
page, a simulated critical memory pressure in every engine process and a pause, and takes the
median of a few samples. Growth from the first read to the last beyond the margin is reported as
OVER; a leak also shows as growth in the second half.

PSS shares each library page among every process that maps it, so another Qt WebEngine program
starting or ending elsewhere on the machine moves it by tens of MiB; so does the private memory
of the tree (Private_Clean + Private_Dirty), as a library page that no other program maps at the
moment counts as private. The tree's own memory, its anonymous and shared memory (Pss_Anon +
Pss_Shmem), does not move that way, and is reported beside PSS.

    stress_bench.py --vintrel build/vintrel [--scale 1.0] [--margin 0.10]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
import harness  # noqa: E402  (display, process and DevTools helpers of the end-to-end tests)
import stress  # noqa: E402  (the repeated actions themselves)
from facts import MAIN_TITLE, MIN_HEIGHT, MIN_WIDTH, POPUP_PAGE_TITLE  # noqa: E402

WARM_UP_SHARE = 0.1
MIN_WARM_UP = 10
SETTLE_SECONDS = 3.0
PSS_SAMPLES, PSS_SAMPLE_INTERVAL = 5, 0.5
RESTING_POINTER = (960, 700)  # over the page, clear of the caption
KIB_PER_MIB = 1024.0


def tree_memory_kib(pid):
    """(PSS, own memory, private memory) in KiB, summed over pid and every process below it.

    Own memory is what the tree has written: heaps, the engine's caches and pixel buffers,
    anonymous and shared memory, each page divided among the processes that map it, so that a
    buffer the shell and a renderer share counts once. Clean file pages (libraries, fonts, data
    files) are left out of it: the kernel may drop and reload them at any time, and whether one
    counts as a process's own depends on which other programs on the machine map the same file.
    Private memory (Private_Clean + Private_Dirty) counts such a page while no other program
    maps it.
    """
    pss = own = private = 0
    for member in [pid, *harness.descendants(pid)]:
        try:
            with open(f"/proc/{member}/smaps_rollup") as rollup:
                fields = dict(line.split()[:2] for line in rollup if line.endswith("kB\n"))
        except OSError:
            continue  # gone in the meantime
        pss += int(fields.get("Pss:", 0))
        own += int(fields.get("Pss_Anon:", 0)) + int(fields.get("Pss_Shmem:", 0))
        private += int(fields.get("Private_Clean:", 0)) + int(fields.get("Private_Dirty:", 0))
    return pss, own, private


class Session:
    """One run of the shell on a fresh working directory and display."""

    def __init__(self, executable, root, name):
        self.root = os.path.join(root, name)
        os.makedirs(self.root)
        self.workdir = harness.copy_example(os.path.join(self.root, "work"))
        self.display = harness.VirtualDisplay()
        self.display.start()
        port = harness.free_loopback_port()
        env = harness.program_environment(self.root, self.root)
        env.update(QTWEBENGINE_REMOTE_DEBUGGING=f"127.0.0.1:{port}")
        self.shell = harness.ShellProcess(subprocess.Popen(
            [executable], cwd=self.workdir, env=env, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.devtools = harness.DevTools(port)
        self.page = self.devtools.wait_page("/request.html")
        self.window = harness.wait_window(MAIN_TITLE)
        harness.wait_for("the window to be maximised",
                         lambda: harness.window_geometry(self.window) ==
                         (0, 0, harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT))

    def memory_mib(self):
        """Median tree (PSS, own memory) after a garbage collection in the page and a
        pause."""
        self.page.call("HeapProfiler.collectGarbage")
        # Caches and discardable memory come and go by tens of MiB on their own; under
        # pressure every engine process gives them back, and what stays is what was kept.
        self.page.call("Memory.simulatePressureNotification", level="critical")
        time.sleep(SETTLE_SECONDS)
        samples = []
        for _ in range(PSS_SAMPLES):
            samples.append(tree_memory_kib(self.shell.popen.pid))
            time.sleep(PSS_SAMPLE_INTERVAL)
        return tuple(statistics.median(kib[i] for kib in samples) / KIB_PER_MIB for i in (0, 1))

    def close(self):
        """Closes the main window; returns the exit status (None if it had to be stopped)."""
        status = None
        try:
            harness.close_window(self.window)
            status = self.shell.popen.wait(harness.EXIT_TIMEOUT)
        except (subprocess.SubprocessError, OSError):
            pass
        self.shell.stop()
        self.page.close()
        self.display.stop()
        return status


def popups(session, count):
    titles = stress.open_and_close_popups(session.page, count)
    if titles != [POPUP_PAGE_TITLE] * count:
        raise AssertionError(f"popups that did not load: {count - titles.count(POPUP_PAGE_TITLE)}")
    harness.wait_for("only the main window",
                     lambda: list(harness.managed_windows()) == [session.window])
    harness.wait_for("only the start page", lambda: len(session.devtools.pages()) == 1)


def resizes(session, count):
    if "_NET_WM_STATE_MAXIMIZED_HORZ" in harness.window_states(session.window):
        stress.restore(session.window)
    stress.resize_steps(session.window, count)
    # Back to one fixed size, so that both reads see the same surfaces.
    width, height = MIN_WIDTH + 100, MIN_HEIGHT + 100
    harness.run_tool("xdotool", "windowsize", str(session.window), str(width), str(height))
    harness.wait_for("the resting size",
                     lambda: harness.window_geometry(session.window)[2:] == (width, height))


def pointer_moves(session, count):
    stress.caption_pointer_moves(count)
    harness.run_tool("xdotool", "mousemove", *map(str, RESTING_POINTER))


def failing_navigations(session, count):
    stress.failing_navigations(session.page, count, harness.free_loopback_port(),
                               os.path.join(session.workdir, "missing"))


SCENARIOS = (("popups opened and closed", popups, 200),
             ("resize steps", resizes, 2000),
             ("caption pointer moves", pointer_moves, 20000),
             ("failing navigations", failing_navigations, 300))


def run_scenario(executable, root, name, action, count):
    """Memory reads (PSS, own) after the warm-up and after each half of the count, the
    seconds the count took, engine process counts before and after, and the exit status."""
    session = Session(executable, root, name.split()[0])
    try:
        action(session, max(MIN_WARM_UP, int(count * WARM_UP_SHARE)))
        processes_before = len(session.shell.engine_processes())
        reads = [session.memory_mib()]
        seconds = 0.0
        for half in (count // 2, count - count // 2):
            started = time.monotonic()
            action(session, half)
            seconds += time.monotonic() - started
            reads.append(session.memory_mib())
        processes_after = len(session.shell.engine_processes())
    finally:
        status = session.close()
    return reads, seconds, processes_before, processes_after, status


def growth_text(label, values, margin):
    before, middle, after = values
    growth = after - before
    verdict = "within" if growth <= before * margin else "OVER"
    return (f"{label:7s} {before:6.1f} -> {middle:6.1f} -> {after:6.1f} MiB "
            f"({growth:+5.1f}, {growth / before:+6.1%}, {verdict}; second half {after - middle:+5.1f})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--vintrel", required=True)
    parser.add_argument("--scale", type=float, default=1.0, help="multiplies every count")
    parser.add_argument("--margin", type=float, default=0.10,
                        help="allowed growth, as a share of the PSS before")
    args = parser.parse_args()
    executable = os.path.abspath(args.vintrel)

    root = tempfile.mkdtemp(prefix="vintrel-stress-")
    print(f"process tree memory after the warm-up -> half the count -> all of it (MiB, median "
          f"of {PSS_SAMPLES} reads), margin {args.margin:.0%} of the first")
    try:
        for name, action, count in SCENARIOS:
            count = max(1, int(count * args.scale))
            reads, seconds, processes_before, processes_after, status = run_scenario(
                executable, root, name, action, count)
            print(f"  {count:6d} {name}: {seconds:.1f} s, engine processes {processes_before}"
                  f" -> {processes_after}, exit status {status}", flush=True)
            for index, label in enumerate(("PSS", "own")):
                print(f"         {growth_text(label, [read[index] for read in reads], args.margin)}",
                      flush=True)
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
