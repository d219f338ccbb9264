#!/usr/bin/env python3
"""Half an hour of use in one shell, and what it holds minute by minute.

One shell under Xvfb + openbox runs rounds of what a user does: the page navigates between
local pages, opens and closes popups, fails loads (a closed loopback port, a missing file),
downloads a small file through the save dialog and the main window is resized. Once a minute,
between rounds, the whole process tree is read: PSS, private memory and the tree's own memory
(anonymous and shared memory; each after a garbage collection and simulated memory pressure,
as the stress bench reads them), open file descriptors, threads, engine processes, and the X
server's resources of every client (windows, pixmaps and their bytes, xrestop).

It holds when every figure but PSS and private memory has its mean over the last five minutes
within the margin (5%) of its mean over minutes 5-10, and no such figure rises over the second
half (the least-squares slope times the half's length stays within the margin). Those two are
shown, not judged: they count library pages, as shared or as private depending on whatever
else on the machine maps the same files, and move with it by tens of MiB; what the tree itself
holds is its own memory. Figures go to standard output as they come and to a CSV file; --plot
writes an SVG of them, each relative to its minutes-5-10 mean.

    soak_bench.py --vintrel build/vintrel [--minutes 30] [--csv soak.csv] [--plot soak.svg]
"""

import argparse
import csv
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
sys.path.insert(0, os.path.join(REPO, "bench", "stress"))
import harness  # noqa: E402  (display, process and DevTools helpers of the end-to-end tests)
import stress  # noqa: E402  (popups, resize steps and failing navigations)
from facts import MAIN_TITLE, MIN_HEIGHT, MIN_WIDTH, POPUP_PAGE_TITLE  # noqa: E402
from loopback_server import LoopbackServer, Reply  # noqa: E402
from stress_bench import tree_memory_kib  # noqa: E402

KIB_PER_MIB = 1024.0
SETTLE_SECONDS = 3.0  # after the garbage collection and memory pressure, as the stress bench
DOWNLOAD_BODY = bytes(range(256)) * 64  # 16 KiB
POPUPS_PER_ROUND = 3
FAILED_LOADS_PER_ROUND = 4
RESIZE_STEPS_PER_ROUND = 20
RESTING_SIZE = (MIN_WIDTH + 100, MIN_HEIGHT + 100)
LOCAL_PAGES = ("frame.html", "popup.html", "request.html")  # ends where every round starts
BASE_MINUTES = (5, 10)  # the reference: minutes 5 to 10
LAST_MINUTES = 5
FIGURES = (("pss_mib", "PSS MiB"), ("private_mib", "private MiB"), ("own_mib", "own MiB"),
           ("fds", "fds"), ("threads", "threads"), ("processes", "processes"),
           ("x_windows", "X windows"), ("x_pixmaps", "X pixmaps"), ("x_pixmap_kib", "pixmap KiB"))
# Both count library pages, as shared or as private by what else on the machine maps them.
SHOWN_ONLY = ("pss_mib", "private_mib")


def tree_counts(pid):
    """(open file descriptors, threads, engine processes) of pid and every process below it."""
    members = [pid, *harness.descendants(pid)]
    fds = threads = 0
    for member in members:
        try:
            fds += len(os.listdir(f"/proc/{member}/fd"))
            with open(f"/proc/{member}/status") as status:
                threads += int(re.search(r"^Threads:\s+(\d+)", status.read(), re.M).group(1))
        except (OSError, AttributeError):
            continue  # gone in the meantime
    return fds, threads, len(members) - 1


def x_resources():
    """(windows, pixmaps, pixmap KiB) the X server holds for all its clients."""
    output = harness.run_tool("xrestop", "-b", "-m", "1")
    totals = []
    for label in ("windows", "pixmaps"):
        totals.append(sum(int(n) for n in re.findall(rf"^\s*{label}\s*:\s*(\d+)", output, re.M)))
    pixmap_bytes = sum(int(n) for n in re.findall(r"^\s*pixmap bytes\s*:\s*(\d+)", output, re.M))
    return totals[0], totals[1], pixmap_bytes // 1024


class SoakSession:
    """The one shell of the run, its page, its window and a download server."""

    def __init__(self, executable, root):
        self.root = root
        self.workdir = harness.copy_example(os.path.join(root, "work"))
        self.downloads = os.path.join(root, "home", "Downloads")
        os.makedirs(self.downloads)
        self.display = harness.VirtualDisplay()
        self.display.start()
        port = harness.free_loopback_port()
        env = harness.program_environment(root, os.path.join(root, "home"))
        env.update(QTWEBENGINE_REMOTE_DEBUGGING=f"127.0.0.1:{port}")
        self.log = open(os.path.join(root, "shell.log"), "ab")
        self.shell = harness.ShellProcess(subprocess.Popen(
            [executable], cwd=self.workdir, env=env, stdin=subprocess.DEVNULL,
            stdout=self.log, stderr=self.log))
        self.devtools = harness.DevTools(port)
        self.page = self.devtools.wait_page("/request.html")
        self.window = harness.wait_window(MAIN_TITLE)
        self.server = LoopbackServer({"/small.bin": Reply(DOWNLOAD_BODY)})
        self.server.__enter__()
        self.closed_port = harness.free_loopback_port()
        self.downloaded = 0

    def navigate(self, page_name):
        # By the whole address: after a failed load the page's own address is elsewhere.
        self.page.call("Page.navigate", url=f"file://{self.workdir}/{page_name}")
        loaded = f"location.pathname.endsWith('/{page_name}') && document.readyState == 'complete'"
        harness.wait_for(f"{page_name} to load", lambda: self.page.evaluate(loaded))

    def popups(self):
        titles = stress.open_and_close_popups(self.page, POPUPS_PER_ROUND)
        if titles != [POPUP_PAGE_TITLE] * POPUPS_PER_ROUND:
            raise AssertionError(f"popups that did not load: {titles}")

    def failed_loads(self):
        stress.failing_navigations(self.page, FAILED_LOADS_PER_ROUND, self.closed_port,
                                   os.path.join(self.workdir, "missing"))

    def download(self):
        """One small file through the save dialog, under a name of its own; removed once
        whole, so that the folder stays small."""
        self.downloaded += 1
        name = f"soak-{self.downloaded}.bin"
        self.server.routes["/small.bin"].attachment = name
        known = set(harness.managed_windows())
        self.page.evaluate(f"location.href = {self.server.url('/small.bin')!r}")
        dialog = harness.wait_for("the save dialog", lambda: next(
            (window for window, title in harness.managed_windows().items()
             if window not in known and title != "Downloads"), None))
        harness.wait_for("the save dialog to be active", lambda: harness.active_window() == dialog)
        harness.press_keys("Return")
        target = os.path.join(self.downloads, name)

        def whole():
            with open(target, "rb") as saved:
                return saved.read() == DOWNLOAD_BODY
        harness.wait_for(f"all of {name}", whole)
        os.remove(target)

    def resize(self):
        if "_NET_WM_STATE_MAXIMIZED_HORZ" in harness.window_states(self.window):
            stress.restore(self.window)
        stress.resize_steps(self.window, RESIZE_STEPS_PER_ROUND)
        harness.run_tool("xdotool", "windowsize", str(self.window), *map(str, RESTING_SIZE))
        harness.wait_for("the resting size",
                         lambda: harness.window_geometry(self.window)[2:] == RESTING_SIZE)

    def round(self):
        for page_name in LOCAL_PAGES:
            self.navigate(page_name)
        self.popups()
        self.failed_loads()
        self.navigate("request.html")
        self.download()
        self.resize()
        harness.run_tool("wmctrl", "-i", "-a", hex(self.window))

    def figures(self):
        self.page.call("HeapProfiler.collectGarbage")
        self.page.call("Memory.simulatePressureNotification", level="critical")
        time.sleep(SETTLE_SECONDS)
        pid = self.shell.popen.pid
        pss, own, private = tree_memory_kib(pid)
        fds, threads, processes = tree_counts(pid)
        windows, pixmaps, pixmap_kib = x_resources()
        return dict(pss_mib=round(pss / KIB_PER_MIB, 1),
                    private_mib=round(private / KIB_PER_MIB, 1),
                    own_mib=round(own / KIB_PER_MIB, 1), fds=fds, threads=threads, processes=processes, x_windows=windows,
                    x_pixmaps=pixmaps, x_pixmap_kib=pixmap_kib)

    def close(self):
        status = None
        try:
            harness.close_window(self.window)
            status = self.shell.popen.wait(harness.EXIT_TIMEOUT)
        except (subprocess.SubprocessError, OSError):
            pass
        self.shell.stop()
        self.server.__exit__(None, None, None)
        self.page.close()
        self.display.stop()
        self.log.close()
        return status


def slope_per_minute(rows, key):
    """Least-squares slope of a figure over its minutes."""
    xs = [row["minute"] for row in rows]
    ys = [row[key] for row in rows]
    mean_x, mean_y = statistics.fmean(xs), statistics.fmean(ys)
    spread = sum((x - mean_x) ** 2 for x in xs)
    return sum((x - mean_x) * (y - mean_y) for x, y in zip(xs, ys)) / spread if spread else 0.0


def verdicts(rows, margin):
    """Per figure: (base mean, last mean, change, rise over the second half, within margin)."""
    base = [row for row in rows if BASE_MINUTES[0] <= row["minute"] <= BASE_MINUTES[1]]
    last = rows[-LAST_MINUTES:]
    second_half = rows[len(rows) // 2:]
    results = {}
    for key, _ in FIGURES:
        base_mean = statistics.fmean(row[key] for row in base)
        last_mean = statistics.fmean(row[key] for row in last)
        change = (last_mean - base_mean) / base_mean if base_mean else 0.0
        rise = slope_per_minute(second_half, key) * (len(second_half) - 1)
        rise_share = rise / base_mean if base_mean else 0.0
        results[key] = (base_mean, last_mean, change, rise_share,
                        abs(change) <= margin and rise_share <= margin)
    return results


def write_plot(rows, path):
    """An SVG of every figure relative to its minutes-5-10 mean, with the margin band."""
    width, height, left, top, span = 760, 360, 60, 20, 0.2  # +-20% shown
    plot_w, plot_h = width - left - 180, height - 2 * top - 20
    minutes = rows[-1]["minute"]
    base = [row for row in rows if BASE_MINUTES[0] <= row["minute"] <= BASE_MINUTES[1]]
    colours = ("#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#e377c2",
               "#7f7f7f")

    def x(minute):
        return left + plot_w * minute / minutes

    def y(share):
        share = max(-span, min(span, share))
        return top + plot_h * (span - share) / (2 * span)
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
             f'font-family="sans-serif" font-size="11">',
             f'<rect x="{left}" y="{y(0.05)}" width="{plot_w}" height="{y(-0.05) - y(0.05)}" '
             f'fill="#eeeeee"/>']
    for share in (-0.2, -0.1, 0, 0.1, 0.2):
        parts.append(f'<text x="{left - 6}" y="{y(share) + 4}" text-anchor="end">'
                     f'{share:+.0%}</text>')
    for minute in range(0, minutes + 1, 5):
        parts.append(f'<text x="{x(minute)}" y="{top + plot_h + 16}" text-anchor="middle">'
                     f'{minute}</text>')
    parts.append(f'<text x="{left + plot_w / 2}" y="{height - 4}" text-anchor="middle">'
                 f'minute (shaded: within 5% of the minutes 5-10 mean)</text>')
    for index, (key, label) in enumerate(FIGURES):
        reference = statistics.fmean(row[key] for row in base) or 1
        points = " ".join(f"{x(row['minute']):.1f},{y(row[key] / reference - 1):.1f}"
                          for row in rows)
        colour = colours[index % len(colours)]
        parts.append(f'<polyline points="{points}" fill="none" stroke="{colour}" '
                     f'stroke-width="1.5"/>')
        parts.append(f'<text x="{left + plot_w + 10}" y="{top + 14 * index + 10}" '
                     f'fill="{colour}">{label} ({reference:g} at 5-10)</text>')
    parts.append("</svg>")
    with open(path, "w") as svg:
        svg.write("\n".join(parts) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--vintrel", required=True)
    parser.add_argument("--minutes", type=int, default=30)
    parser.add_argument("--margin", type=float, default=0.05)
    parser.add_argument("--csv", help="writes the figures, one row a minute")
    parser.add_argument("--plot", help="writes an SVG of the figures")
    args = parser.parse_args()
    if args.minutes < BASE_MINUTES[1] + LAST_MINUTES:
        parser.error(f"--minutes must be at least {BASE_MINUTES[1] + LAST_MINUTES}")

    root = tempfile.mkdtemp(prefix="vintrel-soak-")
    session = SoakSession(os.path.abspath(args.vintrel), root)
    rows, rounds = [], 0
    print("minute rounds " + " ".join(f"{label:>12s}" for _, label in FIGURES), flush=True)
    try:
        started = time.monotonic()
        for minute in range(args.minutes + 1):
            while time.monotonic() < started + 60 * minute:
                session.round()
                rounds += 1
            row = dict(minute=minute, rounds=rounds, **session.figures())
            rows.append(row)
            print(f"{minute:6d} {rounds:6d} " +
                  " ".join(f"{row[key]:12g}" for key, _ in FIGURES), flush=True)
    finally:
        status = session.close()
        shutil.rmtree(root, ignore_errors=True)
    print(f"{rounds} rounds, {session.downloaded} downloads, exit status {status}")
    held = status == 0
    for key, label in FIGURES:
        base_mean, last_mean, change, rise, within = verdicts(rows, args.margin)[key]
        if key in SHOWN_ONLY:
            verdict = "shown"
        else:
            held &= within
            verdict = "holds" if within else "OVER"
        print(f"  {label:12s} minutes 5-10 {base_mean:10.1f}  last 5 {last_mean:10.1f}  "
              f"{change:+6.1%}  second-half rise {rise:+6.1%}  {verdict}")
    print("HOLDS" if held else "DOES NOT HOLD")
    if args.csv:
        with open(args.csv, "w", newline="") as out:
            writer = csv.DictWriter(out, fieldnames=list(rows[0]))
            writer.writeheader()
            writer.writerows(rows)
    if args.plot:
        write_plot(rows, args.plot)
    return 0 if held else 1


if __name__ == "__main__":
    sys.exit(main())
